#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The simulated adapter's world: the adapter itself and the networks around it, read from an
// INI text. Reading never fails: a malformed line or value is skipped and its default stays.
namespace wlansim {

using Mac = std::array<uint8_t, 6>;

enum class NetworkKind { Infrastructure, AdHoc, SoftAp };
enum class Security { Open, Wep, SharedWep, Wpa, WpaPsk, Wpa2, Wpa2Psk, WpaNone };
enum class Cipher { Tkip, Aes };
enum class Band { B, G, A };

struct AdapterSection {
    bool present = true;
    bool initFails = false;
    std::string hardwareId = "PCI\\VEN_168C&DEV_0013&SUBSYS_1A2B3C4D";
    Mac mac{0x00, 0x0b, 0x6b, 0x3a, 0x5c, 0x21};
    std::string driverDescription = "Skyvane Dual-Band Wireless Adapter (simulated)";
    std::string driverVersion = "4.2.1.17";
    std::string hardwareVersion = "Rev 1.3";
    std::string apiVersion = "2.0.3";
    int chipset = 5;
    int channelPlan = 3;
    int systemControl = 0;
    int radioOff = 0;
    int surveyDelayMs = 400;
    int associationDelayMs = 1500;
    int jitter = 4;
};

struct Network {
    std::string name; // the section name, "[network NAME]"
    std::string ssid;
    Mac bssid{};
    int channel = 6; // channel number
    Band band = Band::G;
    NetworkKind kind = NetworkKind::Infrastructure;
    Security security = Security::Open;
    Cipher cipher = Cipher::Aes;
    std::string key;
    int signal = 60;
    int quality = -1; // -1: follows the signal
    int txKbps = 0;
    int rxKbps = 0;

    int linkQuality() const { return quality < 0 ? signal : quality; }
};

// The configuration the driver starts with when it has no saved settings ("[driver]").
struct FactoryNetwork {
    NetworkKind kind = NetworkKind::Infrastructure;
    std::string ssid;
    Security security = Security::Open;
    Cipher cipher = Cipher::Aes;
    std::string key;
    int channel = 11; // channel number
};

struct World {
    AdapterSection adapter;
    std::vector<Network> networks;
    FactoryNetwork factory;
};

// Limits that keep any input cheap to hold.
inline constexpr std::size_t maxNetworks = 255;
inline constexpr std::size_t maxTextLength = 255;
inline constexpr std::size_t maxSsidLength = 32;
inline constexpr std::size_t maxKeyLength = 64;

World parseWorld(std::string_view text);

// The world delivered with the program, used when no world file exists.
std::string_view defaultWorldText();
const World& defaultWorld();

// Section names: "adapter", "driver" or "network NAME" (NAME returned through network).
enum class SectionKind { Adapter, Driver, Network, Unknown };
SectionKind classifySection(std::string_view header, std::string& network);

// Checks one key=value pair of a section against the same rules the reader applies.
// Returns an empty string when the pair is accepted, else the reason.
std::string checkAdapterValue(std::string_view key, std::string_view value);
std::string checkNetworkValue(std::string_view key, std::string_view value);

// Value readers shared with the tool; std::nullopt for a malformed value.
std::optional<int> parseInt(std::string_view text, int low, int high);
std::optional<Mac> parseMac(std::string_view text);
std::string macText(const Mac& mac);

std::string_view securityName(Security security);
std::string_view kindName(NetworkKind kind);
std::string_view bandName(Band band);

std::string trim(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace wlansim
