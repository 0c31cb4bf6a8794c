#include "adapter/NetInterfaceFiles.h"

#include "adapter/WpaReplies.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

bool present(const fs::path& entry) {
    std::error_code error;
    return fs::exists(fs::symlink_status(entry, error)) && !error;
}

// An interface name is one path component: nothing that could climb out of the root.
bool plausibleName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::string withoutHexPrefix(std::string text) {
    if (text.rfind("0x", 0) == 0) {
        text.erase(0, 2);
    }
    return text;
}

} // namespace

NetInterfaceFiles::NetInterfaceFiles(NetFileRoots roots) : m_roots(std::move(roots)) {}

std::string NetInterfaceFiles::path(const std::string& interfaceName, const std::string& entry) const {
    return m_roots.sysClassNet + "/" + interfaceName + (entry.empty() ? "" : "/" + entry);
}

bool NetInterfaceFiles::exists(const std::string& interfaceName) const {
    return plausibleName(interfaceName) && present(path(interfaceName, ""));
}

bool NetInterfaceFiles::isWireless(const std::string& interfaceName) const {
    return exists(interfaceName) &&
           (present(path(interfaceName, "wireless")) || present(path(interfaceName, "phy80211")));
}

std::vector<std::string> NetInterfaceFiles::wirelessInterfaces() const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(m_roots.sysClassNet, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (isWireless(name)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::array<unsigned char, 6>>
NetInterfaceFiles::macAddress(const std::string& interfaceName) const {
    unsigned char parsed[6] = {};
    if (!wpa::parseMac(firstLine(path(interfaceName, "address")), parsed)) {
        return std::nullopt;
    }
    std::array<unsigned char, 6> mac{};
    std::copy(std::begin(parsed), std::end(parsed), mac.begin());
    return mac;
}

std::string NetInterfaceFiles::driverName(const std::string& interfaceName) const {
    std::error_code error;
    const fs::path target = fs::read_symlink(path(interfaceName, "device/driver"), error);
    return error ? std::string() : target.filename().string();
}

std::string NetInterfaceFiles::driverVersion(const std::string& interfaceName) const {
    const std::string version = firstLine(path(interfaceName, "device/driver/module/version"));
    if (!version.empty()) {
        return version;
    }
    return firstLine(m_roots.proc + "/sys/kernel/osrelease");
}

std::string NetInterfaceFiles::hardwareId(const std::string& interfaceName) const {
    std::string vendor = firstLine(path(interfaceName, "device/vendor"));
    std::string device = firstLine(path(interfaceName, "device/device"));
    if (vendor.empty() || device.empty()) {
        // A USB adapter's interface directory sits below the device that has the ids.
        vendor = firstLine(path(interfaceName, "device/../idVendor"));
        device = firstLine(path(interfaceName, "device/../idProduct"));
    }
    if (vendor.empty() || device.empty()) {
        return {};
    }
    return withoutHexPrefix(vendor) + ":" + withoutHexPrefix(device);
}

std::string NetInterfaceFiles::hardwareRevision(const std::string& interfaceName) const {
    return firstLine(path(interfaceName, "device/revision"));
}

bool NetInterfaceFiles::radioBlocked(const std::string& interfaceName) const {
    std::error_code error;
    for (fs::directory_iterator it(path(interfaceName, "phy80211"), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("rfkill", 0) != 0) {
            continue;
        }
        if (firstLine(it->path() / "soft") == "1" || firstLine(it->path() / "hard") == "1") {
            return true;
        }
    }
    return false;
}

uint64_t NetInterfaceFiles::counter(const std::string& interfaceName, const std::string& name) const {
    const std::string text = firstLine(path(interfaceName, "statistics/" + name));
    uint64_t value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failure == std::errc() && end == text.data() + text.size() ? value : 0;
}

std::string NetInterfaceFiles::gateway(const std::string& interfaceName) const {
    // /proc/net/route: "Iface Destination Gateway Flags ..." with addresses as host-order hex
    // of the network-order bytes, so the first byte of the address is the lowest.
    std::ifstream in(m_roots.proc + "/net/route");
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream columns(line);
        std::string name;
        std::string destination;
        std::string gateway;
        if (!(columns >> name >> destination >> gateway) || name != interfaceName ||
            destination != "00000000") {
            continue;
        }
        uint32_t value = 0;
        const auto [end, failure] =
            std::from_chars(gateway.data(), gateway.data() + gateway.size(), value, 16);
        if (failure != std::errc() || end != gateway.data() + gateway.size() || value == 0) {
            continue;
        }
        return std::to_string(value & 0xff) + "." + std::to_string((value >> 8) & 0xff) + "." +
               std::to_string((value >> 16) & 0xff) + "." + std::to_string(value >> 24);
    }
    return {};
}

std::string NetInterfaceFiles::nameServer() const {
    std::ifstream in(m_roots.resolvConf);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string keyword;
        std::string address;
        if (words >> keyword >> address && keyword == "nameserver") {
            return address;
        }
    }
    return {};
}
