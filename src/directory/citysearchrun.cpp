#include "directory/citysearchrun.h"

#include "directory/searchprogress.h"
#include "platform/services.h"

#include <utility>

namespace pikotel {

CitySearchRun::CitySearchRun(Directory& directory, Clock& clock, SearchProgress* progress)
    : directory_(directory), clock_(clock), progress_(progress) {
    if (progress_ != nullptr)
        progress_->bindStopToken(&stop_);
}

CitySearchRun::~CitySearchRun() {
    if (progress_ != nullptr)
        progress_->bindStopToken(nullptr);
}

int CitySearchRun::run(const QList<CityCondition>& cities, const CityHitVisitor& visit,
                       const std::function<void(qsizetype)>& beforeCity) {
    bool visitorDone = false;
    const CityHitVisitor forward = [&](DirRecord&& hit) {
        visitorDone = !visit(std::move(hit));
        return !visitorDone;
    };
    if (progress_ != nullptr)
        progress_->setFraction(0);
    for (qsizetype i = 0; i < cities.size(); ++i) {
        // The stop button is pressed while events run.
        clock_.processEvents();
        if (stop_.stopRequested())
            return 0;
        if (beforeCity)
            beforeCity(i);
        const int result = directory_.searchCity(cities[i], forward);
        if (progress_ != nullptr)
            progress_->setFraction(static_cast<double>(i + 1) / static_cast<double>(cities.size()));
        if (result != 0 || visitorDone)
            return result;
    }
    return 0;
}

} // namespace pikotel
