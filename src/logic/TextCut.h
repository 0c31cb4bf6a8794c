#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace logic {

// The first maxBytes bytes of a text. The stored texts are byte strings; when the text is
// UTF-8, the cut moves back to the start of a character rather than keep half of one.
std::string cutText(std::string_view text, std::size_t maxBytes);

} // namespace logic
