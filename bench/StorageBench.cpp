// Speed of the profile list load (CompactProfiles) over a full store of 99 profiles.
// Runs in a scratch directory under the system's temporary directory.
#include "platform/FileSystem.h"
#include "storage/ProfileStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

ProfileRecord profile(int n) {
    ProfileRecord r;
    r.Profilename = "Profile " + std::to_string(n);
    r.SSID = "network-" + std::to_string(n);
    r.bsstype = n % 2;
    r.Channel = n % 27;
    r.AuthListIndex = 4;
    for (int i = 0; i < 4; ++i) {
        r.wepKey(i) = "0123456789abcdef012345678" + std::to_string(i);
    }
    r.WPAPassPhase = std::string(63, 'p');
    r.Mode11b = r.Mode11g = 1;
    return r;
}

// A store of 99 live profiles in slots 1..99, or with slot 1 removed and 98 live after it.
std::string makeStore(bool removedFirst) {
    ::unlink("S.CBA");
    ProfileStore store;
    auto batch = store.beginBatch();
    for (int slot = 1; slot <= 99; ++slot) {
        batch.WriteProfile(ProfileStore::slotSection(slot), profile(slot));
        batch.setSlotState(ProfileStore::slotSection(slot), removedFirst && slot == 1
                                                                ? ProfileStore::SlotState::Removed
                                                                : ProfileStore::SlotState::Live);
    }
    batch.writeOnLink(profile(1));
    batch.commit();
    return *platform::readWholeFile("S.CBA");
}

struct ScratchDir {
    ScratchDir() {
        std::string pattern =
            std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/storage_bench.XXXXXX";
        dir = ::mkdtemp(pattern.data());
        ::chdir(dir.c_str());
    }
    ~ScratchDir() {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    std::string dir;
};

void runCompaction(benchmark::State& state, bool removedFirst, bool rewriteEachTime) {
    ScratchDir scratch;
    const std::string bytes = makeStore(removedFirst);
    ProfileStore store;
    int rows = 0;
    for (auto _ : state) {
        if (rewriteEachTime) {
            state.PauseTiming();
            platform::replaceFileAtomically("S.CBA", bytes, platform::FileAccess::Private);
            state.ResumeTiming();
        }
        int32_t base = 0;
        rows = 0;
        store.CompactProfiles(base, [&](int, const std::string&, int) { ++rows; });
        benchmark::DoNotOptimize(base);
    }
    state.counters["rows"] = rows;
}

// Nothing moves; the parsed file is reused while it is unchanged (a list shown again).
void BM_CompactNoMoves(benchmark::State& state) {
    runCompaction(state, false, false);
}
// Nothing moves, but the file is new each time and has to be read and parsed.
void BM_CompactNoMovesFreshFile(benchmark::State& state) {
    runCompaction(state, false, true);
}
// Slot 1 removed: 98 profiles move down one slot; one replacement of the file (with fsync).
void BM_Compact98Moves(benchmark::State& state) {
    runCompaction(state, true, true);
}

} // namespace

BENCHMARK(BM_CompactNoMoves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompactNoMovesFreshFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compact98Moves)->Unit(benchmark::kMillisecond);
