#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, the permission bits of files bind this thread even when it runs as root (CI
// does): the capabilities that override them leave the thread's effective set, and come back
// from its permitted set afterwards. For an ordinary user it changes nothing.
class StrictPermissions {
public:
    StrictPermissions() {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0) {
            return;
        }
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~StrictPermissions() {
        if (m_lowered) {
            ::syscall(SYS_capset, &m_header, m_saved);
        }
    }
    StrictPermissions(const StrictPermissions&) = delete;
    StrictPermissions& operator=(const StrictPermissions&) = delete;

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};
