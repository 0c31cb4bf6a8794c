#include "TrayIcons.h"

#include "Artwork.h"

QIcon loadTrayIcon(TrayIcon icon) {
    QIcon result;
    for (int size : {16, 32, 48}) {
        result.addFile(artwork::trayIconPath(static_cast<int>(icon), size), QSize(size, size));
    }
    return result;
}
