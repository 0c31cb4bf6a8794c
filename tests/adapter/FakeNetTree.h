#pragma once

#include <filesystem>
#include <fstream>
#include <string>

// A directory laid out like /sys/class/net (and the few /proc and /etc files the backend
// reads), for the backend's tests. Removed with the object.
class FakeNetTree {
public:
    FakeNetTree() {
        char pattern[] = "/tmp/skyvane-net.XXXXXX";
        m_root = ::mkdtemp(pattern);
        std::filesystem::create_directories(sysClassNet());
        std::filesystem::create_directories(proc() + "/net");
        std::filesystem::create_directories(proc() + "/sys/kernel");
        write(proc() + "/sys/kernel/osrelease", "6.1.0-test-amd64\n");
    }
    ~FakeNetTree() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    FakeNetTree(const FakeNetTree&) = delete;
    FakeNetTree& operator=(const FakeNetTree&) = delete;

    std::string root() const { return m_root; }
    std::string sysClassNet() const { return m_root + "/sys/class/net"; }
    std::string proc() const { return m_root + "/proc"; }
    std::string resolvConf() const { return m_root + "/resolv.conf"; }

    // An interface with a MAC address and zeroed statistics; wireless ones get phy80211.
    void addInterface(const std::string& name, bool wireless, const std::string& mac = "02:00:00:00:00:01") {
        const std::string dir = sysClassNet() + "/" + name;
        std::filesystem::create_directories(dir + "/statistics");
        write(dir + "/address", mac + "\n");
        if (wireless) {
            std::filesystem::create_directories(dir + "/phy80211");
        }
    }
    void removeInterface(const std::string& name) { std::filesystem::remove_all(sysClassNet() + "/" + name); }

    // A PCI device bound to a driver module, linked the way the kernel links them.
    void addDevice(const std::string& name, const std::string& driver, const std::string& moduleVersion) {
        const std::string device = m_root + "/devices/pci0000:00/0000:00:14.3";
        std::filesystem::create_directories(device);
        write(device + "/vendor", "0x8086\n");
        write(device + "/device", "0x2723\n");
        write(device + "/revision", "0x1a\n");
        const std::string driverDir = m_root + "/bus/pci/drivers/" + driver;
        const std::string moduleDir = m_root + "/module/" + driver;
        std::filesystem::create_directories(driverDir);
        std::filesystem::create_directories(moduleDir);
        if (!moduleVersion.empty()) {
            write(moduleDir + "/version", moduleVersion + "\n");
        }
        std::filesystem::create_symlink(moduleDir, driverDir + "/module");
        std::filesystem::create_symlink(driverDir, device + "/driver");
        std::filesystem::create_symlink(device, sysClassNet() + "/" + name + "/device");
    }

    void setCounter(const std::string& name, const std::string& counter, const std::string& value) {
        write(sysClassNet() + "/" + name + "/statistics/" + counter, value + "\n");
    }
    void setRfkill(const std::string& name, const std::string& soft, const std::string& hard) {
        const std::string dir = sysClassNet() + "/" + name + "/phy80211/rfkill3";
        std::filesystem::create_directories(dir);
        write(dir + "/soft", soft + "\n");
        write(dir + "/hard", hard + "\n");
    }

    static void write(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }

private:
    std::string m_root;
};
