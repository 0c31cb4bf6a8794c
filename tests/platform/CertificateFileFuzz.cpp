// Reads arbitrary bytes as a certificate file, the way the store reads whatever lies in the
// user's folders, and checks what it reports of the certificates it finds.
//
// Kept fast, so that minutes of fuzzing reach far: inputs are cut at maxInput (a client
// certificate file is a few kilobytes; a larger one only repeats blocks), PKCS#12 files may ask
// for a few rounds of key derivation only (each round is spent on hashing, not on parsing), and
// certificate.dict gives the fuzzer the DER and PEM words certificate files are made of.
#include "platform/CertificateFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Freed memory is kept from reuse only briefly: the reads allocate much, and a quarantine of
// the usual size held most of the run's memory without finding more.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

namespace {

constexpr std::size_t maxInput = 16384;
constexpr long long fuzzedRounds = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > maxInput) {
        return -1; // not added to the corpus
    }
    CertificateReading whole;
    whole.maxIterations = fuzzedRounds;
    const CertificateFileContent file =
        readCertificateFile(std::string_view(reinterpret_cast<const char*>(data), size), whole);
    for (const ParsedCertificate& certificate : file.certificates) {
        if (certificate.der.empty() ||
            (!certificate.info.hash.empty() && certificate.info.hash.size() != 20)) {
            __builtin_trap();
        }
        (void)keyMatches(certificate, true, file.keys);
        (void)pemOf(certificate, true);
    }
    if ((file.passwordProtected || !file.unreadable.empty()) && !file.certificates.empty()) {
        __builtin_trap();
    }
    // The quick reading an authority list makes: names and hashes only.
    CertificateReading namesOnly;
    namesOnly.namesOnly = true;
    namesOnly.pkcs12 = false; // as the authorities are read
    for (const ParsedCertificate& certificate :
         readCertificateFile(std::string_view(reinterpret_cast<const char*>(data), size), namesOnly)
             .certificates) {
        if (certificate.der.empty() || !certificate.publicKey.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
