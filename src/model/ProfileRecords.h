#pragma once

#include <array>
#include <cstdint>
#include <string>

// The records of the profile file, as the profile store reads and writes them.

// The security part that a profile and "on_link" share: the four WEP keys with their format,
// lengths and default-key flags, the passphrase and the 802.1X data; texts decoded.
struct SecurityFields {
    std::string WEPKey1, WEPKey2, WEPKey3, WEPKey4;
    int32_t KeyFormat = 0;
    int32_t KeyLength1 = 0, KeyLength2 = 0, KeyLength3 = 0, KeyLength4 = 0;
    int32_t Radio1 = 0, Radio2 = 0, Radio3 = 0, Radio4 = 0;
    std::string WPAPassPhase;
    std::string CertificateHash;
    std::string CertificateName;
    std::string DomainName;
    std::string LoginName;

    // Per-key fields by key number 0..3.
    std::string& wepKey(int index) { return *std::array{&WEPKey1, &WEPKey2, &WEPKey3, &WEPKey4}.at(index); }
    const std::string& wepKey(int index) const { return const_cast<SecurityFields*>(this)->wepKey(index); }
    int32_t& keyLength(int index) {
        return *std::array{&KeyLength1, &KeyLength2, &KeyLength3, &KeyLength4}.at(index);
    }
    int32_t keyLength(int index) const { return const_cast<SecurityFields*>(this)->keyLength(index); }
    int32_t& radio(int index) { return *std::array{&Radio1, &Radio2, &Radio3, &Radio4}.at(index); }
    int32_t radio(int index) const { return const_cast<SecurityFields*>(this)->radio(index); }

    bool operator==(const SecurityFields&) const = default;
};

// One stored profile: one field per key of a "Profile_index_%d" section, texts decoded,
// numbers and flags as read by their leading digits. "true_false" is the slot's state, not
// part of the record.
struct ProfileRecord : SecurityFields {
    std::string Profilename;
    std::string SSID;
    int32_t bsstype = 0;
    int32_t Channel = 0;
    int32_t PowerMode = 0;
    int32_t AuthListIndex = 0;   // "Auth Mode"
    int32_t CipherListIndex = 0; // "Encryation Mode"
    int32_t Mode11b = 0;
    int32_t Mode11g = 0;
    int32_t Mode11gt = 0;
    int32_t ModeXR = 0;
    int32_t adhocband = 0;
    int32_t TxRate = 0;
    int32_t Mode11a = 0;
    int32_t Mode11at = 0;

    bool operator==(const ProfileRecord&) const = default;
};

// Section "on_link" (the configuration chosen last) plus AutoWPAWPA2 of the settings file.
struct OnLinkRecord : SecurityFields {
    std::string SSID;
    int32_t bsstype = 0;
    int32_t adhocband = 0;
    int32_t Channel = 0;
    int32_t PowerMode = 0;
    int32_t PreambleMode = 0;
    int32_t Mode11b = 0, Mode11g = 0, Mode11gt = 0, Mode11a = 0, Mode11at = 0;
    int32_t ModeXR = 0;
    int32_t CipherListIndex = 0; // "Encryation Mode"
    int32_t AuthListIndex = 0;   // "Auth Mode"
    std::string AutoWPAWPA2;     // "YES" or "NO", from the settings file

    bool operator==(const OnLinkRecord&) const = default;
};
