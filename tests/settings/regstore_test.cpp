#include "settings/regstore.h"

#include "common/cp932.h"
#include "platform/messages.h"
#include "support/testdirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace pikotel;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\(株)ザクロコボ\\ぴ～こぴこ電話帳\\18.0");

class RegStoreTest : public ::testing::Test {
protected:
    StorePaths paths() const {
        return {dir.file(QStringLiteral("share/HKLM.db")), dir.file(QStringLiteral("cfg/HKCU.db")),
                QString()};
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A key of the per-user root holding the given text values.
    void putValues(const RegValueListData& values, const QString& key = kKey) {
        SettingsStore store(paths());
        ASSERT_TRUE(store.RegValueListPut(key, values));
    }

    test::ScratchDir dir;
};

class RecordingPresenter final : public MessagePresenter {
public:
    RecordingPresenter() : previous_(setMessagePresenter(this)) {}
    ~RecordingPresenter() override { setMessagePresenter(previous_); }
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;
    int present(const QString& text, int style, const QString& caption) override {
        shown.append({text, caption});
        EXPECT_EQ(style, MsgOk);
        return MsgResultOk;
    }
    QList<std::pair<QString, QString>> shown;

private:
    MessagePresenter* previous_;
};

TEST_F(RegStoreTest, TextsAreStoredAsCp932WithOneNul) {
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyCreate(kKey, 1, h), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("EMPTY"), QString()), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("NUL"), QStringLiteral("ab") + QChar(0) + "cd"),
              0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("JA"), QStringLiteral("電話帳～①")), 0);

    RegType type{};
    QByteArray raw;
    ASSERT_EQ(store.RegValueGetRaw(h, QStringLiteral("EMPTY"), type, raw), 0);
    EXPECT_EQ(type, RegType::Text);
    EXPECT_EQ(raw, QByteArray(1, '\0'));
    ASSERT_EQ(store.RegValueGetRaw(h, QStringLiteral("NUL"), type, raw), 0);
    EXPECT_EQ(raw, QByteArray("ab\0cd\0", 6));
    ASSERT_EQ(store.RegValueGetRaw(h, QStringLiteral("JA"), type, raw), 0);
    EXPECT_EQ(raw, toCp932(QStringLiteral("電話帳～①")) + QByteArray(1, '\0'));
    EXPECT_EQ(raw.size(), 11);

    QString text = QStringLiteral("old");
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("EMPTY"), text), 0);
    EXPECT_EQ(text, QString());
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("NUL"), text), 0);
    EXPECT_EQ(text, QStringLiteral("abcd"));
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("ja"), text), 0);
    EXPECT_EQ(text, QStringLiteral("電話帳～①"));
    text = QStringLiteral("kept");
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("MISSING"), text), 1);
    EXPECT_EQ(text, QStringLiteral("kept"));
}

TEST_F(RegStoreTest, OnlyPlainTextsReadAsText) {
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyCreate(kKey, 1, h), 0);
    const QByteArray one("\x01\x00\x00\x00", 4);
    ASSERT_EQ(store.RegValueSetRaw(h, QStringLiteral("EnableLUA"), RegType::Dword, one), 0);
    ASSERT_EQ(store.RegValueSetRaw(h, QStringLiteral("EXP"), RegType::ExpandText, "%HOME%\0"), 0);
    ASSERT_EQ(store.RegValueSetRaw(h, QStringLiteral("BIN"), RegType::Binary, "\xff"), 0);
    EXPECT_EQ(store.RegValueSetRaw(h, QStringLiteral("BAD"), RegType::Dword, "\x01"), 1);

    QString text = QStringLiteral("kept");
    for (const char* name : {"EnableLUA", "EXP", "BIN"}) {
        EXPECT_EQ(store.RegValueGet(h, QString::fromLatin1(name), text), 2) << name;
        EXPECT_EQ(text, QStringLiteral("kept"));
    }
    RegType type{};
    QByteArray raw;
    ASSERT_EQ(store.RegValueGetRaw(h, QStringLiteral("enablelua"), type, raw), 0);
    EXPECT_EQ(type, RegType::Dword);
    EXPECT_EQ(raw, one);
    EXPECT_EQ(store.RegValueGetRaw(h, QStringLiteral("BAD"), type, raw), 1);
}

TEST_F(RegStoreTest, CharactersWithoutCp932FormSurviveWithWindowsSizes) {
    const QString path = QStringLiteral("/home/jürgen/😀/電話帳.txt");
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyCreate(kKey, 1, h), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("OUTFILE"), path), 0);
    RegType type{};
    QByteArray raw;
    ASSERT_EQ(store.RegValueGetRaw(h, QStringLiteral("OUTFILE"), type, raw), 0);
    EXPECT_EQ(raw, QByteArray("/home/j?rgen/?/") + toCp932(QStringLiteral("電話帳.txt")) +
                       QByteArray(1, '\0'));
    QString text;
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("OUTFILE"), text), 0);
    EXPECT_EQ(text, path);
    store.RegKeyClose(h);
    RegValueListData list;
    ASSERT_EQ(store.RegValueList(1, kKey, list), 1);
    EXPECT_EQ(list.at(0).text, path);
}

TEST_F(RegStoreTest, NamesIgnoreAsciiCaseAndKeepTheirFirstSpelling) {
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyCreate(QStringLiteral("Software\\Zakuro\\Abc"), 1, h), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("StartUpPosition_X"), QStringLiteral("1")), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("STARTUPPOSITION_X"), QStringLiteral("2")), 0);
    ASSERT_EQ(store.RegKeyClose(h), 0);

    ASSERT_EQ(store.RegKeyOpen(QStringLiteral("SOFTWARE\\zakuro\\ABC\\"), 1, h), 0);
    QString text;
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("startuppositioN_x"), text), 0);
    EXPECT_EQ(text, QStringLiteral("2"));
    EXPECT_EQ(store.RegValueNames(h), QStringList{QStringLiteral("StartUpPosition_X")});
    store.RegKeyClose(h);
    ASSERT_EQ(store.RegKeyOpen(QStringLiteral("SOFTWARE"), 1, h), 0);
    EXPECT_EQ(store.RegSubKeys(h), QStringList{QStringLiteral("Zakuro")});
    // Full-width letters are other names, as they are not ASCII.
    EXPECT_EQ(store.RegKeyOpen(QStringLiteral("ＳＯＦＴＷＡＲＥ"), 1, h), 1);
}

TEST_F(RegStoreTest, EnumerationKeepsCreationOrderAcrossRewrites) {
    putValues({{"A", "1"}, {"B", "2"}, {"C", "3"}});
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyOpen(kKey, 1, h), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("a"), QStringLiteral("rewritten")), 0);
    ASSERT_EQ(store.RegValueDelete(h, QStringLiteral("B")), 0);
    EXPECT_EQ(store.RegValueDelete(h, QStringLiteral("B")), 1);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("B"), QStringLiteral("again")), 0);
    ASSERT_EQ(store.RegKeyClose(h), 0);
    RegValueListData list;
    ASSERT_EQ(store.RegValueList(1, kKey, list), 3);
    EXPECT_EQ(list, (RegValueListData{{"A", "rewritten"}, {"C", "3"}, {"B", "again"}}));
}

TEST_F(RegStoreTest, ListStopsAtTheFirstValueThatDoesNotFitItsBuffers) {
    const QString name255(255, u'N');
    putValues({{"FIRST", "x"},
               {"BIG", QString(299, u'x')}, // 300 bytes with its NUL
               {"AFTER", "y"}});
    putValues({{"LONGEST", QString(255, u'z')}, {name255, "ok"}, {name255 + "N", "stops"}},
              QStringLiteral("Limits"));
    SettingsStore store(paths());
    RegValueListData list{{"stale", "entry"}};
    EXPECT_EQ(store.RegValueList(1, kKey, list), 1);
    EXPECT_EQ(list, (RegValueListData{{"FIRST", "x"}}));
    ASSERT_EQ(store.RegValueList(1, QStringLiteral("Limits"), list), 2);
    EXPECT_EQ(list.at(0).text.size(), 255);
    EXPECT_EQ(list.at(1).name, name255);
    // A Japanese name counts its cp932 bytes: 128 characters are 256 bytes, one too many.
    putValues({{QString(127, u'名'), "fits"}, {QString(128, u'名'), "stops"}},
              QStringLiteral("JaNames"));
    EXPECT_EQ(store.RegValueList(1, QStringLiteral("JaNames"), list), 1);
}

TEST_F(RegStoreTest, ListGivesExactlyTheStoredTextWhateverCameBefore) {
    putValues({{"LONG", QString(200, u'a')}, {"JA", QStringLiteral("ぴこぴこ電")}, {"EMPTY", ""}});
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyOpen(kKey, 1, h), 0);
    ASSERT_EQ(
        store.RegValueSetRaw(h, QStringLiteral("NUM"), RegType::Dword, QByteArray("\x07\0\0\0", 4)),
        0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("NUL"), QStringLiteral("a") + QChar(0) + "b"), 0);
    store.RegKeyClose(h);
    RegValueListData list;
    ASSERT_EQ(store.RegValueList(1, kKey, list), 5);
    EXPECT_EQ(list.at(1).text, QStringLiteral("ぴこぴこ電"));
    EXPECT_EQ(list.at(2).text, QString());
    EXPECT_EQ(list.at(3), (RegValuePair{"NUM", ""}));
    EXPECT_EQ(list.at(4).text, QStringLiteral("a") + QChar(0) + "b");
}

TEST_F(RegStoreTest, IndustryListKeepsOnlyOriginalIndustryValues) {
    putValues({{"gyoshunmラーメン", "1"},
               {"GYOSHUGYOSHU(1)", "history"},
               {"GYOSHUTARGET1", "a"},
               {"GyoshuNoTarget1", "b"},
               {"GYOSHUSYBAN1", "c"},
               {"GYOSHUGYOSHU", "d"},
               {"GYOSHUGYOSHU(2)", "history"},
               {"104KAISHA(1)", "x"}},
              kMruKey);
    SettingsStore store(paths());
    RegValueListData list;
    ASSERT_EQ(store.RegGyoshuValueList(1, kMruKey, list), 5);
    QStringList names;
    for (const RegValuePair& pair : list)
        names.append(pair.name);
    EXPECT_EQ(names, (QStringList{"gyoshunmラーメン", "GYOSHUTARGET1", "GyoshuNoTarget1",
                                  "GYOSHUSYBAN1", "GYOSHUGYOSHU"}));
}

TEST_F(RegStoreTest, ListPutCreatesTheKeyWithItsParentsAndCommits) {
    {
        SettingsStore store(paths());
        RegValueListData unchanged{{"x", "y"}};
        EXPECT_EQ(store.RegValueList(1, kAteKey, unchanged), 0);
        EXPECT_EQ(unchanged.size(), 1);
        ASSERT_TRUE(store.RegValueListPut(kAteKey, {{"ATEMEISAI(0)", "電話番号"}}));
    }
    SettingsStore other(paths());
    RegValueListData list;
    ASSERT_EQ(other.RegValueList(1, kAteKey, list), 1);
    EXPECT_EQ(list.at(0).text, QStringLiteral("電話番号"));
    RegHandle h;
    EXPECT_EQ(other.RegKeyOpen(kVersionKey, 1, h), 0);
    EXPECT_EQ(AteKeyCreate(other, h), 0);
    EXPECT_EQ(MruKeyCreate(other, h), 0);
    EXPECT_EQ(other.RegKeyOpen(kMruKey, 1, h), 0);
}

TEST_F(RegStoreTest, ListPutThatCannotWriteSaysSo) {
    writeFile(dir.file(QStringLiteral("blocker")), "a file where a folder should be");
    SettingsStore store({QString(), dir.file(QStringLiteral("blocker/HKCU.db")), QString()});
    RecordingPresenter messages;
    EXPECT_FALSE(store.RegValueListPut(kMruKey, {{"A", "1"}}));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.at(0).first.startsWith(QStringLiteral("エラー番号： ")));
    EXPECT_TRUE(messages.shown.at(0).first.contains(u'\r'));
    EXPECT_EQ(messages.shown.at(0).second, kAppTitle);
}

TEST_F(RegStoreTest, PutIsPendingUntilCloseAndSetIsFlushedAtOnce) {
    SettingsStore writer(paths());
    SettingsStore reader(paths());
    RegHandle w;
    ASSERT_EQ(writer.RegKeyCreate(kKey, 1, w), 0);
    ASSERT_EQ(writer.RegKeyFlushClose(w), 0);
    ASSERT_EQ(writer.RegKeyOpen(kKey, 1, w), 0);
    ASSERT_EQ(writer.RegValuePut(w, QStringLiteral("PUT"), QStringLiteral("1")), 0);
    RegHandle r;
    ASSERT_EQ(reader.RegKeyOpen(kKey, 1, r), 0);
    QString text;
    EXPECT_EQ(reader.RegValueGet(r, QStringLiteral("PUT"), text), 1);
    ASSERT_EQ(writer.RegKeyClose(w), 0);
    EXPECT_EQ(reader.RegValueGet(r, QStringLiteral("PUT"), text), 0);

    ASSERT_EQ(writer.RegKeyOpen(kKey, 1, w), 0);
    ASSERT_EQ(writer.RegValueSet(w, QStringLiteral("SET"), QStringLiteral("2")), 0);
    EXPECT_EQ(reader.RegValueGet(r, QStringLiteral("SET"), text), 0);
    // A handle that goes out of scope still keeps what was put through it.
    {
        RegHandle scoped;
        ASSERT_EQ(writer.RegKeyOpen(kKey, 1, scoped), 0);
        ASSERT_EQ(writer.RegValuePut(scoped, QStringLiteral("SCOPED"), QStringLiteral("3")), 0);
    }
    EXPECT_EQ(reader.RegValueGet(r, QStringLiteral("SCOPED"), text), 0);
    EXPECT_EQ(text, QStringLiteral("3"));
}

TEST_F(RegStoreTest, DamagedUserStoreIsMovedAsideAndAFreshOneBegins) {
    const QString user = paths().user;
    const QByteArray garbage = "this is no database, just text that was left here\n";
    writeFile(user, garbage);
    SettingsStore store(paths());
    RegHandle h;
    EXPECT_EQ(store.RegKeyOpen(kKey, 1, h), 1);
    const QList<StoreProblem> damaged = store.takeProblems();
    ASSERT_EQ(damaged.size(), 1);
    EXPECT_EQ(damaged.at(0).kind, StoreProblem::Kind::Damaged);
    EXPECT_EQ(damaged.at(0).path, user);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("HKCU\\.db\\.damaged-\\d{8}-\\d{6}$"))
                    .match(damaged.at(0).movedTo)
                    .hasMatch())
        << qPrintable(damaged.at(0).movedTo);
    EXPECT_EQ(readFile(damaged.at(0).movedTo), garbage);
    EXPECT_TRUE(store.takeProblems().isEmpty());
    ASSERT_EQ(store.RegKeyCreate(kKey, 1, h), 0);
    EXPECT_EQ(store.RegValueSet(h, QStringLiteral("A"), QStringLiteral("1")), 0);
}

TEST_F(RegStoreTest, StoresThatAreNotOursOrBrokenCountAsDamaged) {
    const QString user = paths().user;
    QDir().mkpath(QFileInfo(user).absolutePath());
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(user).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE other(x)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    {
        SettingsStore store(paths());
        RegHandle h;
        EXPECT_EQ(store.RegKeyOpen(kKey, 1, h), 1);
        EXPECT_EQ(store.takeProblems().size(), 1);
    }
    // A store cut short, as a full disk or a bad copy leaves it.
    RegValueListData many;
    for (int i = 0; i < 400; ++i)
        many.append({QStringLiteral("V%1").arg(i), QString(100, u'電')});
    putValues(many);
    const QByteArray whole = readFile(user);
    writeFile(user, whole.left(whole.size() / 2));
    SettingsStore store(paths());
    RegValueListData list;
    EXPECT_EQ(store.RegValueList(1, kKey, list), 0);
    EXPECT_EQ(store.takeProblems().size(), 1);
}

TEST_F(RegStoreTest, EmptyFileIsAFirstRunNotDamage) {
    writeFile(paths().user, QByteArray());
    SettingsStore store(paths());
    RegHandle h;
    EXPECT_EQ(store.RegKeyOpen(kKey, 1, h), 1);
    EXPECT_EQ(store.RegKeyCreate(kKey, 1, h), 0);
    EXPECT_TRUE(store.takeProblems().isEmpty());
}

TEST_F(RegStoreTest, MachineRootIsReadOnlyToTheProgram) {
    {
        SettingsStore installer(paths());
        installer.setMachineWritable(true);
        RegHandle h;
        ASSERT_EQ(installer.RegKeyCreate(kVersionKey, 0, h), 0);
        ASSERT_EQ(installer.RegValueSet(h, QStringLiteral("DICDRIVE"), QStringLiteral("0")), 0);
    }
    SettingsStore store(paths());
    RegHandle h;
    ASSERT_EQ(store.RegKeyOpen(kVersionKey, 0, h), 0);
    QString text;
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("DICDRIVE"), text), 0);
    EXPECT_EQ(text, QStringLiteral("0"));
    EXPECT_EQ(store.RegValueSet(h, QStringLiteral("DICDRIVE"), QStringLiteral("1")), 1);
    EXPECT_EQ(store.RegValuePut(h, QStringLiteral("DICDRIVE"), QStringLiteral("1")), 5);
    EXPECT_EQ(store.RegValueDelete(h, QStringLiteral("DICDRIVE")), 1);
    EXPECT_EQ(store.RegKeyCreate(kMruKey, 0, h), 1);
    EXPECT_EQ(store.RegKeyDelete(0, kVersionKey), 1);
    EXPECT_FALSE(QFileInfo::exists(paths().user));

    // A damaged machine-wide file stays where it is; opens just fail.
    const QByteArray garbage(4096, 'x');
    writeFile(paths().machine, garbage);
    SettingsStore later(paths());
    EXPECT_EQ(later.RegKeyOpen(kVersionKey, 0, h), 1);
    EXPECT_TRUE(later.takeProblems().isEmpty());
    EXPECT_EQ(readFile(paths().machine), garbage);
}

TEST_F(RegStoreTest, AbsentClassRootFailsEveryOpen) {
    SettingsStore store(paths());
    RegHandle h;
    EXPECT_EQ(store.RegKeyOpen(QString(), 2, h), 1);
    EXPECT_EQ(store.RegKeyOpen(QStringLiteral("rtffile\\CLSID"), 2, h), 1);
    EXPECT_EQ(store.RegKeyCreate(QStringLiteral("rtffile"), 2, h), 1);
    RegValueListData list;
    EXPECT_EQ(store.RegValueList(2, QStringLiteral("rtffile"), list), 0);
    EXPECT_EQ(store.RegKeyOpen(kKey, 3, h), 1);
}

TEST_F(RegStoreTest, ClosedHandlesDeletedKeysAndBadPathsFailQuietly) {
    SettingsStore store(paths());
    RegHandle h;
    QString text;
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("A"), text), 1);
    EXPECT_EQ(store.RegValuePut(h, QStringLiteral("A"), text), 6);
    EXPECT_EQ(store.RegValueSet(h, QStringLiteral("A"), text), 1);
    EXPECT_EQ(store.RegKeyClose(h), 1);
    EXPECT_TRUE(store.RegSubKeys(h).isEmpty());

    for (const QString& bad :
         {QStringLiteral("\\SOFTWARE"), QStringLiteral("A\\\\B"), QString(256, u'k')})
        EXPECT_EQ(store.RegKeyCreate(bad, 1, h), 1) << qPrintable(bad);
    EXPECT_EQ(store.RegKeyCreate(QString(255, u'k'), 1, h), 0);

    ASSERT_EQ(store.RegKeyCreate(kMruKey, 1, h), 0);
    ASSERT_EQ(store.RegValueSet(h, QStringLiteral("A"), QStringLiteral("1")), 0);
    ASSERT_EQ(store.RegKeyDelete(1, kVersionKey), 0);
    EXPECT_EQ(store.RegValueGet(h, QStringLiteral("A"), text), 1);
    EXPECT_EQ(store.RegValuePut(h, QStringLiteral("A"), text), 1018);
    RegHandle probe;
    EXPECT_EQ(store.RegKeyOpen(kMruKey, 1, probe), 1);
    EXPECT_EQ(store.RegKeyOpen(kProductKey, 1, probe), 0);
    EXPECT_EQ(store.RegKeyDelete(1, QString()), 1);
}

} // namespace
