#pragma once
// Tray icons, list icons, check-box icons and the labelled push-button bitmaps.

#include <QImage>
#include <QString>

namespace art {

// Tray icon by its resource number (167, 168, 169, 170, 175, 188, 189); size 16, 22, 24, 32, 48
// or 64 (any multiple of 16).
QImage makeTrayIcon(int resourceId, int size);

// The application's icon for menus and launchers, in the tray icons' style: full signal. Any
// multiple of 16 pixels (a multiple of 32 gets the bars centred); and the same as an SVG drawing.
QImage makeAppIcon(int size);
QString makeAppIconSvg();

// Site Survey list icon by resource number (177, 179, 181, 182, 183, 184); 16 x 16, or its
// large rendition at scale 2.
QImage makeListIcon(int resourceId, int scale = 1);

// Check-box icon 192 (checked) or 193 (unchecked); 16 x 16, or its large rendition at scale 2.
QImage makeCheckIcon(bool checked, int scale = 1);

struct ActionButtonSpec {
    int resourceId;
    const char* name; // file stem and label
    bool primary;     // filled in the brand blue
    int arrow;        // 0 none, 1 up, -1 down
    int width;
};

extern const ActionButtonSpec kActionButtons[10];
inline constexpr int kActionButtonHeight = 24;

// The button with its label, or (withLabel false) its blank face: the program draws the word of
// the user's language over it at run time, in the same typeface, colour and place.
QImage makeActionButton(const ActionButtonSpec& spec, int scale = 1, bool withLabel = true);

} // namespace art
