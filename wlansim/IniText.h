#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wlansim {

// An INI text as lines, edited in place so that comments, order and every line not touched
// stay as they were.
class IniText {
public:
    using SectionTest = std::function<bool(std::string_view header)>; // header without brackets

    explicit IniText(std::string_view text);
    std::string text() const;

    bool hasSection(const SectionTest& test) const;
    // Sets the key in every section that passes the test (every line of that key in it);
    // a section without the key gets it after its last setting. Returns false when no
    // section passes.
    bool setValue(const SectionTest& test, std::string_view key, std::string_view value);
    // Removes every section that passes the test with its lines; false when there is none.
    bool removeSections(const SectionTest& test);
    void appendSection(std::string_view header,
                       const std::vector<std::pair<std::string, std::string>>& values);

private:
    struct Range {
        std::size_t begin; // the header line
        std::size_t end;   // one past the section's last line
    };
    std::vector<Range> sections(const SectionTest& test) const;

    std::vector<std::string> m_lines;
    bool m_finalNewline = true;
};

} // namespace wlansim
