// pikotel-reg: reads and writes the settings store from the command line, as `reg` does on
// Windows. The installer writes the machine-wide installation record with it.

#include "platform/paths.h"
#include "settings/regstore.h"

#include "common/cp932.h"
#include "common/texthelpers.h"

#include <QCoreApplication>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace pikotel;

namespace {

enum ExitCode : int { ExitOk = 0, ExitNotFound = 1, ExitUsage = 2 };

constexpr const char* kUsage =
    "usage: pikotel-reg [--machine-store FILE] [--user-store FILE] COMMAND ...\n"
    "  query  ROOT KEY [NAME]        show a value, or a key's values and subkeys\n"
    "  set    ROOT KEY NAME DATA [--type TYPE]\n"
    "                                write a value (TYPE: REG_SZ, the default, REG_EXPAND_SZ,\n"
    "                                REG_DWORD as a decimal or 0x number, REG_BINARY as hex)\n"
    "  delete ROOT KEY [NAME]        delete a value, or a key with all its subkeys\n"
    "  export ROOT KEY               print the key and its subkeys, one value per line:\n"
    "                                key TAB name TAB type TAB data\n"
    "ROOT: HKLM (HKEY_LOCAL_MACHINE), HKCU (HKEY_CURRENT_USER), HKCR (HKEY_CLASSES_ROOT).\n"
    "KEY is \"\\\"-separated. An empty NAME ('') is the key's default value.\n"
    "Control characters in printed names and texts are shown as blanks.\n"
    "Exit status: 0 done, 1 not found or not written, 2 usage error.\n";

void print(std::FILE* stream, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stream);
}

int usageError(const QString& why) {
    print(stderr, QStringLiteral("pikotel-reg: %1\n").arg(why));
    std::fputs(kUsage, stderr);
    return ExitUsage;
}

int failure(const QString& why) {
    print(stderr, QStringLiteral("エラー: %1\n").arg(why));
    return ExitNotFound;
}

struct Root {
    int mode;
    QString name;
};

std::optional<Root> parseRoot(const QString& text) {
    const QString upper = text.toUpper();
    if (upper == QLatin1String("HKLM") || upper == QLatin1String("HKEY_LOCAL_MACHINE"))
        return Root{static_cast<int>(RegRoot::Machine), QStringLiteral("HKEY_LOCAL_MACHINE")};
    if (upper == QLatin1String("HKCU") || upper == QLatin1String("HKEY_CURRENT_USER"))
        return Root{static_cast<int>(RegRoot::User), QStringLiteral("HKEY_CURRENT_USER")};
    if (upper == QLatin1String("HKCR") || upper == QLatin1String("HKEY_CLASSES_ROOT"))
        return Root{static_cast<int>(RegRoot::Classes), QStringLiteral("HKEY_CLASSES_ROOT")};
    return std::nullopt;
}

std::optional<RegType> parseType(const QString& text) {
    const QString upper = text.toUpper();
    if (upper == QLatin1String("REG_SZ"))
        return RegType::Text;
    if (upper == QLatin1String("REG_EXPAND_SZ"))
        return RegType::ExpandText;
    if (upper == QLatin1String("REG_BINARY"))
        return RegType::Binary;
    if (upper == QLatin1String("REG_DWORD"))
        return RegType::Dword;
    return std::nullopt;
}

QString typeName(RegType type) {
    switch (type) {
    case RegType::Text:
        return QStringLiteral("REG_SZ");
    case RegType::ExpandText:
        return QStringLiteral("REG_EXPAND_SZ");
    case RegType::Binary:
        return QStringLiteral("REG_BINARY");
    case RegType::Dword:
        return QStringLiteral("REG_DWORD");
    }
    return QString();
}

// One value must stay on one line of output.
QString printable(const QString& text) {
    QString out = StripNulls(text);
    for (QChar& c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return out;
}

// Key paths as typed on Windows: without the trailing separator RegCreateKey tolerated.
QString cleanKey(const QString& key) {
    QString out = key;
    while (out.endsWith(u'\\'))
        out.chop(1);
    return out;
}

class RegTool {
public:
    explicit RegTool(const StorePaths& paths) : store_(paths) {}

    int query(const Root& root, const QString& key, const std::optional<QString>& name);
    int set(const Root& root, const QString& key, const QString& name, const QString& data,
            RegType type);
    int remove(const Root& root, const QString& key, const std::optional<QString>& name);
    int exportKey(const Root& root, const QString& key);

    // Reading commands only look: they neither write nor move a damaged file aside.
    void setReadOnly() { store_.setReadOnly(true); }

    // Tells what was wrong with the per-user file.
    void reportProblems() {
        for (const StoreProblem& p : store_.takeProblems())
            print(stderr, QStringLiteral("pikotel-reg: %1\n").arg(describe(p)));
    }

private:
    static QString describe(const StoreProblem& p) {
        switch (p.kind) {
        case StoreProblem::Kind::Damaged:
            if (p.movedTo.isEmpty())
                return QStringLiteral("%1 is not a usable settings store (%2); it is left as it is")
                    .arg(p.path, p.detail);
            return QStringLiteral("%1 was not a usable settings store (%2) and was moved to %3")
                .arg(p.path, p.detail, p.movedTo);
        case StoreProblem::Kind::Locked:
            return QStringLiteral("%1 is locked by another program (%2)").arg(p.path, p.detail);
        case StoreProblem::Kind::Unreadable:
            return QStringLiteral("%1 cannot be read (%2)").arg(p.path, p.detail);
        case StoreProblem::Kind::Newer:
            return QStringLiteral("%1 was written by a newer version of the program (%2); it is "
                                  "left as it is")
                .arg(p.path, p.detail);
        case StoreProblem::Kind::Unwritable:
            return QStringLiteral("%1 cannot be written (%2)").arg(p.path, p.detail);
        }
        return p.path;
    }

    QString valueData(RegHandle& handle, const QString& name, RegType& type);
    bool exportTree(int mode, const QString& path);

    SettingsStore store_;
};

QString RegTool::valueData(RegHandle& handle, const QString& name, RegType& type) {
    QByteArray data;
    if (store_.RegValueGetRaw(handle, name, type, data) != 0)
        return QString();
    switch (type) {
    case RegType::Text: {
        // The text as written, also where its cp932 form had to give up characters.
        QString text;
        store_.RegValueGet(handle, name, text);
        return printable(text);
    }
    case RegType::ExpandText:
        return printable(fromCp932(data));
    case RegType::Dword:
        if (data.size() == 4)
            return QString::number(qFromLittleEndian<quint32>(data.constData()));
        return QString::fromLatin1(data.toHex().toUpper());
    case RegType::Binary:
        return QString::fromLatin1(data.toHex().toUpper());
    }
    return QString();
}

int RegTool::query(const Root& root, const QString& key, const std::optional<QString>& name) {
    RegHandle handle;
    if (store_.RegKeyOpen(key, root.mode, handle) != 0)
        return failure(QStringLiteral("キー %1\\%2 が見つかりません。").arg(root.name, key));
    const QString header = key.isEmpty() ? root.name : root.name + u'\\' + cleanKey(key);
    QStringList names = store_.RegValueNames(handle);
    if (name) {
        RegType type = RegType::Text;
        QByteArray unused;
        if (store_.RegValueGetRaw(handle, *name, type, unused) != 0)
            return failure(QStringLiteral("値 %1 が見つかりません。").arg(*name));
        // Shown with the letter case it is stored in.
        const auto stored = std::find_if(names.cbegin(), names.cend(), [&](const QString& n) {
            return n.compare(*name, Qt::CaseInsensitive) == 0;
        });
        names = QStringList{stored != names.cend() ? *stored : *name};
    }
    print(stdout, header + u'\n');
    for (const QString& valueName : names) {
        RegType type = RegType::Text;
        const QString data = valueData(handle, valueName, type);
        const QString shown = valueName.isEmpty() ? QStringLiteral("(既定)") : printable(valueName);
        print(stdout, QStringLiteral("    %1    %2    %3\n").arg(shown, typeName(type), data));
    }
    if (!name) {
        const QStringList subKeys = store_.RegSubKeys(handle);
        if (!subKeys.isEmpty())
            print(stdout, QStringLiteral("\n"));
        for (const QString& sub : subKeys)
            print(stdout, header + u'\\' + sub + u'\n');
    }
    return ExitOk;
}

int RegTool::set(const Root& root, const QString& key, const QString& name, const QString& data,
                 RegType type) {
    if (root.mode == static_cast<int>(RegRoot::Classes))
        return failure(QStringLiteral("HKEY_CLASSES_ROOT には書き込めません。"));
    QByteArray raw;
    switch (type) {
    case RegType::Text:
        break;
    case RegType::ExpandText:
        raw = toCp932(data) + QByteArray(1, '\0');
        break;
    case RegType::Dword: {
        bool ok = false;
        const QString trimmed = data.trimmed();
        const quint32 number = trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                   ? trimmed.mid(2).toUInt(&ok, 16)
                                   : trimmed.toUInt(&ok, 10);
        if (!ok)
            return usageError(QStringLiteral("not a 32-bit number: %1").arg(data));
        raw.resize(4);
        qToLittleEndian(number, raw.data());
        break;
    }
    case RegType::Binary: {
        const QString hex = QString(data).remove(u' ');
        const bool valid =
            hex.size() % 2 == 0 && std::all_of(hex.cbegin(), hex.cend(), [](QChar c) {
                return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f');
            });
        if (!valid)
            return usageError(QStringLiteral("not hexadecimal bytes: %1").arg(data));
        raw = QByteArray::fromHex(hex.toLatin1());
        break;
    }
    }
    store_.setMachineWritable(root.mode == static_cast<int>(RegRoot::Machine));
    RegHandle handle;
    if (store_.RegKeyCreate(key, root.mode, handle) != 0)
        return failure(QStringLiteral("キー %1\\%2 を作成できません。").arg(root.name, key));
    const int rc = type == RegType::Text ? store_.RegValueSet(handle, name, data)
                                         : store_.RegValueSetRaw(handle, name, type, raw);
    if (rc != 0 || store_.RegKeyFlushClose(handle) != 0)
        return failure(QStringLiteral("値 %1 を書き込めません。").arg(name));
    return ExitOk;
}

int RegTool::remove(const Root& root, const QString& key, const std::optional<QString>& name) {
    if (root.mode == static_cast<int>(RegRoot::Classes))
        return failure(QStringLiteral("HKEY_CLASSES_ROOT には書き込めません。"));
    store_.setMachineWritable(root.mode == static_cast<int>(RegRoot::Machine));
    if (!name) {
        if (cleanKey(key).isEmpty())
            return usageError(QStringLiteral("a root cannot be deleted"));
        if (store_.RegKeyDelete(root.mode, key) != 0)
            return failure(QStringLiteral("キー %1\\%2 を削除できません。").arg(root.name, key));
        return ExitOk;
    }
    RegHandle handle;
    if (store_.RegKeyOpen(key, root.mode, handle) != 0)
        return failure(QStringLiteral("キー %1\\%2 が見つかりません。").arg(root.name, key));
    if (store_.RegValueDelete(handle, *name) != 0)
        return failure(QStringLiteral("値 %1 を削除できません。").arg(*name));
    if (store_.RegKeyFlushClose(handle) != 0)
        return failure(QStringLiteral("値 %1 の削除を書き込めません。").arg(*name));
    return ExitOk;
}

bool RegTool::exportTree(int mode, const QString& path) {
    RegHandle handle;
    if (store_.RegKeyOpen(path, mode, handle) != 0)
        return false;
    for (const QString& name : store_.RegValueNames(handle)) {
        RegType type = RegType::Text;
        const QString data = valueData(handle, name, type);
        print(stdout, QStringLiteral("%1\t%2\t%3\t%4\n")
                          .arg(printable(path), printable(name), typeName(type), data));
    }
    const QStringList subKeys = store_.RegSubKeys(handle);
    store_.RegKeyClose(handle);
    for (const QString& sub : subKeys)
        exportTree(mode, path.isEmpty() ? sub : path + u'\\' + sub);
    return true;
}

int RegTool::exportKey(const Root& root, const QString& key) {
    if (!exportTree(root.mode, cleanKey(key)))
        return failure(QStringLiteral("キー %1\\%2 が見つかりません。").arg(root.name, key));
    return ExitOk;
}

struct Command {
    StorePaths paths;
    std::optional<RegType> type;
    QStringList words; // command and its arguments
};

// Options may stand anywhere; "--" ends them, so a text may begin with "-".
std::optional<QString> parseCommand(const QStringList& args, Command& command) {
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const bool takesValue = !optionsEnded && (arg == QLatin1String("--machine-store") ||
                                                  arg == QLatin1String("--user-store") ||
                                                  arg == QLatin1String("--type"));
        if (takesValue) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(arg);
            const QString value = args.at(++i);
            if (arg == QLatin1String("--machine-store"))
                command.paths.machine = value;
            else if (arg == QLatin1String("--user-store")) {
                command.paths.user = value;
                command.paths.createUserFolder = false;
            } else if (!(command.type = parseType(value)))
                return QStringLiteral("unknown type %1").arg(value);
            continue;
        }
        if (!optionsEnded && arg.startsWith(QLatin1String("--")))
            return QStringLiteral("unknown option %1").arg(arg);
        command.words.append(arg);
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return ExitOk;
    }
    Command command;
    command.paths.machine = machineStorePath(installedProgramFolder());
    command.paths.user = userStorePath();
    if (const std::optional<QString> error = parseCommand(args, command))
        return usageError(*error);
    const QStringList& w = command.words;
    if (w.size() < 3)
        return usageError(QStringLiteral("a command, a root and a key are needed"));
    const QString verb = w.at(0).toLower();
    const std::optional<Root> root = parseRoot(w.at(1));
    if (!root)
        return usageError(QStringLiteral("unknown root %1").arg(w.at(1)));
    const QString& key = w.at(2);
    const std::optional<QString> name =
        w.size() > 3 ? std::optional<QString>(w.at(3)) : std::nullopt;
    if (command.type && verb != QLatin1String("set"))
        return usageError(QStringLiteral("--type belongs to set"));

    if (root->mode == static_cast<int>(RegRoot::User) && command.paths.user.isEmpty())
        return failure(QStringLiteral("HOME（または XDG_CONFIG_HOME）が設定されていないため、"
                                      "HKEY_CURRENT_USER の場所が決まりません。"
                                      "--user-store で指定してください。"));
    RegTool tool(command.paths);
    if (verb == QLatin1String("query") || verb == QLatin1String("export"))
        tool.setReadOnly();
    int rc = ExitUsage;
    if (verb == QLatin1String("query") && w.size() <= 4)
        rc = tool.query(*root, key, name);
    else if (verb == QLatin1String("set") && w.size() == 5)
        rc = tool.set(*root, key, w.at(3), w.at(4), command.type.value_or(RegType::Text));
    else if (verb == QLatin1String("delete") && w.size() <= 4)
        rc = tool.remove(*root, key, name);
    else if (verb == QLatin1String("export") && w.size() == 3)
        rc = tool.exportKey(*root, key);
    else
        return usageError(QStringLiteral("wrong command or number of arguments"));
    tool.reportProblems();
    return rc;
}
