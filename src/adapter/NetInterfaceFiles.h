#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the kernel's files tell about network interfaces: /sys/class/net/IFACE and a few files
// under /proc and /etc. Every root is configurable so that tests can lay out a fake tree.
struct NetFileRoots {
    std::string sysClassNet = "/sys/class/net";
    std::string proc = "/proc";                  // net/route, sys/kernel/osrelease
    std::string resolvConf = "/etc/resolv.conf"; // the name server
};

class NetInterfaceFiles {
public:
    explicit NetInterfaceFiles(NetFileRoots roots = {});

    bool exists(const std::string& interfaceName) const;
    bool isWireless(const std::string& interfaceName) const;
    // Every interface that is wireless (a "wireless" or "phy80211" entry), sorted by name.
    std::vector<std::string> wirelessInterfaces() const;

    std::optional<std::array<unsigned char, 6>> macAddress(const std::string& interfaceName) const;
    // The driver's name (the last part of device/driver), empty without a device.
    std::string driverName(const std::string& interfaceName) const;
    // The driver module's version; the kernel's release for a driver built into it or one
    // without a version of its own.
    std::string driverVersion(const std::string& interfaceName) const;
    // "vendor:device" of the bus device ("8086:2723"), empty when the bus tells none.
    std::string hardwareId(const std::string& interfaceName) const;
    std::string hardwareRevision(const std::string& interfaceName) const;
    // True when a kill switch blocks the radio (soft or hard).
    bool radioBlocked(const std::string& interfaceName) const;

    // One counter of statistics/ ("rx_bytes"); 0 when it cannot be read.
    uint64_t counter(const std::string& interfaceName, const std::string& name) const;

    // The default gateway of the interface as a dotted quad, empty when it has none.
    std::string gateway(const std::string& interfaceName) const;
    // The first name server the resolver is given, empty when none.
    std::string nameServer() const;

private:
    std::string path(const std::string& interfaceName, const std::string& entry) const;

    NetFileRoots m_roots;
};
