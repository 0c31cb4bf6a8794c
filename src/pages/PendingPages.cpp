// The Site Survey page's way of surveying; its controls and rules come with their own work.
#include "AppContext.h"
#include "SiteSurveyPage.h"
#include "UiServices.h"

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
