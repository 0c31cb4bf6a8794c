// A skin picture on screens of other device pixel ratios: which rendition is painted, and that
// an enlarged picture keeps its pixels' colours (no smoothing) while a large rendition shows
// its own finer pixels.
#include "controls/SkinPicture.h"
#include "controls/SkinButton.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 200);
const QColor kGreen(0, 180, 0);
const QColor kYellow(230, 220, 0);

// A picture whose neighbouring pixels all differ: any smoothing mixes them.
QImage checkerboard(QSize size, const QColor& a, const QColor& b) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixelColor(x, y, (x + y) % 2 == 0 ? a : b);
        }
    }
    return image;
}

// A device of the given pixel ratio that shows `logical` window pixels.
QImage screenOf(QSize logical, qreal ratio) {
    QImage screen((QSizeF(logical) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    screen.setDevicePixelRatio(ratio);
    screen.fill(Qt::black);
    return screen;
}

QImage painted(const SkinPicture& picture, qreal ratio) {
    QImage screen = screenOf(picture.size(), ratio);
    QPainter p(&screen);
    picture.draw(p, QPoint(0, 0));
    return screen;
}

struct RenditionCase {
    qreal ratio;
    bool twice; // true: the large rendition is painted
};

class Rendition : public ::testing::TestWithParam<RenditionCase> {};

// The rendition that the ratio enlarges by whole pixels; the larger where both are; where
// neither is, the larger one, shrunk or enlarged as little as can be.
TEST_P(Rendition, IsTheOneThatScalesByWholePixels) {
    const SkinPicture picture(checkerboard({4, 3}, kRed, kBlue), checkerboard({8, 6}, kGreen, kYellow));
    EXPECT_EQ(&picture.renditionFor(GetParam().ratio) == &picture.twice(), GetParam().twice);
}

INSTANTIATE_TEST_SUITE_P(Ratios, Rendition,
                         ::testing::Values(RenditionCase{1.0, false}, RenditionCase{1.25, true},
                                           RenditionCase{1.5, true}, RenditionCase{2.0, true},
                                           RenditionCase{2.5, true}, RenditionCase{3.0, false},
                                           RenditionCase{4.0, true}),
                         [](const auto& info) {
                             return "Ratio" + std::to_string(int(info.param.ratio * 100));
                         });

TEST(SkinPicture, WithoutALargeRenditionEveryRatioPaintsThePicture) {
    const SkinPicture picture(checkerboard({4, 3}, kRed, kBlue));
    for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        EXPECT_EQ(&picture.renditionFor(ratio), &picture.picture()) << ratio;
    }
}

TEST(SkinPicture, EnlargesByWholePixelsWithoutSmoothing) {
    const QImage source = checkerboard({5, 4}, kRed, kBlue);
    for (int ratio : {2, 3}) {
        const QImage screen = painted(SkinPicture(source), ratio);
        ASSERT_EQ(screen.size(), source.size() * ratio);
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                ASSERT_EQ(screen.pixelColor(x, y), source.pixelColor(x / ratio, y / ratio))
                    << "ratio " << ratio << " at " << x << "," << y;
            }
        }
    }
}

TEST(SkinPicture, TheLargeRenditionShowsItsOwnPixelsOneToOne) {
    const QImage twice = checkerboard({10, 8}, kGreen, kYellow);
    const QImage screen = painted(SkinPicture(checkerboard({5, 4}, kRed, kBlue), twice), 2);
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            ASSERT_EQ(screen.pixelColor(x, y), twice.pixelColor(x, y)) << x << "," << y;
        }
    }
}

TEST(SkinPicture, ALargeRenditionOfAnotherSizeIsLeftOut) {
    const QImage picture = checkerboard({5, 4}, kRed, kBlue);
    for (QSize size : {QSize(10, 9), QSize(15, 12), QSize(5, 4)}) {
        EXPECT_FALSE(SkinPicture(picture, checkerboard(size, kGreen, kYellow)).hasTwice()) << size.width();
    }
    EXPECT_FALSE(SkinPicture(QImage(), checkerboard({10, 8}, kGreen, kYellow)).hasTwice());
    const SkinPicture fitting(picture, checkerboard({10, 8}, kGreen, kYellow));
    EXPECT_TRUE(fitting.hasTwice());
    EXPECT_EQ(fitting.size(), QSize(5, 4)) << "the size is the picture's, in window pixels";
    EXPECT_EQ(fitting.twice().devicePixelRatio(), 2.0);
}

TEST(SkinPicture, PartOfItStretchedCopiesWholePixels) {
    // The main window's border below the face repeats the face's last row.
    const QImage source = checkerboard({4, 3}, kRed, kBlue);
    const SkinPicture picture(source, checkerboard({8, 6}, kGreen, kYellow));
    for (int ratio : {1, 2}) {
        QImage screen = screenOf({4, 5}, ratio);
        QPainter p(&screen);
        picture.draw(p, QRectF(0, 3, 4, 2), QRect(0, 2, 4, 1));
        p.end();
        // The row's device rows, each twice as tall as it is in the rendition.
        const QImage& shown = picture.renditionFor(ratio);
        for (int y = 3 * ratio; y < 5 * ratio; ++y) {
            const int from = 2 * ratio + (y - 3 * ratio) / 2;
            for (int x = 0; x < 4 * ratio; ++x) {
                ASSERT_EQ(screen.pixelColor(x, y), shown.pixelColor(x, from)) << x << "," << y;
            }
        }
    }
}

TEST(SkinPicture, MagentaAndTintReachBothRenditions) {
    QImage picture = checkerboard({4, 4}, kRed, QColor(255, 0, 255));
    QImage twice = checkerboard({8, 8}, kRed, QColor(255, 0, 255));
    const SkinPicture keyed = SkinPicture(picture, twice).withMagentaTransparent();
    ASSERT_TRUE(keyed.hasTwice());
    EXPECT_EQ(qAlpha(keyed.picture().pixel(1, 0)), 0);
    EXPECT_EQ(qAlpha(keyed.twice().pixel(1, 0)), 0);
    const SkinPicture lighter = keyed.tinted(QColor(255, 255, 255, 60));
    for (const QImage& image : {lighter.picture(), lighter.twice()}) {
        EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0) << "a tint stays within the picture's shape";
        EXPECT_GT(QColor(image.pixel(0, 0)).green(), 0);
    }
}

TEST(SkinPicture, TwiceSizeNames) {
    const std::pair<const char*, const char*> names[] = {
        {"skin/Main.bmp", "skin/Main@2x.bmp"}, {":/icons/list_177.png", ":/icons/list_177@2x.png"},
        {"skin.d/Main", "skin.d/Main@2x"},     {"Main", "Main@2x"},
        {"skin/.bmp", "skin/.bmp@2x"},         {"a.b.bmp", "a.b@2x.bmp"},
    };
    for (const auto& [name, twice] : names) {
        EXPECT_EQ(twiceSizeName(QString::fromLatin1(name)), QString::fromLatin1(twice)) << name;
    }
}

TEST(SkinPicture, BuiltInPicturesComeWithTheirLargeRenditions) {
    const SkinPicture apply = builtInPicture(QStringLiteral(":/buttons/Apply.bmp"));
    ASSERT_FALSE(apply.isNull());
    EXPECT_TRUE(apply.hasTwice());
    EXPECT_TRUE(builtInPicture(QStringLiteral(":/no/such.bmp")).isNull());
}

// A button on a screen of ratio 2 paints the large rendition of the picture of its state, or
// its picture enlarged by whole pixels.
TEST(SkinPicture, AButtonPaintsTheRenditionOfItsState) {
    SkinButton button;
    const QImage hoverTwice = checkerboard({12, 8}, kGreen, kYellow);
    button.setImagePair(SkinPicture(checkerboard({6, 4}, kRed, kGreen), hoverTwice),
                        checkerboard({6, 4}, kRed, kBlue));
    QImage screen = screenOf(button.size(), 2);
    button.render(&screen);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(screen.pixelColor(x, y), (x / 2 + y / 2) % 2 == 0 ? kRed : kBlue) << x << "," << y;
        }
    }
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&button, &enter);
    screen = screenOf(button.size(), 2);
    button.render(&screen);
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32), hoverTwice.convertToFormat(QImage::Format_RGB32));
}

} // namespace
