/* The adapter's driver library contract: plain C functions, 32-bit integers,
 * NUL-terminated single-byte texts and caller-owned out-buffers of fixed sizes.
 * Any library that exports these functions with these results serves as the driver;
 * the program links it as libwlandll.so.
 *
 * Threads: the library may be entered from two threads at once. A site survey runs on a
 * thread of its own and may take seconds, while another thread goes on calling the other
 * functions (status, statistics, settings); API_SiteSurvey must not hold those up for the
 * length of its scan. Apart from the survey, the program makes one call at a time. */
#ifndef SKYVANE_WLANDLL_H
#define SKYVANE_WLANDLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Buffer sizes that callers provide. */
#define WLAN_TEXT_BUFFER_SIZE 256     /* hardware ID, description, versions */
#define WLAN_LINK_SSID_BUFFER_SIZE 36 /* API_GetStatusLinkInfo and API_GetSSID */
#define WLAN_MAC_SIZE 6
#define WLAN_STATISTICS_SIZE 48
#define WLAN_IP_INFO_SIZE 204
#define WLAN_SURVEY_RECORD_SIZE 84
#define WLAN_SURVEY_MAX_RECORDS 255

/* Statistics block: seven 32-bit counters, 4 unused bytes, then the 64-bit totals. */
#define WLAN_STAT_COUNTERS_OFFSET 0
#define WLAN_STAT_COUNTER_COUNT 7
#define WLAN_STAT_TX_TOTAL_OFFSET 32
#define WLAN_STAT_RX_TOTAL_OFFSET 40

/* IP block: four 50-byte texts and a 32-bit value. */
#define WLAN_IP_TEXT_SIZE 50
#define WLAN_IP_TEXT_COUNT 4
#define WLAN_IP_VALUE_OFFSET 200

/* Survey record layout; integers little-endian 32-bit. */
#define WLAN_SURVEY_TYPE_OFFSET 0 /* 1 infrastructure, 2 software AP, else ad hoc */
#define WLAN_SURVEY_SSID_OFFSET 4 /* 33 bytes */
#define WLAN_SURVEY_SSID_SIZE 33
#define WLAN_SURVEY_BSSID_OFFSET 37   /* 6 bytes */
#define WLAN_SURVEY_SIGNAL_OFFSET 44  /* percent */
#define WLAN_SURVEY_CHANNEL_OFFSET 48 /* channel code */
#define WLAN_SURVEY_ENCRYPTION_OFFSET 52
#define WLAN_SURVEY_AUTH_OFFSET 56
#define WLAN_SURVEY_BAND_OFFSET 60 /* 0 11b, 1 11g, else 11a */

/* The wireless-mode block, handed over by value: twelve flags. */
typedef struct WlanWirelessModeBlock {
    int32_t flags[12];
} WlanWirelessModeBlock;

/* The 802.1X certificate block, handed over by value: four 255-byte texts. */
typedef struct WlanCertificateBlock {
    char certificateName[255];
    char certificateHash[255];
    char domainName[255];
    char loginName[255];
} WlanCertificateBlock;

/* Driver lifetime. */
int API_Initialize(void); /* 1 = driver ready */
int API_IsUnplug(void);   /* 1 = adapter removed */
int API_Stop(void);

/* Adapter information. */
int API_GetHardwareID(char* buffer);                            /* 256 bytes; 1 = adapter present */
int API_GetDriverDescription(char* description, char* version); /* two 256-byte buffers */
int API_GetHardwareVersion(char* buffer);                       /* 256 bytes */
int API_GetAPIVersion(char* buffer);                            /* 256 bytes */
int API_GetMacAddress(unsigned char* mac);                      /* 6 bytes */
int API_GetChipsetSolution(void);                               /* 1..11, else 0 */

/* Link status and counters. */
int API_GetStatusSignalInfo(int32_t* signalStrength, int32_t* linkQuality);
int API_GetStatusLinkInfo(int32_t* state, int32_t* mode, char* ssid, unsigned char* bssid); /* 36, 6 bytes */
int API_GetStatistics(unsigned char* block);                                                /* 48 bytes */
int API_GetIPInfo(unsigned char* block);                                                    /* 204 bytes */
int API_GetStatusAuthStatus(void);                                                          /* 1..4, else 0 */

/* Site survey: fills up to 255 records of 84 bytes, returns the record count. */
int API_SiteSurvey(unsigned char* records);

/* Station settings, in driver codes. */
int API_SetNetworkType(int32_t type);
int API_GetNetworkType(void);
int API_SetEncryptionMode(int32_t mode);
int API_GetEncryptionMode(int32_t* mode);
int API_SetAuthenticationMode(int32_t mode);
int API_GetAuthenticationMode(void);
int API_SetPreambleMode(int32_t mode);
int API_GetPreambleMode(void);
int API_SetPowerSaveMode(int32_t mode);
int API_GetPowerSaveMode(void);
int API_SetChannel(int32_t code);
int API_GetChannel(void);
int API_SetBeaconInterval(int32_t interval);
int API_GetBeaconInterval(void);
int API_SetFragmentationThreshold(int32_t threshold);
int API_GetFragmentationThreshold(void);
int API_SetRTSThreshold(int32_t threshold);
int API_GetRTSThreshold(void);
int API_SetDefaultKeyID(int32_t keyId);
int API_GetDefaultKeyID(void);
int API_SetSSID(const char* ssid);
int API_GetSSID(char* buffer); /* 36 bytes */
int API_SetTxRate(int32_t autoRate, int32_t code);
int API_GetTxRate(int32_t* autoRate, int32_t* code);
int API_SetWirelessMode(WlanWirelessModeBlock block);
int API_GetWirelessMode(WlanWirelessModeBlock* block);

/* Security. */
int API_SetWEPKey(int32_t index, int32_t bits, const char* hexKey);
int API_SetWPAPSKKey(int32_t encryption, const char* passphrase, const char* ssid);
int API_SetWPANoneKey(int32_t encryption, const char* passphrase, const char* ssid);
int API_SetWPA(WlanCertificateBlock block);

/* Read-only state. */
int API_GetAdvancedMode(int32_t* pair); /* two 32-bit values: XR flag, driver-only */
int API_GetRadioOff(void);

/* Regulatory domain. */
int API_GetChannelPlanByCountry(void); /* plan code 0..12 */
int API_SetChannelPlanByCountry(int32_t plan);

/* The system's own wireless configuration service. */
int API_GetWZCControlFlag(void); /* 1 = the service controls the adapter */
int API_SetWZCControlFlag(int32_t flag);
int API_GetWZCService(void);
int API_ActiveWZCUI(void);

#ifdef __cplusplus
}

static_assert(sizeof(WlanWirelessModeBlock) == 48, "wireless-mode block is 48 bytes");
static_assert(sizeof(WlanCertificateBlock) == 1020, "certificate block is 1020 bytes");
#endif

#endif
