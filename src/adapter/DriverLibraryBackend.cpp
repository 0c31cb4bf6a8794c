#include "adapter/DriverLibraryBackend.h"

#include "model/CodeTables.h"

#include <cstddef>
#include <cstring>
#include <utility>

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

BssEntry decodeSurveyRecord(const unsigned char* record) {
    BssEntry entry{};
    copyBoundedText(entry.ssid, record + WLAN_SURVEY_SSID_OFFSET, WLAN_SURVEY_SSID_SIZE);
    std::memcpy(entry.bssid, record + WLAN_SURVEY_BSSID_OFFSET, sizeof entry.bssid);
    entry.signal = readLeInt32(record + WLAN_SURVEY_SIGNAL_OFFSET);
    entry.channel = codes::surveyChannelIndex(readLeInt32(record + WLAN_SURVEY_CHANNEL_OFFSET));
    entry.networkType = codes::surveyNetworkType(readLeInt32(record + WLAN_SURVEY_TYPE_OFFSET));
    entry.encryptionMode = codes::surveyEncryption(readLeInt32(record + WLAN_SURVEY_ENCRYPTION_OFFSET));
    entry.authenticationMode = codes::surveyAuthentication(readLeInt32(record + WLAN_SURVEY_AUTH_OFFSET));
    entry.wirelessMode[codes::surveyBandElement(readLeInt32(record + WLAN_SURVEY_BAND_OFFSET))] = 1;
    return entry;
}

} // namespace

DriverLibraryBackend::DriverLibraryBackend(std::shared_ptr<DriverApi> driver) : m_driver(std::move(driver)) {}

std::string DriverLibraryBackend::name() const {
    return "driver library";
}

// --- Lifetime ---

bool DriverLibraryBackend::probe() {
    TextBuffer scratch;
    return m_driver->GetHardwareID(scratch.data()) == 1;
}

bool DriverLibraryBackend::start() {
    // A driver that initialises but finds its adapter already gone has not started either.
    return m_driver->Initialize() == 1 && m_driver->IsUnplug() == 0;
}

bool DriverLibraryBackend::unplugged() {
    return m_driver->IsUnplug() == 1;
}

void DriverLibraryBackend::stop() {
    m_driver->Stop();
}

// --- Snapshots ---

AdapterInfo DriverLibraryBackend::readAdapterInfo() {
    AdapterInfo info{};
    TextBuffer description;
    TextBuffer version;
    m_driver->GetDriverDescription(description.data(), version.data());
    copyText(info.driverDescription, description.data());
    copyText(info.driverVersion, version.data());

    unsigned char mac[WLAN_MAC_SIZE] = {};
    m_driver->GetMacAddress(mac);
    std::memcpy(info.macAddress, mac, sizeof mac);
    info.chipsetSolution = codes::chipsetFromDriver(m_driver->GetChipsetSolution());

    TextBuffer hardwareId;
    m_driver->GetHardwareID(hardwareId.data());
    copyText(info.hardwareId, hardwareId.data());
    TextBuffer hardwareVersion;
    m_driver->GetHardwareVersion(hardwareVersion.data());
    copyText(info.hardwareVersion, hardwareVersion.data());
    TextBuffer apiVersion;
    m_driver->GetAPIVersion(apiVersion.data());
    copyText(info.apiVersion, apiVersion.data());
    return info;
}

void DriverLibraryBackend::readLink(LinkStatus& status, TrafficReading& traffic) {
    int32_t signal = 0;
    int32_t quality = 0;
    m_driver->GetStatusSignalInfo(&signal, &quality);
    status.signalStrength = signal;
    status.linkQuality = quality;

    int32_t state = 0;
    int32_t mode = 0;
    SsidBuffer ssid;
    unsigned char bssid[WLAN_MAC_SIZE] = {};
    m_driver->GetStatusLinkInfo(&state, &mode, ssid.data(), bssid);
    status.connected = codes::linkConnectedFromState(state);
    status.linkMode = codes::linkModeFromDriver(mode);
    copyText(status.ssid, ssid.data());
    std::memcpy(status.bssid, bssid, sizeof bssid);

    traffic = readTraffic();
    status.authStatus = codes::authStatusFromDriver(m_driver->GetStatusAuthStatus());
    readIpTexts(status);
}

TrafficReading DriverLibraryBackend::readTraffic() {
    unsigned char block[WLAN_STATISTICS_SIZE] = {};
    m_driver->GetStatistics(block);
    TrafficReading reading;
    for (std::size_t i = 0; i < WLAN_STAT_COUNTER_COUNT; ++i) {
        reading.counters[i] = readLeInt32(block + WLAN_STAT_COUNTERS_OFFSET + 4 * i);
    }
    reading.txTotal = readLe64(block + WLAN_STAT_TX_TOTAL_OFFSET);
    reading.rxTotal = readLe64(block + WLAN_STAT_RX_TOTAL_OFFSET);
    return reading;
}

void DriverLibraryBackend::readIpTexts(LinkStatus& status) {
    unsigned char block[WLAN_IP_INFO_SIZE] = {};
    m_driver->GetIPInfo(block);
    status.ipValue = readLeInt32(block + WLAN_IP_VALUE_OFFSET);

    // Block text at offset 50*k goes to ipText[target[k]]; ipText[3] is never filled.
    constexpr std::size_t target[WLAN_IP_TEXT_COUNT] = {0, 1, 2, 4};
    for (std::size_t k = 0; k < WLAN_IP_TEXT_COUNT; ++k) {
        const unsigned char* text = block + WLAN_IP_TEXT_SIZE * k;
        const std::size_t length = boundedLength(text, WLAN_IP_TEXT_SIZE);
        char(&ipText)[WLAN_IP_TEXT_SIZE] = status.ipText[target[k]];
        if (length >= 1 && length <= 15) {
            copyBoundedText(ipText, text, length);
        } else {
            copyText(ipText, "0.0.0.0");
        }
    }
    status.ipText[3][0] = '\0';
}

// --- Site survey ---

bool DriverLibraryBackend::requestScan() {
    return true; // the library scans inside API_SiteSurvey
}

std::vector<BssEntry> DriverLibraryBackend::collectScan() {
    std::vector<unsigned char> records(static_cast<std::size_t>(WLAN_SURVEY_RECORD_SIZE) *
                                       WLAN_SURVEY_MAX_RECORDS);
    const int count = m_driver->SiteSurvey(records.data());
    std::vector<BssEntry> entries;
    if (count <= 0) {
        return entries;
    }
    // A count beyond the room the library was given is cut to that room.
    const int kept = count > maxSurveyEntries ? maxSurveyEntries : count;
    entries.reserve(static_cast<std::size_t>(kept));
    for (int i = 0; i < kept; ++i) {
        entries.push_back(
            decodeSurveyRecord(records.data() + static_cast<std::size_t>(i) * WLAN_SURVEY_RECORD_SIZE));
    }
    return entries;
}

// --- Settings ---

void DriverLibraryBackend::apply(const StationSettings& record) {
    m_driver->SetNetworkType(codes::networkTypeToDriver(record.NetworkType));
    const int32_t encryptionCode = codes::encryptionToDriver(record.EncryptionMode);
    m_driver->SetEncryptionMode(encryptionCode);
    applySecurity(record, encryptionCode);
    m_driver->SetPreambleMode(codes::preambleToDriver(record.PreambleMode));
    m_driver->SetFragmentationThreshold(record.FragmentationThreshold);
    WlanWirelessModeBlock modes{};
    std::memcpy(modes.flags, record.WirelessMode, sizeof modes.flags);
    m_driver->SetWirelessMode(modes);
    m_driver->SetTxRate(record.TxRateAuto, codes::txRateToDriver(record.TxRate));
    m_driver->SetRTSThreshold(record.RTSThreshold);
    m_driver->SetPowerSaveMode(codes::powerSaveToDriver(record.PowerSaveMode));
    if (record.NetworkType == codes::networkAdHoc) { // the channel is ours to choose only in ad hoc mode
        m_driver->SetChannel(codes::channelIndexToCode(record.Channel));
    }
    m_driver->SetBeaconInterval(record.BeaconInterval);
    m_driver->SetSSID(TerminatedText(record.cSSID).c_str()); // always last: it starts the association
}

void DriverLibraryBackend::applySecurity(const StationSettings& record, int32_t encryptionCode) {
    const int32_t authentication = codes::authenticationToDriver(record.AuthenticationMode);
    m_driver->SetAuthenticationMode(authentication);
    switch (authentication) {
    case codes::authWpa:
    case codes::authWpa2:
    case codes::authWpaAndWpa2: {
        WlanCertificateBlock block{};
        copyText(block.certificateName, record.cCertificateName);
        copyText(block.certificateHash, record.cCertificateHash);
        copyText(block.domainName, record.cDomainName);
        copyText(block.loginName, record.cLoginName);
        m_driver->SetWPA(block);
        return;
    }
    case codes::authWpaPsk:
    case codes::authWpa2Psk:
        m_driver->SetWPAPSKKey(encryptionCode, TerminatedText(record.cWPAPassPhase).c_str(),
                               TerminatedText(record.cSSID).c_str());
        return;
    case codes::authWpaNone:
        m_driver->SetWPANoneKey(encryptionCode, TerminatedText(record.cWPAPassPhase).c_str(),
                                TerminatedText(record.cSSID).c_str());
        return;
    default: // open system, shared key, auto: the WEP keys
        for (int key = 0; key < 4; ++key) {
            m_driver->SetWEPKey(key, record.iWEPKeyBits, TerminatedText(record.wepKeyValue(key)).c_str());
        }
        m_driver->SetDefaultKeyID(record.iDefaultWEPKeyID);
        return;
    }
}

void DriverLibraryBackend::readBack(StationSettings& record) {
    int32_t advanced[2] = {};
    m_driver->GetAdvancedMode(advanced);
    std::memcpy(record.AdvancedMode, advanced, sizeof advanced);
    record.AuthenticationMode = codes::authenticationFromDriver(m_driver->GetAuthenticationMode());
    record.RadioOff = m_driver->GetRadioOff();
    record.Channel = codes::channelIndexFromCode(m_driver->GetChannel());
    record.ChannelPlan = m_driver->GetChannelPlanByCountry(); // as reported: the About page names any code
    SsidBuffer ssid;
    m_driver->GetSSID(ssid.data());
    copyText(record.cSSID, ssid.data());
    int32_t encryption = 0;
    m_driver->GetEncryptionMode(&encryption);
    record.EncryptionMode = codes::encryptionFromDriver(encryption);
    record.BeaconInterval = m_driver->GetBeaconInterval();
    record.iDefaultWEPKeyID = m_driver->GetDefaultKeyID();
    record.FragmentationThreshold = m_driver->GetFragmentationThreshold();
    record.RTSThreshold = m_driver->GetRTSThreshold();
    record.NetworkType = codes::networkTypeFromDriver(m_driver->GetNetworkType());
    record.PowerSaveMode = codes::powerSaveFromDriver(m_driver->GetPowerSaveMode());
    record.PreambleMode = codes::preambleFromDriver(m_driver->GetPreambleMode());
    int32_t autoRate = 0;
    int32_t rate = 0;
    m_driver->GetTxRate(&autoRate, &rate);
    record.TxRateAuto = autoRate;
    record.TxRate = codes::txRateFromDriver(rate);
    WlanWirelessModeBlock modes{};
    m_driver->GetWirelessMode(&modes);
    std::memcpy(record.WirelessMode, modes.flags, sizeof modes.flags);
}

// --- Regulatory domain and the system's wireless service ---

int DriverLibraryBackend::channelPlan() {
    return m_driver->GetChannelPlanByCountry();
}

void DriverLibraryBackend::setChannelPlan(int plan) {
    m_driver->SetChannelPlanByCountry(plan);
}

bool DriverLibraryBackend::systemServiceManages() {
    return m_driver->GetWZCControlFlag() == 1;
}

int32_t DriverLibraryBackend::systemServiceState() {
    return m_driver->GetWZCService();
}

void DriverLibraryBackend::openSystemSettings() {
    m_driver->ActiveWZCUI();
}
