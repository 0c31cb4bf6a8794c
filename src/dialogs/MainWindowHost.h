#pragma once

#include "Snapshots.h"
#include "StationConfig.h"

#include <array>
#include <cstdint>

class QString;
class UiServices;
class WirelessAdapter;

// What the pages and dialogs reach of the main window: the snapshots the status tick keeps,
// the hand-over of a configuration to the next tick, page switching and the shared services.
// Pages never call the driver for settings: they fill pendingConfig and set applyPending.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    virtual const LinkStatus& linkStatus() const = 0;
    virtual const StationSettings& currentConfig() const = 0;
    virtual const AdapterInfo& adapterInfo() const = 0;
    virtual int32_t unplugged() const = 0;
    virtual void setUnplugged(int32_t value) = 0;

    virtual StationSettings& pendingConfig() = 0;
    virtual int32_t applyPending() const = 0;
    virtual void setApplyPending(int32_t value) = 0;

    virtual int32_t& profileSlotBase() = 0;
    virtual int32_t& surveyCount() = 0;
    virtual std::array<BssEntry, maxSurveyEntries>& surveyEntries() = 0;

    virtual void ShowPage(int page) = 0;
    // Hands the current tray icon to the tray again with this tip.
    virtual void SetTrayTip(const QString& tip) = 0;

    virtual WirelessAdapter& adapter() = 0;
    virtual UiServices& ui() = 0;
};
