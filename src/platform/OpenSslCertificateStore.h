#pragma once

#include "platform/CertificateFile.h"
#include "platform/CertificateStore.h"
#include "platform/FileSystem.h"

#include <atomic>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

// The certificate stores of a Linux desktop, read with OpenSSL.
//
// Personal certificates ("MY") are the files of a folder of the user's, created owner-only when
// missing. A certificate carries a private key when its own file, or the file of the same base
// name ending in ".key", holds a key whose public half matches it (an encrypted key counts).
// PEM, DER and PKCS#12 files without a password are read; a PKCS#12 file with a password is
// listed by its file name with an empty identifier. Names starting with "." are not read (files
// being written), nor ".key" files on their own.
//
// Authorities ("ROOT") are the system's trust store as OpenSSL finds it (SSL_CERT_FILE and
// SSL_CERT_DIR, else OpenSSL's default file and directory; in a directory only the hashed names
// OpenSSL looks up) followed by the files of the user's authorities folder, for an organisation's
// authority the system does not trust. A certificate found twice is listed once.
//
// startReading reads on a thread of the store's own, file by file; the store's destructor stops
// it after the file it is reading. A file that can't be read is logged once with the reason.

// The user's folders: $XDG_DATA_HOME/skyvane/certificates and .../authorities, with
// XDG_DATA_HOME defaulting to ~/.local/share. Empty when neither variable gives a place.
struct CertificateFolders {
    std::string personal;
    std::string authorities;

    static CertificateFolders forUser();
};

struct SystemTrust {
    std::string file;                     // a bundle of PEM certificates
    std::vector<std::string> directories; // hashed directories

    static SystemTrust fromEnvironment();
};

// notBefore as a local date in the format of the user's locale (LC_TIME).
std::string shortLocalDate(std::time_t time);

class OpenSslCertificateStore final : public CertificateStore {
public:
    using DateFormatter = std::function<std::string(std::time_t)>;

    OpenSslCertificateStore();
    OpenSslCertificateStore(CertificateFolders folders, SystemTrust trust,
                            DateFormatter date = shortLocalDate);
    ~OpenSslCertificateStore() override;

    OpenSslCertificateStore(const OpenSslCertificateStore&) = delete;
    OpenSslCertificateStore& operator=(const OpenSslCertificateStore&) = delete;

    void startReading() const override;
    // Before any reading, asking starts one.
    CertificateListing listing(CertificateKind kind) const override;

    ImportOutcome importFile(CertificateKind kind, const std::string& path) override;
    std::optional<CertificateFiles> filesFor(const std::string& identifier) const override;
    std::optional<std::string> pemFor(const std::string& identifier) const override;

protected:
    std::optional<std::vector<CertificateInfo>> certificatesOf(CertificateKind kind) const override;

private:
    struct Entry {
        ParsedCertificate certificate;
        std::string file;
        std::string keyFile; // "" without a key
        bool keyEncrypted = false;
        bool pkcs12 = false;
    };

    // Called with each file's entries as it is read (on the reading's thread).
    using FileRead = std::function<void(const std::vector<Entry>& entries)>;

    std::optional<std::vector<Entry>> load(CertificateKind kind) const;
    std::optional<std::vector<Entry>> loadPersonal(const FileRead& found = {}) const;
    std::vector<Entry> loadAuthorities(const FileRead& found = {}) const;
    void readInBackground() const;
    void publish(CertificateKind kind, const std::vector<Entry>& entries) const;
    struct PersonalFile {
        std::optional<platform::FileStamp> stamp;
        std::optional<platform::FileStamp> companionStamp;
        std::vector<Entry> entries;
    };

    // readable: false when the file itself could not be read (it is then read again next time).
    std::vector<Entry> readPersonalFile(const std::string& path, bool& readable) const;
    void reportSkipped(const std::string& path, const std::string& reason) const;

    CertificateFolders m_folders;
    SystemTrust m_trust;
    DateFormatter m_date;
    mutable std::mutex m_personalMutex; // held only to look at or replace the map, never to read
    mutable std::map<std::string, PersonalFile> m_personalFiles; // what each file held when last read
    mutable std::mutex m_authorityMutex;
    mutable std::vector<Entry> m_authorityEntries; // as last read
    mutable std::mutex m_reportedMutex;
    mutable std::set<std::string> m_reported;

    mutable std::mutex m_readingMutex;
    mutable std::thread m_reader;
    mutable bool m_readerBusy = false;
    mutable CertificateListing m_listings[2]; // personal, authorities
    mutable unsigned m_readings = 0;
    std::atomic<bool> m_stopping{false};
};
