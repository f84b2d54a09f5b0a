// Both engines against the reference filter, against each other, and at their boundary:
// conditions they refuse, handles, file placement, fixed-width records, injected failures.

#include "builder.h"
#include "enginetest.h"
#include "support/testdirs.h"
#include "xchdb_testhooks.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

using namespace pikotel::test;

namespace {

bool build(const QString& csv, const QString& out, pikotel::dict::Engine engine,
           const QString& delta = {}) {
    pikotel::dict::BuildOptions options;
    options.listingsCsv = csv;
    options.deltaCsv = delta;
    options.output = out;
    options.engine = engine;
    QString error;
    const bool ok = pikotel::dict::buildDictionary(options, nullptr, &error);
    EXPECT_TRUE(ok) << error.toStdString();
    return ok;
}

const int kCities[] = {13104, 13113, 1101, 27128, 47201};

// Patterns of every shape: prefix, substring, suffix, exact, reading, multibyte traps.
const QStringList kPatterns = {
    "山田*",
    "*田*",
    "*郎",
    "山田　太郎",
    "ヤマダ*",
    "*",
    "",
    "*ヨウコ",
    "ソガ*",
    "曽我*",
    "*寿司",
    "ラーメン*",
    "*A*",
    "*C*",
    "*\\*",
    "*ソ*",
    "*～*",
    "*〜とぴあ*",
    "株式会社*商店",
    "髙橋*",
    "表*",
    "*ｿﾌﾄ*",
    "*・ＤＥＮＴＡＬ",
    "サトウ　ハナコ",
    "*　*ウ",
    "高*橋*",
};

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        listings_ = sampleListings(2500, 7);
        const QString csv = dir_->file("listings.csv");
        ASSERT_TRUE(writeFile(csv, listingCsv(listings_)));
        ASSERT_TRUE(QDir(dir_->path()).mkpath("DIC"));
        ASSERT_TRUE(QDir(dir_->path()).mkpath("CD"));
        ASSERT_TRUE(build(csv, dir_->file("DIC/dxs9999.dct"), pikotel::dict::Engine::Dxs));
        ASSERT_TRUE(build(csv, dir_->file("CD/XCHDB.DIC"), pikotel::dict::Engine::Xch));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static QString dic() { return dir_->file("DIC"); }
    static QString cd() { return dir_->file("CD") + "/"; }

    static std::unique_ptr<ScratchDir> dir_;
    static QList<Listing> listings_;
};

std::unique_ptr<ScratchDir> EngineTest::dir_;
QList<Listing> EngineTest::listings_;

TEST_F(EngineTest, NameSearchesEqualTheReferenceOnBothEngines) {
    DxsEngine dxs(dic());
    XchEngine xch(cd());
    ASSERT_EQ(dxs.openResult(), 0);
    ASSERT_EQ(xch.openResult(), 0);
    int nonEmpty = 0;
    for (int city : kCities) {
        for (int kind : {1, 2}) {
            for (const QString& pattern : kPatterns) {
                NameCondition c;
                c.cityCode = city;
                c.individuals = kind == 1;
                c.corporates = kind == 2;
                c.name = pattern;
                const QList<Hit> expected = expectedByName(listings_, c);
                int rd = 1;
                int rx = 1;
                EXPECT_EQ(dxs.names(c, &rd), expected)
                    << city << " " << kind << " " << pattern.toStdString();
                EXPECT_EQ(xch.names(c, &rx), expected)
                    << city << " " << kind << " " << pattern.toStdString();
                EXPECT_EQ(rd, 0);
                EXPECT_EQ(rx, 0);
                nonEmpty += expected.isEmpty() ? 0 : 1;
            }
        }
    }
    // The sample must exercise the matcher, not compare empty lists.
    EXPECT_GT(nonEmpty, 150);
}

TEST_F(EngineTest, TownPatternsAndHitLimits) {
    DxsEngine dxs(dic());
    XchEngine xch(cd());
    for (int city : kCities) {
        for (const QString& town :
             {QString(), QString("新"), QString("西新宿"), QString("大"), QString("北一条西")}) {
            for (const QString& pattern :
                 {QString("*"), QString("山*"), QString("*ウ"), QString("*商店")}) {
                for (int kind : {1, 2}) {
                    NameCondition c;
                    c.cityCode = city;
                    c.individuals = kind == 1;
                    c.corporates = kind == 2;
                    c.name = pattern;
                    c.town = town;
                    EXPECT_EQ(xch.names(c), expectedByName(listings_, c));
                    for (int limit : {0, 1, 7}) {
                        c.limit = limit;
                        EXPECT_EQ(dxs.names(c), expectedByName(listings_, c))
                            << city << town.toStdString() << pattern.toStdString() << limit;
                    }
                }
            }
        }
    }
}

TEST_F(EngineTest, AlternateEngineTakesBothPersonKindsAtOnce) {
    XchEngine xch(cd());
    for (int city : kCities) {
        NameCondition c;
        c.cityCode = city;
        c.individuals = c.corporates = true;
        c.name = "*山*";
        const QList<Hit> both = expectedByName(listings_, c);
        EXPECT_EQ(xch.names(c), both);
        EXPECT_FALSE(both.isEmpty());
    }
}

TEST_F(EngineTest, NumberSearchesEqualTheReferenceOnBothEngines) {
    DxsEngine dxs(dic());
    XchEngine xch(cd());
    // The reference filter runs over the listings of one number at a time.
    QHash<QString, QList<Listing>> byNumber;
    for (const Listing& l : listings_)
        byNumber[digitsOf(l.number)].append(l);
    int shared = 0;
    for (auto it = byNumber.cbegin(); it != byNumber.cend(); ++it) {
        const QList<Hit> expected = expectedByNumber(it.value(), it.key());
        ASSERT_EQ(dxs.number(it.key()), expected) << it.key().toStdString();
        ASSERT_EQ(xch.number(it.key()), expected) << it.key().toStdString();
        shared += expected.size() > 1 ? 1 : 0;
    }
    EXPECT_GT(shared, 20);
    // Person kinds narrow a number search; unknown numbers find nothing, without an error.
    for (const Listing& l : listings_.mid(0, 50)) {
        const QString n = digitsOf(l.number);
        EXPECT_EQ(dxs.number(n, 1), expectedByNumber(listings_, n, true, false));
        EXPECT_EQ(xch.number(n, 2), expectedByNumber(listings_, n, false, true));
    }
    int result = 1;
    EXPECT_TRUE(dxs.number("0399999999999", 0, &result).isEmpty());
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(xch.number("1", 3, &result).isEmpty());
    EXPECT_EQ(result, 0);
}

TEST_F(EngineTest, CityWithoutListingsFindsNothingWithoutError) {
    DxsEngine dxs(dic());
    XchEngine xch(cd());
    NameCondition c;
    c.cityCode = 13999;
    c.name = "*";
    int rd = 1;
    int rx = 1;
    EXPECT_TRUE(dxs.names(c, &rd).isEmpty());
    c.corporates = true;
    EXPECT_TRUE(xch.names(c, &rx).isEmpty());
    EXPECT_EQ(rd, 0);
    EXPECT_EQ(rx, 0);
}

TEST_F(EngineTest, MatchingNeverSplitsACharacter) {
    // "ア" is 83 41 and "ソ" 83 5C in cp932: "A" and "\" must not find them.
    DxsEngine dxs(dic());
    XchEngine xch(cd());
    for (int city : kCities) {
        for (const QString& pattern : {QString("*\\*"), QString("*A*")}) {
            NameCondition c;
            c.cityCode = city;
            c.individuals = false;
            c.corporates = true;
            c.name = pattern;
            for (const Hit& hit : dxs.names(c) + xch.names(c))
                EXPECT_TRUE(hit.at(1).contains(pattern.at(1))) << hit.at(1).toStdString();
        }
    }
}

TEST_F(EngineTest, DeltaAddsReplacesAndRemovesByNumber) {
    // Three numbers removed, three replaced (one moving to another city), two gaining a
    // name, two new ones.
    QList<Listing> expected = listings_;
    const QString removed[] = {digitsOf(listings_[3].number), digitsOf(listings_[40].number),
                               digitsOf(listings_[41].number)};
    const QString replaced[] = {digitsOf(listings_[5].number), digitsOf(listings_[77].number),
                                digitsOf(listings_[120].number)};
    QString delta = "op,number,name,reading,kind,zip,pref,city,city_code,town,block\n";
    for (const QString& n : removed)
        delta += "remove," + n + ",,,,,,,,,\n";
    QList<Listing> added;
    Listing a = listings_[5];
    a.name = "新規　太郎";
    a.reading = "シンキ　タロウ";
    a.kind = 1;
    added.append(a);
    a.name = "新規　花子";
    a.reading = "シンキ　ハナコ";
    added.append(a);
    Listing moved = listings_[77];
    moved.cityCode = 47201;
    moved.pref = "沖縄県";
    moved.city = "那覇市";
    moved.town = "泊";
    moved.name = "泊ラーメン";
    moved.reading = "トマリラーメン";
    moved.kind = 2;
    added.append(moved);
    Listing third = listings_[120];
    third.block = "９丁目９－９";
    added.append(third);
    for (const Listing& l : added)
        delta += "replace," + listingCsv({l}).section('\n', 1, 1) + "\n";
    QList<Listing> extra;
    Listing join = listings_[200];
    join.name = "山田　曜子";
    join.reading = "ヤマダ　ヨウコ";
    join.kind = 1;
    extra.append(join);
    Listing fresh = listings_[300];
    fresh.number = "03-0000-0001";
    fresh.name = "ラーメン新顔";
    fresh.reading = "ラーメンシンガオ";
    fresh.kind = 2;
    extra.append(fresh);
    fresh.number = "03-0000-0002";
    fresh.name = "山田　新";
    fresh.reading = "ヤマダ　アラタ";
    fresh.kind = 1;
    extra.append(fresh);
    for (const Listing& l : extra)
        delta += "add," + listingCsv({l}).section('\n', 1, 1) + "\n";

    QSet<QString> hidden;
    for (const QString& n : removed)
        hidden.insert(n);
    for (const QString& n : replaced)
        hidden.insert(n);
    expected.removeIf([&hidden](const Listing& l) { return hidden.contains(digitsOf(l.number)); });
    expected += added;
    expected += extra;

    ScratchDir d;
    ASSERT_TRUE(writeFile(d.file("delta.csv"), delta));
    ASSERT_TRUE(QDir(d.path()).mkpath("dx"));
    ASSERT_TRUE(QDir(d.path()).mkpath("xd"));
    ASSERT_TRUE(build(dir_->file("listings.csv"), d.file("dx/DXS5001.dct"),
                      pikotel::dict::Engine::Dxs, d.file("delta.csv")));
    ASSERT_TRUE(build(dir_->file("listings.csv"), d.file("xd/xchdbad.dic"),
                      pikotel::dict::Engine::Xch, d.file("delta.csv")));

    DxsEngine dxs(dic(), d.file("dx"));
    XchEngine xch(cd(), d.file("xd"));
    ASSERT_EQ(dxs.openResult(), 0);
    ASSERT_EQ(xch.openResult(), 0);
    EXPECT_EQ(dxs.info().deltaListingCount, 7);
    EXPECT_EQ(dxs.info().deltaMaskedCount, 6);
    QSet<QString> numbers;
    for (const Listing& l : expected + listings_)
        numbers.insert(digitsOf(l.number));
    for (const QString& n : numbers) {
        ASSERT_EQ(dxs.number(n), expectedByNumber(expected, n)) << n.toStdString();
        ASSERT_EQ(xch.number(n), expectedByNumber(expected, n)) << n.toStdString();
    }
    for (int city : kCities) {
        for (int kind : {1, 2}) {
            for (const QString& pattern :
                 {QString("*"), QString("山田*"), QString("*ラーメン*"), QString("シンキ*")}) {
                NameCondition c;
                c.cityCode = city;
                c.individuals = kind == 1;
                c.corporates = kind == 2;
                c.name = pattern;
                EXPECT_EQ(xch.names(c), expectedByName(expected, c))
                    << city << pattern.toStdString();
                for (int limit : {0, 3}) {
                    c.limit = limit;
                    EXPECT_EQ(dxs.names(c), expectedByName(expected, c))
                        << city << pattern.toStdString();
                }
            }
        }
    }
}

TEST_F(EngineTest, ConditionsTheFirstEngineCannotTake) {
    DxsEngine dxs(dic());
    int result = 0;
    for (const char* bad : {"", "03-3456-7890", "0312345678901234567", "０３"}) {
        dxs.number(QString::fromUtf8(bad), 0, &result);
        EXPECT_EQ(result, -20) << bad;
    }
    dxs.number("0312345678", 3, &result);
    EXPECT_EQ(result, -22);

    const auto nameSearch = [&dxs](auto&& change) {
        DxsCondRec cond{};
        cond.searchKind = 2;
        cond.cityCode = 13104;
        cond.number = cond.townPattern = cond.unused1 = cond.unused2 = "";
        cond.personKind = 1;
        cond.namePatternLength = 1;
        cond.namePattern = "*";
        change(cond);
        return dxs.search(cond);
    };
    EXPECT_EQ(nameSearch([](DxsCondRec&) {}), 0);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.cityCode = 0; }), -21);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.cityCode = 100000; }), -21);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.unused1 = "x", c.unused1Length = 1; }), -21);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.townPattern = "\x81", c.townPatternLength = 1; }),
              -21);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.personKind = 0; }), -22);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.personKind = 3; }), -22);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.namePattern = "\x81", c.namePatternLength = 1; }),
              -22);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.namePattern = nullptr; }), -22);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.namePattern = "\t", c.namePatternLength = 1; }),
              -22);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.unused2 = "x", c.unused2Length = 1; }), -23);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.hitLimit = -1; }), -5);
    EXPECT_EQ(nameSearch([](DxsCondRec& c) { c.searchKind = 3; }), -5);

    int32_t count = 0;
    EXPECT_EQ(Dxs4_Search(&dxs.searchHandle(), nullptr, &count), -5);
    DxsSearchHandle zeroed{};
    DxsCondRec cond{};
    EXPECT_EQ(Dxs4_Search(&zeroed, &cond, &count), -1);
    DxsResultRec rec{};
    EXPECT_EQ(Dxs4_GetRec(&zeroed, 0, &rec), -1);
}

TEST_F(EngineTest, ConditionsTheAlternateEngineCannotTake) {
    XchEngine xch(cd());
    const auto run = [&xch](auto&& change) {
        XchCondRec cond{};
        cond.searchKind = 1;
        cond.personKind = 1;
        cond.cityCode = 13104;
        putFixed(cond.namePattern, sizeof cond.namePattern, cond.namePatternLength, "*");
        change(cond);
        return xch.search(cond);
    };
    EXPECT_EQ(run([](XchCondRec&) {}), 0);
    EXPECT_EQ(run([](XchCondRec& c) { c.searchKind = 2, c.personKind = 3; }), -20);
    EXPECT_EQ(run([](XchCondRec& c) {
                  c.searchKind = 2;
                  c.personKind = 3;
                  putFixed(c.number, sizeof c.number, c.numberLength, "03a4");
              }),
              -20);
    EXPECT_EQ(run([](XchCondRec& c) { c.searchKind = 2, c.personKind = 3, c.numberLength = 21; }),
              -20);
    EXPECT_EQ(run([](XchCondRec& c) { c.cityCode = 0; }), -21);
    EXPECT_EQ(run([](XchCondRec& c) { c.townLength = 41; }), -21);
    EXPECT_EQ(run([](XchCondRec& c) { c.unusedLength = 1; }), -21);
    EXPECT_EQ(run([](XchCondRec& c) { c.personKind = 0; }), -22);
    EXPECT_EQ(run([](XchCondRec& c) { c.namePatternLength = 81; }), -22);
    EXPECT_EQ(run([](XchCondRec& c) { c.searchKind = 0; }), -5);
    XchCondRec cond{};
    int32_t count = 0;
    EXPECT_EQ(hXchDB_Search(xch.handle() + 1000, &cond, &count), -1);
    XchResultRec rec{};
    EXPECT_EQ(hXchDB_Getrec(xch.handle(), 0, &rec), -2); // no hits after the failed searches
}

TEST_F(EngineTest, HitsOfANewSearchReplaceTheEarlierOnes) {
    DxsEngine dxs(dic());
    NameCondition all;
    all.cityCode = 13104;
    all.name = "*";
    const int many = static_cast<int>(dxs.names(all).size());
    const QString n = digitsOf(listings_[0].number);
    const QList<Hit> one = dxs.number(n);
    ASSERT_LT(one.size(), many);
    DxsResultRec rec{};
    EXPECT_EQ(Dxs4_GetRec(&dxs.searchHandle(), static_cast<int32_t>(one.size()), &rec), -2);
    EXPECT_EQ(Dxs4_ReleaseResultMem(&dxs.searchHandle()), 0);
    EXPECT_EQ(Dxs4_GetRec(&dxs.searchHandle(), 0, &rec), -2);
}

TEST_F(EngineTest, ReleasedAndClosedHandlesAreRefused) {
    auto dxs = std::make_unique<DxsEngine>(dic());
    DxsSearchHandle search = dxs->searchHandle();
    DxsDicHandle dic = dxs->dicHandle();
    dxs.reset();
    DxsCondRec cond{};
    int32_t count = 0;
    EXPECT_EQ(Dxs4_Search(&search, &cond, &count), -1);
    DxsSearchHandle again{};
    EXPECT_EQ(Dxs4_AssignSearchHandle(&dic, &again), -1);
    EXPECT_EQ(Dxs4_CloseDic(&dic), -1);
    EXPECT_EQ(Dxs4_ReleaseSearchHandle(&search), -1);

    XchHandle handle = 0;
    {
        XchEngine xch(cd());
        handle = xch.handle();
    }
    EXPECT_EQ(hXchDB_Close(handle), -1);
    XchAreaRec area{};
    EXPECT_EQ(hXchDB_GetL12(handle, 0, &area), -1);
}

TEST_F(EngineTest, OpeningAgainIntoTheSameBlocksGivesUpTheEarlierDictionary) {
    // The program opens again after a CD-ROM was taken out, without closing first.
    DxsEngine dxs(dic());
    const DxsDicHandle earlier = dxs.dicHandle();
    const QByteArray folder = cp932(dic());
    const DxsOpenRec open{static_cast<int32_t>(folder.size()), folder.constData(), 0, "", 0, ""};
    DxsDicInfo info{};
    ASSERT_EQ(Dxs4_OpenDic(&open, &dxs.dicHandle(), &info), 0);
    ASSERT_EQ(Dxs4_AssignSearchHandle(&dxs.dicHandle(), &dxs.searchHandle()), 0);
    EXPECT_EQ(dxs.number(digitsOf(listings_[0].number)),
              expectedByNumber(listings_, digitsOf(listings_[0].number)));
    DxsSearchHandle other{};
    DxsDicHandle stale = earlier;
    EXPECT_EQ(Dxs4_AssignSearchHandle(&stale, &other), -1);
}

TEST_F(EngineTest, AreaTablesInCodeOrderWithNames) {
    DxsEngine dxs(dic());
    ASSERT_EQ(dxs.info().areaCount, 5);
    ASSERT_NE(dxs.info().areaTable, nullptr);
    const DxsAreaRec* first = dxs.info().areaTable[0];
    EXPECT_EQ(first->cityCode, 1101);
    EXPECT_EQ(fromCp932(first->prefName, -1), "北海道");
    EXPECT_EQ(fromCp932(first->cityName, -1), "札幌市中央区");
    int previous = 0;
    for (int i = 0; i < dxs.info().areaCount; ++i) {
        EXPECT_GT(dxs.info().areaTable[i]->cityCode, previous);
        previous = dxs.info().areaTable[i]->cityCode;
    }
    EXPECT_EQ(dxs.info().listingCount, 2500);
    EXPECT_EQ(QByteArray(dxs.info().buildDate).size(), 19);

    XchEngine xch(cd());
    ASSERT_EQ(xch.areaCount(), 5);
    XchAreaRec area{};
    ASSERT_EQ(hXchDB_GetL12(xch.handle(), 4, &area), 0);
    EXPECT_EQ(area.cityCode, 47201);
    EXPECT_EQ(fromCp932(area.prefName, area.prefNameLength), "沖縄県");
    EXPECT_EQ(QByteArray(area.prefName + area.prefNameLength, 12 - area.prefNameLength),
              QByteArray(12 - area.prefNameLength, ' '));
    EXPECT_EQ(hXchDB_GetL12(xch.handle(), 5, &area), -2);
    EXPECT_EQ(hXchDB_GetL12(xch.handle(), -1, &area), -2);
}

TEST(EngineFiles, OpenFindsTheFilesWhereTheProgramPutsThem) {
    ScratchDir d;
    const QList<Listing> listings = sampleListings(50, 3);
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(listings)));
    QDir(d.path()).mkpath("hdd/DIC");
    QDir(d.path()).mkpath("cd");
    QDir(d.path()).mkpath("upper");
    QDir(d.path()).mkpath("delta");
    QDir(d.path()).mkpath("bad");
    ASSERT_TRUE(build(d.file("l.csv"), d.file("hdd/DIC/dxs9999.dct"), pikotel::dict::Engine::Dxs));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("cd/dxs9999.dct"), pikotel::dict::Engine::Dxs));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("cd/XCHDB.DIC"), pikotel::dict::Engine::Xch));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("upper/DXS9999.DCT"), pikotel::dict::Engine::Dxs));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("bad/dxs9999.dct"), pikotel::dict::Engine::Xch));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("bad/XCHDB.DIC"), pikotel::dict::Engine::Dxs));
    QFile::copy(d.file("cd/dxs9999.dct"), d.file("bad/DXS5001.dct"));
    QFile::copy(d.file("cd/dxs9999.dct"), d.file("bad/xchdbad.dic"));

    EXPECT_EQ(DxsEngine(d.file("hdd/DIC")).openResult(), 0);
    EXPECT_EQ(DxsEngine(d.file("hdd/DIC/")).openResult(), 0);
    EXPECT_EQ(DxsEngine({}, {}, d.file("cd") + "/").openResult(), 0);
    EXPECT_EQ(DxsEngine(d.file("hdd/DIC"), d.file("delta")).openResult(), 0); // no delta file
    EXPECT_EQ(DxsEngine(d.file("upper")).openResult(), -2);                   // letter case
    EXPECT_EQ(DxsEngine(d.file("nowhere")).openResult(), -2);
    EXPECT_EQ(DxsEngine({}).openResult(), -2);
    EXPECT_EQ(DxsEngine(d.file("bad")).openResult(), -4); // the other engine's file
    EXPECT_EQ(DxsEngine(d.file("hdd/DIC"), d.file("bad")).openResult(), -6); // a main file as delta
    EXPECT_EQ(XchEngine(d.file("cd")).openResult(), 0);
    EXPECT_EQ(XchEngine(d.file("cd") + "/", d.file("delta")).openResult(), 0);
    EXPECT_EQ(XchEngine(d.file("hdd/DIC")).openResult(), -2);
    EXPECT_EQ(XchEngine({}).openResult(), -2);
    EXPECT_EQ(XchEngine(d.file("bad")).openResult(), -4);
    EXPECT_EQ(XchEngine(d.file("cd"), d.file("bad")).openResult(), -6);
    EXPECT_EQ(Dxs4_OpenDic(nullptr, nullptr, nullptr), -1);
    XchOpenRec tooLong{};
    tooLong.dictPathLength = 129;
    XchHandle handle = 0;
    EXPECT_EQ(hXchDB_Open(&tooLong, &handle), -1);
}

TEST(EngineFiles, FixedWidthRecordsCutAtCharacterBoundaries) {
    ScratchDir d;
    Listing l;
    l.number = "03-1234-5678";
    l.kind = 2;
    // 1 + 60 double-byte characters: 121 bytes for a 120-byte field.
    l.name = "A" + QString(60, QChar(u'漢'));
    l.reading = "カン";
    l.zip = "160-0022";
    l.pref = "東京都";
    l.city = "あいうえおかきくけこさしすせそ"; // 30 bytes for a 24-byte field
    l.cityCode = 13999;
    l.town = QString(25, QChar(u'町'));
    l.block = "X" + QString(24, QChar(u'丁')); // 49 bytes for 48
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv({l})));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("XCHDB.DIC"), pikotel::dict::Engine::Xch));
    XchEngine xch(d.path());
    ASSERT_EQ(xch.openResult(), 0);
    XchCondRec cond{};
    cond.searchKind = 2;
    cond.personKind = 3;
    putFixed(cond.number, sizeof cond.number, cond.numberLength, "0312345678");
    int32_t count = 0;
    ASSERT_EQ(hXchDB_Search(xch.handle(), &cond, &count), 0);
    ASSERT_EQ(count, 1);
    XchResultRec rec;
    std::memset(&rec, 'Z', sizeof rec);
    ASSERT_EQ(hXchDB_Getrec(xch.handle(), 0, &rec), 0);
    EXPECT_EQ(rec.nameLength, 119);
    EXPECT_EQ(fromCp932(rec.name, rec.nameLength), "A" + QString(59, QChar(u'漢')));
    EXPECT_EQ(rec.name[119], ' ');
    EXPECT_EQ(rec.townLength, 48);
    EXPECT_EQ(rec.blockLength, 47);
    EXPECT_EQ(fromCp932(rec.block, rec.blockLength), "X" + QString(23, QChar(u'丁')));
    EXPECT_EQ(rec.numberLength, 12);
    EXPECT_EQ(QByteArray(rec.number, 16), QByteArray("03-1234-5678    "));
    EXPECT_EQ(QByteArray(rec.zip, 12), QByteArray("160-0022    "));
    EXPECT_EQ(rec.cityCode, 13999);
    XchAreaRec area;
    ASSERT_EQ(hXchDB_GetL12(xch.handle(), 0, &area), 0);
    EXPECT_EQ(area.cityNameLength, 24);
    EXPECT_EQ(fromCp932(area.cityName, area.cityNameLength), "あいうえおかきくけこさし");
}

TEST(EngineFiles, InjectedFailuresLetRetryLoopsBeShown) {
    ScratchDir d;
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(sampleListings(30, 5))));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("XCHDB.DIC"), pikotel::dict::Engine::Xch));
    xchdb_test_fail_next_opens(2);
    EXPECT_EQ(XchEngine(d.path()).openResult(), -2);
    EXPECT_EQ(XchEngine(d.path()).openResult(), -2);
    XchEngine xch(d.path());
    ASSERT_EQ(xch.openResult(), 0);
    xchdb_test_fail_next_area_fetches(1);
    XchAreaRec area;
    std::memset(&area, 0x55, sizeof area);
    EXPECT_EQ(hXchDB_GetL12(xch.handle(), 0, &area), -4);
    EXPECT_EQ(area.cityCode, 0x55555555); // untouched
    EXPECT_EQ(hXchDB_GetL12(xch.handle(), 0, &area), 0);
}

int32_t cancelAt50(int32_t percent) {
    return percent >= 50 ? 1 : 0;
}
int32_t lastPercent = -1;
int32_t notePercent(int32_t percent) {
    lastPercent = percent;
    return 0;
}

TEST(EngineFiles, CopyDicCopiesTheDictionaryWithProgress) {
    ScratchDir d;
    QDir(d.path()).mkpath("src");
    QDir(d.path()).mkpath("dst");
    QDir(d.path()).mkpath("delta");
    const QList<Listing> listings = sampleListings(3000, 9);
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(listings)));
    ASSERT_TRUE(writeFile(
        d.file("d.csv"), "op,number,name,reading,kind,zip,pref,city,city_code,town,block\nremove," +
                             listings[0].number + ",,,,,,,,,\n"));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("src/dxs9999.dct"), pikotel::dict::Engine::Dxs));
    ASSERT_TRUE(build(d.file("l.csv"), d.file("delta/DXS5001.dct"), pikotel::dict::Engine::Dxs,
                      d.file("d.csv")));
    DxsEngine dxs(d.file("src"), d.file("delta"));
    ASSERT_EQ(dxs.openResult(), 0);
    const QByteArray target = QFile::encodeName(d.file("dst"));
    Dxs4_SetCallbackFunc1(&notePercent);
    EXPECT_EQ(
        Dxs4_CopyDic(&dxs.dicHandle(), static_cast<int32_t>(target.size()), target.constData()), 0);
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(DxsEngine(d.file("dst"), d.file("dst")).openResult(), 0);
    QFile::remove(d.file("dst/dxs9999.dct"));
    Dxs4_SetCallbackFunc1(&cancelAt50);
    EXPECT_EQ(
        Dxs4_CopyDic(&dxs.dicHandle(), static_cast<int32_t>(target.size()), target.constData()),
        -2);
    EXPECT_FALSE(QFile::exists(d.file("dst/dxs9999.dct")));
    Dxs4_SetCallbackFunc1(nullptr);
}

} // namespace
