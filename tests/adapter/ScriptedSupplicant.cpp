#include "ScriptedSupplicant.h"

#include <cstring>
#include <stdexcept>

#include <poll.h>
#include <unistd.h>

namespace {

bool isSecret(const std::string& field) {
    return field == "psk" || field == "private_key_passwd" || field == "password" ||
           (field.rfind("wep_key", 0) == 0 && field != "wep_tx_keyidx");
}

// The words of a command: the first `count` split at spaces, the rest as it is.
std::vector<std::string> splitCommand(const std::string& command, std::size_t count) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (words.size() + 1 < count) {
        const std::size_t space = command.find(' ', at);
        if (space == std::string::npos) {
            break;
        }
        words.push_back(command.substr(at, space - at));
        at = space + 1;
    }
    words.push_back(command.substr(at));
    return words;
}

std::optional<int> number(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 6) {
        return std::nullopt;
    }
    return std::stoi(text);
}

} // namespace

ScriptedSupplicant::ScriptedSupplicant(std::string directory, std::string interfaceName)
    : m_path(directory + "/" + interfaceName) {
    m_answers["PING"] = "PONG\n";
    m_answers["STATUS"] = replies::statusDisconnected;
    m_answers["SCAN"] = "OK\n";
    m_answers["SIGNAL_POLL"] = "FAIL\n";
    m_answers["GET country"] = "FAIL\n";
    bindSocket();
    m_thread = std::thread([this] { run(); });
}

ScriptedSupplicant::~ScriptedSupplicant() {
    m_quit = true;
    m_thread.join();
    closeSocket();
}

void ScriptedSupplicant::bindSocket() {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || m_path.size() >= sizeof address.sun_path) {
        throw std::runtime_error("cannot make the scripted supplicant's socket");
    }
    std::memcpy(address.sun_path, m_path.c_str(), m_path.size() + 1);
    ::unlink(m_path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot bind " + m_path);
    }
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_socket = fd;
}

void ScriptedSupplicant::closeSocket() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (m_socket >= 0) {
        // Shut down first: the answering thread may be inside poll() with the socket, which
        // keeps it open past close(); a supplicant that exits leaves no socket behind.
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        ::unlink(m_path.c_str());
        m_socket = -1;
    }
    m_monitors.clear();
}

void ScriptedSupplicant::stop() {
    closeSocket();
}

void ScriptedSupplicant::restart(bool keepNetworks) {
    closeSocket();
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (!keepNetworks) {
            m_networks = m_configured;
        }
    }
    bindSocket();
}

void ScriptedSupplicant::run() {
    char buffer[4096];
    while (!m_quit) {
        int fd = -1;
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            fd = m_socket;
        }
        if (fd < 0) {
            ::usleep(5000);
            continue;
        }
        pollfd descriptor{fd, POLLIN, 0};
        if (::poll(&descriptor, 1, 10) <= 0) {
            continue;
        }
        std::string command;
        std::optional<std::string> answer;
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            if (m_socket != fd) {
                continue; // stopped or restarted meanwhile
            }
            sockaddr_un from{};
            socklen_t length = sizeof from;
            const ssize_t received = ::recvfrom(fd, buffer, sizeof buffer, MSG_DONTWAIT,
                                                reinterpret_cast<sockaddr*>(&from), &length);
            if (received < 0) {
                continue;
            }
            command.assign(buffer, static_cast<std::size_t>(received));
            m_commands.push_back(command);
            answer = reply(command, from, length);
            if (answer) {
                ::sendto(fd, answer->data(), answer->size(), MSG_DONTWAIT,
                         reinterpret_cast<const sockaddr*>(&from), length);
            }
        }
        std::function<void(const std::string&)> hook;
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            hook = m_after;
        }
        if (hook) {
            hook(command);
        }
    }
}

std::optional<std::string> ScriptedSupplicant::reply(const std::string& command, const sockaddr_un& from,
                                                     socklen_t length) {
    if (m_silenced.count(command)) {
        return std::nullopt;
    }
    if (command == "ATTACH") {
        m_monitors.emplace_back(from, length);
        return "OK\n";
    }
    if (command == "DETACH") {
        return "OK\n";
    }
    const auto scripted = m_answers.find(command);
    if (scripted != m_answers.end()) {
        return scripted->second;
    }
    if (command.rfind("BSS ", 0) == 0) {
        const std::vector<std::string> words = splitCommand(command, 3);
        std::size_t next = 0;
        if (words[1].rfind("NEXT-", 0) == 0) {
            next = m_bss.size();
            for (std::size_t i = 0; i < m_bss.size(); ++i) {
                if (m_bss[i].rfind("id=" + words[1].substr(5) + "\n", 0) == 0) {
                    next = i + 1;
                }
            }
        } else if (words[1] != "FIRST") {
            return "FAIL\n";
        }
        return next < m_bss.size() ? m_bss[next] : std::string();
    }
    if (const auto network = networkReply(command)) {
        return network;
    }
    return "UNKNOWN COMMAND\n";
}

std::optional<std::string> ScriptedSupplicant::networkReply(const std::string& command) {
    if (command == "ADD_NETWORK") {
        m_networks[m_nextId] = Network{};
        return std::to_string(m_nextId++) + "\n";
    }
    if (command == "LIST_NETWORKS") {
        std::string list = "network id / ssid / bssid / flags\n";
        for (const auto& [id, network] : m_networks) {
            std::string ssid;
            const auto found = network.fields.find("ssid");
            if (found != network.fields.end()) {
                ssid = found->second.size() >= 2 && found->second.front() == '"'
                           ? found->second.substr(1, found->second.size() - 2)
                           : found->second;
            }
            list +=
                std::to_string(id) + "\t" + ssid + "\tany\t" + (network.disabled ? "[DISABLED]" : "") + "\n";
        }
        return list;
    }
    const std::vector<std::string> words = splitCommand(command, 4);
    if (words.size() < 2) {
        return std::nullopt;
    }
    const std::optional<int> id = number(words[1]);
    const auto network = id ? m_networks.find(*id) : m_networks.end();
    if (words[0] == "ENABLE_NETWORK" || words[0] == "DISABLE_NETWORK") {
        if (network == m_networks.end()) {
            return "FAIL\n";
        }
        network->second.disabled = words[0] == "DISABLE_NETWORK";
        return "OK\n";
    }
    if (words[0] == "REMOVE_NETWORK" || words[0] == "SELECT_NETWORK") {
        if (network == m_networks.end()) {
            return "FAIL\n";
        }
        if (words[0] == "REMOVE_NETWORK") {
            m_networks.erase(network);
        } else {
            for (auto& [other, block] : m_networks) {
                block.disabled = other != *id;
            }
        }
        return "OK\n";
    }
    if (words[0] == "GET_NETWORK" && words.size() >= 3) {
        const std::string field = splitCommand(command, 3)[2];
        if (network == m_networks.end() || !network->second.fields.count(field)) {
            return "FAIL\n";
        }
        return isSecret(field) ? "*" : network->second.fields.at(field);
    }
    if (words[0] == "SET_NETWORK" && words.size() == 4) {
        if (network == m_networks.end() || m_refusedFields.count(words[2])) {
            return "FAIL\n";
        }
        network->second.fields[words[2]] = words[3];
        return "OK\n";
    }
    return std::nullopt;
}

void ScriptedSupplicant::answer(const std::string& command, std::string reply) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_answers[command] = std::move(reply);
    m_silenced.erase(command);
}

void ScriptedSupplicant::silence(const std::string& command) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_silenced.insert(command);
}

void ScriptedSupplicant::refuseField(const std::string& field) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_refusedFields.insert(field);
}

void ScriptedSupplicant::afterCommand(std::function<void(const std::string&)> hook) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_after = std::move(hook);
}

void ScriptedSupplicant::setBssTable(std::vector<std::string> entries) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_bss = std::move(entries);
}

void ScriptedSupplicant::sendEvent(const std::string& text) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const std::string message = "<3>" + text;
    for (const auto& [address, length] : m_monitors) {
        ::sendto(m_socket, message.data(), message.size(), MSG_DONTWAIT,
                 reinterpret_cast<const sockaddr*>(&address), length);
    }
}

std::vector<std::string> ScriptedSupplicant::commands() const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_commands;
}

std::size_t ScriptedSupplicant::count(const std::string& prefix) const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    std::size_t n = 0;
    for (const std::string& command : m_commands) {
        n += command.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
}

void ScriptedSupplicant::clearCommands() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_commands.clear();
}

int ScriptedSupplicant::addUserNetwork(std::map<std::string, std::string> fields, bool enabled) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const int id = m_nextId++;
    Network network{std::move(fields), !enabled};
    m_networks[id] = network;
    m_configured[id] = network;
    return id;
}

std::map<int, ScriptedSupplicant::Network> ScriptedSupplicant::networks() const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_networks;
}
