#include "Startup.h"

#include "DriverApi.h"
#include "InstanceLock.h"
#include "MainDialog.h"
#include "StartupReport.h"
#include "DesktopUiServices.h"
#include "WindowFinder.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skyvane"));
    QApplication::setQuitOnLastWindowClosed(false); // a tray program: hiding the window is not the end
    DesktopUiServices ui;

    // A window of that title, from any program, blocks the start; the per-user lock also
    // covers desktops where other programs' windows can't be seen.
    platform::InstanceLock lock;
    if (topLevelWindowWithTitleExists(QString::fromLatin1(MainDialog::title)) || !lock.tryAcquire()) {
        ui.beep();
        return 0;
    }

    LibraryDriver driver;
    MainDialog::Options options;
    options.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    MainDialog window(driver, ui, options);
    window.OnInitDialog();
    if (!options.trayAvailable) {
        // Without a notification area nobody could ever open the window: open it once now.
        window.onTrayDoubleClick();
    }
    QTimer::singleShot(0, &app, reportStartupTime);
    QApplication::exec();
    return 0;
}
