#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <map>

class QAction;
class QDBusConnection;
class QMenu;

// The types of com.canonical.dbusmenu, the protocol in which a status-notifier panel reads an
// item's menu and reports clicks on it.
struct DBusMenuLayoutItem { // (ia{sv}av): an entry with its children below it
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};
struct DBusMenuItemProperties { // (ia{sv})
    int id = 0;
    QVariantMap properties;
};
struct DBusMenuItemKeys { // (ias)
    int id = 0;
    QStringList keys;
};
struct DBusMenuEvent { // (isvu)
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuItemProperties)
Q_DECLARE_METATYPE(DBusMenuItemKeys)
Q_DECLARE_METATYPE(DBusMenuEvent)

// A QMenu as the panel sees it over the bus: entry 0 is the menu itself, every action below it
// (submenus included) gets a number of its own for as long as the exporter lives. The menu stays
// the program's: actions added, removed or changed, also while the menu is about to show, are
// sent as a new layout; a click arrives as the action's trigger, after the bus call was answered.
class DBusMenuExporter : public QObject {
    Q_OBJECT
public:
    explicit DBusMenuExporter(QMenu* menu, QObject* parent = nullptr);

    // Puts the menu on the bus at path; false when the path is taken.
    bool publish(QDBusConnection& bus, const QString& path);

    uint revision() const { return m_revision; }
    // The entry id with its children, depth levels deep (-1: all); every property when names is
    // empty. An unknown id gives an entry without properties.
    DBusMenuLayoutItem layout(int id, int depth, const QStringList& names);
    QVariantMap properties(int id, const QStringList& names);
    // A "clicked" on an entry triggers its action; "opened" on a submenu prepares it as for
    // showing. False for an id that names nothing.
    bool event(int id, const QString& eventId);
    // Lets the menu of id prepare itself (its aboutToShow); true when its layout changed.
    bool aboutToShow(int id);

signals:
    void layoutUpdated(uint revision, int parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int idOf(QAction* action);
    QAction* actionOf(int id) const;
    QMenu* menuOf(int id) const;
    void watch(QMenu* menu);
    void markChanged();
    void sendLayoutUpdate();

    QPointer<QMenu> m_menu;
    std::map<int, QPointer<QAction>> m_actions;
    QHash<const QAction*, int> m_ids;
    int m_nextId = 1;
    uint m_revision = 1;
    bool m_changed = false;
    bool m_updateQueued = false;
};

// The label as dbusmenu writes it: "_" before the access key instead of "&", a plain "_" doubled.
QString dbusMenuLabel(const QString& text);
