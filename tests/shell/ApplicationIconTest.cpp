// The application's icon is looked up when the first window that carries it shows, once.
#include "shell/ApplicationIcon.h"

#include <QApplication>
#include <QDialog>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

TEST(ApplicationIcon, ComesWithTheFirstWindowThatCarriesItAndIsMadeOnce) {
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    const QIcon icon(picture);
    int made = 0;
    setApplicationIconOnFirstWindow(
        [&] {
            ++made;
            return icon;
        },
        [](const QWidget* window) { return qobject_cast<const QDialog*>(window) != nullptr; });
    EXPECT_EQ(made, 0) << "nothing is looked up at start";

    QWidget trayWindow(nullptr, Qt::Window); // a window that doesn't carry the icon
    trayWindow.show();
    EXPECT_EQ(made, 0);

    QDialog first;
    first.show();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(QApplication::windowIcon().cacheKey(), icon.cacheKey());
    EXPECT_EQ(first.windowIcon().cacheKey(), icon.cacheKey());

    QDialog second;
    second.show();
    EXPECT_EQ(made, 1);
}

} // namespace
