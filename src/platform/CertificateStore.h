#pragma once

#include "platform/CertificateNames.h"

#include <optional>
#include <string>
#include <vector>

// The certificates an 802.1X profile chooses from, and the files the supplicant needs for them.
//
// Contract:
// - Certificates are named everywhere by their identifier: the upper-case hex text of the SHA-1
//   hash of their DER encoding.
// - Enumerate lists a store in its order; a store that can't be opened gives false and leaves
//   the lists as they were. A file that can't be read is skipped, never fatal.
// - Select finds a personal certificate that carries a private key; it is then current until the
//   next successful Select. DomainName and LoginName read the current certificate.
// - Import copies a certificate file (with its key, for a personal one) into the store folder,
//   owner-only and atomically, and never over a different file of the same name.
// - Reading a store may take long (a PKCS#12 file's key derivation): startReading reads both
//   stores on a thread of the store's own, and listing tells what has been read so far, so a
//   window never waits for a file.
// - filesFor and pemFor answer from what the store has read (its last reading, or an Enumerate)
//   and never read a file themselves: the adapter's threads may call them while the windows use
//   the store, and they never wait for a certificate file.
//
// The rules live here; a store only says which certificates it holds, so the dialog's tests can
// run them over a store of their own.

// Where the supplicant finds a personal certificate and its private key.
struct CertificateFiles {
    std::string certificateFile; // PEM (the certificate first, maybe its chain after it), or PKCS#12
    std::string privateKeyFile;  // the same file when it holds the key, else its ".key" companion
    bool pkcs12 = false;         // both names are the PKCS#12 file
    bool keyEncrypted = false;   // the key needs its passphrase: the supplicant's business
};

struct ImportOutcome {
    bool imported = false;
    std::string identifier; // of the first certificate of the file, when imported
    std::string fileName;   // the name it has in the store folder
    // Why nothing was imported; or, when imported, what the user should still know.
    std::string message;
};

// What a store has read of one kind.
struct CertificateListing {
    std::vector<CertificateInfo> certificates; // in store order; within a reading it only grows
    bool complete = false;                     // the whole store has been read
    bool opened = true;                        // false: the store can't be opened
    unsigned reading = 0;                      // which reading this is: a new one starts empty
};

class CertificateStore {
public:
    virtual ~CertificateStore() = default;

    // Appends a display text and an identifier per certificate of the store. The count is the
    // number of texts.
    bool Enumerate(CertificateKind kind, std::vector<std::string>& texts,
                   std::vector<std::string>& identifiers);
    bool Select(const std::string& identifier);
    std::string DomainName() const;
    std::string LoginName() const;
    // The certificate the last successful Select found; nullptr before one.
    const CertificateInfo* current() const { return m_current ? &*m_current : nullptr; }
    // Forgets the current certificate: a dialog's lookups start afresh.
    void deselect() { m_current.reset(); }

    // The certificates of a store as they are now, read at once; nothing when it can't be opened.
    std::optional<std::vector<CertificateInfo>> certificates(CertificateKind kind) const {
        return certificatesOf(kind);
    }
    // Reads both stores again in the background (a reading under way goes on instead). A store
    // that reads at once has nothing to start.
    virtual void startReading() const {}
    // What the reading has found of a kind so far. By default the store is read at once.
    virtual CertificateListing listing(CertificateKind kind) const;

    virtual ImportOutcome importFile(CertificateKind kind, const std::string& path) = 0;
    // The files of a personal certificate that carries a private key; nothing for any other.
    virtual std::optional<CertificateFiles> filesFor(const std::string& identifier) const = 0;
    // An authority's certificate as PEM text.
    virtual std::optional<std::string> pemFor(const std::string& identifier) const = 0;

protected:
    // The certificates of a store in store order; nothing when the store can't be opened.
    virtual std::optional<std::vector<CertificateInfo>> certificatesOf(CertificateKind kind) const = 0;

private:
    std::optional<CertificateInfo> m_current;
};
