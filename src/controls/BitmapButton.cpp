#include "controls/BitmapButton.h"

#include "controls/ButtonFace.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

QImage lightened(const QImage& image, int percent) {
    QImage out = withMagentaTransparent(image);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x];
            const auto toWhite = [percent](int v) { return v + (255 - v) * percent / 100; };
            line[x] = qRgba(toWhite(qRed(c)), toWhite(qGreen(c)), toWhite(qBlue(c)), qAlpha(c));
        }
    }
    return out;
}

BitmapButton::BitmapButton(const char* picture, const QString& word, QWidget* parent, const QString& faceWord)
    : SkinButton(parent) {
    const QImage normal = buttonFace(picture, faceWord.isEmpty() ? word : faceWord);
    setImagePair(lightened(normal, 18), normal);
    setFrame(Frame::None);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(word);
    setToolTip(word);
}

void BitmapButton::paintEvent(QPaintEvent* event) {
    SkinButton::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter p(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
}
