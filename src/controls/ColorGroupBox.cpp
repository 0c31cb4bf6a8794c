#include "controls/ColorGroupBox.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
constexpr int kTitleIndent = 8;
constexpr int kTitlePadding = 3;
} // namespace

ColorGroupBox::ColorGroupBox(QWidget* parent) : ColorGroupBox(QString(), parent) {}

ColorGroupBox::ColorGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void ColorGroupBox::setFrameColor(const QColor& color) {
    if (color != m_frameColor) {
        m_frameColor = color;
        update();
    }
}

QRect ColorGroupBox::frameRect() const {
    const int top = fontMetrics().height() / 2;
    return QRect(0, top, width(), height() - top);
}

QRect ColorGroupBox::titleRect() const {
    if (title().isEmpty()) {
        return {};
    }
    if (title() != m_measuredTitle || font() != m_measuredFont) {
        m_measuredTitle = title();
        m_measuredFont = font();
        m_titleWidth = fontMetrics().horizontalAdvance(m_measuredTitle);
    }
    return QRect(kTitleIndent, 0, m_titleWidth + 2 * kTitlePadding, fontMetrics().height());
}

void ColorGroupBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setPen(m_frameColor);
    p.setBrush(Qt::NoBrush);
    p.drawRect(frameRect().adjusted(0, 0, -1, -1));
    const QRect titleArea = titleRect();
    if (titleArea.isValid() && event->region().intersects(titleArea)) {
        p.fillRect(titleArea, Qt::white);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(titleArea, Qt::AlignCenter, title());
    }
}
