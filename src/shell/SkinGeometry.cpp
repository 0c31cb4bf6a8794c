#include "shell/SkinGeometry.h"

#include <algorithm>
#include <cstdint>

namespace skin {
namespace {

bool bounds(Size available) {
    return available.width > 0 && available.height > 0;
}

int clampWide(int64_t value, int64_t low, int64_t high) {
    return static_cast<int>(std::clamp(value, low, std::max(low, high)));
}

} // namespace

std::optional<Size> windowForFace(Size face, Size available) {
    if (face.width <= 0 || face.height <= 0) {
        return std::nullopt;
    }
    const int64_t height = int64_t{face.height} + kFaceBorder;
    if (bounds(available) && (face.width > available.width || height > available.height)) {
        return std::nullopt;
    }
    if (height > INT32_MAX) {
        return std::nullopt;
    }
    return Size{face.width, static_cast<int>(height)};
}

Size fitOnScreen(Size window, Size available) {
    Size fitted{std::max(window.width, 0), std::max(window.height, 0)};
    if (bounds(available)) {
        fitted.width = std::min(fitted.width, available.width);
        fitted.height = std::min(fitted.height, available.height);
    }
    return fitted;
}

Point centredIn(Size window, Rect available) {
    const auto axis = [](int start, int length, int size) {
        const int64_t centred = int64_t{start} + (int64_t{length} - size) / 2;
        return clampWide(centred, start, int64_t{start} + length - size);
    };
    return {axis(available.x, available.width, window.width),
            axis(available.y, available.height, window.height)};
}

Rect controlRect(Edges edges, Size window) {
    const int width = std::max(window.width, 0);
    const int height = std::max(window.height, 0);
    const int left = clampWide(edges.left, 0, width);
    const int top = clampWide(edges.top, 0, height);
    const int right = clampWide(edges.right, left, width);
    const int bottom = clampWide(edges.bottom, top, height);
    return {left, top, right - left, bottom - top};
}

} // namespace skin
