#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

// For bench/idle: writes the time from launch (SKYVANE_LAUNCH_NS, realtime nanoseconds, set by
// the benchmark) to now, in milliseconds, into the file SKYVANE_STARTUP_REPORT names. Called at
// the first turn of the event loop. Does nothing unless both are set.
inline void reportStartupTime() {
    const char* launch = std::getenv("SKYVANE_LAUNCH_NS");
    const char* report = std::getenv("SKYVANE_STARTUP_REPORT");
    if (launch == nullptr || report == nullptr) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - std::atoll(launch);
    // Never follows a link to create or truncate the file it points to.
    const int fd = ::open(report, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd >= 0) {
        char text[32];
        const int length = std::snprintf(text, sizeof text, "%.1f\n", static_cast<double>(elapsed) / 1e6);
        [[maybe_unused]] const ssize_t written = ::write(fd, text, static_cast<size_t>(length));
        ::close(fd);
    }
}
