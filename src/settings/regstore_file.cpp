#include "settings/regstore_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace pikotel {

namespace {

// "PKRG" in the database header: tells our stores from any other SQLite file.
constexpr int kApplicationId = 0x504B5247;
constexpr int kFormatVersion = 1;
// Long enough for the tool and the program to wait out each other's commits.
constexpr int kBusyTimeoutMs = 5000;

constexpr const char* kSchema[] = {
    "CREATE TABLE keys ("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " UNIQUE (parent, fold))",
    "CREATE TABLE vals ("
    " id INTEGER PRIMARY KEY,"
    " key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " type INTEGER NOT NULL CHECK (type BETWEEN 1 AND 4),"
    " data BLOB NOT NULL,"
    " exact BLOB,"
    " UNIQUE (key, fold))",
    "INSERT INTO keys (id, parent, name, fold) VALUES (1, NULL, '', '')",
    "PRAGMA application_id = 1347113543", // kApplicationId
    "PRAGMA user_version = 1",
};
static_assert(kApplicationId == 1347113543);

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

bool isDamage(int code) {
    return (code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB;
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

RegStoreFile::OpenStatus RegStoreFile::open(const QString& path, bool writable, bool create,
                                            std::shared_ptr<RegStoreFile>& file, QString& why) {
    file.reset();
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!create || !writable)
            return OpenStatus::Missing;
        if (!QDir().mkpath(info.absolutePath())) {
            why = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
            return OpenStatus::Failed;
        }
    }
    const int flags =
        writable ? SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) : SQLITE_OPEN_READONLY;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        why = QString::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return OpenStatus::Failed;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // A file we may not write opens read-only even when asked for writing.
    const bool canWrite = writable && sqlite3_db_readonly(db, "main") == 0;
    std::shared_ptr<RegStoreFile> opened(new RegStoreFile(db, canWrite));
    // Full sync on commit: a flushed value survives a crash of the machine, not only of us.
    for (const char* pragma : {"PRAGMA foreign_keys = ON", "PRAGMA synchronous = FULL"}) {
        const int rc = opened->exec(pragma);
        if (rc != RegErr::Success) {
            why = QString::fromUtf8(sqlite3_errmsg(db));
            return rc == RegErr::RegistryCorrupt ? OpenStatus::Damaged : OpenStatus::Failed;
        }
    }
    switch (opened->inspect(why)) {
    case Inspection::Store:
        break;
    case Inspection::Empty:
        if (!create || !canWrite)
            return OpenStatus::Missing;
        if (opened->initialise() != RegErr::Success) {
            why = QString::fromUtf8(sqlite3_errmsg(db));
            return OpenStatus::Failed;
        }
        if (opened->inspect(why) != Inspection::Store)
            return OpenStatus::Failed;
        break;
    case Inspection::Damaged:
        return OpenStatus::Damaged;
    case Inspection::Failed:
        return OpenStatus::Failed;
    }
    file = std::move(opened);
    return OpenStatus::Ok;
}

RegStoreFile::Inspection RegStoreFile::inspect(QString& why) {
    const auto failed = [&](int code) {
        why = QString::fromUtf8(sqlite3_errmsg(db_));
        return isDamage(code) ? Inspection::Damaged : Inspection::Failed;
    };
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
    if (version != kFormatVersion) {
        why = QStringLiteral("unknown store format %1").arg(version);
        return Inspection::Damaged;
    }
    // The columns we use must all be there, and the root key.
    std::int64_t roots = 0;
    rc = scalar("SELECT count(*) FROM keys WHERE id = 1 AND parent IS NULL", roots);
    if (rc == SQLITE_OK) {
        std::int64_t unused = 0;
        rc = scalar("SELECT count(*) FROM (SELECT id, parent, name, fold FROM keys LIMIT 0)",
                    unused);
        if (rc == SQLITE_OK)
            rc = scalar("SELECT count(*) FROM"
                        " (SELECT id, key, name, fold, type, data, exact FROM vals LIMIT 0)",
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
    int stmtRc = SQLITE_OK;
    sqlite3_stmt* check = statement("PRAGMA quick_check", stmtRc);
    if (check == nullptr)
        return failed(stmtRc);
    StmtUse use(check);
    stmtRc = sqlite3_step(check);
    if (stmtRc != SQLITE_ROW)
        return failed(stmtRc);
    const QString verdict = columnText(check, 0);
    if (verdict != QLatin1String("ok")) {
        why = QStringLiteral("integrity check: %1").arg(verdict);
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
    }
    return commit();
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
    const int rc = exec("BEGIN IMMEDIATE");
    if (rc == RegErr::Success)
        pending_ = true;
    return rc;
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
    return RegErr::Success;
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
