#include "storage/StoredText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(StoredText, StoredTextScrambling) {
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

TEST(StoredText, DecodingWhatNoEncoderWrote) {
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
