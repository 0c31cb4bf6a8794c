#include "controls/ButtonFace.h"

#include "resources/Artwork.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

// As the artwork draws the buttons (resources/artwork/generator, Icons.cpp): the filled ones
// carry white words, the others the navy ink; the arrow buttons keep their arrow at the left.
struct FaceStyle {
    const char* name;
    bool primary;
    bool arrow;
};
constexpr FaceStyle kStyles[] = {
    {"Apply", true, false}, {"Cancel", false, false}, {"Refresh", false, false},    {"Connect", true, false},
    {"Add", false, false},  {"Remove", false, false}, {"Properties", false, false}, {"Up", false, true},
    {"Down", false, true},  {"Rescan", false, false},
};
constexpr int kLargestPixels = 11;
constexpr int kSmallestPixels = 8;
constexpr int kArrowWidth = 18;
constexpr int kMargins = 8;

const FaceStyle* styleOf(const char* picture) {
    for (const FaceStyle& style : kStyles) {
        if (picture != nullptr && std::strcmp(style.name, picture) == 0) {
            return &style;
        }
    }
    return nullptr;
}

QFont labelFont(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The room for the word on a button of this width.
int room(const FaceStyle& style, int width) {
    return width - (style.arrow ? kArrowWidth : 0) - kMargins;
}

// The largest size up to largest at which the word fits its room.
int fittingPixels(const QString& word, int largest, int width) {
    for (int pixels = largest; pixels > kSmallestPixels; --pixels) {
        if (QFontMetrics(labelFont(pixels)).horizontalAdvance(word) <= width) {
            return pixels;
        }
    }
    return kSmallestPixels;
}

// The delivered words' size: the largest at which every English word fits its button.
int deliveredPixels() {
    static const int pixels = [] {
        int size = kLargestPixels;
        for (const FaceStyle& style : kStyles) {
            const int width = QImage(artwork::blankButtonPath(style.name)).width();
            size = std::min(
                size, fittingPixels(QString::fromLatin1(style.name), kLargestPixels, room(style, width)));
        }
        return size;
    }();
    return pixels;
}

} // namespace

QImage drawnButtonFace(const char* picture, const QString& word) {
    const FaceStyle* style = styleOf(picture);
    if (style == nullptr) {
        return {};
    }
    QImage face = QImage(artwork::blankButtonPath(picture)).convertToFormat(QImage::Format_RGB32);
    if (face.isNull()) {
        return face;
    }
    QRectF text(0.5, 0.5, face.width() - 1, face.height() - 1);
    if (style->arrow) {
        text.setLeft(kArrowWidth);
    }
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int space = room(*style, face.width());
    const QFont font = labelFont(fittingPixels(word, deliveredPixels(), space));
    p.setFont(font);
    p.setPen(style->primary ? QColor(Qt::white) : QColor(14, 40, 72));
    // A word too long even at the smallest size shows that it was cut.
    p.drawText(text.toAlignedRect(), Qt::AlignCenter,
               QFontMetrics(font).elidedText(word, Qt::ElideRight, space));
    return face;
}

QImage buttonFace(const char* picture, const QString& word) {
    if (styleOf(picture) != nullptr && word == QLatin1String(picture)) {
        return QImage(artwork::buttonBitmapPath(picture));
    }
    return drawnButtonFace(picture, word);
}
