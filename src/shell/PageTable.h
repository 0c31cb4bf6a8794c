#pragma once

#include "context/AppContext.h"

#include <array>
#include <optional>

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

// The controls the skin and the layout place. The numbers are the skin's target indexes and what
// the designer types into the layout editor's target field: the window's background 0, the page
// buttons 1 to 5 in the page table's order, the close button 6, the page frame 7.
enum class LayoutTarget {
    Background = 0,
    LinkInfoButton = 1,
    ConfigurationButton = 2,
    EncryptionButton = 3,
    SiteSurveyButton = 4,
    AboutButton = 5,
    CloseButton = 6,
    PageFrame = 7,
};
static_assert(static_cast<std::size_t>(LayoutTarget::AboutButton) == pageCount);

inline constexpr LayoutTarget pageButtonTarget(PageId page) {
    return static_cast<LayoutTarget>(static_cast<int>(page) + 1);
}

// The page a page button's target shows; nullopt for the other targets.
std::optional<PageId> pageOfButton(LayoutTarget target);

// A number the layout editor's field holds, 1 to 7, as a target; nullopt for any other number.
std::optional<LayoutTarget> layoutTargetFromNumber(int number);
