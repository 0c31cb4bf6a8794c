// The layout read from the settings file and the designer's hidden editor, driven through its
// own buttons.
#include "ShellFixture.h"
#include "platform/PrivateProfile.h"
#include "storage/AppSettings.h"

#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace shelltest {
namespace {

// Layout targets by the editor's selector, with the section each is stored in.
constexpr std::array<std::pair<const char*, const char*>, 7> targets = {{
    {"linkInfoButton", "LINK_INFO"},
    {"configButton", "CONFIG"},
    {"encryptionButton", "ADVANCED"},
    {"siteSurveyButton", "SITESURVEY"},
    {"aboutButton", "ABOUT"},
    {"closeButton", "X"},
    {"pageFrame", "TAB_MAIN"},
}};

class Layout : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        writeSettings(Settings().layoutEditor("51846"));
    }

    void press(const char* button, int times = 1) {
        for (int i = 0; i < times; ++i) {
            child<QPushButton>(button)->click();
        }
    }
    void select(const char* target) { child<QLineEdit>("targetEdit")->setText(QString::fromLatin1(target)); }

    std::vector<QRect> geometries() const {
        std::vector<QRect> all;
        for (const auto& [name, section] : targets) {
            all.push_back(child(name)->geometry());
        }
        return all;
    }
};

TEST_F(Layout, EditorIsShownOnlyForItsCodeAndHidesThePages) {
    open();
    EXPECT_FALSE(child("layoutEditor")->isHidden());
    EXPECT_TRUE(child("pageFrame")->isHidden());
    for (const char* shown : {"targetEdit", "keyEdit", "leftButton", "rightButton", "upButton", "downButton",
                              "saveButton", "loadButton", "dialogButton", "bitmapButton"}) {
        EXPECT_FALSE(child(shown)->isHidden()) << shown;
    }
    for (const char* hidden : {"leftEdit", "rightEdit", "topEdit", "bottomEdit"}) {
        EXPECT_TRUE(child(hidden)->isHidden()) << hidden;
    }

    m_window.reset();
    writeSettings(Settings().layoutEditor("51845"));
    open();
    EXPECT_TRUE(child("layoutEditor")->isHidden());
    EXPECT_FALSE(child("pageFrame")->isHidden());
}

// Tab goes through the editor's two fields, then its buttons.
TEST_F(Layout, TabGoesThroughTheFieldsThenTheButtons) {
    open();
    const std::vector<std::string> expected = {"targetEdit",   "keyEdit",     "leftButton", "rightButton",
                                               "upButton",     "downButton",  "saveButton", "loadButton",
                                               "dialogButton", "bitmapButton"};
    std::vector<std::string> order;
    QWidget* widget = child("targetEdit");
    for (int i = 0; i < 200 && order.size() < expected.size(); ++i, widget = widget->nextInFocusChain()) {
        const std::string name = widget->objectName().toStdString();
        if (std::find(expected.begin(), expected.end(), name) != expected.end()) {
            order.push_back(name);
        }
    }
    EXPECT_EQ(order, expected);
}

TEST_F(Layout, ControlsStandWhereTheSettingsFilePutsThem) {
    open();
    EXPECT_EQ(child("linkInfoButton")->geometry(), QRect(12, 71, 148, 34));
    EXPECT_EQ(child("closeButton")->geometry(), QRect(583, 14, 22, 22));
    EXPECT_EQ(child("pageFrame")->geometry(), QRect(172, 71, 432, 327));
}

TEST_F(Layout, MovesAreSavedForTheSelectedControlOnly) {
    open();
    select("6");
    press("rightButton", 3);
    EXPECT_EQ(child("closeButton")->geometry(), QRect(586, 14, 22, 22));
    EXPECT_EQ(child<QLineEdit>("leftEdit")->text(), QStringLiteral("586"));
    EXPECT_EQ(child<QLineEdit>("rightEdit")->text(), QStringLiteral("608"));
    EXPECT_EQ(AppSettings().readLayout("X"), (AppSettings::LayoutRect{583, 14, 605, 36}))
        << "nothing before save";

    press("saveButton");
    EXPECT_EQ(AppSettings().readLayout("X"), (AppSettings::LayoutRect{586, 14, 608, 36}));
    EXPECT_EQ(AppSettings().readLayout("LINK_INFO"), (AppSettings::LayoutRect{12, 71, 160, 105}));
    EXPECT_EQ(AppSettings().readLayout("TAB_MAIN"), (AppSettings::LayoutRect{172, 71, 604, 398}));
    EXPECT_EQ(AppSettings().setiniNumber("OnOff"), 51846) << "the rest of the file stays";
}

TEST_F(Layout, EachMoveButtonMovesByOnePixel) {
    open();
    select("7");
    press("leftButton");
    press("upButton", 2);
    EXPECT_EQ(child("pageFrame")->geometry(), QRect(171, 69, 432, 327));
    press("downButton", 3);
    EXPECT_EQ(child("pageFrame")->geometry(), QRect(171, 72, 432, 327));
    EXPECT_EQ(child<QLineEdit>("topEdit")->text(), QStringLiteral("72"));
    EXPECT_EQ(child<QLineEdit>("bottomEdit")->text(), QStringLiteral("399"));
}

TEST_F(Layout, LoadRightAfterSaveMovesNothing) {
    open();
    select("1");
    press("downButton", 2);
    select("4");
    press("leftButton");
    const auto before = geometries();
    press("saveButton");
    press("loadButton");
    EXPECT_EQ(geometries(), before);
}

TEST_F(Layout, UnknownSelectorMovesNothing) {
    open();
    const auto before = geometries();
    for (const char* selector : {"9", "0", "", "x", "-1", "8"}) {
        select(selector);
        for (const char* button : {"leftButton", "rightButton", "upButton", "downButton"}) {
            press(button);
        }
    }
    EXPECT_EQ(geometries(), before);
}

TEST_F(Layout, MissingSectionPutsItsControlAtTheOriginWithoutSize) {
    writeSettings(Settings().layoutEditor("51846").without("ABOUT").without("TAB_MAIN"));
    open();
    EXPECT_EQ(child("pageFrame")->geometry(), QRect(0, 0, 0, 0));
    press("loadButton");
    EXPECT_EQ(child("aboutButton")->geometry(), QRect(0, 0, 0, 0));
    EXPECT_EQ(child("configButton")->geometry(), QRect(12, 113, 148, 34));
}

TEST_F(Layout, TryingABitmapDressesTheSelectedButton) {
    open();
    child<QLineEdit>("keyEdit")->setText(QStringLiteral("About3"));
    select("6");
    press("bitmapButton");
    EXPECT_EQ(shownKey(child<SkinButton>("closeButton")), "About3");
    select("1");
    press("bitmapButton");
    EXPECT_EQ(shownKey(child<SkinButton>("linkInfoButton")), "About3");
    child<QLineEdit>("keyEdit")->setText(QStringLiteral("NoSuchKey"));
    select("3");
    press("bitmapButton");
    EXPECT_EQ(shownKey(child<SkinButton>("encryptionButton")), "Advanced2")
        << "a missing key changes nothing";
}

TEST_F(Layout, TryingABitmapReadsBackslashPathsLikeTheSkin) {
    platform::writeProfileString(".\\a.cba", "Setini", "Tried", "skin\\About3.png");
    open();
    child<QLineEdit>("keyEdit")->setText(QStringLiteral("Tried"));
    select("5");
    press("bitmapButton");
    EXPECT_EQ(shownKey(child<SkinButton>("aboutButton")), "About3");
}

// Rectangles from a hand-edited file never overflow and never leave the window.
TEST_F(Layout, HandEditedExtremesStayInsideTheWindow) {
    AppSettings().writeLayout("ABOUT", {-2147483647 - 1, 5, 2147483647, 2147483647});
    AppSettings().writeLayout("X", {600, 30, 10, 20}); // right of left and above the top: no size
    MainDialog& window = open();
    // (a skinned button then takes the size of its picture)
    EXPECT_EQ(child("aboutButton")->geometry().topLeft(), QPoint(0, 5));
    EXPECT_TRUE(window.rect().contains(child("aboutButton")->geometry()));
    EXPECT_EQ(child("closeButton")->geometry(), QRect(600, 30, 0, 0));
}

} // namespace
} // namespace shelltest
