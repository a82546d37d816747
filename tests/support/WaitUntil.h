#pragma once
// Runs the Qt event loop until a condition holds or the time is up.

#include <QCoreApplication>
#include <QElapsedTimer>

template <class Condition>
bool waitUntil(Condition&& condition, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
