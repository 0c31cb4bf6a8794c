#pragma once

#include "model/StationConfig.h"

#include <string>

// A copy of the configuration set by hand, kept in the current user's registry. The
// Configuration and Encryption pages start their Apply from it, so each keeps the fields the
// other page set last.

inline constexpr const char* registryKeyPath = "Software\\Skyvane\\Configuration Utility";

// Writes every mirrored field; 1 on success, 0 when the key can neither be opened nor
// created, or its file cannot be written.
int StoreMirror(const std::string& keyPath, const StationConfig& record);

// Reads the mirrored fields into record with their defaults and code tables; 1 when the key
// exists, 0 otherwise (also for an unreadable or corrupt key), and then record is untouched.
// Fields the mirror does not keep are left as they are.
int LoadMirror(const std::string& keyPath, StationConfig& record);

// The same against a registry kept under another base directory (tests).
int StoreMirror(const std::string& keyPath, const StationConfig& record,
                const std::string& registryDirectory);
int LoadMirror(const std::string& keyPath, StationConfig& record, const std::string& registryDirectory);

// The mirror as the pages reach it: one key of one registry, chosen once by the application.
class RegistryMirror {
public:
    explicit RegistryMirror(std::string keyPath = registryKeyPath, std::string registryDirectory = {});

    // As StoreMirror and LoadMirror, on this mirror's key.
    int store(const StationConfig& record) const;
    int load(StationConfig& record) const;

private:
    std::string m_keyPath;
    std::string m_directory; // empty: the user's registry
};
