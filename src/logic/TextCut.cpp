#include "logic/TextCut.h"

namespace logic {
namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Well-formed UTF-8 as far as its sequence lengths go: a lead byte followed by exactly the
// continuation bytes it announces.
bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = lead <= 0xEF ? 3 : 0;
        } else if (lead >= 0xC2) {
            length = 2;
        } else if (lead >= 0x80) {
            length = 0;
        }
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t j = i + 1; j < i + length; ++j) {
            if (!isContinuation(static_cast<unsigned char>(text[j]))) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

} // namespace

std::string cutText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    std::size_t cut = maxBytes;
    if (isUtf8(text)) {
        while (cut > 0 && isContinuation(static_cast<unsigned char>(text[cut]))) {
            --cut;
        }
    }
    return std::string(text.substr(0, cut));
}

} // namespace logic
