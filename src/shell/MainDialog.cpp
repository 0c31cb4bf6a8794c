#include "shell/MainDialog.h"

#include "controls/ApplicationTitle.h"
#include "controls/SkinButton.h"
#include "controls/UiServices.h"
#include "controls/WindowLog.h"
#include "dialogs/CountryDialog.h"
#include "pages/Page.h"
#include "resources/Artwork.h"
#include "shell/LayoutEditor.h"
#include "shell/ShellState.h"
#include "storage/AppSettings.h"
#include "storage/TextCatalog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

constexpr int layoutEditorCode = 51846;

WirelessAdapter::Options adapterOptions(WirelessAdapter::Monitor monitor) {
    WirelessAdapter::Options options;
    options.monitor = monitor;
    // The end of the program (Exit, SIGTERM) waits this long for a cycle in progress; a survey or
    // a driver call still running after it is left to finish on its own.
    options.stopWait = std::chrono::milliseconds(500);
    return options;
}

} // namespace

MainDialog::MainDialog(std::shared_ptr<AdapterBackend> backend, const AppServices& services, Options options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_services(services), m_options(options),
      m_adapter(std::move(backend), adapterOptions(options.monitor)),
      m_state(std::make_unique<ShellState>(m_adapter, services.store)),
      m_context(std::make_unique<AppContext>(services, *m_state)) {
    setObjectName(QStringLiteral("mainDialog"));
    // The title is the single-instance key: the native window carries it from the start,
    // hidden or not, so that a second start can find it.
    setWindowTitle(QString::fromLatin1(title));
    setAccessibleName(QString::fromLatin1(title));
    winId();
    m_state->setPageSwitcher(
        {[this](PageId page) { ShowPage(page); }, [this] { completeApplyOnConfigurationPage(); }});
    createControls();
}

MainDialog::~MainDialog() {
    m_statusTimer.stop();
    // The pages work with the context and the state: they go first, not with the QWidget base.
    delete m_pageFrame;
    m_pages = {};
}

void MainDialog::createControls() {
    m_pageFrame = new QWidget(this);
    m_pageFrame->setObjectName(QStringLiteral("pageFrame"));
    for (const PageDescriptor& descriptor : pageTable()) {
        auto* button = new SkinButton(this);
        button->setObjectName(QString::fromLatin1(descriptor.buttonName));
        // The pictures carry the words; screen readers get them here, and which page is shown
        // as the selected tab.
        button->setPageTab(true); // before anything makes the button's accessible interface
        button->setCheckable(true);
        button->setAccessibleName(QString::fromLatin1(descriptor.word));
        const PageId page = descriptor.id;
        connect(button, &SkinButton::clicked, this, [this, page] { ShowPage(page); });
        m_pageButtons[static_cast<std::size_t>(descriptor.id)] = button;
    }
    m_closeButton = new SkinButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setAccessibleName(QStringLiteral("Close"));
    connect(m_closeButton, &SkinButton::clicked, this, [this] {
        if (m_tray->available()) {
            hide(); // windowShown stays 1: the tray shows the window again
        } else {
            onTrayMenuExit(); // nothing could open a hidden window again
        }
    });
    m_layoutEditor = new LayoutEditor(*this);
    m_layoutEditor->setObjectName(QStringLiteral("layoutEditor"));
    m_statusTimer.setSingleShot(true);
    connect(&m_statusTimer, &QTimer::timeout, this, &MainDialog::onStatusTimer);
}

void MainDialog::OnInitDialog() {
    setWindowTitle(QString::fromLatin1(title));
    ApplySkinImage(LayoutTarget::CloseButton, "X1");
    // The skin's pictures draw each button whole, its edge and its look in every state: a frame
    // drawn around them would be square around a rounded picture, so none is drawn. The close
    // button has one picture only: it lightens under the pointer instead.
    m_closeButton->setFrame(SkinButton::Frame::Highlight);
    for (SkinButton* button : m_pageButtons) {
        button->setFrame(SkinButton::Frame::None);
    }
    createTray();
    LoadLayout();
    askCountryAtFirstStart();
    if (m_services.settings.setiniNumber("OnOff") == layoutEditorCode) {
        m_layoutEditor->setEditorVisible(true);
        m_pageFrame->hide();
    }
    ShowPage(PageId::LinkInfo);
    ApplySkinImage(LayoutTarget::Background, "Main");
    if (m_options.startTimers) {
        m_statusTimer.start(1000);
    }
}

Page* MainDialog::page(PageId id) {
    Page*& page = m_pages[static_cast<std::size_t>(id)];
    if (page == nullptr) {
        page = pageDescriptor(id).create(*m_context, m_pageFrame, m_options.startTimers);
        page->move(0, 0);
        page->hide();
    }
    return page;
}

void MainDialog::createTray() {
    m_tray = new TrayController(this, m_options.tray);
    connect(m_tray, &TrayController::openRequested, this, &MainDialog::onTrayDoubleClick);
    connect(m_tray, &TrayController::exitRequested, this, &MainDialog::onTrayMenuExit);
    connect(m_tray, &TrayController::availabilityChanged, this, &MainDialog::onTrayAvailabilityChanged);
    m_tray->setIcon(TrayIcon::Starting, trayTip());
}

QString MainDialog::trayTip() const {
    return m_context->text(title);
}

void MainDialog::askCountryAtFirstStart() {
    if (m_services.settings.setiniNumber("CountryDomain") != AppSettings::countryPending) {
        return;
    }
    CountryDialog dialog(this, m_services.settings, m_services.ui);
    if (m_services.ui.runModal(dialog) == QDialog::Accepted) {
        m_adapter.setChannelPlan(dialog.code());
    }
}

void MainDialog::hidePages() {
    for (Page* p : m_pages) {
        if (p != nullptr) {
            p->hide();
        }
    }
    resetPageButtons();
}

void MainDialog::ShowPage(PageId page) {
    hidePages();
    const auto index = static_cast<std::size_t>(page);
    if (index >= pageCount) {
        return; // not a page: every page stays hidden
    }
    const PageDescriptor& descriptor = pageTable()[index];
    Page* shown = this->page(descriptor.id);
    shown->aboutToShow();
    shown->show();
    ApplySkinImage(pageButtonTarget(page), descriptor.selectedKey);
    m_pageButtons[index]->setChecked(true);
    shown->shown();
}

void MainDialog::completeApplyOnConfigurationPage() {
    ShowPage(PageId::Configuration);
    page(PageId::Configuration)->completeApply();
}

void MainDialog::resetPageButtons() {
    for (const PageDescriptor& descriptor : pageTable()) {
        ApplySkinPair(pageButtonTarget(descriptor.id), descriptor.hoverKey, descriptor.normalKey);
        m_pageButtons[static_cast<std::size_t>(descriptor.id)]->setChecked(false);
    }
}

void MainDialog::onStatusTimer() {
    m_statusTimer.stop();
    m_tray->refreshAvailability();
    const TickActions actions = m_state->tick(m_tray->available());
    if (actions.hideWindow) {
        hideWindow();
    }
    m_tray->setIcon(actions.icon ? actions.icon : m_tray->icon(), trayTip());
    if (m_options.startTimers) {
        m_statusTimer.start(1000);
    }
}

void MainDialog::hideWindow() {
    m_windowShown = 0;
    hide();
}

void MainDialog::onTrayDoubleClick() {
    if (m_state->systemServiceManages()) {
        hideWindow();
        m_adapter.openSystemSettings();
        return;
    }
    m_windowShown = 1;
    show();
    raise();
    activateWindow();
    ShowPage(PageId::LinkInfo);
}

void MainDialog::onTrayAvailabilityChanged(bool available) {
    if (!available && !isVisible()) {
        // The notification area went away with the window hidden: nothing else could open it.
        onTrayDoubleClick();
    }
}

void MainDialog::onTrayMenuExit() {
    m_exitRequested = true;
    QApplication::exit(0);
    closeOwnedDialogs();
}

void MainDialog::closeOwnedDialogs() {
    // A dialog belongs to the window when the window is among its ancestors: the pages'
    // dialogs hang off a page inside the frame, and theirs off them in turn.
    const auto owned = [this](const QWidget* dialog) {
        for (const QWidget* parent = dialog->parentWidget(); parent != nullptr;
             parent = parent->parentWidget()) {
            if (parent == this) {
                return true;
            }
        }
        return false;
    };
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible() && owned(dialog)) {
            dialog->reject();
        }
    }
}

void MainDialog::setVisible(bool visible) {
    if (visible && m_windowShown == 0) {
        return; // the window never shows itself: only the tray opens it
    }
    QWidget::setVisible(visible);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!m_tray->available()) {
        // Without a notification area a hidden window could never be opened again.
        onTrayMenuExit();
        return;
    }
    hideWindow();
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept(); // they never end the window
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MainDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_manualDrag = windowHandle() == nullptr || !windowHandle()->startSystemMove();
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_manualDrag && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
}

void MainDialog::paintEvent(QPaintEvent*) {
    if (m_background.isNull()) {
        return;
    }
    QPainter painter(this);
    // The face at its own size: stretched to the window it would lose or double rows.
    m_background.draw(painter, QPoint(0, 0));
    // The thin border below it continues the face's last row.
    const QSize face = m_background.size();
    if (height() > face.height()) {
        m_background.draw(painter, QRectF(0, face.height(), face.width(), height() - face.height()),
                          QRect(0, face.height() - 1, face.width(), 1));
    }
}
