// The shipped sample (the 300,000 listings `make run` starts with), read as a user of a real
// directory would: how common the surnames are, how they are read, whether numbers fit the
// municipality, and whether business and building names fit their places.

#include "jtext/csv.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Listing {
    QString number, name, reading;
    int kind = 0;
    QString pref, city, cityCode, town, block;
    QString surname() const { return name.section(u'　', 0, 0); }
    QString surnameReading() const { return reading.section(u'　', 0, 0); }
    QString givenName() const { return name.section(u'　', 1); }
    QString givenReading() const { return reading.section(u'　', 1); }
};

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Tab-separated rows of a source file, "#" comments and the header left out.
std::vector<QStringList> readTsv(const QString& path) {
    std::vector<QStringList> rows;
    const QStringList lines = QString::fromUtf8(readBytes(path)).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(u'#'))
            rows.push_back(lines[i].split(u'\t'));
    }
    if (!rows.empty())
        rows.erase(rows.begin());
    return rows;
}

class ShippedSample : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        listings_ = std::make_unique<std::vector<Listing>>();
        const QByteArray text =
            readBytes(QStringLiteral(PIKOTEL_SAMPLE_LISTINGS_DIR) + u"/listings.csv"_s);
        pikotel::jtext::CsvReader reader(std::string_view(text.constData(), text.size()));
        pikotel::jtext::CsvRow row;
        reader.next(row); // the header
        while (reader.next(row)) {
            const QStringList f = row.texts();
            if (f.size() == 10)
                listings_->push_back(
                    {f[0], f[1], f[2], f[3].toInt(), f[5], f[6], f[7], f[8], f[9]});
        }
        areaCodes_ = std::make_unique<QHash<QString, QString>>();
        for (const QStringList& r :
             readTsv(QStringLiteral(PIKOTEL_SOURCE_DATA_DIR) + u"/areacodes.tsv"_s)) {
            if (r.size() >= 4)
                areaCodes_->insert(r[0], r[3]);
        }
    }
    static void TearDownTestSuite() {
        listings_.reset();
        areaCodes_.reset();
    }

    static std::map<QString, int> surnameCounts(int* people) {
        std::map<QString, int> counts;
        *people = 0;
        for (const Listing& l : *listings_) {
            if (l.kind == 1) {
                ++counts[l.surname()];
                ++*people;
            }
        }
        return counts;
    }

    static inline std::unique_ptr<std::vector<Listing>> listings_;
    static inline std::unique_ptr<QHash<QString, QString>> areaCodes_;
};

TEST_F(ShippedSample, HoldsThreeHundredThousandListings) {
    EXPECT_EQ(listings_->size(), 300000u);
    EXPECT_GT(areaCodes_->size(), 1800);
}

TEST_F(ShippedSample, SatoAndSuzukiLeadTheSurnamesAsInThePublishedCounts) {
    int people = 0;
    const std::map<QString, int> counts = surnameCounts(&people);
    std::vector<std::pair<int, QString>> ranked;
    for (const auto& [name, n] : counts)
        ranked.emplace_back(n, name);
    std::sort(ranked.rbegin(), ranked.rend());
    ASSERT_GE(ranked.size(), 10u);
    EXPECT_EQ(QSet<QString>({ranked[0].second, ranked[1].second}),
              QSet<QString>({u"佐藤"_s, u"鈴木"_s}));
    for (int i = 0; i < 2; ++i) {
        const double share = 100.0 * ranked[i].first / people;
        EXPECT_GE(share, 1.0) << ranked[i].second.toStdString();
        EXPECT_LE(share, 2.0) << ranked[i].second.toStdString();
    }
    int topTen = 0;
    for (int i = 0; i < 10; ++i)
        topTen += ranked[i].first;
    EXPECT_GE(100.0 * topTen / people, 7.0);
    EXPECT_LE(100.0 * topTen / people, 13.0);
    // Names of well-known people no longer outnumber the common ones; a long tail remains.
    EXPECT_LT(counts.count(u"三塚"_s) ? counts.at(u"三塚"_s) : 0, ranked[99].first);
    EXPECT_GT(counts.size(), 5000u);
}

TEST_F(ShippedSample, WrittenNamesMostlyTakeTheirUsualReading) {
    std::map<std::pair<QString, QString>, int> surnames;
    std::map<std::pair<QString, QString>, int> givenNames;
    for (const Listing& l : *listings_) {
        if (l.kind != 1)
            continue;
        ++surnames[{l.surname(), l.surnameReading()}];
        ++givenNames[{l.givenName(), l.givenReading()}];
    }
    const auto count = [](const auto& m, const QString& written, const QString& reading) {
        const auto it = m.find({written, reading});
        return it == m.end() ? 0 : it->second;
    };
    EXPECT_GT(count(surnames, u"新田"_s, u"ニッタ"_s),
              3 * count(surnames, u"新田"_s, u"シンデン"_s));
    EXPECT_GT(count(surnames, u"反町"_s, u"ソリマチ"_s), count(surnames, u"反町"_s, u"タンマチ"_s));
    EXPECT_GT(count(surnames, u"河野"_s, u"コウノ"_s), count(surnames, u"河野"_s, u"カワノ"_s));
    // Place names ipadic lists as surnames: a municipality's name is rare, a region's absent.
    EXPECT_LE(count(surnames, u"幌延"_s, u"ホロノベ"_s), 4);
    for (const QString& region : {u"鹿西"_s, u"胆振"_s, u"金砂郷"_s}) {
        const auto carried = std::count_if(surnames.begin(), surnames.end(),
                                           [&](const auto& e) { return e.first.first == region; });
        EXPECT_EQ(carried, 0) << region.toStdString();
    }
    EXPECT_LE(count(givenNames, u"禾"_s, u"ヒイズ"_s), 5);
    EXPECT_LT(count(givenNames, u"保幸"_s, u"ヤスコ"_s),
              count(givenNames, u"保幸"_s, u"ヤスユキ"_s) + 3);
}

TEST_F(ShippedSample, EveryNumberBeginsWithItsMunicipalitysAreaCode) {
    int wrong = 0;
    for (const Listing& l : *listings_) {
        const auto code = areaCodes_->constFind(l.cityCode);
        ASSERT_NE(code, areaCodes_->constEnd()) << l.cityCode.toStdString();
        if (!l.number.startsWith(*code + u'-') && ++wrong <= 5)
            ADD_FAILURE() << l.number.toStdString() << " in " << l.city.toStdString();
        // Fixed lines have ten digits.
        EXPECT_EQ(QString(l.number).remove(u'-').size(), 10) << l.number.toStdString();
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(ShippedSample, TokyoAndOsakaExchangesBeginWithTheirRealDigits) {
    std::map<QChar, int> tokyo;
    std::map<QChar, int> osaka;
    for (const Listing& l : *listings_) {
        if (l.number.startsWith(u"03-"))
            ++tokyo[l.number[3]];
        else if (l.number.startsWith(u"06-"))
            ++osaka[l.number[3]];
    }
    for (const QChar c : {u'2', u'7', u'8', u'9'})
        EXPECT_EQ(tokyo[c], 0) << "03-" << QString(c).toStdString();
    const int tokyoAll = tokyo[u'3'] + tokyo[u'4'] + tokyo[u'5'] + tokyo[u'6'];
    EXPECT_GT(tokyoAll, 10000);
    EXPECT_LT(tokyo[u'4'] * 10, tokyoAll) << "only a few 03-4";
    for (const QChar c : {u'3', u'5', u'6'})
        EXPECT_GT(tokyo[c] * 5, tokyoAll) << "03-" << QString(c).toStdString();
    const int osakaAll = osaka[u'4'] + osaka[u'6'];
    EXPECT_GT(osakaAll, 3000);
    EXPECT_GT(osaka[u'6'], osaka[u'4']);
    EXPECT_GT(osaka[u'4'], 0);
    for (const auto& [c, n] : osaka)
        EXPECT_TRUE(c == u'4' || c == u'6') << "06-" << QString(c).toStdString();
}

TEST_F(ShippedSample, BusyTownsSpreadOverSeveralExchanges) {
    std::map<std::pair<QString, QString>, QSet<QString>> exchanges;
    std::map<std::pair<QString, QString>, int> listings;
    for (const Listing& l : *listings_) {
        const std::pair<QString, QString> town{l.cityCode, l.town};
        exchanges[town].insert(l.number.left(l.number.lastIndexOf(u'-')));
        ++listings[town];
    }
    int busy = 0;
    for (const auto& [town, n] : listings) {
        if (n < 50)
            continue;
        ++busy;
        EXPECT_GE(exchanges[town].size(), 2)
            << town.first.toStdString() << " " << town.second.toStdString() << ": " << n;
    }
    EXPECT_GT(busy, 20);
}

TEST_F(ShippedSample, BusinessAndBuildingNamesFitTheirPlaces) {
    QSet<QString> givenOnly;
    QSet<QString> surnames;
    for (const QStringList& r :
         readTsv(QStringLiteral(PIKOTEL_SOURCE_DATA_DIR) + u"/names_ipadic_gimei.tsv"_s)) {
        if (r.size() >= 3)
            (r[0] == u"sei" ? surnames : givenOnly).insert(r[2]);
    }
    givenOnly.subtract(surnames);
    int buildings = 0;
    for (const Listing& l : *listings_) {
        if (l.kind == 2) {
            EXPECT_FALSE(!l.town.isEmpty() && l.name.startsWith(l.town) &&
                         l.name.endsWith(u"大学病院"))
                << l.name.toStdString();
            EXPECT_FALSE(l.name.endsWith(u"大社")) << l.name.toStdString();
            EXPECT_FALSE(l.city.endsWith(u'区') &&
                         (l.name.contains(u"カントリークラブ") || l.name.contains(u"倶楽部")))
                << l.name.toStdString() << " in " << l.city.toStdString();
        }
        const qsizetype mansion = l.block.indexOf(u"マンション");
        if (mansion < 0)
            continue;
        ++buildings;
        const QString building = l.block.mid(l.block.indexOf(u'　') + 1, -1);
        const QString owner = building.left(building.indexOf(u"マンション"));
        // Named after the town or a family, never after a given name ("奈瑞菜マンション").
        EXPECT_TRUE(owner == l.town || (surnames.contains(owner) && !givenOnly.contains(owner)))
            << l.block.toStdString();
    }
    EXPECT_GT(buildings, 1000);
}

} // namespace
