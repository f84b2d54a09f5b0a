#pragma once

// A request to stop a running search. The search owns the token and hands it to whatever
// may ask for a stop (the progress screen's stop button); it looks at the token between
// cities. One thread: the button is pressed while the search lets pending events run.

namespace pikotel {

class StopToken {
public:
    void requestStop() { requested_ = true; }
    bool stopRequested() const { return requested_; }

private:
    bool requested_ = false;
};

} // namespace pikotel
