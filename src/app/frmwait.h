#pragma once

#include "app/framescreen.h"

namespace pikotel {

// The wait screen, shown while a search screen loads: Image1 stays for the first two ticks
// of 500 ms, then the frames change at every tick. Raises itself at every tick.
class frmWait final : public FrameScreen {
    Q_OBJECT
public:
    explicit frmWait(QWidget* parent = nullptr);
    void Timer1_Timer();

private:
    bool blbl_ = true;
};

} // namespace pikotel
