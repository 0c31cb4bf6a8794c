// Reads arbitrary bytes as a certificate file, the way the store reads whatever lies in the
// user's folders, and checks what it reports of the certificates it finds.
#include "platform/CertificateFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CertificateFileContent file =
        readCertificateFile(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const ParsedCertificate& certificate : file.certificates) {
        if (certificate.der.empty() ||
            (!certificate.info.hash.empty() && certificate.info.hash.size() != 20)) {
            __builtin_trap();
        }
        (void)keyMatches(certificate, true, file.keys);
        (void)pemOf(certificate, true);
    }
    if (file.passwordProtected && !file.certificates.empty()) {
        __builtin_trap();
    }
    // The quick reading an authority list makes: names and hashes only.
    CertificateReading namesOnly;
    namesOnly.namesOnly = true;
    for (const ParsedCertificate& certificate :
         readCertificateFile(std::string_view(reinterpret_cast<const char*>(data), size), namesOnly)
             .certificates) {
        if (certificate.der.empty() || !certificate.publicKey.empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
