#include "Glyphs.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace art {
namespace {

// A point given in fractions of the box.
QPointF at(const QRectF& box, double fx, double fy) {
    return {box.left() + fx * box.width(), box.top() + fy * box.height()};
}

QRectF part(const QRectF& box, double fx, double fy, double fw, double fh) {
    return {at(box, fx, fy), QSizeF(fw * box.width(), fh * box.height())};
}

QPen roundPen(const QColor& color, double width) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

void drawSignalBars(QPainter& p, const QRectF& box, const QColor& color, int litBars,
                    const QColor& litColor) {
    p.save();
    p.setPen(Qt::NoPen);
    const double unit = box.width() / 15.0;
    for (int i = 0; i < 4; ++i) {
        const double height = (4.0 + 3.0 * i) * unit;
        const QRectF bar(box.left() + i * 4.0 * unit, box.bottom() - height, 3.0 * unit, height);
        p.setBrush(i < litBars ? litColor : color);
        p.drawRect(bar);
    }
    p.restore();
}

void drawSliders(QPainter& p, const QRectF& box, const QColor& color) {
    p.save();
    const double w = box.width();
    p.setPen(roundPen(color, w / 10.0));
    const double rows[3] = {0.2, 0.5, 0.8};
    const double knobs[3] = {0.3, 0.7, 0.45};
    for (int i = 0; i < 3; ++i) {
        p.drawLine(at(box, 0.05, rows[i]), at(box, 0.95, rows[i]));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int i = 0; i < 3; ++i) {
        p.drawEllipse(at(box, knobs[i], rows[i]), w * 0.14, w * 0.14);
    }
    p.restore();
}

void drawPadlock(QPainter& p, const QRectF& box, bool closed, const QColor& body, const QColor& shackle) {
    p.save();
    const double w = box.width();
    // An open lock has its shackle lifted, the right leg clear of the body.
    const double lift = closed ? 0.0 : 0.08;
    QPainterPath arc;
    arc.moveTo(at(box, 0.3, 0.5));
    arc.lineTo(at(box, 0.3, 0.3 - lift));
    arc.arcTo(part(box, 0.3, 0.1 - lift, 0.4, 0.4), 180, -180);
    arc.lineTo(at(box, 0.7, closed ? 0.5 : 0.34 - lift));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(shackle, w * 0.12, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(part(box, 0.16, 0.46, 0.68, 0.5), w * 0.08, w * 0.08);
    p.setBrush(body.darker(180));
    p.drawEllipse(at(box, 0.5, 0.68), w * 0.07, w * 0.07);
    p.drawRect(part(box, 0.475, 0.68, 0.05, 0.16));
    p.restore();
}

void drawRadar(QPainter& p, const QRectF& box, const QColor& color) {
    p.save();
    const double w = box.width();
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(color, w / 11.0));
    const QPointF origin = at(box, 0.18, 0.82);
    for (int i = 1; i <= 3; ++i) {
        const double r = w * 0.24 * i;
        p.drawArc(QRectF(origin.x() - r, origin.y() - r, 2 * r, 2 * r), 0, 90 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(origin, w * 0.11, w * 0.11);
    p.restore();
}

void drawInfo(QPainter& p, const QRectF& box, const QColor& color) {
    p.save();
    const double w = box.width();
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(color, w / 11.0));
    p.drawEllipse(box.adjusted(w * 0.06, w * 0.06, -w * 0.06, -w * 0.06));
    p.setPen(roundPen(color, w / 8.0));
    p.drawLine(at(box, 0.5, 0.46), at(box, 0.5, 0.72));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(at(box, 0.5, 0.3), w * 0.075, w * 0.075);
    p.restore();
}

void drawAntennaMast(QPainter& p, const QRectF& box, const QColor& mast, const QColor& waves) {
    p.save();
    const double w = box.width();
    p.setPen(roundPen(mast, w / 10.0));
    p.drawLine(at(box, 0.5, 0.32), at(box, 0.5, 0.92));
    p.drawLine(at(box, 0.5, 0.45), at(box, 0.3, 0.92));
    p.drawLine(at(box, 0.5, 0.45), at(box, 0.7, 0.92));
    p.drawLine(at(box, 0.36, 0.72), at(box, 0.64, 0.72));
    p.setPen(roundPen(waves, w / 12.0));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        const double r = w * 0.17 * i;
        const QRectF ring(at(box, 0.5, 0.28).x() - r, at(box, 0.5, 0.28).y() - r, 2 * r, 2 * r);
        p.drawArc(ring, 30 * 16, 120 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(waves);
    p.drawEllipse(at(box, 0.5, 0.28), w * 0.08, w * 0.08);
    p.restore();
}

void drawDisc(QPainter& p, const QRectF& box, const QColor& color) {
    p.save();
    QRadialGradient shade(at(box, 0.38, 0.34), box.width() * 0.6);
    shade.setColorAt(0.0, color.lighter(150));
    shade.setColorAt(1.0, color.darker(130));
    p.setBrush(shade);
    p.setPen(QPen(color.darker(170), box.width() / 14.0));
    p.drawEllipse(box.adjusted(1, 1, -1, -1));
    p.restore();
}

void drawLogoMark(QPainter& p, const QRectF& box) {
    p.save();
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0.0, kSky);
    fill.setColorAt(1.0, QColor(30, 110, 210));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(box, box.width() * 0.24, box.width() * 0.24);
    drawRadar(p,
              box.adjusted(box.width() * 0.18, box.width() * 0.14, -box.width() * 0.1, -box.width() * 0.18),
              Qt::white);
    p.restore();
}

} // namespace art
