#pragma once

#include "shell/TrayIconChoice.h"

#include <QObject>
#include <QString>

#include <optional>

class QMenu;
class QSystemTrayIcon;
class QWidget;
class StatusNotifierItem;

// The program's icon in the notification area, with its menu ("Exit", "Start").
//
// The icon is made whether or not the desktop has a notification area at start; when one appears
// later (a panel that starts after the program), the icon shows in it and the tray takes over as
// the way into the window. A double-click opens the window; on a status-notifier tray (KDE, LXQt,
// GNOME with the AppIndicator extension), which reports a left click but never a double-click, a
// left click does.
//
// Two kinds of notification area: an XEmbed tray (the system tray of X11 panels) takes the icon
// through QSystemTrayIcon; a status-notifier panel takes it as the program's own status-notifier
// item on the session bus, which registers with every watcher that appears, also one that starts
// after the program or restarts. (Qt's own status-notifier icon is decided once, when the first
// tray icon is made, and never comes to a panel that starts later.) While a watcher takes the
// item, the QSystemTrayIcon stays hidden, so that no panel shows the icon twice.
class TrayController : public QObject {
    Q_OBJECT
public:
    enum class Presence {
        Detect, // ask the desktop, now and at every refresh
        Absent, // tests: no notification area
        Present // tests: a notification area, whatever the desktop says
    };

    TrayController(QWidget* owner, Presence presence);
    ~TrayController() override;

    // True when a notification area can show the icon (and so bring the window back).
    bool available() const { return m_available; }
    // Asks the desktop again; emits availabilityChanged when the answer changed.
    void refreshAvailability();

    // Shows the icon with its tip; hands the tray only what changed (an icon set anew every second
    // leaks in some trays). Tips are cut to 127 characters, as trays have always taken them.
    void setIcon(std::optional<TrayIcon> icon, const QString& tip);

    std::optional<TrayIcon> icon() const { return m_icon; }
    QString tip() const { return m_tip; }
    int handovers() const { return m_handovers; } // how often the tray was given an icon or tip
    QMenu* menu() const { return m_menu; }

    // The tray's activations, as the icon reports them.
    void onDoubleClick();
    void onLeftClick();

signals:
    void openRequested(); // double-click, left click on a status-notifier tray, or "Start"
    void exitRequested(); // "Exit"
    void availabilityChanged(bool available);

private:
    bool statusNotifierTray() const;
    // The status-notifier item (Detect only, with a session bus).
    void createStatusNotifierItem();
    void onStatusNotifierChanged();
    bool iconOnStatusNotifier() const;
    void showTrayIcon();

    Presence m_presence;
    bool m_available = false;
    QSystemTrayIcon* m_tray;
    QMenu* m_menu;
    std::optional<TrayIcon> m_icon;
    QString m_tip;
    std::optional<TrayIcon> m_handedIcon;
    QString m_handedTip;
    bool m_handedAny = false;
    int m_handovers = 0;
    mutable std::optional<bool> m_statusNotifier; // asked once, when the first left click comes
    StatusNotifierItem* m_notifierItem = nullptr;
};
