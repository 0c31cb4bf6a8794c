// How the program chooses and makes its adapter backend: the command line over the settings
// file over the defaults, the country the user chose, and the certificate files the supplicant
// is given for a profile's certificates.
#include "shell/Backends.h"
#include "adapter/AdapterBackend.h"
#include "adapter/WpaNetworkBlock.h"
#include "platform/Diagnostics.h"
#include "platform/OpenSslCertificateStore.h"
#include "shell/CommandLine.h"
#include "storage/AppSettings.h"
#include "support/CertificateStoreFixture.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include <sys/stat.h>

namespace {

using Backend = CommandLineOptions::Backend;

class BackendChoiceTest : public ScratchDirectory {
protected:
    std::string here() const {
        char* cwd = ::getcwd(nullptr, 0);
        std::string path = cwd;
        std::free(cwd);
        return path;
    }
};

TEST_F(BackendChoiceTest, TheCommandLineOverTheSettingsFileOverTheDefaults) {
    struct Case {
        const char* label;
        Backend backend;
        bool backendGiven;
        const char* interfaceName;
        const char* controlDirectory;
        const char* settings; // lines of section Setini
        const char* name;
        const char* chosenInterface;
        const char* chosenDirectory; // "@" stands for the working folder
        const char* note;            // a part of the one note expected; nullptr: none
    };
    const Case cases[] = {
        {"nothing anywhere", Backend::Driver, false, "", "", "", "driver", "", "/run/wpa_supplicant",
         nullptr},
        {"the settings choose wpa with its keys", Backend::Driver, false, "", "",
         "Backend=wpa\nWpaInterface=wlp2s0\nWpaControlDir=/var/run/wpa", "wpa", "wlp2s0", "/var/run/wpa",
         nullptr},
        {"the command line's backend wins", Backend::Driver, true, "", "", "Backend=wpa\nWpaInterface=wlp2s0",
         "driver", "", "/run/wpa_supplicant", nullptr},
        {"the command line's wpa takes the settings' interface", Backend::Wpa, true, "", "",
         "Backend=driver\nWpaInterface=wlan1", "wpa", "wlan1", "/run/wpa_supplicant", nullptr},
        {"the command line's interface and folder win", Backend::Wpa, true, "wlan0", "/srv/ctrl",
         "WpaInterface=wlan1\nWpaControlDir=/elsewhere", "wpa", "wlan0", "/srv/ctrl", nullptr},
        {"a relative folder of the settings is in the working folder", Backend::Wpa, true, "", "",
         "WpaControlDir=sockets/../ctrl", "wpa", "", "@/ctrl", nullptr},
        {"an unknown backend in the settings", Backend::Driver, false, "", "", "Backend=ndis", "driver", "",
         "/run/wpa_supplicant", "unknown backend \"ndis\""},
        {"a path for an interface", Backend::Driver, false, "", "", "Backend=wpa\nWpaInterface=../../etc",
         "wpa", "", "/run/wpa_supplicant", "is not an interface name"},
        {"an interface name too long", Backend::Wpa, true, "", "", "WpaInterface=wlan0123456789abc", "wpa",
         "", "/run/wpa_supplicant", "is not an interface name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        writeFile("a.cba", std::string("[Setini]\nCountryDomain=3\n") + c.settings + "\n");
        CommandLineOptions options;
        options.backend = c.backend;
        options.backendGiven = c.backendGiven;
        options.interfaceName = c.interfaceName;
        options.controlDirectory = c.controlDirectory;
        const BackendChoice choice = chooseBackend(options, AppSettings(".\\a.cba"));
        EXPECT_EQ(choice.name, c.name);
        EXPECT_EQ(choice.interfaceName, c.chosenInterface);
        std::string directory = c.chosenDirectory;
        if (directory.front() == '@') {
            directory = here() + directory.substr(1);
        }
        EXPECT_EQ(choice.controlDirectory, directory);
        if (c.note == nullptr) {
            EXPECT_TRUE(choice.notes.empty()) << choice.notes.front();
        } else {
            ASSERT_EQ(choice.notes.size(), 1u);
            EXPECT_NE(choice.notes.front().find(c.note), std::string::npos) << choice.notes.front();
        }
    }
}

TEST(InterfaceName, WhatAKernelCouldCallAnInterface) {
    for (const char* good : {"lo", "wlan0", "wlp3s0", "wlx00c0ca123456", "br-lan.10", "a"}) {
        EXPECT_TRUE(isInterfaceName(good)) << good;
    }
    for (const char* bad : {"", ".", "..", "../x", "wlan 0", "wlan0:1", "sixteen-chars-xx", "tab\there"}) {
        EXPECT_FALSE(isInterfaceName(bad)) << bad;
    }
}

TEST_F(BackendChoiceTest, TheChosenCountryAsTheSettingsFileKeepsIt) {
    const struct {
        const char* settings;
        int plan;
        const char* isoCode;
    } cases[] = {
        {"CountryDomain=99\nCountry=DE", 0, ""}, // still to be asked
        {"", 0, ""},
        {"CountryDomain=2\nCountry=DE", 2, "DE"},
        {"CountryDomain=2\nCountry=", 2, ""}, // a region: no nation
        {"CountryDomain=3", 3, ""},           // chosen before the country was kept
        {"CountryDomain=7\nCountry=jp", 7, ""},
        {"CountryDomain=2\nCountry=DEU", 2, ""},
        {"CountryDomain=2\nCountry=D1", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        writeFile("a.cba", std::string("[Setini]\n") + c.settings + "\n");
        const ChosenCountry chosen = chosenCountry(AppSettings(".\\a.cba"));
        EXPECT_EQ(chosen.channelPlan, c.plan);
        EXPECT_EQ(chosen.isoCode, c.isoCode);
    }
}

TEST_F(BackendChoiceTest, EachNameMakesItsBackend) {
    std::string error;
    BackendChoice wpa;
    wpa.name = wpaBackendName;
    wpa.interfaceName = "wlan5";
    const auto made = makeBackend(wpa, BackendServices{}, error);
    ASSERT_NE(made, nullptr) << error;
    EXPECT_EQ(made->name(), "wpa_supplicant wlan5");

    BackendChoice unknown;
    unknown.name = "ndis";
    EXPECT_EQ(makeBackend(unknown, BackendServices{}, error), nullptr);
    EXPECT_NE(error.find("unknown backend \"ndis\""), std::string::npos) << error;
}

// The supplicant is given absolute file names: it does not run in the program's folder.
class CertificateLookupTest : public CertificateStoreFixture {
protected:
    void SetUp() override {
        CertificateStoreFixture::SetUp();
        layOutPersonalFolder();
        layOutSystemTrust();
        // The fixture's store holds files it skips on purpose: only the lookup's own lines count.
        diag::setSink([this](diag::Level level, std::string_view category, std::string_view message) {
            const std::lock_guard<std::mutex> guard(m_linesMutex);
            if (category == diag::adapterCategory && level != diag::Level::Debug &&
                level != diag::Level::Info) {
                warnings.emplace_back(message);
            }
        });
    }
    void TearDown() override {
        diag::setSink({});
        CertificateStoreFixture::TearDown();
    }

    static ino_t inodeOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_ino;
    }

    std::vector<std::string> warnings;

private:
    std::mutex m_linesMutex;
};

TEST_F(CertificateLookupTest, PersonalCertificatesAreTheirOwnFiles) {
    OpenSslCertificateStore store;
    const wpa::CertificateLookup lookup = certificateLookup(store, root);
    ASSERT_TRUE(waitForReading(store));
    const struct {
        const char* label;
        std::string identifier;
        bool known;
        std::string certificate;
        std::string privateKey;
        bool warned;
    } cases[] = {
        {"key in its file", certs().jdoe.identifier, true, personal + "/jdoe.pem", personal + "/jdoe.pem",
         false},
        {"key beside it", certs().mailOnly.identifier, true, personal + "/mailonly.crt",
         personal + "/mailonly.key", false},
        {"PKCS#12: the private key alone", certs().pat.identifier, true, "", personal + "/pat.pfx", false},
        {"an encrypted key: handed over, with a warning", certs().secret.identifier, true,
         personal + "/secret.pem", personal + "/secret.pem", true},
        {"no key anywhere", certs().lonely.identifier, false, "", "", false},
        {"an authority is no personal certificate", certs().corpRoot.identifier, false, "", "", false},
        {"not an identifier", "../../etc/passwd", false, "", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        warnings.clear();
        const auto files = lookup.clientCertificate(c.identifier);
        ASSERT_EQ(files.has_value(), c.known);
        if (files) {
            EXPECT_EQ(files->certificate, c.certificate);
            EXPECT_EQ(files->privateKey, c.privateKey);
            EXPECT_EQ(files->privateKeyPassword, "");
        }
        EXPECT_EQ(!warnings.empty(), c.warned);
    }
}

TEST_F(CertificateLookupTest, AnAuthorityIsCopiedForTheSupplicantOwnerOnlyAndOnlyWhenChanged) {
    OpenSslCertificateStore store;
    const wpa::CertificateLookup lookup = certificateLookup(store, root);
    ASSERT_TRUE(waitForReading(store));
    const std::string identifier = certs().corpRoot.identifier;
    const std::string expected = root + "/supplicant/authority-" + identifier + ".pem";

    const auto file = lookup.authorityFile(identifier);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(*file, expected);
    EXPECT_EQ(readFile(expected), store.pemFor(identifier).value());
    EXPECT_EQ(modeOf(expected), 0600u);
    EXPECT_EQ(modeOf(root + "/supplicant"), 0700u);

    const ino_t first = inodeOf(expected);
    EXPECT_EQ(lookup.authorityFile(identifier), expected);
    EXPECT_EQ(inodeOf(expected), first) << "an unchanged copy is left as it is";

    writeFile(expected, "spoiled\n");
    EXPECT_EQ(lookup.authorityFile(identifier), expected);
    EXPECT_EQ(readFile(expected), store.pemFor(identifier).value());

    // A system authority is copied as well; an unknown one gives no file.
    EXPECT_TRUE(lookup.authorityFile(certs().otherRoot.identifier).has_value());
    EXPECT_FALSE(lookup.authorityFile(std::string(40, 'A')).has_value());
    EXPECT_FALSE(exists(root + "/supplicant/authority-" + std::string(40, 'A') + ".pem"));
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST_F(CertificateLookupTest, AFolderThatCannotBeMadeGivesNoFileAndSaysWhy) {
    OpenSslCertificateStore store;
    writeFile(root + "/blocked", "a file where the folder would be");
    const wpa::CertificateLookup lookup = certificateLookup(store, root + "/blocked");
    ASSERT_TRUE(waitForReading(store));
    EXPECT_FALSE(lookup.authorityFile(certs().corpRoot.identifier).has_value());
    ASSERT_FALSE(warnings.empty());
    EXPECT_NE(warnings.front().find("blocked/supplicant"), std::string::npos) << warnings.front();
}

} // namespace
