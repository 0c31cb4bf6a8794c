#pragma once
// Opening the profile editor: what the Site Survey page asks of it, and what its Apply does with
// an accepted form. Every way of opening it ends alike: an OK has saved the profile and "on_link"
// together, handed the configuration to the next status tick and shown the Link Info page.

#include "logic/ProfileForm.h"
#include "storage/ProfileStore.h"

#include <optional>
#include <string>

class AppSettings;
struct AppContext;
class TextCatalog;
class QWidget;

struct ProfileEditorRequest {
    logic::EditorMode mode = logic::EditorMode::Add;
    // Add: what the name field starts with (a listed profile the store no longer holds).
    std::string name;
    // Surveyed: the network to connect to; without it, only `ssid` is known (a listed network
    // the last survey no longer reports).
    std::optional<logic::SurveyedNetwork> network;
    std::string ssid;
    // Properties and Connect: the stored profile.
    ProfileRecord profile;
};

// The band boxes section Check of the settings file offers, and the text catalogue as the forms
// look their texts up.
logic::OfferedModes offeredModes(const AppSettings& settings);
logic::TextLookup textLookup(const TextCatalog& texts);

// What the form takes from the files and the window when the editor opens: AutoWPAWPA2 and the
// stored cipher of "on_link", the offered band boxes, the current configuration's channel plan,
// and the text catalogue.
logic::ProfileFormInputs profileFormInputs(const AppContext& context);
logic::ProfileForm loadProfileForm(const AppContext& context, const ProfileEditorRequest& request);

// Saves what Apply accepted: the profile into the slot its name chooses and "on_link", in one
// replacement of the store; then hands the configuration over and shows Link Info. When the
// store has no slot left or the file could not be written, the user is told in a message box
// over parent, and nothing is handed over. True when saved.
bool saveAcceptedProfile(AppContext& context, const logic::ApplyOutcome& outcome, QWidget* parent);

// Opens the editor for the request and runs it modally (through UiServices). Mode 99 applies
// the stored profile without showing anything, and opens the editor for the user only when its
// values are refused. True when the editor ended with OK.
bool openProfileEditor(AppContext& context, const ProfileEditorRequest& request, QWidget* parent);
