// Decodes arbitrary stored values, and checks that every text of up to 127 bytes survives
// encoding and decoding.
#include "storage/StoredText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)DecodeStoredText(text);
    const std::string plain = text.substr(0, maxStoredPlainBytes);
    if (DecodeStoredText(EncodeStoredText(plain)) != plain) {
        __builtin_trap();
    }
    return 0;
}
