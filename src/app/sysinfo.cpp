#include "app/sysinfo.h"

#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTextStream>

#include <cstring>
#include <span>

namespace pikotel {

namespace {

QString g_appExePath;
QStringList g_searchPath;
QString g_installRoot;
QList<ComponentProbe> g_probes;

// A program that stands in for WordPad or Excel. LibreOffice's own launchers serve every
// module, so they count only when the module's library is installed beside them.
struct AppCandidate {
    const char* name;
    const char* moduleLibrary;
};
constexpr AppCandidate kWordProcessors[] = {{"libreoffice", "libswlo.so"},
                                            {"soffice", "libswlo.so"},
                                            {"lowriter", nullptr},
                                            {"abiword", nullptr}};
constexpr AppCandidate kSpreadsheets[] = {
    {"libreoffice", "libsclo.so"}, {"soffice", "libsclo.so"}, {"localc", nullptr}};

std::span<const AppCandidate> candidatesOfKind(int kind) {
    if (kind == RegWordProcessor)
        return kWordProcessors;
    if (kind == RegSpreadsheet)
        return kSpreadsheets;
    return {};
}

// Where LibreOffice installs itself when it is not on PATH: the distribution's folders and
// the vendor's packages under /opt, newest first.
QStringList installFolders() {
    if (!g_searchPath.isEmpty() && g_installRoot.isEmpty())
        return {};
    const QString root = g_installRoot.isEmpty() ? QStringLiteral("/") : g_installRoot;
    const QDir base(root);
    QStringList folders{base.filePath(QStringLiteral("usr/lib/libreoffice/program")),
                        base.filePath(QStringLiteral("usr/lib64/libreoffice/program")),
                        base.filePath(QStringLiteral("usr/local/lib/libreoffice/program"))};
    const QDir opt(base.filePath(QStringLiteral("opt")));
    const QStringList vendors =
        opt.entryList({QStringLiteral("libreoffice*")}, QDir::Dirs | QDir::NoDotAndDotDot,
                      QDir::Name | QDir::Reversed);
    for (const QString& vendor : vendors)
        folders.append(opt.filePath(vendor + QStringLiteral("/program")));
    return folders;
}

bool moduleInstalled(const QString& program, const char* moduleLibrary) {
    if (moduleLibrary == nullptr)
        return true;
    const QString real = QFileInfo(program).canonicalFilePath();
    return !real.isEmpty() &&
           QFileInfo::exists(QFileInfo(real).dir().filePath(QString::fromLatin1(moduleLibrary)));
}

// The first folder holding the program with the module it needs, or empty.
QString findProgram(const AppCandidate& candidate, const QStringList& folders) {
    const QString name = QString::fromLatin1(candidate.name);
    for (const QString& folder : folders) {
        const QString found = QStandardPaths::findExecutable(name, {folder});
        if (!found.isEmpty() && moduleInstalled(found, candidate.moduleLibrary))
            return found;
    }
    return QString();
}

QStringList pathFolders() {
    if (!g_searchPath.isEmpty())
        return g_searchPath;
    return qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts);
}

// The document types whose registered program stands for the kind's.
QStringList mimeTypesOfKind(int kind) {
    if (kind == RegWordProcessor)
        return {QStringLiteral("application/rtf"), QStringLiteral("text/rtf")};
    if (kind == RegSpreadsheet)
        return {QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"),
                QStringLiteral("application/vnd.ms-excel"),
                QStringLiteral("application/vnd.oasis.opendocument.spreadsheet")};
    return {};
}

// The value of key in a section of a desktop file (an entry or a list of defaults).
QString desktopFileValue(const QString& path, const QString& section, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    QString current;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = line.mid(1, line.size() - 2);
        } else if (current == section) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq > 0 && line.left(eq).trimmed() == key)
                return line.mid(eq + 1).trimmed();
        }
    }
    return QString();
}

// The desktop's lists of default programs, most specific first (the freedesktop.org
// association rules; defaults.list is the older name of the data folders' list).
QStringList defaultsLists() {
    QStringList lists;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        lists << dir + QStringLiteral("/applications/mimeapps.list");
        lists << dir + QStringLiteral("/applications/defaults.list");
    }
    return lists;
}

// The program an application entry starts: the first word of its Exec line.
QString programOfEntry(const QString& entryName) {
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entryName);
    if (entry.isEmpty())
        return QString();
    const QString exec =
        desktopFileValue(entry, QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
    QString program = exec.section(u' ', 0, 0, QString::SectionSkipEmpty);
    program.remove(u'"');
    return program;
}

// An entry's program: a path as it stands, a name on the search path.
QString executableOf(const QString& program) {
    if (program.isEmpty())
        return QString();
    if (program.contains(u'/'))
        return QFileInfo(program).isExecutable() ? program : QString();
    return QStandardPaths::findExecutable(program, pathFolders());
}

// The program the desktop opens the kind's documents with, when one is registered.
QString registeredProgram(int kind) {
    const QStringList lists = defaultsLists();
    for (const QString& mime : mimeTypesOfKind(kind)) {
        for (const QString& list : lists) {
            const QStringList entries =
                desktopFileValue(list, QStringLiteral("Default Applications"), mime)
                    .split(u';', Qt::SkipEmptyParts);
            for (const QString& entry : entries) {
                const QString found = executableOf(programOfEntry(entry.trimmed()));
                if (!found.isEmpty())
                    return found;
            }
        }
    }
    return QString();
}

} // namespace

int osKindOf(int platformId, int major, int minor) {
    if (platformId == 1) {
        if (major <= 3)
            return 0;
        if (major == 4)
            return 1;
        if (major == 5)
            return 2;
        return -1;
    }
    if (platformId == 2) {
        if (major <= 4)
            return 3;
        if (major == 5 && minor == 0)
            return 4;
        if (major == 5 && (minor == 1 || minor == 2))
            return 5;
        if (major == 6)
            return 6;
    }
    return -1;
}

int GetOsKind(SystemVersion& version) {
    // A current Linux desktop has everything the newest systems of the table had.
    version.platformId = 2;
    version.major = 6;
    version.minor = 0;
    version.build = 0;
    version.servicePack.clear();
    return osKindOf(version.platformId, version.major, version.minor);
}

int GetPlatformId() {
    return 2;
}

int GetEnableLua(AppContext& ctx) {
    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(
            QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System"), 0,
            key) != 0)
        return -1;
    RegType type{};
    QByteArray data;
    const int got = store.RegValueGetRaw(key, QStringLiteral("EnableLUA"), type, data);
    store.RegKeyClose(key);
    if (got != 0 || type != RegType::Dword || data.size() != 4)
        return -1;
    qint32 value = 0;
    std::memcpy(&value, data.constData(), 4);
    return value;
}

bool GetPersonalFolder(QString& folder) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return true;
    folder = QDir::cleanPath(documents);
    return false;
}

void setAppSearchPath(const QStringList& folders, const QString& installRoot) {
    g_searchPath = folders;
    g_installRoot = installRoot;
}

int FindAppRegistration(int kind) {
    // The desktop's registered program first, as the class registry was read; without one,
    // the programs known for the kind.
    if (const QString registered = registeredProgram(kind); !registered.isEmpty()) {
        g_appExePath = registered;
        return 0;
    }
    for (const QStringList& folders : {pathFolders(), installFolders()}) {
        for (const AppCandidate& candidate : candidatesOfKind(kind)) {
            const QString found = findProgram(candidate, folders);
            if (!found.isEmpty()) {
                // Paths are case-sensitive here, so the path is kept as found (not upper-cased).
                g_appExePath = found;
                return 0;
            }
        }
    }
    return 1;
}

QString AppExePath() {
    return g_appExePath;
}

bool isSpreadsheetProgram(const QString& fileName) {
    for (const AppCandidate& candidate : kSpreadsheets) {
        if (fileName == QLatin1String(candidate.name))
            return true;
    }
    return false;
}

QString CutAfterExe(const QString& text) {
    const QString clean = StripNulls(text);
    if (clean.isEmpty())
        return QString();
    const qsizetype pos = clean.lastIndexOf(QLatin1String(".EXE"), -1, Qt::CaseInsensitive);
    if (pos < 0)
        return QString();
    return clean.left(pos + 4);
}

QString ExpandEnvPrefix(const QString& text) {
    if (!text.startsWith(u'%'))
        return QString();
    const qsizetype close = text.indexOf(u'%', 1);
    if (close < 0)
        return QString();
    const QString name = text.mid(1, close - 1);
    if (name.isEmpty())
        return QString();
    // Windows looks variables up without regard to case; so do we, preferring an exact match.
    QString value = qEnvironmentVariable(name.toLocal8Bit().constData());
    if (value.isEmpty()) {
        const QStringList all = QProcessEnvironment::systemEnvironment().keys();
        for (const QString& key : all) {
            if (key.compare(name, Qt::CaseInsensitive) == 0) {
                value = qEnvironmentVariable(key.toLocal8Bit().constData());
                break;
            }
        }
    }
    if (value.isEmpty())
        return QString();
    if (!value.endsWith(u'/'))
        value += u'/';
    return value + text.mid(close + 1);
}

void registerComponentProbe(ComponentProbe probe) {
    g_probes.append(std::move(probe));
}

void clearComponentProbes() {
    g_probes.clear();
}

void CheckComponentRegistration() {
    QStringList missing;
    for (const ComponentProbe& probe : g_probes) {
        if (!probe.loads || !probe.loads())
            missing.append(probe.name);
    }
    if (missing.isEmpty())
        return;
    MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳１８の更新が完了していません。\r\n") +
                     QStringLiteral("次の部品が読み込めません：") +
                     missing.join(QStringLiteral("、")) +
                     QStringLiteral("\r\nぴ～こぴこ電話帳を再インストールしてください。"),
                 MsgOk);
}

} // namespace pikotel
