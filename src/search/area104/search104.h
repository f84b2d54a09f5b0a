#pragma once

// Running a 104-style search: the conditions become one engine search per city, the hits
// (at most 1000) fill the run's result set, and the result list controller gets the captions
// the results screen shows. No display needed: the screen hands in its progress and status.

#include "history/historystore.h"

#include <QList>
#include <QString>

#include <functional>

namespace pikotel {

class AppContext;
class SearchProgress;

inline constexpr int kMaxResults = 1000;
// Longest typed name part and town, in cp932 bytes, so that a pattern fits the engines'
// condition fields (80 bytes of name pattern, 40 of town).
inline constexpr int kMaxNamePartBytes = 38;
inline constexpr int kMaxTownBytes = 39;

// A city chosen on the screen: its name as listed and its code.
struct ChosenCity {
    QString name;
    qint32 code = 0;
};

// The text cut to at most maxBytes cp932 bytes, never inside a character.
QString cutToBytes(const QString& text, int maxBytes);

// The name pattern the engines take: for a person the surname (or "*") followed by a
// full-width blank and the given name, or by "*" when there is none; for a company its name
// between two "*". The typed parts must be trimmed already.
QString namePattern104(const Area104Conditions& conditions);

// The caption texts of the results screen.
void set104Captions(AppContext& ctx, const Area104Conditions& conditions);
// The cities caption of a wide search: the first ten names, each followed by two blanks,
// and "... 計n市区町村" when more were chosen.
QString wideCitiesCaption(const QStringList& cities);
// The message when nothing was found.
QString noHitMessage104(const Area104Conditions& conditions);
// The message for a negative engine result.
QString engineErrorMessage(int result);

struct Search104Outcome {
    // 0 searched (or stopped by the user); 1 the 1000-record limit was reached; a negative
    // engine result.
    int result = 0;
    // Records in the result set.
    int hits = 0;
};

// Searches every city in order into the run's result set (cleared first). The limit message
// is shown once when it is reached; engine errors are returned, not shown. beforeCity learns
// which city is next; the progress, when given, shows the share done and offers the stop.
Search104Outcome runSearch104(AppContext& ctx, const Area104Conditions& conditions,
                              const QList<ChosenCity>& cities, SearchProgress* progress,
                              const std::function<void(const ChosenCity&)>& beforeCity = {});

} // namespace pikotel
