#include "platform/services.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace pikotel {

namespace {
qint64 steadyNowMs() {
    QElapsedTimer t;
    t.start();
    return t.msecsSinceReference();
}
} // namespace

SystemClock::SystemClock() : origin_(steadyNowMs()) {}

qint64 SystemClock::monotonicMs() const {
    return steadyNowMs() - origin_;
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

void SystemClock::processEvents() {
    QCoreApplication::processEvents();
}

void SystemClock::waitProcessingEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace pikotel
