#include "Icons.h"

#include "Compose.h"
#include "Glyphs.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace art {

const ActionButtonSpec kActionButtons[10] = {
    {154, "Apply", true, 0, 76},       {155, "Cancel", false, 0, 76}, {159, "Refresh", false, 0, 76},
    {157, "Connect", true, 0, 76},     {156, "Add", false, 0, 76},    {160, "Remove", false, 0, 76},
    {158, "Properties", false, 0, 76}, {162, "Up", false, 1, 60},     {161, "Down", false, -1, 60},
    {152, "Rescan", false, 0, 76},
};

namespace {

// The tray icons are pixel art on a 16 x 16 grid, scaled by whole pixels for the larger sizes.
class Grid {
public:
    Grid(QPainter& p, int scale, QPoint origin = {}) : m_p(p), m_scale(scale), m_origin(origin) {}
    void cell(int col, int row, const QColor& color) {
        m_p.fillRect(m_origin.x() + col * m_scale, m_origin.y() + row * m_scale, m_scale, m_scale, color);
    }
    void run(int fromCol, int toCol, int row, const QColor& color) {
        for (int c = fromCol; c <= toCol; ++c) {
            cell(c, row, color);
        }
    }

private:
    QPainter& m_p;
    int m_scale;
    QPoint m_origin;
};

// Where the four bars of a tray icon stand, in whole pixels. On the 16 x 16 grid each is 3 cells
// wide with a cell between them, standing on row 14, 4, 7, 10 and 13 cells high; sizes that are
// whole multiples of 16 enlarge that grid. The panel sizes between (22 and 24 pixels) get bars of
// their own, as near to those proportions as whole pixels allow, instead of a smoothed and so
// blurred enlargement.
struct BarGeometry {
    int left = 0;   // the first bar's left column
    int width = 0;  // of each bar
    int gap = 0;    // between two bars
    int bottom = 0; // the row the bars stand on
    int heights[4] = {};
    int brokenPeriod = 0; // a broken bar leaves out one run of rows in every period...
    int brokenRows = 0;   // ...this many rows high
    int symbolCell = 0;   // the hourglass and the cross: their cells' side, and their corner
    QPoint symbolOrigin;
};

BarGeometry barGeometry(int size) {
    switch (size) {
    case 22:
        return {2, 4, 1, 20, {6, 10, 14, 18}, 3, 1, 1, {2, 2}};
    case 24:
        return {1, 4, 2, 21, {7, 11, 15, 19}, 3, 1, 1, {2, 2}};
    default: {
        const int u = size / 16;
        return {u, 3 * u, u, 15 * u - 1, {4 * u, 7 * u, 10 * u, 13 * u}, 3 * u, u, u, {0, 0}};
    }
    }
}

void drawTrayBars(QPainter& p, const BarGeometry& g, int litBars, bool broken, const QColor& color) {
    for (int bar = 0; bar < 4; ++bar) {
        const int x = g.left + bar * (g.width + g.gap);
        for (int r = 0; r < g.heights[bar]; ++r) {
            if (broken && r % g.brokenPeriod >= g.brokenPeriod - g.brokenRows) {
                continue; // the gaps that make a bar look broken
            }
            p.fillRect(x, g.bottom - r, g.width, 1, bar < litBars ? kSignalGreen : color);
        }
    }
}

void drawHourglass(Grid& grid) {
    const QColor amber(255, 190, 40);
    grid.run(1, 5, 1, amber);
    grid.run(2, 4, 2, amber);
    grid.cell(3, 3, amber);
    grid.run(2, 4, 4, amber);
    grid.run(1, 5, 5, amber);
}

void drawCross(Grid& grid) {
    const QColor red(240, 48, 48);
    for (int i = 0; i < 5; ++i) {
        grid.cell(1 + i, 1 + i, red);
        grid.cell(5 - i, 1 + i, red);
    }
}

int litBarsOf(int resourceId) {
    switch (resourceId) {
    case 170:
        return 1;
    case 169:
        return 2;
    case 168:
        return 3;
    case 175:
        return 4;
    default:
        return 0;
    }
}

void drawMastInRing(QPainter& p, bool adHoc) {
    p.setPen(QPen(QColor(30, 110, 210), 1.5));
    p.setBrush(QColor(214, 234, 252));
    p.drawEllipse(QRectF(0.75, 0.75, 14.5, 14.5));
    if (adHoc) {
        drawDisc(p, QRectF(4, 4, 8, 8), QColor(46, 180, 80));
    } else {
        drawAntennaMast(p, QRectF(3, 2.5, 10, 11), QColor(60, 70, 85), QColor(30, 110, 210));
    }
}

// One size for every label: the largest at which each fits its button.
QFont actionButtonFace() {
    int pixels = 11;
    for (const ActionButtonSpec& spec : kActionButtons) {
        const int room = spec.width - (spec.arrow != 0 ? 18 : 0) - 8;
        pixels = std::min(pixels, fittingFace(QString::fromLatin1(spec.name), 11, true, room).pixelSize());
    }
    return face(pixels, true);
}

} // namespace

QImage makeTrayIcon(int resourceId, int size) {
    QImage out(size, size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    p.setRenderHint(QPainter::Antialiasing, false);
    const BarGeometry bars = barGeometry(size);
    Grid symbol(p, bars.symbolCell, bars.symbolOrigin);
    if (resourceId == 167) {
        drawTrayBars(p, bars, 0, true, QColor(150, 150, 150));
        drawHourglass(symbol);
    } else if (resourceId == 188) {
        drawTrayBars(p, bars, 0, true, Qt::white);
        drawCross(symbol);
    } else {
        drawTrayBars(p, bars, litBarsOf(resourceId), false, Qt::white);
    }
    return out;
}

namespace {

// The application's icon on a 32 x 32 grid: the tray icon's four bars with their heights, each
// 6 cells wide with gaps of 2, centred (the 16-pixel grid can only leave one side a cell wider).
struct AppBar {
    int x, y, width, height;
};
AppBar appIconBar(int bar) {
    const int height = 2 * (4 + 3 * bar); // the tray icon's heights
    return {1 + 8 * bar, 30 - height, 6, height};
}

} // namespace

QImage makeAppIcon(int size) {
    if (size % 32 != 0) {
        return makeTrayIcon(175, size);
    }
    QImage out(size, size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int cell = size / 32;
    for (int bar = 0; bar < 4; ++bar) {
        const AppBar r = appIconBar(bar);
        p.fillRect(r.x * cell, r.y * cell, r.width * cell, r.height * cell, kSignalGreen);
    }
    return out;
}

QString makeAppIconSvg() {
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 32 32\">\n"
        "  <rect width=\"32\" height=\"32\" rx=\"4\" ry=\"4\" fill=\"#000000\"/>\n");
    for (int bar = 0; bar < 4; ++bar) {
        const AppBar r = appIconBar(bar);
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                   .arg(r.x)
                   .arg(r.y)
                   .arg(r.width)
                   .arg(r.height)
                   .arg(kSignalGreen.name());
    }
    return svg + QStringLiteral("</svg>\n");
}

QImage makeListIcon(int resourceId, int scale) {
    return transparentPicture(
        16,
        [&](QPainter& p) {
            const QRectF whole(0, 0, 16, 16);
            switch (resourceId) {
            case 182:
                drawDisc(p, whole.adjusted(1.5, 1.5, -1.5, -1.5), QColor(46, 180, 80));
                break;
            case 181:
                drawAntennaMast(p, whole, QColor(60, 70, 85), QColor(30, 110, 210));
                break;
            case 183:
                drawPadlock(p, whole, true, QColor(232, 172, 40), QColor(110, 120, 135));
                break;
            case 184:
                drawPadlock(p, whole, false, QColor(232, 172, 40), QColor(110, 120, 135));
                break;
            case 179:
                drawMastInRing(p, false);
                break;
            case 177:
                drawMastInRing(p, true);
                break;
            default:
                break;
            }
        },
        scale);
}

QImage makeCheckIcon(bool checked, int scale) {
    return transparentPicture(
        16,
        [&](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing, false);
            const QRect box(1, 1, 13, 13);
            if (checked) {
                p.setPen(QColor(20, 80, 160));
                p.setBrush(QColor(30, 110, 210));
            } else {
                QLinearGradient fill(0, 1, 0, 14);
                fill.setColorAt(0.0, Qt::white);
                fill.setColorAt(1.0, QColor(232, 241, 251));
                p.setPen(QColor(40, 100, 180));
                p.setBrush(fill);
            }
            p.drawRect(box);
            if (checked) {
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                const QPointF tick[3] = {{4.5, 8}, {7, 10.5}, {11.5, 5}};
                p.drawPolyline(tick, 3);
            }
        },
        scale);
}

QImage makeActionButton(const ActionButtonSpec& spec, int scale, bool withLabel) {
    const QRectF shape(0.5, 0.5, spec.width - 1, kActionButtonHeight - 1);
    QPainterPath silhouette;
    silhouette.addRoundedRect(shape, 4, 4);
    QImage white = scaledCanvas(QSize(spec.width, kActionButtonHeight), QImage::Format_RGB32, scale);
    white.fill(Qt::white);
    return keyedOnBackdrop(white, silhouette, [&](QPainter& p) {
        QLinearGradient fill(0, 0, 0, kActionButtonHeight);
        fill.setColorAt(0.0, spec.primary ? QColor(44, 128, 228) : Qt::white);
        fill.setColorAt(1.0, spec.primary ? QColor(22, 84, 170) : QColor(226, 238, 251));
        p.setPen(QPen(spec.primary ? QColor(16, 64, 130) : QColor(120, 160, 205), 1));
        p.setBrush(fill);
        p.drawPath(silhouette);
        const QColor ink = spec.primary ? Qt::white : kInk;
        QRectF text = shape;
        if (spec.arrow != 0) {
            const double cy = kActionButtonHeight / 2.0;
            const double d = spec.arrow > 0 ? -1 : 1;
            const QPointF tri[3] = {{8, cy - 2.5 * d}, {16, cy - 2.5 * d}, {12, cy + 2.5 * d}};
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 110, 210));
            p.drawPolygon(tri, 3);
            text.setLeft(18);
        }
        if (withLabel) {
            drawLabel(p, text, QString::fromLatin1(spec.name), actionButtonFace(), ink);
        }
    });
}

} // namespace art
