#include "controls/IconCheckBox.h"

#include "resources/Artwork.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {
constexpr int pictureSize = 16;
constexpr int gap = 5;
} // namespace

IconCheckBox::IconCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), m_checked(artwork::checkBoxIconPath(true)),
      m_unchecked(artwork::checkBoxIconPath(false)) {
    setCursor(Qt::PointingHandCursor);
}

QSize IconCheckBox::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {pictureSize + gap + metrics.horizontalAdvance(text()) + 2,
            std::max(pictureSize, metrics.height()) + 2};
}

QRect IconCheckBox::textRect() const {
    return {pictureSize + gap, 0, width() - pictureSize - gap, height()};
}

void IconCheckBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QIcon& icon = isChecked() ? m_checked : m_unchecked;
    const QPixmap picture = icon.pixmap(QSize(pictureSize, pictureSize), devicePixelRatioF(),
                                        isEnabled() ? QIcon::Normal : QIcon::Disabled);
    p.drawPixmap(0, (height() - pictureSize) / 2, picture);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const QRect textArea = textRect();
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect =
            p.boundingRect(textArea, Qt::AlignLeft | Qt::AlignVCenter, text()).adjusted(-2, -1, 2, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}
