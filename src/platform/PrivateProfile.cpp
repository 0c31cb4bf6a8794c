#include "platform/PrivateProfile.h"

#include "platform/Diagnostics.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

constexpr std::size_t kCachedFiles = 16;

std::atomic<std::size_t> wholeReads{0};

// What a cached document was parsed from. Only a digest is kept, not the bytes themselves: the
// parsed lines already hold them once.
uint64_t digestOf(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes) ^ (static_cast<uint64_t>(bytes.size()) << 1);
}

struct CachedFile {
    FileStamp stamp;
    int64_t checkedAtNs = 0; // the file held the bytes of digest at this time
    uint64_t digest = 0;
    std::shared_ptr<const IniDocument> document;
};

struct LoadedFile {
    std::shared_ptr<const IniDocument> document; // null unless status is Read
    std::optional<FileStamp> stamp;
    ReadStatus status = ReadStatus::Missing;
};

class DocumentCache {
public:
    // The parsed file at path with its stamp.
    LoadedFile load(const std::string& path) {
        const int64_t now = realTimeNs();
        const auto stamp = stampOf(path);
        if (stamp) {
            std::lock_guard lock(m_mutex);
            const auto it = m_files.find(path);
            if (it != m_files.end() && it->second.stamp == *stamp &&
                stampProvesContent(stamp->modifiedNs, it->second.checkedAtNs, now)) {
                return {it->second.document, stamp, ReadStatus::Read};
            }
        }
        FileRead read = readSettingsFile(path);
        ++wholeReads;
        if (read.status != ReadStatus::Read) {
            forget(path);
            return {nullptr, std::nullopt, read.status};
        }
        // The stamp taken by the read is the file that was read; a change under the read shows
        // as a newer stamp at the next look.
        const uint64_t digest = digestOf(read.content);
        std::lock_guard lock(m_mutex);
        auto& entry = m_files[path];
        if (entry.stamp != read.stamp || entry.digest != digest || !entry.document) {
            entry.document = std::make_shared<const IniDocument>(read.content);
            entry.digest = digest;
            entry.stamp = read.stamp;
        }
        entry.checkedAtNs = now;
        trim(path);
        return {entry.document, read.stamp, ReadStatus::Read};
    }

    void store(const std::string& path, const FileStamp& stamp, std::string_view bytes,
               std::shared_ptr<const IniDocument> document, int64_t writtenAtNs) {
        std::lock_guard lock(m_mutex);
        m_files[path] = CachedFile{stamp, writtenAtNs, digestOf(bytes), std::move(document)};
        trim(path);
    }

    void forget(const std::string& path) {
        std::lock_guard lock(m_mutex);
        m_files.erase(path);
    }

private:
    void trim(const std::string& keep) {
        if (m_files.size() <= kCachedFiles) {
            return;
        }
        for (auto it = m_files.begin(); it != m_files.end();) {
            it = it->first == keep ? std::next(it) : m_files.erase(it);
        }
    }

    std::mutex m_mutex;
    std::unordered_map<std::string, CachedFile> m_files;
};

DocumentCache& cache() {
    static DocumentCache instance;
    return instance;
}

std::string cutToBuffer(std::string text, std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    if (text.size() > bufferSize - 1) {
        text.resize(bufferSize - 1);
    }
    return text;
}

} // namespace

IniTransaction::IniTransaction(const std::string& readName, FileAccess access, const std::string& createName)
    : m_path(resolveFileName(readName)), m_access(access) {
    LoadedFile loaded = cache().load(m_path);
    if (loaded.status == ReadStatus::Missing && !createName.empty()) {
        m_path = resolveFileName(createName);
        loaded = cache().load(m_path);
    }
    m_exists = loaded.document != nullptr;
    m_readStatus = loaded.status;
    m_stamp = loaded.stamp;
    m_document = m_exists ? std::move(loaded.document) : std::make_shared<const IniDocument>();
}

std::optional<std::string> IniTransaction::find(const std::string& section, const std::string& key) const {
    const auto value = m_document->find(section, key);
    return value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
}

std::string readBoundedString(const IniDocument& document, const std::string& section, const std::string& key,
                              const std::string& defaultText, std::size_t bufferSize) {
    const auto value = document.find(section, key);
    return cutToBuffer(value ? std::string(*value) : defaultText, bufferSize);
}

std::string IniTransaction::readString(const std::string& section, const std::string& key,
                                       const std::string& defaultText, std::size_t bufferSize) const {
    return readBoundedString(*m_document, section, key, defaultText, bufferSize);
}

int32_t IniTransaction::readNumber(const std::string& section, const std::string& key) const {
    const auto value = m_document->find(section, key);
    return value ? leadingNumber(*value) : 0;
}

bool IniTransaction::write(const std::string& section, const std::string& key, const std::string& value) {
    if (!m_ownCopy) {
        // The cache shares the parsed file; copy it once, then edit the copy in place.
        m_document = std::make_shared<IniDocument>(*m_document);
        m_ownCopy = true;
    }
    if (!std::const_pointer_cast<IniDocument>(m_document)->set(section, key, value)) {
        return false;
    }
    m_writes.push_back(Write{section, key, value});
    return true;
}

WriteResult IniTransaction::commit() {
    if (m_writes.empty()) {
        return {};
    }
    const auto refused = [this](ReadStatus status) {
        return WriteResult::failed(m_path + " " + refusalReason(status) + ", so it is not written over");
    };
    if (m_readStatus != ReadStatus::Read && m_readStatus != ReadStatus::Missing) {
        return refused(m_readStatus); // never replace a file whose content we could not see
    }
    std::shared_ptr<const IniDocument> result = m_document;
    if (stampOf(m_path) != m_stamp) {
        // Changed behind our back since we read it: apply our writes to what is there now.
        LoadedFile current = cache().load(m_path);
        if (current.status != ReadStatus::Read && current.status != ReadStatus::Missing) {
            return refused(current.status); // it became a file we cannot see: leave it alone
        }
        auto replay = std::make_shared<IniDocument>(current.document ? *current.document : IniDocument{});
        for (const Write& w : m_writes) {
            replay->set(w.section, w.key, w.value);
        }
        result = replay;
    }
    const int64_t before = realTimeNs();
    std::string bytes = result->text();
    FileStamp stamp;
    if (WriteResult written = replaceFileAtomically(m_path, bytes, m_access, &stamp); !written) {
        cache().forget(m_path);
        return written;
    }
    cache().store(m_path, stamp, bytes, result, before);
    m_document = result;
    m_ownCopy = false;
    m_stamp = stamp;
    m_exists = true;
    m_writes.clear();
    return {};
}

std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultText, std::size_t bufferSize) {
    return IniTransaction(file).readString(section, key, defaultText, bufferSize);
}

std::size_t profileFileReads() {
    return wholeReads;
}

int32_t readProfileNumber(const std::string& file, const std::string& section, const std::string& key) {
    return IniTransaction(file).readNumber(section, key);
}

WriteResult writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value, FileAccess access) {
    IniTransaction transaction(file, access);
    if (!transaction.write(section, key, value)) {
        return WriteResult::failed(transaction.path() + ": [" + section + "] " + key +
                                   " is not a name the file can hold");
    }
    return transaction.commit();
}

WriteResult copyProfileFile(const std::string& sourceName, const std::string& targetName, FileAccess access) {
    const std::string target = resolveFileName(targetName);
    WriteResult copied = copyFileOver(resolveFileName(sourceName), target, access);
    cache().forget(target);
    return copied;
}

} // namespace platform
