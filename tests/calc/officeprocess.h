#pragma once

// The office a test started, found by the pipe it accepts on and ended by its process ids.

#include <QList>
#include <QString>

namespace pikotel::test {

// The processes (other than this one) whose command line accepts on the pipe.
QList<qint64> officeProcesses(const QString& pipeName);
// Kills them, waits until each is gone and removes the pipe they leave; false when one
// outlived the timeout.
bool killOffice(const QString& pipeName, int timeoutMs);

} // namespace pikotel::test
