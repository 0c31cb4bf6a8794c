// The rules over a certificate's names: identifiers, list texts, and the domain and login an
// 802.1X profile takes from the chosen certificate.
#include "platform/CertificateNames.h"

#include <gtest/gtest.h>

namespace {

TEST(CertificateNames, IdentifierRoundTrip) {
    struct Case {
        std::vector<std::uint8_t> hash;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{0x00}, "00"},
        {{0x0f, 0xa0, 0xff}, "0FA0FF"},
        {{0xde, 0xad, 0xbe, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab,
          0xcd, 0xef, 0x10, 0x32, 0x54, 0x76, 0x98, 0xba, 0xdc, 0xfe},
         "DEADBEEF0123456789ABCDEF1032547698BADCFE"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IdentifierText(c.hash), c.text);
        if (!c.hash.empty()) {
            EXPECT_EQ(ParseIdentifier(c.text), c.hash) << c.text;
        }
    }
    EXPECT_EQ(ParseIdentifier("0fa0FF"), (std::vector<std::uint8_t>{0x0f, 0xa0, 0xff})) << "either case";
}

TEST(CertificateNames, IdentifiersThatNameNoCertificate) {
    for (const char* text : {"", "0", "ABC", "0G", "zz", " 0F", "0F ", "+1"}) {
        EXPECT_EQ(ParseIdentifier(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(CertificateNames, ListTexts) {
    struct Case {
        CertificateInfo certificate;
        CertificateKind kind;
        std::string text;
    };
    CertificateInfo both;
    both.displayName = "Work laptop";
    both.commonName = "John Doe";
    both.issuedDate = "03/04/25";
    CertificateInfo commonOnly = both;
    commonOnly.displayName.clear();
    CertificateInfo organisationOnly;
    organisationOnly.organisation = "Go Daddy Class 2 Certification Authority";
    CertificateInfo nameless;
    nameless.issuedDate = "01/01/20";
    CertificateInfo locked;
    locked.displayName = "laptop.p12";
    locked.passwordProtected = true;
    const Case cases[] = {
        {both, CertificateKind::Personal, "Work laptop   [Issued: 03/04/25]"},
        {both, CertificateKind::Authority, "Work laptop"},
        {commonOnly, CertificateKind::Personal, "John Doe   [Issued: 03/04/25]"},
        {commonOnly, CertificateKind::Authority, "John Doe"},
        {organisationOnly, CertificateKind::Authority, "Go Daddy Class 2 Certification Authority"},
        {nameless, CertificateKind::Authority, ""},
        {nameless, CertificateKind::Personal, "   [Issued: 01/01/20]"},
        {locked, CertificateKind::Personal, "laptop.p12   [Password protected]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayText(c.certificate, c.kind), c.text);
    }
}

TEST(CertificateNames, DomainAndLogin) {
    struct Case {
        const char* principal;
        const char* email;
        const char* commonName;
        const char* domain;
        const char* login;
    };
    const Case cases[] = {
        // A domain of three labels keeps its last two; two stay whole; one without a dot too.
        {"jdoe@corp.example.com", "", "John Doe", "example.com", "jdoe"},
        {"jdoe@example.com", "", "John Doe", "example.com", "jdoe"},
        {"jdoe@localdomain", "", "John Doe", "localdomain", "jdoe"},
        {"a@b.c.d.e", "", "A", "d.e", "a"},
        // The principal name comes first; the e-mail name only stands in for a missing one.
        {"jdoe@corp.example.com", "john@mail.example.org", "John Doe", "example.com", "jdoe"},
        {"", "john@mail.example.org", "John Doe", "example.org", "john"},
        // Not exactly one at sign: no domain, and the common name as login.
        {"", "first@second@example.org", "Mail Only", "", "Mail Only"},
        {"jdoe", "", "John Doe", "", "John Doe"},
        {"@example.com", "", "John Doe", "example.com", "John Doe"},
        {"jdoe@", "", "John Doe", "", "jdoe"},
        // Neither name: nothing, not even the common name.
        {"", "", "John Doe", "", ""},
    };
    for (const Case& c : cases) {
        CertificateInfo certificate;
        certificate.principalName = c.principal;
        certificate.emailName = c.email;
        certificate.commonName = c.commonName;
        EXPECT_EQ(DomainNameOf(certificate), c.domain) << c.principal << " / " << c.email;
        EXPECT_EQ(LoginNameOf(certificate), c.login) << c.principal << " / " << c.email;
    }
}

} // namespace
