#include "platform/ShownText.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";
constexpr std::string_view firstStrongIsolate = "\u2068";
constexpr std::string_view popDirectionalIsolate = "\u2069";

// The code point of a well-formed UTF-8 sequence at text[at] and its length; length 0 for a
// byte that starts none (overlong forms, surrogates and values past U+10FFFF included).
struct Decoded {
    char32_t point = 0;
    std::size_t length = 0;
};

Decoded decodeAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t point = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        point = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        point = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        point = lead & 0x07;
        smallest = 0x10000;
    } else {
        return {};
    }
    if (at + length > text.size()) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return {};
        }
        point = (point << 6) | (byte(i) & 0x3F);
    }
    if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return {};
    }
    return {point, length};
}

bool needsEscape(char32_t point) {
    return point < 0x20 || (point >= 0x7F && point <= 0x9F) || point == 0x2028 || point == 0x2029 ||
           (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069);
}

// Letters of the scripts written right to left (Hebrew, Arabic, Syriac, Thaana, N'Ko and their
// neighbours, their presentation forms, and the historic scripts of the SMP's RTL blocks).
bool rightToLeft(char32_t point) {
    return (point >= 0x0590 && point <= 0x08FF) || (point >= 0xFB1D && point <= 0xFDFF) ||
           (point >= 0xFE70 && point <= 0xFEFF) || (point >= 0x10800 && point <= 0x10FFF) ||
           (point >= 0x1E800 && point <= 0x1EFFF);
}

void appendHex(std::string& out, std::uint32_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += hexDigits[(value >> shift) & 0xF];
    }
}

void appendEscape(std::string& out, char32_t point) {
    switch (point) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (point < 0x80) {
        out += "\\x";
        appendHex(out, point, 2);
    } else {
        out += "\\u";
        appendHex(out, point, 4);
    }
}

std::string escaped(std::string_view text, bool& anyRightToLeft) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Decoded decoded = decodeAt(text, at);
        if (decoded.length == 0) {
            out += "\\x";
            appendHex(out, static_cast<unsigned char>(text[at]), 2);
            ++at;
            continue;
        }
        if (needsEscape(decoded.point)) {
            appendEscape(out, decoded.point);
        } else {
            out.append(text.substr(at, decoded.length));
            anyRightToLeft = anyRightToLeft || rightToLeft(decoded.point);
        }
        at += decoded.length;
    }
    return out;
}

} // namespace

std::string escapedControls(std::string_view text) {
    bool anyRightToLeft = false;
    return escaped(text, anyRightToLeft);
}

std::string shownText(std::string_view name) {
    bool anyRightToLeft = false;
    std::string text = escaped(name, anyRightToLeft);
    if (!anyRightToLeft) {
        return text; // nothing in it can turn the text around it
    }
    std::string isolated;
    isolated.reserve(text.size() + 6);
    isolated.append(firstStrongIsolate).append(text).append(popDirectionalIsolate);
    return isolated;
}

} // namespace platform
