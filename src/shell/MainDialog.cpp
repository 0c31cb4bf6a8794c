#include "MainDialog.h"

#include "AboutPage.h"
#include "AppSettings.h"
#include "Artwork.h"
#include "ConfigPage.h"
#include "ConnectionProcedure.h"
#include "CountryDialog.h"
#include "EncryptionPage.h"
#include "ImageFile.h"
#include "LayoutEditor.h"
#include "LinkInfoPage.h"
#include "SiteSurveyPage.h"
#include "SkinButton.h"
#include "TextCatalog.h"
#include "UiServices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

constexpr int pageCount = 5;
constexpr int countryPending = 99;
constexpr int layoutEditorCode = 51846;

QString applicationTitle() {
    const std::string title = MainDialog::title;
    return QString::fromStdString(textCatalog().Text(title, title));
}

} // namespace

MainDialog::MainDialog(DriverApi& driver, UiServices& ui, Options options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_ui(ui), m_options(options),
      m_adapter(driver, options.monitor) {
    setObjectName(QStringLiteral("mainDialog"));
    // The title is the single-instance key: the native window carries it from the start,
    // hidden or not, so that a second start can find it.
    setWindowTitle(QString::fromLatin1(title));
    winId();
    createControls();
}

MainDialog::~MainDialog() {
    m_statusTimer.stop();
    if (m_tray != nullptr) {
        m_tray->hide();
    }
}

void MainDialog::createControls() {
    m_pageFrame = new QWidget(this);
    m_pageFrame->setObjectName(QStringLiteral("pageFrame"));
    const char* buttonNames[pageCount] = {"linkInfoButton", "configButton", "encryptionButton",
                                          "siteSurveyButton", "aboutButton"};
    // Until the skin names its own, the buttons wear the delivered pictures.
    const char* hoverKeys[pageCount] = {"Link_Info1", "Config1", "Advanced1", "Sitesurvey1", "About1"};
    const char* normalKeys[pageCount] = {"Link_Info2", "Config2", "Advanced2", "Sitesurvey2", "About2"};
    for (int i = 0; i < pageCount; ++i) {
        auto* button = new SkinButton(this);
        button->setObjectName(QString::fromLatin1(buttonNames[i]));
        button->setImagePair(readImageFile(artwork::builtinSkinPath(hoverKeys[i])),
                             readImageFile(artwork::builtinSkinPath(normalKeys[i])));
        connect(button, &SkinButton::clicked, this, [this, i] { ShowPage(i); });
        m_pageButtons[static_cast<size_t>(i)] = button;
    }
    m_closeButton = new SkinButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->setSingleImage(readImageFile(artwork::builtinSkinPath("X1")));
    connect(m_closeButton, &SkinButton::clicked, this, [this] {
        if (m_options.trayAvailable) {
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
    ApplySkinImage(6, "X1");
    m_closeButton->setFrame(SkinButton::Frame::PushButton);
    for (SkinButton* button : m_pageButtons) {
        button->setFrame(SkinButton::Frame::PushButton);
    }
    createPages();
    createTray();
    LoadLayout();
    askCountryAtFirstStart();
    if (AppSettings().setiniNumber("OnOff") == layoutEditorCode) {
        m_layoutEditor->setEditorVisible(true);
        m_pageFrame->hide();
    }
    ShowPage(0);
    ApplySkinImage(0, "Main");
    if (m_options.startTimers) {
        m_statusTimer.start(1000);
    }
}

void MainDialog::createPages() {
    m_linkInfoPage = new LinkInfoPage(*this, m_pageFrame, m_options.startTimers);
    m_configPage = new ConfigPage(*this, m_pageFrame);
    m_siteSurveyPage = new SiteSurveyPage(*this, m_pageFrame);
    m_aboutPage = new AboutPage(*this, m_pageFrame);
    m_encryptionPage = new EncryptionPage(*this, m_pageFrame);
    for (QWidget* page : std::initializer_list<QWidget*>{m_linkInfoPage, m_configPage, m_siteSurveyPage,
                                                         m_aboutPage, m_encryptionPage}) {
        page->move(0, 0);
        page->hide();
    }
}

void MainDialog::createTray() {
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName(QStringLiteral("trayMenu"));
    connect(m_trayMenu->addAction(QStringLiteral("Exit")), &QAction::triggered, this,
            &MainDialog::onTrayMenuExit);
    connect(m_trayMenu->addAction(QStringLiteral("Start")), &QAction::triggered, this,
            &MainDialog::onTrayMenuStart);
    if (m_options.trayAvailable) {
        m_tray = new QSystemTrayIcon(this);
        m_tray->setContextMenu(m_trayMenu);
        connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick) {
                onTrayDoubleClick();
            }
        });
    }
    m_trayIconAdded = 0;
    SetTrayIcon(TrayIcon::Starting, applicationTitle());
}

void MainDialog::askCountryAtFirstStart() {
    if (AppSettings().setiniNumber("CountryDomain") != countryPending) {
        return;
    }
    m_countryDialog = std::make_unique<CountryDialog>(this);
    if (m_ui.runModal(*m_countryDialog) == QDialog::Accepted) {
        m_adapter.SetChannelPlanByCountry(m_countryDialog->code());
    }
}

void MainDialog::ShowPage(int page) {
    for (QWidget* p : std::initializer_list<QWidget*>{m_linkInfoPage, m_configPage, m_encryptionPage,
                                                      m_siteSurveyPage, m_aboutPage}) {
        p->hide();
    }
    resetPageButtons();
    switch (page) {
    case 0:
        m_linkInfoPage->Refresh();
        m_linkInfoPage->show();
        ApplySkinImage(1, "Link_Info3");
        break;
    case 1:
        m_configPage->Load();
        m_configPage->show();
        ApplySkinImage(2, "Config3");
        m_configPage->Load();
        break;
    case 2:
        m_encryptionPage->Refresh();
        m_encryptionPage->show();
        ApplySkinImage(3, "Advanced3");
        break;
    case 3:
        m_ui.beginWaitCursor();
        m_siteSurveyPage->show();
        m_siteSurveyPage->LoadProfileList();
        m_siteSurveyPage->repaint();
        ApplySkinImage(4, "Sitesurvey3");
        m_siteSurveyPage->RefreshSurvey();
        m_ui.endWaitCursor();
        break;
    case 4:
        m_aboutPage->RefreshAbout();
        m_aboutPage->show();
        ApplySkinImage(5, "About3");
        break;
    case 99:
        ShowPage(1);
        m_configPage->Apply();
        break;
    default:
        break;
    }
}

void MainDialog::resetPageButtons() {
    ApplySkinPair(4, "Sitesurvey1", "Sitesurvey2");
    ApplySkinPair(1, "Link_Info1", "Link_Info2");
    ApplySkinPair(2, "Config1", "Config2");
    ApplySkinPair(3, "Advanced1", "Advanced2");
    ApplySkinPair(5, "About1", "About2");
}

void MainDialog::setApplyPending(int32_t value) {
    m_applyPending = value;
    if (value == 1) {
        m_havePendingConfig = true;
    }
}

void MainDialog::onStatusTimer() {
    m_statusTimer.stop();
    m_adapter.IsDriverAbsent(m_unplugged);
    StatusTick();
    if (m_options.startTimers) {
        m_statusTimer.start(1000);
    }
}

void MainDialog::StatusTick() {
    int32_t systemControl = 0;
    m_adapter.WzcRequest(1, 0, systemControl);
    if (systemControl == 1) {
        hideWindow();
        // Whatever this program had asked for is applied again once the system lets go.
        if (m_havePendingConfig) {
            m_applyPending = 1;
        }
    }
    m_adapter.IsDriverAbsent(m_unplugged);
    if (m_unplugged == 1) {
        hideWindow();
        m_trayIcon = TrayIcon::Absent;
        m_wasUnplugged = 1;
        m_reconnectCountdown = 0;
    } else {
        m_adapter.AccessSettings(1, m_currentConfig);
        m_adapter.GetAdapterInfo(m_adapterInfo);
        m_adapter.GetLinkStatus(m_linkStatus);
        if (systemControl == 0 && m_applyPending == 1) {
            m_adapter.AccessSettings(0, m_pendingConfig);
            m_applyPending = 0;
            m_reconnectCountdown = 0;
            m_wasUnplugged = 0;
        }
        if (m_linkStatus.connected == 0) {
            if (m_wasUnplugged == 1) {
                runConnectionProcedure();
            }
            if (m_reconnectCountdown > 0) {
                if (m_reconnectCountdown == 1) {
                    runConnectionProcedure();
                } else {
                    --m_reconnectCountdown;
                }
            }
            m_trayIcon = TrayIcon::NoLink;
        } else {
            m_reconnectCountdown = 2;
            if (auto icon = trayIconForSignal(m_linkStatus.signalStrength)) {
                m_trayIcon = icon;
            }
        }
        if (systemControl == 0 && m_hiddenByTick) {
            // Without a notification area the window is the only way in: bring it back.
            m_hiddenByTick = false;
            onTrayDoubleClick();
        }
    }
    SetTrayIcon(m_trayIcon, applicationTitle());
    m_trayIconAdded = 1;
}

void MainDialog::runConnectionProcedure() {
    RebuildPendingConfig(*this, m_store);
    setApplyPending(1);
    m_reconnectCountdown = 0;
    m_wasUnplugged = 0;
}

void MainDialog::hideWindow() {
    if (!m_options.trayAvailable && m_windowShown == 1) {
        m_hiddenByTick = true;
    }
    m_windowShown = 0;
    hide();
}

bool MainDialog::SetTrayIcon(std::optional<TrayIcon> icon, const QString& tip) {
    // Tips longer than the shell ever accepted are cut to 127 characters.
    const QString cutTip = tip.left(127);
    if (!icon) {
        if (m_tray != nullptr) {
            m_tray->hide();
        }
        m_trayIconAdded = 0;
        m_handedIcon.reset();
        return true;
    }
    // Hand the tray only what changed: a tray icon set anew every second leaks in the tray.
    // The tick sets trayIcon before it calls here, so the change is judged against what the
    // tray was last given.
    const bool changed = m_trayIconAdded == 0 || icon != m_handedIcon || cutTip != m_handedTip;
    m_trayIcon = icon;
    m_trayTip = cutTip;
    m_trayIconAdded = 1;
    if (!changed) {
        return true;
    }
    m_handedIcon = icon;
    m_handedTip = cutTip;
    ++m_trayHandovers;
    if (m_tray == nullptr) {
        return false;
    }
    m_tray->setIcon(loadTrayIcon(*icon));
    m_tray->setToolTip(cutTip);
    m_tray->show();
    return m_tray->isVisible();
}

void MainDialog::onTrayDoubleClick() {
    int32_t systemControl = 0;
    m_adapter.WzcRequest(1, 0, systemControl);
    if (systemControl != 0) {
        m_windowShown = 0;
        hide();
        int32_t unused = 0;
        m_adapter.WzcRequest(0, 2, unused);
        return;
    }
    m_windowShown = 1;
    show();
    raise();
    activateWindow();
    ShowPage(0);
}

void MainDialog::onTrayMenuExit() {
    QApplication::exit(QDialog::Accepted);
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

void MainDialog::onTrayMenuStart() {
    QMetaObject::invokeMethod(this, &MainDialog::onTrayDoubleClick, Qt::QueuedConnection);
}

void MainDialog::setVisible(bool visible) {
    if (visible && m_windowShown == 0) {
        return; // the window never shows itself: only the tray opens it
    }
    QWidget::setVisible(visible);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!m_options.trayAvailable) {
        // Without a notification area a hidden window could never be opened again.
        onTrayMenuExit();
        return;
    }
    m_windowShown = 0;
    hide();
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
    QPainter painter(this);
    if (!m_background.isNull()) {
        painter.drawPixmap(rect(), m_background);
    }
}
