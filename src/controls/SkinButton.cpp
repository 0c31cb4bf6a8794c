#include "SkinButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <qdrawutil.h>

namespace {

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

QImage withMagentaTransparent(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00ffffffu) == 0x00ff00ffu) {
                line[x] = 0;
            }
        }
    }
    return out;
}

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

bool SkinButton::setImagePair(const QImage& hover, const QImage& normal) {
    if (hover.isNull() || normal.isNull()) {
        return false;
    }
    // Every page switch sets every button's pictures again, mostly the very ones it has: only a
    // picture it has not had is converted.
    if (hover.cacheKey() != m_hoverSource) {
        m_hover = withMagentaTransparent(hover);
        m_hoverSource = hover.cacheKey();
    }
    if (normal.cacheKey() != m_normalSource) {
        m_normal = withMagentaTransparent(normal);
        m_normalSource = normal.cacheKey();
    }
    m_checkMode = false;
    takeSize(m_normal);
    return true;
}

bool SkinButton::setSingleImage(const QImage& image) {
    if (!setImagePair(image, image)) {
        return false;
    }
    setFrame(Frame::Flat);
    return true;
}

bool SkinButton::setCheckImages(const QImage& checked, const QImage& unchecked) {
    if (checked.isNull() || unchecked.isNull()) {
        return false;
    }
    m_checked = withMagentaTransparent(checked);
    m_unchecked = withMagentaTransparent(unchecked);
    m_checkMode = true;
    setCheckable(true);
    takeSize(m_unchecked);
    return true;
}

void SkinButton::setFrame(Frame frame) {
    m_frame = frame;
    update();
}

QImage SkinButton::currentImage() const {
    if (m_checkMode) {
        return isChecked() ? m_checked : m_unchecked;
    }
    return (m_hovered || isDown()) ? m_hover : m_normal;
}

QSize SkinButton::sizeHint() const {
    const QImage shown = currentImage();
    return shown.isNull() ? QSize(16, 16) : shown.size();
}

void SkinButton::takeSize(const QImage& image) {
    resize(image.size());
    updateGeometry();
    update();
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage shown = currentImage();
    if (!shown.isNull()) {
        p.drawImage(0, 0, shown);
    }
    paintFrame(p);
}

void SkinButton::paintFrame(QPainter& p) const {
    const QRect r = rect();
    switch (m_frame) {
    case Frame::None:
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
