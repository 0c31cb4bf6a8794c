// The yardstick for bench/idle: a bare Qt Widgets program with one shown window of the main
// window's size, one 1 s timer updating a label and one thread sleeping 1 s in a loop.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace {

// Writes the time from launch (SKYVANE_LAUNCH_NS, realtime) to now into SKYVANE_STARTUP_REPORT.
void reportStartup() {
    const char* launch = std::getenv("SKYVANE_LAUNCH_NS");
    const char* report = std::getenv("SKYVANE_STARTUP_REPORT");
    if (launch == nullptr || report == nullptr) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long elapsed = now.tv_sec * 1000000000LL + now.tv_nsec - std::atoll(launch);
    if (FILE* file = std::fopen(report, "w")) {
        std::fprintf(file, "%.1f\n", static_cast<double>(elapsed) / 1e6);
        std::fclose(file);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label;
    label.resize(615, 411);
    label.show();
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
    QTimer::singleShot(0, &app, reportStartup);
    const int result = QApplication::exec();
    stop = true;
    sleeper.join();
    return result;
}
