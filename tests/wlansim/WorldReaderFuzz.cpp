// Any bytes as a world file, a saved driver-settings file and an edited INI text.
#include "wlansim/DriverSettings.h"
#include "wlansim/IniText.h"
#include "wlansim/TextEscape.h"
#include "wlansim/World.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    wlansim::World world = wlansim::parseWorld(text);
    if (world.networks.size() > wlansim::maxNetworks) {
        __builtin_trap();
    }
    for (const auto& network : world.networks) {
        if (network.ssid.size() > wlansim::maxSsidLength || network.signal < 0 || network.signal > 100) {
            __builtin_trap();
        }
    }
    wlansim::DriverSettings settings = wlansim::parseSettings(text, wlansim::factorySettings(world));
    if (wlansim::parseSettings(wlansim::serializeSettings(settings), {}) != settings) {
        __builtin_trap();
    }
    if (wlansim::IniText(text).text() != text) {
        __builtin_trap();
    }
    if (wlansim::unquoteText(wlansim::quoteText(text)) != std::string(text)) {
        __builtin_trap();
    }
    return 0;
}
