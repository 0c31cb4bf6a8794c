// The tray icons in any slot a tray offers: the drawn sizes enlarged by whole pixels and centred,
// so that the pixel-art bars stay sharp at every size and device pixel ratio.
#include "shell/TrayIcons.h"
#include "resources/Artwork.h"

#include <QPainter>
#include <QSet>

#include <gtest/gtest.h>

namespace {

struct FitCase {
    int slot;
    WholePixelFit fit;
};

class TrayIconFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(TrayIconFit, IsTheLargestWholeMultipleThatFits) {
    const WholePixelFit fit = wholePixelFit(GetParam().slot);
    EXPECT_EQ(fit.source, GetParam().fit.source);
    EXPECT_EQ(fit.factor, GetParam().fit.factor);
}

INSTANTIATE_TEST_SUITE_P(Slots, TrayIconFit,
                         ::testing::Values(FitCase{8, {16, 0}}, FitCase{15, {16, 0}}, FitCase{16, {16, 1}},
                                           FitCase{21, {16, 1}}, FitCase{22, {22, 1}}, FitCase{23, {22, 1}},
                                           FitCase{24, {24, 1}}, FitCase{32, {32, 1}}, FitCase{44, {22, 2}},
                                           FitCase{48, {48, 1}}, FitCase{63, {48, 1}}, FitCase{64, {64, 1}},
                                           FitCase{66, {22, 3}}, FitCase{96, {48, 2}}, FitCase{128, {64, 2}},
                                           FitCase{144, {48, 3}}),
                         [](const auto& info) { return "Slot" + std::to_string(info.param.slot); });

struct SlotCase {
    int logical;
    qreal ratio;
    int source;
    int factor;
};

class TrayIconPixmap : public ::testing::TestWithParam<SlotCase> {};

// The icon a tray gets for its slot is the drawn icon, each of its pixels a square of whole
// device pixels, centred on a transparent ground: no pixel of any other colour.
TEST_P(TrayIconPixmap, IsTheDrawnIconEnlargedByWholePixels) {
    const SlotCase& c = GetParam();
    const QIcon icon = loadTrayIcon(TrayIcon::Bars3);
    const QImage drawn(artwork::trayIconPath(static_cast<int>(TrayIcon::Bars3), c.source));
    ASSERT_FALSE(drawn.isNull());
    const QPixmap pixmap = icon.pixmap(QSize(c.logical, c.logical), c.ratio);
    const QImage shown = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    const int device = qRound(c.logical * c.ratio);
    ASSERT_EQ(shown.size(), QSize(device, device));
    EXPECT_EQ(pixmap.devicePixelRatio(), c.ratio);
    const int side = c.source * c.factor;
    const int margin = (device - side) / 2;
    for (int y = 0; y < device; ++y) {
        for (int x = 0; x < device; ++x) {
            const bool inside = x >= margin && x < margin + side && y >= margin && y < margin + side;
            const QRgb expected =
                inside ? drawn.pixel((x - margin) / c.factor, (y - margin) / c.factor) : qRgba(0, 0, 0, 0);
            ASSERT_EQ(qAlpha(shown.pixel(x, y)), qAlpha(expected)) << x << "," << y;
            if (qAlpha(expected) == 255) {
                ASSERT_EQ(shown.pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, TrayIconPixmap,
                         ::testing::Values(SlotCase{16, 1, 16, 1}, SlotCase{22, 1, 22, 1},
                                           SlotCase{24, 1, 24, 1}, SlotCase{20, 1, 16, 1},
                                           SlotCase{16, 2, 32, 1}, SlotCase{22, 2, 22, 2},
                                           SlotCase{24, 2, 48, 1}, SlotCase{32, 2, 64, 1},
                                           SlotCase{22, 3, 22, 3}, SlotCase{40, 2, 16, 5}),
                         [](const auto& info) {
                             return "Slot" + std::to_string(info.param.logical) + "Ratio" +
                                    std::to_string(static_cast<int>(info.param.ratio));
                         });

// A tray that paints the icon itself (an XEmbed tray) gets the same pixels.
TEST(TrayIcon, PaintedIntoASlotMatchesItsPixmap) {
    const QIcon icon = loadTrayIcon(TrayIcon::Bars4);
    QImage slot(44, 44, QImage::Format_ARGB32_Premultiplied);
    slot.setDevicePixelRatio(2);
    slot.fill(Qt::transparent);
    {
        QPainter p(&slot);
        icon.paint(&p, QRect(0, 0, 22, 22));
    }
    EXPECT_EQ(slot.convertToFormat(QImage::Format_ARGB32),
              icon.pixmap(QSize(22, 22), 2.0).toImage().convertToFormat(QImage::Format_ARGB32));
}

TEST(TrayIcon, OffersTheDrawnSizes) {
    EXPECT_EQ(loadTrayIcon(TrayIcon::Starting).availableSizes(),
              (QList<QSize>{QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48),
                            QSize(64, 64)}));
}

} // namespace
