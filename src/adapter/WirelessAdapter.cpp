#include "adapter/WirelessAdapter.h"

#include "model/CodeTables.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <limits>
#include <list>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// Set for good once an adapter leaves a thread behind: from then on static destructors may
// run under that thread.
std::atomic<bool> leftRunning{false};

constexpr Clock::rep noCallRunning = std::numeric_limits<Clock::rep>::max();

} // namespace

// Everything the adapter's threads share. A thread holds the object by shared ownership, so
// a thread left running after the adapter was destroyed still finds it (and the backend).
//
// Two locks: `backend` serialises the work on the backend and guards the cycle's own state;
// `mutex` guards the snapshots, the request queue and the threads' bookkeeping, and is only
// ever held for a copy, never across a backend call. The window's thread takes only `mutex`.
struct WirelessAdapter::Shared {
    Shared(std::shared_ptr<AdapterBackend> backendIn, const Options& optionsIn)
        : adapterBackend(std::move(backendIn)), options(optionsIn) {}

    struct Request {
        enum class Kind { Apply, SetChannelPlan, OpenSystemSettings };
        Kind kind;
        StationSettings record{};
        int plan = 0;
    };

    // A thread of the adapter; `exited` is its last touch of this object.
    struct Worker {
        std::thread thread;
        bool exited = false;
    };

    const std::shared_ptr<AdapterBackend> adapterBackend;
    const Options options;

    // --- Serialised backend work ---
    std::mutex backend;
    bool started = false; // the backend was started and has not gone since
    bool haveTotals = false;
    uint64_t previousTxTotal = 0;
    uint64_t previousRxTotal = 0;
    // When the serialised backend call in progress began; noCallRunning between calls.
    std::atomic<Clock::rep> callSince{noCallRunning};
    // Set when destruction gave up waiting: no backend call may start after that.
    std::atomic<bool> abandoned{false};

    // --- Snapshots, requests and threads, under the short lock ---
    mutable std::mutex mutex;
    std::condition_variable wake;   // the monitor thread: a request or the stop
    std::condition_variable exited; // destruction: a worker has exited
    bool driverReady = false;
    AdapterInfo adapterInfo{};
    LinkStatus linkStatus{};
    StationSettings config{};
    bool serviceManages = false;
    int32_t serviceState = 0;
    std::vector<BssEntry> surveyResult;
    bool surveyRunning = false;
    std::deque<Request> requests;
    bool stopping = false;
    std::list<Worker> workers;

    // The listener is called under its own lock, so that destruction can wait for a call in
    // progress and no call starts after it.
    std::recursive_mutex listenerMutex;
    std::function<void()> listener;

    // --- Backend calls ---

    // Runs one serialised backend call (the caller holds `backend`) with the hang watch on.
    template <typename Call> auto watched(Call&& call) {
        struct Watch {
            std::atomic<Clock::rep>& since;
            ~Watch() { since.store(noCallRunning); }
        } watch{callSince};
        callSince.store(Clock::now().time_since_epoch().count());
        return call(*adapterBackend);
    }

    bool hung() const {
        const Clock::rep since = callSince.load();
        if (since == noCallRunning) {
            return false;
        }
        return Clock::now() - Clock::time_point(Clock::duration(since)) > options.hangLimit;
    }

    bool mayCall() const { return !abandoned.load(); }

    void runRequest(const Request& request) {
        switch (request.kind) {
        case Request::Kind::Apply:
            watched([&](AdapterBackend& b) { b.apply(request.record); });
            break;
        case Request::Kind::SetChannelPlan:
            watched([&](AdapterBackend& b) { b.setChannelPlan(request.plan); });
            break;
        case Request::Kind::OpenSystemSettings:
            watched([](AdapterBackend& b) { b.openSystemSettings(); });
            break;
        }
    }

    void runRequests(const std::deque<Request>& work) {
        const std::lock_guard<std::mutex> guard(backend);
        for (const Request& request : work) {
            if (!mayCall()) {
                return;
            }
            runRequest(request);
        }
    }

    std::deque<Request> takeRequests() {
        const std::lock_guard<std::mutex> guard(mutex);
        return std::exchange(requests, {});
    }

    // Queues a request for the monitor thread. A request that supersedes the one queued last
    // replaces it: an apply is a whole configuration, so with a stuck backend the queue holds
    // the latest wish instead of growing with every tick.
    void enqueue(Request request) {
        {
            const std::lock_guard<std::mutex> guard(mutex);
            if (stopping) {
                return;
            }
            if (!requests.empty() && requests.back().kind == request.kind) {
                requests.back() = std::move(request);
            } else {
                requests.push_back(std::move(request));
            }
        }
        wake.notify_all();
    }

    // In manual mode a request is carried out at once on the caller's thread.
    void submit(Request request) {
        if (options.monitor == Monitor::Manual) {
            runRequests({std::move(request)});
        } else {
            enqueue(std::move(request));
        }
    }

    // --- The monitor cycle ---

    void runCycle() {
        const std::lock_guard<std::mutex> guard(backend);
        if (!mayCall()) {
            return;
        }
        checkDriverReady();
        if (!started || !mayCall()) {
            return;
        }
        LinkStatus link{};
        TrafficReading traffic;
        watched([&](AdapterBackend& b) { b.readLink(link, traffic); });
        countTraffic(link.counters, traffic);
        if (!mayCall()) {
            return;
        }
        const bool manages = watched([](AdapterBackend& b) { return b.systemServiceManages(); });
        if (!mayCall()) {
            return;
        }
        const int32_t state = watched([](AdapterBackend& b) { return b.systemServiceState(); });
        if (!mayCall()) {
            return;
        }
        StationSettings readBack = copyOfConfig();
        watched([&](AdapterBackend& b) { b.readBack(readBack); });

        // One cycle becomes visible at once: a reader never sees half of it.
        const std::lock_guard<std::mutex> snapshot(mutex);
        linkStatus = link;
        serviceManages = manages;
        serviceState = state;
        config = readBack;
    }

    // Brings the backend up when an adapter answers, and notices when it has gone. The
    // caches keep their contents while the adapter is away.
    void checkDriverReady() {
        if (!started) {
            if (!watched([](AdapterBackend& b) { return b.probe(); }) || !mayCall()) {
                return; // no adapter
            }
            if (!watched([](AdapterBackend& b) { return b.start(); })) {
                if (mayCall()) {
                    watched([](AdapterBackend& b) { b.stop(); });
                }
                return;
            }
            started = true;
            haveTotals = false; // a fresh start counts from its own beginning
            if (!mayCall()) {
                return;
            }
            const AdapterInfo info = watched([](AdapterBackend& b) { return b.readAdapterInfo(); });
            const std::lock_guard<std::mutex> guard(mutex);
            adapterInfo = info;
            driverReady = true;
            return;
        }
        if (!watched([](AdapterBackend& b) { return b.unplugged(); }) || !mayCall()) {
            return;
        }
        watched([](AdapterBackend& b) { b.stop(); });
        started = false;
        const std::lock_guard<std::mutex> guard(mutex);
        driverReady = false;
    }

    void countTraffic(TrafficCounters& counters, const TrafficReading& traffic) {
        counters.counter0 = traffic.counters[0];
        counters.counter1 = traffic.counters[1];
        counters.counter2 = traffic.counters[2];
        counters.counter3 = traffic.counters[3];
        counters.counter4 = traffic.counters[4];
        counters.counter5 = traffic.counters[5];
        counters.counter6 = traffic.counters[6];
        if (!haveTotals) {
            previousTxTotal = traffic.txTotal;
            previousRxTotal = traffic.rxTotal;
            haveTotals = true;
        }
        // Unsigned arithmetic: a total that went down wraps modulo 2^64.
        counters.txDelta = traffic.txTotal - previousTxTotal;
        counters.rxDelta = traffic.rxTotal - previousRxTotal;
        previousTxTotal = traffic.txTotal;
        previousRxTotal = traffic.rxTotal;
    }

    StationSettings copyOfConfig() const {
        const std::lock_guard<std::mutex> guard(mutex);
        return config;
    }

    // Requests first, as soon as they come; a cycle every period, counted from the end of
    // the one before.
    void monitorLoop() {
        auto nextCycle = Clock::now();
        std::unique_lock<std::mutex> lock(mutex);
        while (!stopping) {
            wake.wait_until(lock, nextCycle, [this] { return stopping || !requests.empty(); });
            if (stopping) {
                break;
            }
            if (!requests.empty()) {
                std::deque<Request> work = std::exchange(requests, {});
                lock.unlock();
                runRequests(work);
                lock.lock();
                continue;
            }
            if (Clock::now() < nextCycle) {
                continue;
            }
            lock.unlock();
            runCycle();
            lock.lock();
            nextCycle = Clock::now() + options.cyclePeriod;
        }
    }

    // --- Site survey ---

    void runSurvey() {
        bool requested = false;
        {
            const std::lock_guard<std::mutex> guard(backend);
            if (mayCall()) {
                requested = watched([](AdapterBackend& b) { return b.requestScan(); });
            }
        }
        // The scan itself is not serialised: the monitor cycle goes on meanwhile.
        std::vector<BssEntry> found;
        if (requested && mayCall()) {
            found = adapterBackend->collectScan();
        }
        if (found.size() > static_cast<std::size_t>(maxSurveyEntries)) {
            found.resize(static_cast<std::size_t>(maxSurveyEntries));
        }
        {
            const std::lock_guard<std::mutex> guard(mutex);
            surveyResult = std::move(found);
            surveyRunning = false;
        }
        const std::lock_guard<std::recursive_mutex> guard(listenerMutex);
        if (listener && !isStopping()) {
            listener();
        }
    }

    bool isStopping() const {
        const std::lock_guard<std::mutex> guard(mutex);
        return stopping;
    }

    // --- Threads ---

    // Starts a worker; the caller holds `mutex`. When no thread can be made, the error
    // (std::system_error) leaves no entry behind.
    void startWorker(const std::shared_ptr<Shared>& self, void (Shared::*body)()) {
        const auto worker = workers.emplace(workers.end());
        try {
            worker->thread = std::thread([self, body, worker] {
                ((*self).*body)();
                const std::lock_guard<std::mutex> guard(self->mutex);
                worker->exited = true;
                self->exited.notify_all();
            });
        } catch (...) {
            workers.erase(worker);
            throw;
        }
    }

    // Takes the workers that have exited out of the list; the caller holds `mutex` and joins
    // them after releasing it (which returns at once: they have finished their work).
    std::list<Worker> takeExitedWorkers() {
        std::list<Worker> done;
        for (auto it = workers.begin(); it != workers.end();) {
            const auto next = std::next(it);
            if (it->exited) {
                done.splice(done.end(), workers, it);
            }
            it = next;
        }
        return done;
    }

    bool allWorkersExited() const {
        for (const Worker& worker : workers) {
            if (!worker.exited) {
                return false;
            }
        }
        return true;
    }
};

WirelessAdapter::WirelessAdapter(std::shared_ptr<AdapterBackend> backend, Options options)
    : m_shared(std::make_shared<Shared>(std::move(backend), options)) {
    // Every cache starts cleared (value-initialised members); the link mode starts at 1.
    m_shared->linkStatus.linkMode = 1;
    if (options.monitor == Monitor::Start) {
        const std::lock_guard<std::mutex> guard(m_shared->mutex);
        m_shared->startWorker(m_shared, &Shared::monitorLoop);
    }
}

WirelessAdapter::WirelessAdapter(std::shared_ptr<AdapterBackend> backend, Monitor monitor)
    : WirelessAdapter(std::move(backend), Options{.monitor = monitor}) {}

WirelessAdapter::~WirelessAdapter() {
    Shared& shared = *m_shared;
    {
        const std::lock_guard<std::mutex> guard(shared.mutex);
        shared.stopping = true;
        shared.requests.clear(); // nobody is left to see their effect
    }
    shared.wake.notify_all();
    {
        // Waits for a listener call in progress; none starts after this.
        const std::lock_guard<std::recursive_mutex> guard(shared.listenerMutex);
        shared.listener = nullptr;
    }

    std::unique_lock<std::mutex> lock(shared.mutex);
    const bool allExited = shared.exited.wait_for(lock, shared.options.stopWait,
                                                  [&shared] { return shared.allWorkersExited(); });
    if (allExited) {
        std::list<Shared::Worker> done = std::exchange(shared.workers, {});
        lock.unlock();
        for (Shared::Worker& worker : done) {
            worker.thread.join();
        }
        return;
    }
    // A thread is stuck in the backend. It finishes on its own and makes no further backend
    // call; the shared state stays alive with it. Its list entry stays too, since the thread
    // marks it when it exits.
    shared.abandoned.store(true);
    leftRunning.store(true);
    std::list<Shared::Worker> done = shared.takeExitedWorkers();
    for (Shared::Worker& worker : shared.workers) {
        if (worker.thread.joinable()) {
            worker.thread.detach();
        }
    }
    lock.unlock();
    for (Shared::Worker& worker : done) {
        worker.thread.join();
    }
}

// --- Reads ---

bool WirelessAdapter::isDriverAbsent() const {
    {
        const std::lock_guard<std::mutex> guard(m_shared->mutex);
        if (!m_shared->driverReady) {
            return true;
        }
    }
    return m_shared->hung();
}

AdapterInfo WirelessAdapter::adapterInfo() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->adapterInfo;
}

LinkStatus WirelessAdapter::linkStatus() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->linkStatus;
}

void WirelessAdapter::copyReadBack(StationSettings& record) const {
    // Only what the read-back fills is copied, through the same tables once more; keys,
    // passphrase and certificate texts stay as the caller has them.
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    const StationSettings& cache = m_shared->config;
    std::memcpy(record.AdvancedMode, cache.AdvancedMode, sizeof record.AdvancedMode);
    record.AuthenticationMode = codes::authenticationFromDriver(cache.AuthenticationMode);
    record.RadioOff = cache.RadioOff;
    record.Channel = codes::channelIndexKept(cache.Channel);
    record.ChannelPlan = codes::channelPlanFromDriver(cache.ChannelPlan);
    copyText(record.cSSID, cache.cSSID);
    record.EncryptionMode = codes::encryptionFromDriver(cache.EncryptionMode);
    record.BeaconInterval = cache.BeaconInterval;
    record.iDefaultWEPKeyID = cache.iDefaultWEPKeyID;
    record.FragmentationThreshold = cache.FragmentationThreshold;
    record.RTSThreshold = cache.RTSThreshold;
    record.NetworkType = codes::networkTypeFromDriver(cache.NetworkType);
    record.PowerSaveMode = codes::powerSaveFromDriver(cache.PowerSaveMode);
    record.PreambleMode = codes::preambleFromDriver(cache.PreambleMode);
    record.TxRateAuto = cache.TxRateAuto;
    record.TxRate = codes::txRateFromDriver(cache.TxRate);
    std::memcpy(record.WirelessMode, cache.WirelessMode, sizeof record.WirelessMode);
}

int WirelessAdapter::channelPlanCode() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->config.ChannelPlan;
}

bool WirelessAdapter::systemServiceManages() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->serviceManages;
}

int32_t WirelessAdapter::systemServiceState() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->serviceState;
}

// --- Requests ---

void WirelessAdapter::apply(const StationSettings& record) {
    Shared::Request request{Shared::Request::Kind::Apply};
    request.record = record;
    m_shared->submit(std::move(request));
}

void WirelessAdapter::setChannelPlan(int plan) {
    Shared::Request request{Shared::Request::Kind::SetChannelPlan};
    request.plan = plan;
    m_shared->submit(std::move(request));
}

void WirelessAdapter::openSystemSettings() {
    m_shared->submit(Shared::Request{Shared::Request::Kind::OpenSystemSettings});
}

// --- Site survey ---

bool WirelessAdapter::startSurvey() {
    Shared& shared = *m_shared;
    std::list<Shared::Worker> done; // survey threads that have ended, joined below
    bool started = true;
    {
        const std::lock_guard<std::mutex> guard(shared.mutex);
        if (shared.surveyRunning || shared.stopping) {
            return false;
        }
        shared.surveyRunning = true;
        if (shared.options.monitor == Monitor::Start) {
            done = shared.takeExitedWorkers();
            try {
                shared.startWorker(m_shared, &Shared::runSurvey);
            } catch (const std::system_error&) {
                shared.surveyRunning = false; // no thread to scan with: no survey
                started = false;
            }
        }
    }
    for (Shared::Worker& worker : done) {
        worker.thread.join();
    }
    if (started && shared.options.monitor == Monitor::Manual) {
        shared.runSurvey();
    }
    return started;
}

bool WirelessAdapter::surveyRunning() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->surveyRunning;
}

std::vector<BssEntry> WirelessAdapter::surveyResult() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return m_shared->surveyResult;
}

void WirelessAdapter::setSurveyListener(std::function<void()> listener) {
    const std::lock_guard<std::recursive_mutex> guard(m_shared->listenerMutex);
    m_shared->listener = std::move(listener);
}

// --- Monitor ---

void WirelessAdapter::runMonitorCycle() {
    m_shared->runRequests(m_shared->takeRequests());
    m_shared->runCycle();
}

bool WirelessAdapter::threadsLeftRunning() {
    return leftRunning.load();
}
