// The skin's bounds: the window against the screen, the controls against the window.
#include "shell/SkinGeometry.h"

#include <gtest/gtest.h>

#include <climits>

using namespace skin;

namespace {

TEST(SkinGeometry, AFaceGivesAWindowOnlyWhenItFitsTheScreen) {
    struct Case {
        Size face;
        Size available;
        std::optional<Size> window;
    };
    const Case cases[] = {
        {{600, 400}, {1920, 1040}, Size{600, 402}},
        {{1920, 1038}, {1920, 1040}, Size{1920, 1040}}, // exactly the screen with the border
        {{1920, 1039}, {1920, 1040}, std::nullopt},     // the border no longer fits
        {{1921, 10}, {1920, 1040}, std::nullopt},
        {{4000, 4000}, {1920, 1040}, std::nullopt},
        {{0, 400}, {1920, 1040}, std::nullopt},
        {{600, -1}, {1920, 1040}, std::nullopt},
        {{600, 400}, {0, 0}, Size{600, 402}}, // no screen known: nothing to bound by
        {{600, INT_MAX}, {0, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.face.width) + "x" + std::to_string(c.face.height) + " on " +
                     std::to_string(c.available.width) + "x" + std::to_string(c.available.height));
        EXPECT_EQ(windowForFace(c.face, c.available), c.window);
    }
}

TEST(SkinGeometry, TheBuiltInFaceIsCutToASmallScreen) {
    EXPECT_EQ(fitOnScreen({600, 402}, {1920, 1040}), (Size{600, 402}));
    EXPECT_EQ(fitOnScreen({600, 402}, {480, 320}), (Size{480, 320}));
    EXPECT_EQ(fitOnScreen({600, 402}, {0, 0}), (Size{600, 402}));
    EXPECT_EQ(fitOnScreen({-5, 402}, {800, 600}), (Size{0, 402}));
}

TEST(SkinGeometry, TheWindowIsCentredOnTheAvailableArea) {
    struct Case {
        Size window;
        Rect available;
        Point topLeft;
    };
    const Case cases[] = {
        {{600, 402}, {0, 0, 1920, 1040}, {660, 319}},
        {{600, 402}, {1920, 40, 1280, 984}, {2260, 331}}, // a second screen, a panel at the top
        {{2000, 402}, {0, 0, 1920, 1040}, {0, 319}},      // too wide: its left edge stays on it
        {{INT_MAX, INT_MAX}, {100, 100, 800, 600}, {100, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(centredIn(c.window, c.available), c.topLeft);
    }
}

TEST(SkinGeometry, ControlsStayInsideTheWindow) {
    const Size window{600, 402};
    struct Case {
        const char* name;
        Edges edges;
        Rect rect;
    };
    const Case cases[] = {
        {"as delivered", {12, 71, 160, 105}, {12, 71, 148, 34}},
        {"a missing section", {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"far edges at the largest int", {170, 40, 2147483647, 2147483647}, {170, 40, 430, 362}},
        {"near edges before the window", {-50, -20, 30, 10}, {0, 0, 30, 10}},
        {"wholly off to the right", {5000, 10, 5100, 20}, {600, 10, 0, 10}},
        {"edges in the wrong order", {300, 200, 100, 50}, {300, 200, 0, 0}},
        {"every edge at its extreme", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 600, 402}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(controlRect(c.edges, window), c.rect);
    }
    EXPECT_EQ(controlRect({10, 10, 20, 20}, {0, 0}), (Rect{0, 0, 0, 0})) << "no window yet";
}

} // namespace
