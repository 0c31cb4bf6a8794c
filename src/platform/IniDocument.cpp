#include "platform/IniDocument.h"

#include <cstdint>
#include <limits>

namespace platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view lineBody(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    return line;
}

// Where the value of a key line starts and ends within the line.
struct ValueSpan {
    std::size_t begin;
    std::size_t end;
};

ValueSpan valueSpanOf(std::string_view line) {
    const std::string_view body = lineBody(line);
    std::size_t begin = body.find('=') + 1;
    std::size_t end = body.size();
    while (begin < end && isBlank(body[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(body[end - 1])) {
        --end;
    }
    return {begin, end};
}

} // namespace

std::string foldName(std::string_view name) {
    std::string folded(trimBlanks(name));
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

int32_t leadingNumber(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int64_t value = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            value = limit;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int32_t>::max()) {
        value = std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

IniDocument::IniDocument(std::string_view text) {
    m_blocks.emplace_back();
    const std::size_t firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r') {
        m_eol = "\r\n";
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        addLine(std::string(text.substr(start, end - start)));
        start = end;
    }
}

void IniDocument::addLine(std::string line) {
    const std::string_view body = trimBlanks(lineBody(line));
    if (!body.empty() && body.front() == '[') {
        Block block;
        const std::size_t close = body.find(']');
        if (close != std::string_view::npos) {
            const std::string name = foldName(body.substr(1, close - 1));
            block.reachable = m_sections.emplace(name, m_blocks.size()).second;
        }
        block.lines.push_back(std::move(line));
        m_blocks.push_back(std::move(block));
        return;
    }
    Block& block = m_blocks.back();
    const std::size_t equals = body.find('=');
    const bool comment = !body.empty() && (body.front() == ';' || body.front() == '#');
    if (block.reachable && !comment && equals != std::string_view::npos) {
        std::string key = foldName(body.substr(0, equals));
        if (!key.empty()) {
            block.keys.emplace(std::move(key), block.lines.size());
            block.lastKeyLine = block.lines.size();
        }
    }
    block.lines.push_back(std::move(line));
}

std::optional<std::string_view> IniDocument::find(std::string_view section, std::string_view key) const {
    const auto blockIt = m_sections.find(foldName(section));
    if (blockIt == m_sections.end()) {
        return std::nullopt;
    }
    const Block& block = m_blocks[blockIt->second];
    const auto keyIt = block.keys.find(foldName(key));
    if (keyIt == block.keys.end()) {
        return std::nullopt;
    }
    const std::string_view line = block.lines[keyIt->second];
    const ValueSpan span = valueSpanOf(line);
    std::string_view value = line.substr(span.begin, span.end - span.begin);
    return value.substr(0, value.find('\0'));
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = trimBlanks(section);
    const std::string_view keyName = trimBlanks(key);
    const auto hasAny = [](std::string_view text, std::string_view chars) {
        return text.find_first_of(chars) != std::string_view::npos;
    };
    if (sectionName.empty() || keyName.empty() || hasAny(sectionName, std::string_view("]\n\r\0", 4)) ||
        hasAny(keyName, std::string_view("=\n\r\0", 4)) || keyName.front() == '[' || keyName.front() == ';' ||
        keyName.front() == '#') {
        return false;
    }
    value = value.substr(0, value.find_first_of(std::string_view("\n\r\0", 3)));

    const auto blockIt = m_sections.find(foldName(sectionName));
    Block& block = blockIt == m_sections.end() ? appendSection(sectionName) : m_blocks[blockIt->second];
    const std::string folded = foldName(keyName);
    const auto keyIt = block.keys.find(folded);
    if (keyIt != block.keys.end()) {
        std::string& line = block.lines[keyIt->second];
        const ValueSpan span = valueSpanOf(line);
        line.replace(span.begin, span.end - span.begin, value);
        return true;
    }
    ensureLineEnd(block.lines[block.lastKeyLine], m_eol);
    const std::size_t at = block.lastKeyLine + 1;
    std::string line(keyName);
    line.append("=").append(value).append(m_eol);
    block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    block.keys.emplace(folded, at);
    block.lastKeyLine = at;
    return true;
}

IniDocument::Block& IniDocument::appendSection(std::string_view section) {
    if (m_blocks.empty()) {
        m_blocks.emplace_back();
    }
    Block& last = m_blocks.back();
    if (!last.lines.empty()) {
        ensureLineEnd(last.lines.back(), m_eol);
    }
    Block block;
    block.reachable = true;
    std::string header = "[";
    header.append(section).append("]").append(m_eol);
    block.lines.push_back(std::move(header));
    m_sections.emplace(foldName(section), m_blocks.size());
    m_blocks.push_back(std::move(block));
    return m_blocks.back();
}

void IniDocument::ensureLineEnd(std::string& line, const std::string& eol) {
    if (line.empty() || line.back() != '\n') {
        line += eol;
    }
}

std::string IniDocument::text() const {
    std::size_t size = 0;
    for (const Block& block : m_blocks) {
        for (const std::string& line : block.lines) {
            size += line.size();
        }
    }
    std::string out;
    out.reserve(size);
    for (const Block& block : m_blocks) {
        for (const std::string& line : block.lines) {
            out += line;
        }
    }
    return out;
}

} // namespace platform
