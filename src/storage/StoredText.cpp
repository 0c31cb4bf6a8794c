#include "storage/StoredText.h"

#include "platform/HexDigits.h"

namespace {

char complement(char c) {
    return static_cast<char>(255 - static_cast<unsigned char>(c));
}

} // namespace

std::string EncodeStoredText(const std::string& plain) {
    std::string stored = platform::upperHexText(plain.substr(0, maxStoredPlainBytes));
    for (char& c : stored) {
        c = complement(c);
    }
    return stored;
}

std::string DecodeStoredText(const std::string& stored) {
    std::string plain;
    plain.reserve(stored.size() / 2 + 1);
    for (std::size_t i = 0; i < stored.size(); i += 2) {
        int value = 0;
        for (std::size_t j = i; j < i + 2 && j < stored.size(); ++j) {
            const int digit = platform::hexDigitValue(complement(stored[j]));
            if (digit < 0) {
                break; // only the leading digits of the pair count
            }
            value = value * 16 + digit;
        }
        plain += static_cast<char>(value);
    }
    return plain;
}
