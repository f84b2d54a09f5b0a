#include "settings/regstore_file.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pikotel {

namespace {

// "PKRG" in the database header: tells our stores from any other SQLite file.
constexpr int kApplicationId = 0x504B5247;
// 1: the first format; 2: every row carries a checksum of its columns.
constexpr int kFormatVersion = 2;

constexpr const char* kSchema[] = {
    "CREATE TABLE keys ("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " sum INTEGER,"
    " UNIQUE (parent, fold))",
    "CREATE TABLE vals ("
    " id INTEGER PRIMARY KEY,"
    " key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " type INTEGER NOT NULL CHECK (type BETWEEN 1 AND 4),"
    " data BLOB NOT NULL,"
    " exact BLOB,"
    " sum INTEGER,"
    " UNIQUE (key, fold))",
    "INSERT INTO keys (id, parent, name, fold) VALUES (1, NULL, '', '')",
    "PRAGMA application_id = 1347113543", // kApplicationId
    "PRAGMA user_version = 2",            // kFormatVersion
};
static_assert(kApplicationId == 1347113543 && kFormatVersion == 2);

// The checksum of a row is pikosum() over all its other columns, id included; the column
// lists below must stay the same in every statement.
constexpr const char* kFillKeySums = "UPDATE keys SET sum = pikosum(id, parent, name, fold)";
constexpr const char* kFillValueSums =
    "UPDATE vals SET sum = pikosum(id, key, name, fold, type, data, exact)";
constexpr const char* kSumOfKey =
    "UPDATE keys SET sum = pikosum(id, parent, name, fold) WHERE id = ?1";
constexpr const char* kSumOfValue =
    "UPDATE vals SET sum = pikosum(id, key, name, fold, type, data, exact)"
    " WHERE key = ?1 AND fold = ?2";
// Rows a checksum cannot vouch for, because whoever wrote them also wrote their sums: key
// names must be names (not empty, no backslash, at most 255 characters), folds their names'
// folds, and the tree at most 512 levels deep, as on Windows; so that a walk of the tree by
// path always ends.
constexpr const char* kMisshapen =
    "SELECT (SELECT count(*) FROM keys WHERE id <> 1 AND (parent IS NULL OR name = ''"
    "        OR instr(name, '\\') > 0 OR length(name) > 255 OR fold IS NOT upper(name)))"
    " + (SELECT count(*) FROM vals WHERE fold IS NOT upper(name))"
    " + (WITH RECURSIVE tree(id, depth) AS (SELECT 1, 0 UNION ALL"
    "    SELECT keys.id, depth + 1 FROM keys JOIN tree ON keys.parent = tree.id"
    "    WHERE depth <= 512)"
    "    SELECT count(*) FROM tree WHERE depth > 512)";
constexpr const char* kWrongSums =
    "SELECT (SELECT count(*) FROM keys WHERE sum IS NOT pikosum(id, parent, name, fold))"
    " + (SELECT count(*) FROM vals"
    "    WHERE sum IS NOT pikosum(id, key, name, fold, type, data, exact))";

// FNV-1a over each argument's type, length and bytes: a changed byte anywhere in a row, or
// a column turned into another type, gives another sum. Integers go in little-endian order
// so a store moves between machines.
void rowChecksum(sqlite3_context* context, int argc, sqlite3_value** argv) {
    std::uint64_t hash = 14695981039346656037ULL;
    const auto feed = [&hash](const unsigned char* bytes, std::int64_t size) {
        for (std::int64_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ULL;
        }
    };
    const auto feedNumber = [&feed](std::uint64_t number) {
        unsigned char bytes[8];
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(number);
            number >>= 8;
        }
        feed(bytes, 8);
    };
    for (int i = 0; i < argc; ++i) {
        const int type = sqlite3_value_type(argv[i]);
        feedNumber(static_cast<std::uint64_t>(type));
        if (type == SQLITE_INTEGER) {
            feedNumber(static_cast<std::uint64_t>(sqlite3_value_int64(argv[i])));
        } else if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
            const auto* bytes =
                type == SQLITE_TEXT
                    ? sqlite3_value_text(argv[i])
                    : static_cast<const unsigned char*>(sqlite3_value_blob(argv[i]));
            const int size = sqlite3_value_bytes(argv[i]);
            feedNumber(static_cast<std::uint64_t>(size));
            feed(bytes, size);
        }
    }
    sqlite3_result_int64(context, static_cast<sqlite3_int64>(hash));
}

// Resets a statement when its use ends, so that no read keeps the file locked.
class StmtUse {
public:
    explicit StmtUse(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~StmtUse() {
        if (stmt_ != nullptr) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    StmtUse(const StmtUse&) = delete;
    StmtUse& operator=(const StmtUse&) = delete;

private:
    sqlite3_stmt* stmt_;
};

void bindText(sqlite3_stmt* stmt, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

void bindBlob(sqlite3_stmt* stmt, int index, const QByteArray& bytes) {
    // A null pointer would bind SQL NULL; an empty value must stay an empty blob.
    if (bytes.isEmpty())
        sqlite3_bind_zeroblob(stmt, index, 0);
    else
        sqlite3_bind_blob(stmt, index, bytes.constData(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* stmt, int index) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, index));
}

QByteArray columnBlob(sqlite3_stmt* stmt, int index) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, index));
    return QByteArray(data, sqlite3_column_bytes(stmt, index));
}

RegType typeOf(int stored) {
    switch (stored) {
    case 1:
        return RegType::Text;
    case 2:
        return RegType::ExpandText;
    case 4:
        return RegType::Dword;
    default:
        return RegType::Binary;
    }
}

void readValue(sqlite3_stmt* stmt, StoredValue& value) {
    value.name = columnText(stmt, 0);
    value.type = typeOf(sqlite3_column_int(stmt, 1));
    value.data = columnBlob(stmt, 2);
    value.exact = sqlite3_column_type(stmt, 3) == SQLITE_NULL
                      ? QString()
                      : QString::fromUtf8(columnBlob(stmt, 3));
}

int mapSqlite(int code) {
    switch (code & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return RegErr::Success;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return RegErr::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return RegErr::AccessDenied;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return RegErr::RegistryCorrupt;
    case SQLITE_CONSTRAINT: // a write into a key that was deleted meanwhile
        return RegErr::KeyDeleted;
    default:
        return RegErr::RegistryIoFailed;
    }
}

RegStoreFile::OpenStatus statusOf(int code) {
    switch (code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return RegStoreFile::OpenStatus::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return RegStoreFile::OpenStatus::Locked;
    default:
        return RegStoreFile::OpenStatus::Failed;
    }
}

} // namespace

void SqliteStmtDeleter::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

QString foldName(const QString& name) {
    QString folded = name;
    for (QChar& c : folded) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return folded;
}

RegStoreFile::RegStoreFile(sqlite3* db, bool writable) : db_(db), writable_(writable) {}

RegStoreFile::~RegStoreFile() {
    commit();
    statements_.clear();
    sqlite3_close(db_);
}

RegStoreFile::OpenStatus RegStoreFile::open(const QString& path, const StoreOpenRequest& request,
                                            std::shared_ptr<RegStoreFile>& file, QString& why) {
    file.reset();
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!request.create || !request.writable)
            return OpenStatus::Missing;
        const QString folder = info.absolutePath();
        if (!QFileInfo(folder).isDir() && !request.createFolder) {
            why = QStringLiteral("the folder %1 does not exist").arg(folder);
            return OpenStatus::Failed;
        }
        if (request.privateToUser ? !makePrivateFolders(folder, why) : !QDir().mkpath(folder)) {
            if (why.isEmpty())
                why = QStringLiteral("cannot create the folder %1").arg(folder);
            return OpenStatus::Failed;
        }
        // Made here rather than by SQLite, whose files anyone may read; its journals take
        // the mode of the store.
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                   request.privateToUser ? 0600 : 0644);
        if (fd < 0 && errno != EEXIST) {
            why = QStringLiteral("cannot create %1: %2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return OpenStatus::Failed;
        }
        if (fd >= 0)
            ::close(fd);
    }
    const int flags = request.writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        why = QString::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return OpenStatus::Failed;
    }
    sqlite3_busy_timeout(db, request.lockWaitMs);
    sqlite3_create_function_v2(db, "pikosum", -1,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY, nullptr,
                               rowChecksum, nullptr, nullptr, nullptr);
    // A file we may not write opens read-only even when asked for writing.
    const bool canWrite = request.writable && sqlite3_db_readonly(db, "main") == 0;
    std::shared_ptr<RegStoreFile> opened(new RegStoreFile(db, canWrite));
    // Full sync on commit: a flushed value survives a crash of the machine, not only of us.
    for (const char* pragma : {"PRAGMA foreign_keys = ON", "PRAGMA synchronous = FULL"}) {
        const int rc = sqlite3_exec(db, pragma, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            why = QString::fromUtf8(sqlite3_errmsg(db));
            return statusOf(rc);
        }
    }
    switch (opened->inspect(why)) {
    case Inspection::Store:
        break;
    case Inspection::Empty:
        if (!request.create || !canWrite)
            return OpenStatus::Missing;
        if (opened->initialise() != RegErr::Success) {
            why = opened->lastError();
            return OpenStatus::Failed;
        }
        if (opened->inspect(why) != Inspection::Store)
            return OpenStatus::Failed;
        break;
    case Inspection::Damaged:
        return OpenStatus::Damaged;
    case Inspection::Locked:
        return OpenStatus::Locked;
    case Inspection::Newer:
        return OpenStatus::Newer;
    case Inspection::Failed:
        return OpenStatus::Failed;
    }
    file = std::move(opened);
    return OpenStatus::Ok;
}

RegStoreFile::Inspection RegStoreFile::failedInspection(int code, QString& why) const {
    why = lastError();
    switch (statusOf(code)) {
    case OpenStatus::Damaged:
        return Inspection::Damaged;
    case OpenStatus::Locked:
        return Inspection::Locked;
    default:
        return Inspection::Failed;
    }
}

QString RegStoreFile::lastError() const {
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

RegStoreFile::Inspection RegStoreFile::inspect(QString& why) {
    const auto failed = [&](int code) { return failedInspection(code, why); };
    const auto scalar = [&](const char* sql, std::int64_t& out) {
        int rc = SQLITE_OK;
        sqlite3_stmt* stmt = statement(sql, rc);
        if (stmt == nullptr)
            return rc;
        StmtUse use(stmt);
        rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW)
            return rc == SQLITE_DONE ? SQLITE_CORRUPT : rc;
        out = sqlite3_column_int64(stmt, 0);
        return SQLITE_OK;
    };
    std::int64_t appId = 0;
    std::int64_t version = 0;
    std::int64_t objects = 0;
    int rc = scalar("PRAGMA application_id", appId);
    if (rc == SQLITE_OK)
        rc = scalar("PRAGMA user_version", version);
    if (rc == SQLITE_OK)
        rc = scalar("SELECT count(*) FROM sqlite_master", objects);
    if (rc != SQLITE_OK)
        return failed(rc);
    if (appId == 0 && version == 0 && objects == 0)
        return Inspection::Empty;
    if (appId != kApplicationId) {
        why = QStringLiteral("not a settings store (application id %1)").arg(appId);
        return Inspection::Damaged;
    }
    if (version > kFormatVersion) {
        why = QStringLiteral("store format %1 is newer than this program's %2")
                  .arg(version)
                  .arg(kFormatVersion);
        return Inspection::Newer;
    }
    if (version < 1) {
        why = QStringLiteral("unknown store format %1").arg(version);
        return Inspection::Damaged;
    }
    format_ = static_cast<int>(version);
    // The columns we use must all be there, and the root key.
    std::int64_t roots = 0;
    rc = scalar("SELECT count(*) FROM keys WHERE id = 1 AND parent IS NULL", roots);
    if (rc == SQLITE_OK) {
        std::int64_t unused = 0;
        rc = format_ == 1
                 ? scalar("SELECT count(*) FROM (SELECT id, parent, name, fold FROM keys LIMIT 0)",
                          unused)
                 : scalar("SELECT count(*) FROM"
                          " (SELECT id, parent, name, fold, sum FROM keys LIMIT 0)",
                          unused);
        if (rc == SQLITE_OK)
            rc = format_ == 1 ? scalar("SELECT count(*) FROM"
                                       " (SELECT id, key, name, fold, type, data, exact FROM vals"
                                       " LIMIT 0)",
                                       unused)
                              : scalar("SELECT count(*) FROM"
                                       " (SELECT id, key, name, fold, type, data, exact, sum"
                                       " FROM vals LIMIT 0)",
                                       unused);
    }
    if (rc != SQLITE_OK) {
        const int code = rc & 0xFF;
        if (code == SQLITE_ERROR) { // a missing table or column
            why = QStringLiteral("schema does not match: %1").arg(sqlite3_errmsg(db_));
            return Inspection::Damaged;
        }
        return failed(rc);
    }
    if (roots != 1) {
        why = QStringLiteral("the root key is missing");
        return Inspection::Damaged;
    }
    return checkRows(why);
}

// The whole file is read: the b-trees, every index against its table (a lost index entry
// would hide a key, and a hidden version key reads as a first run), and each row against
// its checksum (most flipped bytes inside a row leave SQLite's structures intact).
RegStoreFile::Inspection RegStoreFile::checkRows(QString& why) {
    int rc = SQLITE_OK;
    sqlite3_stmt* check = statement("PRAGMA integrity_check(1)", rc);
    if (check == nullptr)
        return failedInspection(rc, why);
    {
        StmtUse use(check);
        rc = sqlite3_step(check);
        if (rc != SQLITE_ROW)
            return failedInspection(rc, why);
        const QString verdict = columnText(check, 0);
        if (verdict != QLatin1String("ok")) {
            why = QStringLiteral("integrity check: %1").arg(verdict);
            return Inspection::Damaged;
        }
    }
    const auto count = [&](const char* sql, std::int64_t& n) {
        sqlite3_stmt* stmt = statement(sql, rc);
        if (stmt == nullptr)
            return false;
        StmtUse use(stmt);
        rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW)
            return false;
        n = sqlite3_column_int64(stmt, 0);
        return true;
    };
    std::int64_t wrong = 0;
    if (format_ >= 2) {
        if (!count(kWrongSums, wrong))
            return failedInspection(rc, why);
        if (wrong != 0) {
            why = QStringLiteral("%1 rows do not match their checksums").arg(wrong);
            return Inspection::Damaged;
        }
    }
    if (!count(kMisshapen, wrong))
        return failedInspection(rc, why);
    if (wrong != 0) {
        why = QStringLiteral("%1 keys or values are not well formed").arg(wrong);
        return Inspection::Damaged;
    }
    return Inspection::Store;
}

int RegStoreFile::initialise() {
    int rc = begin();
    if (rc != RegErr::Success)
        return rc;
    // Another process may have made the store between our look and our lock.
    int stmtRc = SQLITE_OK;
    sqlite3_stmt* stmt = statement("SELECT count(*) FROM sqlite_master", stmtRc);
    if (stmt == nullptr) {
        rollback();
        return failure(stmtRc);
    }
    bool empty = false;
    {
        StmtUse use(stmt);
        stmtRc = sqlite3_step(stmt);
        if (stmtRc != SQLITE_ROW) {
            rollback();
            return failure(stmtRc);
        }
        empty = sqlite3_column_int64(stmt, 0) == 0;
    }
    if (empty) {
        for (const char* sql : kSchema) {
            rc = exec(sql);
            if (rc != RegErr::Success) {
                rollback();
                return rc;
            }
        }
        format_ = kFormatVersion;
        rc = fillChecksums();
        if (rc != RegErr::Success) {
            rollback();
            return rc;
        }
    }
    return commit();
}

int RegStoreFile::migrate() {
    for (const char* sql :
         {"ALTER TABLE keys ADD COLUMN sum INTEGER", "ALTER TABLE vals ADD COLUMN sum INTEGER"}) {
        const int rc = exec(sql);
        if (rc != RegErr::Success)
            return rc;
    }
    int rc = fillChecksums();
    if (rc == RegErr::Success)
        rc = exec("PRAGMA user_version = 2"); // kFormatVersion
    if (rc == RegErr::Success)
        format_ = kFormatVersion;
    return rc;
}

int RegStoreFile::fillChecksums() {
    int rc = exec(kFillKeySums);
    if (rc == RegErr::Success)
        rc = exec(kFillValueSums);
    return rc;
}

int RegStoreFile::exec(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? RegErr::Success : failure(rc);
}

sqlite3_stmt* RegStoreFile::statement(const char* sql, int& rc) {
    for (const auto& [text, stmt] : statements_) {
        if (text == sql)
            return stmt.get();
    }
    sqlite3_stmt* raw = nullptr;
    rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    statements_.emplace_back(sql, SqliteStmtPtr(raw));
    return raw;
}

int RegStoreFile::failure(int sqliteCode) {
    if (pending_ && sqlite3_get_autocommit(db_) != 0)
        pending_ = false;
    return mapSqlite(sqliteCode);
}

int RegStoreFile::begin() {
    if (pending_)
        return RegErr::Success;
    if (!writable_)
        return RegErr::AccessDenied;
    int rc = exec("BEGIN IMMEDIATE");
    if (rc != RegErr::Success)
        return rc;
    pending_ = true;
    // Another process may have changed the format since we looked: a newer one is not ours
    // to write, and one of the first format gets its checksums with this first write.
    int stmtRc = SQLITE_OK;
    sqlite3_stmt* stmt = statement("PRAGMA user_version", stmtRc);
    if (stmt == nullptr) {
        rc = failure(stmtRc);
        rollback();
        return rc;
    }
    std::int64_t version = 0;
    {
        StmtUse use(stmt);
        stmtRc = sqlite3_step(stmt);
        if (stmtRc != SQLITE_ROW) {
            rc = failure(stmtRc);
            rollback();
            return rc;
        }
        version = sqlite3_column_int64(stmt, 0);
    }
    if (version > kFormatVersion) {
        rollback();
        return RegErr::AccessDenied;
    }
    format_ = static_cast<int>(version);
    if (format_ == 1) {
        rc = migrate();
        if (rc != RegErr::Success) {
            rollback();
            return rc;
        }
    }
    return RegErr::Success;
}

int RegStoreFile::commit() {
    if (!pending_)
        return RegErr::Success;
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        pending_ = false;
        return RegErr::Success;
    }
    const int code = failure(rc);
    rollback();
    return code;
}

void RegStoreFile::rollback() {
    if (!pending_)
        return;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    pending_ = false;
}

int RegStoreFile::findKey(std::int64_t parent, const QString& name, std::int64_t& id) {
    int rc = SQLITE_OK;
    sqlite3_stmt* stmt = statement("SELECT id FROM keys WHERE parent = ?1 AND fold = ?2", rc);
    if (stmt == nullptr)
        return failure(rc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, parent);
    bindText(stmt, 2, foldName(name));
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return RegErr::FileNotFound;
    if (rc != SQLITE_ROW)
        return failure(rc);
    id = sqlite3_column_int64(stmt, 0);
    return RegErr::Success;
}

int RegStoreFile::createKey(std::int64_t parent, const QString& name, std::int64_t& id) {
    int rc = begin();
    if (rc != RegErr::Success)
        return rc;
    rc = findKey(parent, name, id);
    if (rc != RegErr::FileNotFound)
        return rc;
    int stmtRc = SQLITE_OK;
    sqlite3_stmt* stmt =
        statement("INSERT INTO keys (parent, name, fold) VALUES (?1, ?2, ?3)", stmtRc);
    if (stmt == nullptr)
        return failure(stmtRc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, parent);
    bindText(stmt, 2, name);
    bindText(stmt, 3, foldName(name));
    stmtRc = sqlite3_step(stmt);
    if (stmtRc != SQLITE_DONE)
        return failure(stmtRc);
    id = sqlite3_last_insert_rowid(db_);
    sqlite3_stmt* sum = statement(kSumOfKey, stmtRc);
    if (sum == nullptr)
        return failure(stmtRc);
    StmtUse sumUse(sum);
    sqlite3_bind_int64(sum, 1, id);
    stmtRc = sqlite3_step(sum);
    return stmtRc == SQLITE_DONE ? RegErr::Success : failure(stmtRc);
}

int RegStoreFile::subKeys(std::int64_t id, QStringList& names) {
    int rc = SQLITE_OK;
    sqlite3_stmt* stmt = statement("SELECT name FROM keys WHERE parent = ?1 ORDER BY id", rc);
    if (stmt == nullptr)
        return failure(rc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        names.append(columnText(stmt, 0));
    return rc == SQLITE_DONE ? RegErr::Success : failure(rc);
}

int RegStoreFile::deleteKey(std::int64_t id) {
    int rc = begin();
    if (rc != RegErr::Success)
        return rc;
    int stmtRc = SQLITE_OK;
    // Subkeys and values go with it through the cascading references.
    sqlite3_stmt* stmt = statement("DELETE FROM keys WHERE id = ?1 AND parent IS NOT NULL", stmtRc);
    if (stmt == nullptr)
        return failure(stmtRc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    stmtRc = sqlite3_step(stmt);
    if (stmtRc != SQLITE_DONE)
        return failure(stmtRc);
    return sqlite3_changes(db_) > 0 ? RegErr::Success : RegErr::FileNotFound;
}

int RegStoreFile::getValue(std::int64_t key, const QString& name, StoredValue& value) {
    int rc = SQLITE_OK;
    sqlite3_stmt* stmt =
        statement("SELECT name, type, data, exact FROM vals WHERE key = ?1 AND fold = ?2", rc);
    if (stmt == nullptr)
        return failure(rc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, key);
    bindText(stmt, 2, foldName(name));
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return RegErr::FileNotFound;
    if (rc != SQLITE_ROW)
        return failure(rc);
    readValue(stmt, value);
    return RegErr::Success;
}

int RegStoreFile::putValue(std::int64_t key, const StoredValue& value) {
    int rc = begin();
    if (rc != RegErr::Success)
        return rc;
    int stmtRc = SQLITE_OK;
    // The name keeps the letter case it was first written with, as the registry does.
    sqlite3_stmt* stmt = statement(
        "INSERT INTO vals (key, name, fold, type, data, exact) VALUES (?1, ?2, ?3, ?4, ?5, ?6)"
        " ON CONFLICT (key, fold) DO UPDATE"
        " SET type = excluded.type, data = excluded.data, exact = excluded.exact",
        stmtRc);
    if (stmt == nullptr)
        return failure(stmtRc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, key);
    bindText(stmt, 2, value.name);
    bindText(stmt, 3, foldName(value.name));
    sqlite3_bind_int(stmt, 4, static_cast<int>(value.type));
    bindBlob(stmt, 5, value.data);
    if (value.exact.isNull())
        sqlite3_bind_null(stmt, 6);
    else
        bindBlob(stmt, 6, value.exact.toUtf8());
    stmtRc = sqlite3_step(stmt);
    if (stmtRc != SQLITE_DONE)
        return failure(stmtRc);
    sqlite3_stmt* sum = statement(kSumOfValue, stmtRc);
    if (sum == nullptr)
        return failure(stmtRc);
    StmtUse sumUse(sum);
    sqlite3_bind_int64(sum, 1, key);
    bindText(sum, 2, foldName(value.name));
    stmtRc = sqlite3_step(sum);
    return stmtRc == SQLITE_DONE ? RegErr::Success : failure(stmtRc);
}

int RegStoreFile::deleteValue(std::int64_t key, const QString& name) {
    int rc = begin();
    if (rc != RegErr::Success)
        return rc;
    int stmtRc = SQLITE_OK;
    sqlite3_stmt* stmt = statement("DELETE FROM vals WHERE key = ?1 AND fold = ?2", stmtRc);
    if (stmt == nullptr)
        return failure(stmtRc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, key);
    bindText(stmt, 2, foldName(name));
    stmtRc = sqlite3_step(stmt);
    if (stmtRc != SQLITE_DONE)
        return failure(stmtRc);
    return sqlite3_changes(db_) > 0 ? RegErr::Success : RegErr::FileNotFound;
}

int RegStoreFile::values(std::int64_t key, QList<StoredValue>& out) {
    int rc = SQLITE_OK;
    sqlite3_stmt* stmt =
        statement("SELECT name, type, data, exact FROM vals WHERE key = ?1 ORDER BY id", rc);
    if (stmt == nullptr)
        return failure(rc);
    StmtUse use(stmt);
    sqlite3_bind_int64(stmt, 1, key);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        StoredValue value;
        readValue(stmt, value);
        out.append(std::move(value));
    }
    return rc == SQLITE_DONE ? RegErr::Success : failure(rc);
}

} // namespace pikotel
