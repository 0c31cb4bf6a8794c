// For bench/soak: exits with 0 when Qt programs on this display see a system tray, else 1.
#include <QApplication>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return QSystemTrayIcon::isSystemTrayAvailable() ? 0 : 1;
}
