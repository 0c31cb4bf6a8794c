#include "storage/RegistryMirror.h"
#include "platform/UserRegistry.h"
#include "support/ScratchDirectory.h"

#include <cstring>
#include <filesystem>

using platform::RegistryKey;

class RegistryMirrorTest : public ScratchDirectory {
protected:
    static constexpr const char* base = "config";

    // A record whose every byte is 0x5a, to see which fields a load leaves alone.
    static StationConfig marked() {
        StationConfig record;
        std::memset(&record, 0x5a, sizeof record);
        return record;
    }
    static void storeRaw(const std::function<void(RegistryKey&)>& fill) {
        auto key = RegistryKey::create(registryKeyPath, base);
        ASSERT_TRUE(key);
        fill(*key);
        ASSERT_TRUE(key->commit());
    }
};

TEST_F(RegistryMirrorTest, FreshSystemHasNoMirror) {
    StationConfig record = marked();
    const StationConfig before = record;
    EXPECT_EQ(LoadMirror(registryKeyPath, record, base), 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);

    writeFile("broken", "");
    std::filesystem::create_directories("config/registry/Software/Skyvane");
    writeFile("config/registry/Software/Skyvane/Configuration Utility.reg", "garbage\n");
    EXPECT_EQ(LoadMirror(registryKeyPath, record, base), 0) << "a corrupt key reads as missing";
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
}

TEST_F(RegistryMirrorTest, EverythingWrittenComesBack) {
    StationConfig written{};
    copyText(written.cSSID, std::string(32, 's').c_str());
    written.NetworkType = 2;
    written.Channel = 26;
    written.PowerSaveMode = 1;
    written.PreambleMode = 2;
    written.TxRate = 18;
    written.TxRateAuto = 0;
    written.AuthenticationMode = 7;
    written.EncryptionMode = 3;
    written.SecurityIndex = -4;
    written.EncryptionIndex = 9;
    written.iDefaultWEPKeyID = 3;
    written.iKeyFormat = 0;
    written.iKeyLength = 1;
    for (int i = 0; i < 4; ++i) {
        copyText(written.wepKeyValue(i), std::string(256, static_cast<char>('a' + i)).c_str());
        copyText(written.uiWepKey(i), std::string(239, static_cast<char>('A' + i)).c_str());
    }
    copyText(written.cWPAPassPhase, std::string(64, 'f').c_str());
    copyText(written.cLoginName, ("user \"x\"\\\n" + std::string(240, 'u')).c_str());
    copyText(written.cCertificateName, std::string(254, 'n').c_str());
    copyText(written.cCertificateHash, "0A1B2C3D");
    written.UICertIndex = -1;
    ASSERT_EQ(StoreMirror(registryKeyPath, written, base), 1);

    StationConfig loaded{};
    ASSERT_EQ(LoadMirror(registryKeyPath, loaded, base), 1);
    StationConfig expected = written;
    EXPECT_EQ(std::memcmp(&loaded, &expected, sizeof loaded), 0);
    EXPECT_EQ(modeOf("config/registry/Software/Skyvane/Configuration Utility.reg"), 0600u);

    // Fields the mirror does not keep are left as the caller had them.
    StationConfig other = marked();
    ASSERT_EQ(LoadMirror(registryKeyPath, other, base), 1);
    EXPECT_EQ(other.iWEPKeyBits, 0x5a5a5a5a);
    EXPECT_EQ(other.RTSThreshold, 0x5a5a5a5a);
    EXPECT_EQ(other.cDomainName[0], 0x5a);
    EXPECT_STREQ(other.cSSID, written.cSSID);
}

TEST_F(RegistryMirrorTest, DefaultsAndConversionsOnLoad) {
    struct Case {
        const char* name;
        std::string stored; // empty: the default applies
        std::function<void(StationConfig&)> check;
    };
    const Case cases[] = {
        {"Channel", "0", [](StationConfig& r) { EXPECT_EQ(r.Channel, 10); }},
        {"Channel", "28", [](StationConfig& r) { EXPECT_EQ(r.Channel, 10); }},
        {"Channel", "1", [](StationConfig& r) { EXPECT_EQ(r.Channel, 0); }},
        {"Channel", "", [](StationConfig& r) { EXPECT_EQ(r.Channel, 5); }},
        {"Channel", "abc", [](StationConfig& r) { EXPECT_EQ(r.Channel, 5); }},
        {"NetworkType", "5", [](StationConfig& r) { EXPECT_EQ(r.NetworkType, 0x5a5a5a5a); }},
        {"NetworkType", "", [](StationConfig& r) { EXPECT_EQ(r.NetworkType, 1); }},
        {"PowerSaveMode", "3", [](StationConfig& r) { EXPECT_EQ(r.PowerSaveMode, 0x5a5a5a5a); }},
        {"PreambleMode", "", [](StationConfig& r) { EXPECT_EQ(r.PreambleMode, 1); }},
        {"AuthenticationMode", "8", [](StationConfig& r) { EXPECT_EQ(r.AuthenticationMode, 2); }},
        {"EncryptionMode", "4", [](StationConfig& r) { EXPECT_EQ(r.EncryptionMode, 0); }},
        {"TxRate", "13", [](StationConfig& r) { EXPECT_EQ(r.TxRate, 0); }},
        {"TxRateAuto", "", [](StationConfig& r) { EXPECT_EQ(r.TxRateAuto, 1); }},
        {"iKeyFormat", "", [](StationConfig& r) { EXPECT_EQ(r.iKeyFormat, 1); }},
        {"cSSID", "", [](StationConfig& r) { EXPECT_STREQ(r.cSSID, "default"); }},
        {"cSSID", std::string(40, 'x'),
         [](StationConfig& r) { EXPECT_EQ(std::string(r.cSSID), std::string(32, 'x')); }},
        {"cWPAPassPhase", std::string(67, 'p'),
         [](StationConfig& r) { EXPECT_EQ(std::string(r.cWPAPassPhase), std::string(64, 'p')); }},
        {"cCertificateHash", "", [](StationConfig& r) { EXPECT_EQ(r.cCertificateHash[0], 0x5a); }},
    };
    for (const Case& c : cases) {
        // An empty text value counts as missing.
        storeRaw([&](RegistryKey& key) { key.setText(c.name, c.stored); });
        StationConfig record = marked();
        ASSERT_EQ(LoadMirror(registryKeyPath, record, base), 1);
        SCOPED_TRACE(std::string(c.name) + "=" + c.stored);
        c.check(record);
        std::filesystem::remove_all("config");
    }
}

TEST_F(RegistryMirrorTest, NumbersStoredAsDwordReadAsWell) {
    storeRaw([](RegistryKey& key) {
        key.setNumber("NetworkType", 0);
        key.setNumber("Channel", 11);
        key.setNumber("SecurityIndex", static_cast<uint32_t>(-2));
        key.setText("UICertIndex", "7");
        key.setBinary("TxRate", "\x05");
        key.setNumber("cLoginName", 5);
        std::string hash(255, 'h');
        key.setBinary("cCertificateHash", hash);
    });
    StationConfig record = marked();
    ASSERT_EQ(LoadMirror(registryKeyPath, record, base), 1);
    EXPECT_EQ(record.NetworkType, 0);
    EXPECT_EQ(record.Channel, 10);
    EXPECT_EQ(record.SecurityIndex, -2);
    EXPECT_EQ(record.UICertIndex, 7);
    EXPECT_EQ(record.TxRate, 0) << "binary where a number is expected counts as missing";
    EXPECT_STREQ(record.cLoginName, "");
    EXPECT_EQ(std::string(record.cCertificateHash), std::string(254, 'h')) << "always terminated";
}

TEST_F(RegistryMirrorTest, DefaultLocationFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    char* cwd = ::getcwd(nullptr, 0);
    ::setenv("XDG_CONFIG_HOME", (std::string(cwd) + "/xdg").c_str(), 1);
    std::free(cwd);
    StationConfig record{};
    copyText(record.cSSID, "net");
    ASSERT_EQ(StoreMirror(registryKeyPath, record), 1);
    EXPECT_TRUE(exists("xdg/skyvane/registry/Software/Skyvane/Configuration Utility.reg"));
    StationConfig loaded{};
    EXPECT_EQ(LoadMirror(registryKeyPath, loaded), 1);
    EXPECT_STREQ(loaded.cSSID, "net");
    saved ? (void)::setenv("XDG_CONFIG_HOME", keep.c_str(), 1) : (void)::unsetenv("XDG_CONFIG_HOME");
}
