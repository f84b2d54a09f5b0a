// The city search through whichever engine opened, held against the reference filter over
// the same listings; the correction table on its hits; the run over several cities.

#include "directory/citysearchrun.h"
#include "directory/directory.h"
#include "directory/searchprogress.h"

#include "app/scriptedmessages.h"
#include "builder.h"
#include "dict/dicttest.h"
#include "platform/drives.h"
#include "platform/services.h"
#include "settings/environment.h"
#include "support/testdirs.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace pikotel {
namespace {

using test::Hit;

const QList<qint32> kCities = {13104, 13113, 1101, 27128, 47201};
// Outside the sample cities: listings the correction table knows, and one it does not.
constexpr qint32 kCorrectedCity = 40230;

class CountingClock final : public Clock {
public:
    qint64 monotonicMs() const override { return 0; }
    QDateTime now() const override { return {}; }
    void processEvents() override { ++events; }
    void waitProcessingEvents(int) override {}
    int events = 0;
};

// Presses the stop button once the given share of the cities is done.
class StoppingProgress final : public SearchProgress {
public:
    void setFraction(double done) override {
        fractions.append(done);
        if (token != nullptr && done >= stopAt)
            token->requestStop();
    }
    void bindStopToken(StopToken* bound) override { token = bound; }
    double stopAt = 2;
    QList<double> fractions;
    StopToken* token = nullptr;
};

test::Listing corrected(const char* number, const char* name, const char* reading,
                        const char* block) {
    return {QString::fromUtf8(number),  QString::fromUtf8(name),
            QString::fromUtf8(reading), 2,
            QStringLiteral("819-1304"), QStringLiteral("福岡県"),
            QStringLiteral("糸島市"),   kCorrectedCity,
            QStringLiteral("志摩野北"), QString::fromUtf8(block)};
}

Hit hitOf(const DirRecord& r) {
    return {r.telNo, r.name, r.zip, r.pref, r.city, r.town, r.block};
}

class CitySearchTest : public ::testing::TestWithParam<dict::Engine> {
protected:
    void SetUp() override {
        listings = test::sampleListings(800, 17);
        listings << corrected("0948-84-5305", "株式会社打木工務店",
                              "カブシキガイシャウチキコウムテン", "１１５番地")
                 << corrected("0826-78-6320", "スナック天王寺", "スナックテンノウジ", "３１２")
                 << corrected("078-875-6396", "カレーハウス若葉", "カレーハウスワカバ", "１９１")
                 << corrected("092-437-4000", "糸島印刷", "イトシマインサツ", "１番地");
        const QString csv = scratch.file(QStringLiteral("listings.csv"));
        ASSERT_TRUE(test::writeFile(csv, test::listingCsv(listings)));

        const bool first = GetParam() == dict::Engine::Dxs;
        const QString cd = scratch.file(QStringLiteral("cd/"));
        const QString folder = first ? scratch.file(QStringLiteral("prog/DIC/")) : cd;
        ASSERT_TRUE(QDir().mkpath(folder));
        dict::BuildOptions options;
        options.listingsCsv = csv;
        options.output = folder + (first ? kDxsDicFile : kXchDicFile);
        options.engine = GetParam();
        QString error;
        ASSERT_TRUE(dict::buildDictionary(options, nullptr, &error)) << qPrintable(error);

        env.setText(EnvKey::DicDrive, first ? QStringLiteral("0") : QStringLiteral("1"));
        env.setText(EnvKey::CdDrive, cd);
        directory =
            std::make_unique<Directory>(env, drives, clock, scratch.file(QStringLiteral("prog")));
        directory->DicOpen(false);
        ASSERT_EQ(directory->dicKind(), first ? 0 : 1);
    }
    void TearDown() override { EXPECT_TRUE(messages.shown().isEmpty()); }

    bool firstEngine() const { return GetParam() == dict::Engine::Dxs; }

    QList<Hit> search(const CityCondition& c, int* result = nullptr) {
        QList<Hit> hits;
        const int r = directory->searchCity(c, [&](const DirRecord& hit) {
            hits.append(hitOf(hit));
            return true;
        });
        if (result != nullptr)
            *result = r;
        return hits;
    }
    QList<Hit> expected(const CityCondition& c, int limit = 0) const {
        return test::expectedByName(
            listings, {c.cityCode, c.personKind == CityCondition::Individual,
                       c.personKind == CityCondition::Corporate, c.namePattern, c.town, limit});
    }
    static CityCondition everyBusiness(qint32 city) {
        return {.cityCode = city,
                .personKind = CityCondition::Corporate,
                .namePattern = QStringLiteral("*")};
    }

    test::ScratchDir scratch;
    QList<test::Listing> listings;
    Environment env;
    DriveTable drives{QStringLiteral("/nonexistent/mounts"), QStringLiteral("/nonexistent")};
    CountingClock clock;
    test::ScriptedMessagePresenter messages;
    std::unique_ptr<Directory> directory;
};

TEST_P(CitySearchTest, HitsMatchTheReferenceFilterInEngineOrder) {
    const QList<std::tuple<CityCondition::PersonKind, const char*, const char*>> shapes = {
        {CityCondition::Individual, "*", ""},          {CityCondition::Individual, "山田*", ""},
        {CityCondition::Individual, "ヤマダ*", ""},    {CityCondition::Individual, "*　太郎", "西"},
        {CityCondition::Corporate, "*", ""},           {CityCondition::Corporate, "*寿司", ""},
        {CityCondition::Corporate, "ゆ〜とぴあ*", ""}, {CityCondition::Corporate, "*", "大"},
    };
    for (const qint32 city : kCities) {
        for (const auto& [kind, name, town] : shapes) {
            const CityCondition c{.cityCode = city,
                                  .personKind = kind,
                                  .namePattern = QString::fromUtf8(name),
                                  .town = QString::fromUtf8(town)};
            int result = -99;
            EXPECT_EQ(search(c, &result), expected(c)) << city << ' ' << name << ' ' << town;
            EXPECT_EQ(result, 0);
        }
    }
    EXPECT_GT(clock.events, 0) << "events run between fetches";
    EXPECT_GT(expected(everyBusiness(13104)).size(), 5);

    // Only the first engine takes a limit; a visitor may end the search at any hit.
    CityCondition limited = everyBusiness(13104);
    limited.hitLimit = 5;
    EXPECT_EQ(search(limited), expected(limited, firstEngine() ? 5 : 0));
    QList<Hit> two;
    directory->searchCity(everyBusiness(13104), [&](const DirRecord& hit) {
        two.append(hitOf(hit));
        return two.size() < 2;
    });
    EXPECT_EQ(two, expected(everyBusiness(13104), 2));
}

TEST_P(CitySearchTest, CorrectionTableDropsAndCorrects) {
    const auto names = [](const QList<Hit>& hits) {
        QStringList out;
        for (const Hit& h : hits)
            out << h[1] + QLatin1Char('/') + h[6];
        return out;
    };
    CityCondition c = everyBusiness(kCorrectedCity);
    const QStringList kept = {QStringLiteral("糸島印刷/１番地"),
                              QStringLiteral("泉河内工務店/１１５番地１"),
                              QStringLiteral("カレーハウス若葉北店/１９１")};
    EXPECT_EQ(names(search(c)), kept);
    c.applyDrops = false;
    EXPECT_EQ(names(search(c)), kept + QStringList{QStringLiteral("スナック天王寺/３１２")});
}

TEST_P(CitySearchTest, EngineRefusalsReachTheCallerOnlyFromTheFirstEngine) {
    int result = -99;
    EXPECT_TRUE(search(everyBusiness(0), &result).isEmpty());
    EXPECT_EQ(result, firstEngine() ? -21 : 0);

    // 81 bytes: the first engine matches everything; the alternate one refuses the pattern
    // rather than search for the part that fits its 80-byte field.
    CityCondition overlong = everyBusiness(13104);
    overlong.namePattern = QString(81, u'*');
    EXPECT_EQ(search(overlong, &result),
              firstEngine() ? expected(everyBusiness(13104)) : QList<Hit>());
    EXPECT_EQ(result, 0);

    directory->DicClose();
    EXPECT_TRUE(search(everyBusiness(13104), &result).isEmpty());
    EXPECT_EQ(result, -1);
}

TEST_P(CitySearchTest, RunKeepsTheHitsOfTheCitiesBeforeAStop) {
    QList<CityCondition> cities;
    for (const qint32 city : kCities)
        cities.append(everyBusiness(city));
    QList<Hit> hits;
    const CityHitVisitor collect = [&](const DirRecord& hit) {
        hits.append(hitOf(hit));
        return true;
    };

    StoppingProgress progress;
    progress.stopAt = 0.4;
    {
        CitySearchRun run(*directory, clock, &progress);
        EXPECT_EQ(progress.token, &run.stopToken());
        EXPECT_EQ(run.run(cities, collect), 0);
        EXPECT_TRUE(run.stopToken().stopRequested());
    }
    EXPECT_EQ(progress.token, nullptr);
    EXPECT_EQ(progress.fractions, (QList<double>{0, 0.2, 0.4}));
    EXPECT_EQ(hits, expected(cities[0]) + expected(cities[1]));

    // The first engine's refusal ends the run; the alternate engine's is no hits.
    hits.clear();
    cities[1].cityCode = 0;
    EXPECT_EQ(CitySearchRun(*directory, clock).run(cities.mid(0, 3), collect),
              firstEngine() ? -21 : 0);
    EXPECT_EQ(hits,
              firstEngine() ? expected(cities[0]) : expected(cities[0]) + expected(cities[2]));

    // A visitor that wants no more ends the run, not just the city.
    int calls = 0;
    const CityHitVisitor enough = [&](const DirRecord&) {
        ++calls;
        return false;
    };
    EXPECT_EQ(CitySearchRun(*directory, clock).run(cities, enough), 0);
    EXPECT_EQ(calls, 1);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, CitySearchTest,
                         ::testing::Values(dict::Engine::Dxs, dict::Engine::Xch),
                         [](const auto& info) {
                             return info.param == dict::Engine::Dxs ? "dxs4" : "xchdb";
                         });

} // namespace
} // namespace pikotel
