#pragma once

#include "adapter/AdapterBackend.h"
#include "adapter/NetInterfaceFiles.h"
#include "adapter/SystemNetworkService.h"
#include "adapter/WpaNetworkBlock.h"
#include "adapter/WpaReplies.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

class WpaControlConnection;

// A real adapter, reached through wpa_supplicant's control interface: a command socket and an
// event socket attached to /run/wpa_supplicant/IFACE (the directory is configurable). A control
// folder that another user than root owns, or that every user may write to, is refused: the
// adapter counts as absent, with a line in the diagnostics naming the folder.
//
// Present means: the interface exists and its control socket answers PING and STATUS. A
// supplicant that stops, restarts, times out or answers garbage makes the adapter count as
// unplugged until it answers again, with one line in the diagnostics for each change of
// reason; secrets (passphrases, keys, key passwords) never reach the diagnostics.
//
// Settings become one network block that this program owns (id_str "skyvane"), replaced and
// selected on each apply; the user's other blocks keep their fields (selecting a network is
// how wpa_supplicant joins it, so they are marked disabled while ours is selected). When the
// program ends, the user's blocks that its selection disabled are enabled again, and its own
// stays selected: the link goes on, and the supplicant may return to the user's networks when
// it is lost. Nothing is saved to the supplicant's configuration file. Settings the supplicant cannot express
// (turbo, XR, preamble, power saving, a fixed rate, the thresholds) have no effect on this
// backend; a read-back shows them as they were applied.
//
// Threads: every call takes one internal lock for its use of the sockets, so the survey
// thread's collectScan() may run beside the monitor's calls; it waits for the scan's end
// without holding the lock.
class WpaSupplicantBackend final : public AdapterBackend {
public:
    struct InterfaceAddress {
        std::string address; // dotted quad
        std::string netmask;
    };
    using AddressQuery = std::function<std::optional<InterfaceAddress>(const std::string& interfaceName)>;

    // The country the user chose: its channel plan (0 for none yet) and, for a single nation,
    // its ISO code ("" for a region or a standard).
    struct CountryChoice {
        int channelPlan = 0;
        std::string isoCode;
    };

    struct Options {
        // Empty: the only wireless interface there is (none or several: no adapter).
        std::string interfaceName;
        std::string controlDirectory = "/run/wpa_supplicant";
        NetFileRoots files;
        // How long a survey waits for the scan's results before it takes what the supplicant has.
        std::chrono::milliseconds scanTimeout{10000};
        // Empty: NetworkManager over the system bus.
        SystemServiceQuery systemService;
        // Empty: the desktop's network settings program.
        std::function<void()> openSettings;
        // Empty: the interface's IPv4 address from the kernel (getifaddrs).
        AddressQuery addresses;
        // Empty: no country was chosen, the regulatory domain is the system's. Asked on each
        // start, so that a supplicant that comes back gets the user's country again, and on
        // each change of the channel plan.
        std::function<CountryChoice()> chosenCountry;
    };

    explicit WpaSupplicantBackend(Options options, wpa::CertificateLookup certificates = {});
    ~WpaSupplicantBackend() override;

    WpaSupplicantBackend(const WpaSupplicantBackend&) = delete;
    WpaSupplicantBackend& operator=(const WpaSupplicantBackend&) = delete;

    std::string name() const override;

    bool probe() override;
    bool start() override;
    bool unplugged() override;
    void stop() override;

    AdapterInfo readAdapterInfo() override;
    void readLink(LinkStatus& status, TrafficReading& traffic) override;
    // The two halves of a reading: the link (STATUS, SIGNAL_POLL, the interface's address) and
    // the interface's counters.
    void readLink(LinkStatus& status);
    TrafficReading readTraffic();

    bool requestScan() override;
    std::vector<BssEntry> collectScan() override;

    void apply(const StationSettings& record) override;
    void readBack(StationSettings& record) override;

    // The channel plan last set; before that, the plan of the user's chosen country; without
    // one, the plan of the supplicant's country.
    int channelPlan() override;
    // The country chosen with that plan sets the supplicant's country when it is a single
    // nation; otherwise a plan that belongs to one nation alone sets that nation, and any other
    // plan leaves the regulatory domain to the system's settings.
    void setChannelPlan(int plan) override;

    bool systemServiceManages() override;
    int32_t systemServiceState() override;
    void openSystemSettings() override;

    // Sets the supplicant's country by its two-letter ISO code; false when it refused.
    bool setCountry(const std::string& isoCode);

    // The ISO code of a channel plan that belongs to one nation alone, empty for the others.
    static std::string countryOfPlan(int plan);
    // The channel plan that the program's tables give a country's ISO code (0 for none).
    static int planOfCountry(const std::string& isoCode);

private:
    struct ScanMark {
        uint64_t results = 0;
        uint64_t failures = 0;
    };

    // --- Helpers; the caller holds m_mutex ---
    bool ready() const;
    std::string chooseInterface(std::string& reason) const;
    std::optional<std::string> command(std::string_view text);
    void fault(const std::string& reason);
    void noteAbsent(const std::string& reason);
    void drainEvents();
    std::optional<wpa::KeyValues> status();
    std::optional<wpa::KeyValues> signalPoll();
    std::optional<int> findOwnedBlock();
    void noteUserBlocksToDisable(int ours);
    void enableUserBlocksAgain();
    std::vector<int> ownedBlocks();
    int channelPlanLocked();
    bool setCountryLocked(const std::string& isoCode);
    void fillAddresses(LinkStatus& status);
    std::vector<BssEntry> readBssTable();

    const Options m_options;
    const wpa::CertificateLookup m_certificates;
    const NetInterfaceFiles m_files;
    SystemServiceQuery m_systemService;
    std::function<void()> m_openSettings;
    AddressQuery m_addresses;

    mutable std::mutex m_mutex;
    std::string m_interface;
    std::unique_ptr<WpaControlConnection> m_commands;
    std::shared_ptr<WpaControlConnection> m_events;
    bool m_faulted = false;
    std::string m_absence; // why the adapter counts as absent, as last reported
    bool m_terminated = false;
    bool m_refused = false; // the supplicant gave up on the network's settings for a while
    uint64_t m_scanResults = 0;
    uint64_t m_scanFailures = 0;
    ScanMark m_scanMark;
    std::optional<int> m_ownedId;
    bool m_ownedKnown = false;
    std::set<int> m_userBlocksDisabled; // enabled until a selection of ours disabled them
    std::optional<StationSettings> m_applied;
    std::optional<int> m_plan;
    CountryChoice m_chosen; // as the program last told it
    std::string m_planNoted;

    std::mutex m_serviceMutex;
    SystemServiceReport m_service;
};
