// The dictionary the build makes from the real postal data, checked against the source
// files themselves: every code, every city, every exchange row.

#include "zipfixture.h"

#include "jtext/cp932.h"

#include <QFile>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

using namespace pikotel::test;
using namespace pikotel::zipcomp;

namespace {

struct Source {
    // Code → "code address" per distinct source row, in the order the search must give them.
    std::map<QString, QStringList> byCode;
    // Address rows that repeat an earlier row's code and address.
    int duplicates = 0;
    // Old code → "code address" per address row under it, in code order.
    std::map<QString, QStringList> byOldCode;
    // The codes of the address rows.
    std::set<QString> addressCodes;
    // Municipality code → the codes of its address rows.
    std::map<int, std::set<QString>> cityCodes;
};

void readRows(const QString& path, qsizetype columns,
              const std::function<void(const QStringList&)>& row) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        const QStringList f = QString::fromUtf8(line).split(QLatin1Char(','));
        ASSERT_EQ(f.size(), columns);
        row(f);
    }
}

const Source& source() {
    static const Source s = [] {
        Source out;
        const QString folder = QStringLiteral(PIKOTEL_ZIPTEST_SOURCE_DIR);
        readRows(
            folder + QStringLiteral("/ken_all_merged.utf8.csv"), 14, [&](const QStringList& f) {
                const QString town = f[8].isEmpty() ? QStringLiteral("以下に掲載がない場合") : f[8];
                const QString row =
                    f[2] + QLatin1Char(' ') + pikotel::jtext::withCp932Forms(f[6] + f[7] + town);
                QStringList& rows = out.byCode[f[2]];
                if (rows.contains(row))
                    ++out.duplicates;
                else
                    rows.append(row);
                if (!f[1].isEmpty())
                    out.byOldCode[f[1]].append(row);
                out.addressCodes.insert(f[2]);
                out.cityCodes[f[0].toInt()].insert(f[2]);
            });
        readRows(folder + QStringLiteral("/jigyosyo_from_yubin.utf8.csv"), 11,
                 [&](const QStringList& f) {
                     out.byCode[f[2]].append(
                         f[2] + QLatin1Char(' ') +
                         pikotel::jtext::withCp932Forms(f[3] + f[4] + f[5] + f[6] + f[7]));
                 });
        // Rows of one code keep their file order.
        for (auto& [old, rows] : out.byOldCode) {
            std::stable_sort(rows.begin(), rows.end(), [](const QString& a, const QString& b) {
                return a.left(7) < b.left(7);
            });
        }
        return out;
    }();
    return s;
}

class ZipRealData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zip = new ZipComponent;
        zip->SetKeyBlock(QString::fromLatin1(kProgramKeyBlock));
        zip->SetFolder(QStringLiteral(PIKOTEL_ZIPTEST_DICT_DIR));
        opened = zip->OpenDictionary();
    }
    static void TearDownTestSuite() {
        delete zip;
        zip = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(opened, kOpened) << qPrintable(zip->LastError().description);
        ASSERT_FALSE(source().byCode.empty());
    }
    static inline ZipComponent* zip = nullptr;
    static inline int opened = -1;
};

TEST_F(ZipRealData, EverySevenDigitCodeGivesExactlyItsSourceRows) {
    for (const auto& [code, rows] : source().byCode)
        ASSERT_EQ(searchCode(*zip, code), rows) << qPrintable(code);
    EXPECT_EQ(source().byCode.size(), 142875u);
}

// The second source repeats rows; the search lists each address of a code once.
TEST_F(ZipRealData, RepeatedRowsAreListedOnce) {
    EXPECT_EQ(source().duplicates, 321);
    EXPECT_EQ(searchCode(*zip, QStringLiteral("9390351")),
              QStringList{QStringLiteral("9390351 富山県射水市戸破")});
    EXPECT_EQ(searchCode(*zip, QStringLiteral("7440061")),
              QStringList{QStringLiteral("7440061 山口県下松市河内")});
    // Of one address read two ways, Japan Post's reading stands.
    ASSERT_EQ(zip->SearchCode(QStringLiteral("6730012")), 1);
    ZipComponent::CodeRecord record;
    ASSERT_TRUE(zip->GetCodeRecord(0, record));
    EXPECT_EQ(cp932(record[5]), QStringLiteral("カニガサカ"));
}

TEST_F(ZipRealData, PrefixesGiveEveryRowBeneathThemInCodeOrder) {
    for (const int length : {3, 5}) {
        std::map<QString, QStringList> byPrefix;
        for (const auto& [code, rows] : source().byCode)
            byPrefix[code.left(length)] += rows;
        for (const auto& [prefix, rows] : byPrefix)
            ASSERT_EQ(searchCode(*zip, prefix), rows) << qPrintable(prefix);
    }
}

// Every old code gives the address rows under it. For 829 of them the codes differ from
// those beginning with the old code's digits; 274 reach rows those leave out.
TEST_F(ZipRealData, EveryOldCodeGivesItsAddresses) {
    int differing = 0;
    int reachingFurther = 0;
    int rowsFurther = 0;
    for (const auto& [old, rows] : source().byOldCode) {
        ASSERT_EQ(searchOldCode(*zip, old), rows) << qPrintable(old);
        std::set<QString> codes;
        int further = 0;
        for (const QString& row : rows) {
            codes.insert(row.left(7));
            further += row.startsWith(old) ? 0 : 1;
        }
        std::set<QString> beneath;
        for (auto c = source().addressCodes.lower_bound(old);
             c != source().addressCodes.end() && c->startsWith(old); ++c)
            beneath.insert(*c);
        differing += codes != beneath ? 1 : 0;
        reachingFurther += further > 0 ? 1 : 0;
        rowsFurther += further;
    }
    EXPECT_EQ(source().byOldCode.size(), 5013u);
    EXPECT_EQ(differing, 829);
    EXPECT_EQ(reachingFurther, 274);
    EXPECT_EQ(rowsFurther, 3707);
}

// Every town and every block once, as a user tells them apart in the lists: a town by its
// name and note, a block by its name within its town.
TEST_F(ZipRealData, EveryTownOnceAndEveryBlockCodeFromTheSource) {
    int townsSharingAName = 0;
    int blocksWithCode = 0;
    int listsWithCodes = 0;
    for (const auto& [city, codes] : source().cityCodes) {
        std::set<QString> items;
        std::map<QString, int> byName;
        std::set<QString> reached;
        for (const TownRow& town : towns(*zip, city)) {
            ASSERT_TRUE(items.insert(town.name + town.note).second)
                << city << " " << qPrintable(town.name + town.note);
            ++byName[town.name];
            if (!town.code.isEmpty()) {
                ASSERT_TRUE(codes.contains(town.code)) << city << " " << qPrintable(town.code);
                EXPECT_TRUE(blocks(*zip, city, town.name).empty());
                reached.insert(town.code);
                continue;
            }
            ASSERT_TRUE(town.note.isEmpty());
            const std::vector<BlockRow> list = blocks(*zip, city, town.name);
            ASSERT_FALSE(list.empty()) << city << " " << qPrintable(town.name);
            std::set<QString> names;
            int withCode = 0;
            for (const BlockRow& block : list) {
                ASSERT_TRUE(codes.contains(block.code)) << city << " " << qPrintable(block.code);
                ASSERT_TRUE(names.insert(block.name).second)
                    << city << " " << qPrintable(town.name + block.name);
                const QString label =
                    QStringLiteral("（%1-%2）").arg(block.code.left(3), block.code.mid(3));
                withCode += block.name.endsWith(label) ? 1 : 0;
                reached.insert(block.code);
            }
            blocksWithCode += withCode;
            listsWithCodes += withCode > 0 ? 1 : 0;
        }
        for (const auto& [name, count] : byName)
            townsSharingAName += count > 1 ? count : 0;
        // And nothing of the city is out of reach.
        EXPECT_EQ(reached, codes) << city;
    }
    EXPECT_EQ(townsSharingAName, 2);
    EXPECT_EQ(blocksWithCode, 38);
    EXPECT_EQ(listsWithCodes, 14);
}

// Two towns of one name are two towns, their readings beside them; blocks of one name
// carry their codes.
TEST_F(ZipRealData, OneNameWithTwoCodesIsToldApart) {
    QStringList toei;
    for (const TownRow& town : towns(*zip, 15101)) {
        if (town.name == QStringLiteral("東栄町"))
            toei.append(town.code + u' ' + town.name + town.note);
    }
    EXPECT_EQ(toei, QStringList({QStringLiteral("9503323 東栄町（トウエイチョウ）"),
                                 QStringLiteral("9503104 東栄町（ヒガシサカエマチ）")}));
    QStringList tsuruga;
    for (const BlockRow& block : blocks(*zip, 20201, QStringLiteral("鶴賀"))) {
        if (block.name.startsWith(QStringLiteral("鶴賀")))
            tsuruga.append(block.code + u' ' + block.name);
    }
    EXPECT_EQ(tsuruga, QStringList({QStringLiteral("3800812 鶴賀（380-0812）"),
                                    QStringLiteral("3800815 鶴賀（380-0815）"),
                                    QStringLiteral("3800821 鶴賀（380-0821）"),
                                    QStringLiteral("3800833 鶴賀（380-0833）"),
                                    QStringLiteral("3800901 鶴賀（380-0901）"),
                                    QStringLiteral("3800907 鶴賀（380-0907）")}));
}

// Run when the build put an exchange-code table into the dictionary: every row of it makes
// its prefecture, city and town candidates for a number of that exchange.
TEST_F(ZipRealData, EveryExchangeRowIsACandidateOfItsNumbers) {
    const QString table = QStringLiteral(PIKOTEL_ZIPTEST_EXCHANGE_TABLE);
    if (table.isEmpty())
        GTEST_SKIP() << "no exchange-code table configured";
    QFile file(table);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<int, std::vector<TownRow>> townsOfCity;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        const QStringList f = QString::fromUtf8(line).split(QLatin1Char('\t'));
        ASSERT_EQ(f.size(), 6);
        const QString number = f[0] + QStringLiteral("0000");
        const int city = f[1].toInt();
        ASSERT_TRUE(prefectureCodes(*zip, number).contains(f[1].left(2))) << qPrintable(line);
        ASSERT_TRUE(cityCodes(*zip, city / 1000, number).contains(f[1])) << qPrintable(line);
        // A row without a town stands for the town that covers the whole city.
        const auto named = [&](const TownRow& t) {
            if (!f[4].isEmpty())
                return t.name == pikotel::jtext::withCp932Forms(f[4]);
            return t.name == QStringLiteral("以下に掲載がない場合") ||
                   t.name.endsWith(QStringLiteral("一円"));
        };
        const std::vector<TownRow> candidates = towns(*zip, city, number);
        const auto found = std::find_if(candidates.begin(), candidates.end(), named);
        ASSERT_NE(found, candidates.end()) << qPrintable(line);
        // Every town of the name: 新潟市北区's two 東栄町.
        if (!f[4].isEmpty()) {
            if (!townsOfCity.contains(city))
                townsOfCity[city] = towns(*zip, city);
            const std::vector<TownRow>& all = townsOfCity[city];
            EXPECT_EQ(std::count_if(candidates.begin(), candidates.end(), named),
                      std::count_if(all.begin(), all.end(), named))
                << qPrintable(line);
        }
        if (found->code.isEmpty()) {
            EXPECT_FALSE(blocks(*zip, city, found->name, number).empty()) << qPrintable(line);
        }
    }
}

TEST_F(ZipRealData, SpecialTownsKeepTheirTexts) {
    const std::vector<TownRow> kita = towns(*zip, 1102);
    ASSERT_FALSE(kita.empty());
    EXPECT_EQ(kita.front().name, QStringLiteral("以下に掲載がない場合"));
    EXPECT_EQ(kita.front().code, QStringLiteral("0010000"));
    const std::vector<BlockRow> shinjuku = blocks(*zip, 13104, QStringLiteral("西新宿"));
    ASSERT_EQ(shinjuku.size(), 1u);
    EXPECT_EQ(shinjuku.front().name, QStringLiteral("次のビルを除く"));
    const std::vector<TownRow> kozu = towns(*zip, 13364);
    ASSERT_EQ(kozu.size(), 1u);
    EXPECT_EQ(kozu.front().name, QStringLiteral("神津島村一円"));
}

} // namespace
