// The per-user file when it is not as it should be: damaged byte by byte, of the first
// format, of a later one, locked by another program, unreadable, unwritable or full. None of
// these may pass for a first run, lose what the file holds, or go unsaid.

#include "settings/regstore.h"

#include "platform/messages.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <memory>

using namespace pikotel;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\ぴ～こぴこ電話帳\\18.0");
constexpr qsizetype kFlipStride = FLIP_STRIDE;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Everything the per-user root holds, one line per value.
QStringList contents(SettingsStore& store, const QString& path = QString()) {
    QStringList lines;
    RegHandle h;
    if (store.RegKeyOpen(path, 1, h) != 0)
        return {QStringLiteral("no key ") + path};
    for (const QString& name : store.RegValueNames(h)) {
        RegType type{};
        QByteArray data;
        const int rc = store.RegValueGetRaw(h, name, type, data);
        QString text;
        store.RegValueGet(h, name, text);
        lines.append(QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(path, name)
                         .arg(rc)
                         .arg(static_cast<int>(type))
                         .arg(QString::fromLatin1(data.toHex()) + u'|' + text));
    }
    const QStringList subKeys = store.RegSubKeys(h);
    store.RegKeyClose(h);
    for (const QString& sub : subKeys)
        lines += contents(store, path.isEmpty() ? sub : path + u'\\' + sub);
    return lines;
}

// The same, cheaper: one enumeration per key (what the flip test runs thousands of times).
QStringList listing(SettingsStore& store, const QString& path = QString(), int depth = 0) {
    if (depth > 8)
        return {QStringLiteral("too deep ") + path};
    RegValueListData values;
    store.RegValueList(1, path, values);
    QStringList lines;
    for (const RegValuePair& pair : values)
        lines.append(path + u'|' + pair.name + u'|' + pair.text);
    RegHandle h;
    if (store.RegKeyOpen(path, 1, h) != 0)
        return {QStringLiteral("no key ") + path};
    const QStringList subKeys = store.RegSubKeys(h);
    store.RegKeyClose(h);
    for (const QString& sub : subKeys)
        lines += listing(store, path.isEmpty() ? sub : path + u'\\' + sub, depth + 1);
    return lines;
}

int userVersion(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr);
    const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return version;
}

// Runs SQL on a store file from outside, as another program would.
class RawStore {
public:
    explicit RawStore(const QString& path) {
        sqlite3_open(QFile::encodeName(path).constData(), &db_);
    }
    ~RawStore() { sqlite3_close(db_); }
    RawStore(const RawStore&) = delete;
    RawStore& operator=(const RawStore&) = delete;
    bool exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == 0; }
    qint64 number(const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
        const qint64 n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return n;
    }

private:
    sqlite3* db_ = nullptr;
};

class RecordingPresenter final : public MessagePresenter {
public:
    RecordingPresenter() : previous_(setMessagePresenter(this)) {}
    ~RecordingPresenter() override { setMessagePresenter(previous_); }
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;
    int present(const QString& text, int, const QString&) override {
        shown.append(text);
        return MsgResultOk;
    }
    QStringList shown;

private:
    MessagePresenter* previous_;
};

class StoreProblems : public ::testing::Test {
protected:
    QString userPath() const { return dir.file(QStringLiteral("cfg/pikotel/HKCU.db")); }
    StorePaths paths() const { return {QString(), userPath(), QString()}; }

    // A store as a user's looks after some use: settings, histories, an output layout,
    // and a deleted key's pages on the free list.
    void fill() {
        SettingsStore store(paths());
        RegValueListData settings;
        for (int i = 0; i < 25; ++i)
            settings.append({QStringLiteral("SETTING%1").arg(i), QStringLiteral("値%1").arg(i)});
        ASSERT_TRUE(store.RegValueListPut(kKey, settings));
        RegValueListData history;
        for (int i = 0; i < 60; ++i)
            history.append({QStringLiteral("TELNO(%1)").arg(i),
                            QStringLiteral("03-%1-5678 山田　太郎").arg(1000 + i)});
        ASSERT_TRUE(store.RegValueListPut(kMruKey, history));
        RegValueListData scratch;
        for (int i = 0; i < 40; ++i)
            scratch.append({QStringLiteral("X%1").arg(i), QString(60, u'削')});
        ASSERT_TRUE(store.RegValueListPut(kVersionKey + QStringLiteral("\\Scratch"), scratch));
        ASSERT_EQ(store.RegKeyDelete(1, kVersionKey + QStringLiteral("\\Scratch")), 0);
        ASSERT_TRUE(store.RegValueListPut(kAteKey, {{"ATEMEISAI(0)", "電話番号,名前,住所"}}));
    }

    // A store as the first format wrote it (no checksums), holding what the SQL adds.
    void writeFirstFormat(std::initializer_list<const char*> rows) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(userPath()).path()));
        RawStore old(userPath());
        for (const char* sql :
             {"CREATE TABLE keys (id INTEGER PRIMARY KEY,"
              " parent INTEGER REFERENCES keys(id) ON DELETE CASCADE, name TEXT NOT NULL,"
              " fold TEXT NOT NULL, UNIQUE (parent, fold))",
              "CREATE TABLE vals (id INTEGER PRIMARY KEY,"
              " key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
              " name TEXT NOT NULL, fold TEXT NOT NULL,"
              " type INTEGER NOT NULL CHECK (type BETWEEN 1 AND 4), data BLOB NOT NULL,"
              " exact BLOB, UNIQUE (key, fold))",
              "INSERT INTO keys VALUES (1, NULL, '', '')", "PRAGMA application_id = 1347113543",
              "PRAGMA user_version = 1"})
            ASSERT_TRUE(old.exec(sql)) << sql;
        for (const char* sql : rows)
            ASSERT_TRUE(old.exec(sql)) << sql;
    }

    // The store with a reporter that keeps what it was told.
    std::unique_ptr<SettingsStore> reportingStore() {
        auto store = std::make_unique<SettingsStore>(paths());
        store->setLockWait(50);
        store->setProblemReporter([this](const StoreProblem& p) { reported.append(p); });
        return store;
    }
    QList<StoreProblem::Kind> reportedKinds() const {
        QList<StoreProblem::Kind> kinds;
        for (const StoreProblem& p : reported)
            kinds.append(p.kind);
        return kinds;
    }

    test::ScratchDir dir;
    QList<StoreProblem> reported;
};

// Bytes of the file changed in turn (every kFlipStride-th; every one in the long test):
// either nothing that is read changes, or the store says the file is damaged. Nothing may
// read differently without a word.
TEST_F(StoreProblems, EveryChangedByteIsHarmlessOrReported) {
    fill();
    const QByteArray good = readFile(userPath());
    QStringList expected;
    {
        SettingsStore store(paths());
        expected = listing(store);
    }
    ASSERT_GT(expected.size(), 80);
    int reported = 0;
    QList<qsizetype> silent;
    for (qsizetype at = 0; at < good.size(); at += kFlipStride) {
        QByteArray bad = good;
        bad[at] = static_cast<char>(bad[at] ^ (1 + (at * 37) % 255));
        ASSERT_TRUE(writeFile(userPath(), bad));
        SettingsStore store(paths());
        store.setReadOnly(true);
        store.setLockWait(0);
        const QStringList read = listing(store);
        if (!store.takeProblems().isEmpty())
            ++reported;
        else if (read != expected)
            silent.append(at);
    }
    std::printf("%lld of %lld bytes changed one at a time: %d reported, %lld silently different\n",
                static_cast<long long>((good.size() + kFlipStride - 1) / kFlipStride),
                static_cast<long long>(good.size()), reported,
                static_cast<long long>(silent.size()));
    EXPECT_TRUE(silent.isEmpty()) << "first at byte " << (silent.isEmpty() ? -1 : silent.first());
}

} // namespace

namespace {

// Written by the program before rows carried checksums: read as it is, given its checksums
// by the first write, and read alike afterwards.
TEST_F(StoreProblems, StoreOfTheFirstFormatIsReadAndUpgradedByItsFirstWrite) {
    writeFirstFormat(
        {"INSERT INTO keys VALUES (2, 1, 'Software', 'SOFTWARE'), (3, 2, 'Old', 'OLD')",
         "INSERT INTO vals VALUES (1, 3, 'CDDRIVE', 'CDDRIVE', 1, X'2F6D6E742F00', NULL),"
         " (2, 3, 'Home', 'HOME', 1, X'2F686F6D652F6A3F7267656E00',"
         "  CAST('/home/jürgen' AS BLOB))"});
    const QStringList before = [&] {
        SettingsStore store(paths());
        return contents(store);
    }();
    EXPECT_EQ(before.size(), 2);
    EXPECT_TRUE(before.at(1).endsWith(QStringLiteral("|/home/jürgen"))) << qPrintable(before.at(1));
    EXPECT_EQ(userVersion(userPath()), 1) << "reading changes nothing";

    auto store = reportingStore();
    RegHandle h;
    ASSERT_EQ(store->RegKeyOpen(QStringLiteral("SOFTWARE\\OLD"), 1, h), 0);
    ASSERT_EQ(store->RegValueSet(h, QStringLiteral("NEW"), QStringLiteral("新")), 0);
    store->RegKeyClose(h);
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_EQ(userVersion(userPath()), 2);
    EXPECT_EQ(RawStore(userPath())
                  .number("SELECT (SELECT count(*) FROM keys WHERE sum IS NULL)"
                          " + (SELECT count(*) FROM vals WHERE sum IS NULL)"),
              0);
    SettingsStore again(paths());
    QStringList after = contents(again);
    EXPECT_TRUE(again.takeProblems().isEmpty());
    ASSERT_EQ(after.size(), 3);
    EXPECT_TRUE(after.takeLast().endsWith(QStringLiteral("|新")));
    EXPECT_EQ(after, before);
}

// Key trees no program writes, which a row checksum cannot catch since whoever wrote the
// rows could write their sums: each is damage, set aside, and a fresh store begins.
TEST_F(StoreProblems, CraftedKeyTreesAreDamage) {
    const char* const crafted[] = {
        "INSERT INTO keys VALUES (2, 1, '\\', '\\')",
        "INSERT INTO keys VALUES (2, 1, '', '')",
        "INSERT INTO keys VALUES (2, 1, 'Mixed', 'Mixed')",
        "INSERT INTO keys VALUES (2, NULL, 'Orphan', 'ORPHAN')",
        "INSERT INTO vals VALUES (1, 1, 'name', 'name', 1, X'00', NULL)",
        "WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < 514)"
        " INSERT INTO keys SELECT i, i - 1, 'K', 'K' FROM n",
    };
    for (const char* sql : crafted) {
        SCOPED_TRACE(sql);
        ASSERT_TRUE(QDir(QFileInfo(userPath()).path()).removeRecursively());
        writeFirstFormat({sql});
        reported.clear();
        auto store = reportingStore();
        RegHandle h;
        EXPECT_EQ(store->RegKeyOpen(QStringLiteral("K"), 1, h), 1);
        EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Damaged});
        EXPECT_EQ(store->RegKeyCreate(kKey, 1, h), 0);
    }
    // Nor can a program make a tree deeper than 512 levels.
    SettingsStore store(paths());
    RegHandle h;
    QStringList deep(513, QStringLiteral("K"));
    EXPECT_EQ(store.RegKeyCreate(deep.join(u'\\'), 1, h), 1);
    deep.removeLast();
    EXPECT_EQ(store.RegKeyCreate(deep.join(u'\\'), 1, h), 0);
}

// A later version's file is not damage: it stays where and as it is, and is not written.
TEST_F(StoreProblems, StoreOfALaterFormatIsRefusedAndLeftAlone) {
    fill();
    ASSERT_TRUE(RawStore(userPath()).exec("PRAGMA user_version = 3"));
    const QByteArray bytes = readFile(userPath());
    auto store = reportingStore();
    RegHandle h;
    EXPECT_EQ(store->RegKeyOpen(kKey, 1, h), 1);
    EXPECT_EQ(store->RegKeyCreate(kKey, 1, h), 1);
    EXPECT_FALSE(store->RegValueListPut(kMruKey, {{"A", "1"}}));
    EXPECT_FALSE(store->userRootUsable());
    EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Newer});
    EXPECT_EQ(readFile(userPath()), bytes);
    EXPECT_EQ(QDir(QFileInfo(userPath()).path()).entryList(QDir::Files),
              QStringList{QStringLiteral("HKCU.db")});
}

// Another program holding the file locked past the wait, at the first look or at a later
// read: the run neither reads nor writes it again, so nothing takes the place of what it holds.
TEST_F(StoreProblems, LockedStoreIsHeldOffNotTakenForAFirstRun) {
    fill();
    const QByteArray bytes = readFile(userPath());
    for (const bool lockedAtFirstLook : {true, false}) {
        SCOPED_TRACE(lockedAtFirstLook ? "at the first look" : "at a later read");
        reported.clear();
        auto store = reportingStore();
        RegHandle h;
        if (!lockedAtFirstLook) {
            ASSERT_EQ(store->RegKeyOpen(kKey, 1, h), 0);
        }
        {
            RawStore other(userPath());
            ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
            QString text;
            if (lockedAtFirstLook)
                EXPECT_EQ(store->RegKeyOpen(kKey, 1, h), 1);
            else
                EXPECT_EQ(store->RegValueGet(h, QStringLiteral("SETTING1"), text), 1);
            EXPECT_FALSE(store->userRootUsable());
            ASSERT_TRUE(other.exec("ROLLBACK"));
        }
        EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Locked});
        EXPECT_TRUE(storeProblemText(reported.at(0)).contains(userPath()));
        EXPECT_EQ(store->RegValueSet(h, QStringLiteral("SETTING1"), QStringLiteral("x")), 1);
        EXPECT_EQ(store->RegKeyCreate(kKey, 1, h), 1);
        EXPECT_FALSE(store->RegValueListPut(kKey, {{"SETTING1", "default"}}));
        EXPECT_EQ(reported.size(), 1);
        EXPECT_EQ(readFile(userPath()), bytes);
    }
}

// A folder where the file should be cannot be read; it is left alone and said once.
TEST_F(StoreProblems, UnreadableStoreIsHeldOff) {
    ASSERT_TRUE(QDir().mkpath(userPath()));
    auto store = reportingStore();
    RegHandle h;
    EXPECT_EQ(store->RegKeyOpen(kKey, 1, h), 1);
    EXPECT_FALSE(store->RegValueListPut(kMruKey, {{"A", "1"}}));
    EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Unreadable});
    EXPECT_TRUE(QFileInfo(userPath()).isDir());
}

// Settings that cannot be kept are said once, whatever the number of failed writes; with a
// reporter the list write adds no message of its own.
TEST_F(StoreProblems, WritesThatCannotBeKeptAreSaidOnce) {
    RecordingPresenter messages;
    {
        ASSERT_TRUE(writeFile(dir.file(QStringLiteral("cfg")), "a file where a folder should be"));
        auto store = reportingStore();
        RegHandle h;
        EXPECT_EQ(store->RegKeyOpen(kKey, 1, h), 1);
        EXPECT_TRUE(store->userRootUsable()) << "nothing stored yet: a first run";
        EXPECT_EQ(store->RegKeyCreate(kKey, 1, h), 1);
        EXPECT_FALSE(store->RegValueListPut(kMruKey, {{"A", "1"}}));
        EXPECT_FALSE(store->RegValueListPut(kMruKey, {{"A", "2"}}));
        EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Unwritable});
        EXPECT_TRUE(
            storeProblemText(reported.at(0)).startsWith(QStringLiteral("設定を保存できません")));
        EXPECT_TRUE(messages.shown.isEmpty());
        ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("cfg"))));
    }

    // A full disk, as a file size limit makes it.
    fill();
    const QStringList kept = [&] {
        SettingsStore store(paths());
        return contents(store);
    }();
    reported.clear();
    auto store = reportingStore();
    RegHandle h;
    ASSERT_EQ(store->RegKeyOpen(kKey, 1, h), 0);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit none{0, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
    const int set = store->RegValueSet(h, QStringLiteral("SETTING1"), QString(3000, u'長'));
    const bool listed = store->RegValueListPut(kMruKey, {{"TELNO(0)", "x"}});
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(set, 1);
    EXPECT_FALSE(listed);
    EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Unwritable});
    store->RegKeyClose(h);
    SettingsStore after(paths());
    EXPECT_EQ(contents(after), kept);
    EXPECT_TRUE(after.takeProblems().isEmpty());
}

TEST_F(StoreProblems, ReadOnlyStoreIsReadAndSaidOnceAtTheStart) {
    fill();
    ASSERT_TRUE(QFile::setPermissions(userPath(), QFile::ReadOwner));
    if (::access(QFile::encodeName(userPath()).constData(), W_OK) == 0)
        GTEST_SKIP() << "this user may write read-only files";
    auto store = reportingStore();
    RegHandle h;
    ASSERT_EQ(store->RegKeyOpen(kKey, 1, h), 0);
    EXPECT_EQ(reportedKinds(), QList{StoreProblem::Kind::Unwritable});
    QString text;
    EXPECT_EQ(store->RegValueGet(h, QStringLiteral("SETTING1"), text), 0);
    EXPECT_EQ(store->RegValueSet(h, QStringLiteral("SETTING1"), QStringLiteral("x")), 1);
    EXPECT_EQ(reported.size(), 1);
}

// The history holds the names looked up: what the store makes for the per-user root is
// the user's alone; the installation record is made for every user to read.
TEST_F(StoreProblems, PerUserFilesArePrivateTheInstallationRecordIsNot) {
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyCreate(kKey, 1, h), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("A"), QStringLiteral("1")), 0);
    const auto mode = [](const QString& path) {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    };
    EXPECT_EQ(mode(dir.file(QStringLiteral("cfg"))), 0700u);
    EXPECT_EQ(mode(QFileInfo(userPath()).path()), 0700u);
    EXPECT_EQ(mode(userPath()), 0600u);

    const QString machine = dir.file(QStringLiteral("share/pikotel/HKLM.db"));
    SettingsStore installer({machine, QString(), QString()});
    installer.setMachineWritable(true);
    ASSERT_EQ(installer.RegKeyCreate(kVersionKey, 0, h), 0);
    ASSERT_EQ(installer.RegValueSet(h, QStringLiteral("DICDRIVE"), QStringLiteral("0")), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(mode(machine), 0644u & ~mask);
    EXPECT_EQ(mode(QFileInfo(machine).path()) & 0555u, 0555u & ~mask);
}

} // namespace
