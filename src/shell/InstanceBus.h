#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

// The running program on the session bus: the well-known name io.skyvane.Skyvane with
// org.freedesktop.Application's Activate at /io/skyvane/Skyvane. A second start asks the first
// there to show its window, on Wayland (where no program sees another's windows) and on X11
// alike; only without a session bus does it fall back to looking for the window's title.
namespace instancebus {

inline constexpr const char* serviceName = "io.skyvane.Skyvane";
inline constexpr const char* objectPath = "/io/skyvane/Skyvane";

enum class Answer {
    NoBus,      // no session bus to ask on
    NoInstance, // nobody has the name
    Activated,  // the running instance took the request
    Failed      // somebody has the name but did not answer in time
};

// Asks the instance that has the name to show its window, passing on the activation token a
// launcher gave this start (XDG_ACTIVATION_TOKEN), so that a Wayland compositor lets the window
// come to the front. Waits a few seconds at most.
Answer activateRunningInstance(QDBusConnection bus);

// The first instance's side: the name and the Activate method.
class ActivationService : public QObject {
    Q_OBJECT
public:
    explicit ActivationService(QObject* parent = nullptr);
    ~ActivationService() override;

    // Puts the object on the bus and takes the name; false without a bus or when the name is
    // taken (another instance that was quicker).
    bool claim(QDBusConnection bus);

    // The request, as a call from the bus delivers it.
    void activate(const QVariantMap& platformData);

signals:
    void activateRequested();

private:
    QDBusConnection m_bus;
    bool m_claimed = false;
};

} // namespace instancebus
