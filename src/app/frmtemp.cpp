#include "app/frmtemp.h"

#include "app/pictures.h"
#include "app/twips.h"
#include "app/widgets.h"
#include "directory/stoptoken.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace pikotel {

namespace {

// Progress screen layout (pixels): picture on top, the bar, the stop button.
constexpr int kMargin = 16;
constexpr int kBarGap = 10;
constexpr int kBarHeight = 14;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 34;

} // namespace

frmTemp::frmTemp(QWidget* parent)
    : FrameScreen(parent, {QStringLiteral("Picture1"), QStringLiteral("Image1"),
                           QStringLiteral("Image2"), QStringLiteral("tmrtemp"),
                           QStringLiteral("search1"), QStringLiteral("search2"), 50}),
      shpFind_(new QFrame(this)),
      cmdStop_(newPictureButton(this, QStringLiteral("cmdStop"), QStringLiteral("icon_stop"),
                                QStringLiteral("検索中止"))) {
    setObjectName(QStringLiteral("frmTemp"));
    const int width = pictureBox_->width();
    const int barTop = pictureBox_->height() + kBarGap;
    const int barWidth = width - 2 * kMargin;

    // The track shows where the bar will end; shpFind grows over it.
    auto* track = new QFrame(this);
    track->setFrameShape(QFrame::Box);
    track->setGeometry(kMargin - 1, barTop - 1, barWidth + 2, kBarHeight + 2);
    track->setStyleSheet(
        QStringLiteral("QFrame { border: 1px solid #C9B27C; background: #FFFBF1; }"));

    shpFind_->setObjectName(QStringLiteral("shpFind"));
    shpFind_->setStyleSheet(QStringLiteral("QFrame { background: #F2B36B; border: none; }"));
    shpFind_->setGeometry(kMargin, barTop, barWidth, kBarHeight);
    shpFind_->raise();
    fullBarWidth_ = twipsWidth(shpFind_);

    const int buttonTop = barTop + kBarHeight + kBarGap;
    cmdStop_->setIconSize(QSize(20, 20));
    cmdStop_->setGeometry((width - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight);
    connect(cmdStop_, &QToolButton::clicked, this, &frmTemp::cmdStop_Click);
    setFixedSize(width, buttonTop + kButtonHeight + kBarGap);

    showImage(image1_);
    connect(timer_, &QTimer::timeout, this, &frmTemp::tmrtemp_Timer);
    timer_->start();
}

void frmTemp::tmrtemp_Timer() {
    turnFrames(blbl_);
}

int frmTemp::barWidth() const {
    return twipsWidth(shpFind_);
}

void frmTemp::setBarWidth(int twips) {
    setTwipsWidth(shpFind_, std::clamp(twips, 0, fullBarWidth_));
}

void frmTemp::setFraction(double done) {
    setBarWidth(qRound(fullBarWidth_ * done));
}

void frmTemp::cmdStop_Click() {
    if (stopToken_ != nullptr)
        stopToken_->requestStop();
}

} // namespace pikotel
