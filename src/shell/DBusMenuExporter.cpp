#include "shell/DBusMenuExporter.h"

#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QMenu>
#include <QTimer>

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.beginArray(QMetaType::fromType<QDBusVariant>());
    for (const DBusMenuLayoutItem& child : item.children) {
        argument << QDBusVariant(QVariant::fromValue(child));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.beginArray();
    item.children.clear();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        item.children.append(qdbus_cast<DBusMenuLayoutItem>(child.variant()));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& item) {
    argument.beginStructure();
    argument << item.id << item.keys;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& item) {
    argument.beginStructure();
    argument >> item.id >> item.keys;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

QString dbusMenuLabel(const QString& text) {
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('&')) {
            if (i + 1 < text.size()) {
                ++i;
                label += text[i] == QLatin1Char('&') ? QStringLiteral("&") : QStringLiteral("_") + text[i];
            }
        } else if (c == QLatin1Char('_')) {
            label += QStringLiteral("__");
        } else {
            label += c;
        }
    }
    return label;
}

namespace {

using DBusMenuItemPropertiesList = QList<DBusMenuItemProperties>;
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;
using DBusMenuEventList = QList<DBusMenuEvent>;

void registerDBusMenuTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayoutItem>();
        qDBusRegisterMetaType<DBusMenuItemProperties>();
        qDBusRegisterMetaType<DBusMenuItemPropertiesList>();
        qDBusRegisterMetaType<DBusMenuItemKeys>();
        qDBusRegisterMetaType<DBusMenuItemKeysList>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<DBusMenuEventList>();
        return true;
    }();
    (void)registered;
}

// Every property an entry can carry, for a request that names none.
QVariantMap actionProperties(const QAction* action) {
    QVariantMap properties;
    if (action->isSeparator()) {
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        properties.insert(QStringLiteral("label"), dbusMenuLabel(action->text()));
    }
    properties.insert(QStringLiteral("enabled"), action->isEnabled());
    properties.insert(QStringLiteral("visible"), action->isVisible());
    if (action->menu() != nullptr) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    }
    if (action->isCheckable()) {
        const bool exclusive = action->actionGroup() != nullptr && action->actionGroup()->isExclusive();
        properties.insert(QStringLiteral("toggle-type"),
                          exclusive ? QStringLiteral("radio") : QStringLiteral("checkmark"));
        properties.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
    }
    return properties;
}

QVariantMap only(const QVariantMap& all, const QStringList& names) {
    if (names.isEmpty()) {
        return all;
    }
    QVariantMap chosen;
    for (const QString& name : names) {
        if (const auto found = all.constFind(name); found != all.constEnd()) {
            chosen.insert(name, found.value());
        }
    }
    return chosen;
}

} // namespace

// com.canonical.dbusmenu on the bus, answered by the exporter.
class DBusMenuAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"com.canonical.dbusmenu\">\n"
                "    <property name=\"Version\" type=\"u\" access=\"read\"/>\n"
                "    <property name=\"TextDirection\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Status\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"IconThemePath\" type=\"as\" access=\"read\"/>\n"
                "    <method name=\"GetLayout\">\n"
                "      <arg type=\"i\" name=\"parentId\" direction=\"in\"/>\n"
                "      <arg type=\"i\" name=\"recursionDepth\" direction=\"in\"/>\n"
                "      <arg type=\"as\" name=\"propertyNames\" direction=\"in\"/>\n"
                "      <arg type=\"u\" name=\"revision\" direction=\"out\"/>\n"
                "      <arg type=\"(ia{sv}av)\" name=\"layout\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"GetGroupProperties\">\n"
                "      <arg type=\"ai\" name=\"ids\" direction=\"in\"/>\n"
                "      <arg type=\"as\" name=\"propertyNames\" direction=\"in\"/>\n"
                "      <arg type=\"a(ia{sv})\" name=\"properties\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"GetProperty\">\n"
                "      <arg type=\"i\" name=\"id\" direction=\"in\"/>\n"
                "      <arg type=\"s\" name=\"name\" direction=\"in\"/>\n"
                "      <arg type=\"v\" name=\"value\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"Event\">\n"
                "      <arg type=\"i\" name=\"id\" direction=\"in\"/>\n"
                "      <arg type=\"s\" name=\"eventId\" direction=\"in\"/>\n"
                "      <arg type=\"v\" name=\"data\" direction=\"in\"/>\n"
                "      <arg type=\"u\" name=\"timestamp\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"EventGroup\">\n"
                "      <arg type=\"a(isvu)\" name=\"events\" direction=\"in\"/>\n"
                "      <arg type=\"ai\" name=\"idErrors\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"AboutToShow\">\n"
                "      <arg type=\"i\" name=\"id\" direction=\"in\"/>\n"
                "      <arg type=\"b\" name=\"needUpdate\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"AboutToShowGroup\">\n"
                "      <arg type=\"ai\" name=\"ids\" direction=\"in\"/>\n"
                "      <arg type=\"ai\" name=\"updatesNeeded\" direction=\"out\"/>\n"
                "      <arg type=\"ai\" name=\"idErrors\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <signal name=\"ItemsPropertiesUpdated\">\n"
                "      <arg type=\"a(ia{sv})\" name=\"updatedProps\"/>\n"
                "      <arg type=\"a(ias)\" name=\"removedProps\"/>\n"
                "    </signal>\n"
                "    <signal name=\"LayoutUpdated\">\n"
                "      <arg type=\"u\" name=\"revision\"/>\n"
                "      <arg type=\"i\" name=\"parent\"/>\n"
                "    </signal>\n"
                "    <signal name=\"ItemActivationRequested\">\n"
                "      <arg type=\"i\" name=\"id\"/>\n"
                "      <arg type=\"u\" name=\"timestamp\"/>\n"
                "    </signal>\n"
                "  </interface>\n")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    explicit DBusMenuAdaptor(DBusMenuExporter* exporter)
        : QDBusAbstractAdaptor(exporter), m_exporter(exporter) {
        setAutoRelaySignals(false);
        connect(exporter, &DBusMenuExporter::layoutUpdated, this, &DBusMenuAdaptor::LayoutUpdated);
    }

    uint version() const { return 3; }
    QString textDirection() const { return QStringLiteral("ltr"); }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   DBusMenuLayoutItem& layout) {
        layout = m_exporter->layout(parentId, recursionDepth, propertyNames);
        return m_exporter->revision();
    }
    DBusMenuItemPropertiesList GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
        DBusMenuItemPropertiesList list;
        for (int id : ids) {
            list.append({id, m_exporter->properties(id, propertyNames)});
        }
        return list;
    }
    QDBusVariant GetProperty(int id, const QString& name) {
        return QDBusVariant(m_exporter->properties(id, {name}).value(name));
    }
    void Event(int id, const QString& eventId, const QDBusVariant&, uint) { m_exporter->event(id, eventId); }
    QList<int> EventGroup(const DBusMenuEventList& events) {
        QList<int> errors;
        for (const DBusMenuEvent& event : events) {
            if (!m_exporter->event(event.id, event.eventId)) {
                errors.append(event.id);
            }
        }
        return errors;
    }
    bool AboutToShow(int id) { return m_exporter->aboutToShow(id); }
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
        QList<int> updates;
        for (int id : ids) {
            if (m_exporter->aboutToShow(id)) {
                updates.append(id);
            }
        }
        idErrors.clear();
        return updates;
    }

signals:
    void ItemsPropertiesUpdated(const DBusMenuItemPropertiesList& updatedProps,
                                const DBusMenuItemKeysList& removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    DBusMenuExporter* m_exporter;
};

DBusMenuExporter::DBusMenuExporter(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu) {
    registerDBusMenuTypes();
    new DBusMenuAdaptor(this);
    watch(menu);
}

bool DBusMenuExporter::publish(QDBusConnection& bus, const QString& path) {
    return bus.registerObject(path, this, QDBusConnection::ExportAdaptors);
}

void DBusMenuExporter::watch(QMenu* menu) {
    if (menu != nullptr && menu->property("skyvaneDBusMenuWatched").isNull()) {
        menu->setProperty("skyvaneDBusMenuWatched", true);
        menu->installEventFilter(this);
    }
}

int DBusMenuExporter::idOf(QAction* action) {
    if (const auto found = m_ids.constFind(action); found != m_ids.constEnd()) {
        return found.value();
    }
    const int id = m_nextId++;
    m_ids.insert(action, id);
    m_actions.emplace(id, action);
    connect(action, &QObject::destroyed, this, [this, id, action] {
        m_ids.remove(action);
        m_actions.erase(id);
    });
    return id;
}

QAction* DBusMenuExporter::actionOf(int id) const {
    const auto found = m_actions.find(id);
    return found != m_actions.end() ? found->second.data() : nullptr;
}

QMenu* DBusMenuExporter::menuOf(int id) const {
    if (id == 0) {
        return m_menu;
    }
    const QAction* action = actionOf(id);
    return action != nullptr ? action->menu() : nullptr;
}

DBusMenuLayoutItem DBusMenuExporter::layout(int id, int depth, const QStringList& names) {
    DBusMenuLayoutItem item;
    item.id = id;
    item.properties = properties(id, names);
    QMenu* menu = menuOf(id);
    if (menu == nullptr || depth == 0) {
        return item;
    }
    watch(menu);
    for (QAction* action : menu->actions()) {
        item.children.append(layout(idOf(action), depth < 0 ? -1 : depth - 1, names));
    }
    return item;
}

QVariantMap DBusMenuExporter::properties(int id, const QStringList& names) {
    if (id == 0) {
        return only({{QStringLiteral("children-display"), QStringLiteral("submenu")}}, names);
    }
    const QAction* action = actionOf(id);
    return action != nullptr ? only(actionProperties(action), names) : QVariantMap();
}

bool DBusMenuExporter::event(int id, const QString& eventId) {
    QAction* action = actionOf(id);
    if (id != 0 && action == nullptr) {
        return false;
    }
    if (eventId == QLatin1String("clicked") && action != nullptr && action->menu() == nullptr) {
        // After the panel's call has its answer: the action may end the program or open a window.
        QTimer::singleShot(0, action, [action] {
            if (action->isEnabled()) {
                action->trigger();
            }
        });
    } else if (eventId == QLatin1String("opened")) {
        aboutToShow(id);
    } else if (eventId == QLatin1String("closed")) {
        if (QMenu* menu = menuOf(id)) {
            emit menu->aboutToHide();
        }
    }
    return true;
}

bool DBusMenuExporter::aboutToShow(int id) {
    QMenu* menu = menuOf(id);
    if (menu == nullptr) {
        return false;
    }
    watch(menu);
    emit menu->aboutToShow();
    if (!m_changed) {
        return false;
    }
    // The panel asks for the new layout itself on this answer: no signal for this change.
    m_changed = false;
    ++m_revision;
    return true;
}

bool DBusMenuExporter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ActionAdded:
        if (QAction* added = static_cast<QActionEvent*>(event)->action(); added->menu() != nullptr) {
            watch(added->menu());
        }
        markChanged();
        break;
    case QEvent::ActionChanged:
    case QEvent::ActionRemoved:
        markChanged();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenuExporter::markChanged() {
    m_changed = true;
    if (!m_updateQueued) {
        m_updateQueued = true;
        // One update for a whole run of changes (a submenu filled anew).
        QTimer::singleShot(0, this, &DBusMenuExporter::sendLayoutUpdate);
    }
}

void DBusMenuExporter::sendLayoutUpdate() {
    m_updateQueued = false;
    if (!m_changed) {
        return; // an AboutToShow has told the panel already
    }
    m_changed = false;
    ++m_revision;
    emit layoutUpdated(m_revision, 0);
}

#include "DBusMenuExporter.moc"
