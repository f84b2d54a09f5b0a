#include "calc/officeprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace pikotel::test {

namespace {

// Gone, or a zombie nobody reaped yet (it holds no pipe and no files any more).
bool ended(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || line.mid(close + 2, 1) == "Z";
}

} // namespace

QList<qint64> officeProcesses(const QString& pipeName) {
    const QByteArray accept = "pipe,name=" + pipeName.toUtf8() + ';';
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == QCoreApplication::applicationPid())
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(accept) && !ended(pid))
            found << pid;
    }
    return found;
}

bool killOffice(const QString& pipeName, int timeoutMs) {
    const QList<qint64> pids = officeProcesses(pipeName);
    for (qint64 pid : pids)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    const QDeadlineTimer deadline(timeoutMs);
    for (qint64 pid : pids) {
        while (!ended(pid)) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(10);
        }
    }
    // A killed office leaves its pipe behind.
    QFile::remove(QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(getuid()).arg(pipeName));
    return true;
}

} // namespace pikotel::test
