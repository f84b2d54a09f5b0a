#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace pikotel {

QString installedProgramFolder() {
    const QDir bin(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/pikotel")));
}

QString userConfigFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/pikotel"));
}

QString machineStorePath(const QString& programFolder) {
    return joinPath(programFolder, QStringLiteral("HKLM.db"));
}

QString userStorePath() {
    return joinPath(userConfigFolder(), QStringLiteral("HKCU.db"));
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace pikotel
