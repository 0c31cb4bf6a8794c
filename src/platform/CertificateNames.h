#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// What the certificate dialog shows of a certificate, and the rules that turn its names into the
// server/domain name and the login name of an 802.1X profile. Standard library only: the
// certificate store fills the records, these rules read them.

// The two stores the dialog lists: the user's own certificates (with their private keys) and
// the certification authorities. The numbers are the store kinds callers have always passed.
enum class CertificateKind {
    Personal = 1,  // "MY"
    Authority = 2, // "ROOT"
};

// One certificate of a store. Texts are UTF-8.
struct CertificateInfo {
    std::string commonName;    // subject attribute 2.5.4.3
    std::string displayName;   // PKCS#12 friendly name or PEM "TRUSTED CERTIFICATE" alias; else ""
    std::string emailName;     // first rfc822Name of subjectAltName, else the subject's emailAddress
    std::string principalName; // subjectAltName otherName of type user principal name
    std::string organisation;  // subject OU, else O: names an authority that has no common name
    std::string issuedDate;    // notBefore as a local date in the user's short format
    std::time_t notBefore = 0; // the validity period; both 0 when not read
    std::time_t notAfter = 0;
    std::vector<std::uint8_t> hash; // SHA-1 of the DER encoding; empty when it could not be read
    bool hasPrivateKey = false;
    bool passwordProtected = false; // a PKCS#12 file we can't open: listed by its file name
};

// Two upper-case hex digits per byte, in byte order; "" for an empty hash.
std::string IdentifierText(const std::vector<std::uint8_t>& hash);

// The bytes of an identifier (two hex digits per byte, either case). Nothing for an empty text,
// an odd number of digits or a character that is not a hex digit: such a text names no
// certificate.
std::optional<std::vector<std::uint8_t>> ParseIdentifier(const std::string& identifier);

// The line a list shows for a certificate: its display name, else its common name, else (a
// nameless authority) its organisation; personal certificates add "   [Issued: <date>]".
std::string DisplayText(const CertificateInfo& certificate, CertificateKind kind);

// What a list says about a certificate beside its name. A personal certificate can be chosen
// only when it carries its private key and has an identifier.
struct CertificateMarks {
    bool noPrivateKey = false; // personal, without its key (or locked by a password)
    bool expired = false;      // notAfter has passed
    bool notYetValid = false;  // notBefore is still to come
    bool operator==(const CertificateMarks&) const = default;
};
CertificateMarks MarksOf(const CertificateInfo& certificate, CertificateKind kind, std::time_t now);
bool Choosable(const CertificateInfo& certificate, CertificateKind kind);

// The domain of the principal name (else the e-mail name): what follows its only at sign, cut to
// the last two dot-separated labels. "" without a name or unless it has exactly one at sign.
std::string DomainNameOf(const CertificateInfo& certificate);

// The part of the principal name (else the e-mail name) before its only at sign; the common name
// when the name has no at sign, more than one, or nothing before it. "" without either name.
std::string LoginNameOf(const CertificateInfo& certificate);
