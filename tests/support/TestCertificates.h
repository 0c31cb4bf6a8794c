#pragma once
// Certificates made at test time with OpenSSL, so nothing in the repository ever expires: a
// certification authority and client certificates it signs, with the names, dates and key forms
// the certificate store has to tell apart.

#include <string>
#include <vector>

struct CertificateRequest {
    explicit CertificateRequest(std::string name = {}) : commonName(std::move(name)) {}

    CertificateRequest& withPrincipal(std::string name) {
        principalName = std::move(name);
        return *this;
    }
    CertificateRequest& withEmail(std::string name) {
        emailNames.push_back(std::move(name));
        return *this;
    }
    CertificateRequest& withSubjectEmail(std::string name) {
        subjectEmail = std::move(name);
        return *this;
    }
    CertificateRequest& withOrganisation(std::string name) {
        organisation = std::move(name);
        return *this;
    }
    CertificateRequest& validDays(int from, int until) {
        validFromDays = from;
        validUntilDays = until;
        return *this;
    }
    CertificateRequest& asAuthority() {
        authority = true;
        return *this;
    }

    std::string commonName;
    std::string principalName;           // subjectAltName otherName, user principal name
    std::vector<std::string> emailNames; // subjectAltName rfc822Name, in order
    std::string subjectEmail;            // the subject's emailAddress attribute
    std::string organisation;            // subject O
    int validFromDays = -1;              // relative to now
    int validUntilDays = 365;
    bool authority = false; // basicConstraints CA:TRUE, self-signed
};

struct TestCertificate {
    std::string certificatePem;
    std::string keyPem; // unencrypted PKCS#8
    std::string der;
    std::string identifier; // upper-case hex SHA-1 of the DER
};

class TestCertificates {
public:
    TestCertificates(); // makes the authority "Skyvane Test Root CA"

    const TestCertificate& authority() const { return m_authority; }
    // Signed by the authority, or self-signed when request.authority is set.
    TestCertificate issue(const CertificateRequest& request) const;

    // The key encrypted with a passphrase ("ENCRYPTED PRIVATE KEY").
    static std::string encryptedKeyPem(const TestCertificate& certificate, const std::string& passphrase);
    // The certificate as "TRUSTED CERTIFICATE" with an alias.
    static std::string trustedPem(const TestCertificate& certificate, const std::string& alias);
    // A PKCS#12 file of the certificate and its key; an empty password is "no password". rounds:
    // of key derivation for its MAC and its encryption (0: OpenSSL's default).
    static std::string pkcs12(const TestCertificate& certificate, const std::string& friendlyName,
                              const std::string& password, int rounds = 0);
    // A PKCS#12 file without a password that asks for many rounds of key derivation: macRounds
    // for its MAC (0: no MAC), and 8388607 for the part named, where the others ask for 65536.
    // Made without spending those rounds (the MAC does not match).
    enum class Pkcs12Part { None, Certificates, Key };
    static std::string pkcs12WithRounds(const TestCertificate& certificate, long long macRounds,
                                        Pkcs12Part inflated);

private:
    TestCertificate m_authority;
};

// Writes content to path, creating nothing else; false on failure.
bool writeTestFile(const std::string& path, const std::string& content);
