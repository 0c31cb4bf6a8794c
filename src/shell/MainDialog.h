#pragma once

#include "adapter/WirelessAdapter.h"
#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/SkinPicture.h"
#include "shell/PageTable.h"
#include "shell/TrayController.h"

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

class AdapterBackend;
class LayoutEditor;
class Page;
class ShellState;
class SkinButton;

// The program's only top-level window: a captionless skinned face with the page buttons down its
// left side and a frame that shows one page at a time. It lays the window out (skin and layout),
// switches pages, and carries out what the status tick decides for the window and the tray; the
// tick's decisions are the link supervisor's, the data the window state's, the tray the tray
// controller's. It stays hidden until the tray (or, without a notification area, the start) shows it.
class MainDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* title = applicationTitle;

    struct Options {
        WirelessAdapter::Monitor monitor = WirelessAdapter::Monitor::Start;
        bool startTimers = true; // tests drive the ticks themselves
        TrayController::Presence tray = TrayController::Presence::Detect;
    };

    MainDialog(std::shared_ptr<AdapterBackend> backend, const AppServices& services, Options options);
    ~MainDialog() override;

    // Builds the pages, the tray icon, skin and layout, asks for the country at first start and
    // starts the status tick.
    void OnInitDialog();

    // Hides every page and shows this one, its button marked.
    void ShowPage(PageId page);
    // Hides every page, every page button in its normal pictures.
    void hidePages();
    // Shows the Configuration page and runs its Apply there (WindowState).
    void completeApplyOnConfigurationPage();
    void onStatusTimer(); // one status tick
    void onTrayDoubleClick();
    void onTrayMenuExit();
    // True once Exit (or a termination signal) asked the program to end, also before the main
    // loop runs (the country question at first start).
    bool exitRequested() const { return m_exitRequested; }

    AppContext& context() { return *m_context; }
    ShellState& state() { return *m_state; }
    WirelessAdapter& adapter() { return m_adapter; }
    TrayController& tray() { return *m_tray; }
    // A page is made when it is first shown or asked for: the program in the tray, or on Link
    // Info, never pays for pages nobody opens.
    Page* page(PageId id);
    SkinButton* pageButton(PageId id) const { return m_pageButtons[static_cast<std::size_t>(id)]; }
    int32_t windowShown() const { return m_windowShown; }

    // Skin and layout.
    // The picture a skin key of the settings file names (backslashes taken as separators); a null
    // image when the key is missing or names nothing loadable.
    QImage loadSkinImage(const std::string& key) const;
    // The same picture with its large rendition, while the window is on a dense screen: the
    // skin's own, beside the file ("skin/Main@2x.bmp"), or the built-in one while the picture is
    // still the delivered one.
    SkinPicture loadSkinPicture(const std::string& key) const;
    // The picture the program was delivered with for a skin key, with its large rendition
    // when asked for it.
    static SkinPicture deliveredPicture(const std::string& key, bool withTwice);
    void ApplySkinImage(LayoutTarget target, const char* key);
    void ApplySkinPair(LayoutTarget target, const char* hoverKey, const char* normalKey);
    void LoadLayout();
    void SaveLayout();
    // The control a target names; null for the background, which is the window's own face.
    QWidget* layoutTarget(LayoutTarget target) const;

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
    void askCountryAtFirstStart();
    void resetPageButtons();
    void showOrExit();
    void onTrayAvailabilityChanged(bool available);
    void applyBackground(const SkinPicture& face);
    void hideWindow();
    void closeOwnedDialogs();
    QString trayTip() const;
    SkinButton* skinTarget(LayoutTarget target) const;
    bool wantsLargeRenditions() const; // the window is on a screen of device pixel ratio above 1

    AppServices m_services;
    Options m_options;
    WirelessAdapter m_adapter;           // its monitor thread starts with the window, before anything shows
    std::unique_ptr<ShellState> m_state; // goes before the adapter it listens to
    std::unique_ptr<AppContext> m_context;

    std::array<Page*, pageCount> m_pages{};
    std::array<SkinButton*, pageCount> m_pageButtons{};
    QWidget* m_pageFrame = nullptr;
    SkinButton* m_closeButton = nullptr;
    LayoutEditor* m_layoutEditor = nullptr;
    TrayController* m_tray = nullptr;
    SkinPicture m_background;
    QTimer m_statusTimer;
    int32_t m_windowShown = 0;
    bool m_exitRequested = false;
    QPoint m_dragOffset;
    bool m_manualDrag = false;
};
