// The Configuration and Encryption pages as empty white pages, and the Site Survey page's way of
// surveying; their controls and rules come with their own work.
#include "AppContext.h"
#include "ConfigPage.h"
#include "EncryptionPage.h"
#include "SiteSurveyPage.h"
#include "UiServices.h"

ConfigPage::ConfigPage(AppContext& context, QWidget* parent) : Page(context, parent, "configPage") {}
void ConfigPage::Load() {}
void ConfigPage::Apply() {}

EncryptionPage::EncryptionPage(AppContext& context, QWidget* parent)
    : Page(context, parent, "encryptionPage") {}
void EncryptionPage::Refresh() {}

SiteSurveyPage::SiteSurveyPage(AppContext& context, QWidget* parent)
    : Page(context, parent, "siteSurveyPage") {
    connect(&m_context.window, &WindowState::surveyFinished, this, &SiteSurveyPage::onSurveyFinished);
}

void SiteSurveyPage::LoadProfileList() {}

void SiteSurveyPage::shown() {
    LoadProfileList();
    repaint();
    RefreshSurvey();
}

void SiteSurveyPage::RefreshSurvey() {
    if (!m_waitCursor) {
        m_context.ui.beginWaitCursor();
        m_waitCursor = true;
    }
    if (!m_context.window.startSurvey() && !m_context.window.surveyRunning()) {
        onSurveyFinished(); // nothing could start: show what there is and let the cursor go
    }
}

void SiteSurveyPage::onSurveyFinished() {
    fillSurveyList();
    if (m_waitCursor) {
        m_waitCursor = false;
        m_context.ui.endWaitCursor();
    }
}

void SiteSurveyPage::fillSurveyList() {}
