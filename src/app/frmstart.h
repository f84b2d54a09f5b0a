#pragma once

#include "app/framescreen.h"

namespace pikotel {

// The splash screen, shown while the program starts: centred on the screen, hourglass
// pointer over it, the frames change at every 100 ms tick.
class frmstart final : public FrameScreen {
    Q_OBJECT
public:
    explicit frmstart(QWidget* parent = nullptr);
    void Timer11_Timer();

private:
    qint32 flag_ = 1; // 1 while Image11 is shown
};

} // namespace pikotel
