#include "shell/TrayController.h"

#include "controls/WindowLog.h"
#include "shell/TrayIcons.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

TrayController::TrayController(QWidget* owner, Presence presence)
    : QObject(owner), m_presence(presence), m_tray(new QSystemTrayIcon(this)), m_menu(new QMenu(owner)) {
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    QAction* exitAction = m_menu->addAction(QStringLiteral("Exit"));
    QAction* startAction = m_menu->addAction(QStringLiteral("Start"));
    connect(exitAction, &QAction::triggered, this, &TrayController::exitRequested);
    // "Start" acts as a double-click on the icon, once the menu has closed.
    connect(startAction, &QAction::triggered, this, &TrayController::onDoubleClick, Qt::QueuedConnection);
    m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) {
            onDoubleClick();
        } else if (reason == QSystemTrayIcon::Trigger) {
            onLeftClick();
        }
    });
    m_available = presence == Presence::Present ||
                  (presence == Presence::Detect && QSystemTrayIcon::isSystemTrayAvailable());
}

TrayController::~TrayController() {
    m_tray->hide();
}

void TrayController::refreshAvailability() {
    if (m_presence != Presence::Detect) {
        return;
    }
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now == m_available) {
        return;
    }
    m_available = now;
    qCInfo(shellLog) << "notification area" << (now ? "appeared" : "went away");
    if (now && m_icon) {
        m_tray->show(); // the icon was made already; the new tray takes it
    }
    emit availabilityChanged(now);
}

void TrayController::setIcon(std::optional<TrayIcon> icon, const QString& tip) {
    const QString cutTip = tip.left(127);
    if (!icon) {
        m_tray->hide();
        m_handedAny = false;
        m_handedIcon.reset();
        return;
    }
    m_icon = icon;
    m_tip = cutTip;
    if (m_handedAny && icon == m_handedIcon && cutTip == m_handedTip) {
        return;
    }
    m_handedAny = true;
    m_handedIcon = icon;
    m_handedTip = cutTip;
    ++m_handovers;
    m_tray->setIcon(loadTrayIcon(*icon));
    m_tray->setToolTip(cutTip);
    if (m_presence != Presence::Absent) {
        m_tray->show();
    }
}

void TrayController::onDoubleClick() {
    emit openRequested();
}

void TrayController::onLeftClick() {
    // An XEmbed tray reports a single click before each double-click: only a status-notifier
    // tray, which has no double-click, opens the window on a single one.
    if (statusNotifierTray()) {
        emit openRequested();
    }
}

bool TrayController::statusNotifierTray() const {
    if (!m_statusNotifier) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        m_statusNotifier =
            bus.isConnected() && bus.interface() != nullptr &&
            bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }
    return *m_statusNotifier;
}
