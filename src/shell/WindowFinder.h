#pragma once

#include <QString>

// Whether a top-level window, mapped or not, carries exactly this title. Looks on X11, where
// every program's windows can be seen; elsewhere (Wayland, offscreen) it finds nothing.
bool topLevelWindowWithTitleExists(const QString& title);
