#include "controls/DialogStyle.h"

#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace dialogstyle {
namespace {

// The push buttons drawn like the skin's button pictures: rounded, a blue gradient with white
// bold text for the default button, white to pale blue with navy text for the others.
constexpr char buttonSheet[] = R"(
QPushButton {
    min-width: 76px; min-height: 22px; padding: 0 10px;
    border: 1px solid rgb(120, 160, 205); border-radius: 4px;
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 white, stop: 1 rgb(226, 238, 251));
    color: rgb(14, 40, 72); font-weight: bold;
}
QPushButton:hover { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 white, stop: 1 rgb(208, 228, 250)); }
QPushButton:focus { border-color: rgb(30, 110, 210); }
QPushButton:pressed { background: rgb(214, 230, 249); }
QPushButton:default {
    border-color: rgb(16, 64, 130); color: white;
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(44, 128, 228), stop: 1 rgb(22, 84, 170));
}
QPushButton:default:hover {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 rgb(64, 146, 240), stop: 1 rgb(30, 98, 190));
}
QPushButton:default:focus { border-color: rgb(8, 24, 46); }
QPushButton:default:pressed { background: rgb(22, 84, 170); }
QPushButton:disabled { border-color: rgb(190, 198, 208); background: rgb(240, 242, 245); color: rgb(150, 158, 168); }
)";

} // namespace

QFont typeface(qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QColor valueColor() {
    return {0, 0, 255};
}

void applyFace(QWidget& dialog, qreal pointSize) {
    dialog.setFont(typeface(pointSize));
    QPalette face = dialog.palette();
    face.setColor(QPalette::Window, Qt::white);
    dialog.setPalette(face);
    dialog.setAutoFillBackground(true);
}

void showAsValue(QWidget& field) {
    QPalette blue = field.palette();
    blue.setColor(QPalette::WindowText, valueColor());
    blue.setColor(QPalette::Text, valueColor());
    field.setPalette(blue);
}

void styleButton(QPushButton& button) {
    button.setStyleSheet(QString::fromLatin1(buttonSheet));
    button.setCursor(Qt::PointingHandCursor);
}

} // namespace dialogstyle
