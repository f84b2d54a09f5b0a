#include "gen_areacodes.h"
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

// As the search drops: by the words that apply to the pattern.
bool dropped(const pikotel::industry::Industry& industry, int patternNo, const QString& name) {
    for (const QString& word : pikotel::industry::applicableExclusionWords(industry, patternNo)) {
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
            // Also "*ラーメン*", whose own exclusion word "らーめん" does not apply to it.
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
    EXPECT_TRUE(error.contains(u"areacodes.tsv")) << error.toStdString();
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

// A scratch copy of the source data (links to the real files) with some files replaced.
class SourceCopy {
public:
    SourceCopy() {
        for (const QString& name :
             {u"ken_all_merged.utf8.csv"_s, u"names_ipadic_gimei.tsv"_s, u"areacodes.tsv"_s})
            QFile::link(kSourceData + u'/' + name, dir_.file(name));
    }
    void replace(const QString& name, const QByteArray& content) {
        QFile::remove(dir_.file(name));
        QFile f(dir_.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray original(const QString& name) const { return readBytes(kSourceData + u'/' + name); }
    // Generates ten listings; the error, empty on success.
    QString generate() const {
        GeneratorOptions o;
        o.listings = 10;
        o.outCsv = dir_.file(QStringLiteral("out.csv"));
        o.sourceDataDir = dir_.path();
        QString error;
        return generateListings(o, &error) ? QString() : error;
    }

private:
    pikotel::test::ScratchDir dir_;
};

TEST(AreaCodeTableTest, GivesTheRealCodeOfTownsFarFromThePrefecturalSeat) {
    pikotel::gen::AreaCodeTable table;
    QString error;
    ASSERT_TRUE(table.load(kSourceData + u"/areacodes.tsv"_s, &error)) << error.toStdString();
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"21504", "0574"}, {"21506", "0574"}, {"21507", "0574"},  {"21502", "0574"}, // 加茂郡
        {"02442", "0178"}, {"02402", "0176"}, {"02424", "0175"},  // 五戸 七戸 東通
        {"07482", "0247"}, {"07444", "0241"}, {"39302", "0887"},  // 矢祭 三島 奈半利
        {"20410", "0265"}, {"06362", "0233"}, {"01601", "01456"}, // 根羽 最上 日高
        {"01644", "015"},  {"13101", "03"},   {"27102", "06"},    // 池田 千代田 大阪都島
    };
    for (const auto& [jis5, code] : expected) {
        const pikotel::gen::AreaCodeEntry* entry = table.find(jis5);
        ASSERT_NE(entry, nullptr) << jis5;
        EXPECT_EQ(entry->code, code) << jis5 << " " << entry->city;
    }
}

TEST(AreaCodeTableTest, RefusesABadTableWithItsLine) {
    const pikotel::test::ScratchDir dir;
    const QString path = dir.file(QStringLiteral("areacodes.tsv"));
    const QByteArray header = "# comment\njis5\tpref\tcity\tarea_code\tnote\n";
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {header + "01101\t北海道\t札幌市中央区\t011\t\n01101\t北海道\t札幌市中央区\t011\t\n",
         u":4: municipality 01101 is listed twice"_s},
        {header + "01101\t北海道\t札幌市中央区\t11\t\n", u":3: 11 is not an area code"_s},
        {header + "01101\t北海道\t札幌市中央区\t011123\t\n", u":3: 011123 is not an area code"_s},
        {header + "1101\t北海道\t札幌市中央区\t011\t\n", u":3: not a 5-digit municipality code"_s},
        {header + "01101\t北海道\t札幌市中央区\t011\n", u":3: expected 5 tab-separated fields"_s},
        {"01101\t北海道\t札幌市中央区\t011\t\n", u":1: expected the header"_s},
    };
    for (const auto& [content, message] : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        pikotel::gen::AreaCodeTable table;
        QString error;
        EXPECT_FALSE(table.load(path, &error)) << content.toStdString();
        EXPECT_TRUE(error.contains(message)) << error.toStdString();
    }
}

TEST(AreaCodeTableTest, ClaimsLeaveEveryExchangeToOneCode) {
    using pikotel::gen::areaCodeClaims;
    // Tokyo and Osaka hand out their real leading digits only.
    EXPECT_EQ(areaCodeClaims("03"), (std::vector<std::string>{"033", "035", "036", "0345"}));
    EXPECT_EQ(areaCodeClaims("06"), (std::vector<std::string>{"066", "0647", "0648", "0649"}));
    // A shared short code claims only its own part, which the longer codes leave to it.
    for (const std::string& claim : areaCodeClaims("015"))
        EXPECT_GT(claim.size(), 4u) << claim;
    EXPECT_EQ(areaCodeClaims("0574"), std::vector<std::string>{"0574"});
}

TEST(GeneratorSourceTest, AMunicipalityMissingFromTheAreaCodeTableStopsTheRun) {
    SourceCopy source;
    QByteArray table = source.original(u"areacodes.tsv"_s);
    const qsizetype row = table.indexOf("\n21504\t");
    ASSERT_GT(row, 0);
    table.remove(row + 1, table.indexOf('\n', row + 1) - row);
    source.replace(u"areacodes.tsv"_s, table);
    const QString error = source.generate();
    EXPECT_TRUE(error.contains(u"21504"_s) && error.contains(u"七宗町"_s)) << error.toStdString();

    // A row that names another municipality is as wrong as a missing one.
    table = source.original(u"areacodes.tsv"_s);
    table.replace("21504\t岐阜県\t加茂郡七宗町", "21504\t岐阜県\t加茂郡白川町");
    source.replace(u"areacodes.tsv"_s, table);
    EXPECT_TRUE(source.generate().contains(u"加茂郡白川町"_s));
}

TEST(GeneratorSourceTest, ANameReadingThatIsNotKatakanaStopsTheRunWithItsLine) {
    SourceCopy source;
    QByteArray names = source.original(u"names_ipadic_gimei.tsv"_s);
    const qsizetype second = names.indexOf('\n') + 1;
    const qsizetype third = names.indexOf('\n', second) + 1;
    names.insert(third, "sei\tさとう\t佐藤\tipadic\t4579\t1\n");
    source.replace(u"names_ipadic_gimei.tsv"_s, names);
    const QString error = source.generate();
    EXPECT_TRUE(error.contains(u"names_ipadic_gimei.tsv:3:"_s) && error.contains(u"さとう"_s))
        << error.toStdString();
}

} // namespace
