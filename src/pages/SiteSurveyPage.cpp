#include "pages/SiteSurveyPage.h"

#include "dialogs/FormMessages.h"

#include "context/AppContext.h"
#include "controls/ApplicationTitle.h"
#include "controls/BitmapButton.h"
#include "controls/ColorGroupBox.h"
#include "controls/UiServices.h"
#include "dialogs/ProfileEditor.h"
#include "logic/SurveyRows.h"
#include "model/CodeTables.h"
#include "resources/Artwork.h"
#include "storage/ProfileStore.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// Geometry of the 432 x 327 page: two groups as wide as Link Info's, each with its list on the
// left and its buttons in a column on the right; the networks get the larger share.
constexpr int groupX = 8, groupWidth = 416, listX = 17, buttonX = 336, buttonStep = 30;
constexpr int networkTop = 0, networkHeight = 178, networkListY = 18, networkListHeight = 152;
constexpr int profileTop = 182, profileHeight = 140, profileListY = 200, profileListWidth = 241;
constexpr int profileListHeight = 114;
constexpr int arrowX = 266; // Up and Down, between the profile list and the buttons

// The list shows the columns in the order the user reads a network by (SSID, Signal, Security,
// Channel, then the BSSID, which the list is too narrow to show beside them); the columns keep
// their numbers, and the user can drag them.
constexpr int shownOrder[SiteSurveyPage::columnCount] = {
    SiteSurveyPage::SsidColumn, SiteSurveyPage::SignalColumn, SiteSurveyPage::SecurityColumn,
    SiteSurveyPage::ChannelColumn, SiteSurveyPage::BssidColumn};
constexpr const char* headings[SiteSurveyPage::columnCount] = {"SSID", "MAC(BSSID)", "Signal", "Security",
                                                               "Channel"};

constexpr int sortRole = Qt::UserRole;     // what a column sorts by
constexpr int ssidRole = Qt::UserRole + 1; // the network's SSID bytes, as surveyed
constexpr int nameRole = Qt::UserRole + 2; // a profile row's name bytes, as stored

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string stdString(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

logic::SurveyEntryView viewOf(const BssEntry& entry) {
    logic::SurveyEntryView view;
    view.ssid = std::string_view(entry.ssid, strnlen(entry.ssid, sizeof entry.ssid));
    std::copy(std::begin(entry.bssid), std::end(entry.bssid), view.bssid.begin());
    view.signal = entry.signal;
    view.channel = entry.channel;
    view.networkType = entry.networkType;
    view.encryptionMode = entry.encryptionMode;
    view.authenticationMode = entry.authenticationMode;
    return view;
}

logic::Bssid bssidOf(const unsigned char (&bytes)[6]) {
    logic::Bssid bssid{};
    std::copy(std::begin(bytes), std::end(bytes), bssid.begin());
    return bssid;
}

// A network row that sorts by what its columns mean (the signal and the channel as numbers)
// rather than by their texts.
class NetworkItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, sortRole);
        const QVariant theirs = other.data(column, sortRole);
        if (mine.typeId() == QMetaType::Int && theirs.typeId() == QMetaType::Int) {
            return mine.toInt() < theirs.toInt();
        }
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};

// The signal column: the percentage over a bar that fills the cell as far as the signal goes.
class SignalDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        QStyleOptionViewItem background = cell;
        background.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const QRect bar = cell.rect.adjusted(3, 3, -4, -3);
        const int fill = sitesurvey::signalBarFill(index.data(sortRole).toInt(), bar.width());
        const bool selected = (cell.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->fillRect(QRect(bar.left(), bar.top(), fill, bar.height()),
                          selected ? QColor(255, 255, 255, 70) : QColor(196, 220, 248));
        painter->setPen(selected ? QColor(255, 255, 255, 140) : QColor(150, 185, 225));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(bar.adjusted(0, 0, -1, -1));
        painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(bar, Qt::AlignCenter, cell.text);
        painter->restore();
    }
};

QTreeWidget* makeList(const char* objectName, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setIconSize(QSize(16, 16));
    list->setTextElideMode(Qt::ElideRight);
    return list;
}

BitmapButton* addButton(const char* picture, const QString& word, const char* objectName, QPoint at,
                        QWidget* parent, const QString& faceWord = {}) {
    auto* button = new BitmapButton(picture, word, parent, faceWord);
    button->setObjectName(QString::fromLatin1(objectName));
    button->move(at);
    return button;
}

} // namespace

namespace sitesurvey {

int signalBarFill(int percent, int barWidth) {
    if (barWidth <= 0) {
        return 0;
    }
    const int clamped = std::clamp(percent, 0, 100);
    return (clamped * barWidth + 50) / 100;
}

} // namespace sitesurvey

SiteSurveyPage::SiteSurveyPage(AppContext& context, QWidget* parent)
    : Page(context, parent, "siteSurveyPage") {
    for (std::size_t i = 0; i < m_icons.size(); ++i) {
        m_icons[i] = QIcon(artwork::listIconPath(artwork::kListIconIds[i]));
    }
    createNetworkGroup();
    createProfileGroup();
    connect(&m_context.window, &WindowState::surveyFinished, this, &SiteSurveyPage::onSurveyFinished);
}

QString SiteSurveyPage::text(const char* english) const {
    return m_context.text(english);
}

void SiteSurveyPage::createNetworkGroup() {
    addGroup(text("Available Network"), "availableNetworkGroup",
             QRect(groupX, networkTop, groupWidth, networkHeight));
    m_networkList = makeList("networkList", this);
    m_networkList->setAccessibleName(text("Available Network"));
    m_networkList->setGeometry(listX, networkListY, buttonX - 10 - listX, networkListHeight);
    m_networkList->setColumnCount(columnCount);
    QStringList titles;
    for (const char* heading : headings) {
        titles << text(heading);
    }
    m_networkList->setHeaderLabels(titles);
    fitColumns();
    QHeaderView* header = m_networkList->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    for (int visual = 0; visual < columnCount; ++visual) {
        header->moveSection(header->visualIndex(shownOrder[visual]), visual);
    }
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    connect(header, &QHeaderView::sectionClicked, this, &SiteSurveyPage::onHeadingClicked);
    m_networkList->setItemDelegateForColumn(SignalColumn, new SignalDelegate(m_networkList));
    m_networkList->installEventFilter(this);
    connect(m_networkList, &QTreeWidget::itemDoubleClicked, this, [this] { ConnectSurveyed(); });

    auto* refresh = addButton("Refresh", text("Refresh"), "refreshButton", {buttonX, networkListY + 2}, this);
    auto* connectNetwork =
        addButton("Connect", text("Connect"), "connectNetworkButton", {buttonX, networkListY + 34}, this);
    connect(refresh, &SkinButton::clicked, this, &SiteSurveyPage::RefreshSurvey);
    connect(connectNetwork, &SkinButton::clicked, this, &SiteSurveyPage::ConnectSurveyed);
}

// Each column as wide as its texts need; the SSID takes what the list has left beside them.
void SiteSurveyPage::fitColumns() {
    const QFontMetrics metrics = m_networkList->fontMetrics();
    const auto widest = [&](std::initializer_list<QString> texts) {
        int width = 0;
        for (const QString& text : texts) {
            width = std::max(width, metrics.horizontalAdvance(text));
        }
        return width;
    };
    const QTreeWidgetItem* header = m_networkList->headerItem();
    const int padding = 11; // the cell's and the heading's margins
    const int icon = m_networkList->iconSize().width() + 4;
    const int signal = widest({header->text(SignalColumn), QStringLiteral("100%")}) + padding;
    const int security = std::max(metrics.horizontalAdvance(header->text(SecurityColumn)),
                                  icon + widest({QStringLiteral("WPA2PSK"), QStringLiteral("WPAPSK")})) +
                         padding;
    const int channel = widest({header->text(ChannelColumn), QStringLiteral("165")}) + padding;
    const int bssid = widest({header->text(BssidColumn), QStringLiteral("00:00:00:00:00:00")}) + padding;
    const int room = m_networkList->width() - 2 * m_networkList->frameWidth() -
                     m_networkList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_networkList);
    const int ssid =
        std::max(room - signal - security - channel, icon + metrics.horizontalAdvance(QString(10, 'n')));
    m_networkList->setColumnWidth(SsidColumn, ssid);
    m_networkList->setColumnWidth(SignalColumn, signal);
    m_networkList->setColumnWidth(SecurityColumn, security);
    m_networkList->setColumnWidth(ChannelColumn, channel);
    m_networkList->setColumnWidth(BssidColumn, bssid);
}

void SiteSurveyPage::createProfileGroup() {
    addGroup(text("Profile"), "profileGroup", QRect(groupX, profileTop, groupWidth, profileHeight));
    m_profileList = makeList("profileList", this);
    m_profileList->setAccessibleName(QStringLiteral("Profile list"));
    m_profileList->setGeometry(listX, profileListY, profileListWidth, profileListHeight);
    m_profileList->setColumnCount(1);
    m_profileList->setHeaderLabels({QStringLiteral("Profile list")}); // a fixed text
    m_profileList->header()->setStretchLastSection(true);
    m_profileList->header()->setSectionsClickable(false);
    m_profileList->installEventFilter(this);
    connect(m_profileList, &QTreeWidget::itemDoubleClicked, this, [this] { ConnectProfile(); });

    const int arrowsMiddle = profileListY + profileListHeight / 2;
    auto* up = addButton("Up", text("Up"), "upButton", {arrowX, arrowsMiddle - 34}, this);
    auto* down = addButton("Down", text("Down"), "downButton", {arrowX, arrowsMiddle + 10}, this);
    const auto buttonAt = [](int index) { return QPoint(buttonX, profileListY + 2 + index * buttonStep); };
    auto* add = addButton("Add", text("Add"), "addButton", buttonAt(0), this);
    auto* remove = addButton("Remove", text("Remove"), "removeButton", buttonAt(1), this);
    auto* properties = addButton("Properties", text("Properties"), "propertiesButton", buttonAt(2), this);
    auto* connectProfile = addButton("Connect", text("Connect with profile"), "connectProfileButton",
                                     buttonAt(3), this, text("Connect"));
    connect(up, &SkinButton::clicked, this, &SiteSurveyPage::MoveProfileUp);
    connect(down, &SkinButton::clicked, this, &SiteSurveyPage::MoveProfileDown);
    connect(add, &SkinButton::clicked, this, &SiteSurveyPage::AddProfile);
    connect(remove, &SkinButton::clicked, this, &SiteSurveyPage::removeSelectedProfile);
    connect(properties, &SkinButton::clicked, this, &SiteSurveyPage::EditProfile);
    connect(connectProfile, &SkinButton::clicked, this, &SiteSurveyPage::ConnectProfile);
    // Tab goes through the page top to bottom, the lists before their buttons.
    setTabOrder(m_profileList, up);
    setTabOrder(up, down);
    setTabOrder(down, add);
}

// --- The profile list ---

void SiteSurveyPage::LoadProfileList() {
    m_profileList->clear();
    int32_t base = 0;
    QList<QTreeWidgetItem*> rows;
    m_context.store.CompactProfiles(base, [&](int, const std::string& name, int bsstype) {
        if (bsstype != codes::networkAdHoc && bsstype != codes::networkInfrastructure) {
            return; // kept in the store, not listed
        }
        auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(name)});
        item->setIcon(0, m_icons[static_cast<std::size_t>(bsstype == codes::networkAdHoc
                                                              ? logic::SurveyImage::AdHoc
                                                              : logic::SurveyImage::Infrastructure)]);
        item->setData(0, nameRole, bytesOf(name));
        rows.append(item);
    });
    m_profileList->addTopLevelItems(rows);
    m_context.window.setProfileSlotBase(base);
}

QTreeWidgetItem* SiteSurveyPage::selectedProfile() const {
    const QList<QTreeWidgetItem*> selected = m_profileList->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void SiteSurveyPage::AddProfile() {
    openEditor({});
}

void SiteSurveyPage::EditProfile() {
    openProfile(false);
}

void SiteSurveyPage::ConnectProfile() {
    openProfile(true);
}

void SiteSurveyPage::openProfile(bool connect) {
    const QTreeWidgetItem* row = selectedProfile();
    if (row == nullptr) {
        return;
    }
    const std::string name = stdString(row->data(0, nameRole).toByteArray());
    const std::optional<std::string> section = m_context.store.FindProfileSection(name);
    ProfileEditorRequest request;
    if (!section) {
        // The file changed behind the program's back: the profile is gone, its name is not.
        request.mode = logic::EditorMode::Add;
        request.name = name;
    } else {
        request.mode = connect ? logic::EditorMode::Connect : logic::EditorMode::Properties;
        request.profile = m_context.store.ReadProfile(*section);
    }
    openEditor(request);
}

void SiteSurveyPage::openEditor(const ProfileEditorRequest& request) {
    // An OK has saved, handed over and shown Link Info already; the list is loaded again the
    // next time this page shows.
    openProfileEditor(m_context, request, this);
}

void SiteSurveyPage::removeSelectedProfile() {
    QTreeWidgetItem* row = selectedProfile();
    if (row == nullptr) {
        return;
    }
    if (const platform::WriteResult removed =
            m_context.store.RemoveProfile(stdString(row->data(0, nameRole).toByteArray()));
        !removed) {
        tellNotSaved(m_context, this, text("The profile could not be removed."), removed.reason());
        return;
    }
    delete row;
    m_profileList->setFocus();
}

void SiteSurveyPage::confirmRemove() {
    const QTreeWidgetItem* row = selectedProfile();
    if (row == nullptr) {
        return;
    }
    QMessageBox question(QMessageBox::Question, text("Remove"),
                         text("Remove the profile \"%1\"?").arg(row->text(0)),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::No);
    if (m_context.ui.runModal(question) == QMessageBox::Yes) {
        removeSelectedProfile();
    }
}

void SiteSurveyPage::MoveProfileUp() {
    moveProfile(-1);
}

void SiteSurveyPage::MoveProfileDown() {
    moveProfile(1);
}

void SiteSurveyPage::moveProfile(int step) {
    QTreeWidgetItem* row = selectedProfile();
    if (row == nullptr) {
        return;
    }
    const int from = m_profileList->indexOfTopLevelItem(row);
    const int to = from + step;
    if (to < 0 || to >= m_profileList->topLevelItemCount()) {
        return;
    }
    const auto place = [this](int at, int into) {
        QTreeWidgetItem* moved = m_profileList->takeTopLevelItem(at);
        m_profileList->insertTopLevelItem(into, moved);
        m_profileList->setCurrentItem(moved);
        m_profileList->setFocus();
    };
    place(from, to);
    // The two names now at the two rows, each found in the store by name.
    const auto sectionAt = [this](int index) {
        return m_context.store.FindProfileSection(
            stdString(m_profileList->topLevelItem(index)->data(0, nameRole).toByteArray()));
    };
    const std::optional<std::string> first = sectionAt(from);
    const std::optional<std::string> second = sectionAt(to);
    if (!first || !second) {
        return;
    }
    if (const platform::WriteResult exchanged = m_context.store.exchangeProfileSections(*first, *second);
        !exchanged) {
        place(to, from); // the list shows the store's order
        tellNotSaved(m_context, this, text("The profile could not be moved."), exchanged.reason());
    }
}

// --- The network list ---

void SiteSurveyPage::shown() {
    LoadProfileList();
    repaint();
    RefreshSurvey();
}

void SiteSurveyPage::RefreshSurvey() {
    if (!m_waitCursor) {
        m_context.ui.beginWaitCursor();
        m_waitCursor = true;
    }
    if (!m_context.window.startSurvey() && !m_context.window.surveyRunning()) {
        onSurveyFinished(); // nothing could start: show what there is and let the cursor go
    }
}

void SiteSurveyPage::onSurveyFinished() {
    fillSurveyList();
    if (m_waitCursor) {
        m_waitCursor = false;
        m_context.ui.endWaitCursor();
    }
}

void SiteSurveyPage::fillSurveyList() {
    // The row the user had chosen stays chosen when its network is still there.
    QByteArray chosenSsid;
    QString chosenBssid;
    if (const QTreeWidgetItem* chosen = selectedNetwork()) {
        chosenSsid = chosen->data(SsidColumn, ssidRole).toByteArray();
        chosenBssid = chosen->text(BssidColumn);
    }
    m_networkList->clear();
    const std::string_view mine(
        m_context.window.currentConfig().cSSID,
        strnlen(m_context.window.currentConfig().cSSID, sizeof m_context.window.currentConfig().cSSID));
    const logic::Bssid linkBssid = bssidOf(m_context.window.linkStatus().bssid);
    QList<QTreeWidgetItem*> rows;
    QTreeWidgetItem* reselect = nullptr;
    for (const BssEntry& entry : m_context.window.survey()) {
        const logic::SurveyEntryView view = viewOf(entry);
        const logic::SurveyRow shown = logic::surveyRow(view, mine, linkBssid);
        auto* item = new NetworkItem;
        item->setText(SsidColumn, QString::fromStdString(shown.name));
        item->setIcon(SsidColumn, m_icons[static_cast<std::size_t>(shown.rowImage)]);
        const std::string surveyed = logic::surveyName(view.ssid);
        item->setData(SsidColumn, ssidRole, bytesOf(surveyed));
        // The whole name where the column cuts it, with the access point it belongs to.
        item->setToolTip(SsidColumn, QString::fromStdString(shown.name + "\n" + shown.bssid));
        item->setText(BssidColumn, QString::fromStdString(shown.bssid));
        item->setText(SignalColumn, QString::fromStdString(shown.signal));
        item->setData(SignalColumn, sortRole, int(entry.signal));
        item->setText(SecurityColumn, QString::fromStdString(shown.security.text));
        item->setIcon(SecurityColumn, m_icons[static_cast<std::size_t>(shown.security.image)]);
        item->setText(ChannelColumn, QString::fromStdString(shown.channel));
        item->setData(ChannelColumn, sortRole, int(entry.channel));
        if (shown.current) {
            QFont bold = item->font(SsidColumn);
            bold.setBold(true);
            item->setFont(SsidColumn, bold);
        }
        if (reselect == nullptr && !chosenBssid.isEmpty() && bytesOf(surveyed) == chosenSsid &&
            item->text(BssidColumn) == chosenBssid) {
            reselect = item;
        }
        rows.append(item);
    }
    m_networkList->addTopLevelItems(rows);
    applySort();
    if (reselect != nullptr) {
        m_networkList->setCurrentItem(reselect);
    }
}

QTreeWidgetItem* SiteSurveyPage::selectedNetwork() const {
    const QList<QTreeWidgetItem*> selected = m_networkList->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void SiteSurveyPage::onHeadingClicked(int column) {
    // A first click on a heading sorts by it, strongest signal first and other columns from A;
    // another click on the same heading turns the order round.
    Qt::SortOrder order = column == SignalColumn ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (m_sort && m_sort->first == column) {
        order = m_sort->second == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    m_sort = {column, order};
    applySort();
}

void SiteSurveyPage::applySort() {
    QHeaderView* header = m_networkList->header();
    if (!m_sort) {
        header->setSortIndicatorShown(false);
        return;
    }
    m_networkList->sortItems(m_sort->first, m_sort->second);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(m_sort->first, m_sort->second);
}

void SiteSurveyPage::ConnectSurveyed() {
    const QTreeWidgetItem* row = selectedNetwork();
    if (row == nullptr) {
        return;
    }
    const std::string ssid = stdString(row->data(SsidColumn, ssidRole).toByteArray());
    const std::string bssid = row->text(BssidColumn).toStdString();
    ProfileEditorRequest request;
    request.mode = logic::EditorMode::Surveyed;
    request.ssid = ssid;
    for (const BssEntry& entry : m_context.window.survey()) {
        const logic::SurveyEntryView view = viewOf(entry);
        if (logic::matchesSurveyRow(view, ssid, bssid)) { // the last match wins
            request.network = logic::SurveyedNetwork{std::string(view.ssid), entry.channel, entry.networkType,
                                                     entry.encryptionMode, entry.authenticationMode};
        }
    }
    openEditor(request);
}

// --- Keyboard ---

bool SiteSurveyPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != m_networkList && watched != m_profileList)) {
        return Page::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool profiles = watched == m_profileList;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        profiles ? ConnectProfile() : ConnectSurveyed();
        return true;
    }
    if (profiles && key->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        confirmRemove();
        return true;
    }
    if (profiles && modifiers == Qt::ControlModifier &&
        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        key->key() == Qt::Key_Up ? MoveProfileUp() : MoveProfileDown();
        return true;
    }
    return Page::eventFilter(watched, event);
}
