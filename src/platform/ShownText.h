#pragma once

#include <string>
#include <string_view>

// Names that come from outside (SSIDs, certificate names, file names) as a screen or the log
// may show them: a name can't break a line, hide characters or turn the text around it.
namespace platform {

// The text with each control character (C0, DEL, C1), each bidirectional embedding, override and
// isolate (U+202A..U+202E, U+2066..U+2069), the line and paragraph separators and each byte that
// is not UTF-8 replaced by a visible escape: "\n", "\t", "\r", "\x1B", "\u202E". Everything
// else, backslashes included, stays as it is.
std::string escapedControls(std::string_view text);

// escapedControls, and a name that holds right-to-left letters is isolated (FSI ... PDI), so
// its direction ends where it does and the text beside it reads as it would without it.
std::string shownText(std::string_view name);

} // namespace platform
