#include "controls/ColorGroupBox.h"
#include "controls/ColorLabel.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorLabel, DrawsItsTextInItsColour) {
    ColorLabel label(QStringLiteral("MMMM"));
    label.resize(60, 20);
    label.setTextColor(QColor(0, 0, 255));
    label.setBold(true);
    EXPECT_TRUE(label.isBold());
    EXPECT_EQ(label.font().weight(), QFont::Bold);
    const QImage image = label.grab().toImage();
    bool blue = false;
    for (int y = 0; y < image.height() && !blue; ++y) {
        for (int x = 0; x < image.width() && !blue; ++x) {
            blue = image.pixelColor(x, y) == QColor(0, 0, 255);
        }
    }
    EXPECT_TRUE(blue);
    label.setBold(false);
    EXPECT_FALSE(label.isBold());
}

TEST(ColorGroupBox, FrameInItsColourTitleOnWhite) {
    for (const QColor& frame : {ColorGroupBox::kBlue, ColorGroupBox::kGrey}) {
        ColorGroupBox box(QStringLiteral("Data Rate"));
        box.resize(200, 100);
        box.setFrameColor(frame);
        const QImage image = box.grab().toImage();
        const QRect line = box.frameRect();
        const QRect title = box.titleRect();
        EXPECT_EQ(image.pixelColor(line.left(), line.top() + 20), frame);
        EXPECT_EQ(image.pixelColor(line.right(), line.bottom()), frame);
        EXPECT_EQ(image.pixelColor(title.right() + 10, line.top()), frame);
        EXPECT_EQ(image.pixelColor(title.left() + 1, line.top()), QColor(Qt::white))
            << "the title breaks the line";
    }
}

} // namespace
