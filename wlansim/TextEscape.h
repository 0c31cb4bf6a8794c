#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wlansim {

// A text in double quotes with C escapes: \" \\ \n \r \t, and \ooo (three octal digits) for
// every other byte outside printable ASCII, so that any byte sequence survives one line.
std::string quoteText(std::string_view text);

// The reverse of quoteText; std::nullopt when the text is not one quoted, well-formed string.
std::optional<std::string> unquoteText(std::string_view quoted);

} // namespace wlansim
