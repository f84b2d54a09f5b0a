#pragma once

// A search over several cities, one after the other, as the area searches run it: pending
// events run and the stop token is looked at before each city, the progress follows the
// cities done, and an engine error ends the run. The run owns its stop token and binds it
// to the progress for as long as the run exists; a stopped run stays stopped.

#include "directory/directory.h"
#include "directory/stoptoken.h"

#include <QList>

#include <functional>

namespace pikotel {

class Clock;
class SearchProgress;

class CitySearchRun {
public:
    // The progress, when given, must outlive the run.
    CitySearchRun(Directory& directory, Clock& clock, SearchProgress* progress = nullptr);
    ~CitySearchRun();
    CitySearchRun(const CitySearchRun&) = delete;
    CitySearchRun& operator=(const CitySearchRun&) = delete;

    StopToken& stopToken() { return stop_; }

    // Searches the cities in order, handing every hit to the visitor. 0 when the run got
    // through or was ended early (by a stop or by the visitor: the hits so far stand);
    // otherwise the result of the city that failed (Directory::searchCity), after which no
    // city is searched.
    // beforeCity, when given, learns the index of each city about to be searched.
    int run(const QList<CityCondition>& cities, const CityHitVisitor& visit,
            const std::function<void(qsizetype)>& beforeCity = {});

private:
    Directory& directory_;
    Clock& clock_;
    SearchProgress* progress_;
    StopToken stop_;
};

} // namespace pikotel
