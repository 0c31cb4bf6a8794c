#pragma once

#include "adapter/AdapterBackend.h"
#include "model/Snapshots.h"
#include "model/StationConfig.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The only owner of the adapter backend. A monitor thread brings the adapter up when one is
// plugged in, notices when it is unplugged, and while it is ready refreshes the cached status,
// the system service's state and the configuration read back from the adapter once a second.
//
// The window's thread never waits for the backend: its reads copy the last snapshot (under a
// lock that is never held across a backend call), and what it asks of the adapter (an apply, the
// country's channel plan, handing the adapter to the system's service) is queued for the monitor
// thread, which wakes at once to carry it out. A survey runs on a thread of its own, so the
// monitor cycle goes on while the adapter scans. A backend call that has not returned after
// hangLimit makes the adapter read as not ready until it returns.
//
// In manual mode no thread is started: queued work and surveys run at once on the caller's
// thread, and tests run monitor cycles with runMonitorCycle().
//
// Destruction stops the threads: a monitor cycle in progress runs to its end, queued requests
// are dropped. When a thread is still inside the backend after stopWait, it is left to finish
// on its own (it makes no further backend call, and keeps the backend alive while it runs)
// and threadsLeftRunning() turns true.
class WirelessAdapter {
public:
    enum class Monitor { Start, Manual };

    struct Options {
        Monitor monitor = Monitor::Start;
        std::chrono::milliseconds cyclePeriod{1000};
        std::chrono::milliseconds hangLimit{3000};
        // How long destruction waits for the threads before leaving them to finish on their own.
        std::chrono::milliseconds stopWait{2000};
    };

    WirelessAdapter(std::shared_ptr<AdapterBackend> backend, Options options);
    explicit WirelessAdapter(std::shared_ptr<AdapterBackend> backend, Monitor monitor = Monitor::Start);
    virtual ~WirelessAdapter();

    WirelessAdapter(const WirelessAdapter&) = delete;
    WirelessAdapter& operator=(const WirelessAdapter&) = delete;

    // --- Reads: copies of the last snapshots; never wait for the backend ---
    // True while the adapter is not ready: absent, not yet started, or stuck in a backend call.
    bool isDriverAbsent() const;
    AdapterInfo adapterInfo() const;
    LinkStatus linkStatus() const;
    // Copies the read-back fields of the cached configuration into record, through the code
    // tables once more; every other field of record stays as it is.
    void copyReadBack(StationSettings& record) const;
    // The channel-plan code as the adapter last reported it (not normalised).
    int channelPlanCode() const;
    // True when the system's wireless service manages the adapter (as of the last cycle).
    bool systemServiceManages() const;
    int32_t systemServiceState() const;

    // --- Requests: queued for the monitor thread (run at once in manual mode) ---
    // The monitor thread carries requests out in the order they came, as soon as they come.
    // An apply queued right behind another that has not started yet replaces it (each is a
    // whole configuration); so does a channel plan, and opening the settings window twice.
    void apply(const StationSettings& record);
    void setChannelPlan(int plan);
    void openSystemSettings();

    // --- Site survey ---
    // Starts a survey on the survey thread; false (and nothing started) while one runs. When it
    // ends, surveyRunning() turns false and surveyResult() holds its list (empty when the
    // adapter refused to scan); then the listener is called once, from the survey thread (in
    // manual mode before this returns). The listener may start the next survey. It must not
    // wait for the window's thread: destruction waits for a listener call in progress, and no
    // call starts once destruction has begun.
    bool startSurvey();
    bool surveyRunning() const;
    // The networks of the last survey that ended, in the adapter's order (at most
    // maxSurveyEntries); empty before the first and when a survey found nothing.
    std::vector<BssEntry> surveyResult() const;
    void setSurveyListener(std::function<void()> listener);

    // --- Monitor steps, public so that tests can drive one cycle at a time ---
    void runMonitorCycle(); // queued work, then one cycle without the sleep

    // True once any WirelessAdapter was destroyed while one of its threads was still inside
    // the backend (the thread then finishes on its own): the process should end without
    // running static destructors under it.
    static bool threadsLeftRunning();

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
