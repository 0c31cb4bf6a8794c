// Feeds arbitrary bytes as the settings file to the skin and layout readers and the skin's
// bounds: nothing may crash, a skin path is at most 99 characters without backslashes, and
// every control lands inside a window that fits on the screen.
#include "platform/IniDocument.h"
#include "shell/SkinGeometry.h"
#include "storage/AppSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

bool fits(skin::Size window, skin::Size screen) {
    return screen.width <= 0 || screen.height <= 0 ||
           (window.width <= screen.width && window.height <= screen.height);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::IniDocument file(std::string(reinterpret_cast<const char*>(data), size));
    for (const char* key : {"Main", "X1", "Link_Info1", "Config2", "About3", "Sitesurvey1"}) {
        const std::string path = AppSettings::skinPathIn(file, key);
        check(path.size() <= 99 && path.find('\\') == std::string::npos);
    }
    const skin::Size screens[] = {{1920, 1040}, {640, 480}, {0, 0}};
    for (const char* section : {"LINK_INFO", "CONFIG", "ADVANCED", "SITESURVEY", "ABOUT", "X", "TAB_MAIN"}) {
        const AppSettings::LayoutRect edges = AppSettings::layoutIn(file, section);
        for (const skin::Size screen : screens) {
            // The edges double as a face's size: any int may stand there.
            const auto face = skin::windowForFace({edges.right, edges.bottom}, screen);
            check(!face || fits(*face, screen));
            const skin::Size window = face.value_or(skin::fitOnScreen({600, 402}, screen));
            check(fits(window, screen));
            const skin::Rect rect =
                skin::controlRect({edges.left, edges.top, edges.right, edges.bottom}, window);
            check(rect.x >= 0 && rect.y >= 0 && rect.width >= 0 && rect.height >= 0);
            check(int64_t{rect.x} + rect.width <= window.width &&
                  int64_t{rect.y} + rect.height <= window.height);
            const skin::Point at = skin::centredIn(window, {0, 0, screen.width, screen.height});
            check(at.x >= 0 && at.y >= 0);
        }
    }
    return 0;
}
