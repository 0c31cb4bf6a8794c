// The yardstick for bench/idle: a bare Qt Widgets program with one window of the main window's
// size, one 1 s timer updating a label and one thread sleeping 1 s in a loop. The window is shown,
// or kept hidden with --hidden (the yardstick of a program living in the tray).
#include "shell/StartupReport.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label;
    label.resize(615, 411);
    if (!QApplication::arguments().contains(QStringLiteral("--hidden"))) {
        label.show();
    }
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &label, [&] { label.setText(QString::number(++ticks)); });
    timer.start(1000);
    std::atomic<bool> stop{false};
    std::thread sleeper([&] {
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    });
    QTimer::singleShot(0, &app, reportStartupTime);
    const int result = QApplication::exec();
    stop = true;
    sleeper.join();
    return result;
}
