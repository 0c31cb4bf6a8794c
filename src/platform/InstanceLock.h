#pragma once

#include <string>

namespace platform {

// A per-user lock that only one running copy of the program can hold.
// It is an flock() on a file in $XDG_RUNTIME_DIR (else the config directory), so the kernel
// drops it when the holder exits or dies; nothing stale is ever left to clean up.
class InstanceLock {
public:
    // lockFile: empty for the default, $XDG_RUNTIME_DIR/skyvane.lock.
    explicit InstanceLock(std::string lockFile = {});
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class State {
        Acquired,      // this object holds the lock (now or already)
        HeldElsewhere, // another holder has it
        Unavailable,   // the lock file cannot be opened or locked: nobody can tell
    };
    State acquire();

    // True when this object holds the lock (now or already); false while another holds it
    // or the lock file cannot be opened.
    bool tryAcquire() { return acquire() == State::Acquired; }
    void release();

    const std::string& lockFile() const { return m_lockFile; }
    static std::string defaultLockFile();

private:
    std::string m_lockFile;
    int m_fd = -1;
};

} // namespace platform
