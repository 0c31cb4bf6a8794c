#include "platform/CertificateFile.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <climits>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

namespace {

template <auto Free> struct Deleter {
    template <typename T> void operator()(T* p) const { Free(p); }
};
using BioPtr = std::unique_ptr<BIO, Deleter<BIO_free>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509_free>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using Pkcs12Ptr = std::unique_ptr<PKCS12, Deleter<PKCS12_free>>;
using NamesPtr = std::unique_ptr<GENERAL_NAMES, Deleter<GENERAL_NAMES_free>>;

void freeCertificateStack(STACK_OF(X509) * stack) {
    sk_X509_pop_free(stack, X509_free);
}

void freeSafeBags(STACK_OF(PKCS12_SAFEBAG) * bags) {
    sk_PKCS12_SAFEBAG_pop_free(bags, PKCS12_SAFEBAG_free);
}

void freePkcs7Stack(STACK_OF(PKCS7) * parts) {
    sk_PKCS7_pop_free(parts, PKCS7_free);
}

// Parsing leaves errors on OpenSSL's queue of this thread; whoever uses OpenSSL next (the
// supplicant backend, say) must not find ours.
class ErrorQueueMark {
public:
    ErrorQueueMark() { ERR_set_mark(); }
    ~ErrorQueueMark() { ERR_pop_to_mark(); }
    ErrorQueueMark(const ErrorQueueMark&) = delete;
    ErrorQueueMark& operator=(const ErrorQueueMark&) = delete;
};

// A name as UTF-8. A name with a NUL in it is cut there: what follows could make one name pass
// for another ("alice@example.com\0.evil.org").
std::string utf8Of(const ASN1_STRING* value) {
    if (value == nullptr) {
        return {};
    }
    unsigned char* out = nullptr;
    const int length = ASN1_STRING_to_UTF8(&out, value);
    if (length < 0 || out == nullptr) {
        return {};
    }
    std::string text(reinterpret_cast<const char*>(out), static_cast<std::size_t>(length));
    OPENSSL_free(out);
    return text.substr(0, text.find('\0'));
}

std::string subjectAttribute(const X509_NAME* subject, int nid) {
    const int index = X509_NAME_get_index_by_NID(subject, nid, -1);
    if (index < 0) {
        return {};
    }
    return utf8Of(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, index)));
}

void readAlternativeNames(X509* certificate, CertificateInfo& info) {
    const NamesPtr names(
        static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr)));
    if (!names) {
        return;
    }
    for (int i = 0; i < sk_GENERAL_NAME_num(names.get()); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(names.get(), i);
        if (name->type == GEN_EMAIL && info.emailName.empty()) {
            info.emailName = utf8Of(name->d.rfc822Name);
        } else if (name->type == GEN_OTHERNAME && info.principalName.empty() &&
                   OBJ_obj2nid(name->d.otherName->type_id) == NID_ms_upn) {
            const ASN1_TYPE* value = name->d.otherName->value;
            if (value != nullptr && value->type == V_ASN1_UTF8STRING) {
                info.principalName = utf8Of(value->value.utf8string);
            }
        }
    }
}

// An OpenSSL object in its DER encoding; empty when there is none or it cannot be encoded.
template <typename Object, int (*encode)(const Object*, unsigned char**)>
std::string encoded(const Object* object) {
    if (object == nullptr) {
        return {};
    }
    unsigned char* out = nullptr;
    const int length = encode(object, &out);
    if (length <= 0 || out == nullptr) {
        return {};
    }
    std::string der(reinterpret_cast<const char*>(out), static_cast<std::size_t>(length));
    OPENSSL_free(out);
    return der;
}

std::string derOf(X509* certificate) {
    return encoded<X509, i2d_X509>(certificate);
}

std::string publicKeyOf(EVP_PKEY* key) {
    return encoded<EVP_PKEY, i2d_PUBKEY>(key);
}

// What a list shows as a certificate's organisation: its unit, else the organisation.
std::string organisationOf(const X509_NAME* subject) {
    std::string unit = subjectAttribute(subject, NID_organizationalUnitName);
    return unit.empty() ? subjectAttribute(subject, NID_organizationName) : unit;
}

// A certificate the reading asked for joins the file's list; any other is counted as left out.
void offer(CertificateFileContent& file, const CertificateReading& reading, ParsedCertificate parsed) {
    if (!reading.wanted || reading.wanted(parsed.info.hash)) {
        file.certificates.push_back(std::move(parsed));
    } else {
        ++file.leftOut;
    }
}

std::vector<std::uint8_t> sha1Of(const unsigned char* data, std::size_t length) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (EVP_Digest(data, length, digest, &digestLength, EVP_sha1(), nullptr) != 1) {
        return {};
    }
    return {digest, digest + digestLength};
}

std::time_t timeOf(const ASN1_TIME* time) {
    std::tm parts{};
    if (time == nullptr || ASN1_TIME_to_tm(time, &parts) != 1) {
        return 0;
    }
    return timegm(&parts);
}

// The names, dates and keys of a certificate. hash and der, when given, are those of the bytes it
// was read from; otherwise they are taken from the certificate.
ParsedCertificate describe(X509* certificate, bool publicKey, std::vector<std::uint8_t> hash = {},
                           std::string der = {}) {
    ParsedCertificate parsed;
    CertificateInfo& info = parsed.info;
    const X509_NAME* subject = X509_get_subject_name(certificate);
    info.commonName = subjectAttribute(subject, NID_commonName);
    info.organisation = organisationOf(subject);
    int aliasLength = 0;
    if (const unsigned char* alias = X509_alias_get0(certificate, &aliasLength); alias != nullptr) {
        const std::string name(reinterpret_cast<const char*>(alias), static_cast<std::size_t>(aliasLength));
        info.displayName = name.substr(0, name.find('\0'));
    }
    readAlternativeNames(certificate, info);
    if (info.emailName.empty()) {
        info.emailName = subjectAttribute(subject, NID_pkcs9_emailAddress);
    }
    parsed.der = der.empty() ? derOf(certificate) : std::move(der);
    info.hash = hash.empty()
                    ? sha1Of(reinterpret_cast<const unsigned char*>(parsed.der.data()), parsed.der.size())
                    : std::move(hash);
    parsed.notBefore = timeOf(X509_get0_notBefore(certificate));
    info.notBefore = parsed.notBefore;
    info.notAfter = timeOf(X509_get0_notAfter(certificate));
    if (publicKey) {
        parsed.publicKey = publicKeyOf(X509_get0_pubkey(certificate));
    }
    return parsed;
}

using NamePtr = std::unique_ptr<X509_NAME, Deleter<X509_NAME_free>>;

// Moves `at` past one DER header within `end`: the content of `length` bytes follows. Indefinite
// lengths (BER) and lengths beyond the end are refused.
bool enterElement(const unsigned char*& at, const unsigned char* end, int& tag, int& tagClass, long& length) {
    const unsigned char* cursor = at;
    const int flags = ASN1_get_object(&cursor, &length, &tag, &tagClass, end - at);
    if ((flags & 0x80) != 0 || (flags & 0x01) != 0 || length < 0 || length > end - cursor) {
        return false;
    }
    at = cursor;
    return true;
}

bool enterSequence(const unsigned char*& at, const unsigned char* end, long& length) {
    int tag = 0;
    int tagClass = 0;
    return enterElement(at, end, tag, tagClass, length) && tag == V_ASN1_SEQUENCE &&
           tagClass == V_ASN1_UNIVERSAL;
}

bool skipElement(const unsigned char*& at, const unsigned char* end) {
    int tag = 0;
    int tagClass = 0;
    long length = 0;
    if (!enterElement(at, end, tag, tagClass, length)) {
        return false;
    }
    at += length;
    return true;
}

struct Validity {
    std::time_t notBefore = 0;
    std::time_t notAfter = 0;
};

// Validity { notBefore Time, notAfter Time } at `at`; zeros where it can't be read.
Validity validityAt(const unsigned char* at, const unsigned char* end) {
    Validity validity;
    long length = 0;
    if (!enterSequence(at, end, length)) {
        return validity;
    }
    const unsigned char* validityEnd = at + length;
    using TimePtr = std::unique_ptr<ASN1_TIME, Deleter<ASN1_TIME_free>>;
    const TimePtr notBefore(d2i_ASN1_TIME(nullptr, &at, validityEnd - at));
    const TimePtr notAfter(notBefore ? d2i_ASN1_TIME(nullptr, &at, validityEnd - at) : nullptr);
    if (notBefore && notAfter) {
        validity = {timeOf(notBefore.get()), timeOf(notAfter.get())};
    }
    return validity;
}

// The subject of a DER certificate, found by walking the outer structure without reading the
// rest: Certificate { TBSCertificate { [0] version, serial, signature, issuer, validity,
// subject, ... }, ... }. The validity is read on the way.
NamePtr subjectOf(const unsigned char* der, long size, Validity& validity) {
    const unsigned char* at = der;
    const unsigned char* end = der + size;
    long length = 0;
    if (!enterSequence(at, end, length) || !enterSequence(at, at + length, length)) {
        return nullptr;
    }
    const unsigned char* tbsEnd = at + length;
    int tag = 0;
    int tagClass = 0;
    const unsigned char* element = at;
    if (!enterElement(element, tbsEnd, tag, tagClass, length)) {
        return nullptr;
    }
    if (tagClass == V_ASN1_CONTEXT_SPECIFIC && tag == 0) {
        at = element + length; // the version
    }
    for (int skipped = 0; skipped < 3; ++skipped) { // serial, signature, issuer
        if (!skipElement(at, tbsEnd)) {
            return nullptr;
        }
    }
    const unsigned char* validityStart = at;
    if (!skipElement(at, tbsEnd)) {
        return nullptr;
    }
    validity = validityAt(validityStart, at);
    const unsigned char* subject = at;
    if (!enterSequence(at, tbsEnd, length)) {
        return nullptr;
    }
    return NamePtr(d2i_X509_NAME(nullptr, &subject, (at - subject) + length));
}

// An authority as a list shows it: the names of its subject and the hash of its bytes.
ParsedCertificate describeNamesOnly(const X509_NAME* subject, const Validity& validity,
                                    std::vector<std::uint8_t> hash, std::string der) {
    ParsedCertificate parsed;
    parsed.notBefore = validity.notBefore;
    parsed.info.notBefore = validity.notBefore;
    parsed.info.notAfter = validity.notAfter;
    parsed.info.commonName = subjectAttribute(subject, NID_commonName);
    parsed.info.organisation = organisationOf(subject);
    parsed.info.emailName = subjectAttribute(subject, NID_pkcs9_emailAddress);
    parsed.info.hash = std::move(hash);
    parsed.der = std::move(der);
    return parsed;
}

BioPtr memoryBio(std::string_view content) {
    if (content.size() > static_cast<std::size_t>(INT_MAX)) {
        return nullptr;
    }
    return BioPtr(BIO_new_mem_buf(content.data(), static_cast<int>(content.size())));
}

void readPemBlock(const std::string& name, const std::string& header, const unsigned char* data, long length,
                  const CertificateReading& reading, CertificateFileContent& file) {
    const unsigned char* cursor = data;
    if (name == PEM_STRING_X509 || name == PEM_STRING_X509_OLD) {
        // The hash of the bytes as they are decides whether the rest is read at all: reading a
        // certificate is what costs.
        std::vector<std::uint8_t> hash = sha1Of(data, static_cast<std::size_t>(length));
        if (reading.wanted && !reading.wanted(hash)) {
            ++file.leftOut;
            return;
        }
        if (reading.namesOnly) {
            Validity validity;
            if (const NamePtr subject = subjectOf(data, length, validity); subject) {
                file.certificates.push_back(describeNamesOnly(
                    subject.get(), validity, std::move(hash),
                    std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length))));
                return;
            }
        }
        if (const X509Ptr certificate(d2i_X509(nullptr, &cursor, length)); certificate) {
            std::string der(reinterpret_cast<const char*>(data), static_cast<std::size_t>(cursor - data));
            file.certificates.push_back(describe(
                certificate.get(), !reading.namesOnly,
                cursor - data == length ? std::move(hash) : std::vector<std::uint8_t>{}, std::move(der)));
        }
    } else if (name == PEM_STRING_X509_TRUSTED) {
        // The block holds the certificate and, after it, the trust settings and alias.
        if (const X509Ptr certificate(d2i_X509_AUX(nullptr, &cursor, length)); certificate) {
            ParsedCertificate parsed = describe(certificate.get(), !reading.namesOnly);
            offer(file, reading, std::move(parsed));
        }
    } else if (reading.namesOnly) {
        return; // a list of names needs no keys, and decoding one is what costs most here
    } else if (name == PEM_STRING_PKCS8) {
        file.keys.push_back({true, {}});
    } else if (name.size() >= 11 && name.compare(name.size() - 11, 11, "PRIVATE KEY") == 0) {
        // Traditional keys say they are encrypted in a "Proc-Type: 4,ENCRYPTED" header.
        if (header.find("ENCRYPTED") != std::string::npos) {
            file.keys.push_back({true, {}});
        } else if (const KeyPtr key(d2i_AutoPrivateKey(nullptr, &cursor, length)); key) {
            file.keys.push_back({false, publicKeyOf(key.get())});
        }
    }
}

// Every PEM block of the content; a damaged block is passed over and the rest still read.
bool readPem(std::string_view content, const CertificateReading& reading, CertificateFileContent& file) {
    const BioPtr bio = memoryBio(content);
    if (!bio) {
        return false;
    }
    bool anyBlock = false;
    for (;;) {
        const long before = BIO_pending(bio.get());
        char* name = nullptr;
        char* header = nullptr;
        unsigned char* data = nullptr;
        long length = 0;
        const bool read = PEM_read_bio(bio.get(), &name, &header, &data, &length) == 1;
        if (read) {
            anyBlock = true;
            readPemBlock(name, header, data, length, reading, file);
        }
        OPENSSL_free(name);
        OPENSSL_free(header);
        OPENSSL_free(data);
        const long after = BIO_pending(bio.get());
        if (after <= 0 || after >= before) {
            break;
        }
    }
    return anyBlock;
}

// PKCS#12 files of older tools are encrypted with algorithms that OpenSSL 3 keeps in its legacy
// provider; it is loaded the first time such a file turns up.
void loadLegacyAlgorithms() {
    // Kept for the life of the program (and so never reported as lost).
    [[maybe_unused]] static OSSL_PROVIDER* const legacy = OSSL_PROVIDER_try_load(nullptr, "legacy", 1);
}

// The rounds of key derivation an algorithm of a PKCS#12 file asks for: PKCS#5 v1 and PKCS#12
// PBE give their iteration count, PBES2 that of its PBKDF2, or for scrypt its cost N times r
// times p. Nothing for parameters that can't be read or a derivation this reader does not know.
std::optional<long long> roundsOf(const X509_ALGOR* algorithm) {
    if (algorithm == nullptr) {
        return std::nullopt;
    }
    const auto count = [](const ASN1_INTEGER* value) -> std::optional<long long> {
        std::int64_t number = 1; // a missing count is one round
        if (value != nullptr && ASN1_INTEGER_get_int64(&number, value) != 1) {
            return std::nullopt;
        }
        return number < 0 ? std::nullopt : std::optional<long long>(number);
    };
    const int nid = OBJ_obj2nid(algorithm->algorithm);
    if (nid == NID_pbes2) {
        using Pbe2Ptr = std::unique_ptr<PBE2PARAM, Deleter<PBE2PARAM_free>>;
        const Pbe2Ptr pbe2(static_cast<PBE2PARAM*>(
            ASN1_TYPE_unpack_sequence(ASN1_ITEM_rptr(PBE2PARAM), algorithm->parameter)));
        if (!pbe2 || pbe2->keyfunc == nullptr) {
            return std::nullopt;
        }
        const int kdf = OBJ_obj2nid(pbe2->keyfunc->algorithm);
        if (kdf == NID_id_pbkdf2) {
            using Pbkdf2Ptr = std::unique_ptr<PBKDF2PARAM, Deleter<PBKDF2PARAM_free>>;
            const Pbkdf2Ptr pbkdf2(static_cast<PBKDF2PARAM*>(
                ASN1_TYPE_unpack_sequence(ASN1_ITEM_rptr(PBKDF2PARAM), pbe2->keyfunc->parameter)));
            return pbkdf2 ? count(pbkdf2->iter) : std::nullopt;
        }
        if (kdf == NID_id_scrypt) {
            using ScryptPtr = std::unique_ptr<SCRYPT_PARAMS, Deleter<SCRYPT_PARAMS_free>>;
            const ScryptPtr scrypt(static_cast<SCRYPT_PARAMS*>(
                ASN1_TYPE_unpack_sequence(ASN1_ITEM_rptr(SCRYPT_PARAMS), pbe2->keyfunc->parameter)));
            if (!scrypt) {
                return std::nullopt;
            }
            const auto n = count(scrypt->costParameter);
            const auto r = count(scrypt->blockSize);
            const auto p = count(scrypt->parallelizationParameter);
            // Each factor within the limit, so the product can't overflow when it matters.
            if (!n || !r || !p || *n > maxPkcs12Iterations || *r > maxPkcs12Iterations ||
                *p > maxPkcs12Iterations) {
                return n && *n > maxPkcs12Iterations ? n : std::nullopt;
            }
            return (*n * *r > maxPkcs12Iterations) ? *n * *r : *n * *r * *p;
        }
        return std::nullopt;
    }
    using PbePtr = std::unique_ptr<PBEPARAM, Deleter<PBEPARAM_free>>;
    const PbePtr pbe(
        static_cast<PBEPARAM*>(ASN1_TYPE_unpack_sequence(ASN1_ITEM_rptr(PBEPARAM), algorithm->parameter)));
    return pbe ? count(pbe->iter) : std::nullopt;
}

// "" when every key derivation of the bags is within the limit; else why the file is refused.
std::string bagsRefusal(const STACK_OF(PKCS12_SAFEBAG) * bags, int depth, long long limit) {
    for (int i = 0; i < sk_PKCS12_SAFEBAG_num(bags); ++i) {
        const PKCS12_SAFEBAG* bag = sk_PKCS12_SAFEBAG_value(bags, i);
        const int type = PKCS12_SAFEBAG_get_nid(bag);
        if (type == NID_pkcs8ShroudedKeyBag) {
            const X509_ALGOR* algorithm = nullptr;
            X509_SIG_get0(PKCS12_SAFEBAG_get0_pkcs8(bag), &algorithm, nullptr);
            const auto rounds = roundsOf(algorithm);
            if (!rounds) {
                return "its private key is encrypted in a way this program does not read";
            }
            if (*rounds > limit) {
                return "its private key asks for " + std::to_string(*rounds) +
                       " rounds of key derivation, more than the " + std::to_string(limit) +
                       " this program allows";
            }
        } else if (type == NID_safeContentsBag) {
            if (depth >= 4) {
                return "its contents are nested too deeply";
            }
            if (std::string refusal = bagsRefusal(PKCS12_SAFEBAG_get0_safes(bag), depth + 1, limit);
                !refusal.empty()) {
                return refusal;
            }
        }
    }
    return {};
}

using SafeBagsPtr = std::unique_ptr<STACK_OF(PKCS12_SAFEBAG), Deleter<freeSafeBags>>;

// Whether a PKCS#12 file can be read in reasonable time: every key derivation it asks for, of
// its MAC, of its encrypted parts and of its shrouded keys, within maxPkcs12Iterations. Looked
// at before any key is derived with more; "" when it can, else the reason. The MAC's count is
// checked by the caller before it verifies the MAC.
std::string contentRefusal(PKCS12* p12, const char* password, long long limit) {
    using AuthSafesPtr = std::unique_ptr<STACK_OF(PKCS7), Deleter<freePkcs7Stack>>;
    const AuthSafesPtr parts(PKCS12_unpack_authsafes(p12));
    if (!parts) {
        return {}; // PKCS12_parse will find nothing either
    }
    for (int i = 0; i < sk_PKCS7_num(parts.get()); ++i) {
        PKCS7* part = sk_PKCS7_value(parts.get(), i);
        const int type = OBJ_obj2nid(part->type);
        SafeBagsPtr bags;
        if (type == NID_pkcs7_data) {
            bags.reset(PKCS12_unpack_p7data(part));
        } else if (type == NID_pkcs7_encrypted) {
            const X509_ALGOR* algorithm =
                part->d.encrypted != nullptr && part->d.encrypted->enc_data != nullptr
                    ? part->d.encrypted->enc_data->algorithm
                    : nullptr;
            const auto rounds = roundsOf(algorithm);
            if (!rounds) {
                return "it is encrypted in a way this program does not read";
            }
            if (*rounds > limit) {
                return "its encrypted contents ask for " + std::to_string(*rounds) +
                       " rounds of key derivation, more than the " + std::to_string(limit) +
                       " this program allows";
            }
            bags.reset(PKCS12_unpack_p7encdata(part, password, password == nullptr ? 0 : -1));
        }
        if (bags) {
            if (std::string refusal = bagsRefusal(bags.get(), 0, limit); !refusal.empty()) {
                return refusal;
            }
        }
    }
    return {};
}

bool readPkcs12(std::string_view content, const CertificateReading& reading, CertificateFileContent& file) {
    const BioPtr bio = memoryBio(content);
    if (!bio) {
        return false;
    }
    const Pkcs12Ptr p12(d2i_PKCS12_bio(bio.get(), nullptr));
    if (!p12) {
        return false;
    }
    file.format = CertificateFileContent::Format::Pkcs12;
    // The MAC's rounds are known before any are spent: a file can ask for billions.
    if (PKCS12_mac_present(p12.get()) == 1) {
        const ASN1_INTEGER* iterations = nullptr;
        PKCS12_get0_mac(nullptr, nullptr, nullptr, &iterations, p12.get());
        std::int64_t rounds = 1;
        if (iterations != nullptr && ASN1_INTEGER_get_int64(&rounds, iterations) != 1) {
            rounds = std::numeric_limits<std::int64_t>::max();
        }
        if (rounds > reading.maxIterations || rounds < 0) {
            file.unreadable = "its integrity check asks for " +
                              (rounds == std::numeric_limits<std::int64_t>::max() ? std::string("too many")
                                                                                  : std::to_string(rounds)) +
                              " rounds of key derivation, more than the " +
                              std::to_string(reading.maxIterations) + " this program allows";
            return true;
        }
    }
    // "No password" is either the empty text or none at all, depending on the tool that wrote it.
    const char* password = nullptr;
    if (PKCS12_mac_present(p12.get()) == 1) {
        if (PKCS12_verify_mac(p12.get(), "", 0) == 1) {
            password = "";
        } else if (PKCS12_verify_mac(p12.get(), nullptr, 0) != 1) {
            file.passwordProtected = true;
            return true;
        }
    }
    loadLegacyAlgorithms(); // the parts may be encrypted with them
    file.unreadable = contentRefusal(p12.get(), password, reading.maxIterations);
    if (!file.unreadable.empty()) {
        return true;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        EVP_PKEY* rawKey = nullptr;
        X509* rawCertificate = nullptr;
        STACK_OF(X509)* rawChain = nullptr;
        if (PKCS12_parse(p12.get(), password, &rawKey, &rawCertificate, &rawChain) == 1) {
            const KeyPtr key(rawKey);
            const X509Ptr certificate(rawCertificate);
            freeCertificateStack(rawChain);
            if (certificate) {
                ParsedCertificate parsed = describe(certificate.get(), true);
                parsed.info.hasPrivateKey = key && publicKeyOf(key.get()) == parsed.publicKey;
                if (reading.namesOnly) {
                    parsed.publicKey.clear();
                }
                offer(file, reading, std::move(parsed));
            }
            return true;
        }
        loadLegacyAlgorithms();
    }
    return true;
}

} // namespace

CertificateFileContent readCertificateFile(std::string_view content, const CertificateReading& reading) {
    const ErrorQueueMark mark;
    CertificateFileContent file;
    if (readPem(content, reading, file)) {
        file.format = CertificateFileContent::Format::Pem;
        return file;
    }
    if (reading.pkcs12 && readPkcs12(content, reading, file)) {
        return file;
    }
    const auto* start = reinterpret_cast<const unsigned char*>(content.data());
    const unsigned char* cursor = start;
    if (content.size() <= static_cast<std::size_t>(LONG_MAX)) {
        if (const X509Ptr certificate(d2i_X509(nullptr, &cursor, static_cast<long>(content.size())));
            certificate) {
            file.format = CertificateFileContent::Format::Der;
            ParsedCertificate parsed =
                describe(certificate.get(), !reading.namesOnly, {},
                         std::string(content.data(), static_cast<std::size_t>(cursor - start)));
            offer(file, reading, std::move(parsed));
        }
    }
    return file;
}

bool keyMatches(const ParsedCertificate& certificate, bool firstOfFile, const std::vector<ParsedKey>& keys) {
    for (const ParsedKey& key : keys) {
        if (key.encrypted ? firstOfFile : !key.publicKey.empty() && key.publicKey == certificate.publicKey) {
            return true;
        }
    }
    return false;
}

std::string pemOf(const ParsedCertificate& certificate, bool keepAlias) {
    const ErrorQueueMark mark;
    const auto* cursor = reinterpret_cast<const unsigned char*>(certificate.der.data());
    const X509Ptr x509(d2i_X509(nullptr, &cursor, static_cast<long>(certificate.der.size())));
    const BioPtr bio(BIO_new(BIO_s_mem()));
    if (!x509 || !bio) {
        return {};
    }
    const std::string& alias = certificate.info.displayName;
    const bool trusted = keepAlias && !alias.empty();
    if (trusted) {
        X509_alias_set1(x509.get(), reinterpret_cast<const unsigned char*>(alias.data()),
                        static_cast<int>(alias.size()));
    }
    if ((trusted ? PEM_write_bio_X509_AUX(bio.get(), x509.get())
                 : PEM_write_bio_X509(bio.get(), x509.get())) != 1) {
        return {};
    }
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}
