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

    const double cx = twipsWidth(reference) / 2.0 + twipsLeft(reference);
    const double cy = twipsHeight(reference) / 2.0 + twipsTop(reference);
    const double width = twipsWidth(w);
    const double height = twipsHeight(w);

    const double x = cx - width / 2;
    double left = x > 0 ? x : 0;
    if (width + left > rightBound)
        left = rightBound - width;

    const double y = cy - height / 2;
    double top = y > 0 ? y : 0;
    if (height + top > bottomBound)
        top = bottomBound - height;

    w->move(static_cast<int>(std::lround(left / tppX)), static_cast<int>(std::lround(top / tppY)));
}

} // namespace pikotel
