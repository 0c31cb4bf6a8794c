// The driver contract implemented over the simulated adapter. Every function takes the one
// driver lock, brings the simulation up to date, does its work and, when WLANSIM_TRACE names
// a file, appends one trace line. Nothing is ever written to stdout or stderr.
#include "adapter/wlandll.h"

#include "wlansim/Simulator.h"
#include "wlansim/Trace.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

using namespace wlansim;

namespace {

// Never destroyed: a monitor thread may still call in while the process exits.
std::mutex& driverLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

Simulator& simulator() {
    static auto* sim = new Simulator;
    return *sim;
}

class Call {
public:
    explicit Call(const char* name) : m_guard(driverLock()), m_now(Clock::now()) {
        simulator().refresh(m_now);
        const char* path = std::getenv("WLANSIM_TRACE");
        if (path && *path) {
            m_tracePath = path;
            m_trace.emplace(name);
        }
    }
    ~Call() {
        if (m_trace) {
            appendTraceLine(m_tracePath, m_trace->line());
        }
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    Simulator& sim() { return simulator(); }
    DriverSettings& settings() { return simulator().settings(); }
    Clock::time_point now() const { return m_now; }

    Call& number(long long value) {
        return record([&] { m_trace->number(value); });
    }
    Call& text(const char* value, std::size_t limit) {
        return record([&] { m_trace->text(value, limit); });
    }
    Call& bytes(const unsigned char* value, std::size_t count) {
        return record([&] { m_trace->bytes(value, count); });
    }
    Call& ints(const int32_t* value, std::size_t count) {
        return record([&] { m_trace->ints(value, count); });
    }
    Call& arrow() {
        return record([&] { m_trace->arrow(); });
    }
    int result(int value) {
        arrow().number(value);
        return value;
    }
    // A setter: records its arguments, stores, saves the settings.
    int changed() {
        simulator().settingsChanged();
        return 1;
    }

private:
    template <typename F> Call& record(F&& write) {
        if (m_trace) {
            write();
        }
        return *this;
    }

    std::lock_guard<std::mutex> m_guard;
    Clock::time_point m_now;
    std::string m_tracePath;
    std::optional<TraceLine> m_trace;
};

// Texts are cut to the buffer and always terminated.
void copyText(char* buffer, std::size_t size, const std::string& text) {
    std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    std::memset(buffer + length, 0, size - length);
}

std::string takeText(const char* text, std::size_t limit) {
    return text ? std::string(text, strnlen(text, limit)) : std::string();
}

void putInt(unsigned char* block, std::size_t offset, uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        block[offset + i] = uint8_t(value >> (8 * i));
    }
}

// The adapter's texts fit a 255-byte buffer as well as the documented 256 bytes.
constexpr std::size_t infoTextSize = 255;
constexpr std::size_t maxSsid = 32;

// A getter whose value is read under the lock, after the simulation is brought up to date.
template <typename Read> int getInt(const char* name, Read read) {
    Call call(name);
    return call.result(read(call.sim()));
}

int getSetting(const char* name, int DriverSettings::*field) {
    return getInt(name, [field](Simulator& sim) { return sim.settings().*field; });
}

int setInt(const char* name, int32_t value, int DriverSettings::*field) {
    Call call(name);
    call.number(value);
    call.settings().*field = value;
    return call.changed();
}

int setPassphrase(const char* name, int32_t encryption, const char* passphrase, const char* ssid) {
    Call call(name);
    call.number(encryption).text(passphrase, 64).text(ssid, maxSsid);
    DriverSettings& settings = call.settings();
    settings.passphraseEncryption = encryption;
    settings.passphrase = takeText(passphrase, 64);
    settings.passphraseSsid = takeText(ssid, maxSsid);
    return call.changed();
}

} // namespace

extern "C" {

int API_Initialize(void) {
    Call call("API_Initialize");
    return call.result(call.sim().initialize(call.now()) ? 1 : 0);
}

int API_IsUnplug(void) {
    Call call("API_IsUnplug");
    return call.result(call.sim().present() ? 0 : 1);
}

int API_Stop(void) {
    Call call("API_Stop");
    call.sim().stop();
    return 1;
}

int API_GetHardwareID(char* buffer) {
    Call call("API_GetHardwareID");
    int present = call.sim().present() ? 1 : 0;
    if (buffer) {
        copyText(buffer, infoTextSize, present ? call.sim().world().adapter.hardwareId : std::string());
    }
    call.result(present);
    call.text(buffer, infoTextSize);
    return present;
}

int API_GetDriverDescription(char* description, char* version) {
    Call call("API_GetDriverDescription");
    const AdapterSection& adapter = call.sim().world().adapter;
    if (description)
        copyText(description, infoTextSize, adapter.driverDescription);
    if (version)
        copyText(version, infoTextSize, adapter.driverVersion);
    call.result(1);
    call.text(description, infoTextSize).text(version, infoTextSize);
    return 1;
}

int API_GetHardwareVersion(char* buffer) {
    Call call("API_GetHardwareVersion");
    if (buffer)
        copyText(buffer, infoTextSize, call.sim().world().adapter.hardwareVersion);
    call.result(1);
    call.text(buffer, infoTextSize);
    return 1;
}

int API_GetAPIVersion(char* buffer) {
    Call call("API_GetAPIVersion");
    if (buffer)
        copyText(buffer, infoTextSize, call.sim().world().adapter.apiVersion);
    call.result(1);
    call.text(buffer, infoTextSize);
    return 1;
}

int API_GetMacAddress(unsigned char* mac) {
    Call call("API_GetMacAddress");
    if (mac)
        std::memcpy(mac, call.sim().world().adapter.mac.data(), WLAN_MAC_SIZE);
    call.result(1);
    call.bytes(mac, WLAN_MAC_SIZE);
    return 1;
}

int API_GetChipsetSolution(void) {
    return getInt("API_GetChipsetSolution", [](Simulator& sim) { return sim.world().adapter.chipset; });
}

int API_GetStatusSignalInfo(int32_t* signalStrength, int32_t* linkQuality) {
    Call call("API_GetStatusSignalInfo");
    LinkReport link = call.sim().link();
    if (signalStrength)
        *signalStrength = link.signal;
    if (linkQuality)
        *linkQuality = link.quality;
    call.result(1);
    call.number(link.signal).number(link.quality);
    return 1;
}

int API_GetStatusLinkInfo(int32_t* state, int32_t* mode, char* ssid, unsigned char* bssid) {
    Call call("API_GetStatusLinkInfo");
    LinkReport link = call.sim().link();
    if (state)
        *state = link.state;
    if (mode)
        *mode = link.mode;
    if (ssid)
        copyText(ssid, WLAN_LINK_SSID_BUFFER_SIZE, link.ssid);
    if (bssid)
        std::memcpy(bssid, link.bssid.data(), WLAN_MAC_SIZE);
    call.result(1);
    call.number(link.state).number(link.mode).text(link.ssid.c_str(), maxSsid);
    call.bytes(link.bssid.data(), WLAN_MAC_SIZE);
    return 1;
}

// Seven counters (packets and errors made up from the byte totals), then the totals.
int API_GetStatistics(unsigned char* block) {
    Call call("API_GetStatistics");
    unsigned char local[WLAN_STATISTICS_SIZE] = {};
    uint64_t tx = call.sim().txTotal();
    uint64_t rx = call.sim().rxTotal();
    const uint64_t counters[WLAN_STAT_COUNTER_COUNT] = {tx / 1200,  rx / 1200,   0, 0,
                                                        tx / 60000, rx / 240000, 0};
    for (std::size_t i = 0; i < WLAN_STAT_COUNTER_COUNT; ++i) {
        putInt(local, WLAN_STAT_COUNTERS_OFFSET + 4 * i, counters[i], 4);
    }
    putInt(local, WLAN_STAT_TX_TOTAL_OFFSET, tx, 8);
    putInt(local, WLAN_STAT_RX_TOTAL_OFFSET, rx, 8);
    if (block)
        std::memcpy(block, local, sizeof local);
    call.result(1);
    call.bytes(local, sizeof local);
    return 1;
}

int API_GetIPInfo(unsigned char* block) {
    Call call("API_GetIPInfo");
    unsigned char local[WLAN_IP_INFO_SIZE] = {};
    IpReport ip = call.sim().ipInfo();
    for (std::size_t i = 0; i < WLAN_IP_TEXT_COUNT; ++i) {
        copyText(reinterpret_cast<char*>(local) + i * WLAN_IP_TEXT_SIZE, WLAN_IP_TEXT_SIZE, ip.texts[i]);
    }
    putInt(local, WLAN_IP_VALUE_OFFSET, uint32_t(ip.value), 4);
    if (block)
        std::memcpy(block, local, sizeof local);
    call.result(1);
    call.bytes(local, sizeof local);
    return 1;
}

int API_GetStatusAuthStatus(void) {
    Call call("API_GetStatusAuthStatus");
    return call.result(call.sim().link().authStatus);
}

int API_SiteSurvey(unsigned char* records) {
    std::vector<SurveyRecord> found;
    int delayMs = 0;
    {
        Call call("API_SiteSurvey");
        if (records) {
            found = call.sim().survey();
            delayMs = found.empty() ? 0 : call.sim().world().adapter.surveyDelayMs;
        }
        call.result(int(found.size()));
    }
    // The scan takes its time without holding up the other calls.
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    for (std::size_t i = 0; i < found.size(); ++i) {
        unsigned char* record = records + i * WLAN_SURVEY_RECORD_SIZE;
        const SurveyRecord& r = found[i];
        std::memset(record, 0, WLAN_SURVEY_RECORD_SIZE);
        putInt(record, WLAN_SURVEY_TYPE_OFFSET, uint32_t(r.networkType), 4);
        copyText(reinterpret_cast<char*>(record) + WLAN_SURVEY_SSID_OFFSET, WLAN_SURVEY_SSID_SIZE, r.ssid);
        std::memcpy(record + WLAN_SURVEY_BSSID_OFFSET, r.bssid.data(), WLAN_MAC_SIZE);
        putInt(record, WLAN_SURVEY_SIGNAL_OFFSET, uint32_t(r.signal), 4);
        putInt(record, WLAN_SURVEY_CHANNEL_OFFSET, uint32_t(r.channelCode), 4);
        putInt(record, WLAN_SURVEY_ENCRYPTION_OFFSET, uint32_t(r.encryption), 4);
        putInt(record, WLAN_SURVEY_AUTH_OFFSET, uint32_t(r.authentication), 4);
        putInt(record, WLAN_SURVEY_BAND_OFFSET, uint32_t(r.band), 4);
    }
    return int(found.size());
}

int API_SetNetworkType(int32_t type) {
    return setInt("API_SetNetworkType", type, &DriverSettings::networkType);
}
int API_GetNetworkType(void) {
    return getSetting("API_GetNetworkType", &DriverSettings::networkType);
}

int API_SetEncryptionMode(int32_t mode) {
    return setInt("API_SetEncryptionMode", mode, &DriverSettings::encryption);
}

int API_GetEncryptionMode(int32_t* mode) {
    Call call("API_GetEncryptionMode");
    int value = call.settings().encryption;
    if (mode)
        *mode = value;
    call.result(1);
    call.number(value);
    return 1;
}

int API_SetAuthenticationMode(int32_t mode) {
    return setInt("API_SetAuthenticationMode", mode, &DriverSettings::authentication);
}
int API_GetAuthenticationMode(void) {
    return getSetting("API_GetAuthenticationMode", &DriverSettings::authentication);
}

int API_SetPreambleMode(int32_t mode) {
    return setInt("API_SetPreambleMode", mode, &DriverSettings::preamble);
}
int API_GetPreambleMode(void) {
    return getSetting("API_GetPreambleMode", &DriverSettings::preamble);
}

int API_SetPowerSaveMode(int32_t mode) {
    return setInt("API_SetPowerSaveMode", mode, &DriverSettings::powerSave);
}
int API_GetPowerSaveMode(void) {
    return getSetting("API_GetPowerSaveMode", &DriverSettings::powerSave);
}

int API_SetChannel(int32_t code) {
    return setInt("API_SetChannel", code, &DriverSettings::channelCode);
}
int API_GetChannel(void) {
    return getInt("API_GetChannel", [](Simulator& sim) { return sim.channelCode(); });
}

int API_SetBeaconInterval(int32_t interval) {
    return setInt("API_SetBeaconInterval", interval, &DriverSettings::beaconInterval);
}
int API_GetBeaconInterval(void) {
    return getSetting("API_GetBeaconInterval", &DriverSettings::beaconInterval);
}

int API_SetFragmentationThreshold(int32_t threshold) {
    return setInt("API_SetFragmentationThreshold", threshold, &DriverSettings::fragmentationThreshold);
}
int API_GetFragmentationThreshold(void) {
    return getSetting("API_GetFragmentationThreshold", &DriverSettings::fragmentationThreshold);
}

int API_SetRTSThreshold(int32_t threshold) {
    return setInt("API_SetRTSThreshold", threshold, &DriverSettings::rtsThreshold);
}
int API_GetRTSThreshold(void) {
    return getSetting("API_GetRTSThreshold", &DriverSettings::rtsThreshold);
}

int API_SetDefaultKeyID(int32_t keyId) {
    return setInt("API_SetDefaultKeyID", keyId, &DriverSettings::defaultKeyId);
}
int API_GetDefaultKeyID(void) {
    return getSetting("API_GetDefaultKeyID", &DriverSettings::defaultKeyId);
}

// The SSID comes last in an apply: the adapter drops its link and starts a new attempt.
int API_SetSSID(const char* ssid) {
    Call call("API_SetSSID");
    call.text(ssid, maxSsid);
    call.settings().ssid = takeText(ssid, maxSsid);
    call.changed();
    call.sim().ssidApplied(call.now());
    return 1;
}

int API_GetSSID(char* buffer) {
    Call call("API_GetSSID");
    const std::string& ssid = call.settings().ssid;
    if (buffer)
        copyText(buffer, WLAN_LINK_SSID_BUFFER_SIZE, ssid);
    call.result(1);
    call.text(ssid.c_str(), maxSsid);
    return 1;
}

int API_SetTxRate(int32_t autoRate, int32_t code) {
    Call call("API_SetTxRate");
    call.number(autoRate).number(code);
    call.settings().txRateAuto = autoRate;
    call.settings().txRate = code;
    return call.changed();
}

int API_GetTxRate(int32_t* autoRate, int32_t* code) {
    Call call("API_GetTxRate");
    const DriverSettings& settings = call.settings();
    if (autoRate)
        *autoRate = settings.txRateAuto;
    if (code)
        *code = settings.txRate;
    call.result(1);
    call.number(settings.txRateAuto).number(settings.txRate);
    return 1;
}

int API_SetWirelessMode(WlanWirelessModeBlock block) {
    Call call("API_SetWirelessMode");
    call.ints(block.flags, 12);
    std::copy(std::begin(block.flags), std::end(block.flags), call.settings().wirelessMode.begin());
    return call.changed();
}

int API_GetWirelessMode(WlanWirelessModeBlock* block) {
    Call call("API_GetWirelessMode");
    const auto& flags = call.settings().wirelessMode;
    if (block)
        std::copy(flags.begin(), flags.end(), block->flags);
    call.result(1);
    call.ints(flags.data(), flags.size());
    return 1;
}

int API_SetWEPKey(int32_t index, int32_t bits, const char* hexKey) {
    Call call("API_SetWEPKey");
    call.number(index).number(bits).text(hexKey, 256);
    if (index < 0 || index > 3) {
        return 1;
    }
    call.settings().wepKeys[std::size_t(index)] = takeText(hexKey, 256);
    call.settings().wepKeyBits = bits;
    return call.changed();
}

int API_SetWPAPSKKey(int32_t encryption, const char* passphrase, const char* ssid) {
    return setPassphrase("API_SetWPAPSKKey", encryption, passphrase, ssid);
}

int API_SetWPANoneKey(int32_t encryption, const char* passphrase, const char* ssid) {
    return setPassphrase("API_SetWPANoneKey", encryption, passphrase, ssid);
}

int API_SetWPA(WlanCertificateBlock block) {
    Call call("API_SetWPA");
    const char* texts[4] = {block.certificateName, block.certificateHash, block.domainName, block.loginName};
    for (std::size_t i = 0; i < 4; ++i) {
        call.text(texts[i], 255);
        call.settings().certificate[i] = takeText(texts[i], 255);
    }
    return call.changed();
}

int API_GetAdvancedMode(int32_t* pair) {
    Call call("API_GetAdvancedMode");
    const int32_t value[2] = {0, 0};
    if (pair)
        std::memcpy(pair, value, sizeof value);
    call.result(1);
    call.ints(value, 2);
    return 1;
}

int API_GetRadioOff(void) {
    return getInt("API_GetRadioOff", [](Simulator& sim) { return sim.world().adapter.radioOff; });
}

int API_GetChannelPlanByCountry(void) {
    return getSetting("API_GetChannelPlanByCountry", &DriverSettings::channelPlan);
}

int API_SetChannelPlanByCountry(int32_t plan) {
    return setInt("API_SetChannelPlanByCountry", plan, &DriverSettings::channelPlan);
}

int API_GetWZCControlFlag(void) {
    return getInt("API_GetWZCControlFlag", [](Simulator& sim) { return sim.systemControl(); });
}

int API_SetWZCControlFlag(int32_t flag) {
    Call call("API_SetWZCControlFlag");
    call.number(flag);
    call.sim().setSystemControl(flag);
    return 1;
}

// The system's own wireless service is not running beside the simulated adapter.
int API_GetWZCService(void) {
    return getInt("API_GetWZCService", [](Simulator&) { return 0; });
}

int API_ActiveWZCUI(void) {
    Call call("API_ActiveWZCUI");
    return 1;
}

} // extern "C"
