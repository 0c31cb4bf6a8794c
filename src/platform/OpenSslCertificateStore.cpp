#include "platform/OpenSslCertificateStore.h"

#include "platform/DataFolder.h"

#include "platform/Diagnostics.h"
#include "platform/FileSystem.h"
#include "platform/ShownText.h"

#include <openssl/x509.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Format = CertificateFileContent::Format;

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "client.pem" -> "client"; a name without an extension (or only a leading dot) is its own stem.
std::string stemOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : lowerAscii(name.substr(dot));
}

// The file of the same base name ending in ".key", where a certificate's key may be.
std::string companionOf(const std::string& path) {
    return platform::directoryOf(path) + "/" + stemOf(fileNameOf(path)) + ".key";
}

// The names OpenSSL looks certificates up by in a hashed directory: eight hex digits, a dot and
// a number ("9d04f354.0"); "<hash>.r<n>" are revocation lists.
bool isHashedCertificateName(const std::string& name) {
    if (name.size() < 10 || name[8] != '.') {
        return false;
    }
    for (std::size_t i = 0; i < 8; ++i) {
        if (std::string_view("0123456789abcdef").find(name[i]) == std::string_view::npos) {
            return false;
        }
    }
    return std::all_of(name.begin() + 9, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> splitPathList(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= list.size()) {
        auto end = list.find(':', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (end > start) {
            parts.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Where an import lands: the file, and its key's companion when one comes with it.
struct Placement {
    std::string name;
    std::string keyName;
};

const ParsedCertificate* withMatchingKey(const std::vector<ParsedCertificate>& certificates,
                                         const std::vector<ParsedKey>& keys) {
    for (std::size_t i = 0; i < certificates.size(); ++i) {
        if (keyMatches(certificates[i], i == 0, keys)) {
            return &certificates[i];
        }
    }
    return nullptr;
}

// Why a certificate file was not read, as the end of a sentence: "Permission denied", "it is
// larger than 4 MiB, more than any certificate file".
std::string readFailure(const platform::FileRead& read) {
    switch (read.status) {
    case platform::ReadStatus::Failed:
        return read.error != 0 ? diag::reason(read.error) : std::string("it could not be read");
    case platform::ReadStatus::TooLarge:
        return "it is larger than " + std::to_string(platform::maxFileBytes >> 20) +
               " MiB, more than any certificate file";
    case platform::ReadStatus::Missing:
        return "it is not there";
    case platform::ReadStatus::BrokenLink:
        return "it is a link to a file that does not exist";
    case platform::ReadStatus::NotRegular:
        return "it is not a regular file";
    case platform::ReadStatus::Read:
        break;
    }
    return "it could not be read";
}

bool sameContent(const std::string& path, const std::string& content) {
    const auto existing = platform::readWholeFile(path);
    return existing && *existing == content;
}

} // namespace

CertificateFolders CertificateFolders::forUser() {
    const std::optional<std::string> base = platform::userDataFolder(platform::currentFolderEnvironment());
    if (!base) {
        return {};
    }
    return {*base + "/certificates", *base + "/authorities"};
}

SystemTrust SystemTrust::fromEnvironment() {
    SystemTrust trust;
    const std::string file = environment(X509_get_default_cert_file_env());
    trust.file = file.empty() ? X509_get_default_cert_file() : file;
    const std::string directories = environment(X509_get_default_cert_dir_env());
    trust.directories = splitPathList(directories.empty() ? X509_get_default_cert_dir() : directories);
    return trust;
}

std::string shortLocalDate(std::time_t time) {
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) {
        return {};
    }
    char text[64];
    // The locale's own date form, two-digit year included where that is what the user chose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-y2k"
    const std::size_t length = std::strftime(text, sizeof text, "%x", &local);
#pragma GCC diagnostic pop
    return std::string(text, length);
}

OpenSslCertificateStore::OpenSslCertificateStore()
    : OpenSslCertificateStore(CertificateFolders::forUser(), SystemTrust::fromEnvironment()) {}

OpenSslCertificateStore::OpenSslCertificateStore(CertificateFolders folders, SystemTrust trust,
                                                 DateFormatter date)
    : m_folders(std::move(folders)), m_trust(std::move(trust)), m_date(std::move(date)) {}

OpenSslCertificateStore::~OpenSslCertificateStore() {
    m_stopping = true;
    std::thread reader;
    {
        const std::lock_guard guard(m_readingMutex);
        reader = std::move(m_reader);
    }
    // Joined without the lock: the reading takes it to hand over each file.
    if (reader.joinable()) {
        reader.join();
    }
}

void OpenSslCertificateStore::startReading() const {
    const std::lock_guard guard(m_readingMutex);
    if (m_readerBusy || m_stopping) {
        return; // the reading under way is as fresh as a new one
    }
    if (m_reader.joinable()) {
        m_reader.join(); // it has finished: it let go of the lock for the last time
    }
    ++m_readings;
    for (CertificateListing& listing : m_listings) {
        listing = CertificateListing{};
        listing.reading = m_readings;
    }
    m_readerBusy = true;
    m_reader = std::thread([this] { readInBackground(); });
}

CertificateListing OpenSslCertificateStore::listing(CertificateKind kind) const {
    bool started = false;
    {
        const std::lock_guard guard(m_readingMutex);
        started = m_readings > 0;
    }
    if (!started) {
        startReading();
    }
    const std::lock_guard guard(m_readingMutex);
    return m_listings[kind == CertificateKind::Personal ? 0 : 1];
}

void OpenSslCertificateStore::publish(CertificateKind kind, const std::vector<Entry>& entries) const {
    const std::lock_guard guard(m_readingMutex);
    CertificateListing& listing = m_listings[kind == CertificateKind::Personal ? 0 : 1];
    for (const Entry& entry : entries) {
        listing.certificates.push_back(entry.certificate.info);
    }
}

void OpenSslCertificateStore::readInBackground() const {
    const auto personal = loadPersonal(
        [this](const std::vector<Entry>& entries) { publish(CertificateKind::Personal, entries); });
    {
        const std::lock_guard guard(m_readingMutex);
        m_listings[0].opened = personal.has_value();
        m_listings[0].complete = true;
    }
    loadAuthorities(
        [this](const std::vector<Entry>& entries) { publish(CertificateKind::Authority, entries); });
    const std::lock_guard guard(m_readingMutex);
    m_listings[1].complete = true;
    m_readerBusy = false;
}

std::optional<std::vector<CertificateInfo>>
OpenSslCertificateStore::certificatesOf(CertificateKind kind) const {
    const auto entries = load(kind);
    if (!entries) {
        return std::nullopt;
    }
    std::vector<CertificateInfo> certificates;
    certificates.reserve(entries->size());
    for (const Entry& entry : *entries) {
        certificates.push_back(entry.certificate.info);
    }
    return certificates;
}

std::optional<std::vector<OpenSslCertificateStore::Entry>>
OpenSslCertificateStore::load(CertificateKind kind) const {
    if (kind == CertificateKind::Personal) {
        return loadPersonal();
    }
    return loadAuthorities();
}

std::optional<std::vector<OpenSslCertificateStore::Entry>>
OpenSslCertificateStore::loadPersonal(const FileRead& found) const {
    if (m_folders.personal.empty() || !platform::makeDirectories(m_folders.personal, 0700)) {
        diag::warning(diag::platformCategory,
                      "no folder for personal certificates: " +
                          (m_folders.personal.empty() ? "no home" : m_folders.personal));
        return std::nullopt;
    }
    std::vector<Entry> entries;
    const auto names = platform::regularFilesIn(
        m_folders.personal, [](const std::string& name) { return extensionOf(name) != ".key"; });
    // A file is read again only when it, or the key beside it, changed since the last time.
    // The lock is held only to look at the map: a file being read keeps nobody waiting.
    std::map<std::string, PersonalFile> cache;
    for (const std::string& name : names) {
        if (m_stopping) {
            return std::nullopt;
        }
        const std::string path = m_folders.personal + "/" + name;
        PersonalFile file{platform::stampOf(path), platform::stampOf(companionOf(path)), {}};
        bool known = false;
        {
            const std::lock_guard guard(m_personalMutex);
            const auto cached = m_personalFiles.find(path);
            if (cached != m_personalFiles.end() && cached->second.stamp &&
                cached->second.stamp == file.stamp && cached->second.companionStamp == file.companionStamp) {
                file.entries = cached->second.entries;
                known = true;
            }
        }
        if (!known) {
            bool readable = true;
            file.entries = readPersonalFile(path, readable);
            if (!readable) {
                file.stamp.reset(); // read again next time: the reason may be gone
            }
        }
        if (found) {
            found(file.entries);
        }
        entries.insert(entries.end(), file.entries.begin(), file.entries.end());
        cache.emplace(path, std::move(file));
    }
    const std::lock_guard guard(m_personalMutex);
    m_personalFiles = std::move(cache);
    return entries;
}

std::vector<OpenSslCertificateStore::Entry> OpenSslCertificateStore::readPersonalFile(const std::string& path,
                                                                                      bool& readable) const {
    std::vector<Entry> entries;
    const platform::FileRead read = platform::readRegularFile(path);
    if (read.status != platform::ReadStatus::Read) {
        readable = false;
        reportSkipped(path, readFailure(read));
        return entries;
    }
    const CertificateFileContent file = readCertificateFile(read.content);
    if (!file.unreadable.empty()) {
        reportSkipped(path, file.unreadable);
        return entries;
    }
    if (file.passwordProtected) {
        Entry entry;
        entry.certificate.info.displayName = fileNameOf(path);
        entry.certificate.info.passwordProtected = true;
        entry.file = path;
        entry.pkcs12 = true;
        entries.push_back(std::move(entry));
        return entries;
    }
    if (file.certificates.empty()) {
        reportSkipped(path, "no certificate could be read from it");
        return entries;
    }
    std::optional<std::vector<ParsedKey>> companionKeys;
    const std::string companion = companionOf(path);
    for (std::size_t i = 0; i < file.certificates.size(); ++i) {
        Entry entry;
        entry.certificate = file.certificates[i];
        entry.certificate.info.issuedDate = m_date ? m_date(entry.certificate.notBefore) : std::string();
        entry.file = path;
        entry.pkcs12 = file.format == Format::Pkcs12;
        const bool first = i == 0;
        if (entry.pkcs12) {
            entry.keyFile = entry.certificate.info.hasPrivateKey ? path : std::string();
        } else if (keyMatches(entry.certificate, first, file.keys)) {
            entry.keyFile = path;
            entry.keyEncrypted = !keyMatches(entry.certificate, false, file.keys);
        } else {
            if (!companionKeys) {
                const auto keyContent = platform::readWholeFile(companion);
                companionKeys = keyContent ? readCertificateFile(*keyContent).keys : std::vector<ParsedKey>{};
            }
            if (keyMatches(entry.certificate, first, *companionKeys)) {
                entry.keyFile = companion;
                entry.keyEncrypted = !keyMatches(entry.certificate, false, *companionKeys);
            }
        }
        entry.certificate.info.hasPrivateKey = !entry.keyFile.empty();
        entries.push_back(std::move(entry));
    }
    return entries;
}

void OpenSslCertificateStore::reportSkipped(const std::string& path, const std::string& reason) const {
    // Every opening of the dialog reads the folders again: one line per file and reason is
    // enough.
    const std::lock_guard guard(m_reportedMutex);
    if (m_reported.insert(path + "\n" + reason).second) {
        diag::warning(diag::platformCategory, path + ": " + reason + "; skipped");
    }
}

std::vector<OpenSslCertificateStore::Entry>
OpenSslCertificateStore::loadAuthorities(const FileRead& found) const {
    std::vector<Entry> entries;
    std::set<std::vector<std::uint8_t>> seen;
    // A certificate found twice (the bundle and the hashed directory hold the same ones) is
    // listed, and read, once.
    CertificateReading reading;
    reading.namesOnly = true;
    reading.pkcs12 = false; // no authority comes as PKCS#12, and its key derivation costs
    reading.wanted = [&seen](const std::vector<std::uint8_t>& hash) {
        return hash.empty() || seen.insert(hash).second;
    };
    const auto addFile = [&](const std::string& path) {
        if (m_stopping) {
            return;
        }
        const platform::FileRead read = platform::readRegularFile(path);
        if (read.status != platform::ReadStatus::Read) {
            if (read.status != platform::ReadStatus::Missing) {
                reportSkipped(path, readFailure(read));
            }
            return;
        }
        CertificateFileContent file = readCertificateFile(read.content, reading);
        if (file.certificates.empty() && file.leftOut == 0) {
            reportSkipped(path, "no certificate could be read from it");
        }
        const std::size_t first = entries.size();
        for (ParsedCertificate& certificate : file.certificates) {
            Entry entry;
            entry.certificate = std::move(certificate);
            entry.file = path;
            entries.push_back(std::move(entry));
        }
        if (found && entries.size() > first) {
            found(std::vector<Entry>(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.end()));
        }
    };
    if (!m_trust.file.empty()) {
        addFile(m_trust.file);
    }
    for (const std::string& directory : m_trust.directories) {
        for (const std::string& name : platform::regularFilesIn(directory, isHashedCertificateName)) {
            addFile(directory + "/" + name);
        }
    }
    if (!m_folders.authorities.empty()) {
        for (const std::string& name : platform::regularFilesIn(m_folders.authorities)) {
            addFile(m_folders.authorities + "/" + name);
        }
    }
    if (!m_stopping) {
        const std::lock_guard guard(m_authorityMutex);
        m_authorityEntries = entries;
    }
    return entries;
}

std::optional<CertificateFiles> OpenSslCertificateStore::filesFor(const std::string& identifier) const {
    const auto hash = ParseIdentifier(identifier);
    if (!hash) {
        return std::nullopt;
    }
    // What the last reading resolved; reading here could hold the adapter's thread for long.
    const std::lock_guard guard(m_personalMutex);
    for (const auto& [path, file] : m_personalFiles) {
        for (const Entry& entry : file.entries) {
            if (entry.certificate.info.hash == *hash && !entry.keyFile.empty()) {
                return CertificateFiles{entry.file, entry.keyFile, entry.pkcs12, entry.keyEncrypted};
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> OpenSslCertificateStore::pemFor(const std::string& identifier) const {
    const auto hash = ParseIdentifier(identifier);
    if (!hash) {
        return std::nullopt;
    }
    const std::lock_guard guard(m_authorityMutex);
    for (const Entry& entry : m_authorityEntries) {
        if (entry.certificate.info.hash == *hash) {
            std::string pem = pemOf(entry.certificate, false);
            return pem.empty() ? std::nullopt : std::optional<std::string>(std::move(pem));
        }
    }
    return std::nullopt;
}

ImportOutcome OpenSslCertificateStore::importFile(CertificateKind kind, const std::string& path) {
    ImportOutcome outcome;
    const std::string shownName = "\"" + platform::shownText(fileNameOf(path)) + "\"";
    const bool personal = kind == CertificateKind::Personal;
    const std::string& folder = personal ? m_folders.personal : m_folders.authorities;
    if (folder.empty()) {
        outcome.message =
            "There is no folder to keep certificates in: neither XDG_DATA_HOME nor HOME is set.";
        return outcome;
    }
    // A file over the size cap holds no certificate: the system's whole bundle is a few hundred
    // kilobytes.
    const platform::FileRead read = platform::readRegularFile(path);
    if (read.status != platform::ReadStatus::Read) {
        outcome.message = "The file " + shownName + " could not be read: " + readFailure(read) + ".";
        return outcome;
    }
    const std::string& content = read.content;
    const CertificateFileContent file = readCertificateFile(content);
    if (!file.unreadable.empty()) {
        outcome.message = "The file " + shownName + " could not be read: " + file.unreadable + ".";
        return outcome;
    }
    if (file.passwordProtected) {
        outcome.message = "The file " + shownName +
                          " is protected by a password. Export the certificate again without a password, "
                          "then import that file.";
        return outcome;
    }
    if (file.certificates.empty()) {
        outcome.message = "The file " + shownName + " holds no certificate.";
        return outcome;
    }
    const std::string stem = stemOf(fileNameOf(path));
    std::string extension = extensionOf(fileNameOf(path));
    std::string body;
    std::optional<std::string> key;
    // The certificate the dialog selects afterwards: the first one that carries a key.
    const ParsedCertificate* chosen = nullptr;
    if (!personal) {
        if (file.format == Format::Pkcs12) {
            outcome.message =
                "The file " + shownName +
                " holds a personal certificate (PKCS#12): import it beside the certificate list.";
            return outcome;
        }
        // Only the certificates: a private key that came along has no business among authorities.
        for (const ParsedCertificate& certificate : file.certificates) {
            body += pemOf(certificate, true);
        }
        extension = ".pem";
    } else if (file.format == Format::Pkcs12) {
        body = content;
        chosen = file.certificates.front().info.hasPrivateKey ? &file.certificates.front() : nullptr;
        if (extension != ".p12" && extension != ".pfx") {
            extension = ".p12";
        }
    } else {
        body = file.format == Format::Der ? pemOf(file.certificates.front(), false) : content;
        chosen = withMatchingKey(file.certificates, file.keys);
        if (chosen == nullptr) {
            const std::string companion = companionOf(path);
            const auto keyContent = platform::readWholeFile(companion);
            chosen = keyContent ? withMatchingKey(file.certificates, readCertificateFile(*keyContent).keys)
                                : nullptr;
            if (chosen != nullptr) {
                key = *keyContent;
            }
        }
        if (file.format == Format::Der || extension == ".key" || extension.empty()) {
            extension = ".pem";
        }
    }
    if (body.empty() || !platform::makeDirectories(folder, 0700)) {
        outcome.message = "The certificate could not be copied to " + folder + ": the folder can't be made.";
        return outcome;
    }
    std::string writeFailure; // why a file could not be written, which ends the search for a name
    for (int number = 1; number <= 1000 && !outcome.imported && writeFailure.empty(); ++number) {
        const std::string base = number == 1 ? stem : stem + "-" + std::to_string(number);
        const Placement placement{base + extension, key ? base + ".key" : std::string()};
        const std::string target = folder + "/" + placement.name;
        const std::string keyTarget = folder + "/" + placement.keyName;
        const bool keyPresent = key && platform::existsAtAll(keyTarget);
        if (keyPresent && !sameContent(keyTarget, *key)) {
            continue;
        }
        if (platform::existsAtAll(target)) {
            // The same file imported again is already there; a different one keeps its name.
            if (sameContent(target, body) && (!key || keyPresent)) {
                outcome.imported = true;
                outcome.fileName = placement.name;
            }
            continue;
        }
        bool keyWritten = false;
        if (key && !keyPresent) {
            const platform::CreateResult placed =
                platform::createFileAtomically(keyTarget, *key, platform::FileAccess::Private);
            writeFailure = placed.failure;
            if (placed.status != platform::CreateStatus::Created) {
                continue;
            }
            keyWritten = true;
        }
        const platform::CreateResult placed =
            platform::createFileAtomically(target, body, platform::FileAccess::Private);
        if (placed.status != platform::CreateStatus::Created && keyWritten) {
            ::unlink(keyTarget.c_str());
        }
        writeFailure = placed.failure;
        if (placed.status == platform::CreateStatus::Created) {
            outcome.imported = true;
            outcome.fileName = placement.name;
        }
    }
    if (!outcome.imported) {
        outcome.message = "The certificate could not be copied to " + folder + ": " +
                          (!writeFailure.empty() ? writeFailure : "every name for it is taken") + ".";
        return outcome;
    }
    outcome.identifier = IdentifierText((chosen != nullptr ? chosen : &file.certificates.front())->info.hash);
    if (personal && chosen == nullptr) {
        outcome.message =
            "No private key came with this certificate, so it can't be chosen. Put its key beside "
            "it in " +
            folder + " as " + stemOf(outcome.fileName) + ".key.";
    }
    return outcome;
}
