#pragma once

#include "MainWindowHost.h"
#include "ProfileStore.h"
#include "TrayIcons.h"
#include "WirelessAdapter.h"

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

// The bitmap a skin key of the settings file names (backslashes taken as separators); a null
// image when the key is missing or names nothing loadable.
QImage loadSkinImage(const std::string& key);

class AboutPage;
class ConfigPage;
class CountryDialog;
class EncryptionPage;
class LayoutEditor;
class LinkInfoPage;
class QMenu;
class SiteSurveyPage;
class SkinButton;

// The program's only top-level window: a captionless skinned face with five page buttons down
// its left side and a frame that shows one page at a time. It owns the adapter object, the
// snapshots that the once-a-second status tick refreshes, and the pending configuration through
// which every page hands settings to that tick. It stays hidden until the tray shows it.
class MainDialog : public QWidget, public MainWindowHost {
    Q_OBJECT
public:
    static constexpr const char* title = "Skyvane Configuration Utility";

    struct Options {
        WirelessAdapter::Monitor monitor = WirelessAdapter::Monitor::Start;
        bool startTimers = true;   // tests drive the ticks themselves
        bool trayAvailable = true; // false: the desktop has no notification area
    };

    MainDialog(DriverApi& driver, UiServices& ui, Options options);
    ~MainDialog() override;

    // Builds the pages, the tray icon, skin and layout, asks for the country at first start and
    // starts the status tick.
    void OnInitDialog();

    void ShowPage(int page) override;
    void onStatusTimer(); // timer 99
    void StatusTick();
    bool SetTrayIcon(std::optional<TrayIcon> icon, const QString& tip);
    void onTrayDoubleClick();
    void onTrayMenuExit();  // command 2024
    void onTrayMenuStart(); // command 3000

    // MainWindowHost
    const LinkStatus& linkStatus() const override { return m_linkStatus; }
    const StationSettings& currentConfig() const override { return m_currentConfig; }
    const AdapterInfo& adapterInfo() const override { return m_adapterInfo; }
    int32_t unplugged() const override { return m_unplugged; }
    void setUnplugged(int32_t value) override { m_unplugged = value; }
    StationSettings& pendingConfig() override { return m_pendingConfig; }
    int32_t applyPending() const override { return m_applyPending; }
    void setApplyPending(int32_t value) override;
    int32_t& profileSlotBase() override { return m_profileSlotBase; }
    int32_t& surveyCount() override { return m_surveyCount; }
    std::array<BssEntry, maxSurveyEntries>& surveyEntries() override { return m_surveyEntries; }
    void SetTrayTip(const QString& tip) override { SetTrayIcon(m_trayIcon, tip); }
    WirelessAdapter& adapter() override { return m_adapter; }
    UiServices& ui() override { return m_ui; }

    // State the tray and the tick keep, for the window's own use and for tests.
    int32_t windowShown() const { return m_windowShown; }
    std::optional<TrayIcon> trayIcon() const { return m_trayIcon; }
    QString trayTip() const { return m_trayTip; }
    int32_t trayIconAdded() const { return m_trayIconAdded; }
    int32_t reconnectCountdown() const { return m_reconnectCountdown; }
    int trayHandovers() const { return m_trayHandovers; }
    QMenu* trayMenu() const { return m_trayMenu; }
    ProfileStore& profileStore() { return m_store; }

    // Skin and layout.
    void ApplySkinImage(int target, const char* key);
    void ApplySkinPair(int target, const char* hoverKey, const char* normalKey);
    void LoadLayout();
    void SaveLayout();
    QWidget* layoutTarget(int target) const; // 1..5 page buttons, 6 close button, 7 page frame

    bool setVisibleAllowed() const { return m_windowShown != 0; }

protected:
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void createTray();
    void createPages();
    void askCountryAtFirstStart();
    void resetPageButtons();
    void runConnectionProcedure();
    void applyBackground(const QPixmap& face);
    void hideWindow();
    void closeOwnedDialogs();
    SkinButton* skinTarget(int target) const;

    UiServices& m_ui;
    Options m_options;
    ProfileStore m_store;

    // Members in the order the window has always built them.
    LinkInfoPage* m_linkInfoPage = nullptr;
    ConfigPage* m_configPage = nullptr;
    SiteSurveyPage* m_siteSurveyPage = nullptr;
    AboutPage* m_aboutPage = nullptr;
    EncryptionPage* m_encryptionPage = nullptr;
    std::unique_ptr<CountryDialog> m_countryDialog;
    LinkStatus m_linkStatus{};
    StationSettings m_currentConfig{};
    StationSettings m_pendingConfig{};
    WirelessAdapter m_adapter;
    AdapterInfo m_adapterInfo{};
    int32_t m_applyPending = 0;
    bool m_havePendingConfig = false;
    int32_t m_unplugged = 0;
    std::optional<TrayIcon> m_trayIcon;
    QString m_trayTip;
    std::optional<TrayIcon> m_handedIcon; // what the tray was last given
    QString m_handedTip;
    int32_t m_trayIconAdded = 0;
    int32_t m_wasUnplugged = 0;
    int32_t m_reconnectCountdown = 0;
    int32_t m_windowShown = 0;
    bool m_hiddenByTick = false;
    int32_t m_profileSlotBase = 0;
    int32_t m_surveyCount = 0;
    std::array<BssEntry, maxSurveyEntries> m_surveyEntries{};

    QWidget* m_pageFrame = nullptr;
    std::array<SkinButton*, 5> m_pageButtons{};
    SkinButton* m_closeButton = nullptr;
    LayoutEditor* m_layoutEditor = nullptr;
    QPixmap m_background;
    QTimer m_statusTimer;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    int m_trayHandovers = 0;
    QPoint m_dragOffset;
    bool m_manualDrag = false;
};
