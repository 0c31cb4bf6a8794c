#include "AboutPage.h"

#include "AppSettings.h"
#include "CodeTables.h"
#include "ColorGroupBox.h"
#include "MainWindowHost.h"
#include "WirelessAdapter.h"

#include <QLabel>
#include <QLineEdit>

QString formatMacAddress(const unsigned char (&mac)[6]) {
    QStringList pairs;
    for (unsigned char byte : mac) {
        pairs << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return pairs.join(QLatin1Char(':')).toUpper();
}

AboutPage::AboutPage(MainWindowHost& host, QWidget* parent, std::string settingsFile)
    : Page(host, parent, "aboutPage"), m_settingsFile(std::move(settingsFile)) {
    auto* name = addCaption(QStringLiteral("Lumetra Configuration Utility"), "productLabel", QRect(24, 28, 384, 28));
    QFont nameFont = name->font();
    nameFont.setPointSize(nameFont.pointSize() + 4);
    nameFont.setWeight(QFont::Bold);
    name->setFont(nameFont);
    name->setStyleSheet(QStringLiteral("color: rgb(0, 0, 160);"));

    auto* group = new ColorGroupBox(QStringLiteral("Adapter Information"), this);
    group->setObjectName(QStringLiteral("adapterInfoGroup"));
    group->setFrameColor(QColor(0, 0, 255));
    group->setGeometry(24, 76, 384, 176);

    const int labelX = 48, fieldX = 176, fieldW = 208, rowH = 22;
    const char* captions[] = {"MAC Address", "Utility Version", "Driver Version", "Regulatory Domain"};
    const char* names[] = {"macAddressEdit", "utilityVersionEdit", "driverVersionEdit", "regulatoryDomainEdit"};
    QLineEdit* fields[4];
    for (int row = 0; row < 4; ++row) {
        const int y = 108 + row * 34;
        addCaption(QString::fromLatin1(captions[row]), "aboutCaption", QRect(labelX, y, 124, rowH));
        fields[row] = addValueField(names[row], QRect(fieldX, y, fieldW, rowH));
    }
    m_macEdit = fields[0];
    m_versionEdit = fields[1];
    m_driverEdit = fields[2];
    m_domainEdit = fields[3];
    group->lower();
}

void AboutPage::RefreshAbout() {
    const AdapterInfo& info = m_host.adapterInfo();
    m_macEdit->setText(formatMacAddress(info.macAddress));
    m_versionEdit->setText(QString::fromStdString(AppSettings(m_settingsFile).setiniText("Ver")));
    m_driverEdit->setText(QString::fromLatin1(info.driverVersion, static_cast<int>(boundedLength(info.driverVersion))));
    const int plan = m_host.adapter().GetChannelPlanByCountry();
    m_domainEdit->setText(QString::fromStdString(codes::channelPlanRegion(plan)));
}
