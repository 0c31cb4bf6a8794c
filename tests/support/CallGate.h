#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

// Holds the caller of one driver call inside it until the test opens the gate, as a driver
// that hangs would. Every call of that name that arrives while the gate is closed waits; the
// wait ends by itself after `limit`, so a failing test cannot hang for good. Install it with
// RecordingDriver::setCallHook, capturing a shared pointer: a thread left running may still
// pass through it after the test has moved on.
class CallGate {
public:
    explicit CallGate(std::string callName, std::chrono::milliseconds limit = std::chrono::milliseconds(5000))
        : m_callName(std::move(callName)), m_limit(limit) {}

    // The hook: called with each log line.
    void pass(const std::string& line) {
        if (line.compare(0, line.find(' '), m_callName) != 0) {
            return;
        }
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_open) {
            return;
        }
        ++m_inside;
        ++m_entered;
        m_changed.notify_all();
        m_changed.wait_for(lock, m_limit, [this] { return m_open; });
        --m_inside;
        m_changed.notify_all();
    }

    // Waits until a call is held (true) or the deadline passes (false).
    bool waitUntilHolding(std::chrono::milliseconds deadline = std::chrono::milliseconds(5000)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, deadline, [this] { return m_inside > 0; });
    }

    // Waits until no call is held any more.
    bool waitUntilEmpty(std::chrono::milliseconds deadline = std::chrono::milliseconds(10000)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, deadline, [this] { return m_inside == 0; });
    }

    bool holding() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_inside > 0;
    }

    int entered() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_entered;
    }

    void open() {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }

    void close() {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_open = false;
    }

private:
    const std::string m_callName;
    const std::chrono::milliseconds m_limit;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_inside = 0;
    int m_entered = 0;
};
