#include "app/placement.h"

#include "app/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace pikotel {

namespace {

const QScreen* screenFor(const QWidget* reference, const QWidget* w) {
    if (reference != nullptr && reference->screen() != nullptr)
        return reference->screen();
    if (w->screen() != nullptr)
        return w->screen();
    return QGuiApplication::primaryScreen();
}

void centreOnScreen(const QScreen* screen, QWidget* w) {
    const QRect g = screen->geometry();
    const double width = g.width() * twipsPerPixelX(screen);
    const double height = g.height() * twipsPerPixelY(screen);
    setTwipsLeft(w, (width - twipsWidth(w)) / 2);
    setTwipsTop(w, (height - twipsHeight(w)) / 2);
}

} // namespace

void CenterFormOver(const QWidget* reference, QWidget* w) {
    if (w == nullptr)
        return;
    const QScreen* screen = screenFor(reference, w);
    if (screen == nullptr)
        return;
    if (reference == nullptr) {
        centreOnScreen(screen, w);
        return;
    }

    const double tppX = twipsPerPixelX(screen);
    const double tppY = twipsPerPixelY(screen);
    double rightBound = 0;
    double bottomBound = 0;
    const QRect work = screen->availableGeometry();
    if (!work.isEmpty()) {
        rightBound = (work.x() + work.width()) * tppX;
        bottomBound = (work.y() + work.height()) * tppY;
    } else {
        rightBound = screen->geometry().width() * tppX;
        bottomBound = screen->geometry().height() * tppY;
    }

    // Centred in whole pixels by the client sizes, the odd pixel of a size difference dropped
    // towards the reference's edge. Placing w over the reference and the reference back over
    // w then returns the reference exactly where it was: rounding half pixels up both ways
    // moved it a pixel per trip, and a window placed before the desktop has framed it (as a
    // screen placing itself while it loads) would be off by the frame.
    const int centredX = reference->pos().x() + (reference->width() - w->width()) / 2;
    const int centredY = reference->pos().y() + (reference->height() - w->height()) / 2;
    const double width = twipsWidth(w);
    const double height = twipsHeight(w);

    int left = centredX > 0 ? centredX : 0;
    if (width + left * tppX > rightBound)
        left = static_cast<int>(std::lround((rightBound - width) / tppX));

    int top = centredY > 0 ? centredY : 0;
    if (height + top * tppY > bottomBound)
        top = static_cast<int>(std::lround((bottomBound - height) / tppY));

    w->move(left, top);
}

} // namespace pikotel
