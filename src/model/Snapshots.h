#pragma once

#include <cstdint>

// Copies of what the driver reports, handed out by WirelessAdapter.

struct AdapterInfo {
    char apiVersion[255];
    char hardwareVersion[255];
    char hardwareId[255];
    unsigned char macAddress[6];
    char driverVersion[255];
    char driverDescription[255];
    int32_t chipsetSolution; // 1..11, else 0
};

struct TrafficCounters {
    int32_t counter0, counter1, counter2, counter3, counter4, counter5, counter6;
    uint64_t txDelta; // bytes transmitted since the previous cycle, modulo 2^64
    uint64_t rxDelta; // bytes received since the previous cycle, modulo 2^64
};

struct LinkStatus {
    int32_t signalStrength; // percent
    int32_t linkQuality;    // percent
    char ssid[33];
    unsigned char bssid[6];
    TrafficCounters counters;
    char ipText[5][50]; // dotted quads; text 3 is always empty
    int32_t ipValue;
    int32_t authStatus; // 1..4, else 0
    int32_t linkMode;   // 1 or 2, else 0; 1 before the first cycle
    int32_t connected;  // 1 when the link state is 1 or 2
};

struct BssEntry {
    char ssid[33];
    unsigned char bssid[6];
    int32_t signal;             // percent
    int32_t channel;            // channel index 0..26
    int32_t networkType;        // 0 ad hoc, 1 infrastructure, 2 software access point
    int32_t encryptionMode;     // 0 none, 1 WEP, 2 TKIP, 3 AES
    int32_t authenticationMode; // 0..7
    int32_t wirelessMode[12];   // exactly one of elements 0 (11B), 4 (11G), 8 (11A) set
};

inline constexpr int maxSurveyEntries = 255;
