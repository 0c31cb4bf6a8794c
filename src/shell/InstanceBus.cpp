#include "shell/InstanceBus.h"

#include "controls/WindowLog.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

namespace instancebus {
namespace {

constexpr const char* applicationInterface = "org.freedesktop.Application";
constexpr int askTimeoutMs = 5000;

// org.freedesktop.Application as far as the program has it: Activate, which shows the window.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(ActivationService* service)
        : QDBusAbstractAdaptor(service), m_service(service) {}

public slots:
    void Activate(const QVariantMap& platformData) { m_service->activate(platformData); }

private:
    ActivationService* m_service;
};

} // namespace

Answer activateRunningInstance(QDBusConnection bus) {
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return Answer::NoBus;
    }
    const QString name = QString::fromLatin1(serviceName);
    if (!bus.interface()->isServiceRegistered(name)) {
        return Answer::NoInstance;
    }
    QVariantMap platformData;
    if (const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN"); !token.isEmpty()) {
        platformData.insert(QStringLiteral("activation-token"), token);
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(name, QString::fromLatin1(objectPath),
                                       QString::fromLatin1(applicationInterface), QStringLiteral("Activate"));
    call << platformData;
    const QDBusMessage reply = bus.call(call, QDBus::Block, askTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return Answer::Activated;
    }
    const QString error = reply.errorName();
    if (error == QDBusError::errorString(QDBusError::ServiceUnknown) ||
        error == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        return Answer::NoInstance; // it ended between the question and the call
    }
    qCWarning(shellLog).noquote() << "the running instance did not answer:" << reply.errorMessage();
    return Answer::Failed;
}

ActivationService::ActivationService(QObject* parent) : QObject(parent), m_bus(QString()) {
    new ApplicationAdaptor(this);
}

ActivationService::~ActivationService() {
    if (m_claimed) {
        m_bus.unregisterService(QString::fromLatin1(serviceName));
        m_bus.unregisterObject(QString::fromLatin1(objectPath));
    }
}

bool ActivationService::claim(QDBusConnection bus) {
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportAdaptors)) {
        return false;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        QString::fromLatin1(serviceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QString::fromLatin1(objectPath));
        return false;
    }
    m_bus = bus;
    m_claimed = true;
    return true;
}

void ActivationService::activate(const QVariantMap& platformData) {
    // A Wayland compositor brings a window to the front only with the token of the launch that
    // asked for it; Qt's Wayland platform takes it from the environment at the next activation.
    if (const QString token = platformData.value(QStringLiteral("activation-token")).toString();
        !token.isEmpty()) {
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    }
    qCInfo(shellLog) << "a second start asked for the window";
    emit activateRequested();
}

} // namespace instancebus

#include "InstanceBus.moc"
