#pragma once
// Small pictograms shared by the skin, the list icons and the tray icons.
// Each draws inside the given square box with the painter's current settings.

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace art {

void drawSignalBars(QPainter& p, const QRectF& box, const QColor& color, int litBars, const QColor& litColor);
void drawSliders(QPainter& p, const QRectF& box, const QColor& color);
void drawPadlock(QPainter& p, const QRectF& box, bool closed, const QColor& body, const QColor& shackle);
void drawRadar(QPainter& p, const QRectF& box, const QColor& color);
void drawInfo(QPainter& p, const QRectF& box, const QColor& color);
void drawAntennaMast(QPainter& p, const QRectF& box, const QColor& mast, const QColor& waves);
void drawDisc(QPainter& p, const QRectF& box, const QColor& color);
void drawLogoMark(QPainter& p, const QRectF& box);

} // namespace art
