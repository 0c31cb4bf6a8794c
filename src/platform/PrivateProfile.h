#pragma once

#include "platform/FileSystem.h"
#include "platform/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Private-profile (INI) files: the program's settings, texts and profiles.
//
// The file is the state: every read looks at the file, so an edit by hand shows at the next
// read. To keep scans of hundreds of keys cheap, a parsed copy of each file is kept and reused
// only while the file is provably unchanged: same device and inode, same size, same
// modification time in nanoseconds, and that time older than the moment the copy was last
// checked by more than the file system's timestamp step, or ahead of the clock by more than
// that (otherwise the file is read again and compared with a digest of the cached copy).
//
// A file is read only when it is a regular file of at most maxFileBytes (4 MiB). Anything else
// present at the name (larger, a directory, a named pipe, a device) reads as an empty file, is
// never written over, and the user is told once through diag::notice.
//
// Every write replaces the file atomically (see replaceFileAtomically). Writes that belong
// together go through one IniTransaction and reach the disk as one replacement.
namespace platform {

// A consistent view of one INI file with pending writes; commit() writes them as one
// atomic replacement. Reads see the writes made so far. If the file changed on disk
// between the start and the commit, the writes are applied to the file's new content.
class IniTransaction {
public:
    // readName: the name to look the file up by; createName: the spelling a new file gets
    // (empty: readName). Both are program names (".\S.cba"), resolved without regard to case.
    explicit IniTransaction(const std::string& readName, FileAccess access = FileAccess::Shared,
                            const std::string& createName = {});

    bool fileExists() const { return m_exists; }
    // The file as this transaction sees it (its own writes included); empty when unreadable.
    const IniDocument& document() const { return *m_document; }
    const std::string& path() const { return m_path; }

    // The whole value, or nullopt when the section or key is missing.
    std::optional<std::string> find(const std::string& section, const std::string& key) const;

    // The value (or, when missing, defaultText) cut to bufferSize - 1 bytes, as read into a
    // buffer of bufferSize bytes.
    std::string readString(const std::string& section, const std::string& key, const std::string& defaultText,
                           std::size_t bufferSize) const;

    // The value read as a number by its leading digits; missing or not a number gives 0.
    int32_t readNumber(const std::string& section, const std::string& key) const;

    bool write(const std::string& section, const std::string& key, const std::string& value);

    // Writes the pending changes; written when there were none or they reached the disk.
    WriteResult commit();

private:
    struct Write {
        std::string section, key, value;
    };

    std::string m_path;
    FileAccess m_access;
    bool m_exists = false;
    ReadStatus m_readStatus = ReadStatus::Missing; // neither Read nor Missing: never overwritten
    bool m_ownCopy = false;                        // m_document is this transaction's own copy
    std::optional<FileStamp> m_stamp;
    std::shared_ptr<const IniDocument> m_document;
    std::vector<Write> m_writes;
};

// The value of key in section of a document (or, when missing, defaultText) cut to
// bufferSize - 1 bytes, as read into a buffer of bufferSize bytes.
std::string readBoundedString(const IniDocument& document, const std::string& section, const std::string& key,
                              const std::string& defaultText, std::size_t bufferSize);

// One key at a time, the way the settings pages use the files.
std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultText, std::size_t bufferSize);
int32_t readProfileNumber(const std::string& file, const std::string& section, const std::string& key);
WriteResult writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value, FileAccess access = FileAccess::Shared);

// How many times a whole file has been read so far (the cache's misses), for tests and
// benchmarks of the cache.
std::size_t profileFileReads();

// Replaces target by a copy of source (one atomic replacement); a failure when the source cannot
// be read or the target written, leaving the target as it was. Forgets the parsed copy of the
// target.
WriteResult copyProfileFile(const std::string& sourceName, const std::string& targetName, FileAccess access);

} // namespace platform
