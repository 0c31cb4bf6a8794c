#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace wlansim {

// Reads at most maxBytes of a regular file; std::nullopt when it cannot be read.
std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes);

// Replaces the file in one step: writes a temporary file in the same folder, flushes it and
// renames it over the target, so a reader sees the old content or the new, never a mix.
bool writeFileAtomically(const std::string& path, std::string_view content, mode_t mode);

} // namespace wlansim
