#include "SkinButton.h"

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

TEST(SkinButton, SingleImageIsFlatRaisedOnHoverSunkenWhenPressed) {
    SkinButton button;
    button.setFrame(SkinButton::Frame::PushButton);
    button.setSingleImage(filled({30, 20}, kRed));
    EXPECT_EQ(button.frame(), SkinButton::Frame::Flat);
    EXPECT_EQ(shown(button, {0, 0}), kRed) << "no frame at rest";
    EXPECT_EQ(shown(button, {29, 19}), kRed);
    hover(button);
    EXPECT_GT(lightness(shown(button, {0, 0})), lightness(shown(button, {29, 19}))) << "raised";
    EXPECT_EQ(shown(button, {10, 10}), kRed) << "the same picture while hovered";
    button.setDown(true);
    EXPECT_LT(lightness(shown(button, {0, 0})), lightness(shown(button, {29, 19}))) << "sunken";
}

TEST(SkinButton, PushButtonFrameRaisedAtRestShadowLineWhenPressed) {
    SkinButton button;
    button.setImagePair(filled({30, 20}, kRed), filled({30, 20}, kGreen));
    button.setFrame(SkinButton::Frame::PushButton);
    EXPECT_NE(shown(button, {0, 0}), kGreen);
    EXPECT_GT(lightness(shown(button, {0, 0})), lightness(shown(button, {29, 19})));
    button.setDown(true);
    const QColor shadow(button.palette().color(QPalette::Dark).rgb()); // as stored in 8-bit pixels
    EXPECT_EQ(shown(button, {0, 0}), shadow);
    EXPECT_EQ(shown(button, {29, 19}), shadow);
    EXPECT_EQ(shown(button, {1, 1}), kRed) << "one pixel only";
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
