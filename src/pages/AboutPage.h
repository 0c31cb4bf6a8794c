#pragma once

#include "pages/Page.h"

class QLineEdit;

// The adapter's MAC address, this utility's version, the driver's version and the regulatory
// domain the driver applies.
class AboutPage : public Page {
    Q_OBJECT
public:
    AboutPage(AppContext& context, QWidget* parent);

    void RefreshAbout();
    void aboutToShow() override { RefreshAbout(); }

private:
    QLineEdit* m_macEdit;
    QLineEdit* m_versionEdit;
    QLineEdit* m_driverEdit;
    QLineEdit* m_domainEdit;
};

// Six bytes as upper-case hex pairs joined by colons: 00:0A:EB:01:02:03.
QString formatMacAddress(const unsigned char (&mac)[6]);
