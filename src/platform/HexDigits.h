#pragma once
// One hexadecimal digit's value, either letter case; -1 for any other character. And the byte
// two digits spell, high digit first; -1 when either is no digit.

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

} // namespace platform
