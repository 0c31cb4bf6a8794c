#include "wlansim/Trace.h"

#include "wlansim/TextEscape.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace wlansim {

void TraceLine::separate() {
    if (m_arrow && m_firstResult) {
        m_firstResult = false;
        return;
    }
    m_line += ' ';
}

void TraceLine::arrow() {
    if (!m_arrow) {
        m_line += " -> ";
        m_arrow = true;
        m_firstResult = true;
    }
}

void TraceLine::number(long long value) {
    separate();
    m_line += std::to_string(value);
}

void TraceLine::text(const char* value, std::size_t limit) {
    separate();
    m_line += value ? quoteText(std::string_view(value, strnlen(value, limit))) : std::string("NULL");
}

void TraceLine::bytes(const unsigned char* value, std::size_t count) {
    separate();
    if (!value) {
        m_line += "NULL";
        return;
    }
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            m_line += ':';
        }
        m_line += digits[value[i] >> 4];
        m_line += digits[value[i] & 15];
    }
}

void TraceLine::ints(const int32_t* value, std::size_t count) {
    separate();
    if (!value) {
        m_line += "NULL";
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            m_line += ',';
        }
        m_line += std::to_string(value[i]);
    }
}

void appendTraceLine(const std::string& path, const std::string& line) {
    // The trace may be an existing file reached through a link (/dev/stderr), but a new file is
    // only ever made at the name itself: a link that leads nowhere is not followed to create
    // its target. A pipe without a reader is skipped rather than waited for.
    constexpr int flags = O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
    }
    if (fd < 0) {
        return;
    }
    std::string record = line + '\n';
    ssize_t written = ::write(fd, record.data(), record.size());
    (void)written;
    ::close(fd);
}

} // namespace wlansim
