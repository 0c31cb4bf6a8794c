// Parses arbitrary registry files: nothing may crash, and what parses must survive being
// written and parsed again.
#include "platform/UserRegistry.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto values = platform::RegistryKey::parse(text);
    if (values) {
        const auto again =
            platform::RegistryKey::parse(platform::RegistryKey::format("Software\\Fuzz", *values));
        if (!again || *again != *values) {
            __builtin_trap();
        }
    }
    return 0;
}
