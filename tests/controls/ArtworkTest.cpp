#include "resources/Artwork.h"
#include "controls/SkinPicture.h"
#include "support/SourceTree.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

TEST(Artwork, EveryBuiltInPictureLoads) {
    QStringList paths = artwork::allResourcePaths();
    for (const QString& path : paths) {
        ASSERT_FALSE(path.isEmpty());
        EXPECT_FALSE(QPixmap(path).isNull()) << qPrintable(path);
    }
    EXPECT_EQ(paths.removeDuplicates(), 0);
}

TEST(Artwork, PathsByNumberAndName) {
    for (int size : {16, 22, 24, 32, 48, 64}) {
        EXPECT_EQ(QImage(artwork::trayIconPath(artwork::kTrayFourBars, size)).size(), QSize(size, size));
    }
    EXPECT_EQ(QImage(artwork::trayIconPath(artwork::kTrayNotReady)).size(), QSize(16, 16));
    EXPECT_EQ(artwork::buttonBitmapPath(154), artwork::buttonBitmapPath("Apply"));
    EXPECT_EQ(QImage(artwork::listIconPath(183)).size(), QSize(16, 16));
    EXPECT_EQ(QImage(artwork::checkBoxIconPath(true)).size(), QSize(16, 16));
    EXPECT_TRUE(artwork::trayIconPath(171).isEmpty());
    EXPECT_TRUE(artwork::trayIconPath(175, 20).isEmpty());
    EXPECT_TRUE(artwork::buttonBitmapPath("apply").isEmpty());
    EXPECT_TRUE(artwork::buttonBitmapPath(nullptr).isEmpty());
    EXPECT_TRUE(artwork::buttonBitmapPath(153).isEmpty());
    EXPECT_TRUE(artwork::listIconPath(178).isEmpty());
}

// Every picture of the window and its pages has a large rendition for screens of device pixel
// ratio 2: twice its size, and transparent where the picture is, at its corners.
TEST(Artwork, EveryWindowPictureHasItsLargeRendition) {
    for (const QString& path : artwork::allResourcePaths()) {
        if (path.startsWith(QLatin1String(":/icons/tray_"))) {
            continue; // drawn at every size a panel asks for instead
        }
        const SkinPicture picture = builtInPicture(path);
        ASSERT_FALSE(picture.isNull()) << qPrintable(path);
        ASSERT_TRUE(picture.hasTwice()) << qPrintable(path);
        EXPECT_EQ(QImage(twiceSizeName(path)).size(), picture.size() * 2) << qPrintable(path);
        const QImage& twice = picture.twice();
        EXPECT_EQ(picture.picture().pixelColor(0, 0).rgba() == QColor(255, 0, 255).rgba(),
                  twice.pixelColor(0, 0).rgba() == QColor(255, 0, 255).rgba())
            << qPrintable(path);
    }
}

TEST(Artwork, ButtonBitmapsAreMagentaKeyed) {
    const QImage apply(artwork::buttonBitmapPath("Apply"));
    EXPECT_EQ(apply.pixelColor(0, 0), QColor(255, 0, 255)) << "rounded corner";
    EXPECT_NE(apply.pixelColor(apply.width() / 2, apply.height() / 2), QColor(255, 0, 255));
}

// The delivered settings file must name skin pictures that exist, and place each button
// exactly where its picture's size says, with the page frame inside the face.
class DeliveredSettings : public testing::Test {
protected:
    void SetUp() override { resources = QDir(QString::fromStdString((sourceTree() / "resources").string())); }
    QRect rect(const char* section) const {
        QSettings ini(resources.filePath(QStringLiteral("run/a.cba")), QSettings::IniFormat);
        ini.beginGroup(QLatin1String(section));
        const int left = ini.value(QStringLiteral("left")).toInt();
        const int top = ini.value(QStringLiteral("top")).toInt();
        return QRect(left, top, ini.value(QStringLiteral("right")).toInt() - left,
                     ini.value(QStringLiteral("bottom")).toInt() - top);
    }
    QImage skin(const char* key) const {
        QSettings ini(resources.filePath(QStringLiteral("run/a.cba")), QSettings::IniFormat);
        const QString path = ini.value(QStringLiteral("Setini/") + QLatin1String(key)).toString();
        return QImage(resources.filePath(path));
    }

    QDir resources;
};

TEST_F(DeliveredSettings, LayoutFitsTheSkin) {
    const QImage face = skin("Main");
    ASSERT_EQ(face.size(), QSize(615, 409));
    const QRect page = rect("TAB_MAIN");
    EXPECT_EQ(page.size(), QSize(432, 327));
    EXPECT_TRUE(face.rect().contains(page));
    struct Button {
        const char* section;
        const char* keys[3];
    };
    const Button buttons[] = {
        {"LINK_INFO", {"Link_Info1", "Link_Info2", "Link_Info3"}},
        {"CONFIG", {"Config1", "Config2", "Config3"}},
        {"ADVANCED", {"Advanced1", "Advanced2", "Advanced3"}},
        {"SITESURVEY", {"Sitesurvey1", "Sitesurvey2", "Sitesurvey3"}},
        {"ABOUT", {"About1", "About2", "About3"}},
        {"X", {"X1", "X1", "X1"}},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.section);
        const QRect where = rect(b.section);
        EXPECT_TRUE(face.rect().contains(where));
        EXPECT_FALSE(where.intersects(page));
        for (const char* key : b.keys) {
            EXPECT_EQ(skin(key).size(), where.size()) << key;
        }
    }
}

// The skin's folder is copied into each user's folder, where the user may change a picture:
// the delivered large renditions are built into the program instead, or a changed picture
// would give way to a stale one on a denser screen.
TEST_F(DeliveredSettings, TheSkinFolderHoldsNoLargeRendition) {
    const QStringList large =
        QDir(resources.filePath(QStringLiteral("skin"))).entryList({QStringLiteral("*@*")});
    EXPECT_TRUE(large.isEmpty()) << qPrintable(large.join(QLatin1Char(' ')));
}

TEST_F(DeliveredSettings, FirstStartAsksForTheCountry) {
    QSettings ini(resources.filePath(QStringLiteral("run/a.cba")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Setini/CountryDomain")).toInt(), 99);
    EXPECT_EQ(ini.value(QStringLiteral("Setini/OnOff")).toInt(), 0);
    for (const char* key : {"11b", "11g", "11gt", "11a", "11at", "XR"}) {
        EXPECT_EQ(ini.value(QStringLiteral("Check/") + QLatin1String(key)).toInt(), 1) << key;
    }
}

} // namespace
