#pragma once

// The current user's registry: named values under keys such as
// "Software\Skyvane\Configuration Utility", each value text, binary or a 32-bit number.
//
// Storage: one text file per key under the base directory, by default
// $XDG_CONFIG_HOME/skyvane (else ~/.config/skyvane), at <base>/registry/<key path>.reg with
// the key's components as directories ("Software/Skyvane/Configuration Utility.reg").
// Files are 0600 and replaced atomically; directories are created 0700.
//
// File format (REGEDIT4 style), one value per line, in the order the values were first set:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Skyvane\Configuration Utility]
//   "cSSID"="home \"net\""
//   "cCertificateHash"=hex:41,42,00,00
//   "UICertIndex"=dword:0000001f
//
// - Text: between double quotes; inside them \\ is a backslash, \" a quote, \n and \r line
//   breaks, \xHH any other byte below 0x20 or 0x7f (two hex digits). Other bytes stand as
//   they are.
// - Binary: "hex:" and the bytes as two hex digits each, separated by commas ("hex:" alone
//   for no bytes).
// - 32-bit number: "dword:" and exactly eight hex digits.
// - Blank lines, lines starting with ";" and the "[...]" header line are ignored; the first
//   line may be "REGEDIT4". Value names are matched without regard to ASCII case.
// Any other line makes the whole file corrupt: the key then reads as missing (open() fails)
// and the next create() starts it afresh.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct RegistryValue {
    enum class Type { Text, Binary, Number };
    Type type = Type::Text;
    std::string data;    // text, or the bytes of a binary value
    uint32_t number = 0; // Number values

    bool operator==(const RegistryValue&) const = default;
};

// $XDG_CONFIG_HOME/skyvane, else $HOME/.config/skyvane.
std::string defaultConfigDirectory();

// One open key. Changes are kept in memory until commit(), which writes the key's file as
// one atomic replacement.
class RegistryKey {
public:
    // Opens an existing key; nullopt when it is missing, unreadable or corrupt, or the path
    // is not a key path (empty components, "." or "..").
    static std::optional<RegistryKey> open(const std::string& keyPath,
                                           const std::string& baseDirectory = defaultConfigDirectory());
    // Opens the key, or starts a new empty one when it is missing or corrupt. Nothing is
    // written before commit(). A key file that is present but cannot be read (larger than
    // maxFileBytes, not a regular file, no permission) gives nullopt: it is never written over.
    static std::optional<RegistryKey> create(const std::string& keyPath,
                                             const std::string& baseDirectory = defaultConfigDirectory());

    void setText(const std::string& name, const std::string& text);
    void setBinary(const std::string& name, const std::string& bytes);
    void setNumber(const std::string& name, uint32_t number);

    std::optional<RegistryValue> value(const std::string& name) const;
    const std::string& keyPath() const { return m_keyPath; }

    // Writes the key's file (directories created as needed); false when it could not.
    bool commit();

    // The file's text for a list of values (exposed for the fuzz target and the tests).
    static std::string format(const std::string& keyPath,
                              const std::vector<std::pair<std::string, RegistryValue>>& values);
    static std::optional<std::vector<std::pair<std::string, RegistryValue>>> parse(const std::string& text);

private:
    RegistryKey(std::string keyPath, std::string filePath)
        : m_keyPath(std::move(keyPath)), m_filePath(std::move(filePath)) {}
    void set(const std::string& name, RegistryValue value);
    // Reads the key's file; unreadable tells a file that is present but could not be read.
    static std::optional<RegistryKey> load(const std::string& keyPath, const std::string& baseDirectory,
                                           bool& unreadable);

    std::string m_keyPath;
    std::string m_filePath;
    std::vector<std::pair<std::string, RegistryValue>> m_values;
};

} // namespace platform
