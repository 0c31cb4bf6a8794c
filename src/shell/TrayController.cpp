#include "shell/TrayController.h"

#include "controls/ApplicationTitle.h"
#include "controls/WindowLog.h"
#include "shell/StatusNotifierItem.h"
#include "shell/TrayIcons.h"

#include <QCoreApplication>
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
    if (presence == Presence::Detect) {
        createStatusNotifierItem();
    }
    m_available = presence == Presence::Present ||
                  (presence == Presence::Detect &&
                   (iconOnStatusNotifier() || QSystemTrayIcon::isSystemTrayAvailable()));
}

TrayController::~TrayController() {
    m_tray->hide();
}

void TrayController::refreshAvailability() {
    if (m_presence != Presence::Detect) {
        return;
    }
    const bool now = iconOnStatusNotifier() || QSystemTrayIcon::isSystemTrayAvailable();
    if (now == m_available) {
        return;
    }
    m_available = now;
    qCInfo(shellLog) << "notification area" << (now ? "appeared" : "went away");
    if (now && m_icon) {
        showTrayIcon(); // the icon was made already; the new tray takes it
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
    if (m_notifierItem != nullptr) {
        m_notifierItem->setIcon(loadTrayIcon(*icon));
        m_notifierItem->setToolTip(cutTip);
    }
    if (m_presence != Presence::Absent) {
        showTrayIcon();
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

void TrayController::createStatusNotifierItem() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return; // no session bus: only an XEmbed tray can take the icon
    }
    m_notifierItem = new StatusNotifierItem(bus, m_menu, QCoreApplication::applicationName(),
                                            QString::fromLatin1(applicationTitle), this);
    if (!m_notifierItem->published()) {
        delete m_notifierItem;
        m_notifierItem = nullptr;
        return;
    }
    connect(m_notifierItem, &StatusNotifierItem::stateChanged, this,
            &TrayController::onStatusNotifierChanged);
    // A status-notifier panel has no double-click: its left click opens the window.
    connect(m_notifierItem, &StatusNotifierItem::activated, this, &TrayController::openRequested);
    connect(m_notifierItem, &StatusNotifierItem::contextMenuRequested, m_menu,
            [this](QPoint at) { m_menu->popup(at); });
}

bool TrayController::iconOnStatusNotifier() const {
    return m_notifierItem != nullptr && m_notifierItem->carriesIcon();
}

void TrayController::onStatusNotifierChanged() {
    if (m_handedAny) {
        showTrayIcon(); // or hide it: the item took the icon
    }
    refreshAvailability();
}

void TrayController::showTrayIcon() {
    if (iconOnStatusNotifier()) {
        m_tray->hide();
    } else {
        m_tray->show();
    }
}
