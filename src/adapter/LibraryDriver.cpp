#include "adapter/DriverApi.h"
#include "adapter/DriverLibraryBackend.h"

// Each member forwards to the driver library function of the same name.
int LibraryDriver::Initialize() {
    return API_Initialize();
}
int LibraryDriver::IsUnplug() {
    return API_IsUnplug();
}
int LibraryDriver::Stop() {
    return API_Stop();
}
int LibraryDriver::GetHardwareID(char* buffer) {
    return API_GetHardwareID(buffer);
}
int LibraryDriver::GetDriverDescription(char* description, char* version) {
    return API_GetDriverDescription(description, version);
}
int LibraryDriver::GetHardwareVersion(char* buffer) {
    return API_GetHardwareVersion(buffer);
}
int LibraryDriver::GetAPIVersion(char* buffer) {
    return API_GetAPIVersion(buffer);
}
int LibraryDriver::GetMacAddress(unsigned char* mac) {
    return API_GetMacAddress(mac);
}
int LibraryDriver::GetChipsetSolution() {
    return API_GetChipsetSolution();
}
int LibraryDriver::GetStatusSignalInfo(int32_t* signalStrength, int32_t* linkQuality) {
    return API_GetStatusSignalInfo(signalStrength, linkQuality);
}
int LibraryDriver::GetStatusLinkInfo(int32_t* state, int32_t* mode, char* ssid, unsigned char* bssid) {
    return API_GetStatusLinkInfo(state, mode, ssid, bssid);
}
int LibraryDriver::GetStatistics(unsigned char* block) {
    return API_GetStatistics(block);
}
int LibraryDriver::GetIPInfo(unsigned char* block) {
    return API_GetIPInfo(block);
}
int LibraryDriver::GetStatusAuthStatus() {
    return API_GetStatusAuthStatus();
}
int LibraryDriver::SiteSurvey(unsigned char* records) {
    return API_SiteSurvey(records);
}
int LibraryDriver::SetNetworkType(int32_t type) {
    return API_SetNetworkType(type);
}
int LibraryDriver::GetNetworkType() {
    return API_GetNetworkType();
}
int LibraryDriver::SetEncryptionMode(int32_t mode) {
    return API_SetEncryptionMode(mode);
}
int LibraryDriver::GetEncryptionMode(int32_t* mode) {
    return API_GetEncryptionMode(mode);
}
int LibraryDriver::SetAuthenticationMode(int32_t mode) {
    return API_SetAuthenticationMode(mode);
}
int LibraryDriver::GetAuthenticationMode() {
    return API_GetAuthenticationMode();
}
int LibraryDriver::SetPreambleMode(int32_t mode) {
    return API_SetPreambleMode(mode);
}
int LibraryDriver::GetPreambleMode() {
    return API_GetPreambleMode();
}
int LibraryDriver::SetPowerSaveMode(int32_t mode) {
    return API_SetPowerSaveMode(mode);
}
int LibraryDriver::GetPowerSaveMode() {
    return API_GetPowerSaveMode();
}
int LibraryDriver::SetChannel(int32_t code) {
    return API_SetChannel(code);
}
int LibraryDriver::GetChannel() {
    return API_GetChannel();
}
int LibraryDriver::SetBeaconInterval(int32_t interval) {
    return API_SetBeaconInterval(interval);
}
int LibraryDriver::GetBeaconInterval() {
    return API_GetBeaconInterval();
}
int LibraryDriver::SetFragmentationThreshold(int32_t threshold) {
    return API_SetFragmentationThreshold(threshold);
}
int LibraryDriver::GetFragmentationThreshold() {
    return API_GetFragmentationThreshold();
}
int LibraryDriver::SetRTSThreshold(int32_t threshold) {
    return API_SetRTSThreshold(threshold);
}
int LibraryDriver::GetRTSThreshold() {
    return API_GetRTSThreshold();
}
int LibraryDriver::SetDefaultKeyID(int32_t keyId) {
    return API_SetDefaultKeyID(keyId);
}
int LibraryDriver::GetDefaultKeyID() {
    return API_GetDefaultKeyID();
}
int LibraryDriver::SetSSID(const char* ssid) {
    return API_SetSSID(ssid);
}
int LibraryDriver::GetSSID(char* buffer) {
    return API_GetSSID(buffer);
}
int LibraryDriver::SetTxRate(int32_t autoRate, int32_t code) {
    return API_SetTxRate(autoRate, code);
}
int LibraryDriver::GetTxRate(int32_t* autoRate, int32_t* code) {
    return API_GetTxRate(autoRate, code);
}
int LibraryDriver::SetWirelessMode(WlanWirelessModeBlock block) {
    return API_SetWirelessMode(block);
}
int LibraryDriver::GetWirelessMode(WlanWirelessModeBlock* block) {
    return API_GetWirelessMode(block);
}
int LibraryDriver::SetWEPKey(int32_t index, int32_t bits, const char* hexKey) {
    return API_SetWEPKey(index, bits, hexKey);
}
int LibraryDriver::SetWPAPSKKey(int32_t encryption, const char* passphrase, const char* ssid) {
    return API_SetWPAPSKKey(encryption, passphrase, ssid);
}
int LibraryDriver::SetWPANoneKey(int32_t encryption, const char* passphrase, const char* ssid) {
    return API_SetWPANoneKey(encryption, passphrase, ssid);
}
int LibraryDriver::SetWPA(WlanCertificateBlock block) {
    return API_SetWPA(block);
}
int LibraryDriver::GetAdvancedMode(int32_t* pair) {
    return API_GetAdvancedMode(pair);
}
int LibraryDriver::GetRadioOff() {
    return API_GetRadioOff();
}
int LibraryDriver::GetChannelPlanByCountry() {
    return API_GetChannelPlanByCountry();
}
int LibraryDriver::SetChannelPlanByCountry(int32_t plan) {
    return API_SetChannelPlanByCountry(plan);
}
int LibraryDriver::GetWZCControlFlag() {
    return API_GetWZCControlFlag();
}
int LibraryDriver::SetWZCControlFlag(int32_t flag) {
    return API_SetWZCControlFlag(flag);
}
int LibraryDriver::GetWZCService() {
    return API_GetWZCService();
}
int LibraryDriver::ActiveWZCUI() {
    return API_ActiveWZCUI();
}

std::shared_ptr<AdapterBackend> makeDriverLibraryBackend() {
    return std::make_shared<DriverLibraryBackend>(std::make_shared<LibraryDriver>());
}
