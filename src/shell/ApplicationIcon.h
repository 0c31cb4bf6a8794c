#pragma once

#include <QIcon>

#include <functional>

class QWidget;

// The icon that windows and dialogs of the program carry, looked up when the first window that
// carries it is about to show, not at start: finding an icon in the desktop's icon theme reads
// the theme's index (some thousand lines for hicolor), a large part of the start of a program
// that lives in the notification area and may never open a window.
//
// makeIcon is called once, when a window for which takesIcon is true is about to show; its icon
// then becomes the application's window icon, as QApplication::setWindowIcon makes it.
void setApplicationIconOnFirstWindow(std::function<QIcon()> makeIcon,
                                     std::function<bool(const QWidget*)> takesIcon);
