#include "controls/GradientBar.h"

#include <QPainter>

#include <functional>

#include <gtest/gtest.h>

namespace {

const QColor kRed(255, 0, 0);
const QColor kOrange(255, 128, 0);
const QColor kPaleYellow(255, 255, 128);
const std::vector<QColor> kLinkColors = {kRed, kOrange, kPaleYellow};

// The strips must tile [0, end) without gaps or overlaps.
void expectContiguous(const std::vector<GradientStep>& steps, int end) {
    int next = 0;
    for (const GradientStep& s : steps) {
        ASSERT_EQ(s.left, next);
        ASSERT_LT(s.left, s.right);
        next = s.right;
    }
    EXPECT_EQ(next, end);
}

TEST(GradientSteps, FilledWidthFollowsPosition) {
    struct Case {
        int width, low, high, position, filled;
    };
    const Case cases[] = {
        {200, 0, 100, 0, 0},   {200, 0, 100, 1, 2},      {200, 0, 100, 50, 100}, {200, 0, 100, 100, 200},
        {150, 0, 100, 33, 49}, {200, 50, 150, 100, 100}, {7, 0, 100, 99, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " position " << c.position);
        expectContiguous(gradientSteps(c.width, c.low, c.high, c.position, kLinkColors), c.filled);
    }
}

TEST(GradientSteps, NothingForBadInput) {
    EXPECT_TRUE(gradientSteps(200, 0, 100, -1, kLinkColors).empty());
    EXPECT_TRUE(gradientSteps(200, 0, 100, 101, kLinkColors).empty());
    EXPECT_TRUE(gradientSteps(200, 50, 50, 50, kLinkColors).empty())
        << "an empty range must not divide by zero";
    EXPECT_TRUE(gradientSteps(200, 0, 100, 50, {}).empty());
    EXPECT_TRUE(gradientSteps(0, 0, 100, 50, kLinkColors).empty());
}

TEST(GradientSteps, SingleColourFillsFilledPart) {
    const auto steps = gradientSteps(200, 0, 100, 25, {kRed});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0], (GradientStep{0, 50, kRed}));
}

TEST(GradientSteps, FadeStepsAreCappedByTheSegmentWidth) {
    // Red to orange differs by 128 in green; a 100-pixel segment has room for 100 steps only.
    const auto steps = gradientSteps(200, 0, 100, 50, kLinkColors);
    ASSERT_EQ(steps.size(), 100u);
    EXPECT_EQ(steps.front().color, kRed);
    EXPECT_EQ(steps.back().color, QColor(255, 128 * 99 / 100, 0));
    // A wide segment gets exactly as many steps as the largest component difference.
    const auto wide = gradientSteps(1000, 0, 100, 50, kLinkColors);
    EXPECT_EQ(wide.size(), 128u);
    EXPECT_EQ(wide.back().right, 500);
}

TEST(GradientSteps, EqualColoursGiveOneStep) {
    const auto steps = gradientSteps(120, 0, 100, 100, {kRed, kRed});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0], (GradientStep{0, 120, kRed}));
}

class GradientBarPicture : public testing::Test {
protected:
    void SetUp() override {
        bar.resize(200, 12);
        bar.setRange(0, 100);
        bar.setColors(kLinkColors);
    }
    QImage at(int position) {
        bar.setValue(position);
        return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QColor background() const { return bar.palette().color(QPalette::Button); }

    GradientBar bar;
};

TEST_F(GradientBarPicture, ZeroShowsOnlyTheBackground) {
    const QImage image = at(0);
    for (int x : {0, 1, 100, 199}) {
        EXPECT_EQ(image.pixelColor(x, 6), background()) << "x " << x;
    }
}

TEST_F(GradientBarPicture, HalfShowsTheWholeFirstSegmentAndNothingOfTheNext) {
    const QImage image = at(50);
    EXPECT_EQ(image.pixelColor(0, 0), kRed);
    EXPECT_EQ(image.pixelColor(50, 11), QColor(255, 64, 0));
    EXPECT_EQ(image.pixelColor(99, 6), QColor(255, 126, 0));
    EXPECT_EQ(image.pixelColor(100, 6), background());
    EXPECT_EQ(image.pixelColor(199, 6), background());
}

TEST_F(GradientBarPicture, FullShowsBothSegments) {
    const QImage image = at(100);
    EXPECT_EQ(image.pixelColor(0, 6), kRed);
    EXPECT_EQ(image.pixelColor(100, 6), kOrange);
    // The last of the 100 steps of orange to pale yellow (128 levels capped by 100 pixels).
    EXPECT_EQ(image.pixelColor(199, 6), QColor(255, 128 + 127 * 99 / 100, 128 * 99 / 100));
}

// The bar is drawn from a fade kept between paints; after every kind of change it shows what
// drawing its strips afresh shows.
TEST_F(GradientBarPicture, EveryChangeShowsAsIfDrawnAfresh) {
    const auto afresh = [this] {
        QImage image(bar.size(), QImage::Format_RGB32);
        image.fill(background());
        QPainter p(&image);
        for (const GradientStep& s :
             gradientSteps(bar.width(), bar.minimum(), bar.maximum(), bar.value(), bar.colors())) {
            p.fillRect(QRect(s.left, 0, s.right - s.left, bar.height()), s.color);
        }
        return image;
    };
    const struct Step {
        const char* what;
        std::function<void()> change;
    } steps[] = {
        {"a value", [this] { bar.setValue(37); }},
        {"another value", [this] { bar.setValue(81); }},
        {"full", [this] { bar.setValue(100); }},
        {"empty", [this] { bar.setValue(0); }},
        {"other colours",
         [this] {
             bar.setColors({kPaleYellow, kRed});
             bar.setValue(66);
         }},
        {"one colour", [this] { bar.setColors({kOrange}); }},
        {"wider",
         [this] {
             bar.setColors(kLinkColors);
             bar.resize(260, 12);
         }},
        {"another ground",
         [this] {
             QPalette palette = bar.palette();
             palette.setColor(QPalette::Button, QColor(10, 20, 30));
             bar.setPalette(palette);
         }},
        {"disabled", [this] { bar.setEnabled(false); }},
        {"out of range", [this] { bar.setRange(0, 50); }},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(bar.picture(), afresh()) << step.what;
        EXPECT_EQ(bar.grab().toImage().convertToFormat(QImage::Format_RGB32), afresh()) << step.what;
    }
}

TEST_F(GradientBarPicture, ShowsNoText) {
    EXPECT_FALSE(bar.isTextVisible());
}

} // namespace
