#include "platform/InstanceLock.h"

#include "platform/FileSystem.h"
#include "platform/UserRegistry.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

InstanceLock::InstanceLock(std::string lockFile)
    : m_lockFile(lockFile.empty() ? defaultLockFile() : std::move(lockFile)) {}

InstanceLock::~InstanceLock() {
    release();
}

std::string InstanceLock::defaultLockFile() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/skyvane.lock";
    }
    return defaultConfigDirectory() + "/skyvane.lock";
}

InstanceLock::State InstanceLock::acquire() {
    if (m_fd >= 0) {
        return State::Acquired;
    }
    const auto slash = m_lockFile.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        makeDirectories(m_lockFile.substr(0, slash), 0700);
    }
    // A link planted at the lock's name would make us create or truncate whatever it points to:
    // links are not followed, and anything but a regular file is not locked.
    const int fd =
        ::open(m_lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return State::Unavailable;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return State::Unavailable;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? State::HeldElsewhere : State::Unavailable;
    }
    m_fd = fd;
    return State::Acquired;
}

void InstanceLock::release() {
    if (m_fd >= 0) {
        ::close(m_fd); // closing the only descriptor drops the flock
        m_fd = -1;
    }
}

} // namespace platform
