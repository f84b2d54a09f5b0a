#pragma once

// Running an industry search: the chosen industry becomes search patterns, each city is
// searched once per pattern, listings whose names hold one of the pattern's exclusion words
// are dropped, the rest fill the run's result set under the 1000-record rule, and the
// results screen gets its captions. No display needed: the screen hands in its progress.

#include "directory/dirrecord.h"
#include "results/resultrecord.h"
#include "search/area104/search104.h"
#include "search/industry/industryvocab.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace pikotel {

class AppContext;
class OriginalIndustries;
class SearchProgress;

// The mark before an original industry's name in the industry list.
inline const QString kOriginalMark = QStringLiteral("※");
// Names shorter than this are padded with ideographic spaces in the results.
inline constexpr int kIndustryNameWidth = 14;

inline const QString kNoIndustryHit = QStringLiteral("<< 該当の業種は見つかりません >>");

// The patterns of one search (pattern number p at index p - 1) and each one's exclusion
// words, folded once for the loose comparison (case, width and kana kind ignored).
class IndustryKeywords {
public:
    const QStringList& patterns() const { return patterns_; }
    int count() const { return static_cast<int>(patterns_.size()); }
    // Adds the next pattern. Exclusion words that the pattern's own text holds would drop
    // every listing it finds; they do not apply to it.
    void add(const QString& pattern, const QStringList& exclusionWords);
    // KeepListing: false when a listing pattern patternNo found holds one of its words.
    bool keeps(const QString& name, int patternNo) const;

private:
    QStringList patterns_;
    // Each pattern's folded words, ordered by their first character.
    QList<QStringList> foldedWords_;
    // The first characters of all folded words: where a name holds none, no word begins.
    std::vector<bool> firstChars_ = std::vector<bool>(0x10000, false);
};

// foldForCompare(name); a name whose characters all fold to themselves is given back as it is.
QString foldedName(const QString& name);

// BuildKeywords for the industry the list shows as text, of the kind its item holds. An
// original industry is the slot at its list position (originals come first in the list);
// when that slot's name no longer gives the text, the message "ｵﾘｼﾞﾅﾙ業種が取得できません。"
// and no patterns. A search never takes more patterns than the engines' condition lists
// hold: an original has at most 30 targets, a built-in industry at most 40 patterns.
IndustryKeywords BuildKeywords(const QString& text, industry::Kind kind, int listPosition,
                               const OriginalIndustries& originals);

// The result record of a kept listing: a name shorter than 14 characters padded with
// ideographic spaces (a name the correction table rewrote stays as the table gives it),
// "〒" before the postal code.
ResultRecord industryRecord(qint32 recordNo, DirRecord&& hit);

struct IndustryOutcome {
    enum Status : int { Searched = 0, LimitReached = 1, Stopped = 2 };
    Status status = Searched;
    // Records in the result set.
    int hits = 0;
};

// Searches every city in order, each for every pattern, into the run's result set (cleared
// first). The first city is always searched to its end; in a later one the run ends as soon
// as 1000 records exist. A stop asked for on the progress ends the run at the next engine
// search that finds something, without taking its hits. Engine errors show their message
// and the run goes on.
IndustryOutcome runIndustrySearch(AppContext& ctx, const IndustryKeywords& keywords,
                                  const QList<ChosenCity>& cities, SearchProgress* progress);

// With 1000 records or more: over several cities the notice, and the set keeps its first
// 1000; in one city the question with the count, and No keeps the first 1000.
void applyIndustryRecordLimit(AppContext& ctx, qsizetype cityCount);

// The captions of the results screen.
void setIndustryCaptions(AppContext& ctx, const QString& prefecture, const QStringList& cities,
                         const QString& industryText);

} // namespace pikotel
