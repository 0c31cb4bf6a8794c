// The main window on a screen of device pixel ratio 2 (this executable runs with
// QT_SCALE_FACTOR=2): the delivered skin shows its large renditions pixel for pixel, and any
// other picture is enlarged by whole pixels, never smoothed.
#include "ShellFixture.h"
#include "controls/SkinPicture.h"
#include "resources/Artwork.h"
#include "shell/SkinGeometry.h"

#include <QApplication>
#include <QPixmap>

namespace shelltest {
namespace {

bool transparentIn(const QImage& picture, int x, int y) {
    return (picture.pixel(x, y) & 0x00ffffffu) == 0x00ff00ffu;
}

class ScaleTwo : public ShellTest {
protected:
    // The skin keys' pictures are the delivered ones, as a first start copies them.
    void useDeliveredSkin() {
        for (const SkinKey& skin : skinKeys()) {
            const QImage delivered(artwork::builtinSkinPath(skin.key.c_str()));
            ASSERT_FALSE(delivered.isNull()) << skin.key;
            delivered.save(QStringLiteral("skin/%1.png").arg(QString::fromStdString(skin.key)));
        }
    }

    // The control as the screen shows it, in device pixels.
    static QImage onScreen(QWidget* widget) {
        const QPixmap shot = widget->grab();
        EXPECT_EQ(shot.devicePixelRatio(), 2.0);
        return shot.toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Every visible pixel of the picture's large rendition is on the screen as it is drawn.
    static void expectLargeRendition(QWidget* widget, const QImage& twice) {
        const QImage shown = onScreen(widget);
        ASSERT_EQ(shown.size(), twice.size());
        int differing = 0;
        for (int y = 0; y < twice.height(); ++y) {
            for (int x = 0; x < twice.width(); ++x) {
                differing +=
                    !transparentIn(twice, x, y) && shown.pixel(x, y) != (twice.pixel(x, y) | 0xff000000u);
            }
        }
        EXPECT_EQ(differing, 0) << qPrintable(widget->objectName());
    }

    // Every visible pixel of the picture is on the screen as a square of four of its colour.
    static void expectWholePixels(QWidget* widget, const QImage& picture) {
        const QImage shown = onScreen(widget);
        ASSERT_EQ(shown.size(), picture.size() * 2);
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                differing += !transparentIn(picture, x / 2, y / 2) &&
                             shown.pixel(x, y) != (picture.pixel(x / 2, y / 2) | 0xff000000u);
            }
        }
        EXPECT_EQ(differing, 0) << qPrintable(widget->objectName());
    }
};

TEST_F(ScaleTwo, TheWindowIsOnADenserScreen) {
    EXPECT_EQ(open().devicePixelRatio(), 2);
}

TEST_F(ScaleTwo, DeliveredPicturesShowTheirLargeRenditions) {
    useDeliveredSkin();
    MainDialog& window = open();
    ASSERT_EQ(window.devicePixelRatio(), 2);
    expectLargeRendition(child("linkInfoButton"), MainDialog::deliveredPicture("Link_Info3", true).twice());
    expectLargeRendition(child("configButton"), MainDialog::deliveredPicture("Config2", true).twice());
    expectLargeRendition(child("closeButton"), MainDialog::deliveredPicture("X1", true).twice());
    child<SkinButton>("aboutButton")->click();
    expectLargeRendition(child("aboutButton"), MainDialog::deliveredPicture("About3", true).twice());
    expectLargeRendition(child("linkInfoButton"), MainDialog::deliveredPicture("Link_Info2", true).twice());

    // The face, and the border below it continuing its last row.
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        control->hide();
    }
    const QImage face =
        MainDialog::deliveredPicture("Main", true).twice().convertToFormat(QImage::Format_RGB32);
    const QImage shown = onScreen(&window);
    ASSERT_EQ(shown.width(), face.width());
    ASSERT_EQ(shown.height(), face.height() + 2 * skin::kFaceBorder);
    EXPECT_EQ(shown.copy(QRect(QPoint(0, 0), face.size())), face);
    for (int y = face.height(); y < shown.height(); ++y) {
        EXPECT_EQ(shown.pixel(300, y), face.pixel(300, face.height() - 2 + (y - face.height()) / 2 / 2)) << y;
    }
}

// A picture the user changed is the user's: the delivered large rendition must not show
// instead of it, so it is enlarged by whole pixels.
TEST_F(ScaleTwo, AChangedPictureIsEnlargedByWholePixels) {
    useDeliveredSkin();
    QImage changed(QStringLiteral("skin/Config2.png"));
    changed.setPixelColor(40, 17, QColor(255, 255, 0));
    changed.save(QStringLiteral("skin/Config2.png"));
    QImage face(QStringLiteral("skin/Main.png"));
    face.setPixelColor(300, 30, QColor(255, 255, 0));
    face.save(QStringLiteral("skin/Main.png"));
    MainDialog& window = open();
    expectWholePixels(child("configButton"), changed);
    expectLargeRendition(child("encryptionButton"), MainDialog::deliveredPicture("Advanced2", true).twice());
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        control->hide();
    }
    const QImage shown = onScreen(&window);
    EXPECT_EQ(shown.pixelColor(601, 61), QColor(255, 255, 0));
    EXPECT_EQ(shown.pixelColor(600, 60), QColor(255, 255, 0));
}

// A skin may bring large renditions of its own, beside its pictures; one of another size than
// twice the picture's is passed over.
TEST_F(ScaleTwo, ASkinsOwnLargeRenditionsAreShown) {
    QImage twice(296, 68, QImage::Format_RGB32);
    for (int y = 0; y < twice.height(); ++y) {
        for (int x = 0; x < twice.width(); ++x) {
            twice.setPixelColor(x, y, (x + y) % 2 == 0 ? QColor(10, 200, 30) : QColor(200, 20, 90));
        }
    }
    twice.save(QStringLiteral("skin/Config2@2x.png"));
    twice.copy(0, 0, 290, 68).save(QStringLiteral("skin/Advanced2@2x.png"));
    open();
    expectLargeRendition(child("configButton"), twice);
    expectWholePixels(child("encryptionButton"), QImage(QStringLiteral("skin/Advanced2.png")));
    expectWholePixels(child("linkInfoButton"), QImage(QStringLiteral("skin/Link_Info3.png")));
}

} // namespace
} // namespace shelltest
