#include "platform/CertificateStore.h"

bool CertificateStore::Enumerate(CertificateKind kind, std::vector<std::string>& texts,
                                 std::vector<std::string>& identifiers) {
    const auto certificates = certificatesOf(kind);
    if (!certificates) {
        return false;
    }
    for (const CertificateInfo& certificate : *certificates) {
        texts.push_back(DisplayText(certificate, kind));
        identifiers.push_back(IdentifierText(certificate.hash));
    }
    return true;
}

CertificateListing CertificateStore::listing(CertificateKind kind) const {
    CertificateListing listing;
    auto certificates = certificatesOf(kind);
    listing.opened = certificates.has_value();
    listing.certificates = certificates ? std::move(*certificates) : std::vector<CertificateInfo>{};
    listing.complete = true;
    return listing;
}

bool CertificateStore::Select(const std::string& identifier) {
    const auto hash = ParseIdentifier(identifier);
    if (!hash) {
        return false;
    }
    const auto certificates = certificatesOf(CertificateKind::Personal);
    if (!certificates) {
        return false;
    }
    for (const CertificateInfo& certificate : *certificates) {
        if (certificate.hasPrivateKey && certificate.hash == *hash) {
            m_current = certificate;
            return true;
        }
    }
    return false;
}

std::string CertificateStore::DomainName() const {
    return m_current ? DomainNameOf(*m_current) : std::string();
}

std::string CertificateStore::LoginName() const {
    return m_current ? LoginNameOf(*m_current) : std::string();
}
