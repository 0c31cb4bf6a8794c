#pragma once

#include "context/AppContext.h"

#include <array>

class Page;
class QWidget;

// One row per page of the main window: its button, the skin keys of the button's three looks
// (hovered or pressed, normal, selected), the layout section that places the button, and how the
// page is made. The order is the buttons' order down the window, which is also the order of the
// layout sections in the settings file and the layout editor's targets 1 to 5.
struct PageDescriptor {
    PageId id;
    const char* buttonName; // object name of the page button
    const char* word;       // what the button's picture says: its accessible name
    const char* hoverKey;   // skin keys of section Setini
    const char* normalKey;
    const char* selectedKey;
    const char* layoutSection; // section of the button's rectangle
    // timers: false where tests drive the page's periodic work themselves.
    Page* (*create)(AppContext& context, QWidget* frame, bool timers);
};

inline constexpr std::size_t pageCount = 5;

const std::array<PageDescriptor, pageCount>& pageTable();
const PageDescriptor& pageDescriptor(PageId id);
