#include "controls/SkinButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include <functional>

#include <gtest/gtest.h>

namespace {

const QColor kMagenta(255, 0, 255);
const QColor kBlue(0, 0, 200);
const QColor kRed(220, 0, 0);
const QColor kGreen(0, 180, 0);

QImage filled(QSize size, const QColor& color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Left half magenta, right half in the given colour.
QImage halfKeyed(QSize size, const QColor& color) {
    QImage image = filled(size, color);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() / 2; ++x) {
            image.setPixelColor(x, y, kMagenta);
        }
    }
    return image;
}

void hover(QWidget& w) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&w, &enter);
}

void unhover(QWidget& w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

QColor shown(SkinButton& button, QPoint at = {10, 10}) {
    return button.grab().toImage().pixelColor(at);
}

int lightness(const QColor& c) {
    return c.red() + c.green() + c.blue();
}

TEST(WithMagentaTransparent, ClearsOnlyMagenta) {
    QImage image = filled({3, 1}, kMagenta);
    image.setPixelColor(1, 0, QColor(255, 0, 254));
    image.setPixelColor(2, 0, kRed);
    const QImage out = withMagentaTransparent(image);
    EXPECT_EQ(qAlpha(out.pixel(0, 0)), 0);
    EXPECT_EQ(out.pixelColor(1, 0), QColor(255, 0, 254));
    EXPECT_EQ(out.pixelColor(2, 0), kRed);
}

TEST(SkinButton, MagentaShowsTheParentsBackground) {
    QWidget parent;
    parent.resize(80, 40);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, kBlue);
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    SkinButton button(&parent);
    button.setImagePair(halfKeyed({40, 20}, kRed), halfKeyed({40, 20}, kRed));
    button.move(10, 10);
    const QImage image = parent.grab().toImage();
    EXPECT_EQ(image.pixelColor(15, 20), kBlue);
    EXPECT_EQ(image.pixelColor(45, 20), kRed);
}

TEST(SkinButton, TakesTheSizeOfItsPicture) {
    SkinButton button;
    button.setImagePair(filled({30, 20}, kRed), filled({30, 20}, kGreen));
    EXPECT_EQ(button.size(), QSize(30, 20));
    EXPECT_EQ(button.sizeHint(), QSize(30, 20));
    button.setSingleImage(filled({50, 10}, kRed));
    EXPECT_EQ(button.size(), QSize(50, 10));
    button.setCheckImages(filled({16, 16}, kRed), filled({16, 16}, kGreen));
    EXPECT_EQ(button.size(), QSize(16, 16));
}

TEST(SkinButton, NullPictureKeepsThePictures) {
    SkinButton button;
    button.setImagePair(filled({30, 20}, kRed), filled({30, 20}, kGreen));
    EXPECT_FALSE(button.setImagePair(QImage(), filled({8, 8}, kBlue)));
    EXPECT_FALSE(button.setSingleImage(QImage()));
    EXPECT_EQ(button.size(), QSize(30, 20));
    EXPECT_EQ(shown(button), kGreen);
    EXPECT_EQ(button.frame(), SkinButton::Frame::None);
}

// The window sets the same pictures again at every page switch; whatever is set last shows,
// also a picture that was changed since it was last set, and the size comes back with it.
TEST(SkinButton, PicturesSetAgainShowWhatWasSetLast) {
    QImage red = filled({30, 20}, kRed);
    QImage green = filled({30, 20}, kGreen);
    SkinButton button;
    const struct Step {
        const char* what;
        std::function<void()> set;
        QColor normal;
        QColor hovered;
    } steps[] = {
        {"first pair", [&] { button.setImagePair(red, green); }, kGreen, kRed},
        {"same pair again", [&] { button.setImagePair(red, green); }, kGreen, kRed},
        {"swapped", [&] { button.setImagePair(green, red); }, kRed, kGreen},
        {"one picture changed in place",
         [&] {
             green.fill(kBlue);
             button.setImagePair(green, red);
         },
         kRed, kBlue},
        {"size taken again",
         [&] {
             button.resize(10, 10);
             button.setImagePair(green, red);
         },
         kRed, kBlue},
    };
    for (const Step& step : steps) {
        step.set();
        EXPECT_EQ(button.size(), QSize(30, 20)) << step.what;
        EXPECT_EQ(shown(button), step.normal) << step.what;
        hover(button);
        EXPECT_EQ(shown(button), step.hovered) << step.what;
        unhover(button);
    }
}

TEST(SkinButton, HoverAndPressShowTheHoverPicture) {
    SkinButton button;
    button.setImagePair(filled({30, 20}, kRed), filled({30, 20}, kGreen));
    EXPECT_EQ(shown(button), kGreen);
    hover(button);
    EXPECT_TRUE(button.isHovered());
    EXPECT_EQ(shown(button), kRed);
    unhover(button);
    EXPECT_EQ(shown(button), kGreen);
    button.setDown(true);
    EXPECT_EQ(shown(button), kRed);
}

TEST(SkinButton, ShowsTheHandCursor) {
    SkinButton button;
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
}

TEST(SkinButton, SingleImageSwitchesToFlatAndShowsItInEveryState) {
    SkinButton button;
    button.setFrame(SkinButton::Frame::PushButton);
    button.setSingleImage(filled({30, 20}, kRed));
    EXPECT_EQ(button.frame(), SkinButton::Frame::Flat);
    hover(button);
    EXPECT_EQ(shown(button), kRed);
    button.setDown(true);
    EXPECT_EQ(shown(button), kRed);
}

// What a button draws around (or over) its picture in each state, told from its pixels.
enum class Edge { None, Raised, Sunken, ShadowLine, Lighter, Darker, Other };

const char* nameOf(Edge edge) {
    switch (edge) {
    case Edge::None:
        return "none";
    case Edge::Raised:
        return "raised";
    case Edge::Sunken:
        return "sunken";
    case Edge::ShadowLine:
        return "shadow line";
    case Edge::Lighter:
        return "lighter";
    case Edge::Darker:
        return "darker";
    case Edge::Other:
        break;
    }
    return "other";
}

Edge edgeOf(SkinButton& button, const QColor& picture) {
    const QImage shot = button.grab().toImage();
    const QColor topLeft = shot.pixelColor(0, 0);
    const QColor bottomRight = shot.pixelColor(shot.width() - 1, shot.height() - 1);
    const QColor inside = shot.pixelColor(shot.width() / 2, shot.height() / 2);
    const QColor shadow(button.palette().color(QPalette::Dark).rgb());
    if (inside != picture) {
        if (topLeft != inside || bottomRight != inside) {
            return Edge::Other; // a frame and a tint at once
        }
        return lightness(inside) > lightness(picture) ? Edge::Lighter : Edge::Darker;
    }
    if (topLeft == picture && bottomRight == picture) {
        return Edge::None;
    }
    if (topLeft == shadow && bottomRight == shadow && shot.pixelColor(1, 1) == picture) {
        return Edge::ShadowLine;
    }
    if (lightness(topLeft) > lightness(bottomRight)) {
        return Edge::Raised;
    }
    return lightness(topLeft) < lightness(bottomRight) ? Edge::Sunken : Edge::Other;
}

enum class State { Rest, Hovered, Pressed, Checked, CheckedAndHovered };

struct FrameCase {
    SkinButton::Frame frame;
    State state;
    Edge edge;
};

std::string caseName(const FrameCase& c) {
    static const char* const frames[] = {"None", "PushButton", "Flat", "Highlight"};
    static const char* const states[] = {"Rest", "Hovered", "Pressed", "Checked", "CheckedAndHovered"};
    return std::string(frames[static_cast<int>(c.frame)]) + "_" + states[static_cast<int>(c.state)];
}

class FramePerState : public ::testing::TestWithParam<FrameCase> {};

// The frame follows the pointer alone: a checked (selected) button is framed as an unchecked
// one, so a page button's look never depends on which pages were shown before.
TEST_P(FramePerState, DrawsTheFrameOfItsKindAndState) {
    const FrameCase& c = GetParam();
    SkinButton button;
    button.setCheckable(true);
    button.setImagePair(filled({30, 20}, kRed), filled({30, 20}, kRed));
    button.setFrame(c.frame);
    if (c.state == State::Checked || c.state == State::CheckedAndHovered) {
        button.setChecked(true);
    }
    if (c.state == State::Hovered || c.state == State::CheckedAndHovered) {
        hover(button);
    }
    if (c.state == State::Pressed) {
        button.setDown(true);
    }
    EXPECT_STREQ(nameOf(edgeOf(button, kRed)), nameOf(c.edge));
}

using F = SkinButton::Frame;
INSTANTIATE_TEST_SUITE_P(Frames, FramePerState,
                         ::testing::Values(FrameCase{F::None, State::Rest, Edge::None},
                                           FrameCase{F::None, State::Hovered, Edge::None},
                                           FrameCase{F::None, State::Pressed, Edge::None},
                                           FrameCase{F::None, State::Checked, Edge::None},
                                           FrameCase{F::None, State::CheckedAndHovered, Edge::None},
                                           FrameCase{F::PushButton, State::Rest, Edge::Raised},
                                           FrameCase{F::PushButton, State::Hovered, Edge::Raised},
                                           FrameCase{F::PushButton, State::Pressed, Edge::ShadowLine},
                                           FrameCase{F::PushButton, State::Checked, Edge::Raised},
                                           FrameCase{F::PushButton, State::CheckedAndHovered, Edge::Raised},
                                           FrameCase{F::Flat, State::Rest, Edge::None},
                                           FrameCase{F::Flat, State::Hovered, Edge::Raised},
                                           FrameCase{F::Flat, State::Pressed, Edge::Sunken},
                                           FrameCase{F::Flat, State::Checked, Edge::None},
                                           FrameCase{F::Flat, State::CheckedAndHovered, Edge::Raised},
                                           FrameCase{F::Highlight, State::Rest, Edge::None},
                                           FrameCase{F::Highlight, State::Hovered, Edge::Lighter},
                                           FrameCase{F::Highlight, State::Pressed, Edge::Darker},
                                           FrameCase{F::Highlight, State::Checked, Edge::None},
                                           FrameCase{F::Highlight, State::CheckedAndHovered, Edge::Lighter}),
                         [](const auto& info) { return caseName(info.param); });

TEST(SkinButton, HighlightKeepsThePicturesShape) {
    QWidget parent;
    parent.resize(80, 40);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, kBlue);
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    SkinButton button(&parent);
    button.setSingleImage(halfKeyed({40, 20}, kRed));
    button.setFrame(SkinButton::Frame::Highlight);
    button.move(10, 10);
    hover(button);
    const QImage image = parent.grab().toImage();
    EXPECT_EQ(image.pixelColor(15, 20), kBlue) << "the transparent half stays the parent's";
    EXPECT_GT(lightness(image.pixelColor(45, 20)), lightness(kRed));
}

TEST(SkinButton, CheckBoxModeShowsThePictureOfItsState) {
    SkinButton box;
    box.setCheckImages(filled({16, 16}, kGreen), filled({16, 16}, kRed));
    EXPECT_TRUE(box.isCheckable());
    EXPECT_EQ(shown(box, {8, 8}), kRed);
    box.click();
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(shown(box, {8, 8}), kGreen);
    hover(box);
    EXPECT_EQ(shown(box, {8, 8}), kGreen) << "hovering does not change a check box";
}

TEST(SkinButton, ClickEmitsClicked) {
    SkinButton button;
    button.setImagePair(filled({30, 20}, kRed), filled({30, 20}, kGreen));
    button.show();
    int clicks = 0;
    QObject::connect(&button, &SkinButton::clicked, [&] { ++clicks; });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &press);
    EXPECT_EQ(shown(button), kRed) << "pressed shows the hover picture";
    QApplication::sendEvent(&button, &release);
    EXPECT_EQ(clicks, 1);
}

} // namespace
