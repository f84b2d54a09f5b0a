// Both engines over the sample generator's listings, held against the reference filter of
// the same CSV: the cities with the most listings, personal and business patterns of the
// kinds the 104-style and industry searches send.

#include "builder.h"
#include "enginetest.h"
#include "gen_numbers.h"
#include "generator.h"
#include "support/testdirs.h"

#include <QDir>
#include <QHash>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace pikotel::test;

namespace {

TEST(GeneratedListings, EnginesEqualTheReferenceFilter) {
    ScratchDir d;
    pikotel::gen::GeneratorOptions generate;
    generate.listings = 6000;
    generate.seed = 5;
    generate.outCsv = d.file("listings.csv");
    generate.sourceDataDir = QStringLiteral(PIKOTEL_SOURCE_DATA_DIR);
    QString error;
    ASSERT_TRUE(pikotel::gen::generateListings(generate, &error)) << error.toStdString();
    QList<Listing> listings;
    ASSERT_TRUE(readListingCsv(generate.outCsv, &listings));
    ASSERT_EQ(listings.size(), 6000);

    QDir(d.path()).mkpath("DIC");
    for (const auto engine : {pikotel::dict::Engine::Dxs, pikotel::dict::Engine::Xch}) {
        pikotel::dict::BuildOptions build;
        build.listingsCsv = generate.outCsv;
        build.areasCsv = d.file("areas.csv");
        build.engine = engine;
        build.output =
            d.file(engine == pikotel::dict::Engine::Dxs ? "DIC/dxs9999.dct" : "DIC/XCHDB.DIC");
        ASSERT_TRUE(pikotel::dict::buildDictionary(build, nullptr, &error)) << error.toStdString();
    }
    DxsEngine dxs(d.file("DIC"));
    XchEngine xch(d.file("DIC"));
    ASSERT_EQ(dxs.openResult(), 0);
    ASSERT_EQ(xch.openResult(), 0);
    EXPECT_GT(dxs.info().areaCount, 1800); // every municipality, not only the listed ones

    QHash<int, int> perCity;
    for (const Listing& l : listings)
        ++perCity[l.cityCode];
    QList<int> cities = perCity.keys();
    std::sort(cities.begin(), cities.end(), [&perCity](int a, int b) {
        return perCity[a] != perCity[b] ? perCity[a] > perCity[b] : a < b;
    });
    cities = cities.mid(0, 8);

    // Surnames and towns as the listings hold them: the first few of the busiest city.
    QStringList surnames;
    QStringList towns;
    for (const Listing& l : listings) {
        if (l.cityCode == cities.first() && l.kind == 1 && surnames.size() < 3)
            surnames << l.name.section(QStringLiteral("　"), 0, 0);
        if (l.cityCode == cities.first() && !l.town.isEmpty() && towns.size() < 2)
            towns << l.town.left(2);
    }
    QStringList personal = {"*", "*子", "*　*郎"};
    for (const QString& s : surnames)
        personal << s + "*" << s + "　*";
    const QStringList business = {
        "*",      "*ラーメン*",        "*寿司*",     "*病院*", "*寺",
        "*神社*", "*セブン*イレブン*", "*ローソン*", "*歯科",  "*株式会社*"};
    int found = 0;
    for (int city : cities) {
        for (int kind : {1, 2}) {
            for (const QString& pattern : kind == 1 ? personal : business) {
                for (const QString& town : QStringList{QString()} + towns) {
                    NameCondition c;
                    c.cityCode = city;
                    c.individuals = kind == 1;
                    c.corporates = kind == 2;
                    c.name = pattern;
                    c.town = town;
                    const QList<Hit> expected = expectedByName(listings, c);
                    EXPECT_EQ(dxs.names(c), expected) << city << pattern.toStdString();
                    EXPECT_EQ(xch.names(c), expected) << city << pattern.toStdString();
                    found += static_cast<int>(expected.size());
                }
            }
        }
    }
    EXPECT_GT(found, 200);
    for (const Listing& l : listings.mid(0, 300)) {
        const QString n = digitsOf(l.number);
        QList<Listing> same;
        std::copy_if(listings.begin(), listings.end(), std::back_inserter(same),
                     [&n](const Listing& x) { return digitsOf(x.number) == n; });
        EXPECT_EQ(dxs.number(n), expectedByNumber(same, n));
        EXPECT_EQ(xch.number(n), expectedByNumber(same, n));
    }
}

} // namespace

// A five-digit area code has eight exchanges. Its towns first spread over them a few dozen
// numbers at a time; once each has been taken the groups fill up what is left, so every one
// of the 80,000 numbers is given out once before the code reports itself exhausted.
TEST(GeneratedNumbers, AnAreaCodeGivesOutEveryNumberOfItsExchangesOnce) {
    pikotel::gen::AddressBook book;
    book.areaCodes = {"01654"};
    for (std::uint32_t t = 0; t < 3; ++t) {
        book.towns.push_back({});
        book.addresses.push_back({t, "098-000" + std::to_string(t), 0});
    }
    pikotel::gen::NumberPlan plan;
    QString error;
    ASSERT_TRUE(plan.init(book, &error)) << error.toStdString();
    std::set<std::string> numbers;
    pikotel::gen::PhoneNumber number;
    for (int n = 0; n < 80000; ++n) {
        ASSERT_TRUE(plan.next(book.towns[static_cast<std::size_t>(n % 3)], &number, &error))
            << n << " " << error.toStdString();
        ASSERT_EQ(number.display.substr(0, 6), "01654-");
        numbers.insert(number.display);
    }
    EXPECT_EQ(numbers.size(), 80000u);
    EXPECT_FALSE(plan.next(book.towns[0], &number, &error));
    EXPECT_NE(error.indexOf(QStringLiteral("01654")), -1);
}
