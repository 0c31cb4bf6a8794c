#include "WirelessAdapter.h"

#include "CodeTables.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

// Texts the driver writes get one spare zero byte past the size it was promised, so
// even a driver that fills its buffer to the brim leaves a terminated text behind.
template <std::size_t N> struct DriverText {
    char bytes[N + 1] = {};
    char* data() { return bytes; }
};

using TextBuffer = DriverText<WLAN_TEXT_BUFFER_SIZE>;
using SsidBuffer = DriverText<WLAN_LINK_SSID_BUFFER_SIZE>;

// Copies a text of a driver block that may lack its terminator, reading at most
// `available` bytes of it.
template <std::size_t N>
void copyBoundedText(char (&target)[N], const unsigned char* source, std::size_t available) {
    std::size_t i = 0;
    for (; i + 1 < N && i < available && source[i] != 0; ++i) {
        target[i] = static_cast<char>(source[i]);
    }
    target[i] = '\0';
}

std::size_t boundedLength(const unsigned char* text, std::size_t available) {
    std::size_t i = 0;
    while (i < available && text[i] != 0) {
        ++i;
    }
    return i;
}

// The driver's blocks are little-endian whatever the host; assemble the bytes so that no
// misaligned access happens either.
uint32_t readLe32(const unsigned char* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

int32_t readLeInt32(const unsigned char* bytes) {
    const uint32_t raw = readLe32(bytes);
    int32_t value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

uint64_t readLe64(const unsigned char* bytes) {
    return static_cast<uint64_t>(readLe32(bytes)) | (static_cast<uint64_t>(readLe32(bytes + 4)) << 32);
}

// A record field handed to the driver as text is copied first, so that a field that
// arrived without its terminator is cut instead of read past.
template <std::size_t N> struct TerminatedText {
    explicit TerminatedText(const char (&field)[N]) { copyText(bytes, field); }
    const char* c_str() const { return bytes; }
    char bytes[N];
};

} // namespace

WirelessAdapter::WirelessAdapter(DriverApi& driver, Monitor monitor, std::chrono::milliseconds cyclePeriod)
    : m_driver(driver), m_cyclePeriod(cyclePeriod) {
    // Every cache starts cleared (value-initialised members); the link mode starts at 1.
    m_linkStatus.linkMode = 1;
    if (monitor == Monitor::Start) {
        m_thread = std::thread(&WirelessAdapter::MonitorLoop, this);
    }
}

WirelessAdapter::~WirelessAdapter() {
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> guard(m_stopMutex);
            m_stopRequested = true;
        }
        m_stopSignal.notify_all();
        // The sleep is interruptible, so this waits for at most the cycle that is running;
        // the thread is always joined so that it never outlives the object.
        m_thread.join();
    }
}

// --- Window-thread operations ---

int WirelessAdapter::IsDriverAbsent(int32_t& absent) {
    absent = m_driverReady.load() == 0 ? 1 : 0;
    return 1;
}

int WirelessAdapter::WzcRequest(int op, int item, int32_t& value) {
    if (op == 0) {
        return WzcDriverCall(op, item, value);
    }
    if (op == 1) {
        if (item == 0) {
            std::lock_guard<std::recursive_mutex> guard(m_lock);
            value = m_wzcControlFlag;
        } else if (item == 2) {
            return 2;
        }
    }
    return 1;
}

int WirelessAdapter::GetAdapterInfo(AdapterInfo& info) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    info = m_adapterInfo;
    return 1;
}

int WirelessAdapter::GetLinkStatus(LinkStatus& status) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    status = m_linkStatus;
    return 1;
}

int WirelessAdapter::GetSurveyList(std::array<BssEntry, maxSurveyEntries>& entries) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    RunSiteSurvey();
    for (int i = 0; i < m_surveyCount; ++i) {
        entries[static_cast<std::size_t>(i)] = m_surveyEntries[static_cast<std::size_t>(i)];
    }
    return m_surveyCount;
}

int WirelessAdapter::AccessSettings(int op, StationSettings& record) {
    if (op == 0) {
        return TransferSettings(0, record);
    }
    if (op != 1) {
        return 1;
    }
    // Only what the read-back fills is copied, through the same tables once more; keys,
    // passphrase and certificate texts stay as the caller has them.
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const StationSettings& cache = m_config;
    std::memcpy(record.AdvancedMode, cache.AdvancedMode, sizeof record.AdvancedMode);
    record.AuthenticationMode = codes::authenticationFromDriver(cache.AuthenticationMode);
    record.RadioOff = cache.RadioOff;
    record.Channel = codes::channelIndexKept(cache.Channel);
    record.ChannelPlan = codes::channelPlanFromDriver(cache.ChannelPlan);
    copyText(record.cSSID, cache.cSSID);
    record.EncryptionMode = codes::encryptionFromDriver(cache.EncryptionMode);
    record.BeaconInterval = cache.BeaconInterval;
    record.iDefaultWEPKeyID = cache.iDefaultWEPKeyID;
    record.FragmentationThreshold = cache.FragmentationThreshold;
    record.RTSThreshold = cache.RTSThreshold;
    record.NetworkType = codes::networkTypeFromDriver(cache.NetworkType);
    record.PowerSaveMode = codes::powerSaveFromDriver(cache.PowerSaveMode);
    record.PreambleMode = codes::preambleFromDriver(cache.PreambleMode);
    record.TxRateAuto = cache.TxRateAuto;
    record.TxRate = codes::txRateFromDriver(cache.TxRate);
    std::memcpy(record.WirelessMode, cache.WirelessMode, sizeof record.WirelessMode);
    return 1;
}

// --- Monitor ---

void WirelessAdapter::MonitorLoop() {
    std::unique_lock<std::mutex> stopGuard(m_stopMutex);
    while (!m_stopRequested) {
        stopGuard.unlock();
        RunMonitorCycle();
        stopGuard.lock();
        m_stopSignal.wait_for(stopGuard, m_cyclePeriod, [this] { return m_stopRequested; });
    }
}

void WirelessAdapter::RunMonitorCycle() {
    CheckDriverReady();
    if (m_driverReady.load() != 1) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    RefreshStatus();
    WzcDriverCall(1, 0, m_wzcControlFlag);
    WzcDriverCall(1, 1, m_wzcService);
    TransferSettings(1, m_config);
}

int WirelessAdapter::CheckDriverReady() {
    // Under the adapter lock as well, so the driver library never runs on two threads.
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_driverReady.load() == 0) {
        TextBuffer probe;
        if (m_driver.GetHardwareID(probe.data()) != 1) {
            return 1; // no adapter
        }
        if (m_driver.Initialize() == 1 && m_driver.IsUnplug() == 0) {
            m_driverReady = 1;
            m_haveTotals = false; // a fresh driver counts from its own start
            ReadAdapterInfo();
        } else {
            m_driver.Stop();
        }
        return 1;
    }
    if (m_driver.IsUnplug() == 1) {
        m_driver.Stop();
        m_driverReady = 0; // the caches keep their last contents
    }
    return 1;
}

int WirelessAdapter::WzcDriverCall(int op, int item, int32_t& value) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (op == 0) {
        if (item == 0) {
            m_driver.SetWZCControlFlag(value);
        } else if (item == 2) {
            m_driver.ActiveWZCUI();
        }
    } else if (op == 1) {
        if (item == 0) {
            value = m_driver.GetWZCControlFlag();
        } else if (item == 1) {
            value = m_driver.GetWZCService();
        } else if (item == 2) {
            m_driver.ActiveWZCUI();
        }
    }
    return 1;
}

// --- Snapshots ---

void WirelessAdapter::ReadAdapterInfo() {
    TextBuffer description;
    TextBuffer version;
    m_driver.GetDriverDescription(description.data(), version.data());
    copyText(m_adapterInfo.driverDescription, description.data());
    copyText(m_adapterInfo.driverVersion, version.data());

    unsigned char mac[WLAN_MAC_SIZE] = {};
    m_driver.GetMacAddress(mac);
    std::memcpy(m_adapterInfo.macAddress, mac, sizeof mac);
    m_adapterInfo.chipsetSolution = codes::chipsetFromDriver(m_driver.GetChipsetSolution());

    TextBuffer hardwareId;
    m_driver.GetHardwareID(hardwareId.data());
    copyText(m_adapterInfo.hardwareId, hardwareId.data());
    TextBuffer hardwareVersion;
    m_driver.GetHardwareVersion(hardwareVersion.data());
    copyText(m_adapterInfo.hardwareVersion, hardwareVersion.data());
    TextBuffer apiVersion;
    m_driver.GetAPIVersion(apiVersion.data());
    copyText(m_adapterInfo.apiVersion, apiVersion.data());
}

void WirelessAdapter::RefreshStatus() {
    int32_t signal = 0;
    int32_t quality = 0;
    m_driver.GetStatusSignalInfo(&signal, &quality);
    m_linkStatus.signalStrength = signal;
    m_linkStatus.linkQuality = quality;

    int32_t state = 0;
    int32_t mode = 0;
    SsidBuffer ssid;
    unsigned char bssid[WLAN_MAC_SIZE] = {};
    m_driver.GetStatusLinkInfo(&state, &mode, ssid.data(), bssid);
    m_linkStatus.connected = codes::linkConnectedFromState(state);
    m_linkStatus.linkMode = codes::linkModeFromDriver(mode);
    copyText(m_linkStatus.ssid, ssid.data());
    std::memcpy(m_linkStatus.bssid, bssid, sizeof bssid);

    RefreshTraffic();
    m_linkStatus.authStatus = codes::authStatusFromDriver(m_driver.GetStatusAuthStatus());
    RefreshIpTexts();
}

void WirelessAdapter::RefreshTraffic() {
    unsigned char block[WLAN_STATISTICS_SIZE] = {};
    m_driver.GetStatistics(block);
    TrafficCounters& counters = m_linkStatus.counters;
    int32_t* const words[WLAN_STAT_COUNTER_COUNT] = {
        &counters.counter0, &counters.counter1, &counters.counter2, &counters.counter3,
        &counters.counter4, &counters.counter5, &counters.counter6};
    for (std::size_t i = 0; i < WLAN_STAT_COUNTER_COUNT; ++i) {
        *words[i] = readLeInt32(block + WLAN_STAT_COUNTERS_OFFSET + 4 * i);
    }
    const uint64_t txTotal = readLe64(block + WLAN_STAT_TX_TOTAL_OFFSET);
    const uint64_t rxTotal = readLe64(block + WLAN_STAT_RX_TOTAL_OFFSET);
    if (!m_haveTotals) {
        m_previousTxTotal = txTotal;
        m_previousRxTotal = rxTotal;
        m_haveTotals = true;
    }
    // Unsigned arithmetic: a total that went down wraps modulo 2^64.
    counters.txDelta = txTotal - m_previousTxTotal;
    counters.rxDelta = rxTotal - m_previousRxTotal;
    m_previousTxTotal = txTotal;
    m_previousRxTotal = rxTotal;
}

void WirelessAdapter::RefreshIpTexts() {
    unsigned char block[WLAN_IP_INFO_SIZE] = {};
    m_driver.GetIPInfo(block);
    m_linkStatus.ipValue = readLeInt32(block + WLAN_IP_VALUE_OFFSET);

    // Block text at offset 50*k goes to ipText[target[k]]; ipText[3] is never filled.
    constexpr std::size_t target[WLAN_IP_TEXT_COUNT] = {0, 1, 2, 4};
    for (std::size_t k = 0; k < WLAN_IP_TEXT_COUNT; ++k) {
        const unsigned char* text = block + WLAN_IP_TEXT_SIZE * k;
        const std::size_t length = boundedLength(text, WLAN_IP_TEXT_SIZE);
        char(&ipText)[WLAN_IP_TEXT_SIZE] = m_linkStatus.ipText[target[k]];
        if (length >= 1 && length <= 15) {
            copyBoundedText(ipText, text, length);
        } else {
            copyText(ipText, "0.0.0.0");
        }
    }
    m_linkStatus.ipText[3][0] = '\0';
}

void WirelessAdapter::RunSiteSurvey() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    std::vector<unsigned char> records(static_cast<std::size_t>(WLAN_SURVEY_RECORD_SIZE) *
                                       WLAN_SURVEY_MAX_RECORDS);
    const int count = m_driver.SiteSurvey(records.data());
    if (count <= 0) {
        m_surveyCount = 0; // the cached entries stay; none is handed out
        return;
    }
    m_surveyCount = count > maxSurveyEntries ? maxSurveyEntries : count;
    for (int i = 0; i < m_surveyCount; ++i) {
        const unsigned char* record = records.data() + static_cast<std::size_t>(i) * WLAN_SURVEY_RECORD_SIZE;
        BssEntry& entry = m_surveyEntries[static_cast<std::size_t>(i)];
        entry = BssEntry{};
        copyBoundedText(entry.ssid, record + WLAN_SURVEY_SSID_OFFSET, WLAN_SURVEY_SSID_SIZE);
        std::memcpy(entry.bssid, record + WLAN_SURVEY_BSSID_OFFSET, sizeof entry.bssid);
        entry.signal = readLeInt32(record + WLAN_SURVEY_SIGNAL_OFFSET);
        entry.channel = codes::surveyChannelIndex(readLeInt32(record + WLAN_SURVEY_CHANNEL_OFFSET));
        entry.networkType = codes::surveyNetworkType(readLeInt32(record + WLAN_SURVEY_TYPE_OFFSET));
        entry.encryptionMode = codes::surveyEncryption(readLeInt32(record + WLAN_SURVEY_ENCRYPTION_OFFSET));
        entry.authenticationMode = codes::surveyAuthentication(readLeInt32(record + WLAN_SURVEY_AUTH_OFFSET));
        entry.wirelessMode[codes::surveyBandElement(readLeInt32(record + WLAN_SURVEY_BAND_OFFSET))] = 1;
    }
}

// --- Settings ---

int WirelessAdapter::TransferSettings(int op, StationSettings& record) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (op == 0) {
        ApplySettings(record);
    } else if (op == 1) {
        ReadBackSettings(record);
    }
    return 1;
}

void WirelessAdapter::ApplySettings(const StationSettings& record) {
    m_driver.SetNetworkType(codes::networkTypeToDriver(record.NetworkType));
    const int32_t encryptionCode = codes::encryptionToDriver(record.EncryptionMode);
    m_driver.SetEncryptionMode(encryptionCode);
    ApplySecurity(record, encryptionCode);
    m_driver.SetPreambleMode(codes::preambleToDriver(record.PreambleMode));
    m_driver.SetFragmentationThreshold(record.FragmentationThreshold);
    WlanWirelessModeBlock modes{};
    std::memcpy(modes.flags, record.WirelessMode, sizeof modes.flags);
    m_driver.SetWirelessMode(modes);
    m_driver.SetTxRate(record.TxRateAuto, codes::txRateToDriver(record.TxRate));
    m_driver.SetRTSThreshold(record.RTSThreshold);
    m_driver.SetPowerSaveMode(codes::powerSaveToDriver(record.PowerSaveMode));
    if (record.NetworkType == 0) { // the channel is ours to choose only in ad hoc mode
        m_driver.SetChannel(codes::channelIndexToCode(record.Channel));
    }
    m_driver.SetBeaconInterval(record.BeaconInterval);
    m_driver.SetSSID(TerminatedText(record.cSSID).c_str()); // always last: it starts the association
}

void WirelessAdapter::ApplySecurity(const StationSettings& record, int32_t encryptionCode) {
    const int32_t authentication = codes::authenticationToDriver(record.AuthenticationMode);
    m_driver.SetAuthenticationMode(authentication);
    switch (authentication) {
    case 3:
    case 6:
    case 8: {
        WlanCertificateBlock block{};
        copyText(block.certificateName, record.cCertificateName);
        copyText(block.certificateHash, record.cCertificateHash);
        copyText(block.domainName, record.cDomainName);
        copyText(block.loginName, record.cLoginName);
        m_driver.SetWPA(block);
        return;
    }
    case 4:
    case 7:
        m_driver.SetWPAPSKKey(encryptionCode, TerminatedText(record.cWPAPassPhase).c_str(),
                              TerminatedText(record.cSSID).c_str());
        return;
    case 5:
        m_driver.SetWPANoneKey(encryptionCode, TerminatedText(record.cWPAPassPhase).c_str(),
                               TerminatedText(record.cSSID).c_str());
        return;
    default: // 0, 1, 2: WEP keys
        for (int key = 0; key < 4; ++key) {
            m_driver.SetWEPKey(key, record.iWEPKeyBits, TerminatedText(record.wepKeyValue(key)).c_str());
        }
        m_driver.SetDefaultKeyID(record.iDefaultWEPKeyID);
        return;
    }
}

void WirelessAdapter::ReadBackSettings(StationSettings& record) {
    int32_t advanced[2] = {};
    m_driver.GetAdvancedMode(advanced);
    std::memcpy(record.AdvancedMode, advanced, sizeof advanced);
    record.AuthenticationMode = codes::authenticationFromDriver(m_driver.GetAuthenticationMode());
    record.RadioOff = m_driver.GetRadioOff();
    record.Channel = codes::channelIndexFromCode(m_driver.GetChannel());
    record.ChannelPlan = codes::channelPlanFromDriver(m_driver.GetChannelPlanByCountry());
    SsidBuffer ssid;
    m_driver.GetSSID(ssid.data());
    copyText(record.cSSID, ssid.data());
    int32_t encryption = 0;
    m_driver.GetEncryptionMode(&encryption);
    record.EncryptionMode = codes::encryptionFromDriver(encryption);
    record.BeaconInterval = m_driver.GetBeaconInterval();
    record.iDefaultWEPKeyID = m_driver.GetDefaultKeyID();
    record.FragmentationThreshold = m_driver.GetFragmentationThreshold();
    record.RTSThreshold = m_driver.GetRTSThreshold();
    record.NetworkType = codes::networkTypeFromDriver(m_driver.GetNetworkType());
    record.PowerSaveMode = codes::powerSaveFromDriver(m_driver.GetPowerSaveMode());
    record.PreambleMode = codes::preambleFromDriver(m_driver.GetPreambleMode());
    int32_t autoRate = 0;
    int32_t rate = 0;
    m_driver.GetTxRate(&autoRate, &rate);
    record.TxRateAuto = autoRate;
    record.TxRate = codes::txRateFromDriver(rate);
    WlanWirelessModeBlock modes{};
    m_driver.GetWirelessMode(&modes);
    std::memcpy(record.WirelessMode, modes.flags, sizeof modes.flags);
}

int WirelessAdapter::GetChannelPlanByCountry() {
    const std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_driver.GetChannelPlanByCountry();
}

int WirelessAdapter::SetChannelPlanByCountry(int32_t plan) {
    const std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_driver.SetChannelPlanByCountry(plan);
}
