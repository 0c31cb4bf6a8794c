#include "pages/Page.h"

#include "controls/ColorGroupBox.h"
#include "controls/DialogStyle.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

Page::Page(AppContext& context, QWidget* parent, const char* objectName)
    : QWidget(parent), m_context(context) {
    setObjectName(QString::fromLatin1(objectName));
    setFixedSize(width, height);
    dialogstyle::applyFace(*this);
}

void Page::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

QLineEdit* Page::addValueField(const char* objectName, const QRect& geometry, Qt::Alignment alignment,
                               QLabel* caption) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(alignment | Qt::AlignVCenter);
    QPalette blue = field->palette();
    blue.setColor(QPalette::Text, QColor(0, 0, 255));
    blue.setColor(QPalette::Base, Qt::white);
    field->setPalette(blue);
    field->setGeometry(geometry);
    if (caption != nullptr) {
        caption->setBuddy(field);
    }
    return field;
}

QLabel* Page::addCaption(const QString& text, const char* objectName, const QRect& geometry) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setGeometry(geometry);
    return label;
}

ColorGroupBox* Page::addGroup(const QString& title, const char* objectName, const QRect& geometry) {
    auto* group = new ColorGroupBox(title, this);
    group->setObjectName(QString::fromLatin1(objectName));
    group->setFrameColor(QColor(0, 0, 255));
    group->setGeometry(geometry);
    group->lower();
    return group;
}
