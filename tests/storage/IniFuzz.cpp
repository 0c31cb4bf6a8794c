// Feeds arbitrary bytes to the INI reader and writer: nothing may crash, a written key must
// read back, and a write must keep the bytes before the line it touches.
#include "platform/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    platform::IniDocument document(text);
    for (const char* section : {"on_link", "Setini", "DATA", "Profile_index_1"}) {
        for (const char* key : {"SSID", "true_false", "Ver", "x"}) {
            (void)document.find(section, key);
        }
    }
    const std::string value = text.substr(0, 16);
    if (document.set("on_link", "SSID", value)) {
        const auto back = document.find("on_link", "SSID");
        const std::string expected = value.substr(0, value.find_first_of(std::string("\n\r\0", 3)));
        if (!back) {
            __builtin_trap();
        }
        // Blanks around a value never survive a read; compare what a reader sees.
        if (std::string(platform::trimBlanks(*back)) != std::string(platform::trimBlanks(expected))) {
            __builtin_trap();
        }
    }
    (void)document.text();
    return 0;
}
