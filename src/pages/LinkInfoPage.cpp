#include "LinkInfoPage.h"

#include "CodeTables.h"
#include "ColorGroupBox.h"
#include "GradientBar.h"
#include "MainWindowHost.h"
#include "StripChart.h"
#include "TextCatalog.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const QColor blueFrame(0, 0, 255);
const QColor greyFrame(172, 168, 153);

QString lookUp(const char* english) {
    return QString::fromStdString(textCatalog().Text(english, english));
}

// Rows from top to bottom: caption, field name.
struct Row {
    const char* caption;
    const char* labelName;
    const char* fieldName;
};
constexpr Row rows[] = {
    {"Status", "statusLabel", "statusEdit"},
    {"SSID", "ssidLabel", "ssidEdit"},
    {"Frequency", "frequencyLabel", "frequencyEdit"},
    {"Wireless Mode", "wirelessModeLabel", "wirelessModeEdit"},
    {"Encryption", "encryptionLabel", "encryptionEdit"},
    {"Tx Rate", "txRateLabel", "txRateEdit"},
    {"Channel", "channelLabel", "channelEdit"},
};

constexpr int rowTop = 8, rowStep = 20, rowHeight = 18, labelX = 16, fieldX = 120;

// The page refreshes every second while mostly nothing changes; a line edit lays out and
// repaints its text on every setText, even the same one.
void setFieldText(QLineEdit* field, const QString& text) {
    if (field->text() != text) {
        field->setText(text);
    }
}

// Each bar is set once per refresh, to its final value; values outside the bar's range show as
// an empty bar. A progress bar repaints at once on a new value, in a paint pass of its own;
// with its updates held the new value waits for the page's one pass of the second.
void setBarValue(GradientBar* bar, int value) {
    const int shown = value >= bar->minimum() && value <= bar->maximum() ? value : 0;
    if (bar->value() == shown) {
        return;
    }
    bar->setUpdatesEnabled(false);
    bar->setValue(shown);
    bar->setUpdatesEnabled(true); // schedules the bar's repaint
}

} // namespace

namespace linkinfo {

QString encryptionText(int32_t encryptionMode) {
    if (encryptionMode == 0) {
        return QStringLiteral("DISABLE");
    }
    return encryptionMode >= 1 && encryptionMode <= 3 ? QStringLiteral("Enable") : QString();
}

QString networkTypeText(int32_t networkType) {
    switch (networkType) {
    case 0: return QStringLiteral("Ad-hoc");
    case 1: return QStringLiteral("Infrastructure");
    case 2: return QStringLiteral("SOFTWARE_AP");
    default: return {};
    }
}

QString statusText(int32_t connected, const unsigned char (&bssid)[6]) {
    QString prefix;
    if (connected == 0) {
        prefix = QStringLiteral("Scanning BSSID=");
    } else if (connected == 1) {
        prefix = QStringLiteral("Associated BSSID=");
    }
    QStringList pairs;
    for (unsigned char byte : bssid) {
        pairs << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return prefix + pairs.join(QLatin1Char('-'));
}

} // namespace linkinfo

LinkInfoPage::LinkInfoPage(MainWindowHost& host, QWidget* parent, bool startTimer)
    : Page(host, parent, "linkInfoPage") {
    createRows();
    createBars();
    createCharts();
    setCaptions();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LinkInfoPage::onTimer);
    if (startTimer) {
        m_timer.start(1000);
    }
}

LinkInfoPage::~LinkInfoPage() { m_timer.stop(); }

void LinkInfoPage::createRows() {
    QLineEdit* fields[7];
    for (int i = 0; i < 7; ++i) {
        const int y = rowTop + i * rowStep;
        addCaption(QString(), rows[i].labelName, QRect(labelX, y, 100, rowHeight));
        const bool narrow = i >= 5; // rate and channel: short centred values
        fields[i] = addValueField(rows[i].fieldName, QRect(fieldX, y, narrow ? 56 : 296, rowHeight),
                                  narrow ? Qt::AlignHCenter : Qt::AlignLeft);
    }
    m_statusEdit = fields[0];
    m_ssidEdit = fields[1];
    m_frequencyEdit = fields[2];
    m_modeEdit = fields[3];
    m_encryptionEdit = fields[4];
    m_rateEdit = fields[5];
    m_channelEdit = fields[6];
    addCaption(QStringLiteral("Mbps"), "mbpsLabel", QRect(fieldX + 62, rowTop + 5 * rowStep, 40, rowHeight));
}

void LinkInfoPage::createBars() {
    m_barsGroup = new ColorGroupBox(QStringLiteral("Link Quality/Signal Strength"), this);
    m_barsGroup->setObjectName(QStringLiteral("linkQualityGroup"));
    m_barsGroup->setGeometry(8, 150, 416, 62);
    m_qualityLabel = addCaption(QString(), "linkQualityLabel", QRect(20, 168, 120, 16));
    m_signalLabel = addCaption(QString(), "signalStrengthLabel", QRect(222, 168, 120, 16));
    m_qualityPercent = addCaption(QString(), "linkQualityPercent", QRect(150, 168, 54, 16));
    m_signalPercent = addCaption(QString(), "signalStrengthPercent", QRect(352, 168, 54, 16));
    m_qualityPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_signalPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const std::vector<QColor> fade = {QColor(255, 0, 0), QColor(255, 128, 0), QColor(255, 255, 128)};
    m_qualityBar = new GradientBar(this);
    m_qualityBar->setObjectName(QStringLiteral("linkQualityBar"));
    m_qualityBar->setGeometry(20, 186, 184, 16);
    m_signalBar = new GradientBar(this);
    m_signalBar->setObjectName(QStringLiteral("signalStrengthBar"));
    m_signalBar->setGeometry(222, 186, 184, 16);
    for (GradientBar* bar : {m_qualityBar, m_signalBar}) {
        bar->setColors(fade);
        bar->setRange(0, 100);
        bar->setStep(1);
        bar->setValue(0);
    }
    m_barsGroup->setFrameColor(blueFrame);
    m_barsGroup->lower();
}

void LinkInfoPage::createCharts() {
    m_dataGroup = new ColorGroupBox(QStringLiteral("Data Rate"), this);
    m_dataGroup->setObjectName(QStringLiteral("dataRateGroup"));
    m_dataGroup->setGeometry(8, 216, 416, 106);
    m_dataGroup->setFrameColor(blueFrame);
    m_dataGroup->lower();
    addCaption(QString(), "transmitLabel", QRect(20, 234, 64, 18));
    addCaption(QString(), "receiveLabel", QRect(240, 234, 64, 18));
    m_transmitEdit = addValueField("transmitEdit", QRect(88, 234, 64, 18), Qt::AlignRight);
    m_receiveEdit = addValueField("receiveEdit", QRect(308, 234, 64, 18), Qt::AlignRight);
    addCaption(QStringLiteral("Kbps"), "transmitKbpsLabel", QRect(156, 234, 36, 18));
    addCaption(QStringLiteral("Kbps"), "receiveKbpsLabel", QRect(376, 234, 36, 18));
    m_transmitChart = new StripChart(this);
    m_transmitChart->setObjectName(QStringLiteral("transmitChart"));
    m_transmitChart->setGeometry(20, 258, 178, 58);
    m_receiveChart = new StripChart(this);
    m_receiveChart->setObjectName(QStringLiteral("receiveChart"));
    m_receiveChart->setGeometry(240, 258, 178, 58);
    m_transmitChart->setRange(0, 100);
    m_receiveChart->setRange(0, 100);
    const char* scale[] = {"10000", "1000", "100", "10", "0"};
    for (int i = 0; i < 5; ++i) {
        auto* label = addCaption(QString::fromLatin1(scale[i]), "scaleLabel", QRect(198, 252 + i * 14, 42, 12));
        label->setAlignment(Qt::AlignCenter);
        QFont small = label->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        label->setFont(small);
    }
}

void LinkInfoPage::setCaptions() {
    for (const Row& row : rows) {
        findChild<QLabel*>(QString::fromLatin1(row.labelName))->setText(lookUp(row.caption));
    }
    m_qualityLabel->setText(lookUp("Link Quality"));
    m_signalLabel->setText(lookUp("Signal Strength"));
    findChild<QLabel*>(QStringLiteral("transmitLabel"))->setText(lookUp("Transmit"));
    findChild<QLabel*>(QStringLiteral("receiveLabel"))->setText(lookUp("Receive"));
}

void LinkInfoPage::onTimer() {
    m_timer.stop();
    Refresh();
    m_timer.start(1000);
}

void LinkInfoPage::Refresh() {
    if (m_host.unplugged() != 0) {
        return; // frozen on the last contents while the adapter is away
    }
    const StationSettings& config = m_host.currentConfig();
    const LinkStatus& link = m_host.linkStatus();
    m_transmitChart->push(0);
    m_receiveChart->push(0);
    setFieldText(m_ssidEdit, QString::fromLatin1(config.cSSID, static_cast<int>(boundedLength(config.cSSID))));
    setFieldText(m_encryptionEdit, linkinfo::encryptionText(config.EncryptionMode));
    setFieldText(m_modeEdit, linkinfo::networkTypeText(config.NetworkType));
    setFieldText(m_rateEdit, QString::fromStdString(codes::txRateText(config.TxRate)));
    const bool known = codes::isChannelIndex(config.Channel);
    setFieldText(m_channelEdit, known ? QString::number(codes::channelNumber(config.Channel)) : QString());
    setFieldText(m_frequencyEdit, known ? QString::number(codes::channelFrequency(config.Channel)) : QString());
    setFieldText(m_statusEdit, linkinfo::statusText(link.connected, link.bssid));
    const auto transmit = static_cast<uint32_t>(link.counters.txDelta >> 7);
    const auto receive = static_cast<uint32_t>(link.counters.rxDelta >> 7);
    setFieldText(m_transmitEdit, QString::number(transmit));
    m_transmitChart->push(static_cast<int>(transmit));
    setFieldText(m_receiveEdit, QString::number(receive));
    m_receiveChart->push(static_cast<int>(receive));
    refreshBars(config.NetworkType);
}

void LinkInfoPage::refreshBars(int32_t networkType) {
    const LinkStatus& link = m_host.linkStatus();
    if (networkType == 0) {
        m_barsGroup->setFrameColor(greyFrame);
        for (QWidget* w : std::initializer_list<QWidget*>{m_qualityLabel, m_signalLabel, m_qualityBar, m_signalBar}) {
            w->setEnabled(false);
        }
        setBarValue(m_qualityBar, 0);
        setBarValue(m_signalBar, 0);
        m_qualityPercent->setText(QString());
        m_signalPercent->setText(QString());
        return;
    }
    if (networkType != 1) {
        setBarValue(m_qualityBar, 0);
        setBarValue(m_signalBar, 0);
        return;
    }
    m_barsGroup->setFrameColor(blueFrame);
    for (QWidget* w : std::initializer_list<QWidget*>{m_qualityLabel, m_signalLabel, m_qualityBar, m_signalBar}) {
        w->setEnabled(true);
    }
    if (link.connected == 1) {
        setBarValue(m_signalBar, link.signalStrength);
        m_signalPercent->setText(QString::number(link.signalStrength) + QLatin1Char('%'));
        setBarValue(m_qualityBar, link.linkQuality);
        m_qualityPercent->setText(QString::number(link.linkQuality) + QLatin1Char('%'));
        return;
    }
    if (link.connected == 0) {
        m_qualityPercent->setText(QStringLiteral(" "));
        m_signalPercent->setText(QStringLiteral(" "));
    }
    setBarValue(m_qualityBar, 0);
    setBarValue(m_signalBar, 0);
}
