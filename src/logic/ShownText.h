#pragma once

#include <string>
#include <string_view>

namespace logic {

// A name from outside (an SSID, a certificate's or a file's name) as a screen shows it: control
// characters, direction overrides and bytes that are not UTF-8 as visible escapes ("\n",
// "\u202E", "\xE9"), and a name with right-to-left letters isolated (FSI ... PDI) so that the
// text beside it keeps its order. The certificate store and the diagnostics use the same rule.
std::string shownText(std::string_view name);

} // namespace logic
