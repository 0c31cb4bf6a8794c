#include "shell/TrayIcons.h"

#include "resources/Artwork.h"

#include <QIconEngine>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <map>

WholePixelFit wholePixelFit(int slot) {
    WholePixelFit best{
        *std::min_element(std::begin(artwork::kTrayIconSizes), std::end(artwork::kTrayIconSizes)), 0};
    for (int size : artwork::kTrayIconSizes) {
        const int factor = slot / size;
        const int side = size * factor;
        const int bestSide = best.source * best.factor;
        if (factor >= 1 && (side > bestSide || (side == bestSide && size > best.source))) {
            best = {size, factor};
        }
    }
    return best;
}

namespace {

class WholePixelIconEngine final : public QIconEngine {
public:
    explicit WholePixelIconEngine(TrayIcon icon) {
        for (int size : artwork::kTrayIconSizes) {
            m_drawn.emplace(size, QImage(artwork::trayIconPath(static_cast<int>(icon), size)));
        }
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap shown = scaledPixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state, ratio);
        painter->drawPixmap(rect.topLeft(), shown);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size in device pixels, as QIcon asks for it.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override {
        QImage out(size, QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::transparent);
        const WholePixelFit fit = wholePixelFit(std::min(size.width(), size.height()));
        const int side = fit.factor > 0 ? fit.source * fit.factor : std::min(size.width(), size.height());
        {
            QPainter p(&out);
            p.setRenderHint(QPainter::SmoothPixmapTransform, fit.factor == 0);
            p.drawImage(QRect((size.width() - side) / 2, (size.height() - side) / 2, side, side),
                        m_drawn.at(fit.source));
        }
        QPixmap pixmap = QPixmap::fromImage(out);
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : artwork::kTrayIconSizes) {
            sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new WholePixelIconEngine(*this); }
    QString key() const override { return QStringLiteral("WholePixelIconEngine"); }

private:
    std::map<int, QImage> m_drawn;
};

} // namespace

QIcon loadTrayIcon(TrayIcon icon) {
    static std::map<TrayIcon, QIcon> loaded; // the tray changes icons as the signal moves
    const auto found = loaded.find(icon);
    if (found != loaded.end()) {
        return found->second;
    }
    return loaded.emplace(icon, QIcon(new WholePixelIconEngine(icon))).first->second;
}
