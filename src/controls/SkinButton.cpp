#include "controls/SkinButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <qdrawutil.h>

namespace {

// Which picture a button was given: both renditions' cache keys.
std::pair<qint64, qint64> sourceKey(const SkinPicture& picture) {
    return {picture.picture().cacheKey(), picture.twice().cacheKey()};
}

// What a screen reader sees of a page button: a tab with the button's word, selected while its
// page is shown, that can be pressed.
class PageTabAccessible : public QAccessibleWidget {
public:
    explicit PageTabAccessible(SkinButton* button) : QAccessibleWidget(button, QAccessible::PageTab) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && button()->isEnabled()) {
            button()->click();
        }
    }

private:
    SkinButton* button() const { return static_cast<SkinButton*>(widget()); }
};

QAccessibleInterface* pageTabFactory(const QString& className, QObject* object) {
    auto* button = className == QLatin1String("SkinButton") ? qobject_cast<SkinButton*>(object) : nullptr;
    return button != nullptr && button->isPageTab() ? new PageTabAccessible(button) : nullptr;
}

} // namespace

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pageTabFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_Hover);
}

bool SkinButton::setImagePair(const SkinPicture& hover, const SkinPicture& normal) {
    if (hover.isNull() || normal.isNull()) {
        return false;
    }
    // Every page switch sets every button's pictures again, mostly the very ones it has: only a
    // picture it has not had is converted.
    if (sourceKey(hover) != m_hoverSource) {
        m_hover = hover.withMagentaTransparent();
        m_hoverSource = sourceKey(hover);
    }
    if (sourceKey(normal) != m_normalSource) {
        m_normal = normal.withMagentaTransparent();
        m_normalSource = sourceKey(normal);
    }
    m_checkMode = false;
    takeSize(m_normal);
    return true;
}

bool SkinButton::setSingleImage(const SkinPicture& image) {
    if (!setImagePair(image, image)) {
        return false;
    }
    setFrame(Frame::Flat);
    return true;
}

bool SkinButton::setCheckImages(const SkinPicture& checked, const SkinPicture& unchecked) {
    if (checked.isNull() || unchecked.isNull()) {
        return false;
    }
    m_checked = checked.withMagentaTransparent();
    m_unchecked = unchecked.withMagentaTransparent();
    m_checkMode = true;
    setCheckable(true);
    takeSize(m_unchecked);
    return true;
}

void SkinButton::setFrame(Frame frame) {
    m_frame = frame;
    update();
}

const SkinPicture& SkinButton::currentPicture() const {
    if (m_checkMode) {
        return isChecked() ? m_checked : m_unchecked;
    }
    return (m_hovered || isDown()) ? m_hover : m_normal;
}

QImage SkinButton::currentImage() const {
    return currentPicture().picture();
}

QSize SkinButton::sizeHint() const {
    const SkinPicture& shown = currentPicture();
    return shown.isNull() ? QSize(16, 16) : shown.size();
}

void SkinButton::takeSize(const SkinPicture& picture) {
    resize(picture.size());
    updateGeometry();
    update();
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const SkinPicture& shown = currentPicture();
    if (m_frame == Frame::Highlight && (isDown() || m_hovered)) {
        // A tint within the picture's own shape: a frame would be square around a rounded one.
        shown.tinted(isDown() ? QColor(0, 0, 0, 70) : QColor(255, 255, 255, 60)).draw(p, QPoint(0, 0));
    } else {
        shown.draw(p, QPoint(0, 0));
    }
    paintFrame(p);
}

void SkinButton::paintFrame(QPainter& p) const {
    const QRect r = rect();
    switch (m_frame) {
    case Frame::None:
    case Frame::Highlight:
        return;
    case Frame::PushButton:
        if (isDown()) {
            p.setPen(palette().color(QPalette::Dark));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        } else {
            qDrawWinButton(&p, r, palette(), false, nullptr);
        }
        return;
    case Frame::Flat:
        if (isDown()) {
            qDrawShadePanel(&p, r, palette(), true, 1, nullptr);
        } else if (m_hovered) {
            qDrawShadePanel(&p, r, palette(), false, 1, nullptr);
        }
        return;
    }
}

void SkinButton::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
