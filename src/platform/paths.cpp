#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace pikotel {

QString installedProgramFolder() {
    const QDir bin(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/pikotel")));
}

QString userConfigFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base)) {
        // QDir::homePath() would give "/" without HOME.
        const QString home = qEnvironmentVariable("HOME");
        if (!QDir::isAbsolutePath(home))
            return QString();
        base = home + QStringLiteral("/.config");
    }
    return QDir::cleanPath(base + QStringLiteral("/pikotel"));
}

QString machineStorePath(const QString& programFolder) {
    return joinPath(programFolder, QStringLiteral("HKLM.db"));
}

QString userStorePath() {
    const QString folder = userConfigFolder();
    return folder.isEmpty() ? QString() : joinPath(folder, QStringLiteral("HKCU.db"));
}

bool makePrivateFolders(const QString& path, QString& why) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QString built;
    for (const QString& part : clean.split(u'/', Qt::SkipEmptyParts)) {
        built += u'/' + part;
        if (::mkdir(QFile::encodeName(built).constData(), 0700) != 0 && errno != EEXIST) {
            why = QStringLiteral("cannot create the folder %1: %2")
                      .arg(built, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    if (!QFileInfo(clean).isDir()) {
        why = QStringLiteral("%1 is not a folder").arg(clean);
        return false;
    }
    return true;
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace pikotel
