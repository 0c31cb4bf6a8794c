#pragma once

#include "shell/TrayIconChoice.h"

#include <QIcon>

// The icon in every size the artwork offers (16, 22, 24, 32, 48 and 64 pixels: the sizes of
// XEmbed trays and status-notifier panels), for any tray. The icons are pixel art: a tray that
// asks for another size (20, 40, 96 pixels...) gets the largest whole multiple of a drawn size
// that fits, enlarged by whole pixels and centred, never a smoothed and so blurred one. Only a
// slot smaller than 16 pixels gets the smallest icon shrunk.
QIcon loadTrayIcon(TrayIcon icon);

// Which drawn size, enlarged how many times, fills a square slot of this many device pixels:
// the largest that fits, the larger drawn size where two give the same. factor 0: the slot is
// smaller than every drawn size, and the smallest one is shrunk to fit.
struct WholePixelFit {
    int source = 0;
    int factor = 0;
    bool operator==(const WholePixelFit&) const = default;
};
WholePixelFit wholePixelFit(int slot);
