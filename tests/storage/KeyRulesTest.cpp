#include "KeyRules.h"

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

TEST(KeyRules, StoredTextScrambling) {
    EXPECT_EQ(EncodeStoredText("abc"), "\xC9\xCE\xC9\xCD\xC9\xCC");
    EXPECT_EQ(EncodeStoredText(""), "");
    EXPECT_EQ(DecodeStoredText(""), "");
    // Texts of 0 to 127 bytes with every byte value come back whole.
    for (std::size_t length = 0; length <= maxStoredPlainBytes; ++length) {
        std::string plain;
        for (std::size_t i = 0; i < length; ++i) {
            plain += static_cast<char>((i * 37 + length * 11) % 256);
        }
        const std::string stored = EncodeStoredText(plain);
        EXPECT_EQ(stored.size(), 2 * length);
        EXPECT_EQ(
            stored.find_first_not_of("\xB9\xBA\xBB\xBC\xBD\xBE\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"),
            std::string::npos);
        EXPECT_EQ(DecodeStoredText(stored), plain) << length;
    }
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(DecodeStoredText(EncodeStoredText(all.substr(0, 127))), all.substr(0, 127));
    EXPECT_EQ(DecodeStoredText(EncodeStoredText(all.substr(127, 127))), all.substr(127, 127));
    EXPECT_EQ(EncodeStoredText(all), EncodeStoredText(all.substr(0, 127))) << "cut at 127 bytes";
}

TEST(KeyRules, DecodingWhatNoEncoderWrote) {
    const auto scramble = [](std::string text) {
        for (char& c : text) {
            c = static_cast<char>(255 - static_cast<unsigned char>(c));
        }
        return text;
    };
    const std::pair<std::string, std::string> cases[] = {
        {scramble("4"), "\x04"}, // a last unpaired character is read alone
        {scramble("414"), "A\x04"},
        {scramble("1G"), "\x01"}, // leading digits of the pair only
        {scramble("G1"), std::string(1, '\0')},
        {scramble("zz41"), std::string("\0A", 2)},
        {scramble("6a6A"), "jj"}, // lower-case digits read too
        {"plain text", std::string(5, '\0')},
    };
    for (const auto& [stored, plain] : cases) {
        EXPECT_EQ(DecodeStoredText(stored), plain);
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
