#include "wlansim/Simulator.h"

#include "wlansim/Channels.h"
#include "wlansim/FileAccess.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

namespace wlansim {
namespace {

std::string currentWorldPath() {
    const char* path = std::getenv("WLANSIM_WORLD");
    return path && *path ? std::string(path) : std::string("wlansim.ini");
}

bool sameNoCase(std::string_view a, std::string_view b) {
    return equalsNoCase(a, b);
}

bool isHex64(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

// Authentication codes outside the table act as Auto, as the driver's own table does.
int authenticationOf(const DriverSettings& settings) {
    return settings.authentication >= 0 && settings.authentication <= 8 ? settings.authentication : 2;
}

// "TKIP/AES" (3) talks to both kinds of access point, "TKIP" (2) only to TKIP ones.
bool cipherAgrees(const Network& network, int encryption) {
    return encryption == 3 || (encryption == 2 && network.cipher == Cipher::Tkip);
}

bool wepKeyAgrees(const Network& network, const DriverSettings& settings) {
    if (settings.defaultKeyId < 0 || settings.defaultKeyId > 3) {
        return false;
    }
    const std::string& key = settings.wepKeys[std::size_t(settings.defaultKeyId)];
    std::size_t expected = settings.wepKeyBits == 64 ? 10 : settings.wepKeyBits == 128 ? 26 : 0;
    return !key.empty() && key.size() == expected && sameNoCase(key, network.key);
}

// A passphrase is turned into the key together with the SSID it was given for; a key of
// 64 hex digits is the key itself.
bool passphraseAgrees(const Network& network, const DriverSettings& settings) {
    if (settings.passphrase.empty()) {
        return false;
    }
    if (isHex64(settings.passphrase)) {
        return sameNoCase(settings.passphrase, network.key);
    }
    return settings.passphrase == network.key && settings.passphraseSsid == network.ssid;
}

bool securityAgrees(const Network& network, const DriverSettings& settings) {
    int authentication = authenticationOf(settings);
    int encryption = settings.encryption;
    bool certificate = !settings.certificate[0].empty();
    switch (network.security) {
    case Security::Open:
        return encryption == 0 && (authentication == 0 || authentication == 2);
    case Security::Wep:
        return encryption == 1 && (authentication == 0 || authentication == 2) &&
               wepKeyAgrees(network, settings);
    case Security::SharedWep:
        return encryption == 1 && (authentication == 1 || authentication == 2) &&
               wepKeyAgrees(network, settings);
    case Security::Wpa:
        return (authentication == 3 || authentication == 8) && cipherAgrees(network, encryption) &&
               certificate;
    case Security::Wpa2:
        return (authentication == 6 || authentication == 8) && cipherAgrees(network, encryption) &&
               certificate;
    case Security::WpaPsk:
        return authentication == 4 && cipherAgrees(network, encryption) &&
               passphraseAgrees(network, settings);
    case Security::Wpa2Psk:
        return authentication == 7 && cipherAgrees(network, encryption) &&
               passphraseAgrees(network, settings);
    case Security::WpaNone:
        return authentication == 5 && cipherAgrees(network, encryption) &&
               passphraseAgrees(network, settings);
    }
    return false;
}

bool kindAgrees(const Network& network, const DriverSettings& settings) {
    bool adHoc = settings.networkType == 0;
    return adHoc == (network.kind == NetworkKind::AdHoc);
}

bool inRange(const Network& network) {
    return network.signal > 0;
}

int64_t nanoseconds(const struct timespec& time) {
    return int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}

int encryptionCode(const Network& network) {
    switch (network.security) {
    case Security::Open:
        return 0;
    case Security::Wep:
    case Security::SharedWep:
        return 1;
    default:
        return network.cipher == Cipher::Tkip ? 2 : 3;
    }
}

int authenticationCode(Security security) {
    switch (security) {
    case Security::Open:
    case Security::Wep:
        return 0;
    case Security::SharedWep:
        return 1;
    case Security::Wpa:
        return 3;
    case Security::WpaPsk:
        return 4;
    case Security::WpaNone:
        return 5;
    case Security::Wpa2:
        return 6;
    case Security::Wpa2Psk:
        return 7;
    }
    return 0;
}

int networkTypeCode(NetworkKind kind) {
    switch (kind) {
    case NetworkKind::Infrastructure:
        return 1;
    case NetworkKind::SoftAp:
        return 2;
    case NetworkKind::AdHoc:
        return 0;
    }
    return 0;
}

std::string dotted(int a, int b, int c, int d) {
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
}

} // namespace

void Simulator::refresh(Clock::time_point now) {
    std::string path = currentWorldPath();
    if (!m_started || path != m_worldPath) {
        // Another world is another machine: nothing of the previous one carries over.
        *this = Simulator();
        m_started = true;
        m_worldPath = path;
        reloadWorld(path);
        loadSettings();
    } else {
        reloadWorld(path);
    }
    if (!present()) {
        m_initialized = false;
    }
    updateLink(now);
}

void Simulator::reloadWorld(const std::string& path) {
    FileStamp stamp;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        stamp = {true,
                 uint64_t(info.st_dev),
                 uint64_t(info.st_ino),
                 uint64_t(info.st_size),
                 nanoseconds(info.st_mtim),
                 nanoseconds(info.st_ctim)};
    }
    if (m_worldLoaded && stamp == m_stamp) {
        return;
    }
    m_stamp = stamp;
    m_worldLoaded = true;
    std::optional<std::string> text = stamp.exists ? readFile(path, maxWorldBytes) : std::nullopt;
    m_world = text ? parseWorld(*text) : defaultWorld();
    if (m_world.adapter.systemControl != m_worldSystemControl) {
        m_systemControlOverride.reset();
    }
    m_worldSystemControl = m_world.adapter.systemControl;
}

void Simulator::loadSettings() {
    DriverSettings defaults = factorySettings(m_world);
    std::optional<std::string> saved = readFile(m_worldPath + ".state", maxStateBytes);
    m_settings = saved ? parseSettings(*saved, defaults) : defaults;
    m_savedSettings = serializeSettings(m_settings);
}

void Simulator::settingsChanged() {
    std::string text = serializeSettings(m_settings);
    if (text != m_savedSettings && writeFileAtomically(m_worldPath + ".state", text, 0600)) {
        m_savedSettings = std::move(text);
    }
}

bool Simulator::initialize(Clock::time_point now) {
    if (!present() || m_world.adapter.initFails) {
        return false;
    }
    loadSettings();
    m_initialized = true;
    m_txBytes = m_rxBytes = 0;
    dropLink(now);
    updateLink(now);
    return true;
}

void Simulator::stop() {
    m_initialized = false;
    m_linkNetwork.reset();
    m_attempt = Attempt::Idle;
}

void Simulator::ssidApplied(Clock::time_point now) {
    dropLink(now);
    updateLink(now);
}

void Simulator::dropLink(Clock::time_point now) {
    m_linkNetwork.reset();
    m_attempt = Attempt::Searching;
    m_attemptSince = now;
}

void Simulator::updateLink(Clock::time_point now) {
    accumulateTraffic(now);
    if (!m_initialized || m_world.adapter.radioOff) {
        m_linkNetwork.reset();
        m_attempt = Attempt::Idle;
        m_attemptSince = now;
        return;
    }
    if (m_linkNetwork) {
        keepOrDropAssociation(now);
    }
    if (!m_linkNetwork) {
        tryToAssociate(now);
    }
}

void Simulator::accumulateTraffic(Clock::time_point now) {
    if (m_linkNetwork && now > m_lastTraffic) {
        double seconds = std::chrono::duration<double>(now - m_lastTraffic).count();
        const double load = trafficLoad(now);
        m_txBytes += m_linkNetwork->txKbps * 125.0 * seconds * load;
        m_rxBytes += m_linkNetwork->rxKbps * 125.0 * seconds * load;
    }
    m_lastTraffic = now;
}

// An association lasts while its network is in range and still accepts the settings; an
// ad hoc cell of the adapter's own lasts until the next apply.
void Simulator::keepOrDropAssociation(Clock::time_point now) {
    if (m_linkNetwork->name.empty()) {
        return;
    }
    for (const Network& network : m_world.networks) {
        if (network.bssid == m_linkNetwork->bssid && network.ssid == m_settings.ssid && inRange(network) &&
            kindAgrees(network, m_settings) && securityAgrees(network, m_settings)) {
            m_linkNetwork = network;
            return;
        }
    }
    dropLink(now);
}

void Simulator::tryToAssociate(Clock::time_point now) {
    if (m_settings.ssid.empty()) {
        m_attempt = Attempt::Idle;
        m_attemptSince = now;
        return;
    }
    const Network* match = strongestMatch();
    bool startCell = !match && m_settings.networkType == 0 && !cellExists();
    if (!match && !startCell) {
        m_attempt = cellExists() ? Attempt::Refused : Attempt::Searching;
        m_attemptSince = now;
        return;
    }
    m_attempt = Attempt::Searching;
    if (now - m_attemptSince < std::chrono::milliseconds(m_world.adapter.associationDelayMs)) {
        return;
    }
    m_linkNetwork = match ? *match : ownCell();
    m_attempt = Attempt::Associated;
    m_lastTraffic = now;
}

const Network* Simulator::strongestMatch() const {
    const Network* best = nullptr;
    for (const Network& network : m_world.networks) {
        if (network.ssid == m_settings.ssid && inRange(network) && kindAgrees(network, m_settings) &&
            securityAgrees(network, m_settings) && (!best || network.signal > best->signal)) {
            best = &network;
        }
    }
    return best;
}

// A network of the wanted SSID and kind is within reach, whether or not it accepts the key.
bool Simulator::cellExists() const {
    return std::any_of(m_world.networks.begin(), m_world.networks.end(), [&](const Network& network) {
        return network.ssid == m_settings.ssid && inRange(network) && kindAgrees(network, m_settings);
    });
}

// The ad hoc cell the adapter starts when it finds none to join: a locally administered
// BSSID made from its own address and the SSID.
Network Simulator::ownCell() const {
    Network cell;
    cell.kind = NetworkKind::AdHoc;
    cell.ssid = m_settings.ssid;
    uint32_t hash = 2166136261u;
    for (unsigned char c : m_settings.ssid) {
        hash = (hash ^ c) * 16777619u;
    }
    const Mac& mac = m_world.adapter.mac;
    cell.bssid = {uint8_t((mac[0] | 0x02) & 0xfe),
                  uint8_t(mac[1] ^ hash),
                  uint8_t(mac[2] ^ (hash >> 8)),
                  uint8_t(mac[3] ^ (hash >> 16)),
                  mac[4],
                  mac[5]};
    cell.signal = 100;
    cell.quality = 100;
    cell.channel = channelOfDriverCode(m_settings.channelCode).value_or(11); // a code it cannot use: 11
    return cell;
}

// Real traffic comes in bursts: with jitter on, the rates swing between a fifth of the
// configured rate and half as much again, a new swing each second. Without jitter they are exact.
double Simulator::trafficLoad(Clock::time_point now) {
    if (m_world.adapter.jitter <= 0) {
        return 1.0;
    }
    if (now - m_loadSince >= std::chrono::seconds(1)) {
        m_load = std::uniform_real_distribution<double>(0.2, 1.5)(m_random);
        m_loadSince = now;
    }
    return m_load;
}

int Simulator::wander(int value, int low) {
    int jitter = m_world.adapter.jitter;
    if (jitter > 0) {
        value += std::uniform_int_distribution<int>(-jitter, jitter)(m_random);
    }
    return std::clamp(value, low, 100);
}

int Simulator::channelCode() const {
    if (m_linkNetwork) {
        return driverCodeOfChannel(m_linkNetwork->channel).value_or(m_settings.channelCode);
    }
    return m_settings.channelCode;
}

LinkReport Simulator::link() {
    LinkReport report;
    report.mode = m_settings.networkType == 0 ? 2 : 1;
    report.ssid = m_settings.ssid;
    switch (m_attempt) {
    case Attempt::Idle:
        report.authStatus = 0;
        break;
    case Attempt::Searching:
        report.authStatus = 1;
        break;
    case Attempt::Refused:
        report.authStatus = 2;
        break;
    case Attempt::Associated:
        break;
    }
    if (m_linkNetwork) {
        const Network& network = *m_linkNetwork;
        report.state = 1;
        report.bssid = network.bssid;
        report.signal = wander(network.signal, 1);
        report.quality = wander(network.linkQuality(), 0);
        bool secured = network.security != Security::Open && network.security != Security::Wep &&
                       network.security != Security::SharedWep;
        report.authStatus = secured ? 4 : 3;
    }
    return report;
}

IpReport Simulator::ipInfo() const {
    IpReport report;
    if (!m_linkNetwork) {
        return report;
    }
    const Mac& own = m_world.adapter.mac;
    if (m_linkNetwork->kind == NetworkKind::AdHoc) {
        report.texts[0] = dotted(169, 254, own[4], std::max<int>(own[5], 1));
        report.texts[1] = "255.255.0.0";
        return report;
    }
    int subnet = m_linkNetwork->bssid[4] % 254 + 1;
    report.texts[0] = dotted(192, 168, subnet, own[5] % 200 + 20);
    report.texts[1] = "255.255.255.0";
    report.texts[2] = dotted(192, 168, subnet, 1);
    report.texts[3] = dotted(192, 168, subnet, 1);
    report.value = 1;
    return report;
}

std::vector<SurveyRecord> Simulator::survey() {
    std::vector<SurveyRecord> records;
    if (!m_initialized || m_world.adapter.radioOff) {
        return records;
    }
    for (const Network& network : m_world.networks) {
        if (!inRange(network) || records.size() >= maxNetworks) {
            continue;
        }
        SurveyRecord record;
        record.networkType = networkTypeCode(network.kind);
        record.ssid = network.ssid;
        record.bssid = network.bssid;
        record.signal = wander(network.signal, 1);
        record.channelCode = driverCodeOfChannel(network.channel).value_or(0);
        record.encryption = encryptionCode(network);
        record.authentication = authenticationCode(network.security);
        record.band = int(network.band);
        records.push_back(record);
    }
    return records;
}

int Simulator::systemControl() const {
    return m_systemControlOverride.value_or(m_world.adapter.systemControl);
}

} // namespace wlansim
