#pragma once

#include "wlansim/DriverSettings.h"
#include "wlansim/World.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace wlansim {

using Clock = std::chrono::steady_clock;

// The link as the driver reports it.
struct LinkReport {
    int state = 0; // 1 associated, else 0
    int mode = 1;  // 1 infrastructure or software AP, 2 ad hoc
    std::string ssid;
    Mac bssid{};
    int signal = 0;
    int quality = 0;
    int authStatus = 0;
};

// One survey result before it is laid out in the driver's record format.
struct SurveyRecord {
    int networkType = 1;
    std::string ssid;
    Mac bssid{};
    int signal = 0;
    int channelCode = 0;
    int encryption = 0;
    int authentication = 0;
    int band = 1;
};

struct IpReport {
    std::string texts[4]; // address, mask, gateway, name server
    int32_t value = 0;    // 1 when the address came from DHCP
};

// The simulated adapter: a world read from a file, the settings applied through the API,
// and the link that follows from both. Not thread-safe; the exported functions lock.
class Simulator {
public:
    // Called at the start of every API call: picks up a changed world file (or a different
    // world path) and moves the link on to the given moment.
    void refresh(Clock::time_point now);

    const World& world() const { return m_world; }
    DriverSettings& settings() { return m_settings; }
    void settingsChanged();                  // saves the settings when they differ from the saved ones
    void ssidApplied(Clock::time_point now); // API_SetSSID: the adapter starts a new attempt

    bool present() const { return m_world.adapter.present; }
    bool initialize(Clock::time_point now);
    void stop();

    LinkReport link();
    // The channel the adapter is on: the associated network's, else the one it was given.
    int channelCode() const;
    uint64_t txTotal() const { return uint64_t(m_txBytes); }
    uint64_t rxTotal() const { return uint64_t(m_rxBytes); }
    IpReport ipInfo() const;
    std::vector<SurveyRecord> survey();

    int systemControl() const;
    void setSystemControl(int flag) { m_systemControlOverride = flag; }

    std::string worldPath() const { return m_worldPath; }

private:
    struct FileStamp {
        bool exists = false;
        uint64_t device = 0, inode = 0, size = 0;
        int64_t mtimeNs = 0, ctimeNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    enum class Attempt { Idle, Searching, Refused, Associated };

    void reloadWorld(const std::string& path);
    void loadSettings();
    void updateLink(Clock::time_point now);
    void accumulateTraffic(Clock::time_point now);
    void keepOrDropAssociation(Clock::time_point now);
    void tryToAssociate(Clock::time_point now);
    void dropLink(Clock::time_point now);
    const Network* strongestMatch() const;
    bool cellExists() const;
    Network ownCell() const;
    int wander(int value, int low);
    double trafficLoad(Clock::time_point now);

    std::string m_worldPath;
    bool m_started = false;
    FileStamp m_stamp;
    bool m_worldLoaded = false;
    World m_world;
    int m_worldSystemControl = 0;
    std::optional<int> m_systemControlOverride;

    DriverSettings m_settings;
    std::string m_savedSettings;
    bool m_initialized = false;

    Attempt m_attempt = Attempt::Idle;
    std::optional<Network> m_linkNetwork;
    Clock::time_point m_attemptSince{};
    Clock::time_point m_lastTraffic{};
    Clock::time_point m_loadSince{};
    double m_load = 1.0;
    double m_txBytes = 0;
    double m_rxBytes = 0;

    std::minstd_rand m_random{std::random_device{}()};
};

} // namespace wlansim
