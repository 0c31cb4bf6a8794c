#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct wpa_ctrl;

// Why the folder of the supplicant's control sockets must not be trusted, "" when it may be:
// whatever listens in it receives passphrases in clear, so it must belong to root or to this
// program's user, and others may not write to it. A missing folder is left to the connection.
std::string untrustedControlFolder(const std::string& folder);

// One connection to a wpa_supplicant control socket through libwpa_client. Not safe for
// concurrent use: its owner serialises the calls. A request waits for its reply as long as
// libwpa_client does (ten seconds); the caller's thread is the one that waits.
class WpaControlConnection {
public:
    enum class Status {
        Answered,
        TimedOut, // no reply within libwpa_client's limit
        Failed,   // the socket refused: the supplicant has gone or never was there
    };
    struct Reply {
        Status status = Status::Failed;
        std::string text;
        std::string reason; // why it failed, for the diagnostics
    };

    // Connects to the socket of one interface ("/run/wpa_supplicant/wlan0"); null, with the
    // reason, when nothing answers there.
    static std::unique_ptr<WpaControlConnection> open(const std::string& socketPath, std::string& reason);
    ~WpaControlConnection();

    WpaControlConnection(const WpaControlConnection&) = delete;
    WpaControlConnection& operator=(const WpaControlConnection&) = delete;

    Reply request(std::string_view command);
    // Makes this connection receive the supplicant's events.
    Reply attach();

    // The socket, for poll(); events are read with drainEvents() only.
    int descriptor() const;
    // Every event message waiting now, without the "<3>" level prefix; false when the socket
    // failed.
    bool drainEvents(std::vector<std::string>& events);

private:
    explicit WpaControlConnection(wpa_ctrl* control);

    wpa_ctrl* m_control;
    std::string m_buffer;
};
