#pragma once

// One root of the settings store: a SQLite file and the connection to it. Internal to the
// store; SettingsStore turns names into the stored forms and results into its own codes.
//
// Every operation answers with a Windows registry error code (RegErr), so that RegValuePut
// can hand "the platform's error code" to its caller unchanged.

#include "settings/regstore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pikotel {

namespace RegErr {
inline constexpr int Success = 0;
inline constexpr int FileNotFound = 2;
inline constexpr int AccessDenied = 5;
inline constexpr int InvalidHandle = 6;
inline constexpr int InvalidParameter = 87;
inline constexpr int Busy = 170;
inline constexpr int RegistryCorrupt = 1015;
inline constexpr int RegistryIoFailed = 1016;
inline constexpr int KeyDeleted = 1018;
} // namespace RegErr

struct StoredValue {
    QString name;
    RegType type = RegType::Text;
    QByteArray data; // cp932 bytes with their NUL for texts
    QString exact;   // the text as written when its cp932 form lost characters, else null
};

struct SqliteStmtDeleter {
    void operator()(sqlite3_stmt* stmt) const;
};
using SqliteStmtPtr = std::unique_ptr<sqlite3_stmt, SqliteStmtDeleter>;

struct StoreOpenRequest {
    bool writable = false;
    // Make the file when it is missing or empty (with its folder when createFolder is set).
    bool create = false;
    bool createFolder = true;
    // Files and folders made for it are the user's alone (0600, 0700): the per-user store's
    // history holds the names looked up. The machine-wide store is for every user to read.
    bool privateToUser = true;
    // How long to wait for another process's lock before giving up.
    int lockWaitMs = 5000;
};

class RegStoreFile {
public:
    // Missing: no file, or an empty one, and not to be made. Damaged: not a store, or one
    // failing its checks. Locked: another process held it locked past the wait. Newer: a
    // store of a later format. Failed: it could not be opened, read or made.
    enum class OpenStatus { Ok, Missing, Damaged, Locked, Newer, Failed };

    // Opens the store at path. A file that is anything but Ok or Missing is left exactly as
    // it was; why tells what was wrong.
    static OpenStatus open(const QString& path, const StoreOpenRequest& request,
                           std::shared_ptr<RegStoreFile>& file, QString& why);

    ~RegStoreFile();
    RegStoreFile(const RegStoreFile&) = delete;
    RegStoreFile& operator=(const RegStoreFile&) = delete;

    static constexpr std::int64_t kRootKey = 1;

    bool writable() const { return writable_; }

    int findKey(std::int64_t parent, const QString& name, std::int64_t& id);
    // Adds a subkey inside the pending transaction.
    int createKey(std::int64_t parent, const QString& name, std::int64_t& id);
    int subKeys(std::int64_t id, QStringList& names);
    // Removes the key with its subkeys and values inside the pending transaction.
    int deleteKey(std::int64_t id);

    int getValue(std::int64_t key, const QString& name, StoredValue& value);
    // Adds or rewrites a value inside the pending transaction; a rewrite keeps its place.
    int putValue(std::int64_t key, const StoredValue& value);
    int deleteValue(std::int64_t key, const QString& name);
    // The key's values in creation order.
    int values(std::int64_t key, QList<StoredValue>& out);

    // Writes collect in one pending transaction until commit (a flush) or rollback.
    int commit();
    void rollback();

    // SQLite's words for the last failure.
    QString lastError() const;

private:
    RegStoreFile(sqlite3* db, bool writable);

    enum class Inspection { Store, Empty, Damaged, Locked, Newer, Failed };
    Inspection inspect(QString& why);
    Inspection checkRows(QString& why);
    Inspection failedInspection(int sqliteCode, QString& why) const;
    int initialise();
    int begin();
    // Brings a store of the first format up to the current one inside the pending
    // transaction: the checksum columns, filled for every row.
    int migrate();
    int fillChecksums();
    int exec(const char* sql);
    sqlite3_stmt* statement(const char* sql, int& rc);
    // The code for a failed SQLite call; notices when SQLite ended the transaction itself.
    int failure(int sqliteCode);

    sqlite3* db_;
    bool writable_;
    bool pending_ = false;
    // The format of the file as last seen: 1 has no checksums, which the first write adds.
    int format_ = 0;
    std::vector<std::pair<const char*, SqliteStmtPtr>> statements_;
};

// Letter case of ASCII letters does not count in key and value names.
QString foldName(const QString& name);

} // namespace pikotel
