#pragma once

// The splash, wait and progress screens are built alike: a picture box in which two
// pictures, kept in two hidden images, take turns on a timer. Small fixed windows without
// buttons or a task-bar entry; whoever opens one shows it and deletes it.

#include <QWidget>

class QLabel;
class QTimer;

namespace pikotel {

// What the three screens share: the window style, the picture box and its two images.
class FrameScreen : public QWidget {
    Q_OBJECT
protected:
    struct Design {
        QString pictureBox, image1, image2, timer;
        QString picture1, picture2; // names in pictures.h
        int intervalMs;
    };
    FrameScreen(QWidget* parent, const Design& design);

    // Puts the image's picture into the picture box and repaints it at once.
    void showImage(QLabel* image);
    // One tick of the wait and progress screens: image 1 while the flag is set, image 2
    // while it is clear, the flag turned; the window stays in front of its opener.
    void turnFrames(bool& flag);

    QLabel* pictureBox_;
    QLabel* image1_;
    QLabel* image2_;
    QTimer* timer_;
};

} // namespace pikotel
