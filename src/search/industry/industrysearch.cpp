#include "search/industry/industrysearch.h"

#include "common/textfold.h"
#include "core/context.h"
#include "directory/resultoverride.h"
#include "directory/searchprogress.h"
#include "directory/stoptoken.h"
#include "platform/messages.h"
#include "search/industry/originalindustries.h"

#include <algorithm>

namespace pikotel {

namespace {

// Binds the run's stop token to the progress for as long as the run lasts.
class StopBinding {
public:
    StopBinding(SearchProgress* progress, StopToken* token) : progress_(progress) {
        if (progress_ != nullptr)
            progress_->bindStopToken(token);
    }
    ~StopBinding() {
        if (progress_ != nullptr)
            progress_->bindStopToken(nullptr);
    }
    StopBinding(const StopBinding&) = delete;
    StopBinding& operator=(const StopBinding&) = delete;

private:
    SearchProgress* progress_;
};

bool isReportedEngineError(int result) {
    return result == -1 || result == -3 || result == -4 || result == -5;
}

} // namespace

void IndustryKeywords::add(const QString& pattern, const QStringList& exclusionWords) {
    QStringList folded;
    for (const QString& word : exclusionWords) {
        if (!word.isEmpty() && !industry::defeatsPattern(word, pattern))
            folded.append(foldForCompare(word));
    }
    patterns_.append(pattern);
    foldedWords_.append(folded);
}

bool IndustryKeywords::keeps(const QString& name, int patternNo) const {
    const QStringList& words = foldedWords_.at(patternNo - 1);
    if (words.isEmpty())
        return true;
    const QString folded = foldForCompare(name);
    return std::none_of(words.begin(), words.end(),
                        [&](const QString& word) { return folded.contains(word); });
}

IndustryKeywords BuildKeywords(const QString& text, industry::Kind kind, int listPosition,
                               const OriginalIndustries& originals) {
    IndustryKeywords keywords;
    if (kind == industry::Kind::Original) {
        const OriginalIndustry& original = originals.slot(listPosition);
        if (original.name.isEmpty() || kOriginalMark + original.name != text) {
            MyMsgBoxShow(QStringLiteral("ｵﾘｼﾞﾅﾙ業種が取得できません。"), MsgOk);
            return keywords;
        }
        for (const QString& target : original.targets)
            keywords.add(u'*' + target + u'*', original.exclusions);
    } else if (const industry::Industry* builtin = industry::findIndustry(text)) {
        const QStringList patterns = industry::searchPatterns(*builtin);
        for (int p = 1; p <= patterns.size(); ++p)
            keywords.add(patterns.at(p - 1), industry::exclusionWords(*builtin, p));
    }
    return keywords;
}

ResultRecord industryRecord(qint32 recordNo, const DirRecord& hit) {
    QString name = hit.name;
    const OverrideRow* corrected = ResultOverride::find(hit.telNo);
    if ((corrected == nullptr || corrected->drop) && name.size() < kIndustryNameWidth)
        name += QString(kIndustryNameWidth - name.size(), QChar(0x3000));
    return {recordNo, hit.telNo, name,     QStringLiteral("〒") + hit.zip,
            hit.pref, hit.city,  hit.town, hit.block};
}

IndustryOutcome runIndustrySearch(AppContext& ctx, const IndustryKeywords& keywords,
                                  const QList<ChosenCity>& cities, SearchProgress* progress) {
    ResultSet& results = ctx.results();
    results.clear();
    StopToken stop;
    const StopBinding binding(progress, &stop);
    if (progress != nullptr)
        progress->setFraction(0);

    IndustryOutcome outcome;
    for (qsizetype c = 0; c < cities.size() && outcome.status == IndustryOutcome::Searched; ++c) {
        if (progress != nullptr)
            progress->setFraction(static_cast<double>(c + 1) / static_cast<double>(cities.size()));
        for (int p = 1; p <= keywords.count() && outcome.status == IndustryOutcome::Searched; ++p) {
            // The stop button is pressed while events run.
            ctx.clock().processEvents();
            CityCondition condition;
            condition.cityCode = cities.at(c).code;
            condition.personKind = CityCondition::Corporate;
            condition.namePattern = keywords.patterns().at(p - 1);
            condition.applyDrops = false;
            bool firstHit = true;
            const int result = ctx.directory().searchCity(condition, [&](const DirRecord& hit) {
                if (firstHit) {
                    firstHit = false;
                    if (stop.stopRequested()) {
                        outcome.status = IndustryOutcome::Stopped;
                        return false;
                    }
                }
                if (!keywords.keeps(hit.name, p))
                    return true;
                results.append(industryRecord(static_cast<qint32>(results.size()), hit));
                if (c > 0 && results.size() >= kMaxResults) {
                    outcome.status = IndustryOutcome::LimitReached;
                    return false;
                }
                return true;
            });
            if (isReportedEngineError(result))
                MyMsgBoxShow(DxsSearchErrorText(result), MsgOk);
        }
    }
    outcome.hits = static_cast<int>(results.size());
    return outcome;
}

void applyIndustryRecordLimit(AppContext& ctx, qsizetype cityCount) {
    ResultSet& results = ctx.results();
    const qsizetype count = results.size();
    if (count < kMaxResults)
        return;
    if (cityCount > 1) {
        MyMsgBoxShow(
            QStringLiteral("検索結果が１０００件を超えました。\r\n"
                           "以降は表示されません。（一市区町村の場合検索結果制限はありません）"),
            MsgOk);
        results.resize(kMaxResults);
        return;
    }
    const QString question =
        QStringLiteral(
            "検索結果が１０００件を超えました。これ以上表示させますか。(検索結果件数： ") +
        QString::number(count) +
        QStringLiteral("件)\r\n＜注意＞１０００件以上は動作が重くなる場合があります。");
    if (MyMsgBoxShow(question, MsgYesNo) != MsgResultYes)
        results.resize(kMaxResults);
}

void setIndustryCaptions(AppContext& ctx, const QString& prefecture, const QStringList& cities,
                         const QString& industryText) {
    clsKekka3& k = ctx.kekka();
    k.todofuken_Caption = prefecture;
    k.siku_Caption = wideCitiesCaption(cities);
    k.title1_Caption = QStringLiteral("業種選択：");
    k.title2_Caption.clear();
    k.label1_Caption = industryText;
    k.label2_Caption.clear();
}

} // namespace pikotel
