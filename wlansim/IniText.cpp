#include "wlansim/IniText.h"

#include "wlansim/World.h"

#include <utility>

namespace wlansim {
namespace {

bool isHeader(const std::string& line) {
    std::string text = trim(line);
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

std::string headerName(const std::string& line) {
    std::string text = trim(line);
    return text.substr(1, text.size() - 2);
}

bool isSetting(const std::string& line) {
    std::string text = trim(line);
    return !text.empty() && text[0] != ';' && text[0] != '#' && text.find('=') != std::string::npos;
}

bool isComment(const std::string& line) {
    std::string text = trim(line);
    return !text.empty() && (text[0] == ';' || text[0] == '#');
}

std::string keyOf(const std::string& line) {
    return trim(std::string_view(line).substr(0, line.find('=')));
}

} // namespace

IniText::IniText(std::string_view text) {
    m_finalNewline = text.empty() || text.back() == '\n';
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        m_lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
}

std::string IniText::text() const {
    std::string out;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i];
        if (i + 1 < m_lines.size() || m_finalNewline) {
            out += '\n';
        }
    }
    return out;
}

std::vector<IniText::Range> IniText::sections(const SectionTest& test) const {
    std::vector<Range> found;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (!isHeader(m_lines[i]) || !test(headerName(m_lines[i]))) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < m_lines.size() && !isHeader(m_lines[end])) {
            ++end;
        }
        // A comment block right above the next header belongs to the next section.
        while (end < m_lines.size() && end > i + 1 && isComment(m_lines[end - 1])) {
            --end;
        }
        found.push_back({i, end});
    }
    return found;
}

bool IniText::hasSection(const SectionTest& test) const {
    return !sections(test).empty();
}

bool IniText::setValue(const SectionTest& test, std::string_view key, std::string_view value) {
    std::vector<Range> found = sections(test);
    std::string line = std::string(key) + "=" + std::string(value);
    // From the last section backwards, so that inserted lines do not move the ranges still to do.
    for (auto range = found.rbegin(); range != found.rend(); ++range) {
        bool replaced = false;
        std::size_t lastSetting = range->begin;
        for (std::size_t i = range->begin + 1; i < range->end; ++i) {
            if (!isSetting(m_lines[i])) {
                continue;
            }
            lastSetting = i;
            if (equalsNoCase(keyOf(m_lines[i]), key)) {
                m_lines[i] = line;
                replaced = true;
            }
        }
        if (!replaced) {
            m_lines.insert(m_lines.begin() + std::ptrdiff_t(lastSetting + 1), line);
        }
    }
    return !found.empty();
}

bool IniText::removeSections(const SectionTest& test) {
    std::vector<Range> found = sections(test);
    for (auto range = found.rbegin(); range != found.rend(); ++range) {
        // A comment block right above the header belongs to the section.
        std::size_t begin = range->begin;
        while (begin > 0 && isComment(m_lines[begin - 1])) {
            --begin;
        }
        m_lines.erase(m_lines.begin() + std::ptrdiff_t(begin), m_lines.begin() + std::ptrdiff_t(range->end));
        while (begin > 0 && begin < m_lines.size() && trim(m_lines[begin - 1]).empty() &&
               trim(m_lines[begin]).empty()) {
            m_lines.erase(m_lines.begin() + std::ptrdiff_t(begin));
        }
    }
    return !found.empty();
}

void IniText::appendSection(std::string_view header,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    if (!m_lines.empty() && !trim(m_lines.back()).empty()) {
        m_lines.emplace_back();
    }
    // Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) about "[" + std::string.
    std::string headerLine = "[";
    headerLine.append(header).append("]");
    m_lines.push_back(std::move(headerLine));
    for (const auto& [key, value] : values) {
        m_lines.push_back(key + "=" + value);
    }
    m_finalNewline = true;
}

} // namespace wlansim
