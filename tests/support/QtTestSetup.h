#pragma once
// What every test executable with a QApplication sets up before and after making it.

#include "support/WaitFor.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QtGlobal>

// The tests run headless: without a platform named, the offscreen one, as ctest names it, also
// for a test executable run by hand.
inline void useOffscreenByDefault() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
}

// While the application exists, waitFor handles its events between two looks at the condition.
inline void installQtWaitPump() {
    waitPump() = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); };
}

inline void removeQtWaitPump() {
    waitPump() = nullptr;
}
