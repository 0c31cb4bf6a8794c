#include "Trace.h"

#include "TextEscape.h"

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
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    std::string record = line + '\n';
    ssize_t written = ::write(fd, record.data(), record.size());
    (void)written;
    ::close(fd);
}

} // namespace wlansim
