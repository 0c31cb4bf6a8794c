#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

class DBusMenuExporter;
class QDBusServiceWatcher;
class QMenu;

// The picture types of org.kde.StatusNotifierItem: ARGB32 pixels in network byte order.
struct StatusNotifierPixmap { // (iiay)
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using StatusNotifierPixmaps = QList<StatusNotifierPixmap>;
struct StatusNotifierToolTip { // (sa(iiay)ss)
    QString iconName;
    StatusNotifierPixmaps pixmaps;
    QString title;
    QString text;
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& tip);

Q_DECLARE_METATYPE(StatusNotifierPixmap)
Q_DECLARE_METATYPE(StatusNotifierToolTip)

// Every size the icon was drawn at, as status-notifier pixmaps (the panel takes the one that
// suits it best).
StatusNotifierPixmaps statusNotifierPixmaps(const QIcon& icon);

// The program's icon as a status-notifier item (org.kde.StatusNotifierItem) on the session bus,
// for the panels that show those: KDE Plasma, LXQt, GNOME with the AppIndicator extension, and
// the panels of Wayland desktops, which have no other notification area.
//
// A panel's watcher (org.kde.StatusNotifierWatcher) takes the item. It may start after the
// program (an autostarted program often runs before the panel) and may restart with the panel:
// the item watches the watcher's name and registers with every watcher that appears. It counts as
// shown once a watcher took it and a panel (a status-notifier host) shows the watcher's items. The item's
// menu is the program's tray menu, published as com.canonical.dbusmenu.
class StatusNotifierItem : public QObject {
    Q_OBJECT
public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";

    // id: the program's name, which panels use to keep its settings; title: what a panel's list
    // of items calls it.
    StatusNotifierItem(const QDBusConnection& bus, QMenu* menu, const QString& id, const QString& title,
                       QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Where the item stands with the panel.
    enum class State {
        NoWatcher,   // no watcher on the bus
        Registering, // a watcher appeared; its answer (and its host's) is on its way
        Shown,       // the watcher took the item and a panel shows its items
        NoHost,      // the watcher took the item, but no panel shows them (yet)
        Refused      // the watcher refused the item
    };

    // The item's name and objects are on the bus.
    bool published() const { return m_published; }
    State state() const { return m_state; }
    // The item is, or is about to be, the tray's icon. While a watcher answers, the item counts
    // as shown: a program that starts with its panel in place starts into the tray, and the
    // window opens should the watcher refuse the item after all.
    bool carriesIcon() const { return m_state == State::Registering || m_state == State::Shown; }
    QString serviceName() const { return m_serviceName; }

    void setIcon(const QIcon& icon);
    void setToolTip(const QString& tip);

    // What the item's properties answer.
    QString id() const { return m_id; }
    QString title() const { return m_title; }
    const StatusNotifierPixmaps& iconPixmaps() const { return m_pixmaps; }
    StatusNotifierToolTip toolTip() const;

    // The item's methods, as the panel calls them.
    void activate(QPoint at);
    void contextMenu(QPoint at);

signals:
    void stateChanged(State state);
    void activated();                     // the panel's left click
    void contextMenuRequested(QPoint at); // a panel that does not read the menu from the bus
    void iconChanged();
    void toolTipChanged();

private slots:
    void askForHostSlot(); // the watcher's host came or went (a signal on the bus)

private:
    void onWatcherOwnerChanged(const QString& newOwner);
    void registerWithWatcher();
    void askForHost();
    void setState(State state);

    QDBusConnection m_bus;
    QString m_id;
    QString m_title;
    QString m_serviceName;
    DBusMenuExporter* m_menu = nullptr;
    QDBusServiceWatcher* m_watcher = nullptr;
    StatusNotifierPixmaps m_pixmaps;
    QString m_tip;
    bool m_published = false;
    State m_state = State::NoWatcher;
    int m_registration = 0; // the attempt whose answers count; an older one's are stale
};
