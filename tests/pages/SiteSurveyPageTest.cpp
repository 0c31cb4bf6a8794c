// The Site Survey page over the recording window state: the network rows with their texts and
// icons, sorting, refreshing, the profile list's operations as a table of store and rows before
// and after, connecting from either list with the editor scripted, and the keyboard.
#include "pages/SiteSurveyPage.h"

#include "controls/BitmapButton.h"
#include "dialogs/ProfileDialog.h"
#include "platform/PrivateProfile.h"
#include "resources/Artwork.h"
#include "storage/StoredText.h"
#include "support/FakeContext.h"
#include "support/ScratchDirectory.h"
#include "support/StrictPermissions.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeWidget>

#include <cstring>
#include <functional>
#include <optional>

namespace {

using logic::EditorMode;

BssEntry entry(const std::string& ssid, unsigned char last, int signal, int channel, int type = 1,
               int encryption = 0, int authentication = 0) {
    BssEntry e{};
    std::memcpy(e.ssid, ssid.data(), std::min(ssid.size(), sizeof e.ssid));
    const unsigned char bssid[6] = {0x00, 0x0e, 0x2e, 0x1a, 0x2b, last};
    std::memcpy(e.bssid, bssid, 6);
    e.signal = signal;
    e.channel = channel;
    e.networkType = type;
    e.encryptionMode = encryption;
    e.authenticationMode = authentication;
    return e;
}

// Whether an icon shows the list picture of that resource number.
bool iconIs(const QIcon& icon, int resourceId) {
    const auto format = QImage::Format_ARGB32_Premultiplied;
    const QImage shown = icon.pixmap(16, 16).toImage().convertToFormat(format);
    const QImage expected = QImage(artwork::listIconPath(resourceId)).convertToFormat(format);
    return !shown.isNull() && shown == expected;
}

int iconOf(const QIcon& icon) {
    for (const int id : artwork::kListIconIds) {
        if (iconIs(icon, id)) {
            return id;
        }
    }
    return icon.isNull() ? 0 : -1;
}

void press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &event);
}

ProfileRecord profile(const std::string& name, int bsstype = 1) {
    ProfileRecord p;
    p.Profilename = name;
    p.SSID = "net-" + name;
    p.bsstype = bsstype;
    p.AuthListIndex = bsstype == 0 ? 1 : 7; // "Disable"
    p.Mode11b = p.Mode11g = 1;
    return p;
}

struct Slot {
    int slot;
    std::string name;
    int bsstype = 1;
    ProfileStore::SlotState state = ProfileStore::SlotState::Live;
};

// What a script saw of the editor it was given.
struct EditorSeen {
    EditorMode mode;
    std::string name, ssid, networkType, auth;
    bool operator==(const EditorSeen&) const = default;
};
std::ostream& operator<<(std::ostream& out, const EditorSeen& e) {
    return out << int(e.mode) << " name=" << e.name << " ssid=" << e.ssid << " type=" << e.networkType
               << " auth=" << e.auth;
}

class SiteSurveyPageTest : public ScratchDirectory {
public:
    void SetUp() override {
        ScratchDirectory::SetUp();
        writeFile("a.cba", "[Setini]\nAutoWPAWPA2=YES\n[Check]\n11b=1\n11g=1\n11gt=1\n11a=1\n11at=1\nXR=1\n");
        page = std::make_unique<SiteSurveyPage>(ctx.context, nullptr);
    }
    void TearDown() override {
        page.reset();
        ScratchDirectory::TearDown();
    }

    template <typename T> T* child(const char* name) const {
        T* widget = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTreeWidget* networks() const { return child<QTreeWidget>("networkList"); }
    QTreeWidget* profiles() const { return child<QTreeWidget>("profileList"); }
    void click(const char* button) const { child<BitmapButton>(button)->click(); }

    void survey(std::vector<BssEntry> found) {
        page->RefreshSurvey();
        ctx.window.finishSurvey(std::move(found));
    }
    std::vector<std::string> networkNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < networks()->topLevelItemCount(); ++i) {
            names.push_back(networks()->topLevelItem(i)->text(SiteSurveyPage::SsidColumn).toStdString() +
                            "/" +
                            networks()->topLevelItem(i)->text(SiteSurveyPage::SignalColumn).toStdString());
        }
        return names;
    }
    void selectNetwork(int row) const { networks()->setCurrentItem(networks()->topLevelItem(row)); }

    void storeProfiles(const std::vector<Slot>& stored) {
        auto batch = ctx.store.beginBatch();
        for (const Slot& s : stored) {
            batch.WriteProfile(ProfileStore::slotSection(s.slot), profile(s.name, s.bsstype));
            batch.setSlotState(ProfileStore::slotSection(s.slot), s.state);
        }
        ASSERT_TRUE(batch.commit());
    }
    // The live profiles of slots 0..9 as "slot:name", each with the SSID that came with it.
    static std::vector<std::string> liveSlots() {
        std::vector<std::string> live;
        const platform::IniTransaction file("S.cba");
        for (int slot = 0; slot < 10; ++slot) {
            const std::string section = ProfileStore::slotSection(slot);
            if (file.find(section, "true_false").value_or("") == "1") {
                const std::string name = file.find(section, "Profilename").value_or("");
                const std::string ssid = DecodeStoredText(file.find(section, "SSID").value_or(""));
                live.push_back(std::to_string(slot) + ":" + name +
                               (ssid == "net-" + name ? "" : "(ssid " + ssid + ")"));
            }
        }
        return live;
    }
    std::vector<std::string> profileRows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < profiles()->topLevelItemCount(); ++i) {
            rows.push_back(profiles()->topLevelItem(i)->text(0).toStdString());
        }
        return rows;
    }
    void selectProfile(const std::string& name) const {
        const auto found = profiles()->findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        profiles()->setCurrentItem(found.front());
    }

    // The next modal run is the editor: what it shows is recorded, and it ends with result.
    std::optional<EditorSeen>& scriptEditor(int result = QDialog::Rejected,
                                            std::function<void(ProfileDialog&)> input = {}) {
        seen.reset();
        ctx.ui.queueModal([this, result, input](QDialog& dialog) {
            auto& editor = dynamic_cast<ProfileDialog&>(dialog);
            const logic::ProfileFormState& s = editor.form().state();
            seen = EditorSeen{
                s.mode, s.name, s.ssid,
                dialog.findChild<QComboBox*>(QStringLiteral("networkTypeCombo"))->currentText().toStdString(),
                dialog.findChild<QComboBox*>(QStringLiteral("authModeCombo"))->currentText().toStdString()};
            if (input) {
                input(editor);
                return editor.result();
            }
            return result;
        });
        return seen;
    }

    FakeContext ctx;
    std::unique_ptr<SiteSurveyPage> page;
    std::optional<EditorSeen> seen;
};

TEST_F(SiteSurveyPageTest, NetworkRows) {
    std::string current = "HomeNet";
    std::memcpy(ctx.window.current.cSSID, current.c_str(), current.size() + 1);
    const unsigned char linked[6] = {0x00, 0x0e, 0x2e, 0x1a, 0x2b, 0x3c};
    std::memcpy(ctx.window.link.bssid, linked, 6);
    ctx.window.link.connected = 0; // whether the link says connected plays no part
    const std::string long33(33, 'L');
    struct Case {
        BssEntry entry;
        std::string ssid, bssid, signal, security, channel;
        int rowIcon, securityIcon;
        bool bold;
    };
    const Case cases[] = {
        {entry("HomeNet", 0x3c, 72, 5, 1, 3, 7), "HomeNet", "00:0E:2E:1A:2B:3C", "72%", "WPA2PSK", "6", 179,
         183, true},
        {entry("HomeNet", 0x3d, 40, 5, 1, 3, 7), "HomeNet", "00:0E:2E:1A:2B:3D", "40%", "WPA2PSK", "6", 181,
         183, false},
        {entry("Cafe", 0x01, 100, 14), "Cafe", "00:0E:2E:1A:2B:01", "100%", "none", "36", 181, 184, false},
        {entry("Odd", 0x02, 0, 27, 1, 0, 3), "Odd", "00:0E:2E:1A:2B:02", "0%", "WPAnone", "", 181, 184,
         false},
        {entry("Cell", 0x03, 9, 10, 0, 1, 0), "Cell", "00:0E:2E:1A:2B:03", "9%", "WEP", "11", 182, 183,
         false},
        {entry("Shop", 0x04, 50, 26, 2, 2, 4), "Shop", "00:0E:2E:1A:2B:04", "50%", "WPAPSK", "165", 181, 183,
         false},
        {entry(long33, 0x05, 33, 0), std::string(32, 'L'), "00:0E:2E:1A:2B:05", "33%", "none", "1", 181, 184,
         false},
    };
    std::vector<BssEntry> found;
    for (const Case& c : cases) {
        found.push_back(c.entry);
    }
    found.push_back(entry("HomeNet", 0x3c, 20, 0, 0)); // an ad hoc cell the adapter is on
    survey(found);
    ASSERT_EQ(networks()->topLevelItemCount(), int(found.size()));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.ssid);
        const QTreeWidgetItem* row = networks()->topLevelItem(int(i));
        EXPECT_EQ(row->text(SiteSurveyPage::SsidColumn).toStdString(), c.ssid);
        EXPECT_EQ(row->text(SiteSurveyPage::BssidColumn).toStdString(), c.bssid);
        EXPECT_EQ(row->text(SiteSurveyPage::SignalColumn).toStdString(), c.signal);
        EXPECT_EQ(row->text(SiteSurveyPage::SecurityColumn).toStdString(), c.security);
        EXPECT_EQ(row->text(SiteSurveyPage::ChannelColumn).toStdString(), c.channel);
        EXPECT_EQ(iconOf(row->icon(SiteSurveyPage::SsidColumn)), c.rowIcon);
        EXPECT_EQ(iconOf(row->icon(SiteSurveyPage::SecurityColumn)), c.securityIcon);
        EXPECT_EQ(row->font(SiteSurveyPage::SsidColumn).bold(), c.bold);
    }
    EXPECT_EQ(iconOf(networks()->topLevelItem(7)->icon(SiteSurveyPage::SsidColumn)), 177);

    // The headings come through the text catalogue.
    writeFile("define.ini", "[DATA]\nSignal=Signalst\xC3\xA4rke\n");
    SiteSurveyPage translated(ctx.context, nullptr);
    const QTreeWidgetItem* header =
        translated.findChild<QTreeWidget*>(QStringLiteral("networkList"))->headerItem();
    EXPECT_EQ(header->text(0), QStringLiteral("SSID"));
    EXPECT_EQ(header->text(1), QStringLiteral("MAC(BSSID)"));
    EXPECT_EQ(header->text(2), QStringLiteral("Signalst\u00e4rke"));
    EXPECT_EQ(header->text(3), QStringLiteral("Security"));
    EXPECT_EQ(header->text(4), QStringLiteral("Channel"));
    EXPECT_EQ(profiles()->headerItem()->text(0), QStringLiteral("Profile list"));
}

TEST_F(SiteSurveyPageTest, RefreshingRunsOneSurveyAtATime) {
    page->RefreshSurvey();
    EXPECT_EQ(ctx.ui.waitCursorDepth(), 1);
    click("refreshButton"); // while the survey runs
    EXPECT_EQ(ctx.window.surveysStarted, 1);
    EXPECT_EQ(ctx.ui.waitCursorDepth(), 1);
    ctx.window.finishSurvey({entry("A", 1, 10, 0), entry("B", 2, 90, 0)});
    EXPECT_EQ(ctx.ui.waitCursorDepth(), 0);
    EXPECT_EQ(networkNames(), (std::vector<std::string>{"A/10%", "B/90%"}));

    // The chosen network stays chosen across a refresh; a new survey replaces the rows.
    selectNetwork(1);
    click("refreshButton");
    EXPECT_EQ(ctx.window.surveysStarted, 2);
    ctx.window.finishSurvey({entry("C", 3, 50, 0), entry("B", 2, 80, 0)});
    EXPECT_EQ(networkNames(), (std::vector<std::string>{"C/50%", "B/80%"}));
    ASSERT_EQ(networks()->selectedItems().size(), 1);
    EXPECT_EQ(networks()->selectedItems().front()->text(0), QStringLiteral("B"));

    // Shown: the profile list first, then a survey.
    storeProfiles({{4, "Home"}});
    page->shown();
    EXPECT_EQ(profileRows(), std::vector<std::string>{"Home"});
    EXPECT_EQ(ctx.window.surveysStarted, 3);
    ctx.window.finishSurvey({});
    EXPECT_EQ(networks()->topLevelItemCount(), 0);
    EXPECT_EQ(ctx.ui.waitCursorDepth(), 0);
}

TEST_F(SiteSurveyPageTest, SortingByAHeading) {
    survey({entry("b", 1, 40, 9), entry("C", 2, 90, 1), entry("a", 3, 5, 20), entry("d", 4, 100, 3)});
    const auto order = [&] {
        std::string names;
        for (int i = 0; i < networks()->topLevelItemCount(); ++i) {
            names += networks()->topLevelItem(i)->text(0).toStdString();
        }
        return names;
    };
    EXPECT_EQ(order(), "bCad") << "the adapter's order until a heading is clicked";
    EXPECT_FALSE(networks()->header()->isSortIndicatorShown());
    QHeaderView* header = networks()->header();
    emit header->sectionClicked(SiteSurveyPage::SignalColumn);
    EXPECT_EQ(order(), "dCba") << "strongest first";
    emit header->sectionClicked(SiteSurveyPage::SignalColumn);
    EXPECT_EQ(order(), "abCd");
    emit header->sectionClicked(SiteSurveyPage::ChannelColumn);
    EXPECT_EQ(order(), "Cdba") << "by channel index, not by text";
    emit header->sectionClicked(SiteSurveyPage::SsidColumn);
    EXPECT_EQ(order(), "abCd") << "letter case aside";
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), int(SiteSurveyPage::SsidColumn));
    // A refresh keeps the order chosen.
    click("refreshButton");
    ctx.window.finishSurvey({entry("z", 1, 40, 9), entry("y", 2, 90, 1)});
    EXPECT_EQ(order(), "yz");
}

TEST(SignalBar, FillFollowsThePercentage) {
    const int cases[][3] = {
        {0, 20, 0}, {100, 20, 20}, {50, 20, 10},  {72, 20, 14}, {3, 20, 1},
        {2, 20, 0}, {-5, 20, 0},   {130, 20, 20}, {100, 0, 0},  {100, -3, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sitesurvey::signalBarFill(c[0], c[1]), c[2]) << c[0] << "% of " << c[1];
    }
}

// Each profile operation on a selected row: the rows it leaves and the store it leaves.
TEST_F(SiteSurveyPageTest, ProfileOperations) {
    enum class Action { Up, Down, Remove, DeleteKeyYes, DeleteKeyNo, CtrlUp, CtrlDown };
    struct Case {
        const char* what;
        std::vector<Slot> before;
        const char* selected; // nullptr: none
        Action action;
        std::vector<std::string> rowsBefore, rowsAfter, storeAfter;
    };
    const std::vector<Slot> three = {{1, "P1"}, {2, "P2"}, {3, "P3"}};
    const std::vector<std::string> p123 = {"P1", "P2", "P3"};
    const std::vector<std::string> stored123 = {"1:P1", "2:P2", "3:P3"};
    const Case cases[] = {
        {"down on the first", three, "P1", Action::Down, p123, {"P2", "P1", "P3"}, {"1:P2", "2:P1", "3:P3"}},
        {"up on the last", three, "P3", Action::Up, p123, {"P1", "P3", "P2"}, {"1:P1", "2:P3", "3:P2"}},
        {"up on the first", three, "P1", Action::Up, p123, p123, stored123},
        {"down on the last", three, "P3", Action::Down, p123, p123, stored123},
        {"nothing selected", three, nullptr, Action::Down, p123, p123, stored123},
        {"ctrl+down", three, "P2", Action::CtrlDown, p123, {"P1", "P3", "P2"}, {"1:P1", "2:P3", "3:P2"}},
        {"ctrl+up", three, "P2", Action::CtrlUp, p123, {"P2", "P1", "P3"}, {"1:P2", "2:P1", "3:P3"}},
        {"remove the middle one", three, "P2", Action::Remove, p123, {"P1", "P3"}, {"1:P1", "3:P3"}},
        {"delete, confirmed", three, "P3", Action::DeleteKeyYes, p123, {"P1", "P2"}, {"1:P1", "2:P2"}},
        {"delete, not confirmed", three, "P3", Action::DeleteKeyNo, p123, p123, stored123},
        {"remove without a selection", three, nullptr, Action::Remove, p123, p123, stored123},
        // Gaps close when the list loads; a profile of another network type keeps its slot
        // without a row, and moving past it still finds each slot by name.
        {"gaps and a hidden profile",
         {{3, "A"}, {5, "H", 2}, {7, "B"}},
         "B",
         Action::Up,
         {"A", "B"},
         {"B", "A"},
         {"1:B", "2:H", "3:A"}},
        {"ad hoc profiles are listed",
         {{1, "Cell", 0}, {2, "Net"}},
         "Net",
         Action::Up,
         {"Cell", "Net"},
         {"Net", "Cell"},
         {"1:Net", "2:Cell"}},
        {"removed profiles are not listed",
         {{1, "Old", 1, ProfileStore::SlotState::Removed}, {2, "New"}},
         "New",
         Action::Remove,
         {"New"},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::unlink("S.CBA");
        ::unlink("b.cba");
        storeProfiles(c.before);
        page->LoadProfileList();
        EXPECT_EQ(profileRows(), c.rowsBefore);
        if (c.selected != nullptr) {
            selectProfile(c.selected);
        } else {
            profiles()->clearSelection();
        }
        const std::size_t modalRuns = ctx.ui.modalRuns().size();
        switch (c.action) {
        case Action::Up:
            click("upButton");
            break;
        case Action::Down:
            click("downButton");
            break;
        case Action::Remove:
            click("removeButton");
            break;
        case Action::DeleteKeyYes:
        case Action::DeleteKeyNo: {
            const int answer = c.action == Action::DeleteKeyYes ? QMessageBox::Yes : QMessageBox::No;
            ctx.ui.queueModal([answer](QDialog& box) {
                EXPECT_TRUE(dynamic_cast<QMessageBox&>(box).text().contains(QStringLiteral("P3")));
                return answer;
            });
            press(*profiles(), Qt::Key_Delete);
            EXPECT_EQ(ctx.ui.modalRuns().size(), modalRuns + 1) << "the question was asked";
            break;
        }
        case Action::CtrlUp:
            press(*profiles(), Qt::Key_Up, Qt::ControlModifier);
            break;
        case Action::CtrlDown:
            press(*profiles(), Qt::Key_Down, Qt::ControlModifier);
            break;
        }
        EXPECT_EQ(profileRows(), c.rowsAfter);
        if (c.action == Action::Remove) {
            EXPECT_EQ(ctx.ui.modalRuns().size(), modalRuns) << "the button asks nothing";
        }
        EXPECT_EQ(liveSlots(), c.storeAfter);
        // The moved row stays the selected one.
        if (c.selected != nullptr && !c.rowsAfter.empty() && c.rowsAfter != c.rowsBefore &&
            c.rowsAfter.size() == c.rowsBefore.size()) {
            ASSERT_EQ(profiles()->selectedItems().size(), 1);
            EXPECT_EQ(profiles()->selectedItems().front()->text(0).toStdString(), c.selected);
        }
        // The next load shows the same order.
        page->LoadProfileList();
        EXPECT_EQ(profileRows(), c.rowsAfter);
        EXPECT_TRUE(ctx.ui.messages().empty());
    }
}

TEST_F(SiteSurveyPageTest, RemovingTheLastProfileResetsTheStore) {
    storeProfiles({{1, "Only"}});
    ctx.store.writeOnLinkValues({{"SSID", EncodeStoredText("net-Only")}});
    const std::string pristine = "[on_link]\nbsstype=1\n";
    writeFile("b.cba", pristine);
    page->LoadProfileList();
    selectProfile("Only");
    click("removeButton");
    EXPECT_TRUE(profileRows().empty());
    EXPECT_EQ(readFile("S.CBA"), pristine);
}

TEST_F(SiteSurveyPageTest, LoadingSetsTheSlotBase) {
    storeProfiles({{3, "A"}, {4, "gone", 1, ProfileStore::SlotState::Removed}, {7, "B"}});
    page->LoadProfileList();
    EXPECT_EQ(profileRows(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(liveSlots(), (std::vector<std::string>{"1:A", "2:B"}));
    EXPECT_EQ(ctx.window.slotBase, 2);
    EXPECT_EQ(iconOf(profiles()->topLevelItem(0)->icon(0)), 181);
}

TEST_F(SiteSurveyPageTest, ConnectingToANetworkOpensTheEditor) {
    survey({entry("HomeNet", 0x3c, 72, 5, 1, 3, 7), entry("Cell", 0x01, 40, 3, 0, 1, 0)});
    const EditorSeen homeNet{EditorMode::Surveyed, "HomeNet", "HomeNet", "Infrastructure", "WPA2-PSK"};
    struct Case {
        const char* what;
        std::function<void()> act;
        std::optional<EditorSeen> expected;
    };
    const Case cases[] = {
        {"nothing selected", [&] { click("connectNetworkButton"); }, std::nullopt},
        {"the Connect button",
         [&] {
             selectNetwork(0);
             click("connectNetworkButton");
         },
         homeNet},
        {"a double-click",
         [&] {
             selectNetwork(1);
             emit networks()->itemDoubleClicked(networks()->topLevelItem(1), 0);
         },
         EditorSeen{EditorMode::Surveyed, "Cell", "Cell", "Ad-hoc", "Auto"}},
        {"Enter",
         [&] {
             selectNetwork(0);
             press(*networks(), Qt::Key_Return);
         },
         homeNet},
        // A row of an older survey: the window's survey no longer has it.
        {"a row the survey no longer has",
         [&] {
             selectNetwork(1);
             ctx.window.networks = {entry("HomeNet", 0x3c, 72, 5, 1, 3, 7)};
             click("connectNetworkButton");
         },
         EditorSeen{EditorMode::Surveyed, "Cell", "Cell", "Infrastructure", "Disable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        networks()->clearSelection();
        const std::size_t runs = ctx.ui.modalRuns().size();
        scriptEditor();
        c.act();
        EXPECT_EQ(seen, c.expected);
        EXPECT_EQ(ctx.ui.modalRuns().size(), runs + (c.expected ? 1 : 0));
        ctx.ui.setModalScript({});
    }
    EXPECT_EQ(ctx.window.handOvers, 0) << "no editor ended with OK";
    EXPECT_FALSE(exists("S.CBA"));
}

TEST_F(SiteSurveyPageTest, AnEditorOkShowsLinkInfo) {
    survey({entry("Cafe", 0x01, 60, 10)});
    selectNetwork(0);
    scriptEditor(QDialog::Accepted, [](ProfileDialog& editor) {
        editor.findChild<BitmapButton*>(QStringLiteral("applyButton"))->click();
    });
    click("connectNetworkButton");
    EXPECT_EQ(ctx.window.handOvers, 1);
    EXPECT_EQ(ctx.window.shownPages, std::vector<PageId>{PageId::LinkInfo});
    EXPECT_STREQ(ctx.window.pending.cSSID, "Cafe");
    EXPECT_EQ(ctx.window.pending.Channel, 0) << "infrastructure: the adapter finds the channel";
    EXPECT_EQ(ctx.store.FindProfileSection("Cafe"), "Profile_index_1");
    page->LoadProfileList();
    EXPECT_EQ(profileRows(), std::vector<std::string>{"Cafe"});
}

TEST_F(SiteSurveyPageTest, ProfilesOpenTheEditorOrApplyUnseen) {
    storeProfiles({{1, "Home"}, {2, "Cell", 0}});
    page->LoadProfileList();
    struct Case {
        const char* what;
        std::function<void()> act;
        std::optional<EditorSeen> expected;
    };
    const Case cases[] = {
        {"Add", [&] { click("addButton"); },
         EditorSeen{EditorMode::Add, "", "", "Infrastructure", "Disable"}},
        {"Properties without a selection", [&] { click("propertiesButton"); }, std::nullopt},
        {"Connect without a selection", [&] { click("connectProfileButton"); }, std::nullopt},
        {"Properties",
         [&] {
             selectProfile("Home");
             click("propertiesButton");
         },
         EditorSeen{EditorMode::Properties, "Home", "net-Home", "Infrastructure", "Disable"}},
        {"Properties of an ad hoc profile",
         [&] {
             selectProfile("Cell");
             click("propertiesButton");
         },
         EditorSeen{EditorMode::Properties, "Cell", "net-Cell", "Ad-hoc", "Disable"}},
        // The file lost the profile behind the program's back: a new profile of that name.
        {"Properties of a profile the store no longer holds",
         [&] {
             std::string text = readFile("S.CBA");
             text.replace(text.find("Profilename=Home"), 16, "Profilename=Elsewhere");
             writeFile("S.CBA", text);
             selectProfile("Home");
             click("propertiesButton");
         },
         EditorSeen{EditorMode::Add, "Home", "", "Infrastructure", "Disable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        profiles()->clearSelection();
        const std::size_t runs = ctx.ui.modalRuns().size();
        scriptEditor();
        c.act();
        EXPECT_EQ(seen, c.expected);
        EXPECT_EQ(ctx.ui.modalRuns().size(), runs + (c.expected ? 1 : 0));
    }
    EXPECT_EQ(ctx.window.handOvers, 0);
}

TEST_F(SiteSurveyPageTest, ConnectWithAProfileAppliesIt) {
    storeProfiles({{1, "Home"}, {2, "Cell", 0}});
    page->LoadProfileList();
    const std::string before = readFile("S.CBA");

    // Connect and a double-click apply unseen: the profile goes back to its slot and to on_link.
    selectProfile("Home");
    click("connectProfileButton");
    EXPECT_TRUE(ctx.ui.modalRuns().empty());
    EXPECT_EQ(ctx.window.handOvers, 1);
    EXPECT_EQ(ctx.window.shownPages, std::vector<PageId>{PageId::LinkInfo});
    EXPECT_STREQ(ctx.window.pending.cSSID, "net-Home");
    EXPECT_EQ(ctx.store.ReadOnLink().SSID, "net-Home");
    EXPECT_EQ(liveSlots(), (std::vector<std::string>{"1:Home", "2:Cell"}));

    selectProfile("Cell"); // ad hoc with an SSID: applies too
    emit profiles()->itemDoubleClicked(profiles()->topLevelItem(1), 0);
    EXPECT_TRUE(ctx.ui.modalRuns().empty());
    EXPECT_EQ(ctx.window.handOvers, 2);
    EXPECT_EQ(ctx.window.pending.NetworkType, 0);

    selectProfile("Home");
    press(*profiles(), Qt::Key_Return);
    EXPECT_EQ(ctx.window.handOvers, 3);
    EXPECT_STREQ(ctx.window.pending.cSSID, "net-Home");

    // A stored profile its checks refuse opens the editor for the user.
    ProfileRecord broken = profile("Broken");
    broken.bsstype = 0;
    broken.SSID.clear();
    broken.AuthListIndex = 1;
    auto batch = ctx.store.beginBatch();
    batch.WriteProfile("Profile_index_3", broken);
    batch.setSlotState("Profile_index_3", ProfileStore::SlotState::Live);
    ASSERT_TRUE(batch.commit());
    page->LoadProfileList();
    selectProfile("Broken");
    scriptEditor();
    click("connectProfileButton");
    ASSERT_EQ(ctx.ui.messages().size(), 1u);
    EXPECT_EQ(ctx.ui.messages()[0].text.toStdString(), logic::adhocSsidMessage);
    EXPECT_EQ(seen, (EditorSeen{EditorMode::Properties, "Broken", "", "Ad-hoc", "Disable"}));
    EXPECT_EQ(ctx.window.handOvers, 3);
}

TEST_F(SiteSurveyPageTest, EveryControlHasANameAndTheButtonsSayTheirWord) {
    const std::pair<const char*, const char*> buttons[] = {
        {"refreshButton", "Refresh"},
        {"connectNetworkButton", "Connect"},
        {"upButton", "Up"},
        {"downButton", "Down"},
        {"addButton", "Add"},
        {"removeButton", "Remove"},
        {"propertiesButton", "Properties"},
        {"connectProfileButton", "Connect with profile"},
    };
    for (const auto& [name, word] : buttons) {
        auto* button = child<BitmapButton>(name);
        EXPECT_EQ(button->accessibleName(), QString::fromLatin1(word)) << name;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(word)) << name;
        EXPECT_EQ(button->focusPolicy(), Qt::StrongFocus) << name;
        EXPECT_EQ(button->size(),
                  QSize(std::string(name) == "upButton" || std::string(name) == "downButton" ? 60 : 76, 24))
            << name;
    }
    EXPECT_EQ(networks()->accessibleName(), QStringLiteral("Available Network"));
    EXPECT_EQ(profiles()->accessibleName(), QStringLiteral("Profile list"));
    EXPECT_EQ(networks()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(networks()->selectionMode(), QAbstractItemView::SingleSelection);
    // Every control lies within the page.
    for (QWidget* widget : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(QRect(0, 0, Page::width, Page::height).contains(widget->geometry()))
            << widget->objectName().toStdString();
    }
}

} // namespace

namespace {

TEST_F(SiteSurveyPageTest, AProfileChangeThatCannotBeSavedIsToldAndUndone) {
    storeProfiles({{1, "P1"}, {2, "P2"}});
    page->LoadProfileList();
    const std::string before = readFile("S.CBA");
    selectProfile("P1");
    ASSERT_EQ(::chmod(".", 0500), 0);
    {
        const StrictPermissions strict;
        click("downButton");
        click("removeButton");
    }
    ASSERT_EQ(::chmod(".", 0700), 0);
    ASSERT_EQ(ctx.ui.messages().size(), 2u);
    EXPECT_TRUE(ctx.ui.messages()[0].text.startsWith(QStringLiteral("The profile could not be moved.")));
    EXPECT_TRUE(ctx.ui.messages()[1].text.startsWith(QStringLiteral("The profile could not be removed.")));
    for (const auto& message : ctx.ui.messages()) {
        EXPECT_TRUE(message.text.contains(QStringLiteral("Permission denied"))) << message.text.toStdString();
        EXPECT_EQ(message.icon, UiServices::MessageIcon::Warning);
    }
    EXPECT_EQ(profileRows(), (std::vector<std::string>{"P1", "P2"})) << "the list shows what is stored";
    EXPECT_EQ(readFile("S.CBA"), before);
}

} // namespace
