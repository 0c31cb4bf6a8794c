// The Configuration and Encryption pages as empty white pages; their controls and rules come with
// their own work.
#include "AppContext.h"
#include "ConfigPage.h"
#include "EncryptionPage.h"

ConfigPage::ConfigPage(AppContext& context, QWidget* parent) : Page(context, parent, "configPage") {}
void ConfigPage::Load() {}
void ConfigPage::Apply() {}

EncryptionPage::EncryptionPage(AppContext& context, QWidget* parent)
    : Page(context, parent, "encryptionPage") {}
void EncryptionPage::Refresh() {}
