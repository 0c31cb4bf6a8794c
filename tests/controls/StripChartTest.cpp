#include "controls/StripChart.h"

#include <gtest/gtest.h>

namespace {

// A chart whose client area is 40 x 20 pixels (the sunken frame takes 2 pixels a side).
class StripChartTest : public testing::Test {
protected:
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 20;

    void SetUp() override {
        chart.resize(kWidth + 4, kHeight + 4);
        chart.show();
        ASSERT_EQ(chart.contentsRect().size(), QSize(kWidth, kHeight));
    }
    QColor pixel(int x, int y) const { return chart.picture().pixelColor(x, y); }
    bool isGridRow(int y) const { return y == kHeight / 4 || y == kHeight / 2 || y == 3 * kHeight / 4; }
    // Checks column x holds only ground and grid, or a bar of the given height.
    void expectColumn(int x, int barHeight) const {
        for (int y = 0; y < kHeight; ++y) {
            const QColor expected = y >= kHeight - barHeight ? StripChart::kBar
                                    : isGridRow(y)           ? StripChart::kGrid
                                                             : StripChart::kGround;
            ASSERT_EQ(pixel(x, y), expected) << "x " << x << " y " << y;
        }
    }

    StripChart chart;
};

TEST_F(StripChartTest, FirstRangeStartsBlackWithThreeGridLines) {
    EXPECT_TRUE(chart.picture().isNull());
    chart.setRange(0, 100);
    ASSERT_EQ(chart.picture().size(), QSize(kWidth, kHeight));
    for (int x : {0, kWidth / 2, kWidth - 1}) {
        expectColumn(x, 0);
    }
}

TEST_F(StripChartTest, PushDrawsATwoPixelBarInTheNewColumn) {
    struct Case {
        int value;
        int recorded;
        int barHeight;
    };
    const Case cases[] = {
        {0, 0, 0}, // ground and grid only
        {50, 50, kHeight / 2},
        {100, 100, kHeight},
        {250, 100, kHeight}, // above the range: full height, recorded as the maximum
        {-5, 100, kHeight},  // negative counts as above the maximum
        {3, 3, 0},           // less than one pixel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        chart.setRange(0, 100);
        chart.push(c.value);
        EXPECT_EQ(chart.currentValue(), c.recorded);
        expectColumn(kWidth - 4, c.barHeight);
        expectColumn(kWidth - 3, c.barHeight);
        expectColumn(kWidth - 2, 0);
        expectColumn(kWidth - 1, 0);
    }
}

TEST_F(StripChartTest, PushReturnsThePreviousValue) {
    chart.setRange(0, 100);
    EXPECT_EQ(chart.push(30), 0);
    EXPECT_EQ(chart.push(70), 30);
    EXPECT_EQ(chart.push(-1), 70);
    EXPECT_EQ(chart.push(10), 100);
}

TEST_F(StripChartTest, EachPushScrollsFourPixelsLeft) {
    chart.setRange(0, 100);
    chart.push(100);
    chart.push(0);
    chart.push(50);
    expectColumn(kWidth - 12, kHeight);
    expectColumn(kWidth - 8, 0);
    expectColumn(kWidth - 4, kHeight / 2);
    expectColumn(0, 0);
}

TEST_F(StripChartTest, PushBeforeRangeRecordsWithoutDrawing) {
    EXPECT_EQ(chart.push(40), 0);
    EXPECT_EQ(chart.currentValue(), 40);
    EXPECT_TRUE(chart.picture().isNull());
    chart.setRange(0, 100);
    expectColumn(kWidth - 4, 0);
    EXPECT_EQ(chart.push(60), 40);
}

TEST_F(StripChartTest, LaterRangeKeepsThePicture) {
    chart.setRange(0, 100);
    chart.push(100);
    chart.setRange(0, 200);
    expectColumn(kWidth - 4, kHeight);
    chart.push(100);
    expectColumn(kWidth - 4, kHeight / 2);
}

TEST_F(StripChartTest, EmptyRangeDrawsNoBar) {
    chart.setRange(5, 5);
    chart.push(9);
    EXPECT_EQ(chart.currentValue(), 5);
    expectColumn(kWidth - 4, 0);
}

TEST_F(StripChartTest, ResizeStartsAFreshPictureOfTheNewSize) {
    chart.setRange(0, 100);
    chart.push(100);
    chart.resize(64 + 4, 32 + 4);
    ASSERT_EQ(chart.picture().size(), QSize(64, 32));
    EXPECT_EQ(chart.picture().pixelColor(60, 31), StripChart::kGround);
    EXPECT_EQ(chart.picture().pixelColor(10, 8), StripChart::kGrid);
}

TEST_F(StripChartTest, ResizeToTheSameSizeKeepsTheHistory) {
    StripChart hidden;
    hidden.resize(kWidth + 4, kHeight + 4);
    hidden.setRange(0, 100);
    hidden.push(100);
    hidden.show(); // delivers the resize event held back while hidden
    EXPECT_EQ(hidden.picture().pixelColor(kWidth - 4, kHeight - 1), StripChart::kBar);
}

// A chart nobody sees draws its columns only when its picture is next looked at; the picture is
// the one a chart on screen shows after the same values, scale changes included, also after
// more values than the picture has room for.
TEST_F(StripChartTest, AHiddenChartKeepsTheSameHistory) {
    StripChart hidden;
    hidden.resize(kWidth + 4, kHeight + 4);
    for (StripChart* c : {&chart, &hidden}) {
        c->setRange(0, 100);
    }
    for (int i = 1; i <= 40; ++i) {
        const int value = (i * 37) % 130;
        for (StripChart* c : {&chart, &hidden}) {
            if (i == 20) {
                c->setScale(StripChart::Scale::Logarithmic);
            }
            c->push(value);
        }
        (void)chart.picture(); // the chart on screen: each column drawn as it comes
        if (i == 3 || i == 28 || i == 40) {
            EXPECT_EQ(hidden.picture(), chart.picture()) << "after " << i << " values";
        }
    }
    EXPECT_EQ(hidden.currentValue(), chart.currentValue());
}

TEST_F(StripChartTest, ScreenShowsThePictureInsideASunkenFrame) {
    chart.setRange(0, 100);
    chart.push(100);
    const QImage screen = chart.grab().toImage();
    EXPECT_EQ(screen.pixelColor(2 + kWidth - 4, 2 + kHeight - 1), StripChart::kBar);
    EXPECT_EQ(screen.pixelColor(2, 2), StripChart::kGround);
    EXPECT_NE(screen.pixelColor(0, 0), StripChart::kGround);
    EXPECT_EQ(chart.frameShadow(), QFrame::Sunken);
}

// The throughput charts' scale: 0 at the bottom, each grid line a factor of ten, 10000 and more
// at the top; on the page's 64-pixel plot and on one whose lines don't fall on whole quarters.
TEST(LogarithmicScale, EachGridLineIsAFactorOfTen) {
    struct Case {
        int value;
        int height64;
        int height66; // grid lines at rows 16, 33, 49 from the top: 17, 33, 50 from the bottom
    };
    const Case cases[] = {
        {0, 0, 0},       {1, 1, 1},       {5, 8, 8},     {10, 16, 17},   {11, 16, 17},
        {60, 28, 29},    {100, 32, 33},   {316, 39, 41}, {1000, 48, 50}, {9999, 63, 65},
        {10000, 64, 66}, {50000, 64, 66}, {-20, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logarithmicBarHeight(c.value, 10000, 64), c.height64) << c.value;
        EXPECT_EQ(logarithmicBarHeight(c.value, 10000, 66), c.height66) << c.value;
    }
    // Higher values never draw lower bars.
    for (int height : {20, 64, 66, 67}) {
        int previous = 0;
        for (int value = 0; value <= 10100; ++value) {
            const int bar = logarithmicBarHeight(value, 10000, height);
            ASSERT_GE(bar, previous) << value << " at height " << height;
            ASSERT_LE(bar, height);
            previous = bar;
        }
    }
}

TEST_F(StripChartTest, TheLogarithmicScaleReachesTheGridLineOfEachDecade) {
    chart.setScale(StripChart::Scale::Logarithmic);
    chart.setRange(0, 10000);
    struct Case {
        int value;
        int recorded;
        int barHeight;
    };
    const Case cases[] = {
        {0, 0, 0},
        {10, 10, kHeight - 3 * kHeight / 4},
        {100, 100, kHeight - kHeight / 2},
        {1000, 1000, kHeight - kHeight / 4},
        {10000, 10000, kHeight},
        {50000, 10000, kHeight},
        {-1, 10000, kHeight}, // negative counts as above the maximum, as on the linear scale
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        chart.push(c.value);
        EXPECT_EQ(chart.currentValue(), c.recorded);
        expectColumn(kWidth - 4, c.barHeight);
    }
}

} // namespace
