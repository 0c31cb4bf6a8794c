#include "shell/ShellState.h"

#include "adapter/WirelessAdapter.h"
#include "controls/WindowLog.h"
#include "logic/ReconnectConfig.h"
#include "storage/ProfileStore.h"

#include <QMetaObject>

ShellState::ShellState(WirelessAdapter& adapter, ProfileStore& store, QObject* parent)
    : WindowState(parent), m_adapter(adapter), m_store(store) {
    // The survey ends on the adapter's survey thread; the window hears of it on its own thread.
    // The destructor takes the listener back, which waits for a call in progress, so `this` is
    // alive whenever the listener runs; Qt drops the queued call if we are gone by then.
    m_adapter.setSurveyListener(
        [this] { QMetaObject::invokeMethod(this, &ShellState::onSurveyEnded, Qt::QueuedConnection); });
}

ShellState::~ShellState() {
    m_adapter.setSurveyListener({});
}

TickActions ShellState::tick(bool trayAvailable) {
    TickInput input;
    input.systemServiceManages = m_adapter.systemServiceManages();
    input.adapterAbsent = m_adapter.isDriverAbsent();
    if (input.adapterAbsent && !m_unplugged) {
        qCDebug(shellLog) << "status tick: no adapter";
    }
    m_unplugged = input.adapterAbsent;
    if (!input.adapterAbsent) {
        const LinkStatus link = m_adapter.linkStatus();
        input.connected = link.connected != 0;
        input.signalStrength = link.signalStrength;
    }
    input.trayAvailable = trayAvailable;

    TickActions actions = m_supervisor.tick(input);
    if (actions.copySnapshots) {
        m_adapter.copyReadBack(m_currentConfig);
        m_adapterInfo = m_adapter.adapterInfo();
        m_linkStatus = m_adapter.linkStatus();
    }
    if (actions.applyPending) {
        m_adapter.apply(m_pendingConfig);
    }
    if (actions.rebuildFromOnLink) {
        rebuildFromOnLink();
    }
    return actions;
}

void ShellState::rebuildFromOnLink() {
    const std::optional<StationSettings> config =
        logic::buildReconnectConfig(m_store.ReadOnLink(), m_currentConfig.ChannelPlan);
    if (config) {
        m_pendingConfig = *config;
    } else {
        qCInfo(shellLog) << "no configuration chosen yet: the adapter is left as it is";
    }
    m_supervisor.reconnectPrepared(config.has_value());
}

bool ShellState::systemServiceManages() const {
    return m_adapter.systemServiceManages();
}

int ShellState::channelPlanCode() const {
    return m_adapter.channelPlanCode();
}

void ShellState::handOver(const StationSettings& config) {
    m_pendingConfig = config;
    m_supervisor.handOver();
}

void ShellState::showPage(PageId page) {
    if (m_pageSwitcher.show) {
        m_pageSwitcher.show(page);
    }
}

void ShellState::completeApplyOnConfigurationPage() {
    if (m_pageSwitcher.completeApplyOnConfigurationPage) {
        m_pageSwitcher.completeApplyOnConfigurationPage();
    }
}

bool ShellState::startSurvey() {
    return m_adapter.startSurvey();
}

bool ShellState::surveyRunning() const {
    return m_adapter.surveyRunning();
}

void ShellState::onSurveyEnded() {
    m_survey = m_adapter.surveyResult();
    emit surveyFinished();
}
