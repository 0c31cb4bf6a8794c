#include "adapter/SystemNetworkService.h"

#include "platform/Diagnostics.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr uint64_t busTimeoutUsec = 500'000;
constexpr const char* managerName = "org.freedesktop.NetworkManager";

struct MessageDeleter {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Message = std::unique_ptr<sd_bus_message, MessageDeleter>;

class NetworkManagerClient {
public:
    ~NetworkManagerClient() { close(); }

    SystemServiceReport query(const std::string& interfaceName) {
        if (m_bus == nullptr && sd_bus_open_system(&m_bus) < 0) {
            m_bus = nullptr;
            return {}; // no system bus: nothing manages anything
        }
        int has = 0;
        Message reply = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "NameHasOwner", "s", managerName);
        if (!reply || sd_bus_message_read(reply.get(), "b", &has) < 0) {
            close(); // the bus itself failed; open it anew next time
            return {};
        }
        if (!has) {
            return {};
        }
        const char* devicePath = nullptr;
        reply = call(managerName, "/org/freedesktop/NetworkManager", managerName, "GetDeviceByIpIface", "s",
                     interfaceName.c_str());
        if (!reply || sd_bus_message_read(reply.get(), "o", &devicePath) < 0 || devicePath == nullptr) {
            return {}; // NetworkManager does not know the interface
        }
        const std::string device = devicePath;
        int managed = 0;
        uint32_t state = 0;
        Message managedReply = call(managerName, device.c_str(), "org.freedesktop.DBus.Properties", "Get",
                                    "ss", "org.freedesktop.NetworkManager.Device", "Managed");
        if (!managedReply || sd_bus_message_read(managedReply.get(), "v", "b", &managed) < 0) {
            return {};
        }
        Message stateReply = call(managerName, device.c_str(), "org.freedesktop.DBus.Properties", "Get", "ss",
                                  "org.freedesktop.NetworkManager.Device", "State");
        if (stateReply) {
            sd_bus_message_read(stateReply.get(), "v", "u", &state);
        }
        SystemServiceReport report;
        report.manages = managed != 0;
        report.state = report.manages ? static_cast<int32_t>(state) : 0;
        return report;
    }

private:
    template <typename... Args>
    Message call(const char* destination, const char* path, const char* interface, const char* member,
                 const char* types, Args... args) {
        sd_bus_message* request = nullptr;
        if (sd_bus_message_new_method_call(m_bus, &request, destination, path, interface, member) < 0) {
            return nullptr;
        }
        const Message owned(request);
        if (sd_bus_message_append(request, types, args...) < 0) {
            return nullptr;
        }
        sd_bus_error error{}; // SD_BUS_ERROR_NULL, without its C compound literal
        sd_bus_message* reply = nullptr;
        const int result = sd_bus_call(m_bus, request, busTimeoutUsec, &error, &reply);
        sd_bus_error_free(&error);
        return result < 0 ? nullptr : Message(reply);
    }

    void close() {
        if (m_bus != nullptr) {
            sd_bus_flush_close_unref(m_bus);
            m_bus = nullptr;
        }
    }

    sd_bus* m_bus = nullptr;
};

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view directories = path != nullptr ? path : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = directories.find(':');
        const std::string directory(directories.substr(0, colon));
        if (!directory.empty() && ::access((directory + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        if (colon == std::string_view::npos) {
            return false;
        }
        directories.remove_prefix(colon + 1);
    }
}

// The programs that open the desktop's network settings, in the order they are tried.
const std::vector<std::vector<std::string>>& networkSettingsCommands() {
    static const std::vector<std::vector<std::string>> commands = {
        {"nm-connection-editor"},
        {"gnome-control-center", "wifi"},
        {"systemsettings", "kcm_networkmanagement"},
        {"systemsettings5", "kcm_networkmanagement"},
    };
    return commands;
}

} // namespace

SystemServiceQuery networkManagerQuery() {
    auto client = std::make_shared<NetworkManagerClient>();
    return [client](const std::string& interfaceName) { return client->query(interfaceName); };
}

bool openDesktopNetworkSettings() {
    for (const auto& command : networkSettingsCommands()) {
        if (!onPath(command.front())) {
            continue;
        }
        // A shell that starts the program in the background and ends at once: the program
        // outlives it as nobody's child, so this process has no child left to reap.
        std::vector<std::string> words = {"/bin/sh", "-c", "\"$0\" \"$@\" </dev/null >/dev/null 2>&1 &"};
        words.insert(words.end(), command.begin(), command.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_t shell = 0;
        if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) {
            continue;
        }
        int status = 0;
        ::waitpid(shell, &status, 0);
        diag::info(diag::adapterCategory, "opened the desktop's network settings with " + command.front());
        return true;
    }
    diag::warning(diag::adapterCategory,
                  "cannot open the desktop's network settings: none of nm-connection-editor, "
                  "gnome-control-center or systemsettings is installed");
    return false;
}
