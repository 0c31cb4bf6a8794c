#pragma once

#include "platform/CertificateNames.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Reading one certificate file with OpenSSL: PEM (any number of certificates and private keys,
// "TRUSTED CERTIFICATE" blocks with their alias), a single DER certificate, or PKCS#12. Whatever
// the content, reading never fails loudly: what can't be parsed is simply not in the result.

struct ParsedCertificate {
    CertificateInfo info;      // everything but issuedDate, which the store formats from notBefore
    std::time_t notBefore = 0; // also in info, with notAfter
    std::string der;
    std::string publicKey; // DER of the SubjectPublicKeyInfo, to match a private key with;
                           // "" when read for names only
};

// The most rounds of key derivation a PKCS#12 file may ask for (its MAC, its encrypted parts and
// its shrouded keys, each): tools write 2048 to 600000; a file asking for more would hold the
// reader for seconds to hours. Such a file is refused before any key is derived.
inline constexpr long long maxPkcs12Iterations = 1000000;

struct CertificateReading {
    // Only the subject's names, the alias and the hash: what a list of authorities shows.
    // Reading a whole certificate costs ten times as much (OpenSSL 3 decodes its public key).
    bool namesOnly = false;
    // Asked with each certificate's hash before the rest of it is read; false leaves it out
    // (a certificate already listed from elsewhere).
    std::function<bool(const std::vector<std::uint8_t>& hash)> wanted;
    // Whether a PKCS#12 file is read at all: no authority comes as one.
    bool pkcs12 = true;
    // The most rounds of key derivation a PKCS#12 file may ask for.
    long long maxIterations = maxPkcs12Iterations;
};

struct ParsedKey {
    bool encrypted = false; // its public half can't be known without the passphrase
    std::string publicKey;  // DER of the SubjectPublicKeyInfo; "" when encrypted
};

struct CertificateFileContent {
    enum class Format { Unknown, Pem, Der, Pkcs12 };
    Format format = Format::Unknown;
    std::vector<ParsedCertificate> certificates; // in file order
    std::vector<ParsedKey> keys;                 // PEM private keys, in file order
    // A PKCS#12 file that opens only with a password: no certificate can be read from it.
    bool passwordProtected = false;
    // Why a file that is recognised could not be read (a PKCS#12 file whose key derivation
    // would take too long, say); "" otherwise.
    std::string unreadable;
    int leftOut = 0; // certificates that were not wanted
};

// A PKCS#12 file is recognised by its content, so a ".p12" renamed ".bin" still reads. For
// PKCS#12, hasPrivateKey is already set on the certificate its key belongs to.
CertificateFileContent readCertificateFile(std::string_view content, const CertificateReading& reading = {});

// Whether a key of the list belongs to the certificate: its public half matches. An encrypted
// key can't be compared without its passphrase (the supplicant's business); it counts for the
// first certificate of its file, the one a client file begins with (the chain follows it).
bool keyMatches(const ParsedCertificate& certificate, bool firstOfFile, const std::vector<ParsedKey>& keys);

// The certificate as a PEM block. With keepAlias, a certificate with a display name (alias) is
// written as "TRUSTED CERTIFICATE" so the name survives a copy; otherwise always as the plain
// "CERTIFICATE" every reader takes. "" if the DER can't be read back.
std::string pemOf(const ParsedCertificate& certificate, bool keepAlias);
