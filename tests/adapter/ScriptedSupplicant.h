#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>

// A stand-in for wpa_supplicant's control socket: a datagram socket at DIR/IFACE that answers
// each command from a script, keeps a small model of the network blocks (ADD_, SET_, GET_,
// LIST_, REMOVE_ and SELECT_NETWORK), walks a table of BSS entries, and sends events to the
// clients that attached. It answers on a thread of its own, as the real one would.
class ScriptedSupplicant {
public:
    ScriptedSupplicant(std::string directory, std::string interfaceName);
    ~ScriptedSupplicant();

    ScriptedSupplicant(const ScriptedSupplicant&) = delete;
    ScriptedSupplicant& operator=(const ScriptedSupplicant&) = delete;

    // The reply to one exact command (the newline is the caller's to give).
    void answer(const std::string& command, std::string reply);
    // Commands that get no reply at all.
    void silence(const std::string& command);
    // SET_NETWORK of this field answers FAIL.
    void refuseField(const std::string& field);
    // Called on the peer's thread after each command has been answered.
    void afterCommand(std::function<void(const std::string& command)> hook);

    // The entries "BSS FIRST" and "BSS NEXT-id" walk, each a reply of its own ("id=3\n...").
    void setBssTable(std::vector<std::string> entries);

    // An event to every attached client, as "<3>text". A local datagram is queued at its
    // receiver by the send itself: the event is in each client's socket when this returns, so a
    // test needs no wait before the backend's next look at its events.
    void sendEvent(const std::string& text);

    // The supplicant goes away: its socket is closed and removed.
    void stop();
    // A new supplicant at the same place: attachments are forgotten, the blocks kept only
    // when keepNetworks (a restart loses what was never saved).
    void restart(bool keepNetworks = false);

    std::vector<std::string> commands() const;
    std::size_t count(const std::string& prefix) const;
    void clearCommands();

    struct Network {
        std::map<std::string, std::string> fields;
        bool disabled = true;
    };
    // A block of the user's own (from the configuration file); returns its id.
    int addUserNetwork(std::map<std::string, std::string> fields, bool enabled = true);
    std::map<int, Network> networks() const;

private:
    void bindSocket();
    void closeSocket();
    void run();
    std::optional<std::string> reply(const std::string& command, const sockaddr_un& from, socklen_t length);
    std::optional<std::string> networkReply(const std::string& command);

    const std::string m_path;
    mutable std::mutex m_mutex;
    int m_socket = -1;
    std::map<std::string, std::string> m_answers;
    std::set<std::string> m_silenced;
    std::set<std::string> m_refusedFields;
    std::function<void(const std::string&)> m_after;
    std::vector<std::string> m_bss;
    std::vector<std::pair<sockaddr_un, socklen_t>> m_monitors;
    std::vector<std::string> m_commands;
    std::map<int, Network> m_networks;
    std::map<int, Network> m_configured;
    int m_nextId = 0;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

// Replies of wpa_supplicant 2.10, as its control interface prints them.
namespace replies {

inline const char* const statusDisconnected = "wpa_state=DISCONNECTED\n"
                                              "ip_address=192.168.1.23\n"
                                              "p2p_device_address=02:00:00:00:00:01\n"
                                              "address=02:00:00:00:00:01\n"
                                              "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

inline const char* const statusScanning = "wpa_state=SCANNING\n"
                                          "address=02:00:00:00:00:01\n"
                                          "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

inline const char* const statusOpen = "bssid=02:00:00:00:01:00\n"
                                      "freq=2412\n"
                                      "ssid=cafe-open\n"
                                      "id=1\n"
                                      "mode=station\n"
                                      "wifi_generation=4\n"
                                      "pairwise_cipher=NONE\n"
                                      "group_cipher=NONE\n"
                                      "key_mgmt=NONE\n"
                                      "wpa_state=COMPLETED\n"
                                      "ip_address=192.168.1.23\n"
                                      "address=02:00:00:00:00:01\n"
                                      "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

inline const char* const statusWep = "bssid=02:00:00:00:02:00\n"
                                     "freq=2437\n"
                                     "ssid=old-wep\n"
                                     "id=2\n"
                                     "mode=station\n"
                                     "pairwise_cipher=WEP-104\n"
                                     "group_cipher=WEP-104\n"
                                     "key_mgmt=NONE\n"
                                     "wpa_state=COMPLETED\n"
                                     "address=02:00:00:00:00:01\n"
                                     "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

inline const char* const statusWpaPsk = "bssid=02:00:00:00:03:00\n"
                                        "freq=2462\n"
                                        "ssid=legacy-wpa\n"
                                        "id=0\n"
                                        "mode=station\n"
                                        "pairwise_cipher=TKIP\n"
                                        "group_cipher=TKIP\n"
                                        "key_mgmt=WPA-PSK\n"
                                        "wpa_state=COMPLETED\n"
                                        "address=02:00:00:00:00:01\n"
                                        "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

inline const char* const statusWpa2Psk = "bssid=02:00:00:00:04:00\n"
                                         "freq=5180\n"
                                         "ssid=home 5G\n"
                                         "id=0\n"
                                         "id_str=skyvane\n"
                                         "mode=station\n"
                                         "wifi_generation=5\n"
                                         "pairwise_cipher=CCMP\n"
                                         "group_cipher=CCMP\n"
                                         "key_mgmt=WPA2-PSK\n"
                                         "wpa_state=COMPLETED\n"
                                         "ip_address=192.168.1.23\n"
                                         "address=02:00:00:00:00:01\n"
                                         "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n"
                                         "ieee80211ac=1\n";

inline const char* const statusWpa2Eap = "bssid=02:00:00:00:05:00\n"
                                         "freq=5745\n"
                                         "ssid=corp\n"
                                         "id=0\n"
                                         "mode=station\n"
                                         "pairwise_cipher=CCMP\n"
                                         "group_cipher=CCMP\n"
                                         "key_mgmt=WPA2/IEEE 802.1X/EAP\n"
                                         "wpa_state=COMPLETED\n"
                                         "address=02:00:00:00:00:01\n"
                                         "Supplicant PAE state=AUTHENTICATED\n"
                                         "suppPortStatus=Authorized\n"
                                         "EAP state=SUCCESS\n"
                                         "selectedMethod=13 (EAP-TLS)\n"
                                         "eap_tls_version=TLSv1.2\n"
                                         "EAP TLS cipher=ECDHE-RSA-AES256-GCM-SHA384\n"
                                         "tls_session_reused=0\n"
                                         "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

inline const char* const statusIbss = "bssid=52:00:00:00:06:00\n"
                                      "freq=2422\n"
                                      "ssid=field cell\n"
                                      "id=0\n"
                                      "mode=IBSS\n"
                                      "pairwise_cipher=NONE\n"
                                      "group_cipher=NONE\n"
                                      "key_mgmt=NONE\n"
                                      "wpa_state=COMPLETED\n"
                                      "address=02:00:00:00:00:01\n"
                                      "uuid=427974ee-cf6c-5278-8c94-995e2261d1dc\n";

// SIGNAL_POLL of an associated station.
inline std::string signalPoll(int rssi, int linkSpeed, int frequency) {
    return "RSSI=" + std::to_string(rssi) + "\nLINKSPEED=" + std::to_string(linkSpeed) +
           "\nNOISE=9999\nFREQUENCY=" + std::to_string(frequency) +
           "\nWIDTH=20 MHz\nCENTER_FRQ1=" + std::to_string(frequency) +
           "\nAVG_RSSI=" + std::to_string(rssi - 1) + "\n";
}

// One BSS entry as "BSS ... MASK=..." prints it with the id, BSSID, frequency, level, IEs,
// flags and SSID.
inline std::string bss(int id, const std::string& bssid, int freq, int level, const std::string& flags,
                       const std::string& ssid, const std::string& ie = "") {
    return "id=" + std::to_string(id) + "\nbssid=" + bssid + "\nfreq=" + std::to_string(freq) +
           "\nlevel=" + std::to_string(level) + "\nie=" + ie + "\nflags=" + flags + "\nssid=" + ssid + "\n";
}

} // namespace replies
