#include "controls/SkinPicture.h"

#include <QFile>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

#include <cmath>

QImage withMagentaTransparent(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00ffffffu) == 0x00ff00ffu) {
                line[x] = 0;
            }
        }
    }
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

SkinPicture::SkinPicture(const QImage& picture, const QImage& twice) : m_picture(picture) {
    m_picture.setDevicePixelRatio(1);
    if (!picture.isNull() && twice.size() == picture.size() * 2) {
        m_twice = twice;
        m_twice.setDevicePixelRatio(2);
    }
}

namespace {

bool isWhole(qreal factor) {
    return factor >= 1 && qFuzzyCompare(factor, std::round(factor));
}

// Device pixels per window pixel where the painter paints: the device's pixel ratio, or the
// ratio of the device a widget's painting is redirected to (a grab, a render into an image),
// and any scale the painter was given.
qreal deviceRatioOf(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    const qreal scale = std::hypot(t.m11(), t.m12());
    return scale > 0 ? scale : 1.0;
}

} // namespace

const QImage& SkinPicture::renditionFor(qreal devicePixelRatio) const {
    if (!hasTwice() || devicePixelRatio <= 1) {
        return m_picture;
    }
    if (isWhole(devicePixelRatio / 2)) {
        return m_twice;
    }
    // Enlarged by whole pixels the picture stays even (at 3, say); where no rendition can be,
    // the large one loses least.
    return isWhole(devicePixelRatio) ? m_picture : m_twice;
}

void SkinPicture::draw(QPainter& painter, QPoint at) const {
    draw(painter, QRectF(at, size()), QRect(QPoint(0, 0), size()));
}

void SkinPicture::draw(QPainter& painter, const QRectF& target, const QRect& source) const {
    if (isNull()) {
        return;
    }
    const qreal ratio = deviceRatioOf(painter);
    const QImage& shown = renditionFor(ratio);
    const qreal scale = shown.devicePixelRatio();
    const QRectF from(source.x() * scale, source.y() * scale, source.width() * scale,
                      source.height() * scale);
    painter.save();
    // Enlarging without smoothing keeps every edge sharp (by whole pixels where the ratio
    // allows); smoothing would blur them. Only a picture that shrinks is smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale > ratio);
    painter.drawImage(target, shown, from);
    painter.restore();
}

SkinPicture SkinPicture::withMagentaTransparent() const {
    SkinPicture out;
    out.m_picture = ::withMagentaTransparent(m_picture);
    if (hasTwice()) {
        out.m_twice = ::withMagentaTransparent(m_twice);
    }
    return out;
}

namespace {

QImage tintedImage(const QImage& image, const QColor& colour) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(QRect(QPoint(0, 0), out.deviceIndependentSize().toSize()), colour);
    return out;
}

} // namespace

SkinPicture SkinPicture::tinted(const QColor& colour) const {
    SkinPicture out;
    out.m_picture = tintedImage(m_picture, colour);
    if (hasTwice()) {
        out.m_twice = tintedImage(m_twice, colour);
    }
    return out;
}

QString twiceSizeName(const QString& path) {
    const int slash = static_cast<int>(path.lastIndexOf(QLatin1Char('/')));
    const int dot = static_cast<int>(path.lastIndexOf(QLatin1Char('.')));
    if (dot <= slash + 1) { // no suffix, or a name that only starts with a dot
        return path + QStringLiteral("@2x");
    }
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

namespace {

// Read by the reader its suffix names: left to guess, Qt would load every image plugin first.
QImage readBuiltIn(const QString& path) {
    if (!QFile::exists(path)) {
        return {};
    }
    QImageReader reader(path, path.mid(path.lastIndexOf(QLatin1Char('.')) + 1).toLatin1());
    return reader.read();
}

} // namespace

SkinPicture builtInPicture(const QString& resourcePath) {
    return SkinPicture(readBuiltIn(resourcePath), readBuiltIn(twiceSizeName(resourcePath)));
}
