#include "dialogs/ProfileDialog.h"

#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/BitmapButton.h"
#include "controls/ColorGroupBox.h"
#include "controls/DialogStyle.h"
#include "controls/IconCheckBox.h"
#include "controls/KeyEdit.h"
#include "controls/UiServices.h"
#include "dialogs/FormMessages.h"
#include "dialogs/ProfileEditor.h"
#include "dialogs/SecurityDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <type_traits>

#include <variant>

using logic::BandBox;

namespace {

constexpr int fieldWidth = 150; // the drop-down lists beside their labels
constexpr int keyFieldWidth = 196;
constexpr int comboChrome = 44; // a drop-down list's frame, margins and arrow

// What a field takes from the keyboard: at most maxChars characters of at most maxBytes bytes
// together (the text is stored as UTF-8). Texts the program puts in are shown whole.
class TextLimitValidator : public QValidator {
public:
    TextLimitValidator(int maxChars, int maxBytes, QObject* parent)
        : QValidator(parent), m_maxChars(maxChars), m_maxBytes(maxBytes) {}

    State validate(QString& input, int&) const override {
        return input.size() > m_maxChars || input.toUtf8().size() > m_maxBytes ? Invalid : Acceptable;
    }

private:
    int m_maxChars;
    int m_maxBytes;
};

struct BandBoxSpec {
    BandBox box;
    const char* text;
    const char* objectName;
    int row, column;
};
constexpr BandBoxSpec bandBoxSpecs[] = {
    {BandBox::Mode11B, "11B", "mode11bBox", 0, 0},
    {BandBox::Mode11G, "11G", "mode11gBox", 0, 1},
    {BandBox::Mode11GT, "11GT", "mode11gtBox", 0, 2},
    {BandBox::ExtendedRange, "Extended Range", "extendedRangeBox", 0, 3},
    {BandBox::Mode11A, "11A", "mode11aBox", 1, 0},
    {BandBox::Mode11AT, "11AT", "mode11atBox", 1, 1},
};

QString fromBytes(const std::string& text) {
    return QString::fromStdString(text);
}

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// A drop-down list as the form has it. Items are replaced only when they changed, so that an
// open list is not rebuilt under the user.
void showState(QComboBox* combo, const logic::ChoiceList& list) {
    bool same = combo->count() == static_cast<int>(list.items.size());
    for (int i = 0; same && i < combo->count(); ++i) {
        same = combo->itemText(i) == fromBytes(list.items[at(i)]);
    }
    if (!same) {
        combo->clear();
        int widest = 0;
        for (const std::string& item : list.items) {
            combo->addItem(fromBytes(item));
            widest = std::max(widest, combo->fontMetrics().horizontalAdvance(fromBytes(item)));
        }
        // Wide enough for its longest item beside the arrow, which the style's own hint is not.
        combo->setMinimumWidth(std::max(combo->minimumWidth(), widest + comboChrome));
    }
    combo->setCurrentIndex(list.selected);
    combo->setEnabled(list.enabled);
    combo->setVisible(list.visible);
}

void showState(QLineEdit* edit, const std::string& text) {
    const QString shown = fromBytes(text);
    if (edit->text() != shown) {
        edit->setText(shown);
    }
}

QLabel* addLabel(const QString& text, const char* objectName, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    if (buddy != nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

QComboBox* addCombo(const char* objectName, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setMinimumWidth(fieldWidth);
    return combo;
}

} // namespace

ProfileDialog::ProfileDialog(AppContext& context, logic::ProfileForm form, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_context(context), m_form(std::move(form)) {
    setObjectName(QStringLiteral("profileDialog"));
    setWindowTitle(text("Profile"));
    dialogstyle::applyFace(*this);
    build();
    render();
    connectInputs();
    m_nameEdit->setFocus();
}

QString ProfileDialog::text(const char* english) const {
    return m_context.text(english);
}

void ProfileDialog::build() {
    auto* network = new QGridLayout;
    network->setHorizontalSpacing(8);
    network->setVerticalSpacing(6);
    buildNetworkPart(network);

    m_applyButton = new BitmapButton("Apply", text("Apply"), this);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    m_cancelButton = new BitmapButton("Cancel", text("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch();
    buttons->addWidget(m_applyButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);
    layout->addLayout(network);
    layout->addWidget(buildBandGroup());
    layout->addWidget(buildSecurityGroup());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProfileDialog::buildNetworkPart(QGridLayout* grid) {
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setValidator(
        new TextLimitValidator(int(logic::nameFieldLimit), int(logic::storedNameLimit), this));
    m_ssidEdit = new QLineEdit(this);
    m_ssidEdit->setObjectName(QStringLiteral("ssidEdit"));
    m_ssidEdit->setValidator(
        new TextLimitValidator(int(logic::ssidFieldLimit), int(logic::ssidFieldLimit), this));
    m_networkTypeCombo = addCombo("networkTypeCombo", this);
    m_bandCombo = addCombo("bandCombo", this);
    m_channelCombo = addCombo("channelCombo", this);
    m_powerModeCombo = addCombo("powerModeCombo", this);

    grid->addWidget(addLabel(text("Profile Name"), "nameLabel", m_nameEdit, this), 0, 0);
    grid->addWidget(m_nameEdit, 0, 1, 1, 3);
    grid->addWidget(addLabel(text("SSID"), "ssidLabel", m_ssidEdit, this), 1, 0);
    grid->addWidget(m_ssidEdit, 1, 1, 1, 3);
    grid->addWidget(addLabel(text("Wireless Mode"), "networkTypeLabel", m_networkTypeCombo, this), 2, 0);
    grid->addWidget(m_networkTypeCombo, 2, 1);
    grid->addWidget(addLabel(text("Power Mode"), "powerModeLabel", m_powerModeCombo, this), 2, 2);
    grid->addWidget(m_powerModeCombo, 2, 3);
    grid->addWidget(addLabel(text("AdHoc Band"), "bandLabel", m_bandCombo, this), 3, 0);
    grid->addWidget(m_bandCombo, 3, 1);
    grid->addWidget(addLabel(text("Channel"), "channelLabel", m_channelCombo, this), 3, 2);
    grid->addWidget(m_channelCombo, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

ColorGroupBox* ProfileDialog::buildBandGroup() {
    auto* group = new ColorGroupBox(text("Support Band"), this);
    group->setObjectName(QStringLiteral("supportBandGroup"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(12, group->fontMetrics().height() + 6, 12, 8);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    for (const BandBoxSpec& spec : bandBoxSpecs) {
        auto* box = new IconCheckBox(QString::fromLatin1(spec.text), group);
        box->setObjectName(QString::fromLatin1(spec.objectName));
        grid->addWidget(box, spec.row, spec.column);
        m_bandBoxes[static_cast<std::size_t>(spec.box)] = box;
    }
    grid->setColumnStretch(4, 1);
    return group;
}

ColorGroupBox* ProfileDialog::buildSecurityGroup() {
    auto* group = new ColorGroupBox(text("Security"), this);
    group->setObjectName(QStringLiteral("securityGroup"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(12, group->fontMetrics().height() + 6, 12, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);

    m_authCombo = addCombo("authModeCombo", group);
    m_cipherCombo = addCombo("encryptionCombo", group);
    m_configButton = new QPushButton(text("Config"), group);
    m_configButton->setObjectName(QStringLiteral("configButton"));
    m_configButton->setAutoDefault(false);
    dialogstyle::styleButton(*m_configButton);
    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(8);
    choices->setVerticalSpacing(5);
    choices->addWidget(addLabel(text("Auth. Mode"), "authModeLabel", m_authCombo, group), 0, 0);
    choices->addWidget(m_authCombo, 0, 1);
    choices->addWidget(addLabel(text("Encryption"), "encryptionLabel", m_cipherCombo, group), 1, 0);
    choices->addWidget(m_cipherCombo, 1, 1);
    choices->addWidget(m_configButton, 0, 2, Qt::AlignLeft);
    choices->setColumnStretch(3, 1);
    grid->addLayout(choices, 0, 0, 1, 3);
    grid->setRowMinimumHeight(1, 6);

    const QString defaultKey = text("Default Key");
    const QString networkKey = text("Network Key");
    const QString keyLength = text("Key Length");
    grid->addWidget(addLabel(defaultKey, "defaultKeyLabel", nullptr, group), 2, 0);
    grid->addWidget(addLabel(networkKey, "networkKeyLabel", nullptr, group), 2, 1);
    grid->addWidget(addLabel(keyLength, "keyLengthLabel", nullptr, group), 2, 2);
    for (int k = 0; k < 4; ++k) {
        const QString number = QString::number(k + 1);
        auto* radio = new QRadioButton(number, group);
        radio->setObjectName(QStringLiteral("defaultKey%1Radio").arg(number));
        radio->setAccessibleName(defaultKey + QLatin1Char(' ') + number);
        radio->setAutoExclusive(false); // the form keeps one checked, or none for a stored profile
        auto* edit = new KeyEdit(group);
        edit->setObjectName(QStringLiteral("key%1Edit").arg(number));
        edit->setAccessibleName(networkKey + QLatin1Char(' ') + number);
        edit->setMinimumWidth(keyFieldWidth);
        auto* length = new QComboBox(group);
        length->setObjectName(QStringLiteral("keyLength%1Combo").arg(number));
        length->setAccessibleName(keyLength + QLatin1Char(' ') + number);
        grid->addWidget(radio, 3 + k, 0, Qt::AlignHCenter);
        grid->addWidget(edit, 3 + k, 1);
        grid->addWidget(length, 3 + k, 2);
        m_defaultKeyRadios[at(k)] = radio;
        m_keyEdits[at(k)] = edit;
        m_keyLengthCombos[at(k)] = length;
    }
    m_keyFormatCombo = new QComboBox(group);
    m_keyFormatCombo->setObjectName(QStringLiteral("keyFormatCombo"));
    grid->addWidget(addLabel(text("Key Format"), "keyFormatLabel", m_keyFormatCombo, group), 7, 0,
                    Qt::AlignRight);
    grid->addWidget(m_keyFormatCombo, 7, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    return group;
}

void ProfileDialog::connectInputs() {
    // Every input goes to the form, and the form's state is shown again; the controls' own
    // signals while they are being set from the form are not input.
    const auto input = [this](auto change) {
        return [this, change](auto... args) {
            if (m_rendering) {
                return;
            }
            std::optional<logic::FormMessage> message;
            if constexpr (std::is_void_v<decltype(change(args...))>) {
                change(args...);
            } else {
                message = change(args...);
            }
            render();
            inform(message);
        };
    };
    // Every change of the text, also one a screen reader's tool makes through the field.
    connect(m_nameEdit, &QLineEdit::textChanged, this,
            input([this](const QString& name) { m_form.setName(name.toStdString()); }));
    connect(m_ssidEdit, &QLineEdit::textChanged, this,
            input([this](const QString& ssid) { m_form.setSsid(ssid.toStdString()); }));
    connect(m_networkTypeCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { m_form.selectNetworkType(i); }));
    connect(m_bandCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { m_form.selectBand(i); }));
    connect(m_channelCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { m_form.selectChannel(i); }));
    connect(m_powerModeCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { m_form.selectPowerMode(i); }));
    for (const BandBoxSpec& spec : bandBoxSpecs) {
        connect(m_bandBoxes[static_cast<std::size_t>(spec.box)], &QCheckBox::clicked, this,
                input([this, box = spec.box](bool) { m_form.clickBandBox(box); }));
    }
    connect(m_authCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { return m_form.selectAuthentication(i); }));
    connect(m_cipherCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { m_form.selectCipher(i); }));
    connect(m_configButton, &QPushButton::clicked, this, &ProfileDialog::onConfig);
    for (int k = 0; k < 4; ++k) {
        connect(m_defaultKeyRadios[at(k)], &QRadioButton::clicked, this,
                input([this, k](bool) { return m_form.checkDefaultKey(k); }));
        // Every change of the text, the one that empties a masked field included.
        connect(m_keyEdits[at(k)], &QLineEdit::textChanged, this,
                input([this, k](const QString&) { m_form.setKeyText(k, m_keyEdits[at(k)]->keyText()); }));
        connect(m_keyLengthCombos[at(k)], &QComboBox::currentIndexChanged, this,
                input([this, k](int i) { return m_form.selectKeyLength(k, i); }));
    }
    connect(m_keyFormatCombo, &QComboBox::currentIndexChanged, this,
            input([this](int i) { return m_form.selectKeyFormat(i); }));
    connect(m_applyButton, &SkinButton::clicked, this, &ProfileDialog::accept);
    connect(m_cancelButton, &SkinButton::clicked, this, &ProfileDialog::reject);
}

void ProfileDialog::render() {
    const bool wasRendering = m_rendering;
    m_rendering = true;
    const logic::ProfileFormState& s = m_form.state();
    showState(m_nameEdit, s.name);
    showState(m_ssidEdit, s.ssid);
    showState(m_networkTypeCombo, s.networkType);
    showState(m_bandCombo, s.band);
    showState(m_channelCombo, s.channel);
    showState(m_powerModeCombo, s.powerMode);
    for (const BandBoxSpec& spec : bandBoxSpecs) {
        QCheckBox* box = m_bandBoxes[static_cast<std::size_t>(spec.box)];
        const logic::CheckBox& state = s.bandBox(spec.box);
        box->setChecked(state.checked);
        box->setEnabled(state.enabled);
        box->setVisible(state.visible);
    }
    const logic::SecurityState& security = m_form.security();
    showState(m_authCombo, security.authentication);
    showState(m_cipherCombo, security.cipher);
    m_configButton->setEnabled(security.configEnabled);
    for (int k = 0; k < 4; ++k) {
        m_defaultKeyRadios[at(k)]->setChecked(security.defaultKey.selected == k);
        m_defaultKeyRadios[at(k)]->setEnabled(security.defaultKey.enabled);
        const logic::KeyField& key = security.keys[at(k)];
        KeyEdit* edit = m_keyEdits[at(k)];
        // The text before the limit: a shorter limit would cut the text from its end.
        if (edit->keyText() != key.text) {
            edit->setKeyText(key.text);
        }
        edit->setMaxLength(key.limit > 0 ? key.limit : 32767);
        edit->setMasked(key.masked);
        edit->setHexOnly(key.hexOnly);
        edit->setEnabled(key.enabled);
        showState(m_keyLengthCombos[at(k)], security.keyLength[at(k)]);
    }
    showState(m_keyFormatCombo, security.keyFormat);
    m_rendering = wasRendering;
}

void ProfileDialog::inform(const std::optional<logic::FormMessage>& message) {
    if (message) {
        showFormMessage(m_context, this, *message);
    }
}

void ProfileDialog::onConfig() {
    runSecurityDialog(m_context, m_form, this);
}

void ProfileDialog::accept() {
    const logic::ApplyResult result = logic::applyProfileForm(m_form);
    if (const auto* stop = std::get_if<logic::ApplyStop>(&result)) {
        if (stop->emptyKeyField >= 0) {
            m_form.setKeyText(stop->emptyKeyField, std::string());
            render();
        }
        inform(stop->message);
        return;
    }
    if (saveAcceptedProfile(m_context, std::get<logic::ApplyOutcome>(result), this)) {
        QDialog::accept();
    }
}

void ProfileDialog::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (focusWidget() == m_cancelButton) {
            reject();
        } else if (focusWidget() == m_configButton) {
            m_configButton->click();
        } else {
            accept();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
