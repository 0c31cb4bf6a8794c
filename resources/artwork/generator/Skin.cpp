#include "Skin.h"

#include "Compose.h"
#include "Glyphs.h"
#include "Palette.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace art {

const PageButtonSpec kPageButtons[5] = {
    {"LinkInfo", "Link Info", 0},    {"Configuration", "Configuration", 1},
    {"Encryption", "Encryption", 2}, {"SiteSurvey", "Site Survey", 3},
    {"About", "About", 4},
};

namespace {

using namespace layout;

void paintBody(QPainter& p) {
    QLinearGradient body(0, kHeaderHeight, 0, kFaceHeight);
    body.setColorAt(0.0, kNavy);
    body.setColorAt(1.0, kNavyDeep);
    p.fillRect(0, kHeaderHeight, kFaceWidth, kFaceHeight - kHeaderHeight, body);

    // A faint large radar in the lower left corner ties the column to the logo.
    p.save();
    p.setOpacity(0.07);
    drawRadar(p, QRectF(-40, 270, 190, 190), Qt::white);
    p.restore();
}

void paintHeader(QPainter& p) {
    QLinearGradient header(0, 0, kFaceWidth, 0);
    header.setColorAt(0.0, kNavyDeep);
    header.setColorAt(1.0, kNavyMid);
    p.fillRect(0, 0, kFaceWidth, kHeaderHeight, header);

    QLinearGradient rule(0, 0, kFaceWidth, 0);
    rule.setColorAt(0.0, kSky);
    rule.setColorAt(0.6, QColor(kSky.red(), kSky.green(), kSky.blue(), 90));
    rule.setColorAt(1.0, QColor(kSky.red(), kSky.green(), kSky.blue(), 0));
    p.fillRect(0, kHeaderHeight - 2, kFaceWidth, 2, rule);
}

void paintWordmark(QPainter& p) {
    drawLogoMark(p, QRectF(16, 11, 34, 34));
    const QFont word = face(25, true);
    const int x = 60;
    const int baseline = 33;
    p.setFont(word);
    p.setPen(Qt::white);
    p.drawText(x, baseline, QStringLiteral("Sky"));
    p.setPen(kSky);
    p.drawText(x + QFontMetrics(word).horizontalAdvance(QStringLiteral("Sky")), baseline,
               QStringLiteral("vane"));
    p.setFont(face(10, false));
    p.setPen(kTextMuted);
    p.drawText(x + 1, 48, QStringLiteral("Wireless LAN Configuration Utility"));
}

void paintSidebarFooter(QPainter& p) {
    const QRect area(kPageButtonLeft, 354, kPageButtonWidth, 44);
    p.setPen(QColor(255, 255, 255, 28));
    p.drawLine(area.left() + 4, area.top(), area.right() - 4, area.top());
    drawLabel(p, area.adjusted(0, 8, 0, -18), QStringLiteral("Dual-band 802.11 a/b/g"), face(10, true),
              kTextMuted);
    drawLabel(p, area.adjusted(0, 24, 0, -2), QStringLiteral("108 Mbps Turbo  \u00b7  XR"), face(10, false),
              kTextMuted);
}

void paintPageCard(QPainter& p) {
    for (int i = 6; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(QRectF(kPage).adjusted(-i, -i + 2, i, i + 2), 4 + i, 4 + i);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(kSky.red(), kSky.green(), kSky.blue(), 150));
    p.drawRect(QRectF(kPage).adjusted(-1.5, -1.5, 0.5, 0.5));
    p.fillRect(kPage, Qt::white);
}

void paintGlyph(QPainter& p, int glyph, const QRectF& box, const QColor& color) {
    switch (glyph) {
    case 0:
        drawSignalBars(p, box, color, 0, color);
        break;
    case 1:
        drawSliders(p, box, color);
        break;
    case 2:
        drawPadlock(p, box, true, color, color);
        break;
    case 3:
        drawRadar(p, box, color);
        break;
    default:
        drawInfo(p, box, color);
        break;
    }
}

struct StateLook {
    QColor fill;
    QColor border;
    QColor glyph;
    QColor text;
    bool accentBar;
};

StateLook lookOf(ButtonState state) {
    switch (state) {
    case ButtonState::Hover:
        return {kNavyLift, QColor(86, 182, 255, 170), kSky, Qt::white, true};
    case ButtonState::Selected:
        return {kSkyPale, kSkyPale, QColor(30, 110, 210), kInk, true};
    case ButtonState::Normal:
        break;
    }
    return {QColor(255, 255, 255, 14), QColor(255, 255, 255, 34), kTextMuted, kTextLight, false};
}

// The part of a face (of any scale) under a rectangle given in the face's own pixels.
QImage backdropOf(const QImage& face, const QRect& where) {
    const int scale = qRound(face.devicePixelRatio());
    QImage part = face.copy(QRect(where.topLeft() * scale, where.size() * scale));
    part.setDevicePixelRatio(scale);
    return part;
}

} // namespace

QImage makeFace(int scale) {
    QImage face = scaledCanvas(QSize(kFaceWidth, kFaceHeight), QImage::Format_RGB32, scale);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBody(p);
    paintHeader(p);
    paintWordmark(p);
    paintSidebarFooter(p);
    paintPageCard(p);
    return face;
}

QImage makePageButton(const QImage& faceImage, int index, ButtonState state) {
    const QRect where = pageButton(index);
    const QRectF shape = QRectF(0, 0, where.width(), where.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath silhouette;
    silhouette.addRoundedRect(shape, 6, 6);
    const StateLook look = lookOf(state);
    const PageButtonSpec& spec = kPageButtons[index];
    return keyedOnBackdrop(backdropOf(faceImage, where), silhouette, [&](QPainter& p) {
        p.setPen(QPen(look.border, 1));
        p.setBrush(look.fill);
        p.drawPath(silhouette);
        if (look.accentBar) {
            p.setPen(Qt::NoPen);
            p.setBrush(kSky);
            p.drawRoundedRect(QRectF(4, 8, 3, where.height() - 16), 1.5, 1.5);
        }
        paintGlyph(p, spec.glyph, QRectF(16, (where.height() - 16) / 2.0, 16, 16), look.glyph);
        drawLabel(p, QRectF(42, 0, where.width() - 46, where.height()), QString::fromLatin1(spec.label),
                  face(12, true), look.text, Qt::AlignLeft | Qt::AlignVCenter);
    });
}

QImage makeCloseButton(const QImage& face) {
    const QRect where = layout::kClose;
    QPainterPath silhouette;
    silhouette.addRoundedRect(QRectF(0.5, 0.5, where.width() - 1, where.height() - 1), 5, 5);
    return keyedOnBackdrop(backdropOf(face, where), silhouette, [&](QPainter& p) {
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.setBrush(kNavyLift);
        p.drawPath(silhouette);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        const double m = 7;
        p.drawLine(QPointF(m, m), QPointF(where.width() - m, where.height() - m));
        p.drawLine(QPointF(where.width() - m, m), QPointF(m, where.height() - m));
    });
}

} // namespace art
