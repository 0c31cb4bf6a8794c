#include "wlansim/FileAccess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

std::optional<std::string> readFile(const std::string& path, std::size_t maxBytes, std::string* problem) {
    const auto refuse = [problem](std::string why) -> std::optional<std::string> {
        if (problem != nullptr) {
            *problem = std::move(why);
        }
        return std::nullopt;
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return refuse(std::strerror(errno));
    }
    // A named pipe would hold open() until a writer comes and a device may never end: only a
    // regular file is opened, and O_NONBLOCK covers a pipe put in its place after the stat().
    if (!S_ISREG(info.st_mode)) {
        return refuse("not a regular file");
    }
    const std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
    if (std::size_t(info.st_size) > maxBytes) {
        return refuse(tooLarge);
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return refuse(std::strerror(errno));
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return refuse("not a regular file");
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            int error = errno;
            ::close(fd);
            return refuse(std::strerror(error));
        }
        if (got == 0) {
            break;
        }
        // Never a part of a file: a cut file would lose its last lines when written back.
        if (content.size() + std::size_t(got) > maxBytes) {
            ::close(fd);
            return refuse(tooLarge);
        }
        content.append(buffer, std::size_t(got));
    }
    ::close(fd);
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
