#pragma once
// The main window's face and the pictures of its page buttons and close button.

#include <QImage>
#include <QString>

namespace art {

enum class ButtonState { Hover, Normal, Selected };

struct PageButtonSpec {
    const char* fileStem; // e.g. "LinkInfo"
    const char* label;    // text shown on the picture
    int glyph;            // 0 bars, 1 sliders, 2 padlock, 3 radar, 4 info
};

// The five page buttons from top to bottom.
extern const PageButtonSpec kPageButtons[5];

// scale 1 gives the pictures themselves, scale 2 their large renditions (the same drawing at
// twice the resolution, device pixel ratio 2). A button is cut from the face of its own scale.
QImage makeFace(int scale = 1);
QImage makePageButton(const QImage& face, int index, ButtonState state);
QImage makeCloseButton(const QImage& face);

} // namespace art
