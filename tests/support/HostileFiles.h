#pragma once

// Things that are not what their name promises, planted where a reader expects a file, and a
// way to run a read that may hang without hanging the test.
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace hostile {

enum class Kind {
    PipeWithoutWriter, // open() for reading waits for a writer that never comes
    EndlessDevice,     // a link to /dev/zero: reads never end
    Directory,
    DanglingLink,
    OverCap, // a regular file one byte over the reader's cap, its text readable up front
};

struct KindCase {
    Kind kind;
    const char* name;
};

inline constexpr KindCase kAllKinds[] = {
    {Kind::PipeWithoutWriter, "a named pipe without a writer"},
    {Kind::EndlessDevice, "/dev/zero"},
    {Kind::Directory, "a directory"},
    {Kind::DanglingLink, "a link to nothing"},
    {Kind::OverCap, "a file over the cap"},
};

// Puts the thing at path (which must not exist). OverCap writes text, then extends the file
// sparsely to cap + 1 bytes, so a reader that ignores the cap finds the text.
inline bool plant(Kind kind, const std::string& path, std::size_t cap, const std::string& text = {}) {
    switch (kind) {
    case Kind::PipeWithoutWriter:
        return ::mkfifo(path.c_str(), 0600) == 0;
    case Kind::EndlessDevice:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    case Kind::Directory:
        return ::mkdir(path.c_str(), 0700) == 0;
    case Kind::DanglingLink:
        return ::symlink((path + ".nowhere").c_str(), path.c_str()) == 0;
    case Kind::OverCap: {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            return false;
        }
        const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                        ::ftruncate(fd, static_cast<off_t>(cap + 1)) == 0;
        ::close(fd);
        return ok;
    }
    }
    return false;
}

// What is at path now, to show that a reader or writer left it alone.
inline std::string describe(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return "nothing";
    }
    return "mode " + std::to_string(info.st_mode) + ", inode " + std::to_string(info.st_ino) + ", size " +
           std::to_string(info.st_size);
}

// Runs read() on a thread of its own and waits at most deadline for it. nullopt when it did not
// finish in time; the pipes named in release are then opened for writing so that a reader
// stuck in open() comes free, and the thread is given a little longer before it is left alone.
// read must own everything it uses (capture by value): it may outlive the call.
template <typename Read>
auto finishesWithin(std::chrono::milliseconds deadline, Read read, std::vector<std::string> release = {})
    -> std::optional<decltype(read())> {
    using Result = decltype(read());
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread worker([shared, read = std::move(read)]() mutable {
        Result result = read();
        const std::lock_guard lock(shared->mutex);
        shared->result.emplace(std::move(result));
        shared->done.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    if (shared->done.wait_for(lock, deadline, [&] { return shared->result.has_value(); })) {
        lock.unlock();
        worker.join();
        return shared->result;
    }
    lock.unlock();
    for (const std::string& pipe : release) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
        }
    }
    lock.lock();
    if (shared->done.wait_for(lock, std::chrono::seconds(5), [&] { return shared->result.has_value(); })) {
        lock.unlock();
        worker.join();
    } else {
        worker.detach();
    }
    return std::nullopt;
}

} // namespace hostile
