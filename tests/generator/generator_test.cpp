#include "generator.h"

#include "common/textfold.h"
#include "search/industry/industryvocab.h"
#include "support/testdirs.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <tuple>

using namespace Qt::StringLiterals;
using pikotel::gen::generateListings;
using pikotel::gen::GeneratorOptions;

namespace {

const QString kSourceData = QStringLiteral(PIKOTEL_SOURCE_DATA_DIR);

struct Listing {
    QString number, name, reading;
    int kind = 0;
    QString zip, pref, city, cityCode, town, block;
};

// RFC 4180 with LF records; false on a malformed record.
bool parseCsv(const QString& text, std::vector<QStringList>* records) {
    QStringList fields;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"') {
            if (!field.isEmpty() || wasQuoted)
                return false;
            quoted = wasQuoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\n') {
            fields << field;
            records->push_back(fields);
            fields.clear();
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    return !quoted && field.isEmpty() && fields.isEmpty();
}

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "*" is any run of characters, everything else literal.
bool wildcardMatch(const QString& pattern, const QString& text) {
    const QStringList parts = pattern.split(u'*');
    if (parts.size() == 1)
        return pattern == text;
    if (!text.startsWith(parts.front()))
        return false;
    qsizetype at = parts.front().size();
    for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
        const qsizetype found = text.indexOf(parts[i], at);
        if (found < 0)
            return false;
        at = found + parts[i].size();
    }
    return text.size() - at >= parts.back().size() && text.endsWith(parts.back());
}

bool dropped(const pikotel::industry::Industry& industry, int patternNo, const QString& name) {
    for (const QString& word : pikotel::industry::exclusionWords(industry, patternNo)) {
        if (pikotel::textContains(name, word))
            return true;
    }
    return false;
}

bool isReadingChar(QChar c) {
    return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA) || c.unicode() == 0x30FC;
}

// The chōme part of a block: "３丁目１２－５" and "３－１２－５" ⇒ "３丁目"; lot numbers ⇒ "".
QString blockArea(const QString& block) {
    const QString address = block.section(u'　', 0, 0);
    const qsizetype chome = address.indexOf(u"丁目");
    if (chome >= 0)
        return address.left(chome + 2);
    if (address.count(u'－') == 2)
        return address.section(u'－', 0, 0) + u"丁目"_s;
    return {};
}

struct Sample {
    std::unique_ptr<pikotel::test::ScratchDir> dir;
    qint64 count = 0;
    std::vector<Listing> listings;
    QString csvText;
};

Sample generateSample(qint64 count, quint64 seed) {
    Sample s;
    s.dir = std::make_unique<pikotel::test::ScratchDir>();
    s.count = count;
    GeneratorOptions o;
    o.listings = count;
    o.seed = seed;
    o.outCsv = s.dir->file(QStringLiteral("listings.csv"));
    o.sourceDataDir = kSourceData;
    QString error;
    if (!generateListings(o, &error)) {
        ADD_FAILURE() << error.toStdString();
        return s;
    }
    s.csvText = readText(o.outCsv);
    std::vector<QStringList> records;
    if (!parseCsv(s.csvText, &records) || records.empty()) {
        ADD_FAILURE() << "listing CSV does not parse";
        return s;
    }
    for (std::size_t i = 1; i < records.size(); ++i) {
        const QStringList& f = records[i];
        if (f.size() != 10) {
            ADD_FAILURE() << "row " << i << " has " << f.size() << " fields";
            continue;
        }
        s.listings.push_back({f[0], f[1], f[2], f[3].toInt(), f[4], f[5], f[6], f[7], f[8], f[9]});
    }
    return s;
}

struct PostalRow {
    QString code, pref, city, town;
};

class GeneratorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        small_ = std::make_unique<Sample>(generateSample(1000, 42));
        large_ = std::make_unique<Sample>(generateSample(20000, 7));
        postal_ = std::make_unique<QMultiHash<QString, PostalRow>>();
        const QStringList lines =
            readText(kSourceData + u"/ken_all_merged.utf8.csv"_s).split(u'\n');
        for (const QString& line : lines) {
            const QStringList f = line.split(u',');
            if (f.size() >= 9)
                postal_->insert(f[2], {f[0], f[6], f[7], f[8]});
        }
    }
    static void TearDownTestSuite() {
        small_.reset();
        large_.reset();
        postal_.reset();
    }

    static inline std::unique_ptr<Sample> small_;
    static inline std::unique_ptr<Sample> large_;
    static inline std::unique_ptr<QMultiHash<QString, PostalRow>>
        postal_; // by seven-digit postal code
};

TEST_F(GeneratorTest, SameSeedGivesSameBytesAndAnotherSeedOthers) {
    const Sample again = generateSample(1000, 42);
    for (const QString& name : {u"listings.csv"_s, u"areas.csv"_s, u"exchange.tsv"_s}) {
        const QByteArray first = readBytes(small_->dir->file(name));
        EXPECT_FALSE(first.isEmpty()) << name.toStdString();
        EXPECT_EQ(first, readBytes(again.dir->file(name))) << name.toStdString();
    }
    const Sample other = generateSample(1000, 43);
    EXPECT_NE(small_->csvText, other.csvText);
}

TEST_F(GeneratorTest, WritesExactlyTheListingsAskedForInTheDocumentedColumns) {
    for (const Sample* s : {small_.get(), large_.get()}) {
        EXPECT_TRUE(s->csvText.startsWith(
            u"number,name,reading,kind,zip,pref,city,city_code,town,block\n"));
        EXPECT_TRUE(s->csvText.endsWith(u'\n'));
        EXPECT_EQ(static_cast<qint64>(s->listings.size()), s->count);
    }
    const QRegularExpression number(QStringLiteral("^(0\\d{1,4})-(\\d{1,4})-(\\d{4})$"));
    const QRegularExpression zip(QStringLiteral("^\\d{3}-\\d{4}$"));
    const QRegularExpression code(QStringLiteral("^\\d{5}$"));
    int personal = 0;
    int business = 0;
    for (const Listing& l : large_->listings) {
        const auto m = number.match(l.number);
        ASSERT_TRUE(m.hasMatch()) << l.number.toStdString();
        // Ten digits, the last four the subscriber's.
        EXPECT_EQ(m.captured(1).size() + m.captured(2).size(), 6) << l.number.toStdString();
        EXPECT_TRUE(zip.match(l.zip).hasMatch()) << l.zip.toStdString();
        EXPECT_TRUE(code.match(l.cityCode).hasMatch());
        EXPECT_FALSE(l.name.isEmpty());
        EXPECT_FALSE(l.block.isEmpty());
        for (const QChar c : l.block)
            EXPECT_GE(c.unicode(), 0x3000) << l.block.toStdString();
        const bool person = l.kind == 1;
        ASSERT_TRUE(person || l.kind == 2);
        (person ? personal : business) += 1;
        // Persons: surname, one ideographic blank, given name, in both fields.
        EXPECT_EQ(l.name.count(u'　'), person ? 1 : l.name.count(u'　'));
        EXPECT_EQ(l.reading.count(u'　'), person ? 1 : 0) << l.reading.toStdString();
        for (const QChar c : l.reading)
            EXPECT_TRUE(isReadingChar(c) || (person && c == u'　')) << l.reading.toStdString();
    }
    EXPECT_GT(personal, large_->count / 2);
    EXPECT_GT(business, large_->count / 4);
}

TEST_F(GeneratorTest, AddressesComeFromThePostalData) {
    for (const Listing& l : large_->listings) {
        const QString zip7 = QString(l.zip).remove(u'-');
        bool found = false;
        for (auto it = postal_->constFind(zip7);
             it != postal_->constEnd() && it.key() == zip7 && !found; ++it) {
            found = it->code == l.cityCode && it->pref == l.pref && it->city == l.city &&
                    it->town.startsWith(l.town);
        }
        EXPECT_TRUE(found) << l.zip.toStdString() << " " << l.city.toStdString() << " "
                           << l.town.toStdString();
        for (const QString& special :
             {u"以下に掲載がない場合"_s, u"場合"_s, u"一円"_s, u"（"_s, u"）"_s, u"〜"_s})
            EXPECT_FALSE(l.town.contains(special)) << l.town.toStdString();
    }
}

TEST_F(GeneratorTest, EveryPrefectureHasListingsRoughlyByPopulation) {
    std::map<QString, int> small;
    for (const Listing& l : small_->listings)
        ++small[l.pref];
    EXPECT_EQ(small.size(), 47u);
    std::map<QString, int> large;
    for (const Listing& l : large_->listings)
        ++large[l.pref];
    EXPECT_GT(large[u"東京都"_s], large[u"大阪府"_s]);
    EXPECT_GT(large[u"大阪府"_s], 5 * large[u"鳥取県"_s]);
    EXPECT_GT(large[u"神奈川県"_s], large[u"北海道"_s]);
}

TEST_F(GeneratorTest, NumbersAreUniqueExceptTheSharedOnes) {
    std::map<QString, std::vector<const Listing*>> byNumber;
    QSet<QString> digits;
    for (const Listing& l : large_->listings) {
        byNumber[l.number].push_back(&l);
        digits.insert(QString(l.number).remove(u'-'));
    }
    // The same ten digits are never hyphenated two ways.
    EXPECT_EQ(static_cast<std::size_t>(digits.size()), byNumber.size());
    int shared = 0;
    for (const auto& [number, rows] : byNumber) {
        if (rows.size() == 1)
            continue;
        ++shared;
        EXPECT_LE(rows.size(), 4u) << number.toStdString();
        QSet<QString> names;
        for (const Listing* l : rows) {
            names.insert(l->name);
            EXPECT_EQ(l->zip, rows.front()->zip);
            EXPECT_EQ(l->town, rows.front()->town);
            EXPECT_EQ(l->block, rows.front()->block);
        }
        EXPECT_GE(names.size(), 2) << number.toStdString();
    }
    EXPECT_GT(shared, 20);
    EXPECT_LT(shared, large_->count / 20);
}

TEST_F(GeneratorTest, NumbersCarryTheMunicipalitysAreaCode) {
    const std::vector<std::pair<QString, QString>> expected = {
        {u"札幌市"_s, u"011-"_s}, {u"千代田区"_s, u"03-"_s},  {u"世田谷区"_s, u"03-"_s},
        {u"横浜市"_s, u"045-"_s}, {u"名古屋市"_s, u"052-"_s}, {u"大阪市"_s, u"06-"_s},
        {u"京都市"_s, u"075-"_s}, {u"神戸市"_s, u"078-"_s},   {u"福岡市"_s, u"092-"_s},
        {u"仙台市"_s, u"022-"_s}, {u"広島市"_s, u"082-"_s},   {u"那覇市"_s, u"098-"_s}};
    for (const auto& [city, prefix] : expected) {
        int seen = 0;
        for (const Listing& l : large_->listings) {
            if (!l.city.startsWith(city))
                continue;
            ++seen;
            EXPECT_TRUE(l.number.startsWith(prefix))
                << l.city.toStdString() << " " << l.number.toStdString();
        }
        EXPECT_GT(seen, 0) << city.toStdString();
    }
}

TEST_F(GeneratorTest, EveryIndustryPatternFindsNamesItsExclusionsKeep) {
    const auto industries = pikotel::industry::builtinIndustries();
    ASSERT_EQ(industries.size(), 49u);
    QStringList names;
    for (const Listing& l : large_->listings) {
        if (l.kind == 2)
            names << l.name;
    }
    for (const auto& industry : industries) {
        const QStringList patterns = pikotel::industry::searchPatterns(industry);
        for (qsizetype p = 0; p < patterns.size(); ++p) {
            const QString& pattern = patterns[p];
            const int patternNo = static_cast<int>(p) + 1;
            int found = 0;
            int kept = 0;
            for (const QString& name : names) {
                if (!wildcardMatch(pattern, name))
                    continue;
                ++found;
                kept += dropped(industry, patternNo, name) ? 0 : 1;
            }
            const std::string where = (industry.name.toString() + u' ' + pattern).toStdString();
            EXPECT_GE(found, 8) << where;
            // "らーめん" among pattern 17's own exclusion words folds to "ラーメン" under the
            // kana-blind comparison: whatever "*ラーメン*" finds, it drops.
            if (industry.name == u"飲食店" && patternNo == 17)
                EXPECT_EQ(kept, 0) << where;
            else
                EXPECT_GE(kept, 8) << where;
        }
    }
}

TEST_F(GeneratorTest, DecoysAreFoundAndDroppedForEveryIndustryWithExclusions) {
    QStringList names;
    for (const Listing& l : large_->listings) {
        if (l.kind == 2)
            names << l.name;
    }
    for (const auto& industry : pikotel::industry::builtinIndustries()) {
        if (industry.exclusions.empty())
            continue;
        const QStringList patterns = pikotel::industry::searchPatterns(industry);
        int decoys = 0;
        for (const QString& name : names) {
            for (qsizetype p = 0; p < patterns.size(); ++p) {
                const int patternNo = static_cast<int>(p) + 1;
                if (wildcardMatch(patterns[p], name) && dropped(industry, patternNo, name)) {
                    ++decoys;
                    break;
                }
            }
        }
        EXPECT_GE(decoys, 5) << industry.name.toString().toStdString();
    }
}

TEST_F(GeneratorTest, AreaTableListsEveryMunicipalityInCodeOrder) {
    std::vector<QStringList> rows;
    ASSERT_TRUE(parseCsv(readText(large_->dir->file(QStringLiteral("areas.csv"))), &rows));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), QStringList({u"city_code"_s, u"pref"_s, u"city"_s}));
    std::map<QString, std::pair<QString, QString>> areas;
    QString previous;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3);
        EXPECT_LT(previous, rows[i][0]);
        previous = rows[i][0];
        areas[rows[i][0]] = {rows[i][1], rows[i][2]};
    }
    QSet<QString> postalCodes;
    for (const PostalRow& r : *postal_)
        postalCodes.insert(r.code);
    EXPECT_EQ(areas.size(), static_cast<std::size_t>(postalCodes.size()));
    EXPECT_EQ(areas.count(u"01100"_s), 0u) << "a designated city stands as its wards";
    for (const Listing& l : large_->listings) {
        const auto it = areas.find(l.cityCode);
        ASSERT_NE(it, areas.end()) << l.cityCode.toStdString();
        EXPECT_EQ(it->second, std::make_pair(l.pref, l.city));
    }
}

TEST_F(GeneratorTest, ExchangeTableHoldsExactlyTheListingsAreas) {
    const QString text = readText(large_->dir->file(QStringLiteral("exchange.tsv")));
    ASSERT_TRUE(text.endsWith(u'\n'));
    using Row = std::tuple<QString, QString, QString, QString, QString, QString>;
    std::vector<Row> table;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        ASSERT_EQ(f.size(), 6) << line.toStdString();
        table.emplace_back(f[0], f[1], f[2], f[3], f[4], f[5]);
    }
    // Sorted by exchange, municipality code, town, block, byte-wise; no row twice.
    const auto key = [](const Row& r) {
        return std::make_tuple(std::get<0>(r).toUtf8(), std::get<1>(r).toUtf8(),
                               std::get<4>(r).toUtf8(), std::get<5>(r).toUtf8());
    };
    for (std::size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(key(table[i - 1]), key(table[i]));

    std::set<Row> fromListings;
    for (const Listing& l : large_->listings) {
        const QString exchange = l.number.left(l.number.lastIndexOf(u'-')).remove(u'-');
        fromListings.emplace(exchange, l.cityCode, l.pref, l.city, l.town, blockArea(l.block));
    }
    EXPECT_EQ(std::set<Row>(table.begin(), table.end()), fromListings);
}

TEST(GeneratorOptionsTest, BadOptionsFailWithAMessage) {
    const pikotel::test::ScratchDir dir;
    GeneratorOptions o;
    o.listings = 10;
    o.outCsv = dir.file(QStringLiteral("l.csv"));
    o.sourceDataDir = dir.path(); // no source data there
    QString error;
    EXPECT_FALSE(generateListings(o, &error));
    EXPECT_TRUE(error.contains(u"ken_all_merged.utf8.csv")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(o.outCsv));

    o.sourceDataDir = kSourceData;
    o.listings = -1;
    EXPECT_FALSE(generateListings(o, &error));
    o.listings = 10;
    o.outCsv = dir.file(QStringLiteral("missing/folder/l.csv"));
    error.clear();
    EXPECT_FALSE(generateListings(o, nullptr));
    EXPECT_FALSE(generateListings(o, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(GeneratorOptionsTest, NoListingsGiveTheHeaderAndTheFullAreaTable) {
    const pikotel::test::ScratchDir dir;
    GeneratorOptions o;
    o.outCsv = dir.file(QStringLiteral("l.csv"));
    o.areasOut = dir.file(QStringLiteral("a.csv"));
    o.exchangeOut = dir.file(QStringLiteral("x.tsv"));
    o.sourceDataDir = kSourceData;
    QString error;
    ASSERT_TRUE(generateListings(o, &error)) << error.toStdString();
    EXPECT_EQ(readText(o.outCsv),
              u"number,name,reading,kind,zip,pref,city,city_code,town,block\n"_s);
    EXPECT_GT(readText(o.areasOut).count(u'\n'), 1800);
    EXPECT_TRUE(readText(o.exchangeOut).isEmpty());
}

} // namespace
