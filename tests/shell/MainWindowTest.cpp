// The main window: page switching, when the window may be seen, the tray's double-click and
// menu, and the country question at first start.
#include "ShellFixture.h"
#include "pages/Page.h"
#include "resources/Artwork.h"
#include "storage/AppSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace shelltest {
namespace {

struct PageControls {
    const char* page;
    const char* button;
    const char* hoverKey;
    const char* normalKey;
    const char* selectedKey;
};

constexpr std::array<PageControls, 5> pages = {{
    {"linkInfoPage", "linkInfoButton", "Link_Info1", "Link_Info2", "Link_Info3"},
    {"configPage", "configButton", "Config1", "Config2", "Config3"},
    {"encryptionPage", "encryptionButton", "Advanced1", "Advanced2", "Advanced3"},
    {"siteSurveyPage", "siteSurveyButton", "Sitesurvey1", "Sitesurvey2", "Sitesurvey3"},
    {"aboutPage", "aboutButton", "About1", "About2", "About3"},
}};

class MainWindow : public ShellTest {
protected:
    // The page shown in the frame, or "" when none is. A page not made yet is not shown.
    std::string shownPage() const {
        std::string shown;
        for (const PageControls& p : pages) {
            const QWidget* page = m_window->findChild<QWidget*>(QString::fromLatin1(p.page));
            if (page != nullptr && !page->isHidden()) {
                EXPECT_EQ(shown, "") << "two pages shown at once";
                shown = p.page;
            }
        }
        return shown;
    }

    QAction* trayAction(const char* text) const {
        for (QAction* action : m_window->tray().menu()->actions()) {
            if (action->text() == QLatin1String(text)) {
                return action;
            }
        }
        ADD_FAILURE() << "no tray menu item " << text;
        return nullptr;
    }

    void sendKey(QWidget* target, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }
};

// What the window is asked: show a page, complete the Encryption page's Apply on the
// Configuration page, or hide every page.
enum class PageRequest { Show, CompleteApply, Hide };

struct ShowPageCase {
    const char* name;
    PageRequest request;
    PageId page;  // for Show
    int selected; // index into pages, -1 for none
};

class ShowPage : public MainWindow, public ::testing::WithParamInterface<ShowPageCase> {};

TEST_P(ShowPage, ShowsOnePageAndSelectsItsButton) {
    const ShowPageCase& c = GetParam();
    MainDialog& window = open();
    switch (c.request) {
    case PageRequest::Show:
        window.ShowPage(c.page);
        break;
    case PageRequest::CompleteApply:
        window.completeApplyOnConfigurationPage();
        break;
    case PageRequest::Hide:
        window.hidePages();
        break;
    }
    EXPECT_EQ(shownPage(), c.selected < 0 ? "" : pages[static_cast<size_t>(c.selected)].page);
    for (int i = 0; i < static_cast<int>(pages.size()); ++i) {
        const PageControls& p = pages[static_cast<size_t>(i)];
        EXPECT_EQ(shownKey(child<SkinButton>(p.button)), i == c.selected ? p.selectedKey : p.normalKey)
            << p.button;
    }
    QApplication::processEvents(); // a survey the page started ends: the wait cursor goes
    EXPECT_EQ(m_ui.waitCursorDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ShowPage,
    ::testing::Values(ShowPageCase{"LinkInfo", PageRequest::Show, PageId::LinkInfo, 0},
                      ShowPageCase{"Configuration", PageRequest::Show, PageId::Configuration, 1},
                      ShowPageCase{"Encryption", PageRequest::Show, PageId::Encryption, 2},
                      ShowPageCase{"SiteSurvey", PageRequest::Show, PageId::SiteSurvey, 3},
                      ShowPageCase{"About", PageRequest::Show, PageId::About, 4},
                      ShowPageCase{"CompleteApply", PageRequest::CompleteApply, PageId::LinkInfo, 1},
                      ShowPageCase{"Hide", PageRequest::Hide, PageId::LinkInfo, -1},
                      // A number that names no page, cast in by mistake, shows none.
                      ShowPageCase{"NotAPage5", PageRequest::Show, static_cast<PageId>(5), -1},
                      ShowPageCase{"NotAPageMinus1", PageRequest::Show, static_cast<PageId>(-1), -1},
                      ShowPageCase{"NotAPage98", PageRequest::Show, static_cast<PageId>(98), -1},
                      ShowPageCase{"NotAPage100", PageRequest::Show, static_cast<PageId>(100), -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, StartsOnLinkInfo) {
    open();
    EXPECT_EQ(shownPage(), "linkInfoPage");
    EXPECT_EQ(shownKey(child<SkinButton>("closeButton")), "X1");
    EXPECT_EQ(m_window->windowTitle(), QString::fromLatin1(MainDialog::title));
}

enum class Pointer { Away, Over, Pressing };

// Pages shown one after another, then the pointer on one page button.
struct ButtonLookCase {
    const char* name;
    std::vector<int> shown;
    int pointedAt; // index into pages
    Pointer pointer;
};

void PrintTo(const ButtonLookCase& c, std::ostream* os) {
    *os << c.name;
}

class PageButtonLook : public MainWindow, public ::testing::WithParamInterface<ButtonLookCase> {
protected:
    // True when the button shows its picture alone: no frame drawn over its edges.
    static bool framed(SkinButton* button) {
        const QImage shot = button->grab().toImage();
        const QColor picture = button->currentImage().pixelColor(button->width() / 2, button->height() / 2);
        for (const QPoint at : {QPoint(0, 0), QPoint(0, button->height() / 2), QPoint(button->width() - 1, 0),
                                QPoint(button->width() - 1, button->height() - 1)}) {
            if (shot.pixelColor(at) != picture) {
                return true;
            }
        }
        return false;
    }
};

// Each page button shows the picture of its state (selected while its page is shown, hovered
// while the pointer is on it or presses it, normal otherwise) and no frame: the pictures draw
// the buttons whole, and what was selected before changes nothing.
TEST_P(PageButtonLook, ShowsThePictureOfItsStateAlone) {
    const ButtonLookCase& c = GetParam();
    open();
    for (int page : c.shown) {
        child<SkinButton>(pages[static_cast<size_t>(page)].button)->click();
    }
    const int selected = c.shown.empty() ? 0 : c.shown.back();
    auto* pointed = child<SkinButton>(pages[static_cast<size_t>(c.pointedAt)].button);
    if (c.pointer != Pointer::Away) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(pointed, &enter);
    }
    if (c.pointer == Pointer::Pressing) {
        pointed->setDown(true);
    }
    for (int i = 0; i < static_cast<int>(pages.size()); ++i) {
        const PageControls& p = pages[static_cast<size_t>(i)];
        auto* button = child<SkinButton>(p.button);
        const char* expected = i == selected                                    ? p.selectedKey
                               : i == c.pointedAt && c.pointer != Pointer::Away ? p.hoverKey
                                                                                : p.normalKey;
        EXPECT_EQ(shownKey(button), expected) << p.button;
        EXPECT_EQ(button->frame(), SkinButton::Frame::None) << p.button;
        EXPECT_FALSE(framed(button)) << p.button;
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, PageButtonLook,
    ::testing::Values(ButtonLookCase{"AtStart", {}, 0, Pointer::Away},
                      ButtonLookCase{"SelectedHovered", {}, 0, Pointer::Over},
                      ButtonLookCase{"NormalHovered", {}, 2, Pointer::Over},
                      ButtonLookCase{"NormalPressed", {}, 3, Pointer::Pressing},
                      // Link Info was selected at the start and is not now: it looks as the
                      // buttons that never were.
                      ButtonLookCase{"ConfigurationShown", {1}, 0, Pointer::Away},
                      ButtonLookCase{"OnceSelectedHovered", {1}, 0, Pointer::Over},
                      ButtonLookCase{"OnceSelectedPressed", {4, 1}, 4, Pointer::Pressing},
                      ButtonLookCase{"BackToLinkInfo", {1, 2, 3, 4, 0}, 1, Pointer::Away}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, CloseButtonLightensUnderThePointerWithoutAFrame) {
    open();
    auto* close = child<SkinButton>("closeButton");
    EXPECT_EQ(close->frame(), SkinButton::Frame::Highlight);
    const QColor picture = close->currentImage().pixelColor(5, 5);
    EXPECT_EQ(close->grab().toImage().pixelColor(0, 0), picture);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(close, &enter);
    const QImage hovered = close->grab().toImage();
    EXPECT_EQ(hovered.pixelColor(0, 0), hovered.pixelColor(5, 5)) << "no frame at its edge";
    EXPECT_GT(hovered.pixelColor(5, 5).lightness(), picture.lightness());
}

// The large renditions are for denser screens; on this one they are not even read.
TEST_F(MainWindow, OnAScreenOfRatioOneNoLargeRenditionIsRead) {
    for (const SkinKey& skin : skinKeys()) {
        QImage(artwork::builtinSkinPath(skin.key.c_str()))
            .save(QStringLiteral("skin/%1.png").arg(QString::fromStdString(skin.key)));
    }
    ASSERT_EQ(open().devicePixelRatio(), 1);
    for (const char* name : {"linkInfoButton", "configButton", "aboutButton", "closeButton"}) {
        EXPECT_FALSE(child<SkinButton>(name)->currentPicture().hasTwice()) << name;
    }
}

// The face is shown as it is, row for row, and the thin border below it continues its last row:
// stretched over the window it would double two of its rows.
TEST_F(MainWindow, FaceIsPaintedAtItsOwnSize) {
    QImage face(620, 410, QImage::Format_RGB32);
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            face.setPixelColor(x, y, QColor::fromHsv((y * 7) % 360, 200, 100 + (y % 2) * 100));
        }
    }
    face.save(QStringLiteral("skin/Main.png"));
    MainDialog& window = open();
    ASSERT_EQ(window.size(), QSize(620, 412));
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->hide(); // the face alone
    }
    const QImage shown = window.grab().toImage();
    for (int y = 0; y < shown.height(); ++y) {
        const int row = std::min(y, face.height() - 1);
        for (int x : {0, 300, 619}) {
            ASSERT_EQ(shown.pixelColor(x, y), face.pixelColor(x, row)) << x << "," << y;
        }
    }
}

// A picture the skin lacks leaves the delivered one on its button, where the layout puts it.
TEST_F(MainWindow, ButtonsWhoseSkinPicturesAreMissingWearTheDeliveredOnes) {
    std::filesystem::remove("skin/Config1.png");
    std::filesystem::remove("skin/X1.png");
    open();
    const auto delivered = [](const char* key) {
        return withMagentaTransparent(QImage(artwork::builtinSkinPath(key)));
    };
    EXPECT_EQ(child<SkinButton>("configButton")->currentImage(), delivered("Config2"));
    EXPECT_EQ(child("configButton")->geometry(), QRect(12, 113, 148, 34));
    EXPECT_EQ(child<SkinButton>("closeButton")->currentImage(), delivered("X1"));
    EXPECT_EQ(child("closeButton")->geometry(), QRect(583, 14, 22, 22));
    EXPECT_EQ(shownKey(child<SkinButton>("aboutButton")), "About2") << "the others wear the skin's";

    child<SkinButton>("configButton")->click();
    EXPECT_EQ(shownKey(child<SkinButton>("configButton")), "Config3");
}

TEST_F(MainWindow, BackgroundGivesTheWindowItsSize) {
    MainDialog& window = open();
    EXPECT_EQ(window.size(), QSize(620, 412)) << "the picture's size and two pixels more in height";

    std::filesystem::rename("skin/Main.png", "skin/Main.old");
    child<QPushButton>("dialogButton")->click();
    const QImage delivered(artwork::builtinSkinPath("Main"));
    ASSERT_FALSE(delivered.isNull());
    EXPECT_EQ(window.size(), QSize(delivered.width(), delivered.height() + 2))
        << "a face that can't be loaded gives way to the delivered one";
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindow, AFaceLargerThanTheScreenGivesWayToTheDeliveredOne) {
    QImage huge(4000, 4000, QImage::Format_RGB32);
    huge.fill(Qt::darkBlue);
    huge.save(QStringLiteral("skin/Main.png"));
    MainDialog& window = open();
    const QImage delivered(artwork::builtinSkinPath("Main"));
    EXPECT_EQ(window.size(), QSize(delivered.width(), delivered.height() + 2));
    for (const char* name : {"linkInfoButton", "aboutButton", "closeButton", "pageFrame"}) {
        EXPECT_TRUE(window.rect().contains(child(name)->geometry())) << name;
    }
}

TEST_F(MainWindow, DraggingTheFaceMovesTheWindow) {
    MainDialog& window = open();
    window.onTrayDoubleClick();
    const QPoint start = window.pos();
    const QPointF local(40, 40);
    QMouseEvent press(QEvent::MouseButtonPress, local, local, QPointF(start) + local, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &press);
    QMouseEvent move(QEvent::MouseMove, local, local, QPointF(start) + local + QPointF(50, 30), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    EXPECT_EQ(window.pos(), start + QPoint(50, 30));
}

TEST_F(MainWindow, StaysHiddenUntilTheTrayShowsIt) {
    MainDialog& window = open();
    EXPECT_EQ(window.windowShown(), 0);
    EXPECT_FALSE(window.isVisible()) << "the skin step asked to show it";
    window.show();
    static_cast<QWidget&>(window).setVisible(true);
    EXPECT_FALSE(window.isVisible());

    window.ShowPage(PageId::About);
    window.onTrayDoubleClick();
    EXPECT_EQ(window.windowShown(), 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownPage(), "linkInfoPage");
    EXPECT_EQ(m_driver.countCalls("API_ActiveWZCUI"), 0u);
}

TEST_F(MainWindow, CloseButtonHidesAndTheTrayShowsAgain) {
    MainDialog& window = open();
    window.onTrayDoubleClick();
    window.ShowPage(PageId::Encryption);
    child<SkinButton>("closeButton")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowShown(), 1);
    window.onTrayDoubleClick();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownPage(), "linkInfoPage");
}

TEST_F(MainWindow, CloseRequestForbidsShowingUntilTheTrayShowsIt) {
    MainDialog& window = open();
    window.onTrayDoubleClick();
    EXPECT_FALSE(window.close()) << "the window is hidden, never closed";
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowShown(), 0);
    window.show();
    EXPECT_FALSE(window.isVisible());
    window.onTrayDoubleClick();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindow, EnterAndEscapeDoNothing) {
    MainDialog& window = open();
    window.onTrayDoubleClick();
    window.ShowPage(PageId::Encryption);
    for (QWidget* target : {static_cast<QWidget*>(&window), child("encryptionPage")}) {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            sendKey(target, key);
        }
    }
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowShown(), 1);
    EXPECT_EQ(shownPage(), "encryptionPage");
}

struct TrayOpenCase {
    const char* name;
    bool throughMenu;
    int systemControl;
};

class TrayOpen : public MainWindow, public ::testing::WithParamInterface<TrayOpenCase> {};

TEST_P(TrayOpen, ShowsOurWindowOrTheSystemsOne) {
    const TrayOpenCase& c = GetParam();
    MainDialog& window = open();
    setSystemControl(c.systemControl);
    window.adapter().runMonitorCycle();
    window.ShowPage(PageId::SiteSurvey);
    if (c.throughMenu) {
        trayAction("Start")->trigger();
        QApplication::processEvents();
    } else {
        window.onTrayDoubleClick();
    }
    if (c.systemControl == 0) {
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowShown(), 1);
        EXPECT_EQ(shownPage(), "linkInfoPage");
        EXPECT_EQ(m_driver.countCalls("API_ActiveWZCUI"), 0u);
    } else {
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.windowShown(), 0);
        EXPECT_EQ(m_driver.countCalls("API_ActiveWZCUI"), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, TrayOpen,
                         ::testing::Values(TrayOpenCase{"DoubleClick", false, 0},
                                           TrayOpenCase{"Start", true, 0},
                                           TrayOpenCase{"DoubleClickUnderSystem", false, 1},
                                           TrayOpenCase{"StartUnderSystem", true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, SystemControlHidesTheOpenWindow) {
    MainDialog& window = open();
    window.onTrayDoubleClick();
    ASSERT_TRUE(window.isVisible());
    setSystemControl(1);
    second();
    EXPECT_FALSE(window.isVisible());
    window.onTrayDoubleClick();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_driver.countCalls("API_ActiveWZCUI"), 1u);
}

TEST_F(MainWindow, TrayMenuOffersExitThenStart) {
    open();
    QStringList texts;
    for (QAction* action : m_window->tray().menu()->actions()) {
        texts << action->text();
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Exit"), QStringLiteral("Start")}));
}

TEST_F(MainWindow, ExitEndsTheEventLoopAndClosesTheWindowsOwnDialogs) {
    MainDialog& window = open();
    window.onTrayDoubleClick();
    auto* own = new QDialog(&window);
    own->show();
    // A page's dialog, and one opened from it: both belong to the window.
    auto* pageDialog = new QDialog(window.page(PageId::SiteSurvey));
    auto* nested = new QDialog(pageDialog);
    QDialog stranger;
    stranger.show();

    int pageDialogResult = -1;
    QTimer::singleShot(0, &window, [&] {
        QTimer::singleShot(0, &window, [&] {
            nested->show();
            trayAction("Exit")->trigger();
        });
        pageDialogResult = pageDialog->exec(); // a page's modal run is under way when Exit comes
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(pageDialogResult, QDialog::Rejected);
    EXPECT_FALSE(own->isVisible());
    EXPECT_FALSE(pageDialog->isVisible());
    EXPECT_FALSE(nested->isVisible());
    EXPECT_TRUE(stranger.isVisible()) << "a dialog of no concern to the window stays";
}

// Without a notification area a hidden window could never be opened again: the tick never hides
// it, and closing it ends the program.
TEST_F(MainWindow, WithoutANotificationAreaTheWindowStaysAndClosingEndsTheProgram) {
    MainDialog& window = open(false);
    window.onTrayDoubleClick();
    setSystemControl(1);
    second();
    EXPECT_TRUE(window.isVisible());
    setSystemControl(0);
    unplug();
    second();
    EXPECT_TRUE(window.isVisible());
    window.ShowPage(PageId::LinkInfo); // as the page's own timer would refresh it
    EXPECT_EQ(child<QLineEdit>("statusEdit")->text(), QStringLiteral("No adapter"));

    QTimer::singleShot(0, &window, [&] { child<SkinButton>("closeButton")->click(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.exitRequested());
}

TEST_F(MainWindow, ANotificationAreaThatGoesAwayBringsTheHiddenWindowBack) {
    MainDialog& window = open();
    emit window.tray().availabilityChanged(false);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(shownPage(), "linkInfoPage");
}

TEST_F(MainWindow, ExitWhileTheCountryQuestionIsOpenEndsTheProgram) {
    writeSettings(Settings().country("99"));
    bool rejected = false;
    m_ui.queueModal([&](QDialog& dialog) {
        // The question is up when the user picks Exit in the tray's menu.
        trayAction("Exit")->trigger();
        rejected = dialog.result() == QDialog::Rejected && !dialog.isVisible();
        return dialog.result();
    });
    MainDialog& window = open();
    EXPECT_TRUE(rejected);
    EXPECT_TRUE(window.exitRequested()) << "start-up stops here instead of entering the main loop";
    EXPECT_EQ(m_driver.countCalls("API_SetChannelPlanByCountry"), 0u);
}

TEST_F(MainWindow, ScreenReadersFindThePageButtonsByTheirWordsAndTheSelectedOne) {
    MainDialog& window = open();
    const std::pair<const char*, const char*> words[] = {
        {"linkInfoButton", "Link Info"},    {"configButton", "Configuration"},
        {"encryptionButton", "Encryption"}, {"siteSurveyButton", "Site Survey"},
        {"aboutButton", "About"},           {"closeButton", "Close"}};
    for (const auto& [name, word] : words) {
        EXPECT_EQ(child(name)->accessibleName(), QString::fromLatin1(word)) << name;
    }
    window.ShowPage(PageId::About);
    EXPECT_TRUE(child<SkinButton>("aboutButton")->isChecked());
    EXPECT_FALSE(child<SkinButton>("linkInfoButton")->isChecked());
    child<SkinButton>("configButton")->click();
    EXPECT_TRUE(child<SkinButton>("configButton")->isChecked());
    EXPECT_FALSE(child<SkinButton>("aboutButton")->isChecked());
}

TEST_F(MainWindow, CountryChosenAtFirstStartIsStoredAndHandedToTheDriver) {
    writeSettings(Settings().country("99"));
    QString domainShown;
    QString channelsShown;
    m_ui.queueModal([&](QDialog& dialog) {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("countryCombo"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("Japan")));
        domainShown = dialog.findChild<QLabel*>(QStringLiteral("domainLabel"))->text();
        channelsShown = dialog.findChild<QLabel*>(QStringLiteral("channelsLabel"))->text();
        dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        return dialog.result();
    });
    open();
    EXPECT_EQ(m_ui.modalRuns(),
              (std::vector<QString>{QStringLiteral("Wireless Configuration Utility Country Selector")}));
    EXPECT_EQ(domainShown, QStringLiteral(" MKK"));
    EXPECT_EQ(channelsShown, QStringLiteral(" 1-13"));
    EXPECT_EQ(AppSettings().setiniNumber("CountryDomain"), 7);
    EXPECT_EQ(m_driver.callsNamed("API_SetChannelPlanByCountry"),
              (std::vector<std::string>{"API_SetChannelPlanByCountry 7"}));
}

TEST_F(MainWindow, CancelledCountryQuestionWritesNothingAndAsksAgain) {
    writeSettings(Settings().country("99"));
    m_ui.queueModal([](QDialog& dialog) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
        return dialog.result();
    });
    open();
    EXPECT_EQ(m_ui.modalRuns().size(), 1u);
    EXPECT_EQ(AppSettings().setiniText("CountryDomain"), "99");
    EXPECT_EQ(m_driver.countCalls("API_SetChannelPlanByCountry"), 0u);
}

class CountryNotAsked : public MainWindow,
                        public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(CountryNotAsked, ForAnyValueButNinetyNine) {
    writeSettings(Settings().country(GetParam()));
    m_ui.setModalScript([](QDialog&) { return int(QDialog::Accepted); });
    open();
    EXPECT_TRUE(m_ui.modalRuns().empty());
    EXPECT_EQ(m_driver.countCalls("API_SetChannelPlanByCountry"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, CountryNotAsked,
                         ::testing::Values(std::nullopt, std::optional<std::string>(""),
                                           std::optional<std::string>("3"), std::optional<std::string>("0"),
                                           std::optional<std::string>("98"),
                                           std::optional<std::string>("100"),
                                           std::optional<std::string>("-99"),
                                           std::optional<std::string>("abc")));

} // namespace
} // namespace shelltest
