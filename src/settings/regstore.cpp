// The settings store on SQLite.
//
// File format (one file per root; SQLite 3, rollback journal, synchronous = FULL):
//
//   PRAGMA application_id = 0x504B5247 ("PKRG")    PRAGMA user_version = 1
//
//   keys  id INTEGER PRIMARY KEY        creation order among siblings
//         parent → keys(id), NULL only for the root key (id 1, empty name)
//         name TEXT                     as first created (UTF-8)
//         fold TEXT                     name with ASCII letters upper-cased; UNIQUE(parent, fold)
//   vals  id INTEGER PRIMARY KEY        creation order; a rewrite updates the row in place
//         key → keys(id)                deleting a key cascades to its subkeys and values
//         name, fold                    as for keys; "" is the key's default value
//         type INTEGER                  1 text, 2 expandable text, 3 binary, 4 32-bit number
//         data BLOB                     texts: cp932 bytes + one NUL; numbers: 4 bytes, little end
//         exact BLOB                    NULL, or the UTF-8 text as written when cp932 has no
//                                       form for some of its characters (see below)
//
// Characters without a cp932 form: the registry's ANSI functions wrote "?" for them, and the
// cp932 bytes here do the same, so sizes and buffer limits stay those of Windows. But on
// Linux such characters turn up in ordinary paths (a home folder "/home/jürgen"), so the
// text as written is kept beside the bytes and is what reading returns. Names are kept as
// written; their length limits are measured in cp932 bytes.
//
// Flushing is committing. All writes through the handles of one file collect in one pending
// transaction, committed by RegValueSet, by closing any handle of that file, or when the
// store goes away. A process killed at any moment leaves every value old or new.
//
// Format 2 adds a column "sum" to both tables: a checksum of the row's other columns
// (pikosum, regstore_file.cpp). A store of format 1 opens as it is and gets its checksums
// with its first write; a store of a later format is refused, never written.
//
// A per-user file that exists but is no store (not SQLite, foreign, wrong schema, failing
// SQLite's integrity check or a row checksum) is renamed to
// "<name>.damaged-<yyyyMMdd-HHmmss>" and a fresh store begins. One that is locked, cannot
// be read or is of a later format is never taken for a first run: it is left alone for the
// run. The machine-wide file is not ours to move: opens on it fail instead.

#include "settings/regstore.h"

#include "common/cp932.h"
#include "common/texthelpers.h"
#include "platform/messages.h"
#include "settings/regstore_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace pikotel {

namespace {

// Windows limits: a key name of 255 characters, a value name of 16383, 512 levels of keys.
constexpr qsizetype kMaxKeyName = 255;
constexpr qsizetype kMaxKeyDepth = 512;
constexpr qsizetype kMaxValueName = 16383;
// RegValueList's buffers: 256 characters of name including its NUL, 256 bytes of data.
constexpr qsizetype kListNameBytes = 255;
constexpr qsizetype kListDataBytes = 256;

// The C functions saw names only up to their first NUL.
QString cName(const QString& name) {
    const qsizetype nul = name.indexOf(QChar(u'\0'));
    return nul < 0 ? name : name.left(nul);
}

// Splits a "\"-joined path; an empty path is the root. A trailing "\" is tolerated as
// RegCreateKey did; empty or over-long names are not.
bool splitPath(const QString& path, QStringList& names) {
    QString text = cName(path);
    if (text.endsWith(u'\\'))
        text.chop(1);
    names.clear();
    if (text.isEmpty())
        return true;
    names = text.split(u'\\');
    if (names.size() > kMaxKeyDepth)
        return false;
    for (const QString& name : names) {
        if (name.isEmpty() || name.size() > kMaxKeyName)
            return false;
    }
    return true;
}

// The cp932 bytes the ANSI functions would have written: "?" for each character (code
// point) that has no cp932 form.
QByteArray ansiBytes(const QString& text, bool& lossy) {
    lossy = !fitsCp932(text);
    if (!lossy)
        return toCp932(text);
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, len);
        bytes += fitsCp932(one) ? toCp932(one) : QByteArray("?");
        i += len;
    }
    return bytes;
}

qsizetype ansiLength(const QString& text) {
    bool lossy = false;
    return ansiBytes(text, lossy).size();
}

StoredValue textValue(const QString& name, const QString& text) {
    StoredValue value;
    value.name = name;
    value.type = RegType::Text;
    bool lossy = false;
    value.data = ansiBytes(text, lossy);
    value.data.append('\0');
    if (lossy)
        value.exact = text;
    return value;
}

// The text the list gives: the stored text without its terminating NUL, nothing else cut.
QString listedText(const StoredValue& value) {
    if (value.type != RegType::Text || value.data.isEmpty())
        return QString();
    if (!value.exact.isNull())
        return value.exact;
    QByteArray bytes = value.data;
    if (bytes.endsWith('\0'))
        bytes.chop(1);
    return fromCp932(bytes);
}

bool isOriginalIndustryName(const QString& name) {
    static const std::array<QLatin1String, 4> prefixes = {
        QLatin1String("GYOSHUTARGET"), QLatin1String("GYOSHUNM"), QLatin1String("GYOSHUNOTARGET"),
        QLatin1String("GYOSHUSYBAN")};
    for (const QLatin1String& prefix : prefixes) {
        if (name.startsWith(prefix, Qt::CaseInsensitive))
            return true;
    }
    return name == QLatin1String("GYOSHUGYOSHU");
}

// Failures that come from the file rather than from what was asked of it.
bool isStoreFailure(int code) {
    return code == RegErr::AccessDenied || code == RegErr::Busy ||
           code == RegErr::RegistryCorrupt || code == RegErr::RegistryIoFailed;
}

QString writeFailureText(int code) {
    switch (code) {
    case RegErr::AccessDenied:
        return QStringLiteral("設定ファイルに書き込む権限がありません。");
    case RegErr::Busy:
        return QStringLiteral("設定ファイルは他のプログラムが使用中です。");
    case RegErr::RegistryCorrupt:
        return QStringLiteral("設定ファイルが壊れています。");
    case RegErr::KeyDeleted:
        return QStringLiteral("書き込み先のキーは削除されています。");
    default:
        return QStringLiteral("設定ファイルに書き込めませんでした。");
    }
}

} // namespace

QString storeProblemText(const StoreProblem& problem) {
    const QString detail =
        problem.detail.isEmpty() ? QString() : QStringLiteral("\r\n（%1）").arg(problem.detail);
    const QString onDefaults =
        QStringLiteral("\r\n今回は既定の設定で起動し、設定ファイルには書き込みません。");
    switch (problem.kind) {
    case StoreProblem::Kind::Damaged:
        if (problem.movedTo.isEmpty())
            return QStringLiteral("設定ファイルが壊れています。\r\n") + problem.path + detail;
        return QStringLiteral("設定ファイルが壊れていたため、読み込めませんでした。\r\n"
                              "壊れたファイルは次の名前で残し、初めての起動として設定をやり直し"
                              "ます。\r\n") +
               problem.movedTo;
    case StoreProblem::Kind::Locked:
        return QStringLiteral("設定ファイルは他のプログラムが使用中のため、読み込めませんでした。"
                              "\r\n") +
               problem.path + onDefaults;
    case StoreProblem::Kind::Unreadable:
        return QStringLiteral("設定ファイルを読み込めませんでした。\r\n") + problem.path + detail +
               onDefaults;
    case StoreProblem::Kind::Newer:
        return QStringLiteral("設定ファイルは新しい版のぴ～こぴこ電話帳で書かれているため、"
                              "読み込めませんでした。\r\n") +
               problem.path + onDefaults;
    case StoreProblem::Kind::Unwritable:
        return QStringLiteral("設定を保存できません。\r\n") + problem.path + detail +
               QStringLiteral("\r\n設定の変更や検索の履歴は、終了すると失われます。");
    }
    return QString();
}

RegHandle::RegHandle() = default;

RegHandle::~RegHandle() {
    if (isOpen())
        file_->commit();
}

RegHandle::RegHandle(RegHandle&& other) noexcept
    : file_(std::move(other.file_)), keyId_(std::exchange(other.keyId_, -1)),
      writable_(std::exchange(other.writable_, false)) {}

RegHandle& RegHandle::operator=(RegHandle&& other) noexcept {
    if (this != &other) {
        if (isOpen())
            file_->commit();
        file_ = std::move(other.file_);
        keyId_ = std::exchange(other.keyId_, -1);
        writable_ = std::exchange(other.writable_, false);
    }
    return *this;
}

bool RegHandle::isOpen() const {
    return file_ != nullptr && keyId_ >= 0;
}

SettingsStore::SettingsStore(StorePaths paths) : paths_(std::move(paths)) {}

SettingsStore::~SettingsStore() = default;

QList<StoreProblem> SettingsStore::takeProblems() {
    return std::exchange(problems_, {});
}

void SettingsStore::setProblemReporter(std::function<void(const StoreProblem&)> reporter) {
    reporter_ = std::move(reporter);
}

void SettingsStore::note(StoreProblem problem) {
    if (noted_.contains(problem.kind))
        return;
    noted_.append(problem.kind);
    qWarning("settings store %s: %s", qPrintable(problem.path), qPrintable(problem.detail));
    problems_.append(problem);
    if (reporter_)
        reporter_(problem);
}

void SettingsStore::holdOffUser(StoreProblem::Kind kind, const QString& detail) {
    userHeldOff_ = true;
    note({kind, paths_.user, QString(), detail});
}

bool SettingsStore::isUserFile(const std::shared_ptr<RegStoreFile>& file) const {
    return file != nullptr && file == files_[static_cast<int>(RegRoot::User)];
}

int SettingsStore::readResult(const std::shared_ptr<RegStoreFile>& file, int rc) {
    if (!isUserFile(file) || !isStoreFailure(rc) || rc == RegErr::AccessDenied)
        return rc;
    holdOffUser(rc == RegErr::Busy ? StoreProblem::Kind::Locked : StoreProblem::Kind::Unreadable,
                file->lastError());
    return rc;
}

int SettingsStore::writeResult(const std::shared_ptr<RegStoreFile>& file, int rc) {
    if (rc != RegErr::Success && isUserFile(file) && !userHeldOff_ && isStoreFailure(rc))
        note({StoreProblem::Kind::Unwritable, paths_.user, QString(),
              writeFailureText(rc) + u' ' + file->lastError()});
    return rc;
}

bool SettingsStore::rootWritable(int mode) const {
    if (readOnly_)
        return false;
    return mode == static_cast<int>(RegRoot::User) ||
           (mode == static_cast<int>(RegRoot::Machine) && machineWritable_);
}

std::shared_ptr<RegStoreFile> SettingsStore::rootFile(int mode, bool forWriting) {
    if (mode < 0 || mode > 2)
        return nullptr;
    const bool user = mode == static_cast<int>(RegRoot::User);
    if (user && userHeldOff_)
        return nullptr;
    const bool writable = rootWritable(mode);
    if (forWriting && !writable)
        return nullptr;
    std::shared_ptr<RegStoreFile>& cached = files_[mode];
    // A file held read-only is opened again once writing is allowed.
    if (cached != nullptr && (cached->writable() || !writable))
        return cached;
    const QString& path = mode == 0 ? paths_.machine : user ? paths_.user : paths_.classes;
    if (path.isEmpty())
        return nullptr;
    const StoreOpenRequest request{writable, forWriting, !user || paths_.createUserFolder, user,
                                   lockWaitMs_};
    std::shared_ptr<RegStoreFile> file;
    QString why;
    RegStoreFile::OpenStatus status = RegStoreFile::open(path, request, file, why);
    if (status == RegStoreFile::OpenStatus::Damaged) {
        if (!user) {
            qWarning("settings store %s is damaged: %s", qPrintable(path), qPrintable(why));
            return nullptr;
        }
        if (readOnly_) {
            userHeldOff_ = true;
            note({StoreProblem::Kind::Damaged, path, QString(), why});
            return nullptr;
        }
        if (!setAside(path, why))
            return nullptr;
        status = RegStoreFile::open(path, request, file, why);
    }
    switch (status) {
    case RegStoreFile::OpenStatus::Ok:
        cached = file;
        // Said at once rather than at the first write, which may be the last one of the run.
        if (user && writable && !file->writable())
            note({StoreProblem::Kind::Unwritable, path, QString(),
                  writeFailureText(RegErr::AccessDenied)});
        return file;
    case RegStoreFile::OpenStatus::Missing:
        return nullptr;
    case RegStoreFile::OpenStatus::Damaged:
    case RegStoreFile::OpenStatus::Failed:
        if (!user)
            qWarning("settings store %s cannot be opened: %s", qPrintable(path), qPrintable(why));
        else if (QFileInfo::exists(path) || !forWriting)
            holdOffUser(StoreProblem::Kind::Unreadable, why);
        else
            note({StoreProblem::Kind::Unwritable, path, QString(), why});
        return nullptr;
    case RegStoreFile::OpenStatus::Locked:
        if (user)
            holdOffUser(StoreProblem::Kind::Locked, why);
        return nullptr;
    case RegStoreFile::OpenStatus::Newer:
        if (user)
            holdOffUser(StoreProblem::Kind::Newer, why);
        else
            qWarning("settings store %s: %s", qPrintable(path), qPrintable(why));
        return nullptr;
    }
    return nullptr;
}

bool SettingsStore::setAside(const QString& path, const QString& why) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = path + QStringLiteral(".damaged-") + stamp;
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + u'-' + QString::number(n);
    if (!QFile::rename(path, target)) {
        holdOffUser(StoreProblem::Kind::Unreadable,
                    why + QStringLiteral("; it cannot be moved aside"));
        return false;
    }
    // A journal left beside the file belongs to it, not to the fresh store.
    for (const QLatin1String suffix :
         {QLatin1String("-journal"), QLatin1String("-wal"), QLatin1String("-shm")}) {
        if (QFileInfo::exists(path + suffix))
            QFile::rename(path + suffix, target + suffix);
    }
    note({StoreProblem::Kind::Damaged, path, target, why});
    return true;
}

int SettingsStore::RegKeyOpen(const QString& path, int mode, RegHandle& handle) {
    closeKey(handle);
    QStringList names;
    if (!splitPath(path, names))
        return 1;
    std::shared_ptr<RegStoreFile> file = rootFile(mode, false);
    if (file == nullptr)
        return 1;
    std::int64_t id = RegStoreFile::kRootKey;
    for (const QString& name : names) {
        if (readResult(file, file->findKey(id, name, id)) != RegErr::Success)
            return 1;
    }
    handle.writable_ = file->writable() && rootWritable(mode);
    handle.file_ = std::move(file);
    handle.keyId_ = id;
    return 0;
}

int SettingsStore::RegKeyCreate(const QString& path, int mode, RegHandle& handle) {
    return createKey(path, mode, handle) == RegErr::Success ? 0 : 1;
}

int SettingsStore::createKey(const QString& path, int mode, RegHandle& handle) {
    closeKey(handle);
    if (!rootWritable(mode))
        return RegErr::AccessDenied;
    QStringList names;
    if (!splitPath(path, names))
        return RegErr::InvalidParameter;
    std::shared_ptr<RegStoreFile> file = rootFile(mode, true);
    if (file == nullptr)
        return RegErr::RegistryIoFailed;
    if (!file->writable())
        return writeResult(file, RegErr::AccessDenied);
    std::int64_t id = RegStoreFile::kRootKey;
    for (const QString& name : names) {
        int rc = readResult(file, file->findKey(id, name, id));
        if (rc == RegErr::FileNotFound)
            rc = writeResult(file, file->createKey(id, name, id));
        if (rc != RegErr::Success)
            return rc;
    }
    handle.writable_ = true;
    handle.file_ = std::move(file);
    handle.keyId_ = id;
    return RegErr::Success;
}

int SettingsStore::RegKeyClose(RegHandle& handle) {
    return closeKey(handle) == RegErr::Success ? 0 : 1;
}

// The registry keeps what was written through a key once it is closed, so closing commits;
// the flush asked for by RegKeyFlushClose is that same commit.
int SettingsStore::RegKeyFlushClose(RegHandle& handle) {
    return RegKeyClose(handle);
}

int SettingsStore::closeKey(RegHandle& handle) {
    if (!handle.isOpen())
        return RegErr::InvalidHandle;
    const int rc = writeResult(handle.file_, handle.file_->commit());
    handle.file_.reset();
    handle.keyId_ = -1;
    handle.writable_ = false;
    return rc;
}

int SettingsStore::RegValueGet(RegHandle& handle, const QString& name, QString& text) {
    if (!handle.isOpen())
        return 1;
    StoredValue value;
    if (readResult(handle.file_, handle.file_->getValue(handle.keyId_, cName(name), value)) !=
        RegErr::Success)
        return 1;
    if (value.type != RegType::Text)
        return 2;
    text = StripNulls(value.exact.isNull() ? fromCp932(value.data) : value.exact);
    return 0;
}

int SettingsStore::RegValueSet(RegHandle& handle, const QString& name, const QString& text) {
    if (RegValuePut(handle, name, text) != RegErr::Success)
        return 1;
    return writeResult(handle.file_, handle.file_->commit()) == RegErr::Success ? 0 : 1;
}

int SettingsStore::RegValuePut(RegHandle& handle, const QString& name, const QString& text) {
    if (!handle.isOpen())
        return RegErr::InvalidHandle;
    if (!handle.writable_ || (userHeldOff_ && isUserFile(handle.file_)))
        return RegErr::AccessDenied;
    const QString valueName = cName(name);
    if (valueName.size() > kMaxValueName)
        return RegErr::InvalidParameter;
    return writeResult(handle.file_,
                       handle.file_->putValue(handle.keyId_, textValue(valueName, text)));
}

int SettingsStore::RegValueDelete(RegHandle& handle, const QString& name) {
    if (!handle.isOpen() || !handle.writable_ || (userHeldOff_ && isUserFile(handle.file_)))
        return 1;
    const int rc = handle.file_->deleteValue(handle.keyId_, cName(name));
    return writeResult(handle.file_, rc) == RegErr::Success ? 0 : 1;
}

int SettingsStore::RegValueList(int mode, const QString& path, RegValueListData& list) {
    return listValues(mode, path, list, false);
}

int SettingsStore::RegGyoshuValueList(int mode, const QString& path, RegValueListData& list) {
    return listValues(mode, path, list, true);
}

int SettingsStore::listValues(int mode, const QString& path, RegValueListData& list,
                              bool industryOnly) {
    RegHandle handle;
    if (RegKeyOpen(path, mode, handle) != 0)
        return 0;
    QList<StoredValue> values;
    readResult(handle.file_, handle.file_->values(handle.keyId_, values));
    RegValueListData listed;
    for (const StoredValue& value : values) {
        // A value that does not fit the buffers ends the enumeration, as it did on Windows.
        if (ansiLength(value.name) > kListNameBytes || value.data.size() > kListDataBytes)
            break;
        if (industryOnly && !isOriginalIndustryName(value.name))
            continue;
        listed.append({value.name, listedText(value)});
    }
    closeKey(handle);
    list = std::move(listed);
    return static_cast<int>(list.size());
}

// Writes all pairs or none: a failure undoes what this call had written and says so, where
// the program on Windows went on and reported success.
bool SettingsStore::RegValueListPut(const QString& path, const RegValueListData& list) {
    RegHandle handle;
    int rc = RegKeyOpen(path, 1, handle) == 0 ? RegErr::Success : createKey(path, 1, handle);
    if (rc == RegErr::Success) {
        for (const RegValuePair& pair : list) {
            rc = RegValuePut(handle, pair.name, pair.text);
            if (rc != RegErr::Success) {
                handle.file_->rollback();
                break;
            }
        }
    }
    if (rc == RegErr::Success)
        rc = closeKey(handle);
    if (rc != RegErr::Success) {
        // A failure of the file itself has been noted, and a reporter says it once.
        if (!reporter_ || !isStoreFailure(rc))
            ShowUnexpectedError(rc, writeFailureText(rc));
        return false;
    }
    return true;
}

int SettingsStore::RegValueGetRaw(RegHandle& handle, const QString& name, RegType& type,
                                  QByteArray& data) {
    if (!handle.isOpen())
        return 1;
    StoredValue value;
    if (readResult(handle.file_, handle.file_->getValue(handle.keyId_, cName(name), value)) !=
        RegErr::Success)
        return 1;
    type = value.type;
    data = value.data;
    return 0;
}

int SettingsStore::RegValueSetRaw(RegHandle& handle, const QString& name, RegType type,
                                  const QByteArray& data) {
    if (!handle.isOpen() || !handle.writable_ || (userHeldOff_ && isUserFile(handle.file_)))
        return 1;
    const QString valueName = cName(name);
    if (valueName.size() > kMaxValueName)
        return 1;
    if (type != RegType::Text && type != RegType::ExpandText && type != RegType::Binary &&
        type != RegType::Dword)
        return 1;
    if (type == RegType::Dword && data.size() != 4)
        return 1;
    StoredValue value;
    value.name = valueName;
    value.type = type;
    value.data = data;
    if (writeResult(handle.file_, handle.file_->putValue(handle.keyId_, value)) != RegErr::Success)
        return 1;
    return writeResult(handle.file_, handle.file_->commit()) == RegErr::Success ? 0 : 1;
}

QStringList SettingsStore::RegSubKeys(RegHandle& handle) {
    QStringList names;
    if (handle.isOpen())
        readResult(handle.file_, handle.file_->subKeys(handle.keyId_, names));
    return names;
}

QStringList SettingsStore::RegValueNames(RegHandle& handle) {
    QStringList names;
    QList<StoredValue> values;
    if (handle.isOpen() &&
        readResult(handle.file_, handle.file_->values(handle.keyId_, values)) == RegErr::Success) {
        for (const StoredValue& value : values)
            names.append(value.name);
    }
    return names;
}

int SettingsStore::RegKeyDelete(int mode, const QString& path) {
    if (!rootWritable(mode))
        return 1;
    QStringList names;
    if (!splitPath(path, names) || names.isEmpty())
        return 1;
    RegHandle handle;
    if (RegKeyOpen(path, mode, handle) != 0 || !handle.writable_)
        return 1;
    const int rc = handle.file_->deleteKey(handle.keyId_);
    if (rc != RegErr::Success) {
        writeResult(handle.file_, rc);
        handle.file_->rollback();
        return 1;
    }
    return closeKey(handle) == RegErr::Success ? 0 : 1;
}

int MruKeyCreate(SettingsStore& store, RegHandle& handle) {
    return store.RegKeyCreate(kMruKey, 1, handle);
}

int AteKeyCreate(SettingsStore& store, RegHandle& handle) {
    return store.RegKeyCreate(kAteKey, 1, handle);
}

} // namespace pikotel
