#pragma once
// An application context for page and dialog tests: the real stores on the files of the test's
// folder, recording UI services, and a window state whose snapshots the test fills in.

#include "context/AppContext.h"
#include "platform/OpenSslCertificateStore.h"
#include "storage/AppSettings.h"
#include "storage/ProfileStore.h"
#include "storage/RegistryMirror.h"
#include "storage/TextCatalog.h"
#include "support/RecordingUiServices.h"

#include <string>
#include <vector>

class FakeWindowState : public WindowState {
public:
    const LinkStatus& linkStatus() const override { return link; }
    const StationSettings& currentConfig() const override { return current; }
    const AdapterInfo& adapterInfo() const override { return info; }
    bool unplugged() const override { return absent; }
    int channelPlanCode() const override { return channelPlan; }
    const StationSettings& pendingConfig() const override { return pending; }
    void handOver(const StationSettings& config) override {
        pending = config;
        ++handOvers;
    }
    void showPage(PageId page) override { shownPages.push_back(page); }
    void completeApplyOnConfigurationPage() override { ++configurationApplies; }
    int profileSlotBase() const override { return slotBase; }
    void setProfileSlotBase(int base) override { slotBase = base; }
    bool startSurvey() override {
        if (surveyInProgress) {
            return false;
        }
        ++surveysStarted;
        surveyInProgress = true;
        return true;
    }
    bool surveyRunning() const override { return surveyInProgress; }
    const std::vector<BssEntry>& survey() const override { return networks; }

    // Ends the survey that runs with these networks, as the adapter would.
    void finishSurvey(std::vector<BssEntry> found) {
        networks = std::move(found);
        surveyInProgress = false;
        emit surveyFinished();
    }

    // Snapshots, as the status tick would keep them.
    LinkStatus link{};
    StationSettings current{};
    AdapterInfo info{};
    bool absent = false;
    int channelPlan = 3;
    std::vector<BssEntry> networks;

    // What the pages asked of the window.
    StationSettings pending{};
    int handOvers = 0;
    std::vector<PageId> shownPages;
    int configurationApplies = 0; // completeApplyOnConfigurationPage
    int slotBase = 0;
    int surveysStarted = 0;
    bool surveyInProgress = false;
};

// The context over the files of the current directory; the registry in ./registry.
struct FakeContext {
    ProfileStore store;
    AppSettings settings;
    TextCatalog texts;
    RegistryMirror mirror{registryKeyPath, "registry"};
    RecordingUiServices ui;
    OpenSslCertificateStore certificates;
    FakeWindowState window;
    AppContext context{AppServices{store, settings, texts, mirror, ui, certificates}, window};
};
