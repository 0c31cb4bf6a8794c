#include "FileAccess.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wlansim {
namespace {

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        content.remove_prefix(std::size_t(written));
    }
    return true;
}

} // namespace

std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    char buffer[8192];
    while (content.size() < maxBytes) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        content.append(buffer, std::size_t(got));
    }
    ::close(fd);
    if (content.size() > maxBytes) {
        content.resize(maxBytes);
    }
    return content;
}

bool writeFileAtomically(const std::string& path, std::string_view content, mode_t mode) {
    std::string temporary = path + ".tmpXXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace wlansim
