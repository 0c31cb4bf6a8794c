#include "pages/AboutPage.h"

#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/DialogStyle.h"
#include "model/CodeTables.h"
#include "storage/AppSettings.h"

#include <QLabel>
#include <QLineEdit>

QString formatMacAddress(const unsigned char (&mac)[6]) {
    QStringList pairs;
    for (unsigned char byte : mac) {
        pairs << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return pairs.join(QLatin1Char(':')).toUpper();
}

AboutPage::AboutPage(AppContext& context, QWidget* parent) : Page(context, parent, "aboutPage") {
    // The product name above the group, both on the page's 24-pixel side margins; the block sits
    // a little above the page's middle.
    constexpr int margin = 24, nameTop = 50, groupTop = 96, groupHeight = 171;
    auto* name = addCaption(QString::fromLatin1(applicationTitle), "productLabel",
                            QRect(margin, nameTop, width - 2 * margin, 26));
    name->setFont(dialogstyle::typeface(12));
    QFont nameFont = name->font();
    nameFont.setWeight(QFont::Bold);
    name->setFont(nameFont);
    name->setStyleSheet(QStringLiteral("color: rgb(14, 40, 72);")); // the navy of the window's face

    addGroup(QStringLiteral("Adapter Information"), "adapterInfoGroup",
             QRect(margin, groupTop, width - 2 * margin, groupHeight));
    constexpr int labelX = 2 * margin, fieldX = 176, fieldW = width - 2 * margin - fieldX, rowH = 18;
    constexpr int firstRow = groupTop + 28, rowStep = 34;
    const char* captions[] = {"MAC Address", "Utility Version", "Driver Version", "Regulatory Domain"};
    const char* names[] = {"macAddressEdit", "utilityVersionEdit", "driverVersionEdit",
                           "regulatoryDomainEdit"};
    QLineEdit* fields[4];
    for (int row = 0; row < 4; ++row) {
        const int y = firstRow + row * rowStep;
        QLabel* caption = addCaption(QString::fromLatin1(captions[row]), "aboutCaption",
                                     QRect(labelX, y, fieldX - labelX - 4, rowH));
        fields[row] = addValueField(names[row], QRect(fieldX, y, fieldW, rowH), Qt::AlignLeft, caption);
    }
    m_macEdit = fields[0];
    m_versionEdit = fields[1];
    m_driverEdit = fields[2];
    m_domainEdit = fields[3];
}

void AboutPage::RefreshAbout() {
    const AdapterInfo& info = m_context.window.adapterInfo();
    m_macEdit->setText(formatMacAddress(info.macAddress));
    m_versionEdit->setText(QString::fromStdString(m_context.settings.setiniText("Ver")));
    m_driverEdit->setText(
        QString::fromLatin1(info.driverVersion, static_cast<int>(boundedLength(info.driverVersion))));
    const int plan = m_context.window.channelPlanCode();
    m_domainEdit->setText(QString::fromStdString(codes::channelPlanRegion(plan)));
}
