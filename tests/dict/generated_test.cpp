// Both engines over the sample generator's listings, held against the reference filter of
// the same CSV: the cities with the most listings, personal and business patterns of the
// kinds the 104-style and industry searches send.

#include "builder.h"
#include "enginetest.h"
#include "generator.h"
#include "support/testdirs.h"

#include <QDir>
#include <QHash>

#include <gtest/gtest.h>

#include <algorithm>

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
