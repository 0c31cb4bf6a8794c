#pragma once

#include "model/Snapshots.h"
#include "model/StationConfig.h"

#include <QObject>
#include <QString>

#include <vector>

class AppSettings;
class CertificateStore;
class ProfileStore;
class RegistryMirror;
class TextCatalog;
class UiServices;

// The pages of the main window, in the order of their buttons.
enum class PageId { LinkInfo = 0, Configuration = 1, Encryption = 2, SiteSurvey = 3, About = 4 };

// What the pages and dialogs see of the main window: the snapshots the status tick copied last,
// the hand-over of a configuration to the next tick, the site survey, and page switching. Pages
// never reach the adapter for settings: a configuration goes to it only through handOver().
class WindowState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // --- Snapshots, as the last status tick copied them ---
    virtual const LinkStatus& linkStatus() const = 0;
    virtual const StationSettings& currentConfig() const = 0;
    virtual const AdapterInfo& adapterInfo() const = 0;
    // True while the adapter is not ready (absent, not yet up, or stuck).
    virtual bool unplugged() const = 0;
    // The regulatory domain's code as the adapter last reported it.
    virtual int channelPlanCode() const = 0;

    // --- Hand-over ---
    // The configuration handed over last (the next tick applies it, or applied it).
    virtual const StationSettings& pendingConfig() const = 0;
    // Hands a configuration to the next status tick: the pending configuration and the request to
    // apply it are set together. A reconnection in progress gives way to it.
    virtual void handOver(const StationSettings& config) = 0;

    // Shows one page of the main window, its button marked.
    virtual void showPage(PageId page) = 0;
    // Shows the Configuration page and runs its Apply: the Encryption page's Apply ends there,
    // the Configuration page completing from the pending record what the Encryption page began.
    virtual void completeApplyOnConfigurationPage() = 0;

    // The slot base for a newly saved profile, set by each load of the profile list.
    virtual int profileSlotBase() const = 0;
    virtual void setProfileSlotBase(int base) = 0;

    // --- Site survey ---
    // Starts a survey; false (nothing started) while one runs. surveyFinished() follows.
    virtual bool startSurvey() = 0;
    virtual bool surveyRunning() const = 0;
    // The networks of the last survey that ended, in the adapter's order.
    virtual const std::vector<BssEntry>& survey() const = 0;

signals:
    void surveyFinished();
};

// The application's services, made once at start-up: the files and the user interaction.
struct AppServices {
    ProfileStore& store;      // the profiles and the configuration chosen last
    AppSettings& settings;    // the settings file: country, skin, layout, band boxes
    const TextCatalog& texts; // translations of the window texts
    const RegistryMirror& mirror;
    UiServices& ui;
    CertificateStore& certificates; // the user's certificates and the authorities, for 802.1X
};

// Everything a page or dialog works with; no page names a file.
struct AppContext : AppServices {
    AppContext(const AppServices& services, WindowState& windowState)
        : AppServices(services), window(windowState) {}

    WindowState& window;

    // The catalogue's text for an English key, the key itself when it has none.
    QString text(const char* english) const;
};
