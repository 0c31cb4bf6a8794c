#include "platform/CertificateNames.h"

#include "platform/HexDigits.h"
#include "platform/ShownText.h"

#include <algorithm>

namespace {

const std::string& nameOf(const CertificateInfo& certificate) {
    return certificate.principalName.empty() ? certificate.emailName : certificate.principalName;
}

} // namespace

std::string IdentifierText(const std::vector<std::uint8_t>& hash) {
    return platform::upperHexText(std::string_view(reinterpret_cast<const char*>(hash.data()), hash.size()));
}

std::optional<std::vector<std::uint8_t>> ParseIdentifier(const std::string& identifier) {
    if (identifier.empty() || identifier.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(identifier.size() / 2);
    for (std::size_t i = 0; i < identifier.size(); i += 2) {
        const int byte = platform::hexByteValue(identifier[i], identifier[i + 1]);
        if (byte < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(byte));
    }
    return bytes;
}

std::string DisplayText(const CertificateInfo& certificate, CertificateKind kind) {
    std::string text = certificate.displayName;
    if (text.empty()) {
        text = certificate.commonName;
    }
    if (text.empty()) {
        // Several long-standing roots name only their organisation; a blank line in the list
        // would leave the user guessing which authority it is.
        text = certificate.organisation;
    }
    // A name can't break the line or turn the suffix around.
    text = platform::shownText(text);
    if (kind != CertificateKind::Personal) {
        return text;
    }
    if (certificate.passwordProtected) {
        return text + "   [Password protected]";
    }
    return text + "   [Issued: " + certificate.issuedDate + "]";
}

CertificateMarks MarksOf(const CertificateInfo& certificate, CertificateKind kind, std::time_t now) {
    CertificateMarks marks;
    // A locked file says so already ("[Password protected]").
    marks.noPrivateKey =
        kind == CertificateKind::Personal && !certificate.hasPrivateKey && !certificate.passwordProtected;
    const bool dated = certificate.notBefore != 0 || certificate.notAfter != 0;
    marks.expired = dated && now > certificate.notAfter;
    marks.notYetValid = dated && now < certificate.notBefore;
    return marks;
}

bool Choosable(const CertificateInfo& certificate, CertificateKind kind) {
    if (certificate.hash.empty()) {
        return false;
    }
    return kind != CertificateKind::Personal || certificate.hasPrivateKey;
}

std::string DomainNameOf(const CertificateInfo& certificate) {
    const std::string& name = nameOf(certificate);
    if (std::count(name.begin(), name.end(), '@') != 1) {
        return {};
    }
    const std::string domain = name.substr(name.find('@') + 1);
    const auto last = domain.rfind('.');
    if (last == std::string::npos || last == 0) {
        return domain;
    }
    const auto previous = domain.rfind('.', last - 1);
    return previous == std::string::npos ? domain : domain.substr(previous + 1);
}

std::string LoginNameOf(const CertificateInfo& certificate) {
    const std::string& name = nameOf(certificate);
    if (name.empty()) {
        return {};
    }
    const auto at = name.find('@');
    if (std::count(name.begin(), name.end(), '@') != 1 || at == 0) {
        return certificate.commonName;
    }
    return name.substr(0, at);
}
