#include "logic/KeyRules.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(KeyRules, RequiredLengthsAndHexText) {
    EXPECT_EQ(RequiredKeyLength(0, 0), 5);
    EXPECT_EQ(RequiredKeyLength(0, 1), 13);
    EXPECT_EQ(RequiredKeyLength(1, 0), 10);
    EXPECT_EQ(RequiredKeyLength(1, 1), 26);
    EXPECT_EQ(RequiredKeyLength(-1, 7), 26) << "any index but 0 counts as HEX / 128-bit";

    const std::pair<const char*, bool> texts[] = {
        {"", true},      {"0123456789", true}, {"abcdefABCDEF", true},
        {"abcg", false}, {"12 34", false},     {"-1", false},
    };
    for (const auto& [text, hex] : texts) {
        EXPECT_EQ(IsHexText(text), hex) << text;
    }
}

TEST(KeyRules, WepKeyValueForTheAdapter) {
    EXPECT_EQ(MakeWepKeyValue("abcde", 5), "6162636465");
    EXPECT_EQ(MakeWepKeyValue("\x01\xff"
                              "abcdefghijk",
                              13),
              "01FF6162636465666768696A6B");
    EXPECT_EQ(MakeWepKeyValue("abcdef0123", 10), "abcdef0123") << "HEX keys keep their case";
    EXPECT_EQ(MakeWepKeyValue("0123456789abcdef0123456789", 26), "0123456789abcdef0123456789");
    // Stored keys reach the conversion unvalidated: an ASCII key gives only its first 5 or 13
    // characters, a short one what it has, and a HEX key of any length passes unchanged.
    EXPECT_EQ(MakeWepKeyValue("abcdefgh", 5), "6162636465");
    EXPECT_EQ(MakeWepKeyValue("abc", 13), "616263");
    EXPECT_EQ(MakeWepKeyValue("", 5), "");
    EXPECT_EQ(MakeWepKeyValue("12ab", 10), "12ab");
    EXPECT_EQ(MakeWepKeyValue(std::string(40, 'f'), 26), std::string(40, 'f'));
}

TEST(KeyRules, WepKeyBitsFollowTheRequiredLength) {
    for (const auto& [length, bits] : {std::pair{5, 64}, {10, 64}, {13, 128}, {26, 128}}) {
        EXPECT_EQ(WepKeyBits(length), bits) << length;
    }
}

TEST(KeyRules, KeyFieldLimit) {
    struct Case {
        std::string text;
        int format, length;
        KeyFieldState expected;
    };
    const Case cases[] = {
        {"", 1, 0, {"", 0, false}}, // nothing happens: limit 0 keeps the field as it is
        {"abcdefghijklm", 1, 0, {"bcdefghijk", 10, true}}, // characters 2 to 11
        {"abcdef", 0, 0, {"bcdef", 5, false}},
        {"abc", 0, 1, {"abc", 13, false}},
        {"0123456789", 1, 0, {"0123456789", 10, true}},
        {std::string(30, 'f'), 1, 1, {std::string(26, 'f'), 26, true}},
    };
    for (const Case& c : cases) {
        const KeyFieldState state = ApplyKeyLimit(c.text, c.format, c.length);
        EXPECT_EQ(state.text, c.expected.text) << c.text;
        EXPECT_EQ(state.limit, c.expected.limit) << c.text;
        EXPECT_EQ(state.hexOnly, c.expected.hexOnly) << c.text;
    }
}

TEST(KeyRules, KeyFormatCheckAndMessages) {
    struct Case {
        std::string text;
        int format;
        bool rejected;
        std::string text2;
        bool hexOnly;
    };
    const Case cases[] = {
        {"abcdefg", 1, true, "", true},
        {"abcdef", 1, false, "abcdef", true},
        {"", 1, false, "", true},
        {"xyz!", 0, false, "xyz!", false},
    };
    for (const Case& c : cases) {
        const KeyFormatCheck check = CheckKeyFormat(c.text, c.format);
        EXPECT_EQ(check.rejected, c.rejected) << c.text;
        EXPECT_EQ(check.text, c.text2) << c.text;
        EXPECT_EQ(check.hexOnly, c.hexOnly) << c.text;
    }
    EXPECT_EQ(WepKeyLengthMessage(3, 10), "The length of key3 must be 10 characters");
}

TEST(KeyRules, PassphraseLengths) {
    const std::pair<std::string, PassphraseVerdict> cases[] = {
        {"", PassphraseVerdict::TooShort},
        {std::string(7, 'p'), PassphraseVerdict::TooShort},
        {std::string(8, 'p'), PassphraseVerdict::Ok},
        {std::string(63, 'p'), PassphraseVerdict::Ok},
        {std::string(64, 'a'), PassphraseVerdict::Ok},
        {std::string(63, 'a') + "g", PassphraseVerdict::NotHex},
        {std::string(65, 'a'), PassphraseVerdict::TooShort},
    };
    for (const auto& [passphrase, verdict] : cases) {
        EXPECT_EQ(CheckPassphrase(passphrase), verdict) << passphrase.size();
    }
}

TEST(KeyRules, DefaultKeyLengthCheck) {
    struct Case {
        std::string typed;
        int key, format, length;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {"abcde", 1, 0, 0, std::nullopt},
        {"abcdefghijklm", 2, 0, 1, std::nullopt},
        {"012345678", 3, 1, 0, "The length of key3 must be 10 characters"},
        {"", 4, 1, 1, "The length of key4 must be 26 characters"},
        {"abcdef", 1, 0, 0, "The length of key1 must be 5 characters"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckWepKeyLength(c.typed, c.key, c.format, c.length), c.message) << c.typed;
    }
}

TEST(KeyRules, KeyFieldTypingRule) {
    struct Case {
        bool hexOnly;
        bool masked;
        std::u32string key; // one keystroke, or a pasted text
        std::string before;
        std::string after;
        bool maskedAfter;
    };
    const std::u32string backspace(1, backspaceKey);
    const Case cases[] = {
        // hex-only discards all but hex digits and backspace
        {true, false, U"g", "12", "12", false},
        {true, false, U"a", "12", "12a", false},
        {true, false, U"F", "12", "12F", false},
        {true, false, backspace, "12", "1", false},
        {true, false, U"\t", "12", "12", false}, // other control characters too
        {true, false, U"\u00e9", "12", "12", false},
        // the first keystroke into a masked field empties it and takes the mask away
        {false, true, U"x", "stored", "x", false},
        {true, true, U"7", "0123456789", "7", false},
        {false, true, backspace, "stored", "", false},
        {true, true, U"g", "0123456789", "0123456789", true}, // discarded: nothing happens
        // without hex-only, every printable single-byte character is a key character
        {false, false, U"g", "ab", "abg", false},
        {false, false, U" ", "ab", "ab ", false},
        {false, false, U"\u00e9", "ab", "ab\xe9", false},
        {false, false, U"\u20ac", "ab", "ab", false}, // beyond one byte
        {false, false, backspace, "", "", false},
        // a pasted text is its characters typed in order
        {true, false, U"de:ad-BE ef", "", "deadBEef", false},
        {true, true, U"zz12", "stored", "12", false},
        {true, true, U"zz", "stored", "stored", true},
        {false, true, U"new key", "stored", "new key", false},
        {false, false, U"ab\bc", "", "ac", false},
        {false, false, U"line\nbreak", "", "linebreak", false},
    };
    for (const Case& c : cases) {
        const KeyEditText after = TypeIntoKeyEdit({c.before, c.masked}, c.hexOnly, 0, c.key);
        EXPECT_EQ(after.text, c.after) << c.before << " + key " << int(c.key[0]);
        EXPECT_EQ(after.masked, c.maskedAfter) << c.before << " + key " << int(c.key[0]);
    }
    // The field's limit holds for typing and pasting alike; a masked field starts over.
    EXPECT_EQ(TypeIntoKeyEdit({"abcde", false}, false, 5, U"f").text, "abcde");
    EXPECT_EQ(TypeIntoKeyEdit({"ab", false}, false, 5, U"cdefg").text, "abcde");
    EXPECT_EQ(TypeIntoKeyEdit({"abcde", true}, false, 5, U"f").text, "f");
}
