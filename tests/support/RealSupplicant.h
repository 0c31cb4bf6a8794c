#pragma once
// Debian's wpa_supplicant as a child process of a test: on the loopback interface with the
// "none" driver, with a control directory and a configuration of the test's own. That driver
// associates with nothing and cannot scan; the supplicant's network blocks, its commands, its
// events and its restarts are real.

#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

class RealSupplicant {
public:
    // The installed binary; "" when there is none.
    static std::string binary();

    // directory: an existing folder the supplicant keeps its configuration, log and control
    // sockets in; configuration: the networks of its configuration file (the user's own).
    RealSupplicant(std::string directory, const std::string& networks);
    ~RealSupplicant();

    RealSupplicant(const RealSupplicant&) = delete;
    RealSupplicant& operator=(const RealSupplicant&) = delete;

    // Starts it and waits (bounded) until its control socket answers; false with the reason
    // when it cannot run here.
    bool start(std::string& why);
    // SIGTERM, then SIGKILL when it has not ended after two seconds.
    void stop();
    bool running() const { return m_pid > 0; }

    const std::string& controlDirectory() const { return m_controlDirectory; }
    const std::string& interfaceName() const { return m_interface; }

    // One command over a connection of its own; the reply as the supplicant sent it, or a text
    // in parentheses when no socket answers.
    std::string request(const std::string& command) const;

    // GET_NETWORK of the fields asked for, of every block by id, as the supplicant prints them
    // (a trailing newline dropped, so an unset field reads "FAIL"); empty when it does not answer.
    std::map<int, std::map<std::string, std::string>> blocks(const std::vector<std::string>& fields) const;

private:
    std::string m_directory;
    std::string m_controlDirectory;
    std::string m_interface = "lo";
    pid_t m_pid = 0;
};
