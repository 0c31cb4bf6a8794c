#pragma once

#include "adapter/wlandll.h"

#include <cstdint>

// The driver library as one C++ interface: one member per API_ function, same arguments,
// same results. WirelessAdapter makes every driver call through it; production binds it to
// libwlandll.so (LibraryDriver), tests to a recording fake.
class DriverApi {
public:
    virtual ~DriverApi() = default;

    virtual int Initialize() = 0;
    virtual int IsUnplug() = 0;
    virtual int Stop() = 0;

    virtual int GetHardwareID(char* buffer) = 0;
    virtual int GetDriverDescription(char* description, char* version) = 0;
    virtual int GetHardwareVersion(char* buffer) = 0;
    virtual int GetAPIVersion(char* buffer) = 0;
    virtual int GetMacAddress(unsigned char* mac) = 0;
    virtual int GetChipsetSolution() = 0;

    virtual int GetStatusSignalInfo(int32_t* signalStrength, int32_t* linkQuality) = 0;
    virtual int GetStatusLinkInfo(int32_t* state, int32_t* mode, char* ssid, unsigned char* bssid) = 0;
    virtual int GetStatistics(unsigned char* block) = 0;
    virtual int GetIPInfo(unsigned char* block) = 0;
    virtual int GetStatusAuthStatus() = 0;

    virtual int SiteSurvey(unsigned char* records) = 0;

    virtual int SetNetworkType(int32_t type) = 0;
    virtual int GetNetworkType() = 0;
    virtual int SetEncryptionMode(int32_t mode) = 0;
    virtual int GetEncryptionMode(int32_t* mode) = 0;
    virtual int SetAuthenticationMode(int32_t mode) = 0;
    virtual int GetAuthenticationMode() = 0;
    virtual int SetPreambleMode(int32_t mode) = 0;
    virtual int GetPreambleMode() = 0;
    virtual int SetPowerSaveMode(int32_t mode) = 0;
    virtual int GetPowerSaveMode() = 0;
    virtual int SetChannel(int32_t code) = 0;
    virtual int GetChannel() = 0;
    virtual int SetBeaconInterval(int32_t interval) = 0;
    virtual int GetBeaconInterval() = 0;
    virtual int SetFragmentationThreshold(int32_t threshold) = 0;
    virtual int GetFragmentationThreshold() = 0;
    virtual int SetRTSThreshold(int32_t threshold) = 0;
    virtual int GetRTSThreshold() = 0;
    virtual int SetDefaultKeyID(int32_t keyId) = 0;
    virtual int GetDefaultKeyID() = 0;
    virtual int SetSSID(const char* ssid) = 0;
    virtual int GetSSID(char* buffer) = 0;
    virtual int SetTxRate(int32_t autoRate, int32_t code) = 0;
    virtual int GetTxRate(int32_t* autoRate, int32_t* code) = 0;
    virtual int SetWirelessMode(WlanWirelessModeBlock block) = 0;
    virtual int GetWirelessMode(WlanWirelessModeBlock* block) = 0;

    virtual int SetWEPKey(int32_t index, int32_t bits, const char* hexKey) = 0;
    virtual int SetWPAPSKKey(int32_t encryption, const char* passphrase, const char* ssid) = 0;
    virtual int SetWPANoneKey(int32_t encryption, const char* passphrase, const char* ssid) = 0;
    virtual int SetWPA(WlanCertificateBlock block) = 0;

    virtual int GetAdvancedMode(int32_t* pair) = 0;
    virtual int GetRadioOff() = 0;

    virtual int GetChannelPlanByCountry() = 0;
    virtual int SetChannelPlanByCountry(int32_t plan) = 0;

    virtual int GetWZCControlFlag() = 0;
    virtual int SetWZCControlFlag(int32_t flag) = 0;
    virtual int GetWZCService() = 0;
    virtual int ActiveWZCUI() = 0;
};

// The interface bound to the linked driver library.
class LibraryDriver final : public DriverApi {
public:
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
};
