#pragma once

#include <string>

// Translatable texts: each is looked up by its English wording in section DATA of
// ".\define.ini". The file is read on every lookup, so an edit shows the next time a page
// sets its texts.
class TextCatalog {
public:
    explicit TextCatalog(std::string fileName = ".\\define.ini", std::string section = "DATA");

    // The value of key (at most 511 characters, a 512-byte buffer); defaultText when the file,
    // the section or the key is missing. A key present with an empty value gives "".
    std::string Text(const std::string& key, const std::string& defaultText) const;

private:
    std::string m_fileName;
    std::string m_section;
};
