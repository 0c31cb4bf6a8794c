// Names from outside as the screens show them: one line, every hidden character visible, and
// their direction kept to themselves.
#include "logic/ShownText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using logic::shownText;

const std::string fsi = "\u2068";
const std::string pdi = "\u2069";

TEST(ShownText, ControlsOverridesAndStrayBytesBecomeVisible) {
    struct Case {
        const char* what;
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"plain", "Riverside-Home", "Riverside-Home"},
        {"UTF-8 text stays", "Caf\u00e9-\u00dcr\u00fck \u4e2d\u6587 \U0001F600",
         "Caf\u00e9-\u00dcr\u00fck \u4e2d\u6587 \U0001F600"},
        {"backslash stays", "CORP\\dana", "CORP\\dana"},
        {"newline", "Office\nskyvane.adapter: forged", "Office\\nskyvane.adapter: forged"},
        {"carriage return and tab", "a\rb\tc", "a\\rb\\tc"},
        {"other C0 and DEL", std::string("a\x1b[2Jb\x7f"), "a\\x1B[2Jb\\x7F"},
        {"NUL inside", std::string("a\0b", 3), "a\\x00b"},
        {"C1 control (NEL)", "a\u0085b", "a\\u0085b"},
        {"line and paragraph separators", "a\u2028b\u2029c", "a\\u2028b\\u2029c"},
        {"right-to-left override", "invoice\u202Efdp.exe", "invoice\\u202Efdp.exe"},
        {"isolates and pop", "\u2066a\u2067b\u2068c\u2069\u202C", "\\u2066a\\u2067b\\u2068c\\u2069\\u202C"},
        {"bytes that are not UTF-8", "Caf\xe9 \xc0\xaf \xed\xa0\x80", "Caf\\xE9 \\xC0\\xAF \\xED\\xA0\\x80"},
        {"cut sequence at the end", "ab\xe4\xb8", "ab\\xE4\\xB8"},
        {"right-to-left letters are isolated", "\u05e9\u05dc\u05d5\u05dd 1",
         fsi + "\u05e9\u05dc\u05d5\u05dd 1" + pdi},
        {"Arabic with an override inside", "\u0645\u202Ex", fsi + "\u0645\\u202Ex" + pdi},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shownText(c.name), c.shown) << c.what;
        EXPECT_EQ(shownText(c.name).find('\n'), std::string::npos) << c.what;
    }
}

} // namespace
