#include "storage/RegistryMirror.h"

#include "model/CodeTables.h"
#include "platform/IniDocument.h"
#include "platform/UserRegistry.h"

#include <cstring>
#include <optional>

using platform::RegistryKey;
using platform::RegistryValue;

namespace {

template <std::size_t N> std::string fieldText(const char (&field)[N]) {
    return std::string(field, boundedLength(field));
}

void storeValues(RegistryKey& key, const StationConfig& r) {
    const auto number = [&](const char* name, int value) { key.setText(name, std::to_string(value)); };
    key.setText("cSSID", fieldText(r.cSSID));
    number("NetworkType", r.NetworkType);
    number("Channel", r.Channel + 1);
    number("PowerSaveMode", r.PowerSaveMode);
    number("PreambleMode", r.PreambleMode);
    number("TxRate", r.TxRate);
    number("TxRateAuto", r.TxRateAuto);
    number("AuthenticationMode", r.AuthenticationMode);
    number("EncryptionMode", r.EncryptionMode);
    number("SecurityIndex", r.SecurityIndex);
    number("EncryptionIndex", r.EncryptionIndex);
    number("iDefaultWEPKeyID", r.iDefaultWEPKeyID);
    number("iKeyFormat", r.iKeyFormat);
    number("iKeyLength", r.iKeyLength);
    for (int i = 0; i < 4; ++i) {
        key.setText("ucWEPKey" + std::to_string(i + 1) + "Value", fieldText(r.wepKeyValue(i)));
    }
    for (int i = 0; i < 4; ++i) {
        key.setText("UIWEPKey" + std::to_string(i + 1), fieldText(r.uiWepKey(i)));
    }
    key.setText("cWPAPassPhase", fieldText(r.cWPAPassPhase));
    key.setText("cLoginName", fieldText(r.cLoginName));
    key.setText("cCertificateName", fieldText(r.cCertificateName));
    key.setBinary("cCertificateHash", std::string(r.cCertificateHash, sizeof r.cCertificateHash));
    key.setNumber("UICertIndex", static_cast<uint32_t>(r.UICertIndex));
}

// A number from a 32-bit value, or from a text by its leading digits. Missing, empty, binary,
// and text without a leading number all count as missing: the caller's default applies.
std::optional<int> numberOf(const RegistryKey& key, const char* name) {
    const auto value = key.value(name);
    if (!value || value->type == RegistryValue::Type::Binary) {
        return std::nullopt;
    }
    if (value->type == RegistryValue::Type::Number) {
        return static_cast<int32_t>(value->number);
    }
    const std::string_view text = platform::trimBlanks(value->data);
    const std::size_t digit = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (digit >= text.size() || text[digit] < '0' || text[digit] > '9') {
        return std::nullopt;
    }
    return platform::leadingNumber(text);
}

// A text value cut at its first NUL and to at most limit characters; missing, empty or not a
// text gives defaultText. (Texts are read through a 1024-byte buffer; every limit is below it.)
std::string textOf(const RegistryKey& key, const char* name, std::size_t limit,
                   const char* defaultText = "") {
    const auto value = key.value(name);
    if (!value || value->type != RegistryValue::Type::Text) {
        return defaultText;
    }
    std::string text = value->data.substr(0, value->data.find('\0'));
    return text.empty() ? defaultText : text.substr(0, limit);
}

template <std::size_t N> void setField(char (&field)[N], const std::string& text) {
    copyText(field, text.c_str());
}

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

void loadNumbers(const RegistryKey& key, StationConfig& r) {
    const auto number = [&](const char* name, int fallback) {
        return numberOf(key, name).value_or(fallback);
    };
    const int authentication = number("AuthenticationMode", 0);
    r.AuthenticationMode = inRange(authentication, 0, 7) ? authentication : 2;
    r.EncryptionMode = codes::encryptionToDriver(number("EncryptionMode", 0));
    r.SecurityIndex = number("SecurityIndex", 0);
    r.EncryptionIndex = number("EncryptionIndex", 0);
    if (const int type = number("NetworkType", 1); inRange(type, 0, 2)) {
        r.NetworkType = type;
    }
    const int channel = number("Channel", 6);
    r.Channel = inRange(channel, 1, codes::channelCount) ? channel - 1 : codes::defaultChannelIndex;
    if (const int power = number("PowerSaveMode", 0); inRange(power, 0, 2)) {
        r.PowerSaveMode = power;
    }
    if (const int preamble = number("PreambleMode", 1); inRange(preamble, 0, 2)) {
        r.PreambleMode = preamble;
    }
    r.TxRate = codes::txRateToDriver(number("TxRate", 0));
    r.TxRateAuto = number("TxRateAuto", 1);
}

void loadTexts(const RegistryKey& key, StationConfig& r) {
    setField(r.cSSID, textOf(key, "cSSID", 32, "default"));
    r.iDefaultWEPKeyID = numberOf(key, "iDefaultWEPKeyID").value_or(0);
    for (int i = 0; i < 4; ++i) {
        setField(r.wepKeyValue(i), textOf(key, ("ucWEPKey" + std::to_string(i + 1) + "Value").c_str(), 256));
    }
    for (int i = 0; i < 4; ++i) {
        setField(r.uiWepKey(i), textOf(key, ("UIWEPKey" + std::to_string(i + 1)).c_str(), 239));
    }
    setField(r.cWPAPassPhase, textOf(key, "cWPAPassPhase", 64));
    r.iKeyFormat = numberOf(key, "iKeyFormat").value_or(1);
    r.iKeyLength = numberOf(key, "iKeyLength").value_or(0);
    if (const auto hash = key.value("cCertificateHash");
        hash && hash->type != RegistryValue::Type::Number && !hash->data.empty()) {
        // Whole field from the bytes, always terminated even when the data has no NUL.
        std::memset(r.cCertificateHash, 0, sizeof r.cCertificateHash);
        std::memcpy(r.cCertificateHash, hash->data.data(),
                    std::min(hash->data.size(), sizeof r.cCertificateHash - 1));
    }
    setField(r.cLoginName, textOf(key, "cLoginName", 254));
    setField(r.cCertificateName, textOf(key, "cCertificateName", 254));
    r.UICertIndex = numberOf(key, "UICertIndex").value_or(0);
}

} // namespace

int StoreMirror(const std::string& keyPath, const StationConfig& record,
                const std::string& registryDirectory) {
    auto key = RegistryKey::create(keyPath, registryDirectory);
    if (!key) {
        return 0;
    }
    storeValues(*key, record);
    return key->commit() ? 1 : 0;
}

int LoadMirror(const std::string& keyPath, StationConfig& record, const std::string& registryDirectory) {
    const auto key = RegistryKey::open(keyPath, registryDirectory);
    if (!key) {
        return 0;
    }
    loadNumbers(*key, record);
    loadTexts(*key, record);
    return 1;
}

int StoreMirror(const std::string& keyPath, const StationConfig& record) {
    return StoreMirror(keyPath, record, platform::defaultConfigDirectory());
}

int LoadMirror(const std::string& keyPath, StationConfig& record) {
    return LoadMirror(keyPath, record, platform::defaultConfigDirectory());
}

RegistryMirror::RegistryMirror(std::string keyPath, std::string registryDirectory)
    : m_keyPath(std::move(keyPath)), m_directory(std::move(registryDirectory)) {}

int RegistryMirror::store(const StationConfig& record) const {
    return m_directory.empty() ? StoreMirror(m_keyPath, record) : StoreMirror(m_keyPath, record, m_directory);
}

int RegistryMirror::load(StationConfig& record) const {
    return m_directory.empty() ? LoadMirror(m_keyPath, record) : LoadMirror(m_keyPath, record, m_directory);
}
