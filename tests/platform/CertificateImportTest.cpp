// Importing a certificate file: what lands in which folder, under which name, with which key,
// and what the user is told when a file can't be taken.
#include "platform/Diagnostics.h"
#include "platform/OpenSslCertificateStore.h"
#include "support/CertificateStoreFixture.h"
#include "support/StrictPermissions.h"

#include <gmock/gmock.h>

#include <dirent.h>
#include <functional>
#include <sys/stat.h>

namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class CertificateImportTest : public CertificateStoreFixture {
protected:
    // The names in a folder, hidden ones included, sorted.
    static std::vector<std::string> namesIn(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* stream = ::opendir(folder.c_str())) {
            while (const dirent* entry = ::readdir(stream)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") {
                    names.push_back(name);
                }
            }
            ::closedir(stream);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::string> texts(CertificateStore& store, CertificateKind kind) {
        std::vector<std::string> texts;
        std::vector<std::string> identifiers;
        store.Enumerate(kind, texts, identifiers);
        return texts;
    }
};

TEST_F(CertificateImportTest, WhatLandsWhere) {
    const auto& c = certs();
    using Files = std::vector<std::pair<std::string, std::string>>; // name, content
    struct Case {
        const char* what;
        CertificateKind kind;
        Files source; // the first is the file chosen
        bool imported;
        Files stored;                    // in the kind's folder afterwards
        const char* message;             // part of it; "" for none
        const TestCertificate* selected; // identifier of the outcome
        bool selectable;
    };
    const auto personalKind = CertificateKind::Personal;
    const auto authorityKind = CertificateKind::Authority;
    const std::string p12 = TestCertificates::pkcs12(c.pat, "Pat's Laptop", "");
    const Case cases[] = {
        {"PEM with its key",
         personalKind,
         {{"jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem}},
         true,
         {{"jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem}},
         "",
         &c.jdoe,
         true},
        {"PEM with its .key beside it",
         personalKind,
         {{"mail.crt", c.mailOnly.certificatePem}, {"mail.key", c.mailOnly.keyPem}},
         true,
         {{"mail.crt", c.mailOnly.certificatePem}, {"mail.key", c.mailOnly.keyPem}},
         "",
         &c.mailOnly,
         true},
        {"a .key beside it that belongs to another",
         personalKind,
         {{"wrong.pem", c.wrongKey.certificatePem}, {"wrong.key", c.jdoe.keyPem}},
         true,
         {{"wrong.pem", c.wrongKey.certificatePem}},
         "No private key came with this certificate",
         &c.wrongKey,
         false},
        {"DER without a key",
         personalKind,
         {{"lonely.cer", c.lonely.der}},
         true,
         {{"lonely.pem", c.lonely.certificatePem}},
         "as lonely.key",
         &c.lonely,
         false},
        {"PKCS#12 without password",
         personalKind,
         {{"pat.pfx", p12}},
         true,
         {{"pat.pfx", p12}},
         "",
         &c.pat,
         true},
        {"PKCS#12 under another name",
         personalKind,
         {{"pat.bin", p12}},
         true,
         {{"pat.p12", p12}},
         "",
         &c.pat,
         true},
        {"PKCS#12 with a password",
         personalKind,
         {{"locked.p12", TestCertificates::pkcs12(c.locked, "Locked", "secret")}},
         false,
         {},
         "is protected by a password",
         nullptr,
         false},
        {"a key alone",
         personalKind,
         {{"key.pem", c.jdoe.keyPem}},
         false,
         {},
         "\"key.pem\" holds no certificate",
         nullptr,
         false},
        {"a text file",
         personalKind,
         {{"readme.txt", "hello\n"}},
         false,
         {},
         "holds no certificate",
         nullptr,
         false},
        {"authority with a key in its file",
         authorityKind,
         {{"corp.crt", c.corpRoot.certificatePem + c.corpRoot.keyPem}},
         true,
         {{"corp.pem", c.corpRoot.certificatePem}},
         "",
         &c.corpRoot,
         false},
        {"authority in DER",
         authorityKind,
         {{"dir.der", c.dirRoot.der}},
         true,
         {{"dir.pem", c.dirRoot.certificatePem}},
         "",
         &c.dirRoot,
         false},
        {"authority with an alias",
         authorityKind,
         {{"alias.pem", TestCertificates::trustedPem(c.otherRoot, "Corp Issuing CA")}},
         true,
         {{"alias.pem", TestCertificates::trustedPem(c.otherRoot, "Corp Issuing CA")}},
         "",
         &c.otherRoot,
         false},
        {"PKCS#12 as an authority",
         authorityKind,
         {{"pat.p12", p12}},
         false,
         {},
         "import it beside the certificate list",
         nullptr,
         false},
    };
    int number = 0;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const std::string home = root + "/home" + std::to_string(++number);
        const std::string source = home + "/downloads";
        makeFolder(source);
        for (const auto& [name, content] : test.source) {
            write(source + "/" + name, content);
        }
        const CertificateFolders folders{home + "/certificates", home + "/authorities"};
        OpenSslCertificateStore store(folders, SystemTrust{});
        const std::string folder = test.kind == personalKind ? folders.personal : folders.authorities;

        const ImportOutcome outcome = store.importFile(test.kind, source + "/" + test.source.front().first);
        EXPECT_EQ(outcome.imported, test.imported);
        if (*test.message == '\0') {
            EXPECT_EQ(outcome.message, "");
        } else {
            EXPECT_THAT(outcome.message, HasSubstr(test.message));
        }
        EXPECT_EQ(outcome.identifier, test.selected != nullptr ? test.selected->identifier : "");
        std::vector<std::string> expectedNames;
        for (const auto& [name, content] : test.stored) {
            expectedNames.push_back(name);
            EXPECT_EQ(readFile(folder + "/" + name), content) << name;
            EXPECT_EQ(modeOf(folder + "/" + name), 0600u) << name;
        }
        EXPECT_THAT(namesIn(folder), ElementsAreArray(expectedNames));
        if (test.imported) {
            EXPECT_EQ(outcome.fileName, test.stored.front().first);
            EXPECT_EQ(modeOf(folder), 0700u);
            std::vector<std::string> identifiers;
            std::vector<std::string> unused;
            store.Enumerate(test.kind, unused, identifiers);
            EXPECT_THAT(identifiers, testing::Contains(test.selected->identifier));
        }
        EXPECT_EQ(store.Select(outcome.identifier), test.selectable);
    }
}

TEST_F(CertificateImportTest, AuthorityAliasIsItsListText) {
    const auto& c = certs();
    makeFolder(root + "/downloads");
    write(root + "/downloads/alias.pem", TestCertificates::trustedPem(c.otherRoot, "Corp Issuing CA"));
    OpenSslCertificateStore store;
    ASSERT_TRUE(store.importFile(CertificateKind::Authority, root + "/downloads/alias.pem").imported);
    EXPECT_THAT(texts(store, CertificateKind::Authority), ElementsAreArray({"Corp Issuing CA"}));
}

TEST_F(CertificateImportTest, NeverOverADifferentFileOfTheSameName) {
    const auto& c = certs();
    makeFolder(personal);
    write(personal + "/jdoe.pem", c.lonely.certificatePem);
    write(personal + "/mail.key", c.jdoe.keyPem);
    makeFolder(root + "/downloads");
    write(root + "/downloads/jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
    write(root + "/downloads/mail.crt", c.mailOnly.certificatePem);
    write(root + "/downloads/mail.key", c.mailOnly.keyPem);
    OpenSslCertificateStore store;

    const ImportOutcome first = store.importFile(CertificateKind::Personal, root + "/downloads/jdoe.pem");
    EXPECT_TRUE(first.imported);
    EXPECT_EQ(first.fileName, "jdoe-2.pem");
    // The name of the key beside it is taken too: both move on together.
    const ImportOutcome second = store.importFile(CertificateKind::Personal, root + "/downloads/mail.crt");
    EXPECT_TRUE(second.imported);
    EXPECT_EQ(second.fileName, "mail-2.crt");
    EXPECT_THAT(namesIn(personal),
                ElementsAreArray({"jdoe-2.pem", "jdoe.pem", "mail-2.crt", "mail-2.key", "mail.key"}));
    EXPECT_EQ(readFile(personal + "/jdoe.pem"), c.lonely.certificatePem);
    EXPECT_EQ(readFile(personal + "/mail.key"), c.jdoe.keyPem);
    EXPECT_EQ(readFile(personal + "/mail-2.key"), c.mailOnly.keyPem);
    EXPECT_TRUE(store.Select(c.mailOnly.identifier));
}

TEST_F(CertificateImportTest, TheSameFileTwiceIsKeptOnce) {
    const auto& c = certs();
    makeFolder(root + "/downloads");
    write(root + "/downloads/mail.crt", c.mailOnly.certificatePem);
    write(root + "/downloads/mail.key", c.mailOnly.keyPem);
    OpenSslCertificateStore store;
    for (int time = 0; time < 2; ++time) {
        const ImportOutcome outcome =
            store.importFile(CertificateKind::Personal, root + "/downloads/mail.crt");
        EXPECT_TRUE(outcome.imported);
        EXPECT_EQ(outcome.fileName, "mail.crt");
        EXPECT_EQ(outcome.identifier, c.mailOnly.identifier);
    }
    EXPECT_THAT(namesIn(personal), ElementsAreArray({"mail.crt", "mail.key"}));
}

TEST_F(CertificateImportTest, AFolderThatCantBeMadeIsSaid) {
    const auto& c = certs();
    makeFolder(root + "/downloads");
    write(root + "/downloads/jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
    write(root + "/data", "a file where the folder should be");
    OpenSslCertificateStore store;
    const ImportOutcome outcome = store.importFile(CertificateKind::Personal, root + "/downloads/jdoe.pem");
    EXPECT_FALSE(outcome.imported);
    EXPECT_THAT(outcome.message, HasSubstr("could not be copied to " + personal));
}

TEST_F(CertificateImportTest, AFileThatCantBeReadIsSaidWithTheReason) {
    const auto& c = certs();
    makeFolder(root + "/downloads");
    write(root + "/downloads/locked.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
    ::chmod((root + "/downloads/locked.pem").c_str(), 0);
    // A bundle past the size cap, certificates all through it.
    std::string bundle;
    while (bundle.size() < 5500 * 1024) {
        bundle += c.otherRoot.certificatePem;
    }
    write(root + "/downloads/bundle.pem", bundle);
    write(root + "/downloads/slow.p12",
          TestCertificates::pkcs12WithRounds(c.pat, 4194304, TestCertificates::Pkcs12Part::None));
    write(root + "/downloads/bad\nname\u202E.pem", "nothing\n");
    OpenSslCertificateStore store;
    const StrictPermissions strict; // root reads any file otherwise
    const std::pair<std::string, std::string> cases[] = {
        {root + "/missing.pem", "The file \"missing.pem\" could not be read: it is not there."},
        {root, "could not be read: it is not a regular file."},
        {root + "/downloads/locked.pem", "The file \"locked.pem\" could not be read: Permission denied."},
        {root + "/downloads/bundle.pem",
         "could not be read: it is larger than 4 MiB, more than any certificate file."},
        {root + "/downloads/slow.p12",
         "could not be read: its integrity check asks for 4194304 rounds of key derivation, more than the "
         "1000000 this program allows."},
        {root + "/downloads/bad\nname\u202E.pem", "The file \"bad\\nname\\u202E.pem\" holds no certificate."},
    };
    for (const auto& [path, message] : cases) {
        const ImportOutcome outcome = store.importFile(CertificateKind::Personal, path);
        EXPECT_FALSE(outcome.imported) << path;
        EXPECT_THAT(outcome.message, HasSubstr(message)) << path;
    }
    EXPECT_THAT(namesIn(personal), IsEmpty());
}

TEST_F(CertificateImportTest, PkcsTwelveFilesThatAskForTooManyRoundsAreRefusedUnread) {
    const auto& c = certs();
    using Part = TestCertificates::Pkcs12Part;
    struct Case {
        const char* what;
        std::string content;
        const char* reason; // "" when it reads
    };
    const Case cases[] = {
        {"MAC of 4194304 rounds", TestCertificates::pkcs12WithRounds(c.pat, 4194304, Part::None),
         "its integrity check asks for 4194304 rounds"},
        {"MAC of 2^31-1 rounds", TestCertificates::pkcs12WithRounds(c.pat, 2147483647, Part::None),
         "its integrity check asks for 2147483647 rounds"},
        {"encrypted certificates", TestCertificates::pkcs12WithRounds(c.pat, 0, Part::Certificates),
         "its encrypted contents ask for 8388607 rounds"},
        {"shrouded key", TestCertificates::pkcs12WithRounds(c.pat, 0, Part::Key),
         "its private key asks for 8388607 rounds"},
        {"as tools write it", TestCertificates::pkcs12(c.pat, "", ""), ""},
    };
    for (const Case& test : cases) {
        const CertificateFileContent file = readCertificateFile(test.content);
        EXPECT_EQ(file.format, CertificateFileContent::Format::Pkcs12) << test.what;
        EXPECT_THAT(file.unreadable, HasSubstr(test.reason)) << test.what;
        EXPECT_EQ(file.certificates.empty(), *test.reason != '\0') << test.what;
    }
}

TEST_F(CertificateImportTest, TheFoldersTellWhyAFileIsSkipped) {
    const auto& c = certs();
    makeFolder(personal);
    write(personal + "/jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
    write(personal + "/locked.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
    ::chmod((personal + "/locked.pem").c_str(), 0);
    write(personal + "/slow.p12",
          TestCertificates::pkcs12WithRounds(c.pat, 4194304, TestCertificates::Pkcs12Part::None));
    std::vector<std::string> reported;
    diag::setSink(
        [&](diag::Level, std::string_view, std::string_view message) { reported.emplace_back(message); });
    OpenSslCertificateStore store;
    {
        const StrictPermissions strict;
        EXPECT_THAT(texts(store, CertificateKind::Personal),
                    ElementsAreArray({::testing::StartsWith("John Doe")}));
    }
    diag::setSink({});
    EXPECT_THAT(reported, ElementsAreArray(
                              {personal + "/locked.pem: Permission denied; skipped",
                               personal + "/slow.p12: its integrity check asks for 4194304 rounds of key "
                                          "derivation, more than the 1000000 this program allows; skipped"}));
}

} // namespace
