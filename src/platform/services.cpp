#include "platform/services.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace pikotel {

namespace {
qint64 steadyNowMs() {
    QElapsedTimer t;
    t.start();
    return t.msecsSinceReference();
}
} // namespace

SystemClock::SystemClock() : origin_(steadyNowMs()) {}

qint64 SystemClock::monotonicMs() const { return steadyNowMs() - origin_; }

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

void SystemClock::processEvents() { QCoreApplication::processEvents(); }

} // namespace pikotel
