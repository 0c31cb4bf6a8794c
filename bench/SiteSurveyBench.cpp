// The Site Survey page and the profile editor as a user meets them, offscreen, over a store of 99
// profiles: the editor opened on a profile (Properties) until it is shown; a profile applied
// unseen (Connect: read, check, save with on_link, hand over); the profile list loaded and
// filled; and the network list filled from a survey of 255 networks (the survey itself aside).
#include "dialogs/ProfileDialog.h"
#include "dialogs/ProfileEditor.h"
#include "pages/SiteSurveyPage.h"
#include "platform/FileSystem.h"
#include "support/FakeContext.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// A scratch folder holding the settings file and a store of 99 WPA2-PSK profiles.
class Folder {
public:
    Folder() {
        char pattern[] = "/tmp/site-survey-bench.XXXXXX";
        m_root = ::mkdtemp(pattern);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_root);
        std::ofstream("a.cba")
            << "[Setini]\nAutoWPAWPA2=YES\n[Check]\n11b=1\n11g=1\n11gt=1\n11a=1\n11at=1\nXR=1\n";
        ProfileStore store;
        auto batch = store.beginBatch();
        for (int slot = 1; slot <= 99; ++slot) {
            batch.WriteProfile(ProfileStore::slotSection(slot), profile(slot));
            batch.setSlotState(ProfileStore::slotSection(slot), ProfileStore::SlotState::Live);
        }
        batch.commit();
    }
    ~Folder() {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_root);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    static ProfileRecord profile(int slot) {
        ProfileRecord p;
        p.Profilename = "Profile " + std::to_string(slot);
        p.SSID = "Network-" + std::to_string(slot);
        p.bsstype = 1;
        p.AuthListIndex = 6; // "WPA2-PSK"
        p.WPAPassPhase = "passphrase of profile " + std::to_string(slot);
        p.Mode11b = p.Mode11g = p.Mode11gt = 1;
        return p;
    }

private:
    std::filesystem::path m_root;
    std::filesystem::path m_previous;
};

void OpenEditorOnAStoredProfile(benchmark::State& state) {
    const Folder folder;
    FakeContext ctx;
    for (auto _ : state) {
        // What Properties does: find the row's profile, read it, open the editor on it.
        ProfileEditorRequest request;
        request.mode = logic::EditorMode::Properties;
        request.profile = ctx.store.ReadProfile(ctx.store.FindProfileSection("Profile 50").value_or(""));
        ProfileDialog dialog(ctx.context, loadProfileForm(ctx.context, request));
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.isVisible());
    }
}
BENCHMARK(OpenEditorOnAStoredProfile)->Unit(benchmark::kMillisecond);

void ApplyAStoredProfileUnseen(benchmark::State& state) {
    const Folder folder;
    FakeContext ctx;
    ctx.window.slotBase = 100;
    for (auto _ : state) {
        ProfileEditorRequest request;
        request.mode = logic::EditorMode::Connect;
        request.profile = ctx.store.ReadProfile(ctx.store.FindProfileSection("Profile 99").value_or(""));
        if (!openProfileEditor(ctx.context, request, nullptr)) {
            state.SkipWithError("the profile was not applied");
            break;
        }
    }
    state.counters["handOvers"] = ctx.window.handOvers;
}
BENCHMARK(ApplyAStoredProfileUnseen)->Unit(benchmark::kMillisecond);

// The same without waiting for the disk (the rename alone): the program's own share of the time.
void ApplyAStoredProfileUnseenWithoutDiskSync(benchmark::State& state) {
    platform::setSyncToDisk(false);
    ApplyAStoredProfileUnseen(state);
    platform::setSyncToDisk(true);
}
BENCHMARK(ApplyAStoredProfileUnseenWithoutDiskSync)->Unit(benchmark::kMillisecond);

void LoadProfileList(benchmark::State& state) {
    const Folder folder;
    FakeContext ctx;
    SiteSurveyPage page(ctx.context, nullptr);
    page.show();
    auto* list = page.findChild<QTreeWidget*>(QStringLiteral("profileList"));
    for (auto _ : state) {
        page.LoadProfileList();
        QApplication::processEvents(); // the rows drawn
    }
    state.counters["rows"] = list->topLevelItemCount();
}
BENCHMARK(LoadProfileList)->Unit(benchmark::kMillisecond);

std::vector<BssEntry> networks(int count) {
    std::vector<BssEntry> found;
    for (int i = 0; i < count; ++i) {
        BssEntry e{};
        const std::string ssid = "Network-" + std::to_string(i);
        std::memcpy(e.ssid, ssid.c_str(), ssid.size() + 1);
        const unsigned char bssid[6] = {
            0x00, 0x1c, 0x10, 0x4e, static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i)};
        std::memcpy(e.bssid, bssid, 6);
        e.signal = (i * 37) % 101;
        e.channel = i % 27;
        e.networkType = i % 5 == 0 ? 0 : 1;
        e.encryptionMode = i % 4;
        e.authenticationMode = (i * 3) % 8;
        found.push_back(e);
    }
    return found;
}

void FillNetworkList(benchmark::State& state) {
    const Folder folder;
    FakeContext ctx;
    SiteSurveyPage page(ctx.context, nullptr);
    page.show();
    auto* list = page.findChild<QTreeWidget*>(QStringLiteral("networkList"));
    const std::vector<BssEntry> found = networks(255);
    for (auto _ : state) {
        page.RefreshSurvey();
        ctx.window.finishSurvey(found); // the survey ends: the list is filled
        QApplication::processEvents();  // and drawn
    }
    state.counters["rows"] = list->topLevelItemCount();
}
BENCHMARK(FillNetworkList)->Unit(benchmark::kMillisecond);

} // namespace
