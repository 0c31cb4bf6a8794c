#include "shell/Startup.h"

#include "controls/DesktopUiServices.h"
#include "controls/WindowLog.h"
#include "platform/DataFolder.h"
#include "platform/InstanceLock.h"
#include "platform/OpenSslCertificateStore.h"
#include "shell/ApplicationIcon.h"
#include "shell/Backends.h"
#include "shell/CommandLine.h"
#include "shell/DiagnosticsSink.h"
#include "shell/InstanceBus.h"
#include "shell/MainDialog.h"
#include "shell/StartupReport.h"
#include "shell/TrayIcons.h"
#include "shell/WindowFinder.h"
#include "storage/AppSettings.h"
#include "storage/ProfileStore.h"
#include "storage/RegistryMirror.h"
#include "storage/TextCatalog.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDialog>
#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

// SIGTERM and SIGINT end the program as the tray's Exit does, so that the window is destroyed
// and the adapter's monitor thread joined. The handler only writes a byte into a pipe; the
// event loop reads it and quits.
class TerminationSignals {
public:
    TerminationSignals() {
        if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            return;
        }
        m_notifier = std::make_unique<QSocketNotifier>(s_pipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
            char drained[16];
            while (::read(s_pipe[0], drained, sizeof drained) > 0) {
            }
            m_requested = true;
            if (m_onRequest) {
                m_onRequest();
            }
            QApplication::exit(0);
        });
        struct sigaction action {};
        action.sa_handler = &TerminationSignals::onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, &m_previousTerm);
        ::sigaction(SIGINT, &action, &m_previousInt);
    }

    ~TerminationSignals() {
        if (!m_notifier) {
            return;
        }
        ::sigaction(SIGTERM, &m_previousTerm, nullptr);
        ::sigaction(SIGINT, &m_previousInt, nullptr);
        m_notifier.reset();
        ::close(s_pipe[0]);
        ::close(s_pipe[1]);
        s_pipe[0] = s_pipe[1] = -1;
    }

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // What else to do when a signal arrives (close the window's dialogs).
    void setOnRequest(std::function<void()> action) { m_onRequest = std::move(action); }
    // True once a signal was seen: a quit that came before the main loop started still counts.
    bool requested() const { return m_requested; }

private:
    static void onSignal(int) {
        const int savedErrno = errno;
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
        errno = savedErrno;
    }

    static inline int s_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onRequest;
    bool m_requested = false;
    struct sigaction m_previousTerm {};
    struct sigaction m_previousInt {};
};

} // namespace

int runApplication(int argc, char** argv) {
    // ---- Command line and working folder -------------------------------------------------------
    // Before the application object: --help, --version and a folder that can't be used need no
    // display. From here on every file name is relative to the working folder.
    const CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.outcome == CommandLine::Outcome::Exit) {
        printCommandLineOutcome(commandLine);
        return commandLine.exitStatus;
    }
    CommandLineOptions commandLineOptions = commandLine.options;
    if (!commandLineOptions.controlDirectory.empty()) {
        // A folder named relative to where the program was started, not to its working folder.
        std::error_code ignored;
        commandLineOptions.controlDirectory =
            std::filesystem::absolute(commandLineOptions.controlDirectory, ignored)
                .lexically_normal()
                .string();
    }
    const platform::WorkingFolder folder = platform::enterWorkingFolder(
        commandLineOptions.folder, platform::currentFolderEnvironment(),
        platform::findDeliveredFiles(platform::runningExecutable(), SKYVANE_DATA_FROM_EXECUTABLE));
    if (!folder.ok) {
        std::fprintf(stderr, "skyvane: %s\n", folder.message.c_str());
        return kExitFolderUnusable;
    }
    // ---- (commandLineOptions goes on to the backend's construction) ----------------------------

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skyvane"));
    // What ties the window to its menu entry: the entry's name (Wayland's app id, and the name
    // docks and task bars look for), and on X11 the window's class, the application's name, which
    // the entry names as StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.skyvane.Skyvane"));
    QApplication::setQuitOnLastWindowClosed(false); // a tray program: hiding the window is not the end
    // The installed icon; run from a build folder, the tray's full-signal picture stands in for it.
    // The notification area's own window and the menus don't carry it: only the main window and
    // the dialogs do, and the program in the tray may never show one.
    setApplicationIconOnFirstWindow(
        [] { return QIcon::fromTheme(QStringLiteral("skyvane"), loadTrayIcon(TrayIcon::Bars4)); },
        [](const QWidget* window) {
            return qobject_cast<const MainDialog*>(window) != nullptr ||
                   qobject_cast<const QDialog*>(window) != nullptr;
        });
    DesktopUiServices ui;

    // A running instance on the session bus is asked to show its window, and this start ends.
    // Without a bus: a window of that title, from any program, blocks the start; the per-user
    // lock also covers desktops where other programs' windows can't be seen (Wayland).
    platform::InstanceLock lock;
    // A lock file that cannot be made proves nothing and never blocks the start.
    const bool lockedElsewhere = lock.acquire() == platform::InstanceLock::State::HeldElsewhere;
    const instancebus::Answer asked = instancebus::activateRunningInstance(QDBusConnection::sessionBus());
    if (asked == instancebus::Answer::Activated) {
        return 0;
    }
    if (asked == instancebus::Answer::Failed || lockedElsewhere ||
        topLevelWindowWithTitleExists(QString::fromLatin1(MainDialog::title))) {
        ui.beep();
        return 0;
    }

    // The files and the user interaction, made once; everything below works through them.
    ProfileStore store;
    AppSettings settings;
    const TextCatalog texts;
    const RegistryMirror mirror;
    OpenSslCertificateStore certificates;
    const AppServices services{store, settings, texts, mirror, ui, certificates};

    const BackendChoice choice = chooseBackend(commandLineOptions, settings);
    for (const std::string& note : choice.notes) {
        qCWarning(shellLog).noquote() << QString::fromStdString(note);
    }
    BackendServices backendServices;
    backendServices.certificates = &certificates;
    backendServices.workingFolder = folder.path;
    backendServices.country = [&settings] { return chosenCountry(settings); };
    std::string backendError;
    std::shared_ptr<AdapterBackend> backend = makeBackend(choice, backendServices, backendError);
    if (!backend) {
        qCWarning(shellLog).noquote() << QString::fromStdString(backendError) << "- using the default";
        backend = makeBackend(BackendChoice{}, backendServices, backendError);
    }
    qCInfo(shellLog).noquote() << "adapter backend:" << QString::fromStdString(backend->name());
    int status = 0;
    {
        // Declared before the window, so it outlives the window's shutdown.
        TerminationSignals termination;
        MainDialog window(std::move(backend), services, MainDialog::Options{});
        installDiagnosticsSink(&window, ui);
        termination.setOnRequest([&window] { window.onTrayMenuExit(); });
        window.OnInitDialog();
        // From now on a second start shows this window instead of starting.
        instancebus::ActivationService activation;
        QObject::connect(&activation, &instancebus::ActivationService::activateRequested, &window,
                         &MainDialog::onTrayDoubleClick);
        if (!activation.claim(QDBusConnection::sessionBus())) {
            qCInfo(shellLog) << "no name on the session bus: a second start finds the window by its title";
        }
        if (!termination.requested() && !window.exitRequested()) {
            if (!window.tray().available()) {
                // Without a notification area nobody could ever open the window: open it now.
                window.onTrayDoubleClick();
            }
            QTimer::singleShot(0, &app, reportStartupTime);
            status = QApplication::exec();
        }
        removeDiagnosticsSink();
    }
    if (WirelessAdapter::threadsLeftRunning()) {
        // A thread is still inside the adapter (a survey, a driver that hangs): end here, without
        // running static destructors under it.
        std::fflush(nullptr);
        std::quick_exit(status);
    }
    return status;
}
