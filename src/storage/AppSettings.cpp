#include "AppSettings.h"

#include "PrivateProfile.h"

namespace {

constexpr std::size_t kValueBuffer = 100;

void addLayout(platform::IniTransaction& file, const std::string& section,
               const AppSettings::LayoutRect& rect) {
    file.write(section, "top", std::to_string(rect.top));
    file.write(section, "bottom", std::to_string(rect.bottom));
    file.write(section, "right", std::to_string(rect.right));
    file.write(section, "left", std::to_string(rect.left));
}

} // namespace

AppSettings::AppSettings(std::string fileName) : m_fileName(std::move(fileName)) {}

std::string AppSettings::setiniText(const std::string& key) const {
    return platform::readProfileString(m_fileName, "Setini", key, "", kValueBuffer);
}

int AppSettings::setiniNumber(const std::string& key) const {
    return platform::leadingNumber(setiniText(key));
}

bool AppSettings::checkOffered(const std::string& key) const {
    return platform::leadingNumber(platform::readProfileString(m_fileName, "Check", key, "", kValueBuffer)) ==
           1;
}

bool AppSettings::writeCountryDomain(int code) {
    return platform::writeProfileString(m_fileName, "Setini", "CountryDomain", std::to_string(code));
}

AppSettings::LayoutRect AppSettings::readLayout(const std::string& section) const {
    const platform::IniTransaction file(m_fileName);
    const auto number = [&](const char* key) {
        return platform::leadingNumber(file.readString(section, key, "", kValueBuffer));
    };
    return LayoutRect{number("left"), number("top"), number("right"), number("bottom")};
}

bool AppSettings::writeLayout(const std::string& section, const LayoutRect& rect) {
    return writeLayouts({{section, rect}});
}

bool AppSettings::writeLayouts(const std::vector<std::pair<std::string, LayoutRect>>& layouts) {
    platform::IniTransaction file(m_fileName);
    for (const auto& [section, rect] : layouts) {
        addLayout(file, section, rect);
    }
    return file.commit();
}
