#pragma once
// A main window for page and dialog tests: plain snapshots the test fills in, an adapter over
// the recording driver whose monitor cycles the test runs by hand, and recording UI services.
// Header only; used by the tests of the builds with windows.

#include "MainWindowHost.h"
#include "RecordingDriver.h"
#include "RecordingUiServices.h"
#include "WirelessAdapter.h"

#include <QString>

#include <vector>

class FakeHost : public MainWindowHost {
public:
    const LinkStatus& linkStatus() const override { return link; }
    const StationSettings& currentConfig() const override { return current; }
    const AdapterInfo& adapterInfo() const override { return info; }
    int32_t unplugged() const override { return unpluggedFlag; }
    void setUnplugged(int32_t value) override { unpluggedFlag = value; }

    StationSettings& pendingConfig() override { return pending; }
    int32_t applyPending() const override { return applyPendingFlag; }
    void setApplyPending(int32_t value) override { applyPendingFlag = value; }

    int32_t& profileSlotBase() override { return slotBase; }
    int32_t& surveyCount() override { return surveyTotal; }
    std::array<BssEntry, maxSurveyEntries>& surveyEntries() override { return survey; }

    void ShowPage(int page) override { shownPages.push_back(page); }
    void SetTrayTip(const QString& tip) override { trayTips.push_back(tip); }

    WirelessAdapter& adapter() override { return wireless; }
    UiServices& ui() override { return services; }

    // Snapshots and hand-over state, as the status tick would keep them.
    LinkStatus link{};
    StationSettings current{};
    AdapterInfo info{};
    int32_t unpluggedFlag = 0;
    StationSettings pending{};
    int32_t applyPendingFlag = 0;
    int32_t slotBase = 0;
    int32_t surveyTotal = 0;
    std::array<BssEntry, maxSurveyEntries> survey{};

    // What the pages asked of the window.
    std::vector<int> shownPages;
    std::vector<QString> trayTips;

    RecordingDriver driver;
    WirelessAdapter wireless{driver, WirelessAdapter::Monitor::Manual};
    RecordingUiServices services;
};
