#include "platform/UserRegistry.h"

#include "platform/HexDigits.h"

#include "platform/Diagnostics.h"
#include "platform/FileSystem.h"
#include "platform/IniDocument.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

constexpr char kHeader[] = "REGEDIT4";
constexpr char kHex[] = "0123456789abcdef";

// The key's file below base, each component resolved without regard to case.
std::optional<std::string> keyFile(const std::string& keyPath, const std::string& base) {
    if (base.empty()) {
        return std::nullopt;
    }
    std::string path = base + "/registry";
    std::size_t start = 0;
    for (;;) {
        std::size_t end = keyPath.find('\\', start);
        const bool last = end == std::string::npos;
        end = last ? keyPath.size() : end;
        const std::string part = keyPath.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." ||
            part.find_first_of(std::string("/\0", 2)) != std::string::npos) {
            return std::nullopt;
        }
        path = resolveFileName(path + "/" + part + (last ? ".reg" : ""));
        if (last) {
            return path;
        }
        start = end + 1;
    }
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Reads a quoted text at line[pos]; pos ends after the closing quote.
std::optional<std::string> unquote(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') {
        return std::nullopt;
    }
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size()) {
            return std::nullopt;
        }
        switch (line[pos]) {
        case '\\':
            out += '\\';
            break;
        case '"':
            out += '"';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            const int byte =
                pos + 2 < line.size() ? platform::hexByteValue(line[pos + 1], line[pos + 2]) : -1;
            if (byte < 0) {
                return std::nullopt;
            }
            out += static_cast<char>(byte);
            pos += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<RegistryValue> parseData(std::string_view data) {
    RegistryValue value;
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        auto text = unquote(data, pos);
        if (!text || pos != data.size()) {
            return std::nullopt;
        }
        value.data = std::move(*text);
        return value;
    }
    if (data.starts_with("dword:")) {
        data.remove_prefix(6);
        if (data.size() != 8) {
            return std::nullopt;
        }
        value.type = RegistryValue::Type::Number;
        for (char c : data) {
            if (platform::hexDigitValue(c) < 0) {
                return std::nullopt;
            }
            value.number = value.number * 16 + static_cast<uint32_t>(platform::hexDigitValue(c));
        }
        return value;
    }
    if (data.starts_with("hex:")) {
        data.remove_prefix(4);
        value.type = RegistryValue::Type::Binary;
        while (!data.empty()) {
            const int byte = data.size() < 2 ? -1 : platform::hexByteValue(data[0], data[1]);
            if (byte < 0) {
                return std::nullopt;
            }
            value.data += static_cast<char>(byte);
            data.remove_prefix(2);
            if (!data.empty()) {
                if (data.front() != ',' || data.size() == 1) {
                    return std::nullopt;
                }
                data.remove_prefix(1);
            }
        }
        return value;
    }
    return std::nullopt;
}

} // namespace

std::string defaultConfigDirectory() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/skyvane";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/skyvane";
    }
    return {};
}

std::optional<RegistryKey> RegistryKey::open(const std::string& keyPath, const std::string& baseDirectory) {
    bool unreadable = false;
    return load(keyPath, baseDirectory, unreadable);
}

std::optional<RegistryKey> RegistryKey::create(const std::string& keyPath, const std::string& baseDirectory) {
    bool unreadable = false;
    if (auto key = load(keyPath, baseDirectory, unreadable)) {
        return key;
    }
    const auto file = keyFile(keyPath, baseDirectory);
    if (!file || unreadable) {
        return std::nullopt; // a file we cannot read is not ours to replace
    }
    return RegistryKey(keyPath, *file);
}

std::optional<RegistryKey> RegistryKey::load(const std::string& keyPath, const std::string& baseDirectory,
                                             bool& unreadable) {
    unreadable = false;
    const auto file = keyFile(keyPath, baseDirectory);
    if (!file) {
        return std::nullopt;
    }
    const FileRead read = readSettingsFile(*file);
    if (read.status != ReadStatus::Read) {
        unreadable = read.status != ReadStatus::Missing;
        return std::nullopt;
    }
    auto values = parse(read.content);
    if (!values) {
        return std::nullopt; // corrupt: create() starts the key afresh
    }
    RegistryKey key(keyPath, *file);
    key.m_values = std::move(*values);
    return key;
}

void RegistryKey::set(const std::string& name, RegistryValue value) {
    for (auto& [existing, stored] : m_values) {
        if (foldName(existing) == foldName(name)) {
            stored = std::move(value);
            return;
        }
    }
    m_values.emplace_back(name, std::move(value));
}

void RegistryKey::setText(const std::string& name, const std::string& text) {
    set(name, RegistryValue{RegistryValue::Type::Text, text, 0});
}

void RegistryKey::setBinary(const std::string& name, const std::string& bytes) {
    set(name, RegistryValue{RegistryValue::Type::Binary, bytes, 0});
}

void RegistryKey::setNumber(const std::string& name, uint32_t number) {
    set(name, RegistryValue{RegistryValue::Type::Number, {}, number});
}

std::optional<RegistryValue> RegistryKey::value(const std::string& name) const {
    for (const auto& [existing, stored] : m_values) {
        if (foldName(existing) == foldName(name)) {
            return stored;
        }
    }
    return std::nullopt;
}

bool RegistryKey::commit() {
    const auto slash = m_filePath.rfind('/');
    if (slash == std::string::npos || !makeDirectories(m_filePath.substr(0, slash), 0700)) {
        diag::warning(diag::platformCategory,
                      "could not create the registry folder of " + m_filePath + ": " + diag::reason(errno));
        return false;
    }
    return replaceFileAtomically(m_filePath, format(m_keyPath, m_values), FileAccess::Private).written();
}

std::string RegistryKey::format(const std::string& keyPath,
                                const std::vector<std::pair<std::string, RegistryValue>>& values) {
    std::string out = std::string(kHeader) + "\n\n[HKEY_CURRENT_USER\\";
    for (char c : keyPath) {
        out += (c == '\n' || c == '\r' || c == ']') ? '_' : c;
    }
    out += "]\n";
    for (const auto& [name, value] : values) {
        out += quoted(name) + "=";
        switch (value.type) {
        case RegistryValue::Type::Text:
            out += quoted(value.data);
            break;
        case RegistryValue::Type::Number: {
            char digits[16];
            std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(value.number));
            out += digits;
            break;
        }
        case RegistryValue::Type::Binary: {
            out += "hex:";
            for (std::size_t i = 0; i < value.data.size(); ++i) {
                const auto byte = static_cast<unsigned char>(value.data[i]);
                out += i == 0 ? "" : ",";
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            }
            break;
        }
        }
        out += "\n";
    }
    return out;
}

std::optional<std::vector<std::pair<std::string, RegistryValue>>>
RegistryKey::parse(const std::string& text) {
    std::vector<std::pair<std::string, RegistryValue>> values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == ';' || line.front() == '[' || line == kHeader) {
            continue;
        }
        std::size_t pos = 0;
        auto name = unquote(line, pos);
        if (!name || pos >= line.size() || line[pos] != '=') {
            return std::nullopt;
        }
        auto value = parseData(line.substr(pos + 1));
        if (!value) {
            return std::nullopt;
        }
        values.emplace_back(std::move(*name), std::move(*value));
    }
    return values;
}

} // namespace platform
