#include "pages/ConfigPage.h"

#include "context/AppContext.h"
#include "controls/ColorGroupBox.h"
#include "controls/SkinButton.h"
#include "controls/UiServices.h"
#include "controls/WindowLog.h"
#include "dialogs/FormMessages.h"
#include "dialogs/ProfileEditor.h"
#include "pages/FormViews.h"
#include "resources/Artwork.h"
#include "storage/AppSettings.h"
#include "storage/ProfileStore.h"
#include "storage/RegistryMirror.h"
#include "storage/TextCatalog.h"

#include <QComboBox>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

using namespace formviews;
using logic::BandBox;

namespace {

// Rows from the top: SSID, network type, band, channel, power mode, preamble.
constexpr int firstRow = 14, rowStep = 30, fieldWidth = rightEdge - fieldX;
// The wireless-mode boxes: two rows of three in the "Support Band" group.
constexpr int groupX = 16, groupY = 196, groupWidth = Page::width - 2 * groupX, groupHeight = 80;
constexpr int boxColumn[] = {margin + 16, margin + 144, margin + 272};
constexpr int boxRow[] = {groupY + 22, groupY + 50};
constexpr int boxCaptionWidth = 100;

struct BoxPlace {
    BandBox box;
    const char* caption;
    const char* buttonName;
    const char* captionName;
};
// In the order they fill the group's two rows of three: "11B", "11G", "11GT" above "11A",
// "11AT" and "Extended Range", each turbo mode beside its base mode. The boxes an installation
// does not offer leave no gaps.
constexpr BoxPlace boxPlaces[] = {
    {BandBox::Mode11B, "11B", "mode11bCheck", "mode11bLabel"},
    {BandBox::Mode11G, "11G", "mode11gCheck", "mode11gLabel"},
    {BandBox::Mode11GT, "11GT", "mode11gtCheck", "mode11gtLabel"},
    {BandBox::Mode11A, "11A", "mode11aCheck", "mode11aLabel"},
    {BandBox::Mode11AT, "11AT", "mode11atCheck", "mode11atLabel"},
    {BandBox::ExtendedRange, "Extended Range", "extendedRangeCheck", "extendedRangeLabel"},
};

// SSIDs are single-byte texts: the field takes what Latin-1 can hold, and nothing is changed
// into a question mark behind the user's back.
QValidator* singleByteText(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x{1}-\\x{ff}]*")), parent);
}

} // namespace

ConfigPage::ConfigPage(AppContext& context, QWidget* parent)
    : Page(context, parent, "configPage"), m_form(textLookup(context.texts)) {
    createRows();
    createBandBoxes();
    const ApplyCancel buttons = addApplyCancel(this, m_context.text("Apply"), m_context.text("Cancel"));
    connect(buttons.apply, &SkinButton::clicked, this, &ConfigPage::Apply);
    connect(buttons.cancel, &SkinButton::clicked, this, &ConfigPage::Load);
    render();
}

void ConfigPage::createRows() {
    const char* captions[] = {"SSID", "Wireless Mode", "AdHoc Band", "Channel", "Power Mode", "Preamble"};
    const char* captionNames[] = {"ssidLabel",    "wirelessModeLabel", "adhocBandLabel",
                                  "channelLabel", "powerModeLabel",    "preambleLabel"};
    QLabel* labels[6];
    for (int row = 0; row < 6; ++row) {
        labels[row] = addCaption(m_context.text(captions[row]), captionNames[row],
                                 QRect(margin, firstRow + row * rowStep, captionWidth, rowHeight));
    }
    const auto rowRect = [](int row) {
        return QRect(fieldX, firstRow + row * rowStep, fieldWidth, rowHeight);
    };
    m_ssidEdit = new QLineEdit(this);
    m_ssidEdit->setObjectName(QStringLiteral("ssidEdit"));
    m_ssidEdit->setGeometry(rowRect(0));
    m_ssidEdit->setMaxLength(logic::configSsidLimit);
    m_ssidEdit->setValidator(singleByteText(m_ssidEdit));
    labels[0]->setBuddy(m_ssidEdit);
    connect(m_ssidEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_form.setSsid(text.toLatin1().toStdString()); });
    m_networkTypeCombo = addList(this, "wirelessModeCombo", rowRect(1), labels[1]);
    m_bandCombo = addList(this, "adhocBandCombo", rowRect(2), labels[2]);
    m_channelCombo = addList(this, "channelCombo", rowRect(3), labels[3]);
    m_powerModeCombo = addList(this, "powerModeCombo", rowRect(4), labels[4]);
    m_preambleCombo = addList(this, "preambleCombo", rowRect(5), labels[5]);

    const auto chosen = [this](QComboBox* combo, void (logic::ConfigForm::*select)(int)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, select](int index) {
            (m_form.*select)(index);
            render();
        });
    };
    chosen(m_networkTypeCombo, &logic::ConfigForm::selectNetworkType);
    chosen(m_bandCombo, &logic::ConfigForm::selectBand);
    chosen(m_channelCombo, &logic::ConfigForm::selectChannel);
    chosen(m_powerModeCombo, &logic::ConfigForm::selectPowerMode);
    chosen(m_preambleCombo, &logic::ConfigForm::selectPreamble);
}

void ConfigPage::createBandBoxes() {
    addGroup(m_context.text("Support Band"), "supportBandGroup",
             QRect(groupX, groupY, groupWidth, groupHeight));
    const QImage checked(artwork::checkBoxIconPath(true));
    const QImage unchecked(artwork::checkBoxIconPath(false));
    for (const BoxPlace& place : boxPlaces) {
        const auto index = static_cast<std::size_t>(place.box);
        auto* box = new SkinButton(this);
        box->setObjectName(QString::fromLatin1(place.buttonName));
        box->setCheckImages(checked, unchecked);
        box->setFrame(SkinButton::Frame::None); // the icon is a framed box of its own
        box->setAccessibleName(QString::fromLatin1(place.caption));
        box->setFocusPolicy(Qt::StrongFocus);
        // A disabled box fades, as its caption greys.
        auto* fade = new QGraphicsOpacityEffect(box);
        fade->setOpacity(0.4);
        fade->setEnabled(false);
        box->setGraphicsEffect(fade);
        connect(box, &SkinButton::clicked, this, [this, place] {
            m_form.clickBandBox(place.box);
            render();
        });
        QLabel* caption = addCaption(QString::fromLatin1(place.caption), place.captionName, QRect());
        caption->installEventFilter(this); // a click on the caption is a click on its box
        caption->setCursor(Qt::PointingHandCursor);
        m_boxes[index] = box;
        m_boxCaptions[index] = caption;
    }
}

void ConfigPage::placeBandBoxes() {
    int slot = 0;
    for (const BoxPlace& place : boxPlaces) {
        const auto index = static_cast<std::size_t>(place.box);
        if (!m_form.state().bandBoxes[index].visible) {
            continue;
        }
        const int x = boxColumn[slot % 3];
        const int y = boxRow[slot / 3];
        SkinButton* box = m_boxes[index];
        box->move(x, y + (rowHeight - box->height()) / 2);
        m_boxCaptions[index]->setGeometry(x + box->width() + 6, y, boxCaptionWidth, rowHeight);
        ++slot;
    }
}

bool ConfigPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (std::size_t i = 0; i < m_boxCaptions.size(); ++i) {
            if (watched == m_boxCaptions[i] && m_boxes[i]->isEnabled()) {
                m_boxes[i]->click();
                return true;
            }
        }
    }
    return Page::eventFilter(watched, event);
}

void ConfigPage::render() {
    const logic::ConfigFormState& s = m_form.state();
    const QString ssid = QString::fromLatin1(s.ssid.data(), static_cast<qsizetype>(s.ssid.size()));
    if (m_ssidEdit->text() != ssid) {
        m_ssidEdit->setText(ssid);
    }
    showChoice(m_networkTypeCombo, s.networkType);
    showChoice(m_bandCombo, s.band);
    showChoice(m_channelCombo, s.channel);
    showChoice(m_powerModeCombo, s.powerMode);
    showChoice(m_preambleCombo, s.preamble);
    placeBandBoxes();
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const logic::CheckBox& state = s.bandBoxes[i];
        SkinButton* box = m_boxes[i];
        box->setChecked(state.checked);
        box->setEnabled(state.enabled);
        box->graphicsEffect()->setEnabled(!state.enabled);
        box->setVisible(state.visible);
        m_boxCaptions[i]->setEnabled(state.enabled);
        m_boxCaptions[i]->setVisible(state.visible);
    }
}

void ConfigPage::Load() {
    m_form.load(m_context.store.ReadOnLink(), offeredModes(m_context.settings),
                m_context.window.currentConfig().ChannelPlan);
    render();
}

void ConfigPage::Apply() {
    m_form.setSsid(m_ssidEdit->text().toLatin1().toStdString());
    StationConfig fromMirror{};
    m_context.mirror.load(fromMirror);
    const logic::ConfigApplyResult result =
        logic::applyConfigForm(m_form, fromMirror, m_context.window.pendingConfig());
    if (const auto* stop = std::get_if<logic::ConfigApplyStop>(&result)) {
        showFormMessage(m_context, this, stop->message);
        return;
    }
    const auto& outcome = std::get<logic::ConfigApplyOutcome>(result);
    ProfileStore::Batch batch = m_context.store.beginBatch();
    for (const logic::StoredValue& write : outcome.onLinkWrites) {
        batch.set("on_link", write.key, write.value);
    }
    if (const platform::WriteResult written = batch.commit(); !written) {
        tellNotSaved(m_context, this,
                     QStringLiteral("The configuration could not be saved, so nothing was changed."),
                     written.reason());
        return;
    }
    // The mirror is the pages' working copy; the configuration itself is saved by now and goes
    // to the adapter regardless.
    if (m_context.mirror.store(outcome.mirror) == 0) {
        qCWarning(pagesLog) << "the configuration's copy in the registry could not be updated";
    }
    m_context.window.handOver(outcome.handOver);
    m_context.window.showPage(PageId::LinkInfo);
}
