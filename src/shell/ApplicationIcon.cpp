#include "shell/ApplicationIcon.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

// Watches the application's events until the first window that takes the icon is shown. The
// show event comes before the window is mapped, so the window manager sees the icon at once.
class IconOnFirstWindow : public QObject {
public:
    IconOnFirstWindow(std::function<QIcon()> makeIcon, std::function<bool(const QWidget*)> takesIcon)
        : QObject(qApp), m_makeIcon(std::move(makeIcon)), m_takesIcon(std::move(takesIcon)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            const auto* widget = static_cast<const QWidget*>(watched);
            if (widget->isWindow() && m_takesIcon(widget)) {
                qApp->removeEventFilter(this);
                QApplication::setWindowIcon(m_makeIcon());
                deleteLater();
            }
        }
        return false;
    }

private:
    std::function<QIcon()> m_makeIcon;
    std::function<bool(const QWidget*)> m_takesIcon;
};

} // namespace

void setApplicationIconOnFirstWindow(std::function<QIcon()> makeIcon,
                                     std::function<bool(const QWidget*)> takesIcon) {
    qApp->installEventFilter(new IconOnFirstWindow(std::move(makeIcon), std::move(takesIcon)));
}
