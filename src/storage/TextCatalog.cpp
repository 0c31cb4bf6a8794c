#include "storage/TextCatalog.h"

#include "platform/PrivateProfile.h"

TextCatalog::TextCatalog(std::string fileName, std::string section)
    : m_fileName(std::move(fileName)), m_section(std::move(section)) {}

std::string TextCatalog::Text(const std::string& key, const std::string& defaultText) const {
    return platform::readProfileString(m_fileName, m_section, key, defaultText, 512);
}
