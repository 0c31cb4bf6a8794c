#include "dialogs/ProfileEditor.h"

#include "dialogs/FormMessages.h"

#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/UiServices.h"
#include "controls/WindowLog.h"
#include "dialogs/ProfileDialog.h"
#include "storage/AppSettings.h"
#include "storage/TextCatalog.h"

#include <variant>

namespace {

ProfileStore::Values storeValues(const std::vector<logic::StoredValue>& writes) {
    ProfileStore::Values values;
    values.reserve(writes.size());
    for (const logic::StoredValue& write : writes) {
        values.emplace_back(write.key, write.value);
    }
    return values;
}

} // namespace

logic::OfferedModes offeredModes(const AppSettings& settings) {
    return {settings.checkOffered("11b"), settings.checkOffered("11g"),  settings.checkOffered("11gt"),
            settings.checkOffered("11a"), settings.checkOffered("11at"), settings.checkOffered("XR")};
}

logic::TextLookup textLookup(const TextCatalog& texts) {
    return [&texts](const std::string& english) { return texts.Text(english, english); };
}

logic::ProfileFormInputs profileFormInputs(const AppContext& context) {
    const OnLinkRecord onLink = context.store.ReadOnLink();
    logic::ProfileFormInputs inputs;
    inputs.autoWpaWpa2 = onLink.AutoWPAWPA2;
    inputs.storedCipherIndex = onLink.CipherListIndex;
    inputs.offered = offeredModes(context.settings);
    inputs.channelPlan = context.window.currentConfig().ChannelPlan;
    inputs.lookup = textLookup(context.texts);
    return inputs;
}

logic::ProfileForm loadProfileForm(const AppContext& context, const ProfileEditorRequest& request) {
    logic::ProfileForm form(profileFormInputs(context));
    switch (request.mode) {
    case logic::EditorMode::Add:
        form.loadNew(request.name);
        break;
    case logic::EditorMode::Surveyed:
        if (request.network) {
            form.loadSurveyed(*request.network);
        } else {
            form.loadSurveyedSsid(request.ssid);
        }
        break;
    case logic::EditorMode::Properties:
    case logic::EditorMode::Connect:
        form.loadStored(request.profile, request.mode);
        break;
    }
    return form;
}

bool saveAcceptedProfile(AppContext& context, const logic::ApplyOutcome& outcome, QWidget* parent) {
    const ProfileStore::SaveResult saved =
        context.store.saveProfile(outcome.profileName, context.window.profileSlotBase(),
                                  storeValues(outcome.profileWrites), storeValues(outcome.onLinkWrites));
    switch (saved.status) {
    case ProfileStore::SaveStatus::Saved:
        qCInfo(dialogsLog) << "profile saved in" << saved.section.c_str();
        context.window.handOver(outcome.pending);
        context.window.showPage(PageId::LinkInfo);
        return true;
    case ProfileStore::SaveStatus::NoSlot:
        context.ui.message(parent,
                           context.text("The profile list is full. Remove a profile before you add another."),
                           QStringLiteral("Prompt"), UiServices::MessageIcon::None);
        return false;
    case ProfileStore::SaveStatus::NotWritten:
        tellNotSaved(context, parent, context.text("The profile could not be saved, so nothing was changed."),
                     saved.failure);
        return false;
    }
    return false;
}

bool openProfileEditor(AppContext& context, const ProfileEditorRequest& request, QWidget* parent) {
    logic::ProfileForm form = loadProfileForm(context, request);
    if (request.mode == logic::EditorMode::Connect) {
        const logic::ApplyResult result = logic::applyProfileForm(form);
        if (const auto* outcome = std::get_if<logic::ApplyOutcome>(&result)) {
            // Applied unseen; a failed save has been told, and there is nothing to show.
            return saveAcceptedProfile(context, *outcome, parent);
        }
        const logic::ApplyStop& stop = std::get<logic::ApplyStop>(result);
        if (stop.emptyKeyField >= 0) {
            form.setKeyText(stop.emptyKeyField, std::string());
        }
        if (stop.message) {
            showFormMessage(context, parent, *stop.message);
        }
        form.handToUser();
    }
    ProfileDialog dialog(context, std::move(form), parent);
    return context.ui.runModal(dialog) == QDialog::Accepted;
}
