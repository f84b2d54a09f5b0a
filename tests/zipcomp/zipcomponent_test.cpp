// The component and its builder on a small dictionary of hand-written Japan Post rows.

#include "zipfixture.h"

#include "zipcomp/zipbuilder.h"
#include "zipcomp/ziptext.h"

#include <QFile>

using namespace pikotel::test;
using namespace pikotel::zipcomp;

namespace {

QStringList codesOf(const std::vector<TownRow>& rows) {
    QStringList out;
    for (const TownRow& r : rows)
        out.append(r.code + QLatin1Char(' ') + r.name + r.note);
    return out;
}

QStringList codesOf(const std::vector<BlockRow>& rows) {
    QStringList out;
    for (const BlockRow& r : rows)
        out.append(r.code + QLatin1Char(' ') + r.name);
    return out;
}

class ZipComponentTest : public SmallDictionary {
protected:
    void SetUp() override {
        SmallDictionary::SetUp();
        open(zip);
    }
    ZipComponent zip;
};

TEST_F(ZipComponentTest, ListsPrefecturesCitiesAndTownsInTheirOrder) {
    EXPECT_EQ(prefectureCodes(zip), QStringList({"01", "13", "17", "23", "24"}));
    EXPECT_EQ(cityCodes(zip, 1), QStringList({"01102", "01110", "01462"}));
    EXPECT_TRUE(cityCodes(zip, 99).isEmpty());

    // The catch-all first, then by reading with numbers by value.
    EXPECT_EQ(codesOf(towns(zip, 1102)),
              QStringList({"0010000 以下に掲載がない場合", "0010002 北二条西",
                           "0010010 北十条西（１～４丁目）", " 北十四条西"}));
    EXPECT_EQ(codesOf(towns(zip, 13104)),
              QStringList({"1600000 以下に掲載がない場合", "1620842 市谷砂土原町", " 西新宿",
                           " 西新宿新宿三井ビル"}));
    EXPECT_EQ(codesOf(towns(zip, 13364)), QStringList({"1000601 神津島村一円"}));
    EXPECT_TRUE(towns(zip, 99999).empty());
}

TEST_F(ZipComponentTest, DividedTownsListTheirBlocks) {
    EXPECT_EQ(codesOf(blocks(zip, 1102, QStringLiteral("北十四条西"))),
              QStringList({"0010014 １～４丁目", "0600814 ５～１３丁目"}));
    // Floors in code order: the basement-or-unknown entry last.
    EXPECT_EQ(codesOf(blocks(zip, 13104, QStringLiteral("西新宿新宿三井ビル"))),
              QStringList({"1630401 １階", "1630402 ２階", "1630490 地階・階層不明"}));
    EXPECT_EQ(codesOf(blocks(zip, 13104, QStringLiteral("西新宿"))),
              QStringList({"1600023 次のビルを除く"}));
    EXPECT_EQ(codesOf(blocks(zip, 17206, QStringLiteral("南"))),
              QStringList({"9200001 １丁目", "9200002 その他"}));
    // "その他" is a block even where the town has one code.
    EXPECT_EQ(codesOf(blocks(zip, 17206, QStringLiteral("北"))), QStringList({"9200003 その他"}));
    // The town in general beside a named part is named by the town itself.
    EXPECT_EQ(codesOf(blocks(zip, 17206, QStringLiteral("河南町"))),
              QStringList({"9220276 淀町", "9220277 河南町"}));
    // The second source's copy without its note is not a block of its own.
    EXPECT_EQ(codesOf(blocks(zip, 1462, QStringLiteral("幾寅"))),
              QStringList({"0792401 栄町", "0792402 西町"}));

    EXPECT_TRUE(blocks(zip, 1102, QStringLiteral("北十条西")).empty());
    EXPECT_TRUE(blocks(zip, 1102, QStringLiteral("北十四条西 ")).empty());
    EXPECT_TRUE(blocks(zip, 13104, QStringLiteral("北十四条西")).empty());
}

TEST_F(ZipComponentTest, BlankedCatchAllOfTheSecondSourceIsRestored) {
    EXPECT_EQ(codesOf(towns(zip, 1110)), QStringList({"0040000 以下に掲載がない場合"}));
    EXPECT_EQ(searchCode(zip, QStringLiteral("0040000")),
              QStringList({"0040000 北海道札幌市清田区以下に掲載がない場合"}));
}

TEST_F(ZipComponentTest, ForwardSearchByThreeFiveAndSevenDigits) {
    EXPECT_EQ(searchCode(zip, QStringLiteral("0010010")),
              QStringList({"0010010 北海道札幌市北区北十条西（１～４丁目）"}));
    EXPECT_EQ(searchCode(zip, QStringLiteral("00100")),
              QStringList({"0010000 北海道札幌市北区以下に掲載がない場合",
                           "0010002 北海道札幌市北区北二条西",
                           "0010010 北海道札幌市北区北十条西（１～４丁目）",
                           "0010014 北海道札幌市北区北十四条西（１～４丁目）"}));
    // Business offices answer too, their name last.
    const QStringList three = searchCode(zip, QStringLiteral("001"));
    ASSERT_EQ(three.size(), 5);
    EXPECT_EQ(three.last(), QStringLiteral("0018501 北海道札幌市北区北二十九条西２丁目１番１号"
                                           "学校法人　創成学園　札幌創成高等学校"));
    // One code, two prefectures.
    EXPECT_EQ(searchCode(zip, QStringLiteral("4980000")),
              QStringList({"4980000 愛知県弥富市以下に掲載がない場合",
                           "4980000 三重県桑名郡木曽岬町以下に掲載がない場合"}));
    EXPECT_TRUE(searchCode(zip, QStringLiteral("0010001")).isEmpty());
    EXPECT_TRUE(searchCode(zip, QStringLiteral("999")).isEmpty());
}

TEST_F(ZipComponentTest, OldCodeSearchGivesTheAddressesUnderIt) {
    // In code order, whatever today's codes begin with.
    EXPECT_EQ(searchOldCode(zip, QStringLiteral("49014")),
              QStringList({"4980040 愛知県弥富市栄南町", "4980060 愛知県弥富市曙"}));
    // Addresses only: the office under old code 001 is not among them.
    EXPECT_EQ(searchOldCode(zip, QStringLiteral("001")),
              QStringList({"0010000 北海道札幌市北区以下に掲載がない場合",
                           "0010002 北海道札幌市北区北二条西",
                           "0010010 北海道札幌市北区北十条西（１～４丁目）",
                           "0010014 北海道札幌市北区北十四条西（１～４丁目）"}));
    // Exactly the digits: 060 is no prefix of 0600.
    EXPECT_EQ(searchOldCode(zip, QStringLiteral("060")),
              QStringList({"0600814 北海道札幌市北区北十四条西（５～１３丁目）"}));
    EXPECT_TRUE(searchOldCode(zip, QStringLiteral("00100")).isEmpty());
    EXPECT_TRUE(searchOldCode(zip, QStringLiteral("490")).isEmpty());
    ZipComponent::SearchSummary summary;
    ASSERT_EQ(zip.SearchOldCode(QStringLiteral("49014")), 2);
    ASSERT_TRUE(zip.GetSearchSummary(summary));
    EXPECT_EQ(summary[1], "2");
    EXPECT_EQ(summary[2], "2");
    for (const char* digits : {"", "4901", "4980040", "49O14"}) {
        EXPECT_EQ(zip.SearchOldCode(QString::fromLatin1(digits)), -1) << digits;
        EXPECT_EQ(zip.LastError().number, kErrorBadArgument);
    }
}

TEST_F(ZipComponentTest, CodeRecordCarriesReadingsAndSummary) {
    ASSERT_EQ(zip.SearchCode(QStringLiteral("1638001")), 1);
    ZipComponent::SearchSummary summary;
    ASSERT_TRUE(zip.GetSearchSummary(summary));
    EXPECT_EQ(summary[0], "1638001");
    EXPECT_EQ(summary[1], "1");
    EXPECT_EQ(summary[2], "0");
    EXPECT_EQ(summary[3], "1");
    EXPECT_EQ(summary[4], "20240131");
    ZipComponent::CodeRecord r;
    ASSERT_TRUE(zip.GetCodeRecord(0, r));
    EXPECT_EQ(cp932(r[1]), QStringLiteral("トウキョウト"));
    EXPECT_EQ(cp932(r[3]), QStringLiteral("シンジュクク"));
    // The minus sign of the source goes out as cp932's full-width hyphen-minus.
    EXPECT_EQ(cp932(r[6]), QStringLiteral("２丁目８－１"));
    EXPECT_EQ(cp932(r[8]), QStringLiteral("東京都庁"));
    EXPECT_EQ(cp932(r[9]), QStringLiteral("ﾄｳｷﾖｳﾄﾁﾖｳ"));
    EXPECT_EQ(r[10], "1638001");
}

TEST_F(ZipComponentTest, TextsGoOutAsCp932) {
    ASSERT_EQ(zip.QueryTowns(QString(), 0, 1102, 0), 4);
    QByteArray code, name, reading, note, noteReading;
    ASSERT_TRUE(zip.GetTown(2, code, name, reading, note, noteReading));
    // ～ is 0x8160 in cp932; 丁目 is 0x929A 0x96DA.
    EXPECT_EQ(note, QByteArray("\x81\x69\x82\x50\x81\x60\x82\x53\x92\x9a\x96\xda\x81\x6a"));
    EXPECT_EQ(cp932(reading), QStringLiteral("キタ１０ジョウニシ"));
    EXPECT_EQ(cp932(noteReading), QStringLiteral("（１－４チョウメ）"));
}

TEST_F(ZipComponentTest, RefusesBadCallsWithAnErrorNumber) {
    for (const char* digits : {"", "0010", "001-0010", "00１", "12345678", "abc"}) {
        EXPECT_EQ(zip.SearchCode(QString::fromUtf8(digits)), -1) << digits;
        EXPECT_EQ(zip.LastError().number, kErrorBadArgument);
    }
    ASSERT_EQ(zip.QueryPrefectures(QString(), 0, 0), 5);
    QByteArray a, b, c;
    EXPECT_FALSE(zip.GetPrefecture(5, a, b, c));
    EXPECT_EQ(zip.LastError().number, kErrorBadIndex);
    EXPECT_FALSE(zip.GetPrefecture(-1, a, b, c));
    EXPECT_FALSE(zip.GetBlock(0, a, b, c));
    ZipComponent::CodeRecord r;
    EXPECT_FALSE(zip.GetCodeRecord(0, r));

    // Levels are independent: reading cities does not lose the prefecture list.
    ASSERT_EQ(zip.QueryCities(QString(), 0, 13, 0), 2);
    EXPECT_TRUE(zip.GetPrefecture(4, a, b, c));
    EXPECT_EQ(a, "24");

    zip.CloseDictionary();
    EXPECT_EQ(zip.QueryPrefectures(QString(), 0, 0), -1);
    EXPECT_EQ(zip.LastError().number, kErrorNotOpen);
    EXPECT_EQ(zip.SearchCode(QStringLiteral("001")), -1);
    EXPECT_FALSE(zip.GetPrefecture(0, a, b, c));
    EXPECT_LT(kErrorNotOpen, 0);
}

TEST_F(ZipComponentTest, ExchangeQueriesAnswerTheCandidatesOfTheLongestPrefix) {
    const QString sapporo = QStringLiteral("0117001234");
    EXPECT_EQ(prefectureCodes(zip, sapporo), QStringList({"01"}));
    EXPECT_EQ(cityCodes(zip, 1, sapporo), QStringList({"01102"}));
    EXPECT_TRUE(cityCodes(zip, 13, sapporo).isEmpty());
    // An empty town in the table is the city's catch-all.
    EXPECT_EQ(codesOf(towns(zip, 1102, sapporo)),
              QStringList({"0010000 以下に掲載がない場合", " 北十四条西"}));
    // The listing's chōme 3 lies in the 1-4 chōme block only.
    EXPECT_EQ(codesOf(blocks(zip, 1102, QStringLiteral("北十四条西"), sapporo)),
              QStringList({"0010014 １～４丁目"}));
    EXPECT_TRUE(blocks(zip, 1102, QStringLiteral("北二条西"), sapporo).empty());

    // The shorter exchange answers when the longer one does not match.
    EXPECT_EQ(codesOf(towns(zip, 1102, QStringLiteral("0117991234"))),
              QStringList({"0010010 北十条西（１～４丁目）"}));
}

TEST_F(ZipComponentTest, ExchangeAcrossPrefecturesAndUnplacedRows) {
    const QString shinjuku = QStringLiteral("03-3340-1234");
    EXPECT_EQ(prefectureCodes(zip, shinjuku), QStringList({"01", "13"}));
    EXPECT_EQ(cityCodes(zip, 13, shinjuku), QStringList({"13104"}));
    // The unknown town keeps its city but is no town.
    EXPECT_EQ(codesOf(towns(zip, 13104, shinjuku)),
              QStringList({"1620842 市谷砂土原町", " 西新宿"}));
    EXPECT_EQ(codesOf(blocks(zip, 13104, QStringLiteral("西新宿"), shinjuku)),
              QStringList({"1600023 次のビルを除く"}));
    EXPECT_EQ(codesOf(blocks(zip, 1102, QStringLiteral("北十四条西"), shinjuku)),
              QStringList({"0600814 ５～１３丁目"}));
    // Chōme 5 is in no chōme block of 南: its "その他" is the candidate.
    EXPECT_EQ(codesOf(blocks(zip, 17206, QStringLiteral("南"), QStringLiteral("0761201234"))),
              QStringList({"9200002 その他"}));
    // A city without a catch-all or a whole-village town keeps an empty town as no town.
    EXPECT_EQ(codesOf(towns(zip, 17206, QStringLiteral("0761201234"))), QStringList({" 南"}));
    EXPECT_EQ(warnings.size(), 2);
    // A village that is one code as a whole stands for the table's empty town.
    EXPECT_EQ(codesOf(towns(zip, 13364, QStringLiteral("04992-1-1234"))),
              QStringList({"1000601 神津島村一円"}));
}

TEST_F(ZipComponentTest, UnknownExchangeAndBlankTextLists) {
    EXPECT_TRUE(prefectureCodes(zip, QStringLiteral("0999123456")).isEmpty());
    EXPECT_TRUE(prefectureCodes(zip, QStringLiteral("abc")).isEmpty());
    EXPECT_EQ(prefectureCodes(zip, QStringLiteral("０１１７００１２３４")), QStringList({"01"}));
    EXPECT_TRUE(cityCodes(zip, 13, QStringLiteral("0999123456")).isEmpty());
    EXPECT_EQ(prefectureCodes(zip, QStringLiteral("  ")).size(), 5);
}

TEST_F(SmallDictionary, WithoutExchangeTableNoNumberIsKnown) {
    QString error;
    ASSERT_TRUE(build(error, false)) << qPrintable(error);
    ZipComponent zip;
    zip.SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
    zip.SetFolder(zipFolder());
    ASSERT_EQ(zip.OpenDictionary(), kOpened);
    EXPECT_TRUE(prefectureCodes(zip, QStringLiteral("0117001234")).isEmpty());
    EXPECT_EQ(prefectureCodes(zip).size(), 5);
}

TEST_F(SmallDictionary, FolderWithBackslashesOpens) {
    QString error;
    ASSERT_TRUE(build(error)) << qPrintable(error);
    ZipComponent zip;
    zip.SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
    zip.SetFolder(dir.path() + QStringLiteral("\\\\ZIP"));
    EXPECT_EQ(zip.OpenDictionary(), kOpened);
}

TEST_F(SmallDictionary, BuilderNamesTheBadLine) {
    QFile file(kenFile);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("01102,001,0010099,ホッカイドウ,サッポロシキタク,,北海道,札幌市北区\n");
    file.close();
    QString error;
    EXPECT_FALSE(build(error));
    EXPECT_TRUE(error.contains(QStringLiteral("ken.csv:27:"))) << qPrintable(error);

    QFile tsv(exchangeFile);
    ASSERT_TRUE(tsv.open(QIODevice::WriteOnly));
    tsv.write("03x\t13104\t東京都\t新宿区\t西新宿\t\n");
    tsv.close();
    ZipDictionaryBuilder builder;
    EXPECT_FALSE(builder.readExchanges(exchangeFile, error));
    EXPECT_TRUE(error.contains(QStringLiteral("exchange.tsv:1:"))) << qPrintable(error);
}

TEST_F(SmallDictionary, BuilderReadsQuotedFields) {
    QFile file(jigyosyoFile);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("13104,163,1638002,東京都,新宿区,西新宿,１丁目,\"株式会社\u3000\"\"甲,乙\"\"\","
               "ｶﾌﾞｼｷｶﾞｲｼﾔ,新宿,0\n");
    file.close();
    ZipComponent zip;
    open(zip);
    EXPECT_EQ(searchCode(zip, QStringLiteral("1638002")),
              QStringList({"1638002 東京都新宿区西新宿１丁目株式会社\u3000\"甲,乙\""}));
}

TEST(ZipNaturalCompare, DigitRunsCountByValue) {
    EXPECT_LT(naturalCompare(QStringLiteral("キタ２ジョウ"), QStringLiteral("キタ１０ジョウ")), 0);
    EXPECT_LT(naturalCompare(QStringLiteral("a9"), QStringLiteral("a10")), 0);
    EXPECT_GT(naturalCompare(QStringLiteral("a010b"), QStringLiteral("a9b")), 0);
    EXPECT_EQ(naturalCompare(QStringLiteral("a01"), QStringLiteral("a1")), 0);
    EXPECT_LT(naturalCompare(QStringLiteral("ア"), QStringLiteral("アイ")), 0);
    EXPECT_LT(naturalCompare(QStringLiteral("ア"), QStringLiteral("イ")), 0);
}

TEST(ZipTownText, SplitsBeforeTheLastGroup) {
    const TownText nested =
        splitTownText(QStringLiteral("名駅ミッドランドスクエア（高層棟）（１階）"));
    EXPECT_EQ(nested.name, QStringLiteral("名駅ミッドランドスクエア（高層棟）"));
    EXPECT_EQ(nested.part(), QStringLiteral("１階"));
    EXPECT_EQ(splitTownText(QStringLiteral("（１階）")).name, QStringLiteral("（１階）"));
    EXPECT_TRUE(splitTownText(QStringLiteral("大通西（１〜１９丁目")).note.isEmpty());
    EXPECT_EQ(withoutNotes(QStringLiteral("名駅（高層棟）ビル（１階）")),
              QStringLiteral("名駅ビル"));
}

} // namespace
