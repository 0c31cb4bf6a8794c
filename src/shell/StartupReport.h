#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

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
    if (FILE* file = std::fopen(report, "w")) {
        std::fprintf(file, "%.1f\n", static_cast<double>(elapsed) / 1e6);
        std::fclose(file);
    }
}
