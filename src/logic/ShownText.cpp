#include "logic/ShownText.h"

#include "platform/ShownText.h"

namespace logic {

std::string shownText(std::string_view name) {
    return platform::shownText(name);
}

} // namespace logic
