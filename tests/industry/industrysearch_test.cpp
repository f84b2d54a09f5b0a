#include "industryfixture.h"

#include "directory/searchprogress.h"
#include "directory/stoptoken.h"
#include "jtext/kana.h"

#include <algorithm>
#include <cstdint>
#include <random>

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

const QString kThousandNotice =
    QStringLiteral("検索結果が１０００件を超えました。\r\n以降は表示されません。"
                   "（一市区町村の場合検索結果制限はありません）");

QString thousandQuestion(int count) {
    return QStringLiteral("検索結果が１０００件を超えました。これ以上表示させますか。"
                          "(検索結果件数： %1件)\r\n"
                          "＜注意＞１０００件以上は動作が重くなる場合があります。")
        .arg(count);
}

using IndustrySearch = IndustryFixture;

TEST_P(IndustrySearch, ExclusionsDependOnThePatternThatFoundTheListing) {
    search(QStringLiteral("ゴルフ"), {ward(0)});
    EXPECT_EQ(resultNames(), (QStringList{QStringLiteral("千代田ゴルフ練習場"),
                                          QStringLiteral("ゴルフ場カントリー倶楽部")}))
        << "カントリー drops what pattern 1 found, not what pattern 3 found";

    search(QStringLiteral("運送"), {ward(0)});
    EXPECT_EQ(resultNames(), (QStringList{QStringLiteral("引越運送"), QStringLiteral("配送運送")}))
        << "引越 is kept by pattern 3 only, 配送 by pattern 5 only";

    // By pattern number: 6 スナック, 11 すし, 17 ラーメン, 30 カレー. 寿司 and すし together
    // are dropped by rule 9 and kept by 11 unless a word of 8 to 11 or 11 occurs.
    search(QStringLiteral("飲食店"), {ward(0)});
    EXPECT_EQ(
        resultNames(),
        (QStringList{QStringLiteral("ラーメンスナック富士"), QStringLiteral("江戸前寿司すし政"),
                     QStringLiteral("ラーメン太郎"), QStringLiteral("カレーハウス若葉北店")}));

    search(QStringLiteral("大学"), {ward(0)});
    EXPECT_EQ(resultNames(), QStringList{QStringLiteral("千代田大学")})
        << "カラオケ drops a name holding ｶﾗｵｹ";
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(IndustrySearch, OriginalIndustriesDropByTheirWordsInAnyWidthButNotByTheirOwnTarget) {
    OriginalIndustries originals(f.ctx->store());
    originals.saveNew(
        {QStringLiteral("麺"), {QStringLiteral("ラーメン")}, {QStringLiteral("ｽﾅｯｸ")}});
    originals.saveNew({QStringLiteral("麺２"),
                       {QStringLiteral("ラーメン")},
                       {QStringLiteral("らーめん"), QStringLiteral("富士")}});
    originals.load();
    const auto run = [&](int slot) {
        const IndustryKeywords keywords = BuildKeywords(kOriginalMark + originals.slot(slot).name,
                                                        industry::Kind::Original, slot, originals);
        EXPECT_EQ(keywords.patterns(), QStringList{QStringLiteral("*ラーメン*")});
        runIndustrySearch(*f.ctx, keywords, {ward(0)}, nullptr);
        return resultNames();
    };
    EXPECT_EQ(run(0), QStringList{QStringLiteral("ラーメン太郎")});
    EXPECT_EQ(run(1), QStringList{QStringLiteral("ラーメン太郎")});
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(IndustrySearch, RecordsArePaddedMarkedAndCorrectedButNeverDropped) {
    search(QStringLiteral("テニス"), {ward(0)});
    ASSERT_EQ(f.ctx->results().size(), 2);
    EXPECT_EQ(f.ctx->results().at(0).name, QStringLiteral("テニスクラブ一二三四五六七　"));
    EXPECT_EQ(f.ctx->results().at(1).name, QStringLiteral("テニスクラブ一二三四五六七八"));

    search(QStringLiteral("ホテル"), {ward(0), ward(1)});
    ASSERT_EQ(f.ctx->results().size(), 3) << "the correction table's drop rows do not apply";
    const ResultRecord& r = f.ctx->results().at(0);
    EXPECT_EQ(r.recordNo, 0);
    EXPECT_EQ(r.TelNo, kDroppedNumber);
    EXPECT_EQ(r.name, QStringLiteral("ホテル高橋") + QString(9, QChar(0x3000)));
    EXPECT_EQ(r.Yubin, QStringLiteral("〒100-0001"));
    EXPECT_EQ(r.L1, QStringLiteral("東京都"));
    EXPECT_EQ(r.L2, QStringLiteral("千代田区"));
    EXPECT_EQ(r.Adress1, QStringLiteral("本町"));
    EXPECT_EQ(r.Adress2, QStringLiteral("１－１"));
    EXPECT_EQ(f.ctx->results().at(2).recordNo, 2);
    EXPECT_EQ(f.ctx->results().at(2).L2, QStringLiteral("中央区"));

    search(QStringLiteral("飲食店"), {ward(0)});
    EXPECT_EQ(f.ctx->results().last().name, QStringLiteral("カレーハウス若葉北店"))
        << "a replace row's name is shown as the table gives it";
}

TEST_P(IndustrySearch, AcrossCitiesTheRunStopsAtTheThousandthRecordAfterTheFirstCity) {
    IndustryOutcome outcome = search(QStringLiteral("スイミング"), {ward(1), ward(2)});
    EXPECT_EQ(outcome.status, IndustryOutcome::LimitReached);
    EXPECT_EQ(outcome.hits, 1201) << "the first city whole, then one record of the second";
    EXPECT_EQ(f.ctx->results().last().L2, kWards.at(2));
    applyIndustryRecordLimit(*f.ctx, 2);
    EXPECT_EQ(f.ctx->results().size(), 1000);
    EXPECT_EQ(messages.texts(), QStringList{kThousandNotice});

    messages.clear();
    outcome = search(QStringLiteral("スイミング"), {ward(2), ward(1)});
    EXPECT_EQ(outcome.status, IndustryOutcome::LimitReached);
    EXPECT_EQ(outcome.hits, 1000);
    applyIndustryRecordLimit(*f.ctx, 2);
    EXPECT_EQ(messages.texts(), QStringList{kThousandNotice}) << "exactly 1000 is over the limit";
}

TEST_P(IndustrySearch, InOneCityTheUserDecidesWithTheCountBeforeHim) {
    EXPECT_EQ(search(QStringLiteral("スイミング"), {ward(1)}).status, IndustryOutcome::Searched);
    messages.answer(MsgResultNo);
    applyIndustryRecordLimit(*f.ctx, 1);
    EXPECT_EQ(f.ctx->results().size(), 1000);

    search(QStringLiteral("スイミング"), {ward(1)});
    messages.answer(MsgResultYes);
    applyIndustryRecordLimit(*f.ctx, 1);
    EXPECT_EQ(f.ctx->results().size(), 1200);
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().at(1).text, thousandQuestion(1200));
    EXPECT_EQ(messages.shown().at(1).style, MsgYesNo);

    messages.clear();
    search(QStringLiteral("図書館"), {ward(3)});
    applyIndustryRecordLimit(*f.ctx, 1);
    EXPECT_EQ(messages.texts(), QStringList{thousandQuestion(1000)});
    EXPECT_EQ(f.ctx->results().size(), 1000);
}

TEST_P(IndustrySearch, AStopKeepsTheRecordsGatheredBeforeIt) {
    StoppingProgress progress;
    progress.stopAt = 0.4;
    OriginalIndustries originals(f.ctx->store());
    const IndustryOutcome outcome =
        runIndustrySearch(*f.ctx, builtin(QStringLiteral("ホテル"), originals),
                          {ward(1), ward(2), ward(3), ward(4), ward(5)}, &progress);
    EXPECT_EQ(outcome.status, IndustryOutcome::Stopped);
    EXPECT_EQ(outcome.hits, 2);
    EXPECT_EQ(f.ctx->results().at(1).L2, kWards.at(1));
    EXPECT_EQ(progress.token, nullptr) << "the token is unbound when the run ends";
}

TEST_P(IndustrySearch, AnEngineErrorIsShownAndTheRunGoesOn) {
    f.ctx->directory().DicClose();
    const IndustryOutcome outcome = search(QStringLiteral("ゴルフ"), {ward(0), ward(1)});
    EXPECT_EQ(outcome.status, IndustryOutcome::Searched);
    EXPECT_EQ(outcome.hits, 0);
    EXPECT_EQ(messages.texts(),
              QStringList(8, QStringLiteral("検索ハンドルが割り当てられていません")))
        << "one message for each of the four patterns in each city";
}

INSTANTIATE_TEST_SUITE_P(BothEngines, IndustrySearch,
                         ::testing::Values(dict::Engine::Dxs, dict::Engine::Xch), engineName);

TEST(IndustryKeywords, OriginalsAreFoundByTheirListPositionWithAtMostThirtyPatterns) {
    ShellFixture f;
    ScriptedMessagePresenter messages;
    OriginalIndustries originals(f.ctx->store());
    QStringList targets;
    for (int i = 0; i < 31; ++i)
        targets.append(QStringLiteral("対象%1").arg(i));
    originals.saveNew({QStringLiteral("多い"), targets, {}});
    originals.load();
    EXPECT_EQ(originals.slot(0).targets.size(), 30) << "a save keeps the first 30";

    const IndustryKeywords kept =
        BuildKeywords(QStringLiteral("※多い"), industry::Kind::Original, 0, originals);
    EXPECT_EQ(kept.count(), 30);
    EXPECT_EQ(kept.patterns().first(), QStringLiteral("*対象0*"));
    EXPECT_TRUE(messages.shown().isEmpty());

    const IndustryKeywords moved =
        BuildKeywords(QStringLiteral("※多い"), industry::Kind::Original, 1, originals);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("ｵﾘｼﾞﾅﾙ業種が取得できません。")});

    EXPECT_EQ(
        BuildKeywords(QStringLiteral("飲食店"), industry::Kind::PatternList, 0, originals).count(),
        31);
    EXPECT_EQ(
        BuildKeywords(QStringLiteral("駅"), industry::Kind::EndsWith, 0, originals).patterns(),
        QStringList{QStringLiteral("*駅")});
}

// A name is folded character by character when each of its characters folds alone; over
// every character of the BMP, in runs of neighbours, that must give the full fold of the run.
TEST(IndustryKeywords, FoldsRunsOfEveryCharacterAsTheFullFold) {
    for (std::uint32_t first = 0; first < 0x10000; first += 16) {
        QString run;
        for (std::uint32_t u = first; u < first + 16; ++u) {
            if (u < 0xD800 || u > 0xDFFF)
                run.append(QChar(static_cast<char16_t>(u)));
        }
        ASSERT_EQ(foldedName(run), jtext::foldForCompare(run)) << first;
    }
}

// The exclusion test against its plain form (fold the name, look for every folded word) over
// names made of the tables' own words in every width and kana form, and random mixtures of
// their characters with kana that join (ｶﾞ, か゛) and letters that fold.
TEST(IndustryKeywords, KeepsWhatAPlainFoldAndSearchKeeps) {
    ShellFixture f;
    OriginalIndustries none(f.ctx->store());
    std::mt19937 random(17);
    QString pool = QStringLiteral("ｶﾞﾊﾟかが゛゜ゞﾞﾟAaＡａ1１ -ーｰ・･");
    QStringList forms;
    for (const industry::Industry& i : industry::builtinIndustries()) {
        for (int p = 1; p <= industry::searchPatterns(i).size(); ++p) {
            for (const QString& w : industry::exclusionWords(i, p)) {
                pool += w;
                forms << w << QStringLiteral("株式会社") + w + QStringLiteral("店")
                      << jtext::toHalfWidth(w) << jtext::katakanaToHiragana(w)
                      << jtext::toHalfWidth(w).left(2) + w.mid(2) << w.toLower();
            }
        }
    }
    for (int n = 0; n < 1500; ++n) {
        QString name;
        const int length = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k)
            name += pool.at(static_cast<qsizetype>(random() % static_cast<unsigned>(pool.size())));
        forms << name;
    }
    QStringList folded;
    for (const QString& name : forms) {
        folded << jtext::foldForCompare(name);
        ASSERT_EQ(foldedName(name), folded.back()) << name.toStdString();
    }
    int dropped = 0;
    for (const industry::Industry& i : industry::builtinIndustries()) {
        const IndustryKeywords keywords = BuildKeywords(i.name.toString(), i.kind, 0, none);
        for (int p = 1; p <= keywords.count(); ++p) {
            QStringList words;
            for (const QString& w : industry::applicableExclusionWords(i, p))
                words << jtext::foldForCompare(w);
            for (qsizetype n = 0; n < forms.size(); ++n) {
                const bool plain = std::none_of(words.begin(), words.end(), [&](const QString& w) {
                    return folded.at(n).contains(w);
                });
                ASSERT_EQ(keywords.keeps(forms.at(n), p), plain)
                    << i.name.toString().toStdString() << " " << p << " "
                    << forms.at(n).toStdString();
                dropped += plain ? 0 : 1;
            }
        }
    }
    EXPECT_GT(dropped, 1000);
}

} // namespace
