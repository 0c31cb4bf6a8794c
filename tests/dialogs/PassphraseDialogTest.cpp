// The passphrase dialog: its limit and mask as opened, what OK lets through, what it says
// otherwise (from the text catalogue), and Cancel.
#include "dialogs/PassphraseDialog.h"
#include "storage/TextCatalog.h"
#include "support/RecordingUiServices.h"
#include "support/ScratchDirectory.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const std::string hex64 = "0123456789abcdefABCDEF0123456789abcdef0123456789ABCDEF0123456789";

class PassphraseDialogTest : public ScratchDirectory {
protected:
    template <typename T> static T* child(QDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    RecordingUiServices ui;
    TextCatalog texts{".\\define.ini"};
};

TEST_F(PassphraseDialogTest, OpensMaskedWithTheGivenPassphrase) {
    struct Case {
        std::string given;
        int limit;
    };
    const Case cases[] = {
        {"", 63}, {"12345678", 63}, {std::string(63, 'p'), 63}, {hex64, 64}, {std::string(64, 'g'), 64},
    };
    for (const Case& c : cases) {
        PassphraseDialog dialog(ui, texts, c.given);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Define WPA PSK"));
        EXPECT_EQ(child<QLabel>(dialog, "instructionLabel")->text(),
                  QStringLiteral("Enter your WPA Passphrase.  The minimum length is 8 characters."));
        auto* edit = child<QLineEdit>(dialog, "passphraseEdit");
        EXPECT_EQ(edit->maxLength(), c.limit) << c.given;
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->text().toStdString(), c.given);
        EXPECT_EQ(edit->displayText(), QString(int(c.given.size()), QLatin1Char('*')));
        // Typing goes no further than the limit.
        edit->end(false);
        edit->insert(QString(70, QLatin1Char('a')));
        EXPECT_EQ(edit->text().size(), c.limit) << c.given;
    }
}

TEST_F(PassphraseDialogTest, OkLetsThroughOnlyAValidPassphrase) {
    struct Case {
        QString typed;
        const char* message; // nullptr: accepted
    };
    const char* length = "The Passphrase must be between 8 and 63 characters.";
    const char* hex = "A Hexidecimal Passphrase must be 64 characters.";
    const Case cases[] = {
        {QString(), length},
        {QString(7, QLatin1Char('p')), length},
        {QString(8, QLatin1Char('p')), nullptr},
        {QStringLiteral("pass word with blanks"), nullptr},
        {QString(63, QLatin1Char('p')), nullptr},
        {QString::fromStdString(hex64), nullptr},
        {QString::fromStdString(hex64.substr(0, 63) + "g"), hex},
        // 40 characters, but 80 bytes: more than a passphrase may have.
        {QString(40, QChar(0xe9)), length},
    };
    for (const Case& c : cases) {
        PassphraseDialog dialog(ui, texts, hex64); // opened with 64, so 64 can be typed
        child<QLineEdit>(dialog, "passphraseEdit")->setText(c.typed);
        const std::size_t before = ui.messages().size();
        child<QPushButton>(dialog, "okButton")->click();
        EXPECT_EQ(dialog.passphrase(), c.typed.toStdString()) << "read at every OK";
        if (c.message == nullptr) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.typed.toStdString();
            EXPECT_EQ(ui.messages().size(), before);
            continue;
        }
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "stays open: " << c.typed.toStdString();
        ASSERT_EQ(ui.messages().size(), before + 1) << c.typed.toStdString();
        EXPECT_EQ(ui.messages().back().text, QString::fromLatin1(c.message));
        EXPECT_EQ(ui.messages().back().caption, QStringLiteral("Warning"));
        EXPECT_EQ(ui.messages().back().icon, UiServices::MessageIcon::Information);
    }
}

TEST_F(PassphraseDialogTest, WarningsComeFromTheTextCatalogue) {
    writeFile("define.ini", "[DATA]\r\n"
                            "The Passphrase must be between 8 and 63 characters.=Zu kurz\r\n"
                            "A Hexidecimal Passphrase must be 64 characters.=Nicht hexadezimal\r\n");
    PassphraseDialog dialog(ui, texts, hex64);
    child<QLineEdit>(dialog, "passphraseEdit")->setText(QStringLiteral("short"));
    child<QPushButton>(dialog, "okButton")->click();
    child<QLineEdit>(dialog, "passphraseEdit")->setText(QString(64, QLatin1Char('x')));
    child<QPushButton>(dialog, "okButton")->click();
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Zu kurz"));
    EXPECT_EQ(ui.messages()[1].text, QStringLiteral("Nicht hexadezimal"));
}

TEST_F(PassphraseDialogTest, EnterIsOkAndCancelKeepsNothing) {
    {
        PassphraseDialog dialog(ui, texts, "old passphrase");
        dialog.show(); // the default button answers Enter only when it can be seen
        child<QLineEdit>(dialog, "passphraseEdit")->setText(QStringLiteral("new passphrase"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &enter);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.passphrase(), "new passphrase");
    }
    PassphraseDialog dialog(ui, texts, "old passphrase");
    child<QLineEdit>(dialog, "passphraseEdit")->setText(QStringLiteral("x"));
    child<QPushButton>(dialog, "cancelButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.passphrase(), "old passphrase");
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
