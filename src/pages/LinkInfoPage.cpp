#include "pages/LinkInfoPage.h"

#include "context/AppContext.h"
#include "controls/ColorGroupBox.h"
#include "controls/DialogStyle.h"
#include "controls/GradientBar.h"
#include "controls/StripChart.h"
#include "logic/ShownText.h"
#include "model/CodeTables.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

namespace {

const QColor blueFrame(0, 0, 255);
const QColor greyFrame(172, 168, 153);

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

// Geometry of the 432 x 327 page. Everything inside the groups starts at contentLeft and ends
// at contentRight; the bars and the charts share two columns, with the chart scale between them.
constexpr int groupX = 8, groupWidth = 416, contentLeft = 20, contentRight = 412;
constexpr int rowTop = 6, rowStep = 20, rowHeight = 18, labelWidth = 96, fieldX = 120;
constexpr int narrowWidth = 56;
constexpr int columnWidth = 176, leftColumn = contentLeft, rightColumn = contentRight - columnWidth;
constexpr int barsTop = 148, barsHeight = 56, barCaptionY = barsTop + 16, barY = barsTop + 32, barHeight = 16;
constexpr int dataTop = 208, dataHeight = 113, dataRowY = dataTop + 17, chartY = dataTop + 39;
constexpr int chartHeight = 68, chartEdge = 2; // the chart's sunken edge, on every side
constexpr int unitWidth = 30, throughputWidth = 64;

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
    if (encryptionMode == codes::encryptionNone) {
        return QStringLiteral("DISABLE");
    }
    return codes::isEncrypting(encryptionMode) ? QStringLiteral("Enable") : QString();
}

QString networkTypeText(int32_t networkType) {
    switch (networkType) {
    case codes::networkAdHoc:
        return QStringLiteral("Ad-hoc");
    case codes::networkInfrastructure:
        return QStringLiteral("Infrastructure");
    case codes::networkSoftwareAccessPoint:
        return QStringLiteral("SOFTWARE_AP");
    default:
        return {};
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

LinkInfoPage::LinkInfoPage(AppContext& context, QWidget* parent, bool startTimer)
    : Page(context, parent, "linkInfoPage") {
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

LinkInfoPage::~LinkInfoPage() {
    m_timer.stop();
}

void LinkInfoPage::createRows() {
    QLineEdit* fields[7];
    for (int i = 0; i < 7; ++i) {
        const int y = rowTop + i * rowStep;
        QLabel* caption =
            addCaption(QString(), rows[i].labelName, QRect(contentLeft, y, labelWidth, rowHeight));
        const bool narrow = i >= 5; // rate and channel: short centred values
        fields[i] = addValueField(rows[i].fieldName,
                                  QRect(fieldX, y, narrow ? narrowWidth : contentRight - fieldX, rowHeight),
                                  narrow ? Qt::AlignHCenter : Qt::AlignLeft, caption);
    }
    m_statusEdit = fields[0];
    m_ssidEdit = fields[1];
    m_frequencyEdit = fields[2];
    m_modeEdit = fields[3];
    m_encryptionEdit = fields[4];
    m_rateEdit = fields[5];
    m_channelEdit = fields[6];
    addCaption(QStringLiteral("Mbps"), "mbpsLabel",
               QRect(fieldX + narrowWidth + 6, rowTop + 5 * rowStep, 40, rowHeight));
}

void LinkInfoPage::createBars() {
    m_barsGroup = addGroup(QStringLiteral("Link Quality/Signal Strength"), "linkQualityGroup",
                           QRect(groupX, barsTop, groupWidth, barsHeight));
    const int captionHeight = barY - barCaptionY - 2;
    m_qualityLabel =
        addCaption(QString(), "linkQualityLabel", QRect(leftColumn, barCaptionY, 120, captionHeight));
    m_signalLabel =
        addCaption(QString(), "signalStrengthLabel", QRect(rightColumn, barCaptionY, 120, captionHeight));
    // The percentages stand over the right ends of their bars.
    m_qualityPercent = addCaption(QString(), "linkQualityPercent",
                                  QRect(leftColumn + columnWidth - 50, barCaptionY, 50, captionHeight));
    m_signalPercent = addCaption(QString(), "signalStrengthPercent",
                                 QRect(rightColumn + columnWidth - 50, barCaptionY, 50, captionHeight));
    m_qualityPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_signalPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const std::vector<QColor> fade = {QColor(255, 0, 0), QColor(255, 128, 0), QColor(255, 255, 128)};
    m_qualityBar = new GradientBar(this);
    m_qualityBar->setObjectName(QStringLiteral("linkQualityBar"));
    m_qualityBar->setGeometry(leftColumn, barY, columnWidth, barHeight);
    m_signalBar = new GradientBar(this);
    m_signalBar->setObjectName(QStringLiteral("signalStrengthBar"));
    m_signalBar->setGeometry(rightColumn, barY, columnWidth, barHeight);
    for (GradientBar* bar : {m_qualityBar, m_signalBar}) {
        bar->setColors(fade);
        bar->setRange(0, 100);
        bar->setStep(1);
        bar->setValue(0);
    }
}

void LinkInfoPage::createCharts() {
    m_dataGroup = addGroup(QStringLiteral("Data Rate"), "dataRateGroup",
                           QRect(groupX, dataTop, groupWidth, dataHeight));
    const int throughputX[] = {leftColumn, rightColumn};
    const char* captionNames[] = {"transmitLabel", "receiveLabel"};
    const char* fieldNames[] = {"transmitEdit", "receiveEdit"};
    const char* unitNames[] = {"transmitKbpsLabel", "receiveKbpsLabel"};
    QLineEdit* fields[2];
    for (int i = 0; i < 2; ++i) {
        const int unitX = throughputX[i] + columnWidth - unitWidth;
        QLabel* caption =
            addCaption(QString(), captionNames[i], QRect(throughputX[i], dataRowY, 72, rowHeight));
        const QRect field(unitX - 4 - throughputWidth, dataRowY, throughputWidth, rowHeight);
        fields[i] = addValueField(fieldNames[i], field, Qt::AlignRight, caption);
        addCaption(QStringLiteral("Kbps"), unitNames[i], QRect(unitX, dataRowY, unitWidth, rowHeight));
    }
    m_transmitEdit = fields[0];
    m_receiveEdit = fields[1];
    m_transmitChart = new StripChart(this);
    m_transmitChart->setObjectName(QStringLiteral("transmitChart"));
    m_transmitChart->setGeometry(leftColumn, chartY, columnWidth, chartHeight);
    m_receiveChart = new StripChart(this);
    m_receiveChart->setObjectName(QStringLiteral("receiveChart"));
    m_receiveChart->setGeometry(rightColumn, chartY, columnWidth, chartHeight);
    for (StripChart* chart : {m_transmitChart, m_receiveChart}) {
        // The sunken edge's lit side in grey, so the chart keeps a visible edge on the white page.
        QPalette edge = chart->palette();
        edge.setColor(QPalette::Light, QColor(212, 208, 200));
        edge.setColor(QPalette::Dark, QColor(128, 128, 128));
        chart->setPalette(edge);
        // The captions between the charts read 0, 10, 100, 1000, 10000: each grid line a decade.
        chart->setScale(StripChart::Scale::Logarithmic);
        chart->setRange(0, 10000);
    }
    createScale();
}

void LinkInfoPage::createScale() {
    // One caption on each grid line of the charts and on their top and bottom rows, in the gap
    // between the two charts.
    const int plotTop = chartY + chartEdge;
    const int plotHeight = chartHeight - 2 * chartEdge;
    const int lines[] = {0, plotHeight / 4, plotHeight / 2, 3 * plotHeight / 4, plotHeight - 1};
    const char* scale[] = {"10000", "1000", "100", "10", "0"};
    const QFont small = dialogstyle::typeface(7);
    const QFontMetrics metrics(small);
    const int digitMiddle = metrics.ascent() - (metrics.capHeight() + 1) / 2; // from the caption's top
    for (int i = 0; i < 5; ++i) {
        const int y = plotTop + lines[i] - digitMiddle;
        const int gapLeft = leftColumn + columnWidth;
        const QRect gap(gapLeft, y, rightColumn - gapLeft, metrics.height());
        auto* label = addCaption(QString::fromLatin1(scale[i]), "scaleLabel", gap);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setFont(small);
    }
}

void LinkInfoPage::setCaptions() {
    for (const Row& row : rows) {
        findChild<QLabel*>(QString::fromLatin1(row.labelName))->setText(m_context.text(row.caption));
    }
    m_qualityLabel->setText(m_context.text("Link Quality"));
    m_signalLabel->setText(m_context.text("Signal Strength"));
    findChild<QLabel*>(QStringLiteral("transmitLabel"))->setText(m_context.text("Transmit"));
    findChild<QLabel*>(QStringLiteral("receiveLabel"))->setText(m_context.text("Receive"));
    // The bars and charts have no caption of their own for screen readers.
    m_qualityBar->setAccessibleName(m_qualityLabel->text());
    m_signalBar->setAccessibleName(m_signalLabel->text());
    m_transmitChart->setAccessibleName(m_context.text("Transmit"));
    m_receiveChart->setAccessibleName(m_context.text("Receive"));
}

void LinkInfoPage::onTimer() {
    m_timer.stop();
    Refresh();
    m_timer.start(1000);
}

void LinkInfoPage::Refresh() {
    if (m_context.window.unplugged()) {
        // The values freeze on what was last seen, but the status says why: the window stays
        // shown without a notification area, so the page is where the user learns it.
        setFieldText(m_statusEdit, m_context.text("No adapter"));
        return;
    }
    const StationSettings& config = m_context.window.currentConfig();
    const LinkStatus& link = m_context.window.linkStatus();
    m_transmitChart->push(0);
    m_receiveChart->push(0);
    setFieldText(m_ssidEdit, QString::fromStdString(logic::shownText(
                                 std::string_view(config.cSSID, boundedLength(config.cSSID)))));
    setFieldText(m_encryptionEdit, linkinfo::encryptionText(config.EncryptionMode));
    setFieldText(m_modeEdit, linkinfo::networkTypeText(config.NetworkType));
    setFieldText(m_rateEdit, QString::fromStdString(codes::txRateText(config.TxRate)));
    const bool known = codes::isChannelIndex(config.Channel);
    setFieldText(m_channelEdit, known ? QString::number(codes::channelNumber(config.Channel)) : QString());
    setFieldText(m_frequencyEdit,
                 known ? QString::number(codes::channelFrequency(config.Channel)) : QString());
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
    const LinkStatus& link = m_context.window.linkStatus();
    if (networkType == codes::networkAdHoc) {
        m_barsGroup->setFrameColor(greyFrame);
        for (QWidget* w :
             std::initializer_list<QWidget*>{m_qualityLabel, m_signalLabel, m_qualityBar, m_signalBar}) {
            w->setEnabled(false);
        }
        setBarValue(m_qualityBar, 0);
        setBarValue(m_signalBar, 0);
        m_qualityPercent->setText(QString());
        m_signalPercent->setText(QString());
        return;
    }
    if (networkType != codes::networkInfrastructure) {
        setBarValue(m_qualityBar, 0);
        setBarValue(m_signalBar, 0);
        return;
    }
    m_barsGroup->setFrameColor(blueFrame);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_qualityLabel, m_signalLabel, m_qualityBar, m_signalBar}) {
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
