#pragma once
// A bitmap of the skin in one or two renditions: the picture itself, one of its pixels to each
// pixel of the window, and optionally the same picture drawn at twice the size for screens that
// show two device pixels for each window pixel (a device pixel ratio of 2).
//
// Painting takes the rendition that suits the screen and never smooths a picture it enlarges:
// without its large rendition a picture is enlarged by whole pixels (at a ratio of 2 each pixel
// becomes a square of four), so its edges stay sharp instead of blurring. Only a picture that
// has to shrink (the large rendition on a screen of ratio 1.5) is scaled smoothly.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

class QPainter;

class SkinPicture {
public:
    SkinPicture() = default;
    // A large rendition that is not exactly twice the picture's size is left out: it would show
    // the control at another size than the picture gives it. A plain QImage converts to a
    // picture without a large rendition, so callers that have one picture need not know this type.
    SkinPicture(const QImage& picture, const QImage& twice = QImage()); // NOLINT(google-explicit-constructor)

    bool isNull() const { return m_picture.isNull(); }
    bool hasTwice() const { return !m_twice.isNull(); }
    QSize size() const { return m_picture.size(); } // in window pixels
    const QImage& picture() const { return m_picture; }
    const QImage& twice() const { return m_twice; } // its device pixel ratio is 2; null when none

    // The rendition painted on a device of this pixel ratio.
    const QImage& renditionFor(qreal devicePixelRatio) const;

    // Paints the picture with its top-left corner at `at` (window pixels).
    void draw(QPainter& painter, QPoint at) const;
    // Paints the part `source` (window pixels of the picture) into `target`.
    void draw(QPainter& painter, const QRectF& target, const QRect& source) const;

    // Both renditions with every magenta (255, 0, 255) pixel made fully transparent.
    SkinPicture withMagentaTransparent() const;
    // Both renditions with the colour laid over their visible pixels (its alpha the strength):
    // the shape stays the picture's own.
    SkinPicture tinted(const QColor& colour) const;

private:
    QImage m_picture;
    QImage m_twice;
};

// The picture with every magenta pixel made fully transparent.
QImage withMagentaTransparent(const QImage& image);

// Where a picture's large rendition lies, by the usual convention: "skin/Main@2x.bmp" for
// "skin/Main.bmp" (and "name@2x" for a name without a suffix).
QString twiceSizeName(const QString& path);

// A picture built into the program (":/buttons/Apply.bmp") with its large rendition when the
// program has one.
SkinPicture builtInPicture(const QString& resourcePath);
