#pragma once

// What a search over many cities shows while it runs: how far it got, and a way for the user
// to stop it. The progress screen implements it; headless runs need none.

namespace pikotel {

class StopToken;

class SearchProgress {
public:
    virtual ~SearchProgress() = default;

    // The share of the work done, 0 to 1.
    virtual void setFraction(double done) = 0;
    // Stop requests go to this token until another is bound; nullptr when no search runs.
    // The search that binds its token unbinds it before the token goes.
    virtual void bindStopToken(StopToken* token) = 0;
};

} // namespace pikotel
