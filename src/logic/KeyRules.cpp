#include "logic/KeyRules.h"

#include "platform/HexDigits.h"

#include <cstdio>

int RequiredKeyLength(int formatIndex, int lengthIndex) {
    const bool wide = lengthIndex != 0;
    return formatIndex == 0 ? (wide ? 13 : 5) : (wide ? 26 : 10);
}

bool IsHexText(const std::string& text) {
    for (char c : text) {
        if (platform::hexDigitValue(c) < 0) {
            return false;
        }
    }
    return true;
}

std::string MakeWepKeyValue(const std::string& typed, int requiredLength) {
    if (requiredLength == 5 || requiredLength == 13) {
        return platform::upperHexText(typed.substr(0, static_cast<std::size_t>(requiredLength)));
    }
    return typed;
}

int WepKeyBits(int requiredLength) {
    return requiredLength == 5 || requiredLength == 10 ? 64 : 128;
}

KeyFieldState ApplyKeyLimit(const std::string& text, int formatIndex, int lengthIndex) {
    if (text.empty()) {
        return {text, 0, false};
    }
    const int limit = RequiredKeyLength(formatIndex, lengthIndex);
    const auto size = static_cast<std::size_t>(limit);
    return {text.size() > size ? text.substr(1, size) : text, limit, formatIndex != 0};
}

KeyFormatCheck CheckKeyFormat(const std::string& text, int formatIndex) {
    const bool hex = formatIndex != 0;
    const bool rejected = hex && !IsHexText(text);
    return {rejected, rejected ? std::string() : text, hex};
}

std::string WepKeyLengthMessage(int keyNumber, int requiredLength) {
    char message[96];
    std::snprintf(message, sizeof message, "The length of key%d must be %d characters", keyNumber,
                  requiredLength);
    return message;
}

PassphraseVerdict CheckPassphrase(const std::string& passphrase) {
    const std::size_t length = passphrase.size();
    if (length == 64) {
        return IsHexText(passphrase) ? PassphraseVerdict::Ok : PassphraseVerdict::NotHex;
    }
    return length >= 8 && length <= 63 ? PassphraseVerdict::Ok : PassphraseVerdict::TooShort;
}

std::optional<std::string> CheckWepKeyLength(const std::string& typed, int keyNumber, int formatIndex,
                                             int lengthIndex) {
    const int required = RequiredKeyLength(formatIndex, lengthIndex);
    if (typed.size() == static_cast<std::size_t>(required)) {
        return std::nullopt;
    }
    return WepKeyLengthMessage(keyNumber, required);
}

namespace {

// A single-byte character a key field can hold: printable Latin-1.
bool enterable(char32_t c) {
    return (c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c <= 0xff);
}

bool isHexDigit(char32_t c) {
    return c < 0x80 && platform::hexDigitValue(static_cast<char>(c)) >= 0;
}

} // namespace

KeyEditEntry KeyEditInput(bool hexOnly, bool masked, std::u32string_view typed) {
    KeyEditEntry entry;
    for (const char32_t c : typed) {
        const bool kept = c == backspaceKey || (hexOnly ? isHexDigit(c) : enterable(c));
        if (kept) {
            entry.accept += c;
        }
    }
    entry.unmask = masked && !entry.accept.empty();
    return entry;
}

KeyEditText TypeIntoKeyEdit(const KeyEditText& before, bool hexOnly, int limit, std::u32string_view typed) {
    const KeyEditEntry entry = KeyEditInput(hexOnly, before.masked, typed);
    KeyEditText after = entry.unmask ? KeyEditText{} : before;
    for (const char32_t c : entry.accept) {
        if (c == backspaceKey) {
            if (!after.text.empty()) {
                after.text.pop_back();
            }
        } else if (limit <= 0 || after.text.size() < static_cast<std::size_t>(limit)) {
            after.text += static_cast<char>(static_cast<unsigned char>(c));
        }
    }
    return after;
}
