#pragma once

#include "Page.h"

// The networks in range and the stored profiles.
class SiteSurveyPage : public Page {
    Q_OBJECT
public:
    SiteSurveyPage(MainWindowHost& host, QWidget* parent);

    void LoadProfileList();
    void RefreshSurvey();
};
