#include "platform/UserRegistry.h"
#include "support/ScratchDirectory.h"

#include <filesystem>

using namespace platform;
using namespace std::string_literals;

using UserRegistry = ScratchDirectory;

namespace {
const std::string kKey = "Software\\Skyvane\\Configuration Utility";

std::string allBytes(int from) {
    std::string bytes;
    for (int b = from; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}
} // namespace

TEST_F(UserRegistry, ValuesKeepTheirTypesAcrossTheFile) {
    EXPECT_FALSE(RegistryKey::open(kKey, "base")) << "nothing stored yet";
    auto key = RegistryKey::create(kKey, "base");
    ASSERT_TRUE(key);
    key->setText("cSSID", "home \"net\"\\ \n\r\t" + allBytes(1));
    key->setBinary("cCertificateHash", allBytes(0));
    key->setBinary("Empty", "");
    key->setNumber("UICertIndex", 0xfffffffe);
    key->setNumber("uicertindex", 31); // names ignore case: this replaces the value
    ASSERT_TRUE(key->commit());

    const auto back = RegistryKey::open("software\\SKYVANE\\configuration utility", "base");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->value("CSSID"), key->value("cSSID"));
    EXPECT_EQ(back->value("cCertificateHash")->type, RegistryValue::Type::Binary);
    EXPECT_EQ(back->value("cCertificateHash")->data, allBytes(0));
    EXPECT_EQ(back->value("Empty")->data, "");
    EXPECT_EQ(back->value("UICertIndex")->type, RegistryValue::Type::Number);
    EXPECT_EQ(back->value("UICertIndex")->number, 31u);
    EXPECT_FALSE(back->value("missing"));

    const std::string file = "base/registry/Software/Skyvane/Configuration Utility.reg";
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(modeOf("base/registry/Software"), 0700u);
}

TEST_F(UserRegistry, FileFormat) {
    const std::vector<std::pair<std::string, RegistryValue>> values = {
        {"cSSID", {RegistryValue::Type::Text, "a\"b\\c\x01", 0}},
        {"Bin", {RegistryValue::Type::Binary, "\x0a\x0b", 0}},
        {"N", {RegistryValue::Type::Number, "", 31}},
    };
    const std::string text = RegistryKey::format("Software\\X", values);
    EXPECT_EQ(text, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\X]\n"
                    "\"cSSID\"=\"a\\\"b\\\\c\\x01\"\n\"Bin\"=hex:0a,0b\n\"N\"=dword:0000001f\n");
    EXPECT_EQ(RegistryKey::parse(text), values);
    EXPECT_EQ(RegistryKey::parse("REGEDIT4\r\n; note\r\n\"A\"=\"x\"\r\n")->at(0).second.data, "x");
}

TEST_F(UserRegistry, CorruptFilesReadAsAMissingKey) {
    const std::string corrupt[] = {
        "\"A\"=\"unterminated\n",
        "\"A\"=dword:123\n",
        "\"A\"=hex:0g\n",
        "\"A\"=hex:01,\n",
        "\"A\"=\"bad escape \\q\"\n",
        "\"A\"=\"x\" trailing\n",
        "A=\"no quotes on the name\"\n",
        "\x7f"
        "ELF\0\0\xff"s,
    };
    for (const std::string& text : corrupt) {
        EXPECT_FALSE(RegistryKey::parse(text)) << text;
    }
    std::filesystem::create_directories("base/registry/Software");
    writeFile("base/registry/Software/Key.reg", "garbage\n");
    EXPECT_FALSE(RegistryKey::open("Software\\Key", "base"));
    auto fresh = RegistryKey::create("Software\\Key", "base");
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(fresh->value("garbage"));
    fresh->setText("A", "1");
    ASSERT_TRUE(fresh->commit());
    EXPECT_EQ(RegistryKey::open("Software\\Key", "base")->value("A")->data, "1");
}

TEST_F(UserRegistry, KeyPathsThatNameNoKeyAreRefused) {
    for (const char* path :
         {"", "Software\\", "\\Software", "Software\\..\\x", "Soft/ware", "Software\\.\\x"}) {
        EXPECT_FALSE(RegistryKey::create(path, "base")) << path;
    }
    EXPECT_FALSE(RegistryKey::create("Software", ""));
}

TEST_F(UserRegistry, DefaultDirectoryFollowsTheEnvironment) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/somewhere", 1);
    EXPECT_EQ(defaultConfigDirectory(), "/somewhere/skyvane");
    ::unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        EXPECT_EQ(defaultConfigDirectory(), std::string(home) + "/.config/skyvane");
    }
    if (saved) {
        ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    }
}
