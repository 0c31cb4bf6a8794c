// The Configuration, Encryption and Site Survey pages as empty white pages; their controls and
// rules come with their own work.
#include "ConfigPage.h"
#include "EncryptionPage.h"
#include "SiteSurveyPage.h"

ConfigPage::ConfigPage(MainWindowHost& host, QWidget* parent) : Page(host, parent, "configPage") {}
void ConfigPage::Load() {}
void ConfigPage::Apply() {}

EncryptionPage::EncryptionPage(MainWindowHost& host, QWidget* parent)
    : Page(host, parent, "encryptionPage") {}
void EncryptionPage::Refresh() {}

SiteSurveyPage::SiteSurveyPage(MainWindowHost& host, QWidget* parent)
    : Page(host, parent, "siteSurveyPage") {}
void SiteSurveyPage::LoadProfileList() {}
void SiteSurveyPage::RefreshSurvey() {}
