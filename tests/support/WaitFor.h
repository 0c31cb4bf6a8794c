#pragma once
// Waiting in a test for what another thread, another process or the event loop brings about.

#include <chrono>
#include <functional>
#include <thread>

// What a wait does between two looks at its condition, besides a short sleep. A test executable
// with a Qt application sets it to handle the application's events (support/QtTestSetup.h), so
// timers fire and queued calls arrive while its tests wait; elsewhere it stays empty. The waits
// themselves need no Qt.
inline std::function<void()>& waitPump() {
    static std::function<void()> pump;
    return pump;
}

// Looks at condition until it holds or the deadline has passed, and returns its last answer.
// Between two looks the pump runs and the thread sleeps for `between` (longer where a look is
// costly). The deadline is a limit against hanging, never a measure of speed: give it room.
template <typename Condition>
bool waitFor(Condition&& condition, std::chrono::milliseconds deadline = std::chrono::seconds(5),
             std::chrono::milliseconds between = std::chrono::milliseconds(5)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!static_cast<bool>(condition())) {
        if (std::chrono::steady_clock::now() >= end) {
            return static_cast<bool>(condition());
        }
        if (const std::function<void()>& pump = waitPump()) {
            pump();
        }
        std::this_thread::sleep_for(between);
    }
    return true;
}
