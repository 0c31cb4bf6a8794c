#include "platform/Diagnostics.h"

#include "platform/ShownText.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace diag {
namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

Sink& currentSink() {
    static Sink sink;
    return sink;
}

const char* levelName(Level level) {
    switch (level) {
    case Level::Debug:
        return "debug";
    case Level::Info:
        return "info";
    case Level::Warning:
        return "warning";
    case Level::Notice:
        return "warning";
    }
    return "warning";
}

} // namespace

void setSink(Sink sink) {
    const std::lock_guard guard(sinkMutex());
    currentSink() = std::move(sink);
}

void report(Level level, std::string_view category, std::string_view rawMessage) {
    // Messages carry names from outside (files, networks): a name with a line break must not
    // write a line of its own into the log, nor a direction override turn the line around.
    const std::string escaped = platform::escapedControls(rawMessage);
    const std::string_view message = escaped;
    Sink sink;
    {
        const std::lock_guard guard(sinkMutex());
        sink = currentSink();
    }
    if (sink) {
        sink(level, category, message);
        return;
    }
    if (level == Level::Debug) {
        return;
    }
    std::fprintf(stderr, "%.*s: %s: %.*s\n", static_cast<int>(category.size()), category.data(),
                 levelName(level), static_cast<int>(message.size()), message.data());
}

std::string reason(int errorNumber) {
    char buffer[256];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
    return text != nullptr ? std::string(text) : std::string("error ") + std::to_string(errorNumber);
}

} // namespace diag
