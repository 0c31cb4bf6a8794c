#pragma once

#include "context/AppContext.h"
#include "shell/LinkSupervisor.h"

#include <functional>

class ProfileStore;
class WirelessAdapter;

// The window's state and the status tick's data work: the snapshots copied from the adapter once a
// second, the pending configuration, the reconnection from the configuration chosen last, and the
// site survey. The link supervisor decides; this carries out what concerns the data, and hands the
// rest (hiding the window, the tray icon) back to the window.
class ShellState : public WindowState {
    Q_OBJECT
public:
    ShellState(WirelessAdapter& adapter, ProfileStore& store, QObject* parent = nullptr);
    ~ShellState() override;

    // One status tick: reads the adapter, lets the supervisor decide, copies, applies and rebuilds.
    // Returns the decisions, for the window's part.
    TickActions tick(bool trayAvailable);

    // The window's page switching, which the pages ask for through the window state.
    struct PageSwitcher {
        std::function<void(PageId)> show;
        std::function<void()> completeApplyOnConfigurationPage;
    };
    void setPageSwitcher(PageSwitcher switcher) { m_pageSwitcher = std::move(switcher); }
    const LinkSupervisor& supervisor() const { return m_supervisor; }
    bool applyPending() const { return m_supervisor.applyPending(); }
    bool systemServiceManages() const;
    WirelessAdapter& adapter() { return m_adapter; }

    // WindowState
    const LinkStatus& linkStatus() const override { return m_linkStatus; }
    const StationSettings& currentConfig() const override { return m_currentConfig; }
    const AdapterInfo& adapterInfo() const override { return m_adapterInfo; }
    bool unplugged() const override { return m_unplugged; }
    int channelPlanCode() const override;
    const StationSettings& pendingConfig() const override { return m_pendingConfig; }
    void handOver(const StationSettings& config) override;
    void showPage(PageId page) override;
    void completeApplyOnConfigurationPage() override;
    int profileSlotBase() const override { return m_profileSlotBase; }
    void setProfileSlotBase(int base) override { m_profileSlotBase = base; }
    bool startSurvey() override;
    bool surveyRunning() const override;
    const std::vector<BssEntry>& survey() const override { return m_survey; }

private:
    void rebuildFromOnLink();
    void onSurveyEnded();

    WirelessAdapter& m_adapter;
    ProfileStore& m_store;
    LinkSupervisor m_supervisor;
    PageSwitcher m_pageSwitcher;

    LinkStatus m_linkStatus{};
    StationSettings m_currentConfig{};
    AdapterInfo m_adapterInfo{};
    StationSettings m_pendingConfig{};
    bool m_unplugged = false;
    int m_profileSlotBase = 0;
    std::vector<BssEntry> m_survey;
};
