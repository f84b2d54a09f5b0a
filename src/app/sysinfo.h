#pragma once

// What the program needs to know about the system it runs on. The OS-kind table and the
// registration queries keep their Windows shape so the screens that use them need not
// change; on Linux the system reports a modern desktop (kind 6), the documents folder is
// the XDG one, and the "registered" program of a kind is the desktop's default program for
// its documents (mimeapps.list), else the first known program found on PATH.

#include <QString>
#include <QStringList>

#include <functional>

namespace pikotel {

class AppContext;

struct SystemVersion {
    int platformId = -1;
    int major = 0;
    int minor = 0;
    int build = 0;
    QString servicePack;
};

// The OS kind of a platform id and version, by the program's table; -1 for anything else.
int osKindOf(int platformId, int major, int minor);
int GetOsKind(SystemVersion& version);
int GetPlatformId();
// The 32-bit EnableLUA policy from the machine-wide store, or -1.
int GetEnableLua(AppContext& ctx);
// False when the documents folder was found (folder holds it), true otherwise.
bool GetPersonalFolder(QString& folder);

enum AppRegistrationKind : int { RegWordProcessor = 1, RegSpreadsheet = 2 };
// 0 when the program of that kind was found (ctx's AppExePath holds its path), 1 otherwise.
int FindAppRegistration(int kind);
// The path found by the last successful FindAppRegistration.
QString AppExePath();
// The programs FindAppRegistration looks for, by kind, first found wins: on PATH, then in
// LibreOffice's usual install folders. Tests point the search at their own folders instead
// of PATH, and at their own root for the install folders (none without one).
void setAppSearchPath(const QStringList& folders, const QString& installRoot = QString());

// True for the file name of a spreadsheet program the workbook output can be viewed with.
bool isSpreadsheetProgram(const QString& fileName);

// The text up to and including its last ".EXE" (letter case ignored); empty without one.
QString CutAfterExe(const QString& text);
// "%NAME%rest" → value of NAME + separator + rest; empty when the text does not start with
// "%", the name is not closed, or the variable is empty.
QString ExpandEnvPrefix(const QString& text);

// A component the program depends on, with a probe that tells whether it loads and answers.
struct ComponentProbe {
    QString name;
    std::function<bool()> loads;
};
void registerComponentProbe(ComponentProbe probe);
void clearComponentProbes();
// Start-up check that the components load; names the ones that do not.
void CheckComponentRegistration();

} // namespace pikotel
