#include "Startup.h"

#include "DriverApi.h"
#include "InstanceLock.h"
#include "MainDialog.h"
#include "UiServices.h"
#include "WindowFinder.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// For bench/idle: writes the time from launch (SKYVANE_LAUNCH_NS, realtime nanoseconds) to the
// first turn of the event loop into the file SKYVANE_STARTUP_REPORT names.
void reportStartup() {
    const char* launch = std::getenv("SKYVANE_LAUNCH_NS");
    const char* report = std::getenv("SKYVANE_STARTUP_REPORT");
    if (launch == nullptr || report == nullptr) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - std::atoll(launch);
    if (FILE* file = std::fopen(report, "w")) {
        std::fprintf(file, "%.1f\n", static_cast<double>(elapsed) / 1e6);
        std::fclose(file);
    }
}

} // namespace

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skyvane"));
    QApplication::setQuitOnLastWindowClosed(false); // a tray program: hiding the window is not the end
    DesktopUiServices ui;

    // A window of that title, from any program, blocks the start; the per-user lock also
    // covers desktops where other programs' windows can't be seen.
    InstanceLock lock("skyvane");
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
    QTimer::singleShot(0, &app, reportStartup);
    QApplication::exec();
    return 0;
}
