#pragma once
// One hexadecimal digit's value, either letter case; -1 for any other character. And the byte
// two digits spell, high digit first; -1 when either is no digit. And each byte of a text as two
// upper-case digits.

#include <string>
#include <string_view>

namespace platform {

constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

constexpr int hexByteValue(char high, char low) {
    const int h = hexDigitValue(high);
    const int l = hexDigitValue(low);
    return h < 0 || l < 0 ? -1 : h * 16 + l;
}

inline std::string upperHexText(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

} // namespace platform
