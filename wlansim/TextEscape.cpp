#include "wlansim/TextEscape.h"

namespace wlansim {

std::string quoteText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte >= 0x7f) {
                out += '\\';
                out += char('0' + (byte >> 6));
                out += char('0' + ((byte >> 3) & 7));
                out += char('0' + (byte & 7));
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::optional<std::string> unquoteText(std::string_view quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        return std::nullopt;
    }
    std::string_view body = quoted.substr(1, quoted.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '"') {
            return std::nullopt;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == body.size()) {
            return std::nullopt;
        }
        switch (body[i]) {
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        default: {
            if (body.size() - i < 3) {
                return std::nullopt;
            }
            int value = 0;
            for (std::size_t k = i; k < i + 3; ++k) {
                if (body[k] < '0' || body[k] > '7') {
                    return std::nullopt;
                }
                value = value * 8 + (body[k] - '0');
            }
            if (value > 255) {
                return std::nullopt;
            }
            out += char(value);
            i += 2;
        }
        }
    }
    return out;
}

} // namespace wlansim
