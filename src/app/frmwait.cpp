#include "app/frmwait.h"

#include <QLabel>
#include <QTimer>

namespace pikotel {

frmWait::frmWait(QWidget* parent)
    : FrameScreen(parent, {QStringLiteral("Picture1"), QStringLiteral("Image1"),
                           QStringLiteral("Image2"), QStringLiteral("Timer1"),
                           QStringLiteral("wait1"), QStringLiteral("wait2"), 500}) {
    setObjectName(QStringLiteral("frmWait"));
    setFixedSize(pictureBox_->size());
    showImage(image1_);
    connect(timer_, &QTimer::timeout, this, &frmWait::Timer1_Timer);
    timer_->start();
}

void frmWait::Timer1_Timer() {
    turnFrames(blbl_);
}

} // namespace pikotel
