#pragma once

#include "adapter/DriverApi.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// What the fake driver answers. Texts are raw bytes written into the caller's buffer as they
// are, cut at the buffer's size; a text shorter than its buffer gets a terminator after it,
// a text as long as the buffer fills it without one (an untrustworthy driver).
struct DriverAnswers {
    // Lifetime
    int adapterPresent = 1;   // result of GetHardwareID
    int initializeResult = 1; // result of Initialize
    int unplugResult = 0;     // result of IsUnplug

    // Adapter information
    std::string hardwareId = "PCI\\VEN_168C&DEV_0013";
    std::string driverDescription = "Dual-band Wireless Adapter";
    std::string driverVersion = "4.2.0.1";
    std::string hardwareVersion = "HW 1.0";
    std::string apiVersion = "API 2.5";
    std::array<unsigned char, 6> macAddress = {0x00, 0x03, 0x7f, 0x01, 0x02, 0x03};
    int chipsetSolution = 3;

    // Link status
    int32_t signalStrength = 80;
    int32_t linkQuality = 70;
    int32_t linkState = 1;
    int32_t linkMode = 1;
    std::string linkSsid = "HomeNet";
    std::array<unsigned char, 6> linkBssid = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::array<unsigned char, WLAN_STATISTICS_SIZE> statistics{};
    std::array<unsigned char, WLAN_IP_INFO_SIZE> ipInfo{};
    int authStatus = 1;

    // Site survey: raw records (at most 255 * 84 bytes are written) and the returned count.
    std::vector<unsigned char> surveyRecords;
    int surveyCount = 0;

    // Configuration getters, in driver codes.
    int networkType = 1;
    int32_t encryptionMode = 0;
    int authenticationMode = 0;
    int preambleMode = 1;
    int powerSaveMode = 0;
    int channel = 1;
    int beaconInterval = 100;
    int fragmentationThreshold = 2346;
    int rtsThreshold = 2347;
    int defaultKeyId = 0;
    std::string ssid = "HomeNet";
    int32_t txRateAuto = 1;
    int32_t txRate = 12;
    std::array<int32_t, 12> wirelessMode = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    std::array<int32_t, 2> advancedMode = {0, 0};
    int radioOff = 0;
    int channelPlan = 3;

    // The system's wireless configuration service
    int wzcControlFlag = 0;
    int wzcService = 0;
};

// One 84-byte site-survey record as the driver lays it out.
struct SurveyRecordFields {
    int32_t networkType = 1;
    std::string ssid; // raw bytes, cut at 33; unterminated when 33 long
    std::array<unsigned char, 6> bssid{};
    int32_t signal = 0;
    int32_t channelCode = 1;
    int32_t encryption = 0;
    int32_t authentication = 0;
    int32_t band = 0;
};

// A DriverApi that logs every call as one line and answers from a script; for tests.
// Log lines: the API function name with its API_ prefix, then the in-arguments separated
// by single blanks: texts in double quotes with C escapes, integers in decimal, int blocks
// as comma-separated decimals, byte blocks as hex pairs joined with colons. Out-parameters
// are not printed. Example: API_SetWPAPSKKey 2 "secret passphrase" "HomeNet".
// Every member is safe to use from several threads.
class RecordingDriver : public DriverApi {
public:
    // --- Script ---
    DriverAnswers answers() const; // a copy of the script
    void setAnswers(const DriverAnswers& answers);
    void update(const std::function<void(DriverAnswers&)>& edit); // edits under the lock

    // Called after each logged call with its log line, outside the driver's lock; lets a
    // test block or observe the caller's thread inside a driver call. Empty to remove.
    void setCallHook(std::function<void(const std::string& line)> hook);

    // --- Call log ---
    std::vector<std::string> calls() const;
    std::vector<std::string> takeCalls(); // returns the log and clears it
    void clearCalls();
    std::vector<std::string> callsNamed(const std::string& name) const; // e.g. "API_SetWEPKey"
    std::size_t countCalls(const std::string& name) const;
    std::vector<std::string> callNames() const; // just the function names, in call order

    // --- Building blocks for the script and for expected log lines ---
    static std::array<unsigned char, WLAN_STATISTICS_SIZE>
    statisticsBlock(const std::array<int32_t, 7>& counters, uint64_t txTotal, uint64_t rxTotal);
    // Texts are raw bytes cut at 50; a 50-byte text has no terminator.
    static std::array<unsigned char, WLAN_IP_INFO_SIZE> ipBlock(const std::array<std::string, 4>& texts,
                                                                int32_t value);
    static std::vector<unsigned char> surveyBlock(const std::vector<SurveyRecordFields>& records);
    static std::string quoted(const std::string& text);               // "text" with C escapes
    static std::string hexBytes(const void* bytes, std::size_t size); // 0a:ff:...

    // --- DriverApi ---
    int Initialize() override;
    int IsUnplug() override;
    int Stop() override;
    int GetHardwareID(char* buffer) override;
    int GetDriverDescription(char* description, char* version) override;
    int GetHardwareVersion(char* buffer) override;
    int GetAPIVersion(char* buffer) override;
    int GetMacAddress(unsigned char* mac) override;
    int GetChipsetSolution() override;
    int GetStatusSignalInfo(int32_t* signalStrength, int32_t* linkQuality) override;
    int GetStatusLinkInfo(int32_t* state, int32_t* mode, char* ssid, unsigned char* bssid) override;
    int GetStatistics(unsigned char* block) override;
    int GetIPInfo(unsigned char* block) override;
    int GetStatusAuthStatus() override;
    int SiteSurvey(unsigned char* records) override;
    int SetNetworkType(int32_t type) override;
    int GetNetworkType() override;
    int SetEncryptionMode(int32_t mode) override;
    int GetEncryptionMode(int32_t* mode) override;
    int SetAuthenticationMode(int32_t mode) override;
    int GetAuthenticationMode() override;
    int SetPreambleMode(int32_t mode) override;
    int GetPreambleMode() override;
    int SetPowerSaveMode(int32_t mode) override;
    int GetPowerSaveMode() override;
    int SetChannel(int32_t code) override;
    int GetChannel() override;
    int SetBeaconInterval(int32_t interval) override;
    int GetBeaconInterval() override;
    int SetFragmentationThreshold(int32_t threshold) override;
    int GetFragmentationThreshold() override;
    int SetRTSThreshold(int32_t threshold) override;
    int GetRTSThreshold() override;
    int SetDefaultKeyID(int32_t keyId) override;
    int GetDefaultKeyID() override;
    int SetSSID(const char* ssid) override;
    int GetSSID(char* buffer) override;
    int SetTxRate(int32_t autoRate, int32_t code) override;
    int GetTxRate(int32_t* autoRate, int32_t* code) override;
    int SetWirelessMode(WlanWirelessModeBlock block) override;
    int GetWirelessMode(WlanWirelessModeBlock* block) override;
    int SetWEPKey(int32_t index, int32_t bits, const char* hexKey) override;
    int SetWPAPSKKey(int32_t encryption, const char* passphrase, const char* ssid) override;
    int SetWPANoneKey(int32_t encryption, const char* passphrase, const char* ssid) override;
    int SetWPA(WlanCertificateBlock block) override;
    int GetAdvancedMode(int32_t* pair) override;
    int GetRadioOff() override;
    int GetChannelPlanByCountry() override;
    int SetChannelPlanByCountry(int32_t plan) override;
    int GetWZCControlFlag() override;
    int SetWZCControlFlag(int32_t flag) override;
    int GetWZCService() override;
    int ActiveWZCUI() override;

private:
    // Logs the line, then runs the hook; returns a copy of the script taken under the lock.
    DriverAnswers record(const std::string& line);

    mutable std::mutex m_mutex;
    DriverAnswers m_answers;
    std::vector<std::string> m_calls;
    std::function<void(const std::string&)> m_hook;
};
