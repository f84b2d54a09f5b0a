#pragma once

// Seams for what the program asks of the desktop: starting other programs, the clock and
// the wait that lets window events run. Each has a real implementation here and a
// scripted one in the tests.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace pikotel {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Opens a file or URL with the desktop's associated program; false when nothing took it.
    virtual bool openWithDesktop(const QString& fileOrUrl) = 0;
    // Starts a program without waiting for it.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDir) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a clock that never jumps back (not at midnight, not on a time change).
    virtual qint64 monotonicMs() const = 0;
    virtual QDateTime now() const = 0;
    // Lets pending window events run once (the program's DoEvents).
    virtual void processEvents() = 0;
    // Lets window events run for about ms milliseconds (timed waits such as the mascot's).
    virtual void waitProcessingEvents(int ms) = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock();
    qint64 monotonicMs() const override;
    QDateTime now() const override;
    void processEvents() override;
    void waitProcessingEvents(int ms) override;

private:
    qint64 origin_;
};

} // namespace pikotel
