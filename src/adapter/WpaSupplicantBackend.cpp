#include "adapter/WpaSupplicantBackend.h"

#include "adapter/WpaControl.h"
#include "model/CodeTables.h"
#include "platform/Diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <poll.h>
#include <wpa_ctrl.h>

using namespace std::chrono_literals;

namespace {

// What a survey asks of each BSS entry: enough for the survey's row, nothing more, so that
// every entry fits one reply.
constexpr unsigned bssMask = WPA_BSS_MASK_ID | WPA_BSS_MASK_BSSID | WPA_BSS_MASK_FREQ | WPA_BSS_MASK_LEVEL |
                             WPA_BSS_MASK_IE | WPA_BSS_MASK_FLAGS | WPA_BSS_MASK_SSID;

std::string bssCommand(const std::string& which) {
    char mask[16];
    std::snprintf(mask, sizeof mask, "0x%x", bssMask);
    return "BSS " + which + " MASK=" + mask;
}

bool isPong(std::string_view reply) {
    return reply == "PONG\n" || reply == "PONG";
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string value(const wpa::KeyValues& values, std::string_view key) {
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

// The texts of the link snapshot: "0.0.0.0" unless 1 to 15 characters.
template <std::size_t N> void setIpText(char (&target)[N], const std::string& text) {
    copyText(target, text.empty() || text.size() > 15 ? "0.0.0.0" : text.c_str());
}

std::optional<WpaSupplicantBackend::InterfaceAddress> kernelAddress(const std::string& interfaceName) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return std::nullopt;
    }
    std::optional<WpaSupplicantBackend::InterfaceAddress> found;
    for (const ifaddrs* entry = list; entry != nullptr && !found; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            interfaceName != entry->ifa_name) {
            continue;
        }
        char address[INET_ADDRSTRLEN] = {};
        char netmask[INET_ADDRSTRLEN] = {};
        sockaddr_in inet{};
        std::memcpy(&inet, entry->ifa_addr, sizeof inet);
        ::inet_ntop(AF_INET, &inet.sin_addr, address, sizeof address);
        if (entry->ifa_netmask != nullptr) {
            std::memcpy(&inet, entry->ifa_netmask, sizeof inet);
            ::inet_ntop(AF_INET, &inet.sin_addr, netmask, sizeof netmask);
        }
        found = WpaSupplicantBackend::InterfaceAddress{address, netmask};
    }
    ::freeifaddrs(list);
    return found;
}

} // namespace

WpaSupplicantBackend::WpaSupplicantBackend(Options options, wpa::CertificateLookup certificates)
    : m_options(std::move(options)), m_certificates(std::move(certificates)), m_files(m_options.files),
      m_systemService(m_options.systemService ? m_options.systemService : networkManagerQuery()),
      m_openSettings(m_options.openSettings ? m_options.openSettings : [] { openDesktopNetworkSettings(); }),
      m_addresses(m_options.addresses ? m_options.addresses : kernelAddress),
      m_interface(m_options.interfaceName) {}

WpaSupplicantBackend::~WpaSupplicantBackend() {
    // The program ends (the monitor has stopped): the user's networks are the supplicant's again.
    const std::lock_guard<std::mutex> guard(m_mutex);
    enableUserBlocksAgain();
}

std::string WpaSupplicantBackend::name() const {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return m_interface.empty() ? "wpa_supplicant" : "wpa_supplicant " + m_interface;
}

// --- Helpers ---

bool WpaSupplicantBackend::ready() const {
    return m_commands != nullptr && !m_faulted;
}

std::string WpaSupplicantBackend::chooseInterface(std::string& reason) const {
    if (!m_options.interfaceName.empty()) {
        return m_options.interfaceName;
    }
    const std::vector<std::string> wireless = m_files.wirelessInterfaces();
    if (wireless.size() == 1) {
        return wireless.front();
    }
    if (wireless.empty()) {
        reason = "no wireless interface in " + m_options.files.sysClassNet;
    } else {
        std::string names;
        for (const std::string& name : wireless) {
            names += (names.empty() ? "" : ", ") + name;
        }
        reason = "several wireless interfaces (" + names + "): name the one to use";
    }
    return {};
}

void WpaSupplicantBackend::noteAbsent(const std::string& reason) {
    if (reason == m_absence) {
        return; // said already; a supplicant that stays away is not news every second
    }
    m_absence = reason;
    const std::string who = m_interface.empty() ? "wpa_supplicant" : "wpa_supplicant " + m_interface;
    diag::warning(diag::adapterCategory,
                  who + ": " + reason + "; the adapter counts as absent until it answers");
}

void WpaSupplicantBackend::fault(const std::string& reason) {
    m_faulted = true;
    noteAbsent(reason);
}

std::optional<std::string> WpaSupplicantBackend::command(std::string_view text) {
    if (!ready()) {
        return std::nullopt;
    }
    WpaControlConnection::Reply reply = m_commands->request(text);
    if (reply.status == WpaControlConnection::Status::TimedOut) {
        fault(wpa::loggableCommand(text) + " had no reply in time");
        return std::nullopt;
    }
    if (reply.status != WpaControlConnection::Status::Answered) {
        fault(wpa::loggableCommand(text) + " failed: " + reply.reason);
        return std::nullopt;
    }
    return std::move(reply.text);
}

void WpaSupplicantBackend::drainEvents() {
    if (!m_events || m_faulted) {
        return;
    }
    std::vector<std::string> events;
    if (!m_events->drainEvents(events)) {
        fault("the event socket failed");
    }
    for (const std::string& event : events) {
        if (startsWith(event, WPA_EVENT_SCAN_RESULTS)) {
            ++m_scanResults;
        } else if (startsWith(event, WPA_EVENT_SCAN_FAILED)) {
            ++m_scanFailures;
        } else if (startsWith(event, WPA_EVENT_TERMINATING)) {
            m_terminated = true;
        } else if (startsWith(event, WPA_EVENT_TEMP_DISABLED)) {
            m_refused = true;
        } else if (startsWith(event, WPA_EVENT_CONNECTED)) {
            m_refused = false;
        } else if (startsWith(event, WPA_EVENT_NETWORK_ADDED) ||
                   startsWith(event, WPA_EVENT_NETWORK_REMOVED)) {
            m_ownedKnown = false;
        }
    }
}

std::optional<wpa::KeyValues> WpaSupplicantBackend::status() {
    const std::optional<std::string> reply = command("STATUS");
    if (!reply) {
        return std::nullopt;
    }
    wpa::KeyValues values = wpa::parseKeyValues(*reply);
    if (values.find("wpa_state") == values.end()) {
        fault("STATUS answered " + wpa::excerpt(*reply));
        return std::nullopt;
    }
    return values;
}

std::optional<wpa::KeyValues> WpaSupplicantBackend::signalPoll() {
    const std::optional<std::string> reply = command("SIGNAL_POLL");
    if (!reply || wpa::isRefusal(*reply)) {
        return std::nullopt; // FAIL: the driver has no figures (not associated, or no driver)
    }
    wpa::KeyValues values = wpa::parseKeyValues(*reply);
    if (values.find("RSSI") == values.end()) {
        fault("SIGNAL_POLL answered " + wpa::excerpt(*reply));
        return std::nullopt;
    }
    return values;
}

std::vector<int> WpaSupplicantBackend::ownedBlocks() {
    std::vector<int> owned;
    const std::optional<std::string> reply = command("LIST_NETWORKS");
    if (!reply) {
        return owned;
    }
    const auto networks = wpa::parseNetworkList(*reply);
    if (!networks) {
        fault("LIST_NETWORKS answered " + wpa::excerpt(*reply));
        return owned;
    }
    for (const wpa::ListedNetwork& network : *networks) {
        const auto tag = command("GET_NETWORK " + std::to_string(network.id) + " id_str");
        if (!tag) {
            return {};
        }
        if (wpa::decodeConfigText(*tag) == wpa::ownerTag) {
            owned.push_back(network.id);
        }
    }
    return owned;
}

// The user's blocks that the selection of ours is about to disable: those enabled now.
void WpaSupplicantBackend::noteUserBlocksToDisable(int ours) {
    const std::optional<std::string> reply = command("LIST_NETWORKS");
    const auto networks = reply ? wpa::parseNetworkList(*reply) : std::nullopt;
    if (!networks) {
        return;
    }
    for (const wpa::ListedNetwork& network : *networks) {
        if (network.id != ours && network.flags.find("[DISABLED]") == std::string::npos) {
            m_userBlocksDisabled.insert(network.id);
        }
    }
}

void WpaSupplicantBackend::enableUserBlocksAgain() {
    if (m_userBlocksDisabled.empty() || !ready()) {
        return;
    }
    for (const int id : m_userBlocksDisabled) {
        // Enabling leaves the current network as it is: ours stays selected and associated.
        command("ENABLE_NETWORK " + std::to_string(id));
    }
    diag::info(diag::adapterCategory, "wpa_supplicant " + m_interface + ": " +
                                          std::to_string(m_userBlocksDisabled.size()) +
                                          " network(s) of the user's own enabled again");
    m_userBlocksDisabled.clear();
}

std::optional<int> WpaSupplicantBackend::findOwnedBlock() {
    if (!m_ownedKnown) {
        const std::vector<int> owned = ownedBlocks();
        m_ownedId = owned.empty() ? std::nullopt : std::optional<int>(owned.front());
        m_ownedKnown = ready();
    }
    return m_ownedId;
}

// --- Lifetime ---

bool WpaSupplicantBackend::probe() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    std::string reason;
    const std::string chosen = chooseInterface(reason);
    if (chosen.empty()) {
        noteAbsent(reason);
        return false;
    }
    if (chosen != m_interface) {
        m_interface = chosen;
        m_ownedKnown = false;
        m_ownedId.reset();
    }
    if (!m_files.exists(m_interface)) {
        noteAbsent("interface " + m_interface + " does not exist");
        return false;
    }
    if (m_commands && m_faulted) {
        m_commands.reset();
    }
    if (!m_commands) {
        m_faulted = false;
        if (const std::string why = untrustedControlFolder(m_options.controlDirectory); !why.empty()) {
            noteAbsent("the control folder " + m_options.controlDirectory + " is refused: " + why);
            return false;
        }
        const std::string path = m_options.controlDirectory + "/" + m_interface;
        m_commands = WpaControlConnection::open(path, reason);
        if (!m_commands) {
            noteAbsent("no control socket answers at " + path + " (" + reason + ")");
            return false;
        }
    }
    const std::optional<std::string> pong = command("PING");
    if (pong && !isPong(*pong)) {
        fault("PING answered " + wpa::excerpt(*pong));
    }
    if (!ready() || !status()) {
        m_commands.reset();
        return false;
    }
    return true;
}

bool WpaSupplicantBackend::start() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (!ready()) {
        return false;
    }
    const std::string path = m_options.controlDirectory + "/" + m_interface;
    std::string reason;
    std::unique_ptr<WpaControlConnection> events = WpaControlConnection::open(path, reason);
    if (!events) {
        fault("the event socket cannot connect to " + path + " (" + reason + ")");
        return false;
    }
    const WpaControlConnection::Reply attached = events->attach();
    if (attached.status != WpaControlConnection::Status::Answered || !wpa::isOk(attached.text)) {
        fault("ATTACH " + (attached.status == WpaControlConnection::Status::Answered
                               ? "answered " + wpa::excerpt(attached.text)
                               : "failed: " + attached.reason));
        return false;
    }
    m_events = std::move(events);
    m_terminated = false;
    m_refused = false;
    m_scanResults = 0;
    m_scanFailures = 0;
    m_scanMark = {};
    m_ownedKnown = false;
    // A supplicant that was away has its blocks from its configuration file again.
    m_userBlocksDisabled.clear();
    findOwnedBlock();
    if (!ready()) {
        return false;
    }
    if (m_options.chosenCountry) {
        // A supplicant keeps a country only while it runs: each start gives it the user's again.
        m_chosen = m_options.chosenCountry();
        if (!m_chosen.isoCode.empty()) {
            setCountryLocked(m_chosen.isoCode);
        }
    }
    if (!m_absence.empty()) {
        diag::info(diag::adapterCategory, "wpa_supplicant " + m_interface + " answers again");
        m_absence.clear();
    }
    return true;
}

bool WpaSupplicantBackend::unplugged() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (!ready()) {
        return true;
    }
    if (!m_files.exists(m_interface)) {
        fault("interface " + m_interface + " has gone");
        return true;
    }
    drainEvents();
    if (m_terminated) {
        fault("the supplicant has stopped");
        return true;
    }
    const std::optional<std::string> pong = command("PING");
    if (pong && !isPong(*pong)) {
        fault("PING answered " + wpa::excerpt(*pong));
    }
    return !ready();
}

void WpaSupplicantBackend::stop() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_events.reset(); // a survey still waiting holds its own reference and ends
    m_commands.reset();
    m_faulted = false;
}

// --- Snapshots ---

AdapterInfo WpaSupplicantBackend::readAdapterInfo() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    AdapterInfo info{};
    const std::optional<wpa::KeyValues> values = status();
    unsigned char mac[6] = {};
    const bool fromStatus =
        values && wpa::parseMac(value(*values, "address"), mac) &&
        std::any_of(std::begin(mac), std::end(mac), [](unsigned char b) { return b != 0; });
    if (fromStatus) {
        std::memcpy(info.macAddress, mac, sizeof mac);
    } else if (const auto files = m_files.macAddress(m_interface)) {
        std::memcpy(info.macAddress, files->data(), files->size());
    }
    const std::string driver = m_files.driverName(m_interface);
    copyText(info.driverDescription, (driver.empty() ? m_interface : driver).c_str());
    copyText(info.driverVersion, m_files.driverVersion(m_interface).c_str());
    const std::string hardware = m_files.hardwareId(m_interface);
    copyText(info.hardwareId, (hardware.empty() ? m_interface : hardware).c_str());
    copyText(info.hardwareVersion, m_files.hardwareRevision(m_interface).c_str());
    copyText(info.apiVersion, "wpa_supplicant control interface");
    info.chipsetSolution = 0;
    return info;
}

void WpaSupplicantBackend::fillAddresses(LinkStatus& status) {
    const std::optional<InterfaceAddress> address = m_addresses(m_interface);
    const bool addressed = address && !address->address.empty();
    setIpText(status.ipText[0], addressed ? address->address : "");
    setIpText(status.ipText[1], addressed ? address->netmask : "");
    setIpText(status.ipText[2], addressed ? m_files.gateway(m_interface) : "");
    status.ipText[3][0] = '\0';
    setIpText(status.ipText[4], addressed ? m_files.nameServer() : "");
    status.ipValue = 0; // how the address was obtained is not the supplicant's to tell
}

void WpaSupplicantBackend::readLink(LinkStatus& status, TrafficReading& traffic) {
    readLink(status);
    traffic = readTraffic();
}

void WpaSupplicantBackend::readLink(LinkStatus& status) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    const TrafficCounters counters = status.counters;
    status = LinkStatus{};
    status.counters = counters;
    status.linkMode = 1;
    drainEvents();
    const std::optional<wpa::KeyValues> values = this->status();
    if (!values) {
        fillAddresses(status);
        return;
    }
    const std::string state = value(*values, "wpa_state");
    const bool completed = state == "COMPLETED";
    status.connected = completed ? 1 : 0;
    status.linkMode = value(*values, "mode") == "IBSS" ? 2 : 1;
    copyText(status.ssid, wpa::decodeEscapedText(value(*values, "ssid")).c_str());
    wpa::parseMac(value(*values, "bssid"), status.bssid);
    if (completed) {
        status.authStatus = value(*values, "key_mgmt") == "NONE" ? 3 : 4;
    } else if (m_refused) {
        status.authStatus = 2;
    } else if (state == "SCANNING" || state == "AUTHENTICATING" || state == "ASSOCIATING" ||
               state == "ASSOCIATED" || state == "4WAY_HANDSHAKE" || state == "GROUP_HANDSHAKE") {
        status.authStatus = 1;
    }
    if (completed) {
        if (const auto signal = signalPoll()) {
            const int64_t rssi = wpa::parseInteger(value(*signal, "RSSI")).value_or(-100);
            status.signalStrength = wpa::signalPercent(rssi);
            status.linkQuality = wpa::qualityPercent(rssi, wpa::parseInteger(value(*signal, "NOISE")));
        }
    }
    fillAddresses(status);
}

TrafficReading WpaSupplicantBackend::readTraffic() {
    std::string interfaceName;
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        interfaceName = m_interface;
    }
    TrafficReading reading;
    // The program's seven counters: packets out and in, packets dropped out and in, errors
    // out, CRC errors in, errors in. Counters pass on modulo 2^32, as the statistics block did.
    static const char* const names[7] = {"tx_packets", "rx_packets",    "tx_dropped", "rx_dropped",
                                         "tx_errors",  "rx_crc_errors", "rx_errors"};
    for (std::size_t i = 0; i < reading.counters.size(); ++i) {
        reading.counters[i] =
            static_cast<int32_t>(static_cast<uint32_t>(m_files.counter(interfaceName, names[i])));
    }
    reading.txTotal = m_files.counter(interfaceName, "tx_bytes");
    reading.rxTotal = m_files.counter(interfaceName, "rx_bytes");
    return reading;
}

// --- Site survey ---

bool WpaSupplicantBackend::requestScan() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    drainEvents(); // results of earlier scans do not end this one
    m_scanMark = {m_scanResults, m_scanFailures};
    const std::optional<std::string> reply = command("SCAN");
    if (!reply) {
        return false;
    }
    if (wpa::isOk(*reply) || startsWith(*reply, "FAIL-BUSY")) {
        return true; // a scan already running ends this one as well
    }
    diag::info(diag::adapterCategory,
               "wpa_supplicant " + m_interface + " refused to scan: " + wpa::excerpt(*reply));
    return false;
}

std::vector<BssEntry> WpaSupplicantBackend::collectScan() {
    std::shared_ptr<WpaControlConnection> events;
    ScanMark mark;
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        events = m_events;
        mark = m_scanMark;
    }
    if (!events) {
        return {};
    }
    const auto deadline = std::chrono::steady_clock::now() + m_options.scanTimeout;
    while (true) {
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            if (m_events != events || !ready()) {
                return {}; // the adapter went while it scanned
            }
            drainEvents();
            if (m_scanResults > mark.results || m_scanFailures > mark.failures) {
                // A failed scan (the "none" driver's every scan) still shows what the
                // supplicant knows: an empty table there.
                return readBssTable();
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                diag::info(diag::adapterCategory,
                           "wpa_supplicant " + m_interface +
                               ": no scan results in time; the survey shows the networks "
                               "known so far");
                return readBssTable();
            }
        }
        // Wait for the next event outside the lock; another thread may take it first, so the
        // wait is short and the counters decide.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd descriptor{events->descriptor(), POLLIN, 0};
        ::poll(&descriptor, 1,
               static_cast<int>(std::clamp<std::chrono::milliseconds>(left, 0ms, 200ms).count()));
    }
}

std::vector<BssEntry> WpaSupplicantBackend::readBssTable() {
    std::vector<BssEntry> entries;
    std::string which = "FIRST";
    std::vector<int64_t> seen;
    while (entries.size() < static_cast<std::size_t>(maxSurveyEntries)) {
        const std::optional<std::string> reply = command(bssCommand(which));
        if (!reply || reply->empty() || wpa::isRefusal(*reply)) {
            break; // the end of the table
        }
        const wpa::KeyValues bss = wpa::parseKeyValues(*reply);
        const std::optional<int64_t> id = wpa::parseInteger(value(bss, "id"));
        if (!id) {
            fault("BSS answered " + wpa::excerpt(*reply));
            break;
        }
        if (std::find(seen.begin(), seen.end(), *id) != seen.end()) {
            break; // the table changed under the walk and led back
        }
        seen.push_back(*id);
        if (const std::optional<BssEntry> entry = wpa::surveyEntryOfBss(bss)) {
            entries.push_back(*entry);
        }
        which = "NEXT-" + std::to_string(*id);
    }
    return entries;
}

// --- Settings ---

void WpaSupplicantBackend::apply(const StationSettings& record) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_applied = record;
    const std::string who = "wpa_supplicant " + m_interface;
    if (!ready()) {
        // The program applies its configuration again when the adapter is back.
        diag::info(diag::adapterCategory, who + " does not answer: the configuration waits for its return");
        return;
    }
    const wpa::NetworkBlock block = wpa::networkBlockFor(record, m_certificates);
    for (const std::string& note : block.notes) {
        diag::warning(diag::adapterCategory, who + ": " + note);
    }
    for (const int id : ownedBlocks()) {
        command("REMOVE_NETWORK " + std::to_string(id));
    }
    m_ownedId.reset();
    m_ownedKnown = false;
    const std::optional<std::string> added = command("ADD_NETWORK");
    if (!added) {
        return;
    }
    const std::optional<int64_t> id = wpa::parseInteger(*added);
    if (!id || *id < 0) {
        if (wpa::isFail(*added)) {
            diag::warning(diag::adapterCategory, who + " refused to add a network");
        } else {
            fault("ADD_NETWORK answered " + wpa::excerpt(*added));
        }
        return;
    }
    const std::string prefix = "SET_NETWORK " + std::to_string(*id) + " ";
    for (const wpa::BlockField& field : block.fields) {
        const std::optional<std::string> reply = command(prefix + field.name + " " + field.value);
        if (!reply) {
            return;
        }
        if (!wpa::isOk(*reply)) {
            // The value stays out of the line: it may be a key.
            diag::warning(diag::adapterCategory, who + " refused the network's " + field.name);
        }
    }
    m_ownedId = static_cast<int>(*id);
    m_ownedKnown = true;
    if (!block.joinable) {
        diag::warning(diag::adapterCategory, who + ": the network is stored but not joined");
        return;
    }
    noteUserBlocksToDisable(static_cast<int>(*id));
    const std::optional<std::string> selected = command("SELECT_NETWORK " + std::to_string(*id));
    if (selected && !wpa::isOk(*selected)) {
        diag::warning(diag::adapterCategory,
                      who + " refused to select the network: " + wpa::excerpt(*selected));
    }
}

void WpaSupplicantBackend::readBack(StationSettings& record) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (!ready()) {
        return;
    }
    drainEvents();
    const std::optional<int> owned = findOwnedBlock();
    const std::optional<wpa::KeyValues> link = status();
    if (!ready()) {
        return;
    }
    const bool associated = link && value(*link, "wpa_state") == "COMPLETED";

    bool fromBlock = false;
    if (owned) {
        std::map<std::string, std::optional<std::string>, std::less<>> values;
        const std::string prefix = "GET_NETWORK " + std::to_string(*owned) + " ";
        const auto tag = command(prefix + "id_str");
        if (tag && wpa::decodeConfigText(*tag) == wpa::ownerTag) {
            for (const std::string& field : wpa::readBackFields()) {
                const auto reply = command(prefix + field);
                if (!reply) {
                    return;
                }
                values[field] = wpa::isFail(*reply) ? std::nullopt : std::optional<std::string>(*reply);
            }
            wpa::settingsOfBlock(values, record);
            fromBlock = true;
        } else if (tag) {
            m_ownedKnown = false; // renumbered or re-tagged under us: look again next time
        }
    }
    if (!ready()) {
        return;
    }
    if (!fromBlock) {
        // No block of ours: the adapter's configuration is whatever it is joined to.
        const std::string mode = associated ? value(*link, "mode") : std::string();
        copyText(record.cSSID, associated ? wpa::decodeEscapedText(value(*link, "ssid")).c_str() : "");
        record.NetworkType = mode == "IBSS" ? 0 : mode == "AP" ? 2 : 1;
        const wpa::Security security =
            associated ? wpa::securityOfStatus(value(*link, "key_mgmt"), value(*link, "pairwise_cipher"))
                       : wpa::Security{};
        record.AuthenticationMode = security.authenticationMode;
        record.EncryptionMode = security.encryptionMode;
    }

    // Settings the supplicant cannot express read back as they were applied.
    if (m_applied) {
        std::copy(std::begin(m_applied->WirelessMode), std::end(m_applied->WirelessMode),
                  std::begin(record.WirelessMode));
        std::copy(std::begin(m_applied->AdvancedMode), std::end(m_applied->AdvancedMode),
                  std::begin(record.AdvancedMode));
        record.PreambleMode = m_applied->PreambleMode;
        record.PowerSaveMode = m_applied->PowerSaveMode;
        record.BeaconInterval = m_applied->BeaconInterval;
        record.FragmentationThreshold = m_applied->FragmentationThreshold;
        record.RTSThreshold = m_applied->RTSThreshold;
        record.TxRateAuto = m_applied->TxRateAuto;
        record.TxRate = m_applied->TxRate;
        if (!fromBlock || record.NetworkType == codes::networkInfrastructure) {
            record.Channel = m_applied->Channel;
        }
    }
    if (associated) {
        if (const auto channel =
                wpa::channelIndexOfFrequency(wpa::parseInteger(value(*link, "freq")).value_or(0))) {
            record.Channel = *channel;
        }
        if (const auto signal = signalPoll()) {
            if (const auto speed = wpa::parseInteger(value(*signal, "LINKSPEED"))) {
                record.TxRateAuto = 1;
                record.TxRate = wpa::rateCodeOfSpeed(*speed);
            }
        }
    }
    record.RadioOff = m_files.radioBlocked(m_interface) ? 1 : 0;
    record.ChannelPlan = channelPlanLocked();
}

// --- Regulatory domain ---

std::string WpaSupplicantBackend::countryOfPlan(int plan) {
    // Japan alone has the MKK plan; the others serve several countries each (France's plan
    // serves Singapore too, Israel's the Gaza Strip).
    return plan == 7 || plan == 11 ? "JP" : "";
}

int WpaSupplicantBackend::planOfCountry(const std::string& isoCode) {
    static const std::map<std::string, int> plans = {
        {"JP", 11}, {"FR", 5}, {"IL", 6}, {"US", 3}, {"CA", 3}, {"TW", 3}, {"AU", 3},
        {"CN", 3},  {"HK", 3}, {"KR", 3}, {"MY", 3}, {"NZ", 3}, {"CO", 3}, {"SG", 5},
    };
    if (isoCode.size() != 2 || isoCode == "00") {
        return 0;
    }
    const auto found = plans.find(isoCode);
    return found == plans.end() ? 2 : found->second; // any other nation: the ETSI plan
}

int WpaSupplicantBackend::channelPlanLocked() {
    if (m_plan) {
        return *m_plan;
    }
    if (m_chosen.channelPlan > 0) {
        return m_chosen.channelPlan;
    }
    const std::optional<std::string> reply = command("GET country");
    if (!reply || wpa::isFail(*reply)) {
        return 0;
    }
    std::string code = *reply;
    while (!code.empty() && (code.back() == '\n' || code.back() == '\r')) {
        code.pop_back();
    }
    return planOfCountry(code);
}

int WpaSupplicantBackend::channelPlan() {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return channelPlanLocked();
}

bool WpaSupplicantBackend::setCountryLocked(const std::string& isoCode) {
    const bool valid = isoCode.size() == 2 && std::all_of(isoCode.begin(), isoCode.end(), [](char c) {
                           return (c >= 'A' && c <= 'Z') || c == '0';
                       });
    if (!valid) {
        diag::warning(diag::adapterCategory, "not a country code: " + wpa::excerpt(isoCode));
        return false;
    }
    const std::optional<std::string> reply = command("SET country " + isoCode);
    if (reply && !wpa::isOk(*reply)) {
        diag::warning(diag::adapterCategory, "wpa_supplicant " + m_interface + " refused the country " +
                                                 isoCode + ": " + wpa::excerpt(*reply));
    }
    return reply && wpa::isOk(*reply);
}

void WpaSupplicantBackend::setChannelPlan(int plan) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_plan = plan;
    if (m_options.chosenCountry) {
        m_chosen = m_options.chosenCountry();
    }
    // The country chosen with this plan, else the plan's own nation.
    const std::string country =
        m_chosen.channelPlan == plan && !m_chosen.isoCode.empty() ? m_chosen.isoCode : countryOfPlan(plan);
    if (!country.empty()) {
        setCountryLocked(country);
        return;
    }
    if (m_planNoted != std::to_string(plan)) {
        m_planNoted = std::to_string(plan);
        diag::info(diag::adapterCategory, "channel plan " + std::to_string(plan) +
                                              " serves several countries: the regulatory domain stays as the "
                                              "system sets it");
    }
}

bool WpaSupplicantBackend::setCountry(const std::string& isoCode) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    return setCountryLocked(isoCode);
}

// --- The system's own wireless service ---

bool WpaSupplicantBackend::systemServiceManages() {
    std::string interfaceName;
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        interfaceName = m_interface;
    }
    const std::lock_guard<std::mutex> guard(m_serviceMutex);
    m_service = interfaceName.empty() ? SystemServiceReport{} : m_systemService(interfaceName);
    return m_service.manages;
}

int32_t WpaSupplicantBackend::systemServiceState() {
    const std::lock_guard<std::mutex> guard(m_serviceMutex);
    return m_service.state;
}

void WpaSupplicantBackend::openSystemSettings() {
    m_openSettings();
}
