#pragma once

#include "DriverApi.h"
#include "Snapshots.h"
#include "StationConfig.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// The only owner of the driver library. A monitor thread brings the driver up when an
// adapter is plugged in, notices when it is unplugged, and while the driver is ready
// refreshes the cached status, the wireless-service state and the configuration read back
// from the adapter once a second. The window thread reads the caches through the accessors
// (copies taken under the adapter lock) and asks for surveys and applies.
class WirelessAdapter {
public:
    enum class Monitor { Start, Manual };

    // With Monitor::Manual no thread is started: tests run cycles with RunMonitorCycle().
    explicit WirelessAdapter(DriverApi& driver, Monitor monitor = Monitor::Start,
                             std::chrono::milliseconds cyclePeriod = std::chrono::milliseconds(1000));
    virtual ~WirelessAdapter();

    WirelessAdapter(const WirelessAdapter&) = delete;
    WirelessAdapter& operator=(const WirelessAdapter&) = delete;

    // --- Window-thread operations; each returns 1 unless said otherwise ---
    int IsDriverAbsent(int32_t& absent);
    int WzcRequest(int op, int item, int32_t& value);
    int GetSurveyList(std::array<BssEntry, maxSurveyEntries>& entries); // returns the entry count
    int GetAdapterInfo(AdapterInfo& info);
    int GetLinkStatus(LinkStatus& status);
    // op 0: apply the record now; op 1: copy the cached read-back into it.
    int AccessSettings(int op, StationSettings& record);
    // The regulatory domain: the driver's channel-plan calls, made under the adapter lock like
    // every other call so the driver is never entered from two threads at once.
    int GetChannelPlanByCountry();
    int SetChannelPlanByCountry(int32_t plan);

    // --- Monitor steps, public so that tests can drive one cycle at a time ---
    void RunMonitorCycle(); // one cycle without the sleep
    int CheckDriverReady();
    int TransferSettings(int op, StationSettings& record);
    int WzcDriverCall(int op, int item, int32_t& value);

private:
    void ReadAdapterInfo();
    void RefreshStatus();
    void RefreshTraffic();
    void RefreshIpTexts();
    void RunSiteSurvey();
    void MonitorLoop();
    void ApplySettings(const StationSettings& record);
    void ApplySecurity(const StationSettings& record, int32_t encryptionCode);
    void ReadBackSettings(StationSettings& record);

    DriverApi& m_driver;

    int32_t m_wzcService = 0;
    int32_t m_wzcControlFlag = 0;
    std::atomic<int32_t> m_driverReady{0};
    AdapterInfo m_adapterInfo{};
    LinkStatus m_linkStatus{};
    uint64_t m_previousTxTotal = 0;
    uint64_t m_previousRxTotal = 0;
    bool m_haveTotals = false; // the first cycle after each initialisation has deltas 0
    int m_surveyCount = 0;
    std::array<BssEntry, maxSurveyEntries> m_surveyEntries{};
    StationConfig m_config{};

    std::recursive_mutex m_lock; // the adapter lock

    std::chrono::milliseconds m_cyclePeriod;
    std::mutex m_stopMutex;
    std::condition_variable m_stopSignal;
    bool m_stopRequested = false;
    std::thread m_thread;
};
