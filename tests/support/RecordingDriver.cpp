#include "support/RecordingDriver.h"

#include "wlansim/TextEscape.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Writes a scripted text into a driver buffer of `size` bytes: cut at the size, terminated
// only when there is room.
void writeText(char* buffer, std::size_t size, const std::string& text) {
    const std::size_t length = std::min(text.size(), size);
    std::memcpy(buffer, text.data(), length);
    if (length < size) {
        buffer[length] = '\0';
    }
}

void writeLe32(unsigned char* target, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        target[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

void writeLe64(unsigned char* target, uint64_t value) {
    writeLe32(target, static_cast<uint32_t>(value));
    writeLe32(target + 4, static_cast<uint32_t>(value >> 32));
}

std::string ints(const int32_t* values, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) {
            out += ',';
        }
        out += std::to_string(values[i]);
    }
    return out;
}

std::string line(const char* name, std::initializer_list<std::string> arguments = {}) {
    std::string out = name;
    for (const std::string& argument : arguments) {
        out += ' ';
        out += argument;
    }
    return out;
}

std::string num(int32_t value) {
    return std::to_string(value);
}
std::string text(const char* value) {
    return RecordingDriver::quoted(value == nullptr ? "" : value);
}

std::string nameOf(const std::string& logLine) {
    return logLine.substr(0, logLine.find(' '));
}

} // namespace

// --- Script and log ---

DriverAnswers RecordingDriver::answers() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_answers;
}

void RecordingDriver::setAnswers(const DriverAnswers& answers) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_answers = answers;
}

void RecordingDriver::update(const std::function<void(DriverAnswers&)>& edit) {
    std::lock_guard<std::mutex> guard(m_mutex);
    edit(m_answers);
}

void RecordingDriver::setCallHook(std::function<void(const std::string& line)> hook) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_hook = std::move(hook);
}

std::vector<std::string> RecordingDriver::calls() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_calls;
}

std::vector<std::string> RecordingDriver::takeCalls() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return std::exchange(m_calls, {});
}

void RecordingDriver::clearCalls() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_calls.clear();
}

std::vector<std::string> RecordingDriver::callsNamed(const std::string& name) const {
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<std::string> matching;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(matching),
                 [&name](const std::string& call) { return nameOf(call) == name; });
    return matching;
}

std::size_t RecordingDriver::countCalls(const std::string& name) const {
    return callsNamed(name).size();
}

std::vector<std::string> RecordingDriver::callNames() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<std::string> names;
    std::transform(m_calls.begin(), m_calls.end(), std::back_inserter(names), nameOf);
    return names;
}

DriverAnswers RecordingDriver::record(const std::string& logLine) {
    std::function<void(const std::string&)> hook;
    DriverAnswers script;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_calls.push_back(logLine);
        hook = m_hook;
        script = m_answers;
    }
    if (hook) {
        hook(logLine);
    }
    return script;
}

// --- Building blocks ---

std::array<unsigned char, WLAN_STATISTICS_SIZE>
RecordingDriver::statisticsBlock(const std::array<int32_t, 7>& counters, uint64_t txTotal, uint64_t rxTotal) {
    std::array<unsigned char, WLAN_STATISTICS_SIZE> block{};
    for (std::size_t i = 0; i < counters.size(); ++i) {
        writeLe32(block.data() + WLAN_STAT_COUNTERS_OFFSET + 4 * i, static_cast<uint32_t>(counters[i]));
    }
    writeLe64(block.data() + WLAN_STAT_TX_TOTAL_OFFSET, txTotal);
    writeLe64(block.data() + WLAN_STAT_RX_TOTAL_OFFSET, rxTotal);
    return block;
}

std::array<unsigned char, WLAN_IP_INFO_SIZE> RecordingDriver::ipBlock(const std::array<std::string, 4>& texts,
                                                                      int32_t value) {
    std::array<unsigned char, WLAN_IP_INFO_SIZE> block{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        writeText(reinterpret_cast<char*>(block.data() + WLAN_IP_TEXT_SIZE * i), WLAN_IP_TEXT_SIZE, texts[i]);
    }
    writeLe32(block.data() + WLAN_IP_VALUE_OFFSET, static_cast<uint32_t>(value));
    return block;
}

std::vector<unsigned char> RecordingDriver::surveyBlock(const std::vector<SurveyRecordFields>& records) {
    std::vector<unsigned char> block(records.size() * WLAN_SURVEY_RECORD_SIZE);
    for (std::size_t i = 0; i < records.size(); ++i) {
        unsigned char* at = block.data() + i * WLAN_SURVEY_RECORD_SIZE;
        const SurveyRecordFields& fields = records[i];
        writeLe32(at + WLAN_SURVEY_TYPE_OFFSET, static_cast<uint32_t>(fields.networkType));
        writeText(reinterpret_cast<char*>(at + WLAN_SURVEY_SSID_OFFSET), WLAN_SURVEY_SSID_SIZE, fields.ssid);
        std::memcpy(at + WLAN_SURVEY_BSSID_OFFSET, fields.bssid.data(), fields.bssid.size());
        writeLe32(at + WLAN_SURVEY_SIGNAL_OFFSET, static_cast<uint32_t>(fields.signal));
        writeLe32(at + WLAN_SURVEY_CHANNEL_OFFSET, static_cast<uint32_t>(fields.channelCode));
        writeLe32(at + WLAN_SURVEY_ENCRYPTION_OFFSET, static_cast<uint32_t>(fields.encryption));
        writeLe32(at + WLAN_SURVEY_AUTH_OFFSET, static_cast<uint32_t>(fields.authentication));
        writeLe32(at + WLAN_SURVEY_BAND_OFFSET, static_cast<uint32_t>(fields.band));
    }
    return block;
}

// The same escaping as the simulated driver's trace, so that the two logs read alike.
std::string RecordingDriver::quoted(const std::string& value) {
    return wlansim::quoteText(value);
}

std::string RecordingDriver::hexBytes(const void* bytes, std::size_t size) {
    static constexpr char digits[] = "0123456789abcdef";
    const auto* data = static_cast<const unsigned char*>(bytes);
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        if (i != 0) {
            out += ':';
        }
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0f];
    }
    return out;
}

// --- Lifetime and adapter information ---

int RecordingDriver::Initialize() {
    return record(line("API_Initialize")).initializeResult;
}
int RecordingDriver::IsUnplug() {
    return record(line("API_IsUnplug")).unplugResult;
}
int RecordingDriver::Stop() {
    record(line("API_Stop"));
    return 1;
}

int RecordingDriver::GetHardwareID(char* buffer) {
    const DriverAnswers script = record(line("API_GetHardwareID"));
    writeText(buffer, WLAN_TEXT_BUFFER_SIZE, script.hardwareId);
    return script.adapterPresent;
}

int RecordingDriver::GetDriverDescription(char* description, char* version) {
    const DriverAnswers script = record(line("API_GetDriverDescription"));
    writeText(description, WLAN_TEXT_BUFFER_SIZE, script.driverDescription);
    writeText(version, WLAN_TEXT_BUFFER_SIZE, script.driverVersion);
    return 1;
}

int RecordingDriver::GetHardwareVersion(char* buffer) {
    writeText(buffer, WLAN_TEXT_BUFFER_SIZE, record(line("API_GetHardwareVersion")).hardwareVersion);
    return 1;
}

int RecordingDriver::GetAPIVersion(char* buffer) {
    writeText(buffer, WLAN_TEXT_BUFFER_SIZE, record(line("API_GetAPIVersion")).apiVersion);
    return 1;
}

int RecordingDriver::GetMacAddress(unsigned char* mac) {
    const DriverAnswers script = record(line("API_GetMacAddress"));
    std::memcpy(mac, script.macAddress.data(), WLAN_MAC_SIZE);
    return 1;
}

int RecordingDriver::GetChipsetSolution() {
    return record(line("API_GetChipsetSolution")).chipsetSolution;
}

// --- Link status ---

int RecordingDriver::GetStatusSignalInfo(int32_t* signalStrength, int32_t* linkQuality) {
    const DriverAnswers script = record(line("API_GetStatusSignalInfo"));
    *signalStrength = script.signalStrength;
    *linkQuality = script.linkQuality;
    return 1;
}

int RecordingDriver::GetStatusLinkInfo(int32_t* state, int32_t* mode, char* ssid, unsigned char* bssid) {
    const DriverAnswers script = record(line("API_GetStatusLinkInfo"));
    *state = script.linkState;
    *mode = script.linkMode;
    writeText(ssid, WLAN_LINK_SSID_BUFFER_SIZE, script.linkSsid);
    std::memcpy(bssid, script.linkBssid.data(), WLAN_MAC_SIZE);
    return 1;
}

int RecordingDriver::GetStatistics(unsigned char* block) {
    const DriverAnswers script = record(line("API_GetStatistics"));
    std::memcpy(block, script.statistics.data(), WLAN_STATISTICS_SIZE);
    return 1;
}

int RecordingDriver::GetIPInfo(unsigned char* block) {
    const DriverAnswers script = record(line("API_GetIPInfo"));
    std::memcpy(block, script.ipInfo.data(), WLAN_IP_INFO_SIZE);
    return 1;
}

int RecordingDriver::GetStatusAuthStatus() {
    return record(line("API_GetStatusAuthStatus")).authStatus;
}

int RecordingDriver::SiteSurvey(unsigned char* records) {
    const DriverAnswers script = record(line("API_SiteSurvey"));
    const std::size_t room = static_cast<std::size_t>(WLAN_SURVEY_RECORD_SIZE) * WLAN_SURVEY_MAX_RECORDS;
    if (!script.surveyRecords.empty()) {
        std::memcpy(records, script.surveyRecords.data(), std::min(room, script.surveyRecords.size()));
    }
    return script.surveyCount;
}

// --- Station settings ---

int RecordingDriver::SetNetworkType(int32_t type) {
    record(line("API_SetNetworkType", {num(type)}));
    return 1;
}
int RecordingDriver::GetNetworkType() {
    return record(line("API_GetNetworkType")).networkType;
}
int RecordingDriver::SetEncryptionMode(int32_t mode) {
    record(line("API_SetEncryptionMode", {num(mode)}));
    return 1;
}

int RecordingDriver::GetEncryptionMode(int32_t* mode) {
    *mode = record(line("API_GetEncryptionMode")).encryptionMode;
    return 1;
}

int RecordingDriver::SetAuthenticationMode(int32_t mode) {
    record(line("API_SetAuthenticationMode", {num(mode)}));
    return 1;
}

int RecordingDriver::GetAuthenticationMode() {
    return record(line("API_GetAuthenticationMode")).authenticationMode;
}
int RecordingDriver::SetPreambleMode(int32_t mode) {
    record(line("API_SetPreambleMode", {num(mode)}));
    return 1;
}
int RecordingDriver::GetPreambleMode() {
    return record(line("API_GetPreambleMode")).preambleMode;
}
int RecordingDriver::SetPowerSaveMode(int32_t mode) {
    record(line("API_SetPowerSaveMode", {num(mode)}));
    return 1;
}
int RecordingDriver::GetPowerSaveMode() {
    return record(line("API_GetPowerSaveMode")).powerSaveMode;
}
int RecordingDriver::SetChannel(int32_t code) {
    record(line("API_SetChannel", {num(code)}));
    return 1;
}
int RecordingDriver::GetChannel() {
    return record(line("API_GetChannel")).channel;
}

int RecordingDriver::SetBeaconInterval(int32_t interval) {
    record(line("API_SetBeaconInterval", {num(interval)}));
    return 1;
}

int RecordingDriver::GetBeaconInterval() {
    return record(line("API_GetBeaconInterval")).beaconInterval;
}

int RecordingDriver::SetFragmentationThreshold(int32_t threshold) {
    record(line("API_SetFragmentationThreshold", {num(threshold)}));
    return 1;
}

int RecordingDriver::GetFragmentationThreshold() {
    return record(line("API_GetFragmentationThreshold")).fragmentationThreshold;
}

int RecordingDriver::SetRTSThreshold(int32_t threshold) {
    record(line("API_SetRTSThreshold", {num(threshold)}));
    return 1;
}

int RecordingDriver::GetRTSThreshold() {
    return record(line("API_GetRTSThreshold")).rtsThreshold;
}
int RecordingDriver::SetDefaultKeyID(int32_t keyId) {
    record(line("API_SetDefaultKeyID", {num(keyId)}));
    return 1;
}
int RecordingDriver::GetDefaultKeyID() {
    return record(line("API_GetDefaultKeyID")).defaultKeyId;
}
int RecordingDriver::SetSSID(const char* ssid) {
    record(line("API_SetSSID", {text(ssid)}));
    return 1;
}

int RecordingDriver::GetSSID(char* buffer) {
    writeText(buffer, WLAN_LINK_SSID_BUFFER_SIZE, record(line("API_GetSSID")).ssid);
    return 1;
}

int RecordingDriver::SetTxRate(int32_t autoRate, int32_t code) {
    record(line("API_SetTxRate", {num(autoRate), num(code)}));
    return 1;
}

int RecordingDriver::GetTxRate(int32_t* autoRate, int32_t* code) {
    const DriverAnswers script = record(line("API_GetTxRate"));
    *autoRate = script.txRateAuto;
    *code = script.txRate;
    return 1;
}

int RecordingDriver::SetWirelessMode(WlanWirelessModeBlock block) {
    record(line("API_SetWirelessMode", {ints(block.flags, 12)}));
    return 1;
}

int RecordingDriver::GetWirelessMode(WlanWirelessModeBlock* block) {
    const DriverAnswers script = record(line("API_GetWirelessMode"));
    std::copy(script.wirelessMode.begin(), script.wirelessMode.end(), block->flags);
    return 1;
}

// --- Security ---

int RecordingDriver::SetWEPKey(int32_t index, int32_t bits, const char* hexKey) {
    record(line("API_SetWEPKey", {num(index), num(bits), text(hexKey)}));
    return 1;
}

int RecordingDriver::SetWPAPSKKey(int32_t encryption, const char* passphrase, const char* ssid) {
    record(line("API_SetWPAPSKKey", {num(encryption), text(passphrase), text(ssid)}));
    return 1;
}

int RecordingDriver::SetWPANoneKey(int32_t encryption, const char* passphrase, const char* ssid) {
    record(line("API_SetWPANoneKey", {num(encryption), text(passphrase), text(ssid)}));
    return 1;
}

int RecordingDriver::SetWPA(WlanCertificateBlock block) {
    record(line("API_SetWPA", {hexBytes(&block, sizeof block)}));
    return 1;
}

// --- Read-only state, regulatory domain, configuration service ---

int RecordingDriver::GetAdvancedMode(int32_t* pair) {
    const DriverAnswers script = record(line("API_GetAdvancedMode"));
    pair[0] = script.advancedMode[0];
    pair[1] = script.advancedMode[1];
    return 1;
}

int RecordingDriver::GetRadioOff() {
    return record(line("API_GetRadioOff")).radioOff;
}
int RecordingDriver::GetChannelPlanByCountry() {
    return record(line("API_GetChannelPlanByCountry")).channelPlan;
}

int RecordingDriver::SetChannelPlanByCountry(int32_t plan) {
    record(line("API_SetChannelPlanByCountry", {num(plan)}));
    return 1;
}

int RecordingDriver::GetWZCControlFlag() {
    return record(line("API_GetWZCControlFlag")).wzcControlFlag;
}

int RecordingDriver::SetWZCControlFlag(int32_t flag) {
    record(line("API_SetWZCControlFlag", {num(flag)}));
    return 1;
}

int RecordingDriver::GetWZCService() {
    return record(line("API_GetWZCService")).wzcService;
}
int RecordingDriver::ActiveWZCUI() {
    record(line("API_ActiveWZCUI"));
    return 1;
}
