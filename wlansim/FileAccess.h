#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace wlansim {

// Reads a whole regular file of at most maxBytes; std::nullopt when it cannot be read, is not a
// regular file (never waiting on a named pipe) or is larger. problem, when given, gets the
// reason ("not a regular file", "larger than 1048576 bytes", "No such file or directory").
std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes,
                                    std::string* problem = nullptr);

// The largest world file the library and the tool read; a larger one is not read at all.
inline constexpr std::size_t maxWorldBytes = std::size_t{1} << 20;
// The largest saved-settings file (<world>.state) the library reads.
inline constexpr std::size_t maxStateBytes = std::size_t{64} << 10;

// Replaces the file in one step: writes a temporary file in the same folder, flushes it and
// renames it over the target, so a reader sees the old content or the new, never a mix.
bool writeFileAtomically(const std::string& path, std::string_view content, mode_t mode);

} // namespace wlansim
