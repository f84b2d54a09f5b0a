#include "zipfixture.h"

#include "jtext/cp932.h"
#include "zipcomp/zipbuilder.h"

#include <QFile>

namespace pikotel::test {

using zipcomp::ZipComponent;

namespace {

const char* const kKenRows[] = {
    // 札幌市北区: the catch-all, a town with one chōme range, a town split by chōme.
    "01102,001,0010000,ホッカイドウ,サッポロシキタク,イカニケイサイガナイバアイ,北海道,札幌市北区,"
    "以下に掲載がない場合,0,0,0,0,yubin",
    "01102,001,0010010,ホッカイドウ,サッポロシキタク,キタ１０ジョウニシ（１−４チョウメ）,北海道,"
    "札幌市北区,北十条西（１〜４丁目）,1,0,1,0,yubin",
    "01102,001,0010014,ホッカイドウ,サッポロシキタク,キタ１４ジョウニシ（１−４チョウメ）,北海道,"
    "札幌市北区,北十四条西（１〜４丁目）,1,0,1,0,yubin",
    "01102,060,0600814,ホッカイドウ,サッポロシキタク,キタ１４ジョウニシ（５−１３チョウメ）,北海道,"
    "札幌市北区,北十四条西（５〜１３丁目）,1,0,1,0,yubin",
    "01102,001,0010002,ホッカイドウ,サッポロシキタク,キタ２ジョウニシ,北海道,札幌市北区,北二条西,0,"
    "0,1,0,yubin",
    // 札幌市清田区: the second source blanked the catch-all.
    "01110,,0040000,ホッカイドウ,サッポロシキヨタク,,北海道,札幌市清田区,,,,,1,jpostal",
    // 南富良野町: named parts, and the second source's cleaned copy of one of them.
    "01462,079,0792401,ホッカイドウ,ソラチグンミナミフラノチョウ,イクトラ（サカエマチ）,北海道,"
    "空知郡南富良野町,幾寅（栄町）,1,0,0,0,yubin",
    "01462,,0792401,ホッカイドウ,ソラチグンミナミフラノチョウ,イクトラ,北海道,空知郡南富良野町,"
    "幾寅,"
    ",,,1,jpostal",
    "01462,079,0792402,ホッカイドウ,ソラチグンミナミフラノチョウ,イクトラ（ニシマチ）,北海道,"
    "空知郡南富良野町,幾寅（西町）,1,0,0,0,yubin",
    // 新宿区: buildings excepted, a building by floor, a plain town.
    "13104,160,1600000,トウキョウト,シンジュクク,イカニケイサイガナイバアイ,東京都,新宿区,"
    "以下に掲載がない場合,0,0,0,0,yubin",
    "13104,160,1600023,トウキョウト,シンジュクク,ニシシンジュク（ツギノビルヲノゾク）,東京都,"
    "新宿区,"
    "西新宿（次のビルを除く）,0,0,1,0,yubin",
    "13104,163,1630401,トウキョウト,シンジュクク,ニシシンジュクシンジュクミツイビル（１カイ）,"
    "東京都,"
    "新宿区,西新宿新宿三井ビル（１階）,0,0,0,0,yubin",
    "13104,163,1630402,トウキョウト,シンジュクク,ニシシンジュクシンジュクミツイビル（２カイ）,"
    "東京都,"
    "新宿区,西新宿新宿三井ビル（２階）,0,0,0,0,yubin",
    "13104,163,1630490,トウキョウト,シンジュクク,ニシシンジュクシンジュクミツイビル（チカイ・"
    "カイソウフメイ）,東京都,新宿区,西新宿新宿三井ビル（地階・階層不明）,0,0,0,0,yubin",
    "13104,162,1620842,トウキョウト,シンジュクク,イチガヤサドハラチョウ,東京都,新宿区,市谷砂土原町,"
    "0,"
    "0,0,0,yubin",
    // 神津島村: the whole village one code.
    "13364,100,1000601,トウキョウト,コウヅシマムラ,コウヅシマムライチエン,東京都,神津島村,"
    "神津島村一円,0,0,0,0,yubin",
    // 白山市: a named part beside the town in general; "その他".
    "17206,922,9220276,イシカワケン,ハクサンシ,カワミナミマチ（ヨドマチ）,石川県,白山市,"
    "河南町（淀町）,"
    "1,0,0,0,yubin",
    "17206,922,9220277,イシカワケン,ハクサンシ,カワミナミマチ,石川県,白山市,河南町,1,0,0,0,yubin",
    "17206,920,9200001,イシカワケン,ハクサンシ,ミナミ（１チョウメ）,石川県,白山市,南（１丁目）,0,0,"
    "1,"
    "0,yubin",
    "17206,920,9200002,イシカワケン,ハクサンシ,ミナミ（ソノタ）,石川県,白山市,南（その他）,0,0,1,0,"
    "yubin",
    // One code, but only where the parts listed elsewhere do not apply.
    "17206,920,9200003,イシカワケン,ハクサンシ,キタ（ソノタ）,石川県,白山市,北（その他）,0,0,0,0,"
    "yubin",
    // A town named 一円, as 多賀町 has one: not the city as a whole.
    "17206,922,9220999,イシカワケン,ハクサンシ,イチエン,石川県,白山市,一円,0,0,0,0,yubin",
    // One code in two prefectures.
    "23235,498,4980000,アイチケン,ヤトミシ,イカニケイサイガナイバアイ,愛知県,弥富市,"
    "以下に掲載がない場合,0,0,0,1,yubin",
    "24303,,4980000,ミエケン,クワナグンキソサキチョウ,,三重県,桑名郡木曽岬町,,,,,1,jpostal",
    // Towns whose old code is not the beginning of today's.
    "23235,49014,4980060,アイチケン,ヤトミシ,アケボノ,愛知県,弥富市,曙,0,0,1,0,yubin",
    "23235,49014,4980040,アイチケン,ヤトミシ,エイナンチョウ,愛知県,弥富市,栄南町,0,0,0,0,yubin",
};

const char* const kJigyosyoRows[] = {
    "01102,001,0018501,北海道,札幌市北区,北二十九条西,２丁目１番１号,"
    "学校法人　創成学園　札幌創成高等学校,ｶﾞﾂｺｳﾎｳｼﾞﾝ ｿｳｾｲｶﾞｸｴﾝ ｻﾂﾎﾟﾛｿｳｾｲｺｳﾄｳｶﾞﾂｺｳ,札幌北,0",
    "13104,163,1638001,東京都,新宿区,西新宿,２丁目８−１,東京都庁,ﾄｳｷﾖｳﾄﾁﾖｳ,新宿,0",
};

const char* const kExchangeRows[] = {
    "0117\t01102\t北海道\t札幌市北区\t北十条西\t",
    "011700\t01102\t北海道\t札幌市北区\t\t",
    "011700\t01102\t北海道\t札幌市北区\t北十四条西\t３丁目",
    "033340\t01102\t北海道\t札幌市北区\t北十四条西\t７丁目",
    "033340\t13104\t東京都\t新宿区\t市谷砂土原町\t",
    "033340\t13104\t東京都\t新宿区\t西新宿\t２丁目",
    "033340\t13104\t東京都\t新宿区\t存在しない町\t",
    "033340\t99999\t東京都\t無い市\t何処か\t",
    "04992\t13364\t東京都\t神津島村\t\t",
    "076120\t17206\t石川県\t白山市\t南\t５丁目",
    "076120\t17206\t石川県\t白山市\t\t",
};

void writeLines(const QString& path, const char* const* rows, std::size_t count) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (std::size_t i = 0; i < count; ++i) {
        file.write(rows[i]);
        file.write("\n");
    }
}

} // namespace

QString cp932(const QByteArray& bytes) {
    return pikotel::jtext::fromCp932(bytes);
}

QStringList prefectureCodes(ZipComponent& zip, const QString& text) {
    QStringList out;
    const int n = zip.QueryPrefectures(text, 0, 0);
    EXPECT_GE(n, 0);
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(zip.GetPrefecture(i, code, name, reading));
        out.append(cp932(code));
    }
    return out;
}

QStringList cityCodes(ZipComponent& zip, int pref, const QString& text) {
    QStringList out;
    const int n = zip.QueryCities(text, 0, pref, 0);
    EXPECT_GE(n, 0);
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(zip.GetCity(i, code, name, reading));
        out.append(cp932(code));
    }
    return out;
}

std::vector<TownRow> towns(ZipComponent& zip, int city, const QString& text) {
    std::vector<TownRow> out;
    const int n = zip.QueryTowns(text, 0, city, 0);
    EXPECT_GE(n, 0);
    QByteArray code, name, reading, note, noteReading;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(zip.GetTown(i, code, name, reading, note, noteReading));
        out.push_back({cp932(code), cp932(name), cp932(note)});
    }
    return out;
}

std::vector<BlockRow> blocks(ZipComponent& zip, int city, const QString& town,
                             const QString& text) {
    std::vector<BlockRow> out;
    const int n = zip.QueryBlocks(text, 0, town, city, 0);
    EXPECT_GE(n, 0);
    QByteArray code, name, reading;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(zip.GetBlock(i, code, name, reading));
        out.push_back({cp932(code), cp932(name)});
    }
    return out;
}

namespace {
QStringList codeRecords(ZipComponent& zip, int n) {
    QStringList out;
    EXPECT_GE(n, 0) << qPrintable(zip.LastError().description);
    ZipComponent::CodeRecord r;
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(zip.GetCodeRecord(i, r));
        out.append(cp932(r[10]) + QLatin1Char(' ') + cp932(r[0] + r[2] + r[4] + r[6] + r[8]));
    }
    return out;
}
} // namespace

QStringList searchCode(ZipComponent& zip, const QString& digits) {
    return codeRecords(zip, zip.SearchCode(digits));
}

QStringList searchOldCode(ZipComponent& zip, const QString& digits) {
    return codeRecords(zip, zip.SearchOldCode(digits));
}

void SmallDictionary::SetUp() {
    kenFile = dir.file(QStringLiteral("ken.csv"));
    jigyosyoFile = dir.file(QStringLiteral("jigyosyo.csv"));
    exchangeFile = dir.file(QStringLiteral("exchange.tsv"));
    writeLines(kenFile, kKenRows, std::size(kKenRows));
    writeLines(jigyosyoFile, kJigyosyoRows, std::size(kJigyosyoRows));
    writeLines(exchangeFile, kExchangeRows, std::size(kExchangeRows));
}

bool SmallDictionary::build(QString& error, bool withExchanges) {
    zipcomp::ZipDictionaryBuilder builder;
    if (!builder.readAddresses(kenFile, error) || !builder.readBusinesses(jigyosyoFile, error) ||
        (withExchanges && !builder.readExchanges(exchangeFile, error)))
        return false;
    const auto licence = zipcomp::verifyKeyBlock(QString::fromLatin1(zipcomp::kProgramKeyBlock));
    const QByteArray image = builder.build(20240131, *licence);
    warnings = builder.warnings();
    return zipcomp::ZipDictionaryBuilder::write(image, zipFolder(), error);
}

void SmallDictionary::open(ZipComponent& zip) {
    QString error;
    ASSERT_TRUE(build(error)) << qPrintable(error);
    zip.SetKeyBlock(QString::fromLatin1(zipcomp::kProgramKeyBlock));
    zip.SetFolder(zipFolder());
    ASSERT_EQ(zip.OpenDictionary(), zipcomp::kOpened) << qPrintable(zip.LastError().description);
}

} // namespace pikotel::test
