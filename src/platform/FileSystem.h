#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// File access shared by the INI files, the registry store and the instance lock.
//
// The program names its files the way its settings always have: ".\S.cba", "./a.cba", with
// backslashes as separators, relative to the working directory, and without regard to case.
// resolveFileName() turns such a name into a path on this file system.
namespace platform {

// Who may read a file that is created by a replacement. An existing file keeps its mode.
enum class FileAccess {
    Shared,  // 0666 less the umask
    Private, // owner only (0600): files that hold keys and passphrases
};

// Identity and version of a file as far as stat() can tell.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// Resolves a program file name: a leading ".\" or "./" is dropped, backslashes become
// separators, and each component is looked up in its directory without regard to case.
// When several entries match, the one that sorts first by bytes is taken, whatever spelling
// was asked for, so ".\S.cba" and ".\S.CBA" always name one file. A component that matches
// nothing keeps the spelling given (that is the name a new file gets).
std::string resolveFileName(const std::string& programName);

// The same below the folder base (taken as it is, without looking at case); the result starts
// with base.
std::string resolveFileNameIn(const std::string& base, const std::string& programName);

// The stamp of a regular file; nullopt when path is missing or names anything else.
std::optional<FileStamp> stampOf(const std::string& path);

// Coarser than any timestamp step of a local file system (a kernel tick is at most 10 ms).
inline constexpr int64_t timestampStepNs = 50'000'000;

// Whether a file (or directory) whose stamp is unchanged since checkedAtNs is known to hold
// what it held then. A change after that moment would carry a modification time of its own
// moment, so the stamp proves the content unless that moment could share the file's time:
// when the file's time lies within a timestamp step of the check. A time ahead of the clock
// (a file from a machine whose clock runs fast, or "touch -d tomorrow") proves as much: a
// change since the check would carry today's time, not the future one.
bool stampProvesContent(int64_t modifiedNs, int64_t checkedAtNs, int64_t nowNs);

// The largest file the program reads: its INI files and registry keys are a few kilobytes, and
// a file that is larger by orders of magnitude is a mistake or an attack, not settings. Reading
// it would hold it several times over in memory.
inline constexpr std::size_t maxFileBytes = std::size_t{4} << 20;
// The most lines an INI file or registry key may have: each parsed line costs some tens of
// bytes beside its text, so 4 MiB of empty lines would cost far more than 4 MiB. A store of
// 200 profiles is some ten thousand lines.
inline constexpr std::size_t maxFileLines = 65536;

// Whether a text is within maxFileLines.
bool withinLineCap(std::string_view text);

// What came of reading a file.
enum class ReadStatus {
    Read,       // content holds the whole file
    Missing,    // nothing at the path
    BrokenLink, // a symbolic link to nothing: present, so a write would replace the link
    NotRegular, // a directory, a named pipe, a device, a socket: never opened for reading
    TooLarge,   // over the cap (in bytes, or in lines where the reader counts them)
    Failed,     // present, but it could not be opened or read (permissions, I/O)
};

struct FileRead {
    ReadStatus status = ReadStatus::Missing;
    std::string content;
    FileStamp stamp; // of the file that was read (status Read)
    int error = 0;   // errno for Failed
};

// Reads a whole regular file of at most maxBytes. Anything else is refused without waiting:
// a named pipe without a writer, a device or a directory comes back at once as NotRegular,
// an endless or growing file as TooLarge once maxBytes have been seen.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes = maxFileBytes);

// Reads a whole regular file of at most maxFileBytes; nullopt otherwise.
std::optional<std::string> readWholeFile(const std::string& path);

// Why a file present at a name is not read (too large, not a regular file, a link to nothing,
// unreadable), as a sentence's end: "is not a regular file".
std::string refusalReason(ReadStatus status);

// Tells the user (diag::notice), once per file, that a file of theirs is present but cannot be
// used: it is too large, not a regular file or a link to nothing. A later read that succeeds makes the file
// eligible for a new notice. category: the layer that refused it.
void noticeRefusedFile(std::string_view category, const std::string& path, ReadStatus status);
void forgetRefusedFile(const std::string& path);

// Reads a settings file (an INI file or a registry key): a regular file within maxFileBytes and
// maxFileLines. A file that is present but refused is told to the user once; a missing one, or
// one read, makes a later refusal worth telling again.
FileRead readSettingsFile(const std::string& path);

// What came of a write: it reached the disk, or it did not and this is why ("S.cba: writing: No
// space left on device"), for a message to the user. Every failure is also reported to the
// diagnostics where it happens.
class WriteResult {
public:
    WriteResult() = default; // written
    static WriteResult failed(std::string reason);

    bool written() const { return !m_failure.has_value(); }
    explicit operator bool() const { return written(); }
    // Why the write failed; empty when it did not.
    const std::string& reason() const;

private:
    std::optional<std::string> m_failure;
};

// Replaces path with content atomically: a temporary file in the same directory is written,
// flushed to disk and renamed over path, so a crash leaves the old file or the new one.
// An existing file keeps its permission bits; a new one gets those of access.
// On success the stamp of the new file is stored in *stamp when given.
WriteResult replaceFileAtomically(const std::string& path, const std::string& content, FileAccess access,
                                  FileStamp* stamp = nullptr);

// Whether replacements wait for the disk (fsync of the file and its directory). On by default;
// the rename alone already makes a replacement atomic for a process that is killed, the
// syncs make it last through a power cut. Tests that kill processes turn them off for speed.
void setSyncToDisk(bool on);

// What createFileAtomically() did.
enum class CreateStatus {
    Created,
    AlreadyExists, // a file (or anything else) of that name was there: left as it was
    Failed,        // nothing of the new file is left behind
};

struct CreateResult {
    CreateStatus status = CreateStatus::Failed;
    std::string failure; // Failed: why, as WriteResult::reason() says it
};

// Creates path with content unless something of that name exists. The content is written to a
// temporary file beside it and moved into place in one step that never replaces, so path never
// appears half written and a file that turned up meanwhile is kept.
CreateResult createFileAtomically(const std::string& path, const std::string& content, FileAccess access);

// Copies source over target as one atomic replacement; a failure (target untouched) when the
// source cannot be read or the target cannot be written.
WriteResult copyFileOver(const std::string& source, const std::string& target, FileAccess access);

// Whether path is a regular file (a link to one counts) / names anything at all, a link to
// nothing included.
bool isRegularFile(const std::string& path);
bool existsAtAll(const std::string& path);

// The folder part of a path: "." for a bare name, "/" for a file in the root.
std::string directoryOf(const std::string& path);

// The names of the regular files directly in folder that keep accepts (every one without it),
// hidden ones left out, in byte order: a folder has no order of its own.
std::vector<std::string> regularFilesIn(const std::string& folder,
                                        const std::function<bool(const std::string&)>& keep = {});

// Creates a directory and its parents with the given mode; true when it exists afterwards.
bool makeDirectories(const std::string& path, mode_t mode);

// Nanoseconds of the real-time clock, the clock file times are taken from.
int64_t realTimeNs();

} // namespace platform
