#include "CountryDialog.h"

#include "AppSettings.h"
#include "CountryTable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* boldLabel(const char* text, QWidget* parent, const char* name) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    QFont font = label->font();
    font.setWeight(QFont::Bold);
    label->setFont(font);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

CountryDialog::CountryDialog(QWidget* parent, std::string settingsFile)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_settingsFile(std::move(settingsFile)) {
    setWindowTitle(QStringLiteral("Wireless Configuration Utility Country Selector"));
    QFont dialogFont = font();
    dialogFont.setPointSize(10);
    setFont(dialogFont);

    m_countryCombo = new QComboBox(this);
    m_countryCombo->setObjectName(QStringLiteral("countryCombo"));
    m_countryCombo->setMaxVisibleItems(12);
    m_domainLabel = new QLabel(QStringLiteral(" FCC"), this);
    m_domainLabel->setObjectName(QStringLiteral("domainLabel"));
    m_channelsLabel = new QLabel(QStringLiteral(" 1-11"), this);
    m_channelsLabel->setObjectName(QStringLiteral("channelsLabel"));
    auto* warning = boldLabel(
        "WARNING: Selecting the incorrect region may be in violation of applicable laws.", this, "warningLabel");
    warning->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    warning->setWordWrap(true);
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(boldLabel("Regulatory Domain.", this, "domainCaption"), 0, 0);
    grid->addWidget(m_domainLabel, 0, 1);
    grid->addWidget(boldLabel("Available Channels:", this, "channelsCaption"), 1, 0);
    grid->addWidget(m_channelsLabel, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boldLabel("Please select the country domain.", this, "promptLabel"));
    layout->addWidget(m_countryCombo);
    layout->addLayout(grid);
    layout->addWidget(warning);
    layout->addWidget(okButton, 0, Qt::AlignRight);
    setFixedWidth(360);

    connect(m_countryCombo, &QComboBox::currentIndexChanged, this, &CountryDialog::onSelectionChanged);
    connect(okButton, &QPushButton::clicked, this, &CountryDialog::accept);
    resetChoices();
}

void CountryDialog::resetChoices() {
    const QSignalBlocker blocker(m_countryCombo);
    m_countryCombo->clear();
    for (const auto& entry : countryTable()) {
        m_countryCombo->addItem(QString::fromStdString(entry.name));
    }
    m_countryCombo->setCurrentIndex(0);
}

void CountryDialog::onSelectionChanged(int index) {
    const CountryEntry& entry = countryAt(index);
    m_domainLabel->setText(QString::fromStdString(entry.domain));
    m_channelsLabel->setText(QString::fromStdString(entry.channels));
}

void CountryDialog::accept() {
    m_code = countryAt(m_countryCombo->currentIndex()).code;
    AppSettings(m_settingsFile).writeCountryDomain(m_code);
    QDialog::accept();
}
