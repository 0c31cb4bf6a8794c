#include "platform/FileSystem.h"

#include "platform/Diagnostics.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

int64_t toNs(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The names in a directory, kept while the directory is provably unchanged: adding, removing or
// renaming an entry gives the directory a new change time. Every settings lookup resolves
// its file's name, so this turns reading the whole directory into one stat() per lookup.
class DirectoryCache {
public:
    // The names in dir, or null when it cannot be read.
    std::shared_ptr<const std::vector<std::string>> names(const std::string& dir) {
        const int64_t now = realTimeNs(); // before the stat: a change after it shows in the stamp
        struct stat info {};
        if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            return nullptr;
        }
        // The change time: the kernel sets it with every new entry, and nobody can set it back.
        const FileStamp stamp{info.st_dev, info.st_ino, info.st_size, toNs(info.st_ctim)};
        {
            const std::lock_guard<std::mutex> guard(m_mutex);
            const auto it = m_listings.find(dir);
            if (it != m_listings.end() && it->second.stamp == stamp &&
                stampProvesContent(stamp.modifiedNs, it->second.checkedAtNs, now)) {
                return it->second.names;
            }
        }
        DIR* stream = ::opendir(dir.c_str());
        if (stream == nullptr) {
            return nullptr;
        }
        auto listing = std::make_shared<std::vector<std::string>>();
        while (const dirent* entry = ::readdir(stream)) {
            listing->emplace_back(entry->d_name);
        }
        ::closedir(stream);
        const std::lock_guard<std::mutex> guard(m_mutex);
        if (m_listings.size() >= kCachedDirectories) {
            m_listings.clear();
        }
        m_listings[dir] = Listing{stamp, now, listing};
        return listing;
    }

private:
    static constexpr std::size_t kCachedDirectories = 16;
    struct Listing {
        FileStamp stamp;
        int64_t checkedAtNs = 0; // the directory held these names at this time
        std::shared_ptr<const std::vector<std::string>> names;
    };
    std::mutex m_mutex;
    std::unordered_map<std::string, Listing> m_listings;
};

DirectoryCache& directories() {
    static DirectoryCache instance;
    return instance;
}

// The entry of dir that matches name without regard to case; the first by bytes among several.
std::string findEntry(const std::string& dir, const std::string& name) {
    const auto names = directories().names(dir.empty() ? "." : dir);
    if (!names) {
        return name;
    }
    const std::string* best = nullptr;
    for (const std::string& entry : *names) {
        if (equalNoCase(name, entry.c_str()) && (best == nullptr || best->compare(entry) > 0)) {
            best = &entry;
        }
    }
    return best != nullptr ? *best : name;
}

FileStamp stampFrom(const struct stat& info) {
    return FileStamp{info.st_dev, info.st_ino, info.st_size, toNs(info.st_mtim)};
}

bool writeAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A temporary name next to path that no other writer picks.
std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".tmp.%ld.%u.%lld", static_cast<long>(::getpid()), counter++,
                  static_cast<long long>(realTimeNs() % 1000000007));
    return dir + "." + base + suffix;
}

std::atomic<bool> syncToDisk{true};

// Files the user has been told about (noticeRefusedFile).
std::mutex& refusedMutex() {
    static std::mutex mutex;
    return mutex;
}
std::set<std::string>& refusedFiles() {
    static std::set<std::string> files;
    return files;
}

// Reports why a replacement of path failed, and says so as the write's result.
WriteResult failed(const std::string& path, const char* step, int errorNumber) {
    const std::string reason = path + ": " + step + ": " + diag::reason(errorNumber);
    diag::warning(diag::platformCategory, "could not write " + reason);
    return WriteResult::failed(reason);
}

// Removes temporary files of path that a writer killed mid-replacement left behind; a
// temporary whose writer process still runs is left alone.
void removeStaleTemporaries(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string prefix = "." + (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp.";
    DIR* stream = ::opendir(dir.c_str());
    if (stream == nullptr) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            stale.push_back(dir + "/" + name);
        }
    }
    ::closedir(stream);
    for (const std::string& file : stale) {
        ::unlink(file.c_str());
    }
}

void syncDirectory(const std::string& dir) {
    if (!syncToDisk) {
        return;
    }
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void setSyncToDisk(bool on) {
    syncToDisk = on;
}

bool stampProvesContent(int64_t modifiedNs, int64_t checkedAtNs, int64_t nowNs) {
    return checkedAtNs - modifiedNs > timestampStepNs || modifiedNs - nowNs > timestampStepNs;
}

int64_t realTimeNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return toNs(now);
}

std::string resolveFileName(const std::string& programName) {
    return resolveFileNameIn("", programName);
}

std::string resolveFileNameIn(const std::string& base, const std::string& programName) {
    std::string name = programName;
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    while (name.size() >= 2 && name[0] == '.' && name[1] == '/') {
        name.erase(0, 2);
    }
    std::string resolved = !base.empty() ? base : !name.empty() && name[0] == '/' ? "/" : "";
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        const std::string part = name.substr(start, end - start);
        if (!part.empty()) {
            const std::string dir = resolved.empty() ? "." : resolved;
            const bool special = part == "." || part == "..";
            if (!resolved.empty() && resolved.back() != '/') {
                resolved += '/';
            }
            resolved += special ? part : findEntry(dir, part);
        }
        start = end + 1;
    }
    return resolved;
}

std::optional<FileStamp> stampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return stampFrom(info);
}

FileRead readRegularFile(const std::string& path, std::size_t maxBytes) {
    FileRead result;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        result.error = errno;
        result.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        if (result.status == ReadStatus::Missing && ::lstat(path.c_str(), &info) == 0) {
            result.status = ReadStatus::BrokenLink;
        }
        return result;
    }
    // A named pipe would block open() until a writer comes, a device may never end: neither is
    // opened at all. O_NONBLOCK covers a pipe put in the file's place after the stat().
    if (!S_ISREG(info.st_mode)) {
        result.status = ReadStatus::NotRegular;
        return result;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.status = ReadStatus::NotRegular;
        return result;
    }
    result.stamp = stampFrom(info);
    std::string& content = result.content;
    content.reserve(std::min(static_cast<std::size_t>(info.st_size), maxBytes));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.error = errno;
            ::close(fd);
            return FileRead{ReadStatus::Failed, {}, {}, result.error};
        }
        if (n == 0) {
            break;
        }
        // A file that grows while it is read is held to the same cap.
        if (content.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            return FileRead{ReadStatus::TooLarge, {}, {}, 0};
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.status = ReadStatus::Read;
    return result;
}

FileRead readSettingsFile(const std::string& path) {
    FileRead read = readRegularFile(path);
    if (read.status == ReadStatus::Read && !withinLineCap(read.content)) {
        read = FileRead{ReadStatus::TooLarge, {}, {}, 0};
    }
    if (read.status == ReadStatus::Read || read.status == ReadStatus::Missing) {
        forgetRefusedFile(path);
    } else {
        noticeRefusedFile(diag::platformCategory, path, read.status);
    }
    return read;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    FileRead read = readRegularFile(path);
    if (read.status != ReadStatus::Read) {
        return std::nullopt;
    }
    return std::move(read.content);
}

bool withinLineCap(std::string_view text) {
    std::size_t lines = !text.empty() && text.back() != '\n' ? 1 : 0; // a last line without its break
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        if (++lines > maxFileLines) {
            return false;
        }
    }
    return lines <= maxFileLines;
}

void noticeRefusedFile(std::string_view category, const std::string& path, ReadStatus status) {
    if (status != ReadStatus::TooLarge && status != ReadStatus::NotRegular &&
        status != ReadStatus::BrokenLink) {
        return;
    }
    {
        const std::lock_guard guard(refusedMutex());
        if (!refusedFiles().insert(path).second) {
            return;
        }
    }
    diag::notice(category, path + " " + refusalReason(status) + ": it is not read, and not written over");
}

std::string refusalReason(ReadStatus status) {
    switch (status) {
    case ReadStatus::TooLarge:
        return "is larger than " + std::to_string(maxFileBytes >> 20) + " MiB or " +
               std::to_string(maxFileLines) + " lines";
    case ReadStatus::BrokenLink:
        return "is a link to a file that does not exist";
    case ReadStatus::NotRegular:
        return "is not a regular file";
    case ReadStatus::Failed:
        return "could not be read";
    case ReadStatus::Read:
    case ReadStatus::Missing:
        break;
    }
    return "could not be read";
}

WriteResult WriteResult::failed(std::string reason) {
    WriteResult result;
    result.m_failure = reason.empty() ? std::string("the file could not be written") : std::move(reason);
    return result;
}

const std::string& WriteResult::reason() const {
    static const std::string none;
    return m_failure ? *m_failure : none;
}

void forgetRefusedFile(const std::string& path) {
    const std::lock_guard guard(refusedMutex());
    refusedFiles().erase(path);
}

namespace {

// Writes content to a new temporary file beside path: on success its name, with its stamp in
// *written; otherwise nullopt, with why in *failure. keepMode, when given, is the mode the file
// gets instead of the one access implies.
std::optional<std::string> writeTemporaryBeside(const std::string& path, const std::string& content,
                                                FileAccess access, const mode_t* keepMode,
                                                struct stat* written, WriteResult* failure) {
    const std::string temporary = temporaryNameFor(path);
    const mode_t createMode = access == FileAccess::Private ? 0600 : 0666;
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, createMode);
    if (fd < 0) {
        *failure = failed(path, "creating a temporary file", errno);
        return std::nullopt;
    }
    const char* step = nullptr;
    int error = 0;
    const auto check = [&](bool ok, const char* what) {
        if (!ok && step == nullptr) {
            step = what;
            error = errno;
        }
    };
    if (keepMode != nullptr) {
        check(::fchmod(fd, *keepMode) == 0, "setting its mode");
    }
    if (step == nullptr) {
        check(writeAll(fd, content), "writing");
    }
    if (step == nullptr && syncToDisk) {
        check(::fsync(fd) == 0, "flushing to disk");
    }
    if (step == nullptr) {
        check(::fstat(fd, written) == 0, "reading its stamp");
    }
    check(::close(fd) == 0, "closing");
    if (step != nullptr) {
        ::unlink(temporary.c_str());
        *failure = failed(path, step, error);
        return std::nullopt;
    }
    return temporary;
}

// Moves temporary to path unless path exists. Where the file system has no such rename, a hard
// link gives the same promise.
CreateResult moveIntoPlaceUnlessExists(const std::string& temporary, const std::string& path) {
    int error = 0;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
        return {CreateStatus::Created, {}};
    }
    error = errno;
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
        if (::link(temporary.c_str(), path.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return {CreateStatus::Created, {}};
        }
        error = errno;
    }
    ::unlink(temporary.c_str());
    if (error == EEXIST) {
        return {CreateStatus::AlreadyExists, {}};
    }
    return {CreateStatus::Failed, failed(path, "moving the new file into place", error).reason()};
}

} // namespace

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool existsAtAll(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> regularFilesIn(const std::string& folder,
                                        const std::function<bool(const std::string&)>& keep) {
    std::vector<std::string> names;
    DIR* stream = ::opendir(folder.c_str());
    if (stream == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        if (!name.empty() && name[0] != '.' && (!keep || keep(name)) && isRegularFile(folder + "/" + name)) {
            names.push_back(name);
        }
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

WriteResult replaceFileAtomically(const std::string& path, const std::string& content, FileAccess access,
                                  FileStamp* stamp) {
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    // A replacement keeps the old file's mode, but a file of secrets never keeps bits that let
    // others read it.
    const mode_t keep = existing.st_mode & (access == FileAccess::Private ? 0700 : 07777);
    struct stat written {};
    WriteResult failure;
    const auto temporary =
        writeTemporaryBeside(path, content, access, exists ? &keep : nullptr, &written, &failure);
    if (!temporary) {
        return failure;
    }
    if (::rename(temporary->c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary->c_str());
        return failed(path, "renaming over the old file", error);
    }
    syncDirectory(directoryOf(path));
    removeStaleTemporaries(path);
    if (stamp != nullptr) {
        *stamp = stampFrom(written);
    }
    return {};
}

CreateResult createFileAtomically(const std::string& path, const std::string& content, FileAccess access) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        return {CreateStatus::AlreadyExists, {}};
    }
    struct stat written {};
    WriteResult failure;
    const auto temporary = writeTemporaryBeside(path, content, access, nullptr, &written, &failure);
    if (!temporary) {
        return {CreateStatus::Failed, failure.reason()};
    }
    CreateResult result = moveIntoPlaceUnlessExists(*temporary, path);
    if (result.status == CreateStatus::Created) {
        syncDirectory(directoryOf(path));
        removeStaleTemporaries(path);
    }
    return result;
}

WriteResult copyFileOver(const std::string& source, const std::string& target, FileAccess access) {
    FileRead read = readRegularFile(source);
    if (read.status != ReadStatus::Read) {
        return WriteResult::failed(
            source + (read.status == ReadStatus::Missing ? " is missing" : " " + refusalReason(read.status)));
    }
    return replaceFileAtomically(target, read.content, access);
}

bool makeDirectories(const std::string& path, mode_t mode) {
    if (path.empty()) {
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeDirectories(path.substr(0, slash), mode)) {
        return false;
    }
    return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

} // namespace platform
