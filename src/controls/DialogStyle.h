#pragma once
// One look for every dialog of the program, the same as the main window's pages: the white
// face, the dialog typeface, blue text for values the user reads but does not type.

#include <QColor>
#include <QFont>

class QPushButton;
class QWidget;

namespace dialogstyle {

// Tahoma where it is installed, DejaVu Sans otherwise.
QFont typeface(qreal pointSize = 8, bool bold = false);

// The blue of value text.
QColor valueColor();

// A white face in the dialog typeface for the dialog and everything on it.
void applyFace(QWidget& dialog, qreal pointSize = 8);

// Blue text, for a label or a read-only field showing a value.
void showAsValue(QWidget& field);

// The dialog's push buttons: the default one in the blue of the window's skin, the others light,
// both the size of the skin's button pictures and with the hand cursor.
void styleButton(QPushButton& button);

} // namespace dialogstyle
