#include "controls/ColorLabel.h"

ColorLabel::ColorLabel(QWidget* parent) : ColorLabel(QString(), parent) {}

ColorLabel::ColorLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ColorLabel::setTextColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    setPalette(pal);
}

QColor ColorLabel::textColor() const {
    return palette().color(QPalette::WindowText);
}

void ColorLabel::setBold(bool bold) {
    QFont f = font();
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(f);
}

bool ColorLabel::isBold() const {
    return font().weight() >= QFont::Bold;
}
