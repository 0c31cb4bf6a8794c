#pragma once

#include "TrayIconChoice.h"

#include <QIcon>

// The icon in every size the artwork offers, for high-density trays.
QIcon loadTrayIcon(TrayIcon icon);
