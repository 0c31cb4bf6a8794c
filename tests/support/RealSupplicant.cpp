#include "support/RealSupplicant.h"

#include "adapter/WpaControl.h"
#include "adapter/WpaReplies.h"
#include "platform/Diagnostics.h"
#include "support/WaitFor.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

extern char** environ;

std::string RealSupplicant::binary() {
    for (const char* path : {"/usr/sbin/wpa_supplicant", "/sbin/wpa_supplicant"}) {
        if (::access(path, X_OK) == 0) {
            return path;
        }
    }
    return {};
}

RealSupplicant::RealSupplicant(std::string directory, const std::string& networks)
    : m_directory(std::move(directory)), m_controlDirectory(m_directory + "/ctrl") {
    std::ofstream(m_directory + "/wpa.conf") << "ctrl_interface=" << m_controlDirectory << "\n"
                                             << "update_config=0\n\n"
                                             << networks;
}

RealSupplicant::~RealSupplicant() {
    stop();
}

bool RealSupplicant::start(std::string& why) {
    const std::string program = binary();
    if (program.empty()) {
        why = "wpa_supplicant is not installed (scripts/deps installs wpasupplicant)";
        return false;
    }
    const std::string log = m_directory + "/supplicant.log";
    std::vector<std::string> words = {
        program, "-D", "none", "-i", m_interface, "-c", m_directory + "/wpa.conf"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_pid = 0;
        why = diag::reason(spawned);
        return false;
    }
    // Up when its socket answers; given up as soon as the process has ended.
    bool ended = false;
    const auto answers = [&] {
        std::string reason;
        auto connection = WpaControlConnection::open(m_controlDirectory + "/" + m_interface, reason);
        return connection && connection->request("PING").text == "PONG\n";
    };
    const bool settled = waitFor(
        [&] {
            ended = ::waitpid(m_pid, nullptr, WNOHANG) == m_pid;
            return ended || answers();
        },
        10s, 50ms);
    if (settled && !ended) {
        return true;
    }
    if (ended) {
        m_pid = 0;
        std::ifstream in(log);
        std::stringstream output;
        output << in.rdbuf();
        why = "it ended at once: " + output.str();
        return false;
    }
    why = "its control socket never answered";
    stop();
    return false;
}

void RealSupplicant::stop() {
    if (m_pid <= 0) {
        return;
    }
    ::kill(m_pid, SIGTERM);
    if (waitFor([&] { return ::waitpid(m_pid, nullptr, WNOHANG) == m_pid; }, 2s, 20ms)) {
        m_pid = 0;
        return;
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = 0;
}

std::string RealSupplicant::request(const std::string& command) const {
    std::string reason;
    auto connection = WpaControlConnection::open(m_controlDirectory + "/" + m_interface, reason);
    return connection ? connection->request(command).text : "(no socket: " + reason + ")";
}

std::map<int, std::map<std::string, std::string>>
RealSupplicant::blocks(const std::vector<std::string>& fields) const {
    std::map<int, std::map<std::string, std::string>> result;
    std::string reason;
    auto connection = WpaControlConnection::open(m_controlDirectory + "/" + m_interface, reason);
    if (!connection) {
        return result;
    }
    const auto list = wpa::parseNetworkList(connection->request("LIST_NETWORKS").text);
    for (const wpa::ListedNetwork& network : list.value_or(std::vector<wpa::ListedNetwork>{})) {
        for (const std::string& field : fields) {
            std::string value =
                connection->request("GET_NETWORK " + std::to_string(network.id) + " " + field).text;
            if (value == "FAIL\n") {
                value = "FAIL";
            }
            result[network.id][field] = value;
        }
    }
    return result;
}
