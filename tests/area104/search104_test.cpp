#include "area104fixture.h"

#include "directory/searchprogress.h"
#include "directory/stoptoken.h"
#include "search/area104/search104.h"

using namespace pikotel;
using namespace pikotel::test;

namespace {

// Presses the stop button once the given share of the cities is done.
class StoppingProgress final : public SearchProgress {
public:
    void setFraction(double done) override {
        if (token != nullptr && done >= stopAt)
            token->requestStop();
    }
    void bindStopToken(StopToken* bound) override { token = bound; }
    double stopAt = 2;
    StopToken* token = nullptr;
};

using Search104 = Area104Test;

TEST_P(Search104, AStopAfterTheSecondOfFiveCitiesKeepsTheirHits) {
    Area104Conditions c;
    c.wideArea = true;
    c.surname = QStringLiteral("ヤマダ");
    QList<ChosenCity> cities;
    for (int i = 0; i < 5; ++i)
        cities.append({kWards.at(i), wardCode(i)});
    StoppingProgress progress;
    progress.stopAt = 0.4;
    QStringList visited;
    const Search104Outcome outcome = runSearch104(
        *f.ctx, c, cities, &progress, [&](const ChosenCity& city) { visited.append(city.name); });
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.hits, 4);
    EXPECT_EQ(visited, kWards.mid(0, 2));
    QStringList cityNames;
    for (const ResultRecord& r : f.ctx->results())
        cityNames.append(r.L2);
    EXPECT_EQ(cityNames, (QStringList{kWards.at(0), kWards.at(0), kWards.at(1), kWards.at(1)}));
    EXPECT_EQ(progress.token, nullptr) << "the token is unbound when the run ends";
}

INSTANTIATE_TEST_SUITE_P(BothEngines, Search104,
                         ::testing::Values(dict::Engine::Dxs, dict::Engine::Xch), engineName);

TEST(Search104Texts, PatternsCutsAndCaptions) {
    Area104Conditions c;
    c.givenName = QStringLiteral("太郎");
    EXPECT_EQ(namePattern104(c), QStringLiteral("*　太郎"));
    c.surname = QStringLiteral("山田");
    EXPECT_EQ(namePattern104(c), QStringLiteral("山田　太郎"));
    c.givenName.clear();
    EXPECT_EQ(namePattern104(c), QStringLiteral("山田*"));
    c.company = true;
    c.companyName = QStringLiteral("ぴこ商事");
    EXPECT_EQ(namePattern104(c), QStringLiteral("*ぴこ商事*"));

    EXPECT_EQ(cutToBytes(QStringLiteral("山田太郎"), 5), QStringLiteral("山田"))
        << "never half a character";
    EXPECT_EQ(cutToBytes(QStringLiteral("abc"), 5), QStringLiteral("abc"));
    EXPECT_EQ(wideCitiesCaption({QStringLiteral("港区"), QStringLiteral("新宿区")}),
              QStringLiteral("港区  新宿区  "));
}

} // namespace
