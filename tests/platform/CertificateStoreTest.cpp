// The certificate stores over OpenSSL: what the personal folder and the trust stores list, which
// certificates carry a key, what the supplicant gets, and what an import copies where.
#include "platform/Diagnostics.h"
#include "platform/OpenSslCertificateStore.h"
#include "support/CertificateStoreFixture.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// notBefore of a certificate made `days` ago, as the C locale writes a date (TZ is UTC here).
std::string dateDaysAgo(int days) {
    const std::time_t when = std::time(nullptr) - std::time_t(days) * 86400;
    std::tm utc{};
    ::gmtime_r(&when, &utc);
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", utc.tm_mon + 1, utc.tm_mday, utc.tm_year % 100);
    return text;
}

std::string issued(const std::string& name, int daysAgo = 1) {
    return name + "   [Issued: " + dateDaysAgo(daysAgo) + "]";
}

class CertificateStoreTest : public CertificateStoreFixture {
protected:
    struct Listing {
        bool ok;
        std::vector<std::string> texts;
        std::vector<std::string> identifiers;
    };
    static Listing list(CertificateStore& store, CertificateKind kind) {
        Listing listing;
        listing.ok = store.Enumerate(kind, listing.texts, listing.identifiers);
        return listing;
    }
    static std::string listed(const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names) {
            text += name + "\n";
        }
        return text;
    }
};

TEST_F(CertificateStoreTest, PersonalFolderInNameOrder) {
    layOutPersonalFolder();
    OpenSslCertificateStore store;
    const Listing listing = list(store, CertificateKind::Personal);
    ASSERT_TRUE(listing.ok);
    const auto& c = certs();
    // The unparseable garbage.pem and the hidden file being written are not listed.
    const std::pair<std::string, std::string> expected[] = {
        {issued("Old Timer", 400), c.expired.identifier},
        {issued("John Doe"), c.jdoe.identifier},
        {"locked.p12   [Password protected]", ""},
        {issued("Lonely"), c.lonely.identifier},
        {issued("Mail Only"), c.mailOnly.identifier},
        {issued("Pat's Laptop"), c.pat.identifier}, // the PKCS#12 friendly name
        {issued("Eve Crypt"), c.secret.identifier},
        {issued("Subject Mail"), c.subjectMail.identifier},
        {issued("Wrong Key"), c.wrongKey.identifier},
    };
    ASSERT_EQ(listing.texts.size(), std::size(expected)) << listed(listing.texts);
    ASSERT_EQ(listing.identifiers.size(), listing.texts.size());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(listing.texts[i], expected[i].first);
        EXPECT_EQ(listing.identifiers[i], expected[i].second) << expected[i].first;
    }
}

TEST_F(CertificateStoreTest, SelectFindsOnlyCertificatesThatCarryAKey) {
    layOutPersonalFolder();
    OpenSslCertificateStore store;
    const auto& c = certs();
    struct Case {
        std::string identifier;
        bool found;
        const char* why;
    };
    const Case cases[] = {
        {c.jdoe.identifier, true, "key in the same file"},
        {c.mailOnly.identifier, true, "key in the .key file of the same name"},
        {c.subjectMail.identifier, true, "key before the certificate"},
        {c.secret.identifier, true, "an encrypted key counts"},
        {c.pat.identifier, true, "PKCS#12 without password"},
        {c.expired.identifier, true, "expired, but with its key"},
        {c.lonely.identifier, false, "no key at all"},
        {c.wrongKey.identifier, false, "the .key file holds another certificate's key"},
        {c.maker.authority().identifier, false, "not in the personal store"},
        {"", false, "empty identifier (the locked PKCS#12)"},
        {"XYZ", false, "not an identifier"},
    };
    for (const Case& test : cases) {
        OpenSslCertificateStore fresh;
        EXPECT_EQ(fresh.Select(test.identifier), test.found) << test.why;
        EXPECT_EQ(fresh.current() != nullptr, test.found) << test.why;
    }
    // Either case of the identifier finds it.
    std::string lower = c.jdoe.identifier;
    for (char& ch : lower) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    EXPECT_TRUE(store.Select(lower));
    // A failed lookup keeps the certificate found before.
    ASSERT_TRUE(store.Select(c.jdoe.identifier));
    EXPECT_FALSE(store.Select(c.lonely.identifier));
    ASSERT_NE(store.current(), nullptr);
    EXPECT_EQ(store.current()->commonName, "John Doe");
}

TEST_F(CertificateStoreTest, DomainAndLoginOfTheChosenCertificate) {
    layOutPersonalFolder();
    OpenSslCertificateStore store;
    EXPECT_EQ(store.DomainName(), "");
    EXPECT_EQ(store.LoginName(), "");
    const auto& c = certs();
    struct Case {
        std::string identifier;
        const char* domain;
        const char* login;
    };
    const Case cases[] = {
        {c.jdoe.identifier, "example.com", "jdoe"},      // principal name, three labels
        {c.mailOnly.identifier, "", "Mail Only"},        // e-mail name with two at signs
        {c.subjectMail.identifier, "example.com", "sm"}, // e-mail name from the subject
        {c.pat.identifier, "example.com", "pat"},        // from a PKCS#12 file
        {c.lonely.identifier, "example.com", "pat"},     // no key: the previous one stays
    };
    for (const Case& test : cases) {
        store.Select(test.identifier);
        EXPECT_EQ(store.DomainName(), test.domain) << test.identifier;
        EXPECT_EQ(store.LoginName(), test.login) << test.identifier;
    }
}

TEST_F(CertificateStoreTest, ChangesInTheFolderCountAtOnce) {
    layOutPersonalFolder();
    OpenSslCertificateStore store;
    const auto& c = certs();
    ASSERT_TRUE(store.Select(c.jdoe.identifier));
    ASSERT_FALSE(store.Select(c.wrongKey.identifier));
    // The right key arrives beside a certificate; another file loses its key; one goes away.
    write(personal + "/wrongkey.key", c.wrongKey.keyPem);
    write(personal + "/jdoe.pem", c.jdoe.certificatePem);
    ASSERT_EQ(std::remove((personal + "/mailonly.crt").c_str()), 0);
    EXPECT_TRUE(store.Select(c.wrongKey.identifier));
    EXPECT_FALSE(store.Select(c.jdoe.identifier));
    EXPECT_FALSE(store.Select(c.mailOnly.identifier));
    const Listing listing = list(store, CertificateKind::Personal);
    EXPECT_EQ(std::count(listing.identifiers.begin(), listing.identifiers.end(), c.mailOnly.identifier), 0);
    EXPECT_EQ(listing.identifiers.size(), 8u);
}

TEST_F(CertificateStoreTest, MissingPersonalFolderIsCreatedOwnerOnly) {
    OpenSslCertificateStore store;
    const Listing listing = list(store, CertificateKind::Personal);
    EXPECT_TRUE(listing.ok);
    EXPECT_THAT(listing.texts, IsEmpty());
    ASSERT_TRUE(exists(personal));
    EXPECT_EQ(modeOf(personal), 0700u);
}

TEST_F(CertificateStoreTest, PersonalStoreThatCantBeOpenedLeavesTheListsAlone) {
    write(root + "/data", "a file where the folder should be");
    OpenSslCertificateStore store;
    std::vector<std::string> texts{"kept"};
    std::vector<std::string> identifiers{"00"};
    EXPECT_FALSE(store.Enumerate(CertificateKind::Personal, texts, identifiers));
    EXPECT_THAT(texts, ElementsAreArray({"kept"}));
    EXPECT_THAT(identifiers, ElementsAreArray({"00"}));
    EXPECT_FALSE(store.Select(certs().jdoe.identifier));
}

TEST_F(CertificateStoreTest, UnreadableFilesAreSkippedNeverFatal) {
    const auto& c = certs();
    makeFolder(personal);
    write(personal + "/a-empty.pem", "");
    write(personal + "/b-random.der", std::string("\x30\x82\xff\xff\x00\x01garbage", 12));
    write(personal + "/c-truncated.pem", c.jdoe.certificatePem.substr(0, c.jdoe.certificatePem.size() / 2));
    write(personal + "/d-text.txt", "nothing to see\n");
    write(personal + "/e-huge.pem", std::string(5 * 1024 * 1024, 'A'));
    makeFolder(personal + "/f-folder.pem");
    // A damaged block does not hide the good one after it.
    write(personal + "/g-good.pem", "-----BEGIN CERTIFICATE-----\n!!!!\n-----END CERTIFICATE-----\n" +
                                        c.jdoe.certificatePem + c.jdoe.keyPem);
    std::vector<std::string> reported;
    diag::setSink(
        [&](diag::Level, std::string_view, std::string_view message) { reported.emplace_back(message); });
    OpenSslCertificateStore store;
    const Listing listing = list(store, CertificateKind::Personal);
    EXPECT_TRUE(listing.ok);
    EXPECT_THAT(listing.identifiers, ElementsAreArray({c.jdoe.identifier}));
    EXPECT_TRUE(store.Select(c.jdoe.identifier));
    list(store, CertificateKind::Personal);
    diag::setSink({});
    // Each file is reported, once, however often the folder is read, with the real reason.
    const std::pair<const char*, const char*> reasons[] = {
        {"a-empty.pem", "no certificate could be read from it"},
        {"b-random.der", "no certificate could be read from it"},
        {"c-truncated.pem", "no certificate could be read from it"},
        {"d-text.txt", "no certificate could be read from it"},
        {"e-huge.pem", "it is larger than 4 MiB, more than any certificate file"},
    };
    ASSERT_EQ(reported.size(), std::size(reasons)) << listed(reported);
    for (std::size_t i = 0; i < std::size(reasons); ++i) {
        EXPECT_THAT(reported[i],
                    HasSubstr(personal + "/" + reasons[i].first + ": " + reasons[i].second + "; skipped"));
    }
}

TEST_F(CertificateStoreTest, AuthoritiesFromTheSystemThenTheUsersFolder) {
    layOutSystemTrust();
    std::vector<std::string> reported;
    diag::setSink(
        [&](diag::Level, std::string_view, std::string_view message) { reported.emplace_back(message); });
    OpenSslCertificateStore store;
    const Listing listing = list(store, CertificateKind::Authority);
    diag::setSink({});
    ASSERT_TRUE(listing.ok);
    // A file of certificates listed already is no unreadable file.
    ASSERT_EQ(reported.size(), 1u) << listed(reported);
    EXPECT_THAT(reported[0], HasSubstr("/notes.txt: no certificate could be read"));
    const auto& c = certs();
    // The bundle, then the hashed directories (the root already in the bundle once; names
    // OpenSSL never looks up not at all), then the user's folder with its alias.
    EXPECT_THAT(listing.texts,
                ElementsAreArray({"Skyvane Test Root CA", "Other Root", "Orgless Trust Services", "Dir Root",
                                  "Second Dir Root", "Corp Issuing CA"}));
    EXPECT_THAT(listing.identifiers, ElementsAreArray({c.maker.authority().identifier, c.otherRoot.identifier,
                                                       c.orgOnlyRoot.identifier, c.dirRoot.identifier,
                                                       c.secondDirRoot.identifier, c.corpRoot.identifier}));
}

TEST_F(CertificateStoreTest, NoTrustStoreAtAllGivesAnEmptyList) {
    OpenSslCertificateStore store;
    const Listing listing = list(store, CertificateKind::Authority);
    EXPECT_TRUE(listing.ok);
    EXPECT_THAT(listing.texts, IsEmpty());
}

TEST_F(CertificateStoreTest, FilesForTheSupplicant) {
    layOutPersonalFolder();
    OpenSslCertificateStore store;
    const auto& c = certs();
    // The lookups never read a file: before the store has read its folder they know nothing.
    EXPECT_FALSE(store.filesFor(c.jdoe.identifier).has_value());
    list(store, CertificateKind::Personal);
    struct Case {
        std::string identifier;
        std::optional<CertificateFiles> files;
    };
    const Case cases[] = {
        {c.jdoe.identifier, CertificateFiles{personal + "/jdoe.pem", personal + "/jdoe.pem", false, false}},
        {c.mailOnly.identifier,
         CertificateFiles{personal + "/mailonly.crt", personal + "/mailonly.key", false, false}},
        {c.secret.identifier,
         CertificateFiles{personal + "/secret.pem", personal + "/secret.pem", false, true}},
        {c.pat.identifier, CertificateFiles{personal + "/pat.pfx", personal + "/pat.pfx", true, false}},
        {c.lonely.identifier, std::nullopt},
        {c.wrongKey.identifier, std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& test : cases) {
        const auto files = store.filesFor(test.identifier);
        ASSERT_EQ(files.has_value(), test.files.has_value()) << test.identifier;
        if (files) {
            EXPECT_EQ(files->certificateFile, test.files->certificateFile);
            EXPECT_EQ(files->privateKeyFile, test.files->privateKeyFile);
            EXPECT_EQ(files->pkcs12, test.files->pkcs12) << files->certificateFile;
            EXPECT_EQ(files->keyEncrypted, test.files->keyEncrypted) << files->certificateFile;
        }
    }
}

TEST_F(CertificateStoreTest, PemOfAnAuthority) {
    layOutSystemTrust();
    OpenSslCertificateStore store;
    const auto& c = certs();
    EXPECT_EQ(store.pemFor(c.dirRoot.identifier), std::nullopt) << "nothing read yet";
    list(store, CertificateKind::Authority);
    // Also the user's own authority, whose file says "TRUSTED CERTIFICATE": the supplicant gets
    // the plain form.
    for (const TestCertificate* authority : {&c.maker.authority(), &c.dirRoot, &c.corpRoot}) {
        const auto pem = store.pemFor(authority->identifier);
        ASSERT_TRUE(pem.has_value()) << authority->identifier;
        EXPECT_EQ(*pem, authority->certificatePem);
    }
    EXPECT_EQ(store.pemFor(c.jdoe.identifier), std::nullopt) << "a personal certificate is no authority";
    EXPECT_EQ(store.pemFor(""), std::nullopt);
}

TEST_F(CertificateStoreTest, FoldersOfTheUser) {
    struct Case {
        const char* xdgDataHome; // nullptr: unset
        const char* home;
        std::string personal;
    };
    const Case cases[] = {
        {"/srv/data", "/home/u", "/srv/data/skyvane/certificates"},
        {"relative/data", "/home/u", "/home/u/.local/share/skyvane/certificates"},
        {"", "/home/u", "/home/u/.local/share/skyvane/certificates"},
        {nullptr, "/home/u", "/home/u/.local/share/skyvane/certificates"},
        // as for the working folder, the account's home from the password file
        {nullptr, nullptr,
         std::string(::getpwuid(::getuid())->pw_dir) + "/.local/share/skyvane/certificates"},
    };
    const std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    for (const Case& test : cases) {
        test.xdgDataHome != nullptr ? ::setenv("XDG_DATA_HOME", test.xdgDataHome, 1)
                                    : ::unsetenv("XDG_DATA_HOME");
        test.home != nullptr ? ::setenv("HOME", test.home, 1) : ::unsetenv("HOME");
        const CertificateFolders folders = CertificateFolders::forUser();
        EXPECT_EQ(folders.personal, test.personal);
        const std::string expectedAuthorities =
            test.personal.substr(0, test.personal.rfind('/')) + "/authorities";
        EXPECT_EQ(folders.authorities, expectedAuthorities);
    }
    ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
