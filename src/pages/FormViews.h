#pragma once
// What the Configuration and Encryption pages share in showing their forms: the lists, the
// bitmap buttons, the messages, and the page's grid.

#include "logic/FormControls.h"
#include "pages/Page.h"

#include <QString>

class QComboBox;
class QLabel;
class QRect;
class QWidget;
class SkinButton;
class UiServices;

namespace formviews {

// The grid both pages are laid out on: a 24-pixel margin, captions in a column of their own,
// rows 30 pixels apart, and Apply and Cancel at the bottom right.
inline constexpr int margin = 24;
inline constexpr int captionWidth = 118;
inline constexpr int fieldX = margin + captionWidth + 6;
inline constexpr int rowHeight = 22;
inline constexpr int buttonY = 288;
inline constexpr int buttonWidth = 76;
inline constexpr int buttonGap = 8;
inline constexpr int rightEdge = Page::width - margin;

QString fromUtf8(const std::string& text);

// A drop-down list; its caption, when given, is its label and its name for screen readers.
QComboBox* addList(QWidget* page, const char* objectName, const QRect& geometry, QLabel* caption = nullptr);

// Shows a list's items, selection, enabling and visibility. The combo box's own signals stay
// quiet meanwhile: only the user's choices reach the form.
void showChoice(QComboBox* combo, const logic::ChoiceList& list);

// A bitmap button of the program's artwork (picture "Apply", "Cancel") carrying word, the
// catalogue's word for it, also its tooltip and name for screen readers.
SkinButton* addBitmapButton(QWidget* page, const char* picture, const QString& word, const char* objectName,
                            int x, int y);

// Apply and Cancel at their place on the page's grid.
struct ApplyCancel {
    SkinButton* apply;
    SkinButton* cancel;
};
ApplyCancel addApplyCancel(QWidget* page, const QString& applyWord, const QString& cancelWord);

} // namespace formviews
