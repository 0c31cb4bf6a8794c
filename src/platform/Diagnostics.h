#pragma once

#include <functional>
#include <string>
#include <string_view>

// The core's diagnostics: one line per event, with the layer it comes from ("skyvane.storage")
// and a level. By default lines go to standard error; the windows install a sink that passes
// them on to their logging categories. Nothing the core notices is dropped silently: a write
// that fails is reported with the file and the reason. Control characters in a message reach the
// sink as visible escapes (platform::escapedControls), so every message is one line.
namespace diag {

enum class Level {
    Debug,
    Info,
    Warning, // something did not work; the program goes on
    Notice,  // as Warning, and the user should hear of it (once): a file of theirs is refused
};

using Sink = std::function<void(Level level, std::string_view category, std::string_view message)>;

// Replaces the sink (an empty one restores standard error); safe from any thread.
void setSink(Sink sink);

void report(Level level, std::string_view category, std::string_view message);

inline void debug(std::string_view category, std::string_view message) {
    report(Level::Debug, category, message);
}
inline void info(std::string_view category, std::string_view message) {
    report(Level::Info, category, message);
}
inline void warning(std::string_view category, std::string_view message) {
    report(Level::Warning, category, message);
}
inline void notice(std::string_view category, std::string_view message) {
    report(Level::Notice, category, message);
}

// The reason of an errno value, as a short text ("Permission denied").
std::string reason(int errorNumber);

// Categories of the core layers.
inline constexpr std::string_view platformCategory = "skyvane.platform";
inline constexpr std::string_view storageCategory = "skyvane.storage";
inline constexpr std::string_view adapterCategory = "skyvane.adapter";
inline constexpr std::string_view logicCategory = "skyvane.logic";

} // namespace diag
