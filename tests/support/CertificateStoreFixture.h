#pragma once
// A user's certificate folders and a system trust store, laid out in a scratch directory with
// certificates made for the run. XDG_DATA_HOME, SSL_CERT_FILE and SSL_CERT_DIR point there, so
// nothing depends on the machine's own trust store.

#include "platform/CertificateStore.h"
#include "support/ScratchDirectory.h"
#include "support/TestCertificates.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

struct FixtureCertificates {
    TestCertificates maker;
    TestCertificate jdoe;        // principal name with a three-label domain; key in its file
    TestCertificate mailOnly;    // only an e-mail name with two at signs; key in mailonly.key
    TestCertificate lonely;      // no key anywhere
    TestCertificate expired;     // valid long ago; key in its file
    TestCertificate pat;         // PKCS#12 with a friendly name, no password
    TestCertificate locked;      // PKCS#12 with a password
    TestCertificate secret;      // encrypted key in its file
    TestCertificate wrongKey;    // a key that belongs to another certificate
    TestCertificate subjectMail; // e-mail name only in the subject; key in its file
    TestCertificate otherRoot;   // second root of the system bundle
    TestCertificate orgOnlyRoot; // a root without common name
    TestCertificate dirRoot;     // found in the hashed directory only
    TestCertificate secondDirRoot;
    TestCertificate unhashedRoot; // in the directory under a name OpenSSL never looks up
    TestCertificate corpRoot;     // the user's own authority, with an alias

    FixtureCertificates() {
        using Request = CertificateRequest;
        jdoe = maker.issue(Request("John Doe").withPrincipal("jdoe@corp.example.com"));
        mailOnly = maker.issue(Request("Mail Only").withEmail("first@second@example.org"));
        lonely = maker.issue(Request("Lonely").withPrincipal("lonely@example.net"));
        expired = maker.issue(Request("Old Timer").withPrincipal("old@example.com").validDays(-400, -35));
        pat = maker.issue(Request("Pat Twelve").withPrincipal("pat@p12.example.com"));
        locked = maker.issue(Request("Locked Out"));
        secret = maker.issue(Request("Eve Crypt").withPrincipal("eve@crypt.example.com"));
        wrongKey = maker.issue(Request("Wrong Key"));
        subjectMail = maker.issue(Request("Subject Mail").withSubjectEmail("sm@mail.example.com"));
        otherRoot = maker.issue(Request("Other Root").asAuthority());
        orgOnlyRoot = maker.issue(Request().withOrganisation("Orgless Trust Services").asAuthority());
        dirRoot = maker.issue(Request("Dir Root").asAuthority());
        secondDirRoot = maker.issue(Request("Second Dir Root").asAuthority());
        unhashedRoot = maker.issue(Request("Unhashed Root").asAuthority());
        corpRoot = maker.issue(Request("corp-root-01").asAuthority());
    }
};

class CertificateStoreFixture : public ScratchDirectory {
protected:
    // Until the store's reading in the background has read both stores (or a minute passed).
    static bool waitForReading(const CertificateStore& store) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!store.listing(CertificateKind::Personal).complete ||
               !store.listing(CertificateKind::Authority).complete) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    static void SetUpTestSuite() { s_certificates = std::make_unique<FixtureCertificates>(); }
    static void TearDownTestSuite() { s_certificates.reset(); }

    void SetUp() override {
        ScratchDirectory::SetUp();
        char* cwd = ::getcwd(nullptr, 0);
        root = cwd;
        std::free(cwd);
        personal = root + "/data/skyvane/certificates";
        authorities = root + "/data/skyvane/authorities";
        ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        ::setenv("SSL_CERT_FILE", (root + "/system/bundle.pem").c_str(), 1);
        ::setenv("SSL_CERT_DIR", (root + "/system/certs:" + root + "/system/more").c_str(), 1);
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }

    static const FixtureCertificates& certs() { return *s_certificates; }

    // The personal folder as the tests expect it, one file per case.
    void layOutPersonalFolder() {
        const FixtureCertificates& c = certs();
        makeFolder(personal);
        write(personal + "/expired.pem", c.expired.certificatePem + c.expired.keyPem);
        write(personal + "/garbage.pem",
              "-----BEGIN CERTIFICATE-----\nnot base64 at all\n-----END CERTIFICATE-----\n");
        write(personal + "/jdoe.pem", c.jdoe.certificatePem + c.jdoe.keyPem);
        write(personal + "/locked.p12", TestCertificates::pkcs12(c.locked, "Locked", "secret"));
        write(personal + "/lonely.pem", c.lonely.certificatePem);
        write(personal + "/mailonly.crt", c.mailOnly.certificatePem);
        write(personal + "/mailonly.key", c.mailOnly.keyPem);
        write(personal + "/pat.pfx", TestCertificates::pkcs12(c.pat, "Pat's Laptop", ""));
        write(personal + "/secret.pem",
              c.secret.certificatePem + TestCertificates::encryptedKeyPem(c.secret, "pw"));
        write(personal + "/subjectmail.pem", c.subjectMail.keyPem + c.subjectMail.certificatePem);
        write(personal + "/wrongkey.pem", c.wrongKey.certificatePem);
        write(personal + "/wrongkey.key", c.jdoe.keyPem);
        write(personal + "/.jdoe.pem.tmp.1.2.3", c.jdoe.certificatePem + c.jdoe.keyPem); // being written
    }

    void layOutSystemTrust() {
        const FixtureCertificates& c = certs();
        makeFolder(root + "/system/certs");
        makeFolder(root + "/system/more");
        write(root + "/system/bundle.pem",
              c.maker.authority().certificatePem + c.otherRoot.certificatePem + c.orgOnlyRoot.certificatePem);
        write(root + "/system/certs/0123abcd.0", c.maker.authority().certificatePem); // also in the bundle
        write(root + "/system/certs/abcdef01.0", c.dirRoot.certificatePem);
        write(root + "/system/certs/abcdef01.r0", c.unhashedRoot.certificatePem);
        write(root + "/system/certs/unhashed.pem", c.unhashedRoot.certificatePem);
        write(root + "/system/more/fedcba98.1", c.secondDirRoot.certificatePem);
        makeFolder(authorities);
        write(authorities + "/corp.pem", TestCertificates::trustedPem(c.corpRoot, "Corp Issuing CA"));
        write(authorities + "/notes.txt", "our authority's certificate is corp.pem\n");
    }

    static void makeFolder(const std::string& path) {
        std::error_code error;
        std::filesystem::create_directories(path, error);
        ASSERT_FALSE(error) << path << ": " << error.message();
    }
    static void write(const std::string& path, const std::string& content) {
        ASSERT_TRUE(writeTestFile(path, content)) << path;
    }

    std::string root;
    std::string personal;
    std::string authorities;

private:
    static inline std::unique_ptr<FixtureCertificates> s_certificates;
};
