#include "app/frmstart.h"

#include "app/placement.h"

#include <QLabel>
#include <QTimer>

namespace pikotel {

frmstart::frmstart(QWidget* parent)
    : FrameScreen(parent, {QStringLiteral("Start_Picture"), QStringLiteral("Image11"),
                           QStringLiteral("Image22"), QStringLiteral("Timer11"),
                           QStringLiteral("splash1"), QStringLiteral("splash2"), 100}) {
    setObjectName(QStringLiteral("frmstart"));
    setFixedSize(pictureBox_->size());
    setCursor(Qt::WaitCursor);
    showImage(image1_);
    CenterFormOver(nullptr, this);
    connect(timer_, &QTimer::timeout, this, &frmstart::Timer11_Timer);
    timer_->start();
}

void frmstart::Timer11_Timer() {
    if (flag_ == 1) {
        showImage(image2_);
        flag_ = 0;
    } else {
        showImage(image1_);
        flag_ = 1;
    }
}

} // namespace pikotel
