#include "shell/StatusNotifierItem.h"

#include "controls/WindowLog.h"
#include "shell/DBusMenuExporter.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr const char* itemPath = "/StatusNotifierItem";
constexpr const char* menuPath = "/MenuBar";
constexpr const char* watcherPath = "/StatusNotifierWatcher";

void registerStatusNotifierTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierPixmap>();
        qDBusRegisterMetaType<StatusNotifierPixmaps>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        return true;
    }();
    (void)registered;
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& tip) {
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

StatusNotifierPixmaps statusNotifierPixmaps(const QIcon& icon) {
    StatusNotifierPixmaps pixmaps;
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    for (const QSize& size : sizes) {
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        StatusNotifierPixmap pixmap{image.width(), image.height(), {}};
        pixmap.pixels.resize(static_cast<qsizetype>(image.width()) * image.height() * 4);
        auto* out = reinterpret_cast<uchar*>(pixmap.pixels.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, out += 4) {
                qToBigEndian<quint32>(line[x], out); // A, R, G, B
            }
        }
        pixmaps.append(pixmap);
    }
    return pixmaps;
}

// org.kde.StatusNotifierItem on the bus, answered by the item.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"org.kde.StatusNotifierItem\">\n"
                "    <property name=\"Category\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Id\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Title\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Status\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"WindowId\" type=\"i\" access=\"read\"/>\n"
                "    <property name=\"IconThemePath\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"Menu\" type=\"o\" access=\"read\"/>\n"
                "    <property name=\"ItemIsMenu\" type=\"b\" access=\"read\"/>\n"
                "    <property name=\"IconName\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"IconPixmap\" type=\"a(iiay)\" access=\"read\"/>\n"
                "    <property name=\"OverlayIconName\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"OverlayIconPixmap\" type=\"a(iiay)\" access=\"read\"/>\n"
                "    <property name=\"AttentionIconName\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"AttentionIconPixmap\" type=\"a(iiay)\" access=\"read\"/>\n"
                "    <property name=\"AttentionMovieName\" type=\"s\" access=\"read\"/>\n"
                "    <property name=\"ToolTip\" type=\"(sa(iiay)ss)\" access=\"read\"/>\n"
                "    <method name=\"ContextMenu\">\n"
                "      <arg name=\"x\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"y\" type=\"i\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"Activate\">\n"
                "      <arg name=\"x\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"y\" type=\"i\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"SecondaryActivate\">\n"
                "      <arg name=\"x\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"y\" type=\"i\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"Scroll\">\n"
                "      <arg name=\"delta\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"orientation\" type=\"s\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <signal name=\"NewTitle\"/>\n"
                "    <signal name=\"NewIcon\"/>\n"
                "    <signal name=\"NewAttentionIcon\"/>\n"
                "    <signal name=\"NewOverlayIcon\"/>\n"
                "    <signal name=\"NewToolTip\"/>\n"
                "    <signal name=\"NewStatus\">\n"
                "      <arg name=\"status\" type=\"s\"/>\n"
                "    </signal>\n"
                "  </interface>\n")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ none)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QString IconName READ none)
    Q_PROPERTY(StatusNotifierPixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ none)
    Q_PROPERTY(StatusNotifierPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ none)
    Q_PROPERTY(StatusNotifierPixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ none)
    Q_PROPERTY(StatusNotifierToolTip ToolTip READ toolTip)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item) : QDBusAbstractAdaptor(item), m_item(item) {
        setAutoRelaySignals(false);
        connect(item, &StatusNotifierItem::iconChanged, this, &StatusNotifierItemAdaptor::NewIcon);
        connect(item, &StatusNotifierItem::toolTipChanged, this, &StatusNotifierItemAdaptor::NewToolTip);
    }

    QString category() const { return QStringLiteral("Hardware"); }
    QString id() const { return m_item->id(); }
    QString title() const { return m_item->title(); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString none() const { return {}; }
    QDBusObjectPath menu() const { return QDBusObjectPath(QString::fromLatin1(menuPath)); }
    bool itemIsMenu() const { return false; }
    StatusNotifierPixmaps iconPixmap() const { return m_item->iconPixmaps(); }
    StatusNotifierPixmaps noPixmaps() const { return {}; }
    StatusNotifierToolTip toolTip() const { return m_item->toolTip(); }

public slots:
    void ContextMenu(int x, int y) { m_item->contextMenu(QPoint(x, y)); }
    void Activate(int x, int y) { m_item->activate(QPoint(x, y)); }
    void SecondaryActivate(int, int) {}
    void Scroll(int, const QString&) {}

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    StatusNotifierItem* m_item;
};

StatusNotifierItem::StatusNotifierItem(const QDBusConnection& bus, QMenu* menu, const QString& id,
                                       const QString& title, QObject* parent)
    : QObject(parent), m_bus(bus), m_id(id), m_title(title) {
    registerStatusNotifierTypes();
    if (!m_bus.isConnected() || m_bus.interface() == nullptr) {
        return;
    }
    static int instances = 0;
    m_serviceName = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(++instances);
    new StatusNotifierItemAdaptor(this);
    m_menu = new DBusMenuExporter(menu, this);
    m_published =
        m_bus.registerObject(QString::fromLatin1(itemPath), this, QDBusConnection::ExportAdaptors) &&
        m_menu->publish(m_bus, QString::fromLatin1(menuPath)) && m_bus.registerService(m_serviceName);
    if (!m_published) {
        qCWarning(shellLog).noquote()
            << "the status-notifier item could not be put on the session bus:" << m_bus.lastError().message();
        return;
    }
    const QString watcher = QString::fromLatin1(watcherService);
    m_watcher = new QDBusServiceWatcher(watcher, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(
        m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString&, const QString&, const QString& newOwner) { onWatcherOwnerChanged(newOwner); });
    // A panel that starts later announces its host through the watcher.
    m_bus.connect(watcher, QString::fromLatin1(watcherPath), watcher,
                  QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(askForHostSlot()));
    m_bus.connect(watcher, QString::fromLatin1(watcherPath), watcher,
                  QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(askForHostSlot()));
    if (m_bus.interface()->isServiceRegistered(watcher)) {
        onWatcherOwnerChanged(m_bus.interface()->serviceOwner(watcher).value());
    }
}

StatusNotifierItem::~StatusNotifierItem() {
    if (m_published) {
        m_bus.unregisterService(m_serviceName);
        m_bus.unregisterObject(QString::fromLatin1(menuPath));
        m_bus.unregisterObject(QString::fromLatin1(itemPath));
    }
}

void StatusNotifierItem::onWatcherOwnerChanged(const QString& newOwner) {
    ++m_registration; // answers to a call to the watcher that went away no longer count
    if (newOwner.isEmpty()) {
        qCInfo(shellLog) << "status-notifier watcher went away";
        setState(State::NoWatcher);
        return;
    }
    setState(State::Registering);
    registerWithWatcher();
}

void StatusNotifierItem::registerWithWatcher() {
    const QString watcher = QString::fromLatin1(watcherService);
    QDBusMessage call = QDBusMessage::createMethodCall(watcher, QString::fromLatin1(watcherPath), watcher,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    // Never waits: the watcher may be slow to answer while its panel starts.
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const int attempt = m_registration;
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, attempt](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                if (attempt != m_registration) {
                    return;
                }
                if (done->isError()) {
                    qCWarning(shellLog).noquote()
                        << "the status-notifier watcher refused the icon:" << done->error().message();
                    setState(State::Refused); // the icon goes back to any other tray
                    return;
                }
                qCInfo(shellLog).noquote()
                    << "icon registered with the status-notifier watcher as" << m_serviceName;
                askForHost();
            });
}

void StatusNotifierItem::askForHostSlot() {
    if (m_state == State::Shown || m_state == State::NoHost) {
        askForHost();
    }
}

void StatusNotifierItem::askForHost() {
    const QString watcher = QString::fromLatin1(watcherService);
    QDBusMessage get = QDBusMessage::createMethodCall(watcher, QString::fromLatin1(watcherPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    const int attempt = m_registration;
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, attempt](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                if (attempt != m_registration) {
                    return;
                }
                const QDBusPendingReply<QDBusVariant> reply = *done;
                // A watcher that cannot say takes its items to a panel: the item counts as shown.
                setState(reply.isError() || reply.value().variant().toBool() ? State::Shown : State::NoHost);
            });
}

void StatusNotifierItem::setState(State state) {
    if (state == m_state) {
        return;
    }
    m_state = state;
    emit stateChanged(state);
}

void StatusNotifierItem::setIcon(const QIcon& icon) {
    m_pixmaps = statusNotifierPixmaps(icon);
    emit iconChanged();
}

void StatusNotifierItem::setToolTip(const QString& tip) {
    m_tip = tip;
    emit toolTipChanged();
}

StatusNotifierToolTip StatusNotifierItem::toolTip() const {
    // The tip's first line is its title, the rest its text.
    const qsizetype end = m_tip.indexOf(QLatin1Char('\n'));
    return {QString(), {}, end < 0 ? m_tip : m_tip.left(end), end < 0 ? QString() : m_tip.mid(end + 1)};
}

void StatusNotifierItem::activate(QPoint) {
    emit activated();
}

void StatusNotifierItem::contextMenu(QPoint at) {
    emit contextMenuRequested(at);
}

#include "StatusNotifierItem.moc"
