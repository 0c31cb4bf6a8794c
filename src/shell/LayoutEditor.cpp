#include "shell/LayoutEditor.h"

#include "controls/SkinButton.h"
#include "resources/Artwork.h"
#include "shell/ImageFile.h"
#include "shell/MainDialog.h"
#include "storage/AppSettings.h"

#include <QGridLayout>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

LayoutEditor::LayoutEditor(MainDialog& window) : QWidget(&window), m_window(window) {
    m_grid = new QGridLayout(this);
    m_grid->addWidget(addButton("Left", "leftButton"), 0, 1);
    m_grid->addWidget(addButton("right", "rightButton"), 0, 2);
    m_grid->addWidget(addButton("up", "upButton"), 0, 3);
    m_grid->addWidget(addButton("down", "downButton"), 0, 4);
    m_grid->addWidget(addButton("save", "saveButton"), 1, 1);
    m_grid->addWidget(addButton("Load", "loadButton"), 1, 2);
    m_grid->addWidget(addButton("dialog", "dialogButton"), 1, 3);
    m_grid->addWidget(addButton("button", "bitmapButton"), 2, 1);

    connect(findChild<QPushButton*>("leftButton"), &QPushButton::clicked, this,
            [this] { moveTarget(-1, 0); });
    connect(findChild<QPushButton*>("rightButton"), &QPushButton::clicked, this,
            [this] { moveTarget(1, 0); });
    connect(findChild<QPushButton*>("upButton"), &QPushButton::clicked, this, [this] { moveTarget(0, -1); });
    connect(findChild<QPushButton*>("downButton"), &QPushButton::clicked, this, [this] { moveTarget(0, 1); });
    connect(findChild<QPushButton*>("saveButton"), &QPushButton::clicked, &m_window, &MainDialog::SaveLayout);
    connect(findChild<QPushButton*>("loadButton"), &QPushButton::clicked, &m_window, &MainDialog::LoadLayout);
    connect(findChild<QPushButton*>("dialogButton"), &QPushButton::clicked, this,
            &LayoutEditor::reapplyBackground);
    connect(findChild<QPushButton*>("bitmapButton"), &QPushButton::clicked, this, &LayoutEditor::tryBitmap);

    setGeometry(180, 60, 420, 110);
    setEditorVisible(false);
}

void LayoutEditor::createFields() {
    m_targetEdit = addEdit("targetEdit");
    m_keyEdit = addEdit("keyEdit");
    m_leftEdit = addEdit("leftEdit");
    m_rightEdit = addEdit("rightEdit");
    m_topEdit = addEdit("topEdit");
    m_bottomEdit = addEdit("bottomEdit");
    for (QLineEdit* hidden : {m_leftEdit, m_rightEdit, m_topEdit, m_bottomEdit}) {
        hidden->setVisible(false); // filled after every move all the same
    }
    m_grid->addWidget(m_targetEdit, 0, 0);
    m_grid->addWidget(m_keyEdit, 2, 0);
    // The fields come first in the tab order, as when everything was made at once.
    QWidget* previous = m_targetEdit;
    for (const char* name : {"keyEdit", "leftButton", "rightButton", "upButton", "downButton", "saveButton",
                             "loadButton", "dialogButton", "bitmapButton"}) {
        QWidget* next = findChild<QWidget*>(QString::fromLatin1(name));
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

QPushButton* LayoutEditor::addButton(const char* text, const char* name) {
    auto* button = new QPushButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLineEdit* LayoutEditor::addEdit(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

void LayoutEditor::setEditorVisible(bool visible) {
    if (visible && m_targetEdit == nullptr) {
        // A text field lays its text out as it is made, which loads the font database: made
        // only for a designer's settings file, never in the tray.
        createFields();
    }
    setVisible(visible);
    if (visible) {
        raise();
    }
}

std::optional<LayoutTarget> LayoutEditor::selectedTarget() const {
    if (m_targetEdit == nullptr) {
        return std::nullopt; // never shown: no target typed
    }
    bool ok = false;
    const int number = m_targetEdit->text().toInt(&ok);
    return ok ? layoutTargetFromNumber(number) : std::nullopt;
}

void LayoutEditor::moveTarget(int dx, int dy) {
    const std::optional<LayoutTarget> target = selectedTarget();
    QWidget* control = target ? m_window.layoutTarget(*target) : nullptr;
    if (control == nullptr) {
        return;
    }
    const QRect moved = control->geometry().translated(dx, dy);
    m_leftEdit->setText(QString::number(moved.left()));
    m_rightEdit->setText(QString::number(moved.left() + moved.width()));
    m_topEdit->setText(QString::number(moved.top()));
    m_bottomEdit->setText(QString::number(moved.top() + moved.height()));
    control->setGeometry(moved);
}

void LayoutEditor::reapplyBackground() {
    m_window.ApplySkinImage(LayoutTarget::Background, "Main");
}

void LayoutEditor::tryBitmap() {
    const std::optional<LayoutTarget> target = selectedTarget();
    if (!target) {
        return;
    }
    auto* button = qobject_cast<SkinButton*>(m_window.layoutTarget(*target));
    if (*target == LayoutTarget::ConfigurationButton) {
        // The Configuration button tries the program's own bitmap instead of the typed one.
        if (button != nullptr) {
            button->setSingleImage(readImageFile(artwork::buttonBitmapPath(artwork::kLayoutEditorBitmap)));
        }
        return;
    }
    const QImage image = m_window.loadSkinImage(m_keyEdit->text().toStdString());
    if (image.isNull() || button == nullptr) {
        return;
    }
    if (*target == LayoutTarget::LinkInfoButton) {
        button->setImagePair(image, image);
    } else {
        button->setSingleImage(image); // the Encryption, Site Survey, About and close buttons
    }
}
