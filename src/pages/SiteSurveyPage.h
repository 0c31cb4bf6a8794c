#pragma once

#include "Page.h"

// The networks in range and the stored profiles.
//
// Showing the page loads the profile list and starts a survey; the survey runs away from the
// window's thread, so the window repaints and takes input meanwhile, with the wait cursor up until
// the survey's networks are in the list.
class SiteSurveyPage : public Page {
    Q_OBJECT
public:
    SiteSurveyPage(AppContext& context, QWidget* parent);

    void LoadProfileList();
    // Starts a survey (unless one runs); the list is filled when it ends.
    void RefreshSurvey();

    void shown() override;

private:
    void onSurveyFinished();
    void fillSurveyList();

    bool m_waitCursor = false; // the wait cursor is up for a survey of this page
};
