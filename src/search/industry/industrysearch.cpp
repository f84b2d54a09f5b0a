#include "search/industry/industrysearch.h"

#include "common/textfold.h"
#include "core/context.h"
#include "directory/resultoverride.h"
#include "directory/searchprogress.h"
#include "directory/stoptoken.h"
#include "platform/messages.h"
#include "search/industry/originalindustries.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

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
    std::sort(folded.begin(), folded.end());
    for (const QString& word : folded) {
        if (word.isEmpty()) // found in every name: no character rules a name out
            std::fill(firstChars_.begin(), firstChars_.end(), true);
        else
            firstChars_[word.front().unicode()] = true;
    }
    patterns_.append(pattern);
    foldedWords_.append(folded);
}

QString foldedName(const QString& name) {
    // What each character folds to when, alone, it folds to one character and takes no part
    // in its neighbours' folding; kJoins for marks, voicing marks, conjoining jamo,
    // surrogates and longer folds, which are left to the full fold.
    constexpr char16_t kUnknown = 0xFFFF;
    constexpr char16_t kJoins = 0xFFFE;
    thread_local std::vector<char16_t> single(0x10000, kUnknown);
    bool same = true;
    for (const QChar c : name) {
        char16_t& f = single[c.unicode()];
        if (f == kUnknown) {
            const char16_t code = c.unicode();
            const bool joins = c.isSurrogate() || c.isMark() ||
                               (code >= 0x3099 && code <= 0x309C) || code == 0xFF9E ||
                               code == 0xFF9F || (code >= 0x1100 && code <= 0x11FF) ||
                               (code >= 0xA960 && code <= 0xA97F) ||
                               (code >= 0xD7B0 && code <= 0xD7FF) || code >= kJoins;
            const QString folded = joins ? QString() : foldForCompare(QString(c));
            f = folded.size() == 1 && folded.front().unicode() < kJoins ? folded.front().unicode()
                                                                        : kJoins;
        }
        if (f == kJoins)
            return foldForCompare(name);
        same = same && f == c.unicode();
    }
    if (same)
        return name;
    QString out(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        out[i] = QChar(single[name.at(i).unicode()]);
    return out;
}

bool IndustryKeywords::keeps(const QString& name, int patternNo) const {
    const QStringList& words = foldedWords_.at(patternNo - 1);
    if (words.isEmpty())
        return true;
    if (words.front().isEmpty())
        return false;
    const QString folded = foldedName(name);
    const QStringView text(folded);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!firstChars_[c.unicode()])
            continue;
        auto word =
            std::lower_bound(words.begin(), words.end(), c,
                             [](const QString& w, QChar first) { return w.front() < first; });
        for (; word != words.end() && word->front() == c; ++word) {
            if (text.sliced(i).startsWith(*word))
                return false;
        }
    }
    return true;
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

ResultRecord industryRecord(qint32 recordNo, DirRecord&& hit) {
    const OverrideRow* corrected = ResultOverride::find(hit.telNo);
    if ((corrected == nullptr || corrected->drop) && hit.name.size() < kIndustryNameWidth)
        hit.name.resize(kIndustryNameWidth, QChar(0x3000));
    return {recordNo,
            std::move(hit.telNo),
            std::move(hit.name),
            QStringLiteral("〒") + hit.zip,
            std::move(hit.pref),
            std::move(hit.city),
            std::move(hit.town),
            std::move(hit.block)};
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
            const int result = ctx.directory().searchCity(condition, [&](DirRecord&& hit) {
                if (firstHit) {
                    firstHit = false;
                    if (stop.stopRequested()) {
                        outcome.status = IndustryOutcome::Stopped;
                        return false;
                    }
                }
                if (!keywords.keeps(hit.name, p))
                    return true;
                results.append(industryRecord(static_cast<qint32>(results.size()), std::move(hit)));
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
