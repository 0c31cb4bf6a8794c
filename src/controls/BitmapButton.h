#pragma once

#include "controls/SkinButton.h"

// A push button drawn as one of the program's labelled button pictures ("Apply", "Connect", ...):
// a lighter copy of the picture while the mouse is over it, and a dotted frame while it has the
// keyboard focus. Its word, which the picture carries (in the user's language: ButtonFace.h), is
// its name for screen readers and its tooltip. Space presses it.
class BitmapButton : public SkinButton {
    Q_OBJECT
public:
    // picture: the name of a button picture (artwork::buttonBitmapPath); word: what it says, in
    // the user's language; faceWord, when the picture carries a shorter word than the name
    // ("Connect" on "Connect with profile"), the word on the picture.
    BitmapButton(const char* picture, const QString& word, QWidget* parent = nullptr,
                 const QString& faceWord = {});

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The picture lightened toward white, for the hovered state; transparent pixels stay so.
QImage lightened(const QImage& image, int percent);
