#include "PrivateProfile.h"

#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

// Coarser than any timestamp step of a local file system (a kernel tick is at most 10 ms).
constexpr int64_t kTimestampStepNs = 50'000'000;
constexpr std::size_t kCachedFiles = 16;

struct CachedFile {
    FileStamp stamp;
    int64_t checkedAtNs = 0; // the file held these bytes at this time
    std::string bytes;
    std::shared_ptr<const IniDocument> document;
};

class DocumentCache {
public:
    // The parsed file at path with its stamp; a null document when the file is missing.
    std::pair<std::shared_ptr<const IniDocument>, std::optional<FileStamp>> load(const std::string& path) {
        const int64_t now = realTimeNs();
        const auto stamp = stampOf(path);
        if (!stamp) {
            return {nullptr, std::nullopt};
        }
        {
            std::lock_guard lock(m_mutex);
            const auto it = m_files.find(path);
            if (it != m_files.end() && it->second.stamp == *stamp &&
                it->second.checkedAtNs - stamp->modifiedNs > kTimestampStepNs) {
                return {it->second.document, stamp};
            }
        }
        // Read, then check that the file did not change under the read.
        auto bytes = readWholeFile(path);
        if (!bytes || stampOf(path) != stamp) {
            return {nullptr, std::nullopt};
        }
        std::lock_guard lock(m_mutex);
        auto& entry = m_files[path];
        if (entry.stamp != *stamp || entry.bytes != *bytes || !entry.document) {
            entry.document = std::make_shared<const IniDocument>(*bytes);
            entry.bytes = std::move(*bytes);
            entry.stamp = *stamp;
        }
        entry.checkedAtNs = now;
        trim(path);
        return {entry.document, stamp};
    }

    void store(const std::string& path, const FileStamp& stamp, std::string bytes,
               std::shared_ptr<const IniDocument> document, int64_t writtenAtNs) {
        std::lock_guard lock(m_mutex);
        m_files[path] = CachedFile{stamp, writtenAtNs, std::move(bytes), std::move(document)};
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
    auto [document, stamp] = cache().load(m_path);
    if (!document && !createName.empty() && !stampOf(m_path)) {
        m_path = resolveFileName(createName);
        std::tie(document, stamp) = cache().load(m_path);
    }
    m_exists = document != nullptr;
    m_unreadable = !m_exists && stampOf(m_path).has_value();
    m_stamp = stamp;
    m_document = document ? std::move(document) : std::make_shared<const IniDocument>();
}

std::optional<std::string> IniTransaction::find(const std::string& section, const std::string& key) const {
    const auto value = m_document->find(section, key);
    return value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
}

std::string IniTransaction::readString(const std::string& section, const std::string& key,
                                       const std::string& defaultText, std::size_t bufferSize) const {
    const auto value = m_document->find(section, key);
    return cutToBuffer(value ? std::string(*value) : defaultText, bufferSize);
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

bool IniTransaction::commit() {
    if (m_writes.empty()) {
        return true;
    }
    if (m_unreadable) {
        return false; // never replace a file whose content we could not see
    }
    std::shared_ptr<const IniDocument> result = m_document;
    if (stampOf(m_path) != m_stamp) {
        // Changed behind our back since we read it: apply our writes to what is there now.
        auto [current, stamp] = cache().load(m_path);
        auto replay = std::make_shared<IniDocument>(current ? *current : IniDocument{});
        for (const Write& w : m_writes) {
            replay->set(w.section, w.key, w.value);
        }
        result = replay;
    }
    const int64_t before = realTimeNs();
    std::string bytes = result->text();
    FileStamp stamp;
    if (!replaceFileAtomically(m_path, bytes, m_access, &stamp)) {
        cache().forget(m_path);
        return false;
    }
    cache().store(m_path, stamp, std::move(bytes), result, before);
    m_document = result;
    m_ownCopy = false;
    m_stamp = stamp;
    m_exists = true;
    m_writes.clear();
    return true;
}

std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultText, std::size_t bufferSize) {
    return IniTransaction(file).readString(section, key, defaultText, bufferSize);
}

int32_t readProfileNumber(const std::string& file, const std::string& section, const std::string& key) {
    return IniTransaction(file).readNumber(section, key);
}

bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value, FileAccess access) {
    IniTransaction transaction(file, access);
    return transaction.write(section, key, value) && transaction.commit();
}

bool copyProfileFile(const std::string& sourceName, const std::string& targetName, FileAccess access) {
    const std::string target = resolveFileName(targetName);
    const bool copied = copyFileOver(resolveFileName(sourceName), target, access);
    cache().forget(target);
    return copied;
}

} // namespace platform
