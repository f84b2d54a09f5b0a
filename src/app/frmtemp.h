#pragma once

#include "app/framescreen.h"
#include "directory/searchprogress.h"

class QFrame;
class QToolButton;

namespace pikotel {

// The progress screen of the multi-city searches, with its bar and its stop button; the
// frames change at every 50 ms tick. Raises itself at every tick.
class frmTemp final : public FrameScreen, public SearchProgress {
    Q_OBJECT
public:
    explicit frmTemp(QWidget* parent = nullptr);
    void tmrtemp_Timer();

    // The bar's designed width, the full bar (twips).
    int fullBarWidth() const { return fullBarWidth_; }
    int barWidth() const;
    // Clipped to 0 … fullBarWidth().
    void setBarWidth(int twips);

    void setFraction(double done) override;
    void bindStopToken(StopToken* token) override { stopToken_ = token; }

private:
    // Asks the running search to stop; the window stays until the search closes it.
    void cmdStop_Click();

    QFrame* shpFind_;
    QToolButton* cmdStop_;
    StopToken* stopToken_ = nullptr;
    int fullBarWidth_;
    bool blbl_ = false;
};

} // namespace pikotel
