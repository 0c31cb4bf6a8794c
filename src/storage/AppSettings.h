#pragma once

#include "platform/FileSystem.h"

#include <string>

namespace platform {
class IniDocument;
}
#include <utility>
#include <vector>

// The application's own settings file (".\a.cba"): country, skin bitmaps, which wireless-mode
// boxes exist, the version text, and the main window's layout. Every read looks at the file,
// so an edit shows at the next read; missing file, section or key give "" or 0.
class AppSettings {
public:
    explicit AppSettings(std::string fileName = ".\\a.cba");

    // Key of section Setini, read into a 100-byte buffer: at most 99 characters.
    std::string setiniText(const std::string& key) const;
    // The file path of the skin picture named by key of section Setini: the value as
    // setiniText reads it, backslashes as separators; "" when there is none.
    std::string skinPath(const std::string& key) const;
    // Key of section Setini as a decimal number by its leading digits; missing or not a number: 0.
    int setiniNumber(const std::string& key) const;
    // Key of section Check equal to 1: that mode's check box is offered.
    bool checkOffered(const std::string& key) const;

    // CountryDomain until the user has chosen a country: the first start asks for one.
    static constexpr int countryPending = 99;

    // The country chosen: its channel-plan code (key CountryDomain) and its ISO code (key
    // Country; empty for a region or a standard), in one replacement of the file. False when
    // the file could not be written, with why.
    platform::WriteResult writeCountryDomain(int code, const std::string& isoCode);

    struct LayoutRect {
        int left, top, right, bottom;
        bool operator==(const LayoutRect&) const = default;
    };
    LayoutRect readLayout(const std::string& section) const;
    // Writes top, bottom, right, left, in that order.
    platform::WriteResult writeLayout(const std::string& section, const LayoutRect& rect);
    // All sections in one replacement of the file, each written as writeLayout does.
    platform::WriteResult writeLayouts(const std::vector<std::pair<std::string, LayoutRect>>& layouts);

    const std::string& fileName() const { return m_fileName; }

    // The reading rules above over a file's text held in memory (shared with the fuzz target).
    static std::string skinPathIn(const platform::IniDocument& file, const std::string& key);
    static LayoutRect layoutIn(const platform::IniDocument& file, const std::string& section);

private:
    std::string m_fileName;
};
