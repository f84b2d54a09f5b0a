#include "app/framescreen.h"

#include "app/pictures.h"

#include <QLabel>
#include <QTimer>

namespace pikotel {

namespace {

QLabel* newImage(QWidget* parent, const QString& objectName, const QString& pictureName) {
    auto* image = new QLabel(parent);
    image->setObjectName(objectName);
    image->setPixmap(picture(pictureName));
    image->hide();
    return image;
}

} // namespace

FrameScreen::FrameScreen(QWidget* parent, const Design& design)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), pictureBox_(new QLabel(this)),
      image1_(newImage(this, design.image1, design.picture1)),
      image2_(newImage(this, design.image2, design.picture2)), timer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral(" "));
    pictureBox_->setObjectName(design.pictureBox);
    pictureBox_->resize(image1_->pixmap().size());
    pictureBox_->move(0, 0);
    timer_->setObjectName(design.timer);
    timer_->setInterval(design.intervalMs);
}

void FrameScreen::showImage(QLabel* image) {
    pictureBox_->setPixmap(image->pixmap());
    pictureBox_->repaint();
}

void FrameScreen::turnFrames(bool& flag) {
    showImage(flag ? image1_ : image2_);
    flag = !flag;
    raise();
}

} // namespace pikotel
