#pragma once
// Helpers that turn drawings into the program's bitmap conventions.

#include <QImage>
#include <QPainterPath>
#include <QString>

#include <functional>

namespace art {

using Drawing = std::function<void(QPainter&)>;

// Paints a shape over a copy of the backdrop with smooth edges; every pixel the
// silhouette does not touch becomes magenta, the skin's transparent colour. The drawing and the
// silhouette are in the picture's own pixels: a backdrop of device pixel ratio 2 gives the
// picture's large rendition, the same drawing at twice the resolution.
QImage keyedOnBackdrop(const QImage& backdrop, const QPainterPath& silhouette, const Drawing& paint);

// A transparent square picture of the given size, drawn with antialiasing; scale 2 gives its
// large rendition (twice the pixels, device pixel ratio 2).
QImage transparentPicture(int size, const Drawing& paint, int scale = 1);

// An empty picture of the given size in the picture's own pixels, at the given scale.
QImage scaledCanvas(QSize size, QImage::Format format, int scale);

// The largest size of the typeface, at most maxPixels, at which text fits the width.
QFont fittingFace(const QString& text, int maxPixels, bool bold, int width);

// Draws one line of text in rect with the given alignment.
void drawLabel(QPainter& p, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
               Qt::Alignment align = Qt::AlignCenter);

} // namespace art
