#include "adapter/SystemNetworkService.h"
#include "platform/Diagnostics.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

using namespace std::chrono_literals;

extern char** environ;

namespace {

// A bus of the test's own (dbus-daemon with the session configuration), named as the system
// bus for this process.
class PrivateBus {
public:
    PrivateBus() {
        char pattern[] = "/tmp/skyvane-bus.XXXXXX";
        m_dir = ::mkdtemp(pattern);
        const std::string out = m_dir + "/address";
        std::vector<std::string> words = {"/usr/bin/dbus-daemon", "--session", "--nofork",
                                          "--print-address=1"};
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        if (m_pid > 0) {
            waitFor(
                [&] {
                    std::ifstream in(out);
                    std::getline(in, m_address);
                    return !m_address.empty();
                },
                10s, 20ms);
        }
    }
    ~PrivateBus() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    const std::string& address() const { return m_address; }

private:
    std::string m_dir;
    pid_t m_pid = 0;
    std::string m_address;
};

// NetworkManager as far as the query meets it: the manager's GetDeviceByIpIface and each
// device's Managed and State properties.
class FakeNetworkManager {
public:
    struct Device {
        bool managed;
        uint32_t state;
    };

    explicit FakeNetworkManager(const std::string& address, std::map<std::string, Device> devices)
        : m_devices(std::move(devices)) {
        sd_bus_new(&m_bus);
        sd_bus_set_address(m_bus, address.c_str());
        sd_bus_set_bus_client(m_bus, 1);
        m_ok = sd_bus_start(m_bus) >= 0 &&
               sd_bus_add_fallback(m_bus, nullptr, "/org/freedesktop/NetworkManager",
                                   &FakeNetworkManager::handle, this) >= 0 &&
               sd_bus_request_name(m_bus, "org.freedesktop.NetworkManager", 0) >= 0;
        m_thread = std::thread([this] {
            while (!m_quit) {
                {
                    const std::lock_guard<std::mutex> guard(m_mutex);
                    while (sd_bus_process(m_bus, nullptr) > 0) {
                    }
                }
                sd_bus_wait(m_bus, 20'000);
            }
        });
    }
    ~FakeNetworkManager() {
        m_quit = true;
        m_thread.join();
        sd_bus_flush_close_unref(m_bus);
    }
    bool ok() const { return m_ok; }

private:
    static int handle(sd_bus_message* message, void* self, sd_bus_error* error) {
        auto* manager = static_cast<FakeNetworkManager*>(self);
        const std::string member = sd_bus_message_get_member(message);
        const std::string path = sd_bus_message_get_path(message);
        if (member == "GetDeviceByIpIface") {
            const char* name = nullptr;
            sd_bus_message_read(message, "s", &name);
            if (!manager->m_devices.count(name)) {
                return sd_bus_error_set(error, "org.freedesktop.NetworkManager.UnknownDevice",
                                        "No such device");
            }
            return sd_bus_reply_method_return(
                message, "o", ("/org/freedesktop/NetworkManager/Devices/" + std::string(name)).c_str());
        }
        if (member == "Get") {
            const char* interface = nullptr;
            const char* property = nullptr;
            sd_bus_message_read(message, "ss", &interface, &property);
            const std::string name = path.substr(path.rfind('/') + 1);
            const auto device = manager->m_devices.find(name);
            if (device == manager->m_devices.end() ||
                std::string(interface) != "org.freedesktop.NetworkManager.Device") {
                return sd_bus_error_set(error, "org.freedesktop.DBus.Error.UnknownObject", "No such object");
            }
            if (std::string(property) == "Managed") {
                return sd_bus_reply_method_return(message, "v", "b", device->second.managed ? 1 : 0);
            }
            return sd_bus_reply_method_return(message, "v", "u", device->second.state);
        }
        return 0;
    }

    std::map<std::string, Device> m_devices;
    sd_bus* m_bus = nullptr;
    bool m_ok = false;
    std::mutex m_mutex;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

class SystemNetworkServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* previous = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        m_previous = previous ? std::optional<std::string>(previous) : std::nullopt;
    }
    void TearDown() override {
        if (m_previous) {
            ::setenv("DBUS_SYSTEM_BUS_ADDRESS", m_previous->c_str(), 1);
        } else {
            ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        }
    }

private:
    std::optional<std::string> m_previous;
};

TEST_F(SystemNetworkServiceTest, WithoutASystemBusNothingManagesTheInterface) {
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus_socket", 1);
    const SystemServiceQuery query = networkManagerQuery();
    const SystemServiceReport report = query("wlan0");
    EXPECT_FALSE(report.manages);
    EXPECT_EQ(report.state, 0);
}

TEST_F(SystemNetworkServiceTest, NetworkManagerIsAskedAboutTheInterfaceOverTheBus) {
    if (::access("/usr/bin/dbus-daemon", X_OK) != 0) {
        GTEST_SKIP() << "dbus-daemon is not installed (scripts/deps installs it)";
    }
    PrivateBus bus;
    ASSERT_FALSE(bus.address().empty()) << "dbus-daemon did not start";
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address().c_str(), 1);
    const SystemServiceQuery query = networkManagerQuery();

    EXPECT_FALSE(query("wlan0").manages); // the bus is there, NetworkManager is not
    {
        FakeNetworkManager manager(bus.address(), {{"wlan0", {true, 100}}, {"wlan1", {false, 10}}});
        ASSERT_TRUE(manager.ok());
        const SystemServiceReport wlan0 = query("wlan0");
        EXPECT_TRUE(wlan0.manages);
        EXPECT_EQ(wlan0.state, 100);
        const SystemServiceReport wlan1 = query("wlan1");
        EXPECT_FALSE(wlan1.manages);
        EXPECT_EQ(wlan1.state, 0);
        EXPECT_FALSE(query("wlan9").manages); // a device NetworkManager does not know
    }
    EXPECT_FALSE(query("wlan0").manages); // NetworkManager has gone: the same query says so
}

TEST_F(SystemNetworkServiceTest, TheDesktopsNetworkSettingsStartDetached) {
    char pattern[] = "/tmp/skyvane-path.XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    const char* previousPath = std::getenv("PATH");
    const std::string savedPath = previousPath ? previousPath : "";
    std::vector<std::string> lines;
    diag::setSink(
        [&](diag::Level, std::string_view, std::string_view message) { lines.emplace_back(message); });

    ::setenv("PATH", dir.c_str(), 1);
    EXPECT_FALSE(openDesktopNetworkSettings());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("cannot open the desktop's network settings"), std::string::npos);

    // The second program of the list, with its argument.
    const std::string script = dir + "/gnome-control-center";
    std::ofstream(script) << "#!/bin/sh\necho \"$@\" > " << dir << "/started\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    EXPECT_TRUE(openDesktopNetworkSettings());
    std::string started;
    waitFor(
        [&] {
            std::ifstream in(dir + "/started");
            std::getline(in, started);
            return !started.empty();
        },
        10s, 20ms);
    EXPECT_EQ(started, "wifi");

    ::setenv("PATH", savedPath.c_str(), 1);
    diag::setSink({});
    std::filesystem::remove_all(dir);
}

} // namespace
