#include "platform/IniDocument.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

using platform::IniDocument;
using namespace std::string_literals;

TEST(IniDocument, ReadsByTheProfileRules) {
    struct Case {
        const char* what;
        std::string text, section, key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"names without regard to case", "[Setini]\nCountryDomain=99\n", "SETINI", "countrydomain", "99"},
        {"blanks around names and values", "  [ Check ]  \n  11b  =  1  \n", "Check", "11b", "1"},
        {"CRLF line ends", "[A]\r\nkey=value\r\nnext=2\r\n", "A", "key", "value"},
        {"last line without line end", "[A]\nkey=value", "A", "key", "value"},
        {"value holding '='", "[A]\nkey=a=b\n", "A", "key", "a=b"},
        {"present empty value", "[A]\nkey=\n", "A", "key", ""},
        {"missing key", "[A]\nother=1\n", "A", "key", std::nullopt},
        {"missing section", "[B]\nkey=1\n", "A", "key", std::nullopt},
        {"key before any section", "key=1\n[A]\n", "A", "key", std::nullopt},
        {"comment line", "[A]\n;key=1\n#key=2\n", "A", "key", std::nullopt},
        {"line without '='", "[A]\nkey\n", "A", "key", std::nullopt},
        {"first of duplicate keys", "[A]\nkey=1\nkey=2\n", "A", "key", "1"},
        {"first of duplicate sections", "[A]\nkey=1\n[a]\nkey=2\nmore=3\n", "A", "more", std::nullopt},
        {"header without ']' does not leak keys", "[A]\nx=1\n[B\nkey=2\n", "A", "key", std::nullopt},
        {"header without ']' is no section", "[B\nkey=2\n", "B", "key", std::nullopt},
        {"value stops at NUL", "[A]\nkey=ab\0cd\n"s, "A", "key", "ab"},
        {"NUL bytes elsewhere", "[A]\n\0\0\n\0=\nkey=v\n"s, "A", "key", "v"},
        {"binary junk", "\xff\xfe[\x01\n=\n]]\n", "A", "key", std::nullopt},
        {"Encryption Mode is not Encryation Mode", "[on_link]\nEncryption Mode=2\n", "on_link",
         "Encryation Mode", std::nullopt},
    };
    for (const Case& c : cases) {
        const IniDocument document(c.text);
        const auto value = document.find(c.section, c.key);
        EXPECT_EQ(value ? std::optional<std::string>(std::string(*value)) : std::nullopt, c.expected)
            << c.what;
    }
}

TEST(IniDocument, WritesChangeOnlyTheirLine) {
    struct Case {
        const char* what;
        std::string before, section, key, value, after;
    };
    const Case cases[] = {
        {"new file", "", "A", "k", "v", "[A]\nk=v\n"},
        {"value replaced in place, spelling and blanks kept", "; top\n[A]\n  Key = old  \nz=1\n", "a", "KEY",
         "new", "; top\n[A]\n  Key = new  \nz=1\n"},
        {"new key after the last key of its section", "[A]\nx=1\n; note\n\n[B]\ny=2\n", "A", "k", "v",
         "[A]\nx=1\nk=v\n; note\n\n[B]\ny=2\n"},
        {"new key in a section without keys", "[A]\n[B]\n", "A", "k", "v", "[A]\nk=v\n[B]\n"},
        {"new section at the end", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"file without a final line end", "[A]\nx=1", "A", "k", "v", "[A]\nx=1\nk=v\n"},
        {"CRLF file gets CRLF lines", "[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"CRLF value replaced", "[A]\r\nx=1\r\n", "A", "x", "22", "[A]\r\nx=22\r\n"},
        {"value cut at a line break", "", "A", "k", "one\ntwo", "[A]\nk=one\n"},
        {"empty value", "[A]\nk=v\n", "A", "k", "", "[A]\nk=\n"},
        {"broken header left alone", "[B\nk=1\n", "B", "k", "2", "[B\nk=1\n[B]\nk=2\n"},
    };
    for (const Case& c : cases) {
        IniDocument document(c.before);
        EXPECT_TRUE(document.set(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(document.text(), c.after) << c.what;
        const auto back = document.find(c.section, c.key);
        ASSERT_TRUE(back) << c.what;
        EXPECT_EQ(std::string(*back), c.value.substr(0, c.value.find('\n'))) << c.what;
    }
}

TEST(IniDocument, RefusesNamesAFileCannotHold) {
    const std::pair<std::string, std::string> names[] = {
        {"", "k"},    {"A", ""},     {"A]", "k"}, {"A", "k=x"},
        {"A\n", "k"}, {"A", "k\rx"}, {"A", "[k"}, {"A", ";k"},
    };
    for (const auto& [section, key] : names) {
        IniDocument document("[A]\nx=1\n");
        EXPECT_FALSE(document.set(section, key, "v")) << section << "/" << key;
        EXPECT_EQ(document.text(), "[A]\nx=1\n");
    }
}

TEST(IniDocument, NumbersByTheirLeadingDigits) {
    const std::pair<const char*, int32_t> cases[] = {
        {"12", 12},
        {"12abc", 12},
        {" -5 ", -5},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"0x1f", 0},
        {"99999999999", std::numeric_limits<int32_t>::max()},
        {"-99999999999", std::numeric_limits<int32_t>::min()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(platform::leadingNumber(text), expected) << text;
    }
}

TEST(IniDocument, HugeLineStaysReadable) {
    std::string text = "[A]\nbig=" + std::string(10 * 1024 * 1024, 'x') + "\nk=1\n";
    IniDocument document(text);
    EXPECT_EQ(document.find("A", "big")->size(), 10u * 1024 * 1024);
    ASSERT_TRUE(document.set("A", "k", "2"));
    text.replace(text.size() - 2, 1, "2");
    EXPECT_EQ(document.text(), text);
}
