#include "Compose.h"

#include "Palette.h"

#include <QFontMetrics>
#include <QPainter>

namespace art {

QImage scaledCanvas(QSize size, QImage::Format format, int scale) {
    QImage canvas(size * scale, format);
    canvas.setDevicePixelRatio(scale);
    return canvas;
}

QImage keyedOnBackdrop(const QImage& backdrop, const QPainterPath& silhouette, const Drawing& paint) {
    QImage out = backdrop.convertToFormat(QImage::Format_RGB32);
    out.setDevicePixelRatio(backdrop.devicePixelRatio());
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        paint(p);
    }
    QImage mask(out.size(), QImage::Format_ARGB32_Premultiplied);
    mask.setDevicePixelRatio(out.devicePixelRatio());
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(silhouette, Qt::black);
    }
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            if (qAlpha(mask.pixel(x, y)) == 0) {
                out.setPixel(x, y, kMagenta.rgb());
            }
        }
    }
    return out;
}

QImage transparentPicture(int size, const Drawing& paint, int scale) {
    QImage out = scaledCanvas(QSize(size, size), QImage::Format_ARGB32, scale);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return out;
}

QFont fittingFace(const QString& text, int maxPixels, bool bold, int width) {
    for (int pixels = maxPixels; pixels > 7; --pixels) {
        const QFont font = face(pixels, bold);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) {
            return font;
        }
    }
    return face(8, bold);
}

void drawLabel(QPainter& p, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
               Qt::Alignment align) {
    p.save();
    p.setFont(font);
    p.setPen(color);
    p.drawText(rect.toAlignedRect(), int(align), text);
    p.restore();
}

} // namespace art
