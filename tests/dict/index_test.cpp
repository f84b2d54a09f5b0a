// The name index against a plain scan: over the sample generator's listings, every group's
// hits for patterns drawn from its own names and readings (prefixes, pieces with "*" in all
// places, hiragana and half-width forms of readings) are the listings a filter over the
// records finds, in the same order. Also the searches of a main dictionary with a delta.

#include "builder.h"
#include "directory.h"
#include "enginetest.h"
#include "generator.h"
#include "mappedfile.h"
#include "pattern.h"
#include "reader.h"
#include "support/testdirs.h"

#include "jtext/kana.h"

#include <QDir>
#include <QPair>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace pikotel::dict;
using pikotel::test::ScratchDir;

namespace {

// The listings of the group the plain way: every record read and matched.
std::vector<std::uint32_t> plainScan(const Dictionary& dict, std::uint32_t group,
                                     const Pattern& name, const Pattern* reading) {
    const GroupView g = dict.group(group);
    std::vector<std::uint32_t> hits;
    ListingView v;
    for (std::uint32_t id = g.firstListing; id < g.firstListing + g.listingCount; ++id) {
        EXPECT_TRUE(dict.listing(id, v));
        if (name.matches(v.name) ||
            (g.kind == PersonKind::Individual && reading && reading->matches(v.reading)))
            hits.push_back(id);
    }
    return hits;
}

std::vector<std::uint32_t> indexedScan(const Dictionary& dict, std::uint32_t group,
                                       const Pattern& name, const Pattern* reading) {
    std::vector<std::uint32_t> hits;
    EXPECT_TRUE(dict.scanGroup(group, name, reading, [&hits](std::uint32_t id) {
        hits.push_back(id);
        return true;
    }));
    return hits;
}

// The first n characters of a UTF-8 text.
std::string firstChars(std::string_view text, int n) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .left(n)
        .toStdString();
}

// Patterns made from one listing's texts, in the forms the screens send.
std::vector<std::string> patternsFrom(const ListingView& v, std::mt19937& random) {
    const QString name = QString::fromUtf8(v.name.data(), static_cast<qsizetype>(v.name.size()));
    const QString reading =
        QString::fromUtf8(v.reading.data(), static_cast<qsizetype>(v.reading.size()));
    std::vector<std::string> out;
    const auto piece = [&random](const QString& text) {
        if (text.isEmpty())
            return QString();
        const auto from = static_cast<qsizetype>(random() % static_cast<unsigned>(text.size()));
        const auto length = 1 + static_cast<qsizetype>(random() % 4);
        return text.mid(from, length);
    };
    for (const QString& text : {name, reading}) {
        if (text.isEmpty())
            continue;
        const QString head = text.left(1 + static_cast<qsizetype>(random() % 4));
        const QString mid = piece(text);
        const QString other = piece(text);
        for (const QString& p : {head + "*", head, "*" + mid + "*", "*" + mid, head + "*" + other,
                                 "*" + mid + "*" + other + "*", text, head + "*" + other + "*"})
            out.push_back(p.toStdString());
    }
    // A reading typed in hiragana or half-width kana.
    if (!reading.isEmpty()) {
        const QString head = reading.left(3);
        out.push_back((pikotel::jtext::katakanaToHiragana(head) + "*").toStdString());
        out.push_back((pikotel::jtext::toHalfWidth(head) + "*").toStdString());
    }
    return out;
}

class NameIndex : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new ScratchDir;
        pikotel::gen::GeneratorOptions generate;
        generate.listings = 8000;
        generate.seed = 9;
        generate.outCsv = dir_->file("listings.csv");
        generate.sourceDataDir = QStringLiteral(PIKOTEL_SOURCE_DATA_DIR);
        QString error;
        ASSERT_TRUE(pikotel::gen::generateListings(generate, &error)) << error.toStdString();
        BuildOptions build;
        build.listingsCsv = generate.outCsv;
        build.areasCsv = dir_->file("areas.csv");
        build.output = dir_->file("d.dct");
        ASSERT_TRUE(buildDictionary(build, nullptr, &error)) << error.toStdString();
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(file_.open(dir_->file("d.dct")));
        ASSERT_EQ(dict_.open(file_.bytes()), OpenError::None);
    }

    static ScratchDir* dir_;
    MappedFile file_;
    Dictionary dict_;
};

ScratchDir* NameIndex::dir_ = nullptr;

TEST_F(NameIndex, EveryGroupFindsWhatAPlainScanFinds) {
    std::mt19937 random(3);
    int compared = 0;
    std::size_t found = 0;
    for (std::uint32_t g = 0; g < dict_.groupCount(); ++g) {
        const GroupView group = dict_.group(g);
        ListingView v;
        for (int sample = 0; sample < 3; ++sample) {
            const std::uint32_t id =
                group.firstListing + static_cast<std::uint32_t>(random() % group.listingCount);
            ASSERT_TRUE(dict_.listing(id, v));
            for (const std::string& text : patternsFrom(v, random)) {
                const Pattern name(text);
                const std::string readingForm = readingPatternOf(text);
                const Pattern reading(readingForm);
                const Pattern* r = readingForm == text ? &name : &reading;
                const auto expected = plainScan(dict_, g, name, r);
                EXPECT_EQ(indexedScan(dict_, g, name, r), expected)
                    << "group " << g << " pattern " << text;
                EXPECT_EQ(indexedScan(dict_, g, name, nullptr), plainScan(dict_, g, name, nullptr))
                    << "group " << g << " pattern " << text << " (names only)";
                ++compared;
                found += expected.size();
            }
        }
    }
    EXPECT_GT(compared, 1000);
    EXPECT_GT(found, static_cast<std::size_t>(compared) / 4); // the patterns do find listings
}

TEST_F(NameIndex, PatternsTheIndexCannotNarrowStillScan) {
    // One-character pieces (no bigram) in business names, and individual patterns without a
    // literal head: the index steps aside, the hits are still the plain scan's.
    for (std::uint32_t g = 0; g < dict_.groupCount() && g < 200; ++g) {
        ListingView v;
        ASSERT_TRUE(dict_.listing(dict_.group(g).firstListing, v));
        // Built by appending: GCC 12 at -O3 warns falsely on "*" + std::string.
        const std::string head = std::string("*").append(firstChars(v.name, 1));
        for (const std::string& text :
             {head + "*", head, std::string("*ー*"), std::string("**"), std::string("x*y*z")}) {
            const Pattern p(text);
            EXPECT_EQ(indexedScan(dict_, g, p, &p), plainScan(dict_, g, p, &p)) << text;
        }
    }
}

TEST_F(NameIndex, StopsWhereTheVisitorSays) {
    for (std::uint32_t g = 0; g < dict_.groupCount(); ++g) {
        if (dict_.group(g).kind != PersonKind::Corporate)
            continue;
        const Pattern p("*株式会社*");
        const auto all = plainScan(dict_, g, p, nullptr);
        if (all.size() < 3)
            continue;
        std::vector<std::uint32_t> first;
        EXPECT_TRUE(dict_.scanGroup(g, p, nullptr, [&first](std::uint32_t id) {
            first.push_back(id);
            return first.size() < 2;
        }));
        EXPECT_EQ(first, std::vector<std::uint32_t>(all.begin(), all.begin() + 2));
        return;
    }
    FAIL() << "no business group with three companies";
}

TEST(NameIndexDelta, MainAndDeltaSearchesEqualTheReferenceFilter) {
    using namespace pikotel::test;
    ScratchDir d;
    QList<Listing> listings = sampleListings(400, 21);
    ASSERT_TRUE(writeFile(d.file("l.csv"), listingCsv(listings)));
    // Half the numbers of one city replaced, a few added.
    const int city = listings.first().cityCode;
    QString delta = "op,number,name,reading,kind,zip,pref,city,city_code,town,block\n";
    QList<Listing> after;
    int changed = 0;
    for (Listing l : listings) {
        if (l.cityCode == city && changed < 20 &&
            std::none_of(after.begin(), after.end(),
                         [&l](const Listing& x) { return x.number == l.number; }) &&
            std::count_if(listings.begin(), listings.end(),
                          [&l](const Listing& x) { return x.number == l.number; }) == 1) {
            ++changed;
            l.name = "ヤマダ" + l.name;
            l.reading = "ヤマダ" + l.reading;
            delta += "replace," + listingCsv({l}).section('\n', 1, 1) + "\n";
        }
        after.append(l);
    }
    ASSERT_GT(changed, 5);
    ASSERT_TRUE(writeFile(d.file("delta.csv"), delta));
    QDir(d.path()).mkpath("DIC");
    QDir(d.path()).mkpath("delta");
    for (const auto& [csv, out] : {std::pair(QString(), d.file("DIC/dxs9999.dct")),
                                   std::pair(d.file("delta.csv"), d.file("delta/DXS5001.dct"))}) {
        BuildOptions build;
        build.listingsCsv = d.file("l.csv");
        build.deltaCsv = csv;
        build.output = out;
        QString error;
        ASSERT_TRUE(buildDictionary(build, nullptr, &error)) << error.toStdString();
    }
    DxsEngine dxs(d.file("DIC"), d.file("delta"));
    ASSERT_EQ(dxs.openResult(), 0);
    // Readings typed in hiragana or half width find the individuals the stored (katakana) form
    // finds: no name of these listings begins with the typed form itself.
    const QList<QPair<QString, QString>> patterns = {
        {"ヤマダ*", "ヤマダ*"},   {"やまだ*", "ヤマダ*"}, {"ﾔﾏﾀﾞ*", "ヤマダ*"},
        {"*ヤマダ*", "*ヤマダ*"}, {"ヤ*", "ヤ*"},         {"*商店*", "*商店*"}};
    for (const auto& [typed, stored] : patterns) {
        for (const int kind : {1, 2}) {
            NameCondition c;
            c.cityCode = city;
            c.individuals = kind == 1;
            c.corporates = kind == 2;
            c.name = typed;
            int result = 0;
            const QList<Hit> hits = dxs.names(c, &result);
            EXPECT_EQ(result, 0) << typed.toStdString();
            c.name = kind == 1 ? stored : typed; // a business is found by its name only
            EXPECT_EQ(hits, expectedByName(after, c)) << typed.toStdString();
        }
    }
}

} // namespace
