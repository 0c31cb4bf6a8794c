// The country selector: its list, the texts each choice shows, and what OK and Esc write.
#include "dialogs/CountryDialog.h"
#include "storage/AppSettings.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

struct Country {
    const char* name;
    int code;
    const char* domain;
    const char* channels;
    const char* isoCode; // "" for a region or a standard: the system's regulatory domain stands
};

// The list as the user sees it, in order.
const Country countries[] = {
    {"African", 3, " FCC", " 1-11", ""},           {"Australia", 3, " FCC", " 1-11", "AU"},
    {"Belgium", 2, " ETSI", " 1-13", "BE"},        {"Canada", 3, " FCC", " 1-11", "CA"},
    {"China", 3, " FCC", " 1-11", "CN"},           {"Colombia", 3, " FCC", " 1-11", "CO"},
    {"Czech Republic", 2, " ETSI", " 1-13", "CZ"}, {"Egypt", 2, " ETSI", " 1-13", "EG"},
    {"Europe", 2, " ETSI", " 1-13", ""},           {"France", 5, " FRANCE", " 1-13", "FR"},
    {"Gaza Strip", 6, " ISRAEL", " 3-9", ""},      {"Germany", 2, " ETSI", " 1-13", "DE"},
    {"Greece", 2, " ETSI", " 1-13", "GR"},         {"Hong Kong", 3, " FCC", " 1-11", "HK"},
    {"India", 2, " ETSI", " 1-13", "IN"},          {"Israel", 6, " ISRAEL", " 3-9", "IL"},
    {"Italy", 2, " ETSI", " 1-13", "IT"},          {"Japan", 7, " MKK", " 1-13", "JP"},
    {"Korea", 3, " FCC", " 1-11", "KR"},           {"Luxembourg", 2, " ETSI", " 1-13", "LU"},
    {"Malaysia", 3, " FCC", " 1-11", "MY"},        {"Mezico", 2, " ETSI", " 1-13", "MX"},
    {"Netherlands", 2, " ETSI", " 1-13", "NL"},    {"New Zealand", 3, " FCC", " 1-11", "NZ"},
    {"Poland", 2, " ETSI", " 1-13", "PL"},         {"Portugal", 2, " ETSI", " 1-13", "PT"},
    {"Singapore", 5, " FRANCE", " 1-13", "SG"},    {"South Africa", 2, " ETSI", " 1-13", "ZA"},
    {"Spain", 2, " ETSI", " 1-13", "ES"},          {"Taiwan", 3, " FCC", " 1-11", "TW"},
    {"Thailand", 2, " ETSI", " 1-13", "TH"},       {"Turkey", 2, " ETSI", " 1-13", "TR"},
    {"Ukraine", 2, " ETSI", " 1-13", "UA"},        {"United Kingdom", 2, " ETSI", " 1-13", "GB"},
    {"United States", 3, " FCC", " 1-11", "US"},   {"FCC Standard", 3, " FCC", " 1-11", ""},
    {"ETSI Standard", 2, " ETSI", " 1-13", ""},
};

class CountryDialogTest : public ::testing::Test {
protected:
    void SetUp() override { std::ofstream("a.cba") << "[Setini]\r\nCountryDomain=99\r\nVer=1.0\r\n"; }
    void TearDown() override { std::remove("a.cba"); }

    template <typename T> T* child(const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* combo() { return child<QComboBox>("countryCombo"); }
    QString domainText() { return child<QLabel>("domainLabel")->text(); }
    QString channelsText() { return child<QLabel>("channelsLabel")->text(); }
    static std::string storedDomain() { return AppSettings(".\\a.cba").setiniText("CountryDomain"); }
    static std::string storedCountry() { return AppSettings(".\\a.cba").setiniText("Country"); }

    void pressKey(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &press);
    }

    AppSettings settings;
    RecordingUiServices ui;
    CountryDialog dialog{nullptr, settings, ui};
};

TEST_F(CountryDialogTest, ListsEveryCountryInOrder) {
    ASSERT_EQ(combo()->count(), int(std::size(countries)));
    for (int i = 0; i < combo()->count(); ++i) {
        EXPECT_EQ(combo()->itemText(i), QString::fromLatin1(countries[i].name)) << i;
    }
    EXPECT_EQ(combo()->currentIndex(), 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wireless Configuration Utility Country Selector"));
}

TEST_F(CountryDialogTest, AcceptingUntouchedStoresTheFirstCountry) {
    EXPECT_EQ(domainText(), QStringLiteral(" FCC"));
    EXPECT_EQ(channelsText(), QStringLiteral(" 1-11"));
    child<QPushButton>("okButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.code(), 3);
    EXPECT_EQ(storedDomain(), "3");
    EXPECT_EQ(AppSettings(".\\a.cba").setiniText("Ver"), "1.0"); // the rest of the file stays
    EXPECT_TRUE(ui.messages().empty());
}

TEST(CountryDialogSaving, AChoiceThatCannotBeSavedIsToldAndStillTaken) {
    AppSettings unwritable("no-such-folder/a.cba");
    RecordingUiServices ui;
    CountryDialog dialog(nullptr, unwritable, ui);
    dialog.findChild<QComboBox*>(QStringLiteral("countryCombo"))->setCurrentIndex(17);
    dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "the choice holds for this run";
    EXPECT_EQ(dialog.code(), 7);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("asked again")))
        << ui.messages()[0].text.toStdString();
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("no-such-folder/a.cba")));
}

// Each choice shows its domain and channels, and OK stores its code.
TEST_F(CountryDialogTest, EachChoiceShowsAndStoresItsDomain) {
    // Walk the list backwards so that every step changes the selection.
    for (int i = int(std::size(countries)) - 1; i >= 0; --i) {
        const Country& country = countries[i];
        SCOPED_TRACE(country.name);
        combo()->setCurrentIndex(i);
        EXPECT_EQ(domainText(), QString::fromLatin1(country.domain));
        EXPECT_EQ(channelsText(), QString::fromLatin1(country.channels));
        child<QPushButton>("okButton")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.code(), country.code);
        EXPECT_EQ(storedDomain(), std::to_string(country.code));
        EXPECT_EQ(storedCountry(), country.isoCode);
    }
}

// The user picks with the keyboard: typing a name in the open list selects it.
TEST_F(CountryDialogTest, KeyboardChoice) {
    dialog.show();
    combo()->setFocus();
    for (QChar c : QStringLiteral("Japan")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(combo(), &press);
    }
    EXPECT_EQ(combo()->currentText(), QStringLiteral("Japan"));
    EXPECT_EQ(domainText(), QStringLiteral(" MKK"));
    EXPECT_EQ(channelsText(), QStringLiteral(" 1-13"));
    pressKey(Qt::Key_Return); // OK is the default button
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(storedDomain(), "7");
}

TEST_F(CountryDialogTest, EscapeWritesNothing) {
    dialog.show();
    combo()->setCurrentIndex(17); // Japan, then the user thinks better of it
    pressKey(Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(storedDomain(), "99");

    dialog.reject();
    EXPECT_EQ(storedDomain(), "99");
}

} // namespace
