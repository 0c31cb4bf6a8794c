#include "storage/AppSettings.h"

#include "platform/PrivateProfile.h"

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

std::string AppSettings::skinPath(const std::string& key) const {
    return skinPathIn(platform::IniTransaction(m_fileName).document(), key);
}

std::string AppSettings::skinPathIn(const platform::IniDocument& file, const std::string& key) {
    std::string path = platform::readBoundedString(file, "Setini", key, "", kValueBuffer);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

int AppSettings::setiniNumber(const std::string& key) const {
    return platform::leadingNumber(setiniText(key));
}

bool AppSettings::checkOffered(const std::string& key) const {
    return platform::leadingNumber(platform::readProfileString(m_fileName, "Check", key, "", kValueBuffer)) ==
           1;
}

platform::WriteResult AppSettings::writeCountryDomain(int code, const std::string& isoCode) {
    platform::IniTransaction file(m_fileName);
    file.write("Setini", "CountryDomain", std::to_string(code));
    file.write("Setini", "Country", isoCode);
    return file.commit();
}

AppSettings::LayoutRect AppSettings::readLayout(const std::string& section) const {
    return layoutIn(platform::IniTransaction(m_fileName).document(), section);
}

AppSettings::LayoutRect AppSettings::layoutIn(const platform::IniDocument& file, const std::string& section) {
    const auto number = [&](const char* key) {
        return platform::leadingNumber(platform::readBoundedString(file, section, key, "", kValueBuffer));
    };
    return LayoutRect{number("left"), number("top"), number("right"), number("bottom")};
}

platform::WriteResult AppSettings::writeLayout(const std::string& section, const LayoutRect& rect) {
    return writeLayouts({{section, rect}});
}

platform::WriteResult
AppSettings::writeLayouts(const std::vector<std::pair<std::string, LayoutRect>>& layouts) {
    platform::IniTransaction file(m_fileName);
    for (const auto& [section, rect] : layouts) {
        addLayout(file, section, rect);
    }
    return file.commit();
}
