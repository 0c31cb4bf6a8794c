#include "dialogs/CountryDialog.h"

#include "controls/ApplicationTitle.h"
#include "controls/DialogStyle.h"
#include "controls/UiServices.h"
#include "dialogs/CountryTable.h"
#include "platform/FileSystem.h"
#include "storage/AppSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QLabel* boldLabel(const char* text, QWidget* parent, const char* name) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setFont(dialogstyle::typeface(10, true));
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

constexpr int dialogWidth = 440;

} // namespace

CountryDialog::CountryDialog(QWidget* parent, AppSettings& settings, UiServices& ui)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_settings(settings),
      m_ui(ui) {
    setWindowTitle(QStringLiteral("Wireless Configuration Utility Country Selector"));
    dialogstyle::applyFace(*this, 10);

    m_countryCombo = new QComboBox(this);
    m_countryCombo->setObjectName(QStringLiteral("countryCombo"));
    m_countryCombo->setMaxVisibleItems(12);
    // A list that drops below the box, twelve countries high, rather than one over the screen.
    m_countryCombo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    m_domainLabel = new QLabel(QStringLiteral(" FCC"), this);
    m_domainLabel->setObjectName(QStringLiteral("domainLabel"));
    dialogstyle::showAsValue(*m_domainLabel);
    m_channelsLabel = new QLabel(QStringLiteral(" 1-11"), this);
    m_channelsLabel->setObjectName(QStringLiteral("channelsLabel"));
    dialogstyle::showAsValue(*m_channelsLabel);
    auto* warning =
        boldLabel("WARNING: Selecting the incorrect region may be in violation of applicable laws.", this,
                  "warningLabel");
    warning->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    warning->setWordWrap(true);
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    dialogstyle::styleButton(*okButton);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(boldLabel("Regulatory Domain.", this, "domainCaption"), 0, 0);
    grid->addWidget(m_domainLabel, 0, 1);
    grid->addWidget(boldLabel("Available Channels:", this, "channelsCaption"), 1, 0);
    grid->addWidget(m_channelsLabel, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(0);
    layout->addWidget(boldLabel("Please select the country domain.", this, "promptLabel"));
    layout->addSpacing(8);
    layout->addWidget(m_countryCombo);
    layout->addSpacing(14);
    layout->addLayout(grid);
    layout->addSpacing(14);
    layout->addWidget(warning);
    layout->addSpacing(16);
    layout->addWidget(okButton, 0, Qt::AlignRight);
    // A fixed face: the width is chosen, the height is what the wrapped warning needs there.
    setFixedSize(dialogWidth, layout->totalHeightForWidth(dialogWidth));

    m_countryCombo->setAccessibleName(QStringLiteral("Country"));
    connect(m_countryCombo, &QComboBox::currentIndexChanged, this, &CountryDialog::onSelectionChanged);
    connect(okButton, &QPushButton::clicked, this, &CountryDialog::accept);
    resetChoices();
}

void CountryDialog::showEvent(QShowEvent* event) {
    // At first start the main window is still hidden, so there is nothing to centre over:
    // the question then stands in the middle of the screen.
    const QWidget* owner = parentWidget();
    if ((owner == nullptr || !owner->isVisible()) && screen() != nullptr) {
        QRect centred(QPoint(), frameGeometry().size());
        centred.moveCenter(screen()->availableGeometry().center());
        move(centred.topLeft());
    }
    QDialog::showEvent(event);
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
    const CountryEntry& chosen = countryAt(m_countryCombo->currentIndex());
    m_code = chosen.code;
    if (const platform::WriteResult written = m_settings.writeCountryDomain(m_code, chosen.isoCode);
        !written) {
        // The choice still holds for this run; the question comes back at the next start.
        m_ui.message(this,
                     QStringLiteral("Your country could not be saved, so you will be asked again at the next "
                                    "start.\n\n%1")
                         .arg(QString::fromStdString(written.reason())),
                     QString::fromLatin1(applicationTitle), UiServices::MessageIcon::Warning);
    }
    QDialog::accept();
}
