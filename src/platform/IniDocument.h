#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// One INI file held as its lines, so that an edit changes only the line it touches.
//
// Reading rules (those of the private-profile functions the program was written for):
// - "[name]" starts a section; the name is what stands between "[" and the first "]",
//   blanks around it ignored. A "[" line without "]" starts a section no name can reach, so
//   the keys under it read as missing instead of leaking into the section above.
// - "key=value": blanks around the key and the value are ignored; the first "=" splits.
//   Lines without "=", comment lines (";" or "#") and keys before the first section are kept
//   but never read.
// - Section and key names match without regard to ASCII case; the first section of a name
//   and the first key of a name within it count.
// - CRLF and LF line ends both read; a value stops at a NUL byte, as a C reader would see it.
// Writing keeps every other line byte for byte: a present key gets its value replaced within
// its line, a new key goes after the last key of its section, a new section at the end. New
// lines take the line end of the file's first line (LF for a new file).
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // The value of key in section; nullopt when the section or the key is missing.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

    // Sets key in section. Names that a file cannot hold (empty, line breaks, "]" in a section
    // name, "=" in a key, a key that would read as a section or comment) are refused (false).
    // A value is cut at its first line break or NUL byte: one key is one line.
    bool set(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Block {
        bool reachable = false;
        std::vector<std::string> lines;                    // raw, each with its line end
        std::unordered_map<std::string, std::size_t> keys; // lower-case key -> first line
        std::size_t lastKeyLine = 0;                       // header line when no key yet
    };

    void addLine(std::string line);
    Block& appendSection(std::string_view section);
    static void ensureLineEnd(std::string& line, const std::string& eol);

    std::vector<Block> m_blocks;                             // [0]: lines before the first section
    std::unordered_map<std::string, std::size_t> m_sections; // lower-case name -> first block
    std::string m_eol = "\n";
};

// ASCII lower case of a name, the key under which names are matched.
std::string foldName(std::string_view name);

// Blanks (space, tab, CR) cut from both ends.
std::string_view trimBlanks(std::string_view text);

// A number by its leading decimal digits after an optional sign; no digits gives 0.
// Values beyond 32 bits are held at the nearest limit.
int32_t leadingNumber(std::string_view text);

} // namespace platform
