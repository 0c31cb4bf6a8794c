#include "logic/EncryptionForm.h"

#include "model/CodeTables.h"

namespace logic {

EncryptionForm::EncryptionForm(const OnLinkRecord& onLink)
    : m_security(encryptionPageSecurity, infrastructureAuthList(onLink.AutoWPAWPA2)),
      m_storedNetworkType(onLink.bsstype) {
    m_security.setStoredCipher(onLink.CipherListIndex);
    m_security.authenticationRule(); // "Disable": every other control off
}

std::optional<FormMessage> EncryptionForm::refresh(const OnLinkRecord& onLink) {
    m_storedNetworkType = onLink.bsstype;
    m_security.setStoredCipher(onLink.CipherListIndex);
    m_security.fillAuthentication(authListFor(onLink.AutoWPAWPA2, onLink.bsstype == codes::networkAdHoc));
    return m_security.showStored(onLink, onLink.AuthListIndex, onLink.CipherListIndex);
}

EncryptionApplyResult applyEncryptionForm(const EncryptionForm& form, const StationConfig& fromMirror) {
    const SecuritySection& security = form.securitySection();
    if (auto refused = security.checkAtApply()) {
        return *refused;
    }
    EncryptionApplyOutcome out;
    out.record = fromMirror;
    security.setSecurity(out.record);
    out.onLinkWrites =
        security.storedValues(out.record, form.storedNetworkType() == codes::networkInfrastructure);
    return out;
}

} // namespace logic
