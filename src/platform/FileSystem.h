#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

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

std::optional<FileStamp> stampOf(const std::string& path);

// Reads a whole regular file; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces path with content atomically: a temporary file in the same directory is written,
// flushed to disk and renamed over path, so a crash leaves the old file or the new one.
// An existing file keeps its permission bits; a new one gets those of access.
// On success the stamp of the new file is stored in *stamp when given.
bool replaceFileAtomically(const std::string& path, const std::string& content, FileAccess access,
                           FileStamp* stamp = nullptr);

// What the last replacement that failed on this thread ran into ("S.cba: writing: No space left
// on device"), for a message to the user; every failure is also reported to the diagnostics.
const std::string& lastWriteFailure();

// Whether replacements wait for the disk (fsync of the file and its directory). On by default;
// the rename alone already makes a replacement atomic for a process that is killed, the
// syncs make it last through a power cut. Tests that kill processes turn them off for speed.
void setSyncToDisk(bool on);

// What createFileAtomically() did.
enum class CreateResult {
    Created,
    AlreadyExists, // a file (or anything else) of that name was there: left as it was
    Failed,        // see lastWriteFailure(); nothing of the new file is left behind
};

// Creates path with content unless something of that name exists. The content is written to a
// temporary file beside it and moved into place in one step that never replaces, so path never
// appears half written and a file that turned up meanwhile is kept.
CreateResult createFileAtomically(const std::string& path, const std::string& content, FileAccess access);

// Copies source over target as one atomic replacement; false (target untouched) when the
// source cannot be read or the target cannot be written.
bool copyFileOver(const std::string& source, const std::string& target, FileAccess access);

// Creates a directory and its parents with the given mode; true when it exists afterwards.
bool makeDirectories(const std::string& path, mode_t mode);

// Nanoseconds of the real-time clock, the clock file times are taken from.
int64_t realTimeNs();

} // namespace platform
