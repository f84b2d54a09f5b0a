// The dictionary open sequences with temporary folders standing for the hard disk and the
// CD-ROM (a mount table written by the test says which is which), the area list, and the
// number search through both engines with the correction table applied.

#include "directory/directory.h"
#include "directory/resultoverride.h"

#include "app/scriptedmessages.h"
#include "builder.h"
#include "dict/dicttest.h"
#include "platform/drives.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "settings/environment.h"
#include "support/testdirs.h"
#include "xchdb_testhooks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace pikotel {
namespace {

using test::ScratchDir;
using test::ScriptedMessagePresenter;

const QString kNoDictionary = kAppTitle + QStringLiteral(" 電話帳辞書をセットしてください。");
const QString kNoCd = kAppTitle + QStringLiteral(" 電話帳辞書ＣＤ－ＲＯＭをセットしてください。");
const QString kXchCdFailure =
    QStringLiteral("ＣＤ－ＲＯＭがセットされていないか、\r\n電話帳辞書の指定に誤りがあります。");

const char kListings[] =
    "number,name,reading,kind,zip,pref,city,city_code,town,block\n"
    "03-3456-7890,山田　太郎,ヤマダ　タロウ,1,160-0022,東京都,新宿区,13104,新宿,３丁目１２－５\n"
    "03-3456-7891,新宿商店,シンジュクショウテン,2,160-0022,東京都,新宿区,13104,新宿,２－５－１０\n"
    "03-3456-7892,佐藤　花子,サトウ　ハナコ,1,160-0023,東京都,新宿区,13104,西新宿,１－１\n"
    "03-3456-7892,佐藤　一郎,サトウ　イチロウ,1,160-0023,東京都,新宿区,13104,西新宿,１－１\n"
    "042-621-4763,山部建設株式会社,ヤマベケンセツ,2,188-0013,東京都,西東京市,13229,新町,１－６－"
    "１\n"
    "0948-84-5305,株式会社打木工務店,カブシキガイシャウチキコウムテン,2,820-0334,福岡県,嘉麻市,"
    "40227,泉河内,１１５番地\n"
    "0826-78-6320,スナック天王寺,スナックテンノウジ,2,731-3845,広島県,山県郡安芸太田町,34368,那須,"
    "３１２\n"
    "078-875-6396,カレーハウス若葉,カレーハウスワカバ,2,651-1623,兵庫県,神戸市北区,28109,"
    "淡河町野瀬,１９１\n";

const char kDelta[] =
    "op,number,name,reading,kind,zip,pref,city,city_code,town,block\n"
    "add,03-3456-7899,新宿　次郎,シンジュク　ジロウ,1,160-0022,東京都,新宿区,13104,新宿,３丁目１\n"
    "replace,03-3456-7891,新宿商会,シンジュクショウカイ,2,160-0022,東京都,新宿区,13104,新宿,２－５"
    "－１０\n"
    "remove,03-3456-7890,,,,,,,,,\n";

// Time passes only when the code under test waits.
class FakeClock final : public Clock {
public:
    qint64 monotonicMs() const override { return ms; }
    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC); }
    void processEvents() override { ++events; }
    void waitProcessingEvents(int wait) override {
        waits.append(wait);
        ms += wait;
    }
    qint64 ms = 0;
    int events = 0;
    QList<int> waits;
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
    f.write(bytes);
}

class DirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = scratch.path();
        prog = root + QStringLiteral("/prog");
        cd = root + QStringLiteral("/cd/");
        for (const QString& d : {prog + QStringLiteral("/DIC"), cd, root + QStringLiteral("/usb"),
                                 root + QStringLiteral("/sys/block/sdb"),
                                 root + QStringLiteral("/src"), root + QStringLiteral("/delta")})
            ASSERT_TRUE(QDir().mkpath(d));
        writeFile(root + QStringLiteral("/sys/block/sdb/removable"), "1\n");
        writeFile(root + QStringLiteral("/mounts"),
                  QStringLiteral("/dev/sda1 %1 ext4 rw 0 0\n/dev/sr0 %2 iso9660 ro 0 0\n"
                                 "/dev/sdb1 %3/usb vfat rw 0 0\n")
                      .arg(prog, cd, root)
                      .toUtf8());
        writeFile(listingsCsv(), kListings);
        drives = std::make_unique<DriveTable>(root + QStringLiteral("/mounts"),
                                              root + QStringLiteral("/sys"));
        env.setText(EnvKey::DicDrive, QStringLiteral("0"));
        env.setText(EnvKey::CdDrive, cd);
    }
    void TearDown() override {
        xchdb_test_fail_next_opens(0);
        xchdb_test_fail_next_area_fetches(0);
    }

    QString listingsCsv() const { return root + QStringLiteral("/src/listings.csv"); }

    void build(dict::Engine engine, const QString& output, const QString& deltaCsv = {}) {
        dict::BuildOptions options;
        options.listingsCsv = listingsCsv();
        options.deltaCsv = deltaCsv;
        options.output = output;
        options.engine = engine;
        options.buildTime = 1700000000;
        QString error;
        ASSERT_TRUE(dict::buildDictionary(options, nullptr, &error)) << qPrintable(error);
    }
    void useCd() { env.setText(EnvKey::DicDrive, QStringLiteral("1")); }

    Directory& directory() {
        if (!dir)
            dir = std::make_unique<Directory>(env, *drives, clock, prog);
        return *dir;
    }

    ScratchDir scratch;
    QString root, prog, cd;
    Environment env;
    FakeClock clock;
    std::unique_ptr<DriveTable> drives;
    ScriptedMessagePresenter messages;
    std::unique_ptr<Directory> dir;
};

// -1 once the first engine's search handle is gone.
int firstEngineCityResult(Directory& d) {
    return d.searchCity({.cityCode = 13104}, [](const DirRecord&) { return true; });
}

DirRecord record(const char* telNo, const char* name, const char* zip, const char* pref,
                 const char* city, const char* town, const char* block) {
    return DirRecord{QString::fromUtf8(telNo), QString::fromUtf8(name), QString::fromUtf8(zip),
                     QString::fromUtf8(pref),  QString::fromUtf8(city), QString::fromUtf8(town),
                     QString::fromUtf8(block)};
}

TEST_F(DirectoryTest, HardDiskOpensFirstEngineWithAreaList) {
    build(dict::Engine::Dxs, prog + QStringLiteral("/DIC/dxs9999.dct"));
    Directory& d = directory();
    d.DicOpen(true);
    EXPECT_EQ(d.dicKind(), 0);
    EXPECT_TRUE(d.isOpened());
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(d.dxsBuildDate(), QStringLiteral("2023/11/14 22:13:20"));
    EXPECT_FALSE(d.DicExistChk());

    EXPECT_EQ(d.areaCount(), 5);
    EXPECT_EQ(d.GetTodoufukenName(40227), QStringLiteral("福岡県"));
    EXPECT_EQ(d.GetSikuchousonName(28109), QStringLiteral("神戸市北区"));
    EXPECT_EQ(d.GetTodoufukenName(99999), QString());
    EXPECT_EQ(d.GetSikuchousonName(0), QString());
    const QList<PrefectureItem> prefs = d.prefectures();
    ASSERT_EQ(prefs.size(), 4);
    EXPECT_EQ(prefs.first(), (PrefectureItem{13, QStringLiteral("東京都")}));
    EXPECT_EQ(prefs.last(), (PrefectureItem{40, QStringLiteral("福岡県")}));
    const AreaList tokyo = d.citiesOfPrefecture(13);
    ASSERT_EQ(tokyo.size(), 2);
    EXPECT_EQ(tokyo[1], (AreaEntry{13229, QStringLiteral("東京都"), QStringLiteral("西東京市")}));
    EXPECT_TRUE(d.citiesOfPrefecture(1).isEmpty());
}

TEST_F(DirectoryTest, CdHoldingOnlyXchdbOpensAlternateEngine) {
    useCd();
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    Directory& d = directory();
    d.DicOpen(true);
    EXPECT_EQ(d.dicKind(), 1);
    EXPECT_TRUE(d.isOpened());
    EXPECT_EQ(d.XchTelSearch(QStringLiteral("0334567890")), 0);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(clock.waits.isEmpty());
    EXPECT_EQ(d.areaCount(), 5);
    EXPECT_EQ(d.GetSikuchousonName(34368), QStringLiteral("山県郡安芸太田町"));
}

TEST_F(DirectoryTest, DamagedFirstDictionaryOnCdFallsBackToAlternate) {
    useCd();
    writeFile(cd + QStringLiteral("dxs9999.dct"), QByteArray(4096, 'x'));
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    directory().DicOpen(true);
    EXPECT_EQ(directory().dicKind(), 1);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(DirectoryTest, HardDiskFailureNeverTriesAlternateEngine) {
    build(dict::Engine::Xch, prog + QStringLiteral("/DIC/XCHDB.DIC"));
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    Directory& d = directory();
    d.DicOpen(false);
    EXPECT_EQ(d.dicKind(), -1);
    EXPECT_FALSE(d.isOpened());
    EXPECT_TRUE(messages.shown().isEmpty());

    d.DicOpen(true);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, kNoDictionary);
    EXPECT_EQ(messages.shown()[0].caption, kAppTitle);
    EXPECT_EQ(messages.shown()[0].style, MsgOk);
    EXPECT_EQ(d.XchTelSearch(QStringLiteral("0334567890")), 1);
}

TEST_F(DirectoryTest, CdRemovedBetweenSearchesReopensWhenBack) {
    useCd();
    build(dict::Engine::Dxs, cd + QStringLiteral("dxs9999.dct"));
    Directory& d = directory();
    d.DicOpen(true);
    ASSERT_EQ(d.dicKind(), 0);
    EXPECT_EQ(d.DxsTelSearch(QStringLiteral("03-3456-7890")), 0);

    ASSERT_TRUE(QFile::rename(cd + QStringLiteral("dxs9999.dct"), root + QStringLiteral("/away")));
    EXPECT_TRUE(d.DicExistChk());
    EXPECT_EQ(messages.texts(), QStringList{kNoCd});
    EXPECT_EQ(d.dicKind(), -1);
    EXPECT_FALSE(d.isOpened());
    EXPECT_EQ(firstEngineCityResult(d), -1);
    // Still gone: the check keeps failing.
    EXPECT_TRUE(d.DicExistChk());

    ASSERT_TRUE(QFile::rename(root + QStringLiteral("/away"), cd + QStringLiteral("dxs9999.dct")));
    messages.clear();
    EXPECT_FALSE(d.DicExistChk());
    d.DicOpen(true);
    EXPECT_EQ(d.dicKind(), 0);
    EXPECT_TRUE(d.isOpened());
    EXPECT_EQ(d.DxsTelSearch(QStringLiteral("03-3456-7890")), 0);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(DirectoryTest, NoEngineOpenPassesCheckWithEitherDictionaryOnCd) {
    useCd();
    Directory& d = directory();
    EXPECT_TRUE(d.DicExistChk());
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    EXPECT_FALSE(d.DicExistChk());
    d.DicOpen(true);
    EXPECT_EQ(d.dicKind(), 1);
    // The alternate engine open, a CD that now holds only the first engine's file fails.
    ASSERT_TRUE(
        QFile::rename(cd + QStringLiteral("XCHDB.DIC"), cd + QStringLiteral("dxs9999.dct")));
    EXPECT_TRUE(d.DicExistChk());
    EXPECT_EQ(d.XchTelSearch(QStringLiteral("0334567890")), 1);
}

TEST_F(DirectoryTest, HardDiskFileNamedInOtherCaseIsMissing) {
    build(dict::Engine::Dxs, prog + QStringLiteral("/DIC/dxs9999.dct"));
    Directory& d = directory();
    d.DicOpen(true);
    ASSERT_EQ(d.dicKind(), 0);
    ASSERT_TRUE(QFile::rename(prog + QStringLiteral("/DIC/dxs9999.dct"),
                              prog + QStringLiteral("/DIC/DXS9999.DCT")));
    EXPECT_FALSE(Directory::ExactFileExists(d.dicFolder(), kDxsDicFile));
    EXPECT_TRUE(d.DicExistChk());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ハードディスクドライブに電話帳辞書がありません。\r\n"
                                         "環境設定を確認してください。")});
    // On the hard disk the state is left alone: the settings screen is where to go.
    EXPECT_EQ(d.dicKind(), 0);
    EXPECT_TRUE(d.isOpened());
}

TEST_F(DirectoryTest, DeltaFolderComesFromXchdbadd) {
    Directory& d = directory();
    EXPECT_EQ(d.deltaFolder(), QString());
    env.setText(EnvKey::XchdbAdd, QStringLiteral("xchdbad.dic"));
    EXPECT_EQ(d.deltaFolder(), QStringLiteral("/"));
    env.setText(EnvKey::XchdbAdd, root + QStringLiteral("/delta/DXS5001.dct"));
    EXPECT_EQ(d.deltaFolder(), root + QStringLiteral("/delta"));
}

TEST_F(DirectoryTest, DeltaAppliesThroughBothEngines) {
    const QString deltaCsv = root + QStringLiteral("/src/delta.csv");
    writeFile(deltaCsv, kDelta);
    useCd();
    build(dict::Engine::Dxs, cd + QStringLiteral("dxs9999.dct"));
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    build(dict::Engine::Dxs, root + QStringLiteral("/delta/DXS5001.dct"), deltaCsv);
    build(dict::Engine::Xch, root + QStringLiteral("/delta/xchdbad.dic"), deltaCsv);

    for (const bool withDelta : {false, true}) {
        env.setText(EnvKey::XchdbAdd,
                    withDelta ? root + QStringLiteral("/delta/xchdbad.dic") : QString());
        Directory& d = directory();
        ASSERT_EQ(d.DxsDicOpen(), 0);
        ASSERT_EQ(d.XchDicOpen(), 0);
        for (const bool alternate : {false, true}) {
            const auto search = [&](const char* number) {
                return alternate ? d.XchTelSearch(QString::fromUtf8(number))
                                 : d.DxsTelSearch(QString::fromUtf8(number));
            };
            EXPECT_EQ(search("03-3456-7890"), withDelta ? 1 : 0);
            EXPECT_EQ(search("03-3456-7899"), withDelta ? 0 : 1);
            ASSERT_EQ(search("03-3456-7891"), 0);
            EXPECT_EQ(d.telResult()[0].name,
                      withDelta ? QStringLiteral("新宿商会") : QStringLiteral("新宿商店"));
        }
        d.DicClose();
    }
}

// Folders reach the engines in the file system's encoding: a program folder, CD-ROM mount
// point and delta folder that cp932 cannot spell open and search like any other.
TEST_F(DirectoryTest, FoldersOutsideCp932Open) {
    const QString deltaCsv = root + QStringLiteral("/src/delta.csv");
    writeFile(deltaCsv, kDelta);
    const QString home = root + QStringLiteral("/home/jürgen/電話帳");
    prog = home + QStringLiteral("/prog");
    cd = root + QStringLiteral("/media/jürgen/CD ①/");
    const QString delta = home + QStringLiteral("/Δ");
    for (const QString& folder : {prog + QStringLiteral("/DIC"), cd, delta})
        ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& folder : {prog + QStringLiteral("/DIC/"), cd}) {
        build(dict::Engine::Dxs, folder + kDxsDicFile);
        build(dict::Engine::Xch, folder + kXchDicFile);
    }
    build(dict::Engine::Dxs, delta + QStringLiteral("/DXS5001.dct"), deltaCsv);
    build(dict::Engine::Xch, delta + QStringLiteral("/xchdbad.dic"), deltaCsv);
    env.setText(EnvKey::CdDrive, cd);
    env.setText(EnvKey::XchdbAdd, delta + QStringLiteral("/xchdbad.dic"));

    for (const char* drive : {"0", "1"}) {
        env.setText(EnvKey::DicDrive, QString::fromLatin1(drive));
        Directory& d = directory();
        EXPECT_FALSE(d.DicExistChk());
        d.DicOpen(true);
        ASSERT_EQ(d.dicKind(), 0) << drive;
        ASSERT_EQ(d.TelSearchWithOverride(QStringLiteral("03-3456-7891")), 0);
        EXPECT_EQ(d.telResult()[0].name, QStringLiteral("新宿商会"));
        ASSERT_EQ(d.XchDicOpen(), 0);
        EXPECT_EQ(d.XchTelSearch(QStringLiteral("03-3456-7890")), 1);
        ASSERT_EQ(d.XchTelSearch(QStringLiteral("03-3456-7899")), 0);
        EXPECT_EQ(d.telResult()[0].name, QStringLiteral("新宿　次郎"));
        dir.reset();
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(DirectoryTest, AlternateOpenRetriesWhileEventsRun) {
    useCd();
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    Directory& d = directory();
    xchdb_test_fail_next_opens(3);
    EXPECT_EQ(d.XchDicOpen(), 0);
    EXPECT_TRUE(d.isOpened());
    EXPECT_EQ(clock.waits, (QList<int>{1000, 1000, 1000}));
    EXPECT_TRUE(messages.shown().isEmpty());

    clock.waits.clear();
    xchdb_test_fail_next_opens(100);
    EXPECT_EQ(d.XchDicOpen(), 1);
    EXPECT_FALSE(d.isOpened());
    // Calls at 0, 1, 2 and 3 seconds after the first failure; past 3 seconds it gives up.
    EXPECT_EQ(clock.waits, (QList<int>{1000, 1000, 1000, 1000}));
    EXPECT_EQ(messages.texts(), QStringList{kXchCdFailure});

    messages.clear();
    env.setText(EnvKey::DicDrive, QStringLiteral("0"));
    EXPECT_EQ(d.XchDicOpen(), 1);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("ハードディスクドライブに電話帳辞書がありません。")});
}

TEST_F(DirectoryTest, AlternateAreaFetchRetriesThenGivesUp) {
    useCd();
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    Directory& d = directory();
    xchdb_test_fail_next_area_fetches(3);
    ASSERT_EQ(d.XchDicOpen(), 0);
    EXPECT_EQ(clock.waits.size(), 3);
    EXPECT_EQ(d.GetTodoufukenName(13104), QStringLiteral("東京都"));
    EXPECT_EQ(d.areaCount(), 5);

    const qint64 before = clock.ms;
    xchdb_test_fail_next_area_fetches(1000);
    EXPECT_EQ(d.XchDicOpen(), 1);
    // One city tried for 4 seconds, not 4 seconds for each of the five.
    EXPECT_EQ(clock.ms - before, 4100);
    EXPECT_EQ(d.XchTelSearch(QStringLiteral("0334567890")), 1);
    EXPECT_FALSE(d.isOpened());
    EXPECT_EQ(messages.texts(), QStringList{kXchCdFailure});
}

TEST_F(DirectoryTest, PathTooLongForAlternateRecordFailsAtOnce) {
    useCd();
    env.setText(EnvKey::CdDrive, QStringLiteral("/") + QString(130, u'x') + u'/');
    EXPECT_EQ(directory().XchDicOpen(), 1);
    EXPECT_TRUE(clock.waits.isEmpty());
    EXPECT_EQ(messages.texts(), QStringList{kXchCdFailure});
}

TEST_F(DirectoryTest, NumberSearchGivesTheSameHitsOnBothEngines) {
    useCd();
    build(dict::Engine::Dxs, cd + QStringLiteral("dxs9999.dct"));
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    Directory& d = directory();
    ASSERT_EQ(d.DxsDicOpen(), 0);
    ASSERT_EQ(d.XchDicOpen(), 0);

    ASSERT_EQ(d.DxsTelSearch(QStringLiteral("03-3456-7890|自宅")), 0);
    ASSERT_EQ(d.telCount(), 1);
    EXPECT_EQ(d.telResult()[0], record("03-3456-7890", "山田　太郎", "160-0022", "東京都", "新宿区",
                                       "新宿", "３丁目１２－５"));
    const QList<DirRecord> first = d.telResult();
    ASSERT_EQ(d.XchTelSearch(QStringLiteral("0334567890")), 0);
    EXPECT_EQ(d.telResult(), first);

    ASSERT_EQ(d.DxsTelSearch(QStringLiteral("0334567892")), 0);
    ASSERT_EQ(d.telCount(), 2);
    EXPECT_EQ(d.telResult()[0].name, QStringLiteral("佐藤　一郎"));
    const QList<DirRecord> shared = d.telResult();
    ASSERT_EQ(d.XchTelSearch(QStringLiteral("03-3456-7892")), 0);
    EXPECT_EQ(d.telResult(), shared);

    EXPECT_EQ(d.DxsTelSearch(QStringLiteral("0399999999")), 1);
    EXPECT_EQ(d.telCount(), 0);
    EXPECT_EQ(d.XchTelSearch(QStringLiteral("0399999999")), 1);
    EXPECT_EQ(d.XchTelSearch(QString(21, u'1')), 1);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(DirectoryTest, NumberSearchAppliesCorrectionTable) {
    useCd();
    build(dict::Engine::Dxs, cd + QStringLiteral("dxs9999.dct"));
    build(dict::Engine::Xch, cd + QStringLiteral("XCHDB.DIC"));
    Directory& d = directory();
    d.DicOpen(false);
    for (const qint16 kind : {qint16{0}, qint16{1}}) {
        if (kind == 1) {
            ASSERT_TRUE(QFile::remove(cd + QStringLiteral("dxs9999.dct")));
            d.DicReopen();
        }
        ASSERT_EQ(d.dicKind(), kind);
        const QString dropped = QStringLiteral("0826-78-6320");
        ASSERT_EQ(kind == 0 ? d.DxsTelSearch(dropped) : d.XchTelSearch(dropped), 0);
        EXPECT_EQ(d.TelSearchWithOverride(dropped), 1);
        EXPECT_EQ(d.telCount(), 0);

        ASSERT_EQ(d.TelSearchWithOverride(QStringLiteral("0948-84-5305")), 0);
        EXPECT_EQ(d.telResult()[0], record("0948-84-5305", "泉河内工務店", "820-0334", "福岡県",
                                           "嘉麻市", "泉河内", "１１５番地１"));
        ASSERT_EQ(d.TelSearchWithOverride(QStringLiteral("0788756396")), 0);
        EXPECT_EQ(d.telResult()[0].name, QStringLiteral("カレーハウス若葉北店"));
        EXPECT_EQ(d.telResult()[0].block, QStringLiteral("１９１"));

        ASSERT_EQ(d.TelSearchWithOverride(QStringLiteral("042-621-4763")), 0);
        EXPECT_EQ(d.telResult()[0].name, QStringLiteral("山部建設株式会社"));
    }
}

TEST_F(DirectoryTest, SearchWithoutOpenEngineReportsMissingHandle) {
    EXPECT_EQ(directory().DxsTelSearch(QStringLiteral("0334567890")), 1);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("検索ハンドルが割り当てられていません")});
    EXPECT_EQ(directory().XchTelSearch(QStringLiteral("0334567890")), 1);
    EXPECT_EQ(messages.shown().size(), 1);
}

TEST_F(DirectoryTest, ReopenAfterSaveFollowsTheDictionary) {
    build(dict::Engine::Dxs, prog + QStringLiteral("/DIC/dxs9999.dct"));
    Directory& d = directory();
    d.DicOpen(true);
    ASSERT_TRUE(d.isOpened());
    ASSERT_TRUE(
        QFile::rename(prog + QStringLiteral("/DIC/dxs9999.dct"), root + QStringLiteral("/away")));
    d.DicReopen();
    EXPECT_EQ(d.dicKind(), -1);
    EXPECT_FALSE(d.isOpened());
    ASSERT_TRUE(
        QFile::rename(root + QStringLiteral("/away"), prog + QStringLiteral("/DIC/dxs9999.dct")));
    d.DicReopen();
    EXPECT_EQ(d.dicKind(), 0);
    EXPECT_TRUE(d.isOpened());
    d.DicClose();
    EXPECT_EQ(d.dicKind(), -1);
    EXPECT_EQ(firstEngineCityResult(d), -1);
    EXPECT_TRUE(messages.shown().isEmpty());
}

// A dictionary copied over in place (cp, an install that keeps the inode) or truncated while
// the program runs: the next search opens the file as it is now, or says the dictionary is
// missing, and never reads the old mapping past the file's new end.
TEST_F(DirectoryTest, DictionaryChangedOnDiskBetweenSearchesIsReopened) {
    const QString small = root + QStringLiteral("/src/small");
    const QString large = root + QStringLiteral("/src/large");
    const QString largeCsv = root + QStringLiteral("/src/large.csv");
    ASSERT_TRUE(test::writeFile(largeCsv, test::listingCsv(test::sampleListings(2000, 5))));
    const auto overwrite = [](const QString& from, const QString& to) {
        QFile source(from);
        QFile target(to);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        ASSERT_TRUE(target.open(QIODevice::WriteOnly)); // truncates, keeps the inode
        ASSERT_EQ(target.write(source.readAll()), source.size());
    };
    const auto anyHit = [](Directory& d, qint32 city) {
        int hits = 0;
        const int result = d.searchCity({.cityCode = city}, [&hits](const DirRecord&) {
            ++hits;
            return true;
        });
        return result == 0 ? hits : result;
    };
    useCd();
    for (const dict::Engine engine : {dict::Engine::Dxs, dict::Engine::Xch}) {
        SCOPED_TRACE(engine == dict::Engine::Dxs ? "dxs4" : "xchdb");
        const QString file = cd + (engine == dict::Engine::Dxs ? kDxsDicFile : kXchDicFile);
        build(engine, small);
        dict::BuildOptions options;
        options.listingsCsv = largeCsv;
        options.output = large;
        options.engine = engine;
        QString error;
        ASSERT_TRUE(dict::buildDictionary(options, nullptr, &error)) << qPrintable(error);
        ASSERT_GT(QFileInfo(large).size(), 16 * 4096);
        ASSERT_TRUE(QFile::copy(large, file));

        Directory& d = directory();
        d.DicOpen(true);
        ASSERT_EQ(d.dicKind(), engine == dict::Engine::Dxs ? 0 : 1);
        EXPECT_EQ(d.TelSearchWithOverride(QStringLiteral("0334567890")), 1);

        overwrite(small, file);
        EXPECT_EQ(d.TelSearchWithOverride(QStringLiteral("0334567890")), 0);
        EXPECT_EQ(d.telResult()[0].name, QStringLiteral("山田　太郎"));
        EXPECT_EQ(anyHit(d, 13229), 1);
        EXPECT_TRUE(messages.shown().isEmpty());

        // Back to the large one, then cut short: what the engine mapped is gone.
        overwrite(large, file);
        EXPECT_EQ(d.TelSearchWithOverride(QStringLiteral("0334567890")), 1);
        ASSERT_TRUE(QFile::resize(file, 100));
        EXPECT_EQ(anyHit(d, 13229), kCitySearchDictionaryGone);
        EXPECT_EQ(d.dicKind(), -1);
        EXPECT_FALSE(d.isOpened());
        EXPECT_TRUE(messages.texts().endsWith(kNoDictionary));
        messages.clear();
        EXPECT_EQ(d.TelSearchWithOverride(QStringLiteral("0334567890")), 1);

        // The same seen by the check every search runs first.
        overwrite(small, file);
        messages.clear();
        EXPECT_FALSE(d.DicExistChk());
        d.DicOpen(true);
        EXPECT_EQ(d.TelSearchWithOverride(QStringLiteral("0334567890")), 0);
        ASSERT_TRUE(QFile::resize(file, 0));
        EXPECT_FALSE(d.DicExistChk());
        EXPECT_FALSE(d.isOpened());
        EXPECT_EQ(d.XchTelSearch(QStringLiteral("0334567890")), 1);
        EXPECT_EQ(d.DxsTelSearch(QStringLiteral("0334567890")), 1);

        dir.reset();
        messages.clear();
        ASSERT_TRUE(QFile::remove(file));
    }
}

TEST_F(DirectoryTest, DriveKindsFollowTheMountTable) {
    Directory& d = directory();
    EXPECT_EQ(d.GetCdromDrive(), cd);
    EXPECT_EQ(d.ChkCdromDrive(cd), 0);
    EXPECT_EQ(d.ChkCdromDrive(prog + u'/'), 1);
    EXPECT_EQ(d.ChkHddDrive(prog + u'/'), 0);
    EXPECT_EQ(d.ChkHddDrive(cd), 1);
    EXPECT_EQ(d.GetDriveKind(prog + u'/'), 3);
    EXPECT_EQ(d.GetDriveKind(root + QStringLiteral("/usb/")), 2);
    EXPECT_EQ(d.GetDriveKind(cd), 0);

    EXPECT_EQ(Directory::FileExistChk(root, QStringLiteral("usb")), 0);
    EXPECT_EQ(Directory::FileExistChk(root + u'/', QStringLiteral("none")), 1);
    EXPECT_EQ(Directory::FileExistChk(QString(), QStringLiteral("src")), 1);

    writeFile(root + QStringLiteral("/mounts"), "/dev/sda1 / ext4 rw 0 0\n");
    EXPECT_EQ(d.GetCdromDrive(), QStringLiteral("/media/cdrom/"));
}

TEST(DirRecordTest, EngineTextsDecodeFromCp932) {
    EXPECT_EQ(AnsiPtrToStr(nullptr, -1), QString());
    EXPECT_EQ(AnsiPtrToStr("\x83\x5c\x83\x7b", -1), QStringLiteral("ソボ"));
    EXPECT_EQ(AnsiPtrToStr("\x83\x5c\x83\x7b", 2), QStringLiteral("ソ"));

    DxsResultRec hit{};
    hit.name = "\x8e\x52\x93\x63";
    RepeatedText pref;
    RepeatedText city;
    EXPECT_EQ(DirRecordFromDxs(hit, pref, city),
              (DirRecord{{}, QStringLiteral("山田"), {}, {}, {}, {}, {}}));

    const char field[12] = {' ', '1', '6', '0', '-', '0', '0', '2', '2', ' ', ' ', ' '};
    EXPECT_EQ(FixedFieldTrimmed(field, sizeof field), QStringLiteral("160-0022"));
    EXPECT_EQ(FixedFieldText(field, sizeof field, 99).size(), 12);
    EXPECT_EQ(FixedFieldText(field, sizeof field, -3), QString());
    const char zeros[12] = {};
    EXPECT_EQ(FixedFieldTrimmed(zeros, sizeof zeros), QString());
}

TEST(ResultOverrideTest, RowsAreFiveDropsAndThreeReplacements) {
    int drops = 0;
    int blocks = 0;
    for (const OverrideRow& row : ResultOverride::rows()) {
        drops += row.drop ? 1 : 0;
        blocks += row.block.isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(drops, 5);
    EXPECT_EQ(ResultOverride::rows().size(), 8);
    EXPECT_EQ(blocks, 2);
    EXPECT_TRUE(ResultOverride::drops(QStringLiteral("0956-89-7808|閉店")));
    EXPECT_FALSE(ResultOverride::drops(QStringLiteral("0948-84-5305")));
    // The whole number, hyphens anywhere, up to a "|": never a part of it or more.
    EXPECT_NE(ResultOverride::find(QStringLiteral("0-9-5-6897808")), nullptr);
    EXPECT_NE(ResultOverride::find(QStringLiteral("0956897808|")), nullptr);
    EXPECT_EQ(ResultOverride::find(QStringLiteral("095689780")), nullptr);
    EXPECT_EQ(ResultOverride::find(QStringLiteral("09568978080")), nullptr);
    EXPECT_EQ(ResultOverride::find(QStringLiteral("0956897808 ")), nullptr);
    EXPECT_EQ(ResultOverride::find(QString()), nullptr);
}

} // namespace
} // namespace pikotel
