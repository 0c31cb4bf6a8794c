#pragma once

#include <optional>

// Where the skin may put the window and its controls. The skin's pictures and the layout's
// rectangles come from a file anyone can edit: a picture of 4000 x 4000 pixels or a "right" of
// 2147483647 must still give a window on the screen with its controls inside it. Plain
// arithmetic without Qt, so the rules are tested as tables and fuzzed with the file's reader.
namespace skin {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// A control's edges as the layout sections store them.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The window's height is the face's plus this: the thin border below the face.
inline constexpr int kFaceBorder = 2;

// The window size a background face gives: the face's width, its height plus kFaceBorder.
// nullopt when the face is empty or that window does not fit in the available screen area:
// the caller then shows the built-in face instead. An empty available area (no screen known)
// bounds nothing.
std::optional<Size> windowForFace(Size face, Size available);

// A window size cut to the available screen area (for the built-in face on a small screen).
Size fitOnScreen(Size window, Size available);

// The top-left corner that centres the window in the available area; a window larger than the
// area keeps its top-left corner on it.
Point centredIn(Size window, Rect available);

// A control's rectangle from its layout edges, inside a window of the given size: left and top
// held within the window, right and bottom between them and the window's far edges. Edges in
// the wrong order give an empty rectangle at the near one. Computed wide: never overflows.
Rect controlRect(Edges edges, Size window);

} // namespace skin
