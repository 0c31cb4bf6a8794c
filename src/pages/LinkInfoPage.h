#pragma once

#include "pages/Page.h"

#include <QTimer>

class ColorGroupBox;
class GradientBar;
class QLabel;
class QLineEdit;
class StripChart;

// The first page the user sees: the link's state, SSID, frequency and channel, network type,
// encryption and rate, link quality and signal bars, and the throughput strips. It reads only
// the main window's snapshots and refreshes itself once a second, shown or not.
class LinkInfoPage : public Page {
    Q_OBJECT
public:
    LinkInfoPage(AppContext& context, QWidget* parent, bool startTimer = true);
    ~LinkInfoPage() override;

    void Refresh();

    void aboutToShow() override { Refresh(); }

private:
    void createRows();
    void createBars();
    void createCharts();
    void createScale();
    void setCaptions();
    void refreshBars(int32_t networkType);
    void onTimer(); // timer 100

    QTimer m_timer;
    QLineEdit* m_statusEdit;
    QLineEdit* m_ssidEdit;
    QLineEdit* m_frequencyEdit;
    QLineEdit* m_modeEdit;
    QLineEdit* m_encryptionEdit;
    QLineEdit* m_rateEdit;
    QLineEdit* m_channelEdit;
    QLineEdit* m_transmitEdit;
    QLineEdit* m_receiveEdit;
    ColorGroupBox* m_barsGroup;
    ColorGroupBox* m_dataGroup;
    QLabel* m_qualityLabel;
    QLabel* m_signalLabel;
    QLabel* m_qualityPercent;
    QLabel* m_signalPercent;
    GradientBar* m_qualityBar;
    GradientBar* m_signalBar;
    StripChart* m_transmitChart;
    StripChart* m_receiveChart;
};

// Texts of the page's value fields; values outside their tables give the empty text.
namespace linkinfo {
QString encryptionText(int32_t encryptionMode);
QString networkTypeText(int32_t networkType);
QString statusText(int32_t connected, const unsigned char (&bssid)[6]);
} // namespace linkinfo
