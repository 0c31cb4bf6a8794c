#include "support/TestCertificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

template <auto Free> struct Deleter {
    template <typename T> void operator()(T* p) const { Free(p); }
};
using BioPtr = std::unique_ptr<BIO, Deleter<BIO_free>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509_free>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using Pkcs12Ptr = std::unique_ptr<PKCS12, Deleter<PKCS12_free>>;
using ExtensionPtr = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION_free>>;

void require(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("test certificate: ") + what);
    }
}

std::string drain(BIO* bio) {
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(length));
}

std::string keyPemOf(EVP_PKEY* key, const EVP_CIPHER* cipher, const std::string& passphrase) {
    const BioPtr bio(BIO_new(BIO_s_mem()));
    const bool encrypt = cipher != nullptr;
    require(PEM_write_bio_PKCS8PrivateKey(bio.get(), key, cipher, encrypt ? passphrase.c_str() : nullptr,
                                          encrypt ? static_cast<int>(passphrase.size()) : 0, nullptr,
                                          nullptr) == 1,
            "writing a key");
    return drain(bio.get());
}

KeyPtr keyFromPem(const std::string& pem) {
    const BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    KeyPtr key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
    require(key != nullptr, "reading a key");
    return key;
}

X509Ptr certificateFromPem(const std::string& pem) {
    const BioPtr bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    X509Ptr certificate(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    require(certificate != nullptr, "reading a certificate");
    return certificate;
}

void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    const ExtensionPtr extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    require(extension != nullptr, "making an extension");
    require(X509_add_ext(certificate, extension.get(), -1) == 1, "adding an extension");
}

void addName(X509_NAME* name, const char* field, const std::string& value) {
    if (!value.empty()) {
        require(X509_NAME_add_entry_by_txt(name, field, MBSTRING_UTF8,
                                           reinterpret_cast<const unsigned char*>(value.c_str()), -1, -1,
                                           0) == 1,
                "adding a name");
    }
}

TestCertificate describe(X509* certificate, EVP_PKEY* key) {
    TestCertificate result;
    const BioPtr bio(BIO_new(BIO_s_mem()));
    require(PEM_write_bio_X509(bio.get(), certificate) == 1, "writing a certificate");
    result.certificatePem = drain(bio.get());
    result.keyPem = keyPemOf(key, nullptr, {});
    unsigned char* der = nullptr;
    const int length = i2d_X509(certificate, &der);
    require(length > 0, "encoding a certificate");
    result.der.assign(reinterpret_cast<const char*>(der), static_cast<std::size_t>(length));
    OPENSSL_free(der);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    require(X509_digest(certificate, EVP_sha1(), digest, &digestLength) == 1, "hashing a certificate");
    static constexpr char hex[] = "0123456789ABCDEF";
    for (unsigned int i = 0; i < digestLength; ++i) {
        result.identifier += hex[digest[i] >> 4];
        result.identifier += hex[digest[i] & 15];
    }
    return result;
}

} // namespace

TestCertificates::TestCertificates() {
    m_authority = issue(CertificateRequest("Skyvane Test Root CA")
                            .withOrganisation("Skyvane Tests")
                            .validDays(-1, 3650)
                            .asAuthority());
}

TestCertificate TestCertificates::issue(const CertificateRequest& request) const {
    // Elliptic-curve keys: made in a blink, even under the sanitizers.
    const KeyPtr key(EVP_EC_gen("P-256"));
    require(key != nullptr, "making a key");
    const X509Ptr certificate(X509_new());
    static std::atomic<long> serial{1000};
    X509_set_version(certificate.get(), X509_VERSION_3);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial++);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), long(request.validFromDays) * 86400);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), long(request.validUntilDays) * 86400);
    X509_set_pubkey(certificate.get(), key.get());
    X509_NAME* subject = X509_get_subject_name(certificate.get());
    addName(subject, "O", request.organisation);
    addName(subject, "CN", request.commonName);
    addName(subject, "emailAddress", request.subjectEmail);

    X509Ptr issuer;
    KeyPtr issuerKey;
    if (request.authority) {
        X509_set_issuer_name(certificate.get(), subject);
        addExtension(certificate.get(), certificate.get(), NID_basic_constraints, "critical,CA:TRUE");
    } else {
        issuer = certificateFromPem(m_authority.certificatePem);
        issuerKey = keyFromPem(m_authority.keyPem);
        X509_set_issuer_name(certificate.get(), X509_get_subject_name(issuer.get()));
        addExtension(certificate.get(), issuer.get(), NID_basic_constraints, "CA:FALSE");
    }
    std::string alternatives;
    if (!request.principalName.empty()) {
        alternatives = "otherName:1.3.6.1.4.1.311.20.2.3;UTF8:" + request.principalName;
    }
    for (const std::string& email : request.emailNames) {
        alternatives += (alternatives.empty() ? "email:" : ",email:") + email;
    }
    if (!alternatives.empty()) {
        addExtension(certificate.get(), issuer ? issuer.get() : certificate.get(), NID_subject_alt_name,
                     alternatives);
    }
    require(X509_sign(certificate.get(), issuerKey ? issuerKey.get() : key.get(), EVP_sha256()) > 0,
            "signing");
    return describe(certificate.get(), key.get());
}

std::string TestCertificates::encryptedKeyPem(const TestCertificate& certificate,
                                              const std::string& passphrase) {
    const KeyPtr key = keyFromPem(certificate.keyPem);
    return keyPemOf(key.get(), EVP_aes_256_cbc(), passphrase);
}

std::string TestCertificates::trustedPem(const TestCertificate& certificate, const std::string& alias) {
    const X509Ptr x509 = certificateFromPem(certificate.certificatePem);
    X509_alias_set1(x509.get(), reinterpret_cast<const unsigned char*>(alias.data()),
                    static_cast<int>(alias.size()));
    const BioPtr bio(BIO_new(BIO_s_mem()));
    require(PEM_write_bio_X509_AUX(bio.get(), x509.get()) == 1, "writing a trusted certificate");
    return drain(bio.get());
}

std::string TestCertificates::pkcs12(const TestCertificate& certificate, const std::string& friendlyName,
                                     const std::string& password, int rounds) {
    const X509Ptr x509 = certificateFromPem(certificate.certificatePem);
    const KeyPtr key = keyFromPem(certificate.keyPem);
    const Pkcs12Ptr p12(PKCS12_create(password.c_str(), friendlyName.empty() ? nullptr : friendlyName.c_str(),
                                      key.get(), x509.get(), nullptr, 0, 0, rounds, rounds, 0));
    require(p12 != nullptr, "making a PKCS#12 file");
    const BioPtr bio(BIO_new(BIO_s_mem()));
    require(i2d_PKCS12_bio(bio.get(), p12.get()) == 1, "writing a PKCS#12 file");
    return drain(bio.get());
}

bool writeTestFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

std::string TestCertificates::pkcs12WithRounds(const TestCertificate& certificate, long long macRounds,
                                               Pkcs12Part inflated) {
    const X509Ptr x509 = certificateFromPem(certificate.certificatePem);
    const KeyPtr key = keyFromPem(certificate.keyPem);
    // Encrypted with 65536 rounds, a count whose DER form (02 03 01 00 00) can be overwritten in
    // place by a larger one; without a MAC, which would no longer match.
    constexpr int marked = 0x010000;
    const Pkcs12Ptr p12(PKCS12_create("", nullptr, key.get(), x509.get(), nullptr, 0, 0, marked, -1, 0));
    require(p12 != nullptr, "making a PKCS#12 file");
    if (macRounds > 0) {
        // The MAC's parameters alone: a reader must refuse it before computing anything.
        require(PKCS12_setup_mac(p12.get(), static_cast<int>(macRounds), nullptr, 0, EVP_sha256()) == 1,
                "setting a PKCS#12 file's MAC");
    }
    const BioPtr bio(BIO_new(BIO_s_mem()));
    require(i2d_PKCS12_bio(bio.get(), p12.get()) == 1, "writing a PKCS#12 file");
    std::string der = drain(bio.get());
    if (inflated != Pkcs12Part::None) {
        const std::string count("\x02\x03\x01\x00\x00", 5);
        std::size_t at = der.find(count);
        if (inflated == Pkcs12Part::Key && at != std::string::npos) {
            at = der.find(count, at + 1); // the certificates' part comes first, the key's after it
        }
        require(at != std::string::npos, "finding a PKCS#12 file's rounds");
        der.replace(at, count.size(), std::string("\x02\x03\x7f\xff\xff", 5));
    }
    return der;
}
