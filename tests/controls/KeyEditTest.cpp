// The WEP key field driven as a user drives it: keys, pastes by every road, undo, and the limit,
// format and length rules the screens run on it.
#include "controls/KeyEdit.h"
#include "controls/ApplicationTitle.h"
#include "support/RecordingUiServices.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace {

void press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &event);
}

void typeCharacter(QWidget& widget, QChar c) {
    press(widget, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

KeyEdit& field(KeyEdit& edit, bool hexOnly, bool masked, const char* text) {
    edit.setKeyText(text);
    edit.setHexOnly(hexOnly);
    edit.setMasked(masked);
    return edit;
}

TEST(KeyEdit, TypingRule) {
    struct Case {
        bool hexOnly;
        bool masked;
        int key;
        const char* keyText;
        const char* before;
        const char* after;
        bool maskedAfter;
    };
    const Case cases[] = {
        {true, false, Qt::Key_G, "g", "12", "12", false},
        {true, false, Qt::Key_A, "a", "12", "12a", false},
        {true, false, Qt::Key_Backspace, "\b", "12", "1", false},
        {true, false, Qt::Key_Space, " ", "12", "12", false},
        {false, false, Qt::Key_G, "g", "12", "12g", false},
        {false, true, Qt::Key_X, "x", "stored", "x", false},
        {true, true, Qt::Key_7, "7", "0123456789", "7", false},
        {false, true, Qt::Key_Backspace, "\b", "stored", "", false},
        {true, true, Qt::Key_G, "g", "0123456789", "0123456789", true},
        {false, false, Qt::Key_Eacute, "\u00e9", "ab", "ab\u00e9", false},
        {false, false, Qt::Key_unknown, "\u20ac", "ab", "ab", false},
    };
    for (const Case& c : cases) {
        KeyEdit edit;
        field(edit, c.hexOnly, c.masked, c.before);
        press(edit, c.key, Qt::NoModifier, QString::fromUtf8(c.keyText));
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.after)) << c.before << " + " << c.keyText;
        EXPECT_EQ(edit.isMasked(), c.maskedAfter) << c.before << " + " << c.keyText;
    }
}

TEST(KeyEdit, MaskShowsStars) {
    KeyEdit edit;
    field(edit, false, true, "abcde");
    EXPECT_EQ(edit.displayText(), QStringLiteral("*****"));
}

TEST(KeyEdit, ShortcutsAreNoTyping) {
    KeyEdit edit;
    field(edit, true, false, "0123");
    press(edit, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    EXPECT_EQ(edit.selectedText(), QStringLiteral("0123")) << "Ctrl+A selects all, even in a hex-only field";
    typeCharacter(edit, QLatin1Char('f'));
    EXPECT_EQ(edit.text(), QStringLiteral("f")) << "a typed character replaces the selection";
}

TEST(KeyEdit, EveryRoadOfPastingFollowsTheRule) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    using Paste = void (*)(KeyEdit&);
    struct Road {
        const char* name;
        Paste paste;
    };
    const Road roads[] = {
        {"Ctrl+V",
         [](KeyEdit& edit) { press(edit, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")); }},
        {"Shift+Insert", [](KeyEdit& edit) { press(edit, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"context menu",
         [](KeyEdit& edit) {
             const std::unique_ptr<QMenu> menu(edit.createContextMenu());
             for (QAction* action : menu->actions()) {
                 if (action->text().startsWith(QLatin1String("&Paste"))) {
                     action->trigger();
                 }
             }
         }},
        {"input method",
         [](KeyEdit& edit) {
             QInputMethodEvent event;
             event.setCommitString(QGuiApplication::clipboard()->text());
             QApplication::sendEvent(&edit, &event);
         }},
    };
    struct Case {
        bool hexOnly;
        bool masked;
        const char* clipboard;
        const char* before;
        const char* after;
        bool maskedAfter;
    };
    const Case cases[] = {
        {true, false, "de:ad-BE ef", "", "deadBEef", false},
        {true, true, "zz12", "0123456789", "12", false},
        {true, true, "zz", "0123456789", "0123456789", true},
        {false, true, "new key", "stored", "new key", false},
        {false, false, "two\nlines", "", "twolines", false},
    };
    for (const Road& road : roads) {
        for (const Case& c : cases) {
            KeyEdit edit;
            field(edit, c.hexOnly, c.masked, c.before);
            clipboard->setText(QString::fromLatin1(c.clipboard));
            road.paste(edit);
            EXPECT_EQ(edit.text(), QString::fromLatin1(c.after)) << road.name << ": " << c.clipboard;
            EXPECT_EQ(edit.isMasked(), c.maskedAfter) << road.name << ": " << c.clipboard;
        }
    }
}

TEST(KeyEdit, PasteKeepsTheLimit) {
    KeyEdit edit;
    edit.setMaxLength(5);
    edit.pasteText(QStringLiteral("abcdefgh"));
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
}

TEST(KeyEdit, StoredKeyNeverComesBack) {
    KeyEdit edit;
    field(edit, false, true, "secretkey1234");
    press(edit, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    EXPECT_NE(QGuiApplication::clipboard()->text(), QStringLiteral("secretkey1234"))
        << "copied from the mask";
    typeCharacter(edit, QLatin1Char('a'));
    ASSERT_EQ(edit.text(), QStringLiteral("a"));
    for (int i = 0; i < 3; ++i) {
        press(edit, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
        EXPECT_NE(edit.text(), QStringLiteral("secretkey1234")) << "undo revealed the stored key";
    }
    EXPECT_FALSE(edit.acceptDrops());
}

TEST(KeyEdit, LimitRuleOnTheField) {
    struct Case {
        const char* before;
        bool masked;
        int format, length;
        const char* after;
        int limit; // 0: left as it was
        bool hexOnly;
    };
    const Case cases[] = {
        {"abcdefghijklm", false, 1, 0, "bcdefghijk", 10, true}, // characters 2 to 11
        {"abcdefghijklm", true, 0, 0, "bcdef", 5, false},       // a masked key is cut too, still masked
        {"0123456789", false, 1, 1, "0123456789", 26, true},
        {"", false, 1, 1, "", 0, false},
    };
    for (const Case& c : cases) {
        KeyEdit edit;
        field(edit, false, c.masked, c.before);
        const int limitBefore = edit.maxLength();
        ApplyKeyLimit(edit, c.format, c.length);
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.after)) << c.before;
        EXPECT_EQ(edit.maxLength(), c.limit == 0 ? limitBefore : c.limit) << c.before;
        EXPECT_EQ(edit.hexOnly(), c.hexOnly) << c.before;
        EXPECT_EQ(edit.isMasked(), c.masked) << c.before;
    }
    // Run on every text change, as the screens do: typing past the limit is cut on the spot.
    KeyEdit edit;
    QObject::connect(&edit, &QLineEdit::textChanged, [&edit] { ApplyKeyLimit(edit, 0, 0); });
    edit.pasteText(QStringLiteral("abcd"));
    typeCharacter(edit, QLatin1Char('e'));
    typeCharacter(edit, QLatin1Char('f'));
    EXPECT_EQ(edit.text(), QStringLiteral("abcde"));
}

TEST(KeyEdit, FormatCheckOnTheField) {
    RecordingUiServices ui;
    KeyEdit edit;
    field(edit, false, true, "abcdefg");
    EXPECT_FALSE(CheckKeyFormat(edit, 1, ui));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Key contains characters which are non-hexadecimal."));
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Prompt"));
    EXPECT_EQ(ui.messages()[0].icon, UiServices::MessageIcon::None);
    EXPECT_EQ(edit.text(), QString());
    EXPECT_TRUE(edit.hexOnly());

    field(edit, true, false, "xyz");
    EXPECT_TRUE(CheckKeyFormat(edit, 0, ui));
    EXPECT_EQ(edit.text(), QStringLiteral("xyz"));
    EXPECT_FALSE(edit.hexOnly());
    field(edit, false, false, "abcdef");
    EXPECT_TRUE(CheckKeyFormat(edit, 1, ui));
    EXPECT_TRUE(edit.hexOnly());
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST(KeyEdit, DefaultKeyLengthMessages) {
    RecordingUiServices ui;
    KeyEdit edit;
    struct Case {
        const char* text;
        int key, format, length;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {"012345678", 1, 1, 0, "The length of key1 must be 10 characters"},
        {"abcde", 2, 0, 1, "The length of key2 must be 13 characters"},
        {"abcdef", 3, 0, 0, "The length of key3 must be 5 characters"},
        {"", 4, 1, 1, "The length of key4 must be 26 characters"},
        {"abcde", 4, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        field(edit, false, true, c.text);
        const std::size_t before = ui.messages().size();
        EXPECT_EQ(CheckDefaultKeyLength(edit, c.key, c.format, c.length, ui), c.message == nullptr) << c.text;
        if (c.message == nullptr) {
            EXPECT_EQ(ui.messages().size(), before);
            continue;
        }
        ASSERT_EQ(ui.messages().size(), before + 1);
        EXPECT_EQ(ui.messages().back().text, QString::fromLatin1(c.message));
        EXPECT_EQ(ui.messages().back().caption, QStringLiteral("Skyvane Configuration Utility"));
        EXPECT_EQ(ui.messages().back().icon, UiServices::MessageIcon::None);
    }
}

} // namespace
