#pragma once

#include "model/Snapshots.h"
#include "model/StationConfig.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The traffic counters as one reading: the seven counters passed through and the raw totals
// of bytes moved since the adapter started. WirelessAdapter turns the totals into per-cycle
// deltas (modulo 2^64), the same way for every backend.
struct TrafficReading {
    std::array<int32_t, 7> counters{};
    uint64_t txTotal = 0;
    uint64_t rxTotal = 0;
};

// One way of reaching a wireless adapter, in the program's own terms: no C records, no driver
// codes. WirelessAdapter is the only caller.
//
// Threads: WirelessAdapter makes every call but collectScan() from one thread at a time (its
// monitor thread, or the caller's thread in manual mode). collectScan() runs on a survey thread
// of its own and may overlap any other call, so a backend serialises internally whatever its
// adapter cannot do at once. Any call may block (a driver that hangs); the window never waits
// for one.
//
// Values: every record and snapshot comes back normalised by the program's code tables
// (CodeTables.h): channel indexes, not channel numbers; network types, ciphers and
// authentications of StationConfig. Texts are cut to their fields.
class AdapterBackend {
public:
    virtual ~AdapterBackend() = default;

    // A name for the diagnostics ("driver library", "wpa_supplicant wlan0").
    virtual std::string name() const = 0;

    // --- Lifetime ---
    // True when an adapter answers. Called while the adapter is not ready, once a cycle.
    virtual bool probe() = 0;
    // Brings the adapter up after a successful probe; false when it did not come up, which the
    // caller follows with stop().
    virtual bool start() = 0;
    // True when the adapter that was started has gone (unplugged, its service stopped).
    virtual bool unplugged() = 0;
    virtual void stop() = 0;

    // --- Snapshots (while started) ---
    // Read once after each successful start.
    virtual AdapterInfo readAdapterInfo() = 0;
    // One reading of the link and its traffic counters, taken together (the driver library
    // reads the statistics between the link state and the authentication state). Fills every
    // field of the link snapshot but the counters: signal and quality, link state (connected
    // 0/1), link mode, SSID, BSSID, authentication status, the five IP texts (each "0.0.0.0"
    // unless 1 to 15 characters; text 3 always empty) and the IP value; and the traffic reading.
    virtual void readLink(LinkStatus& status, TrafficReading& traffic) = 0;

    // --- Site survey ---
    // Asks the adapter to scan; false when it refused.
    virtual bool requestScan() = 0;
    // The networks the scan found, in the adapter's order, at most maxSurveyEntries; blocks
    // until the scan has ended (or the backend's own time limit has passed). Runs on the survey
    // thread, outside the adapter's serialisation.
    virtual std::vector<BssEntry> collectScan() = 0;

    // --- Settings ---
    // Configures the adapter with the settings part of a record (network type, security, modes,
    // rates, channel in ad hoc mode, SSID last).
    virtual void apply(const StationSettings& record) = 0;
    // Reads the adapter's configuration into the fields a read-back fills (AdvancedMode,
    // AuthenticationMode, RadioOff, Channel, ChannelPlan, cSSID, EncryptionMode, BeaconInterval,
    // iDefaultWEPKeyID, FragmentationThreshold, RTSThreshold, NetworkType, PowerSaveMode,
    // PreambleMode, TxRateAuto, TxRate, WirelessMode) and leaves every other field alone.
    // ChannelPlan is the code as the adapter reported it, not yet normalised.
    virtual void readBack(StationSettings& record) = 0;

    // --- Regulatory domain ---
    virtual int channelPlan() = 0;
    virtual void setChannelPlan(int plan) = 0;

    // --- The system's own wireless service ---
    // True when the system's wireless service manages the adapter (this program then keeps
    // its hands off).
    virtual bool systemServiceManages() = 0;
    // That service's state as the adapter reports it; kept, not interpreted.
    virtual int32_t systemServiceState() = 0;
    // Hands the user to the system's service: opens its own settings window.
    virtual void openSystemSettings() = 0;
};
