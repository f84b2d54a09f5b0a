#include "app/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace pikotel {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// What a display without a screen object (none attached yet) is taken to be.
constexpr double kDefaultDpi = 96.0;

const QScreen* screenOf(const QWidget* widget) {
    if (widget != nullptr && widget->screen() != nullptr)
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

double perPixel(double dpi) {
    return dpi > 0 ? kTwipsPerInch / dpi : kTwipsPerInch / kDefaultDpi;
}

// Frame size minus client size: zero for children and for windows not yet decorated.
QSize frameExtra(const QWidget* widget) {
    if (!widget->isWindow())
        return QSize(0, 0);
    return widget->frameGeometry().size() - widget->geometry().size();
}

} // namespace

double twipsPerPixelX(const QScreen* screen) {
    return perPixel(screen != nullptr ? screen->logicalDotsPerInchX() : kDefaultDpi);
}

double twipsPerPixelY(const QScreen* screen) {
    return perPixel(screen != nullptr ? screen->logicalDotsPerInchY() : kDefaultDpi);
}

double twipsPerPixelX(const QWidget* widget) {
    return twipsPerPixelX(screenOf(widget));
}
double twipsPerPixelY(const QWidget* widget) {
    return twipsPerPixelY(screenOf(widget));
}

int pixelsToTwipsX(const QWidget* widget, int pixels) {
    return static_cast<int>(std::lround(pixels * twipsPerPixelX(widget)));
}

int pixelsToTwipsY(const QWidget* widget, int pixels) {
    return static_cast<int>(std::lround(pixels * twipsPerPixelY(widget)));
}

int twipsToPixelsX(const QWidget* widget, double twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixelX(widget)));
}

int twipsToPixelsY(const QWidget* widget, double twips) {
    return static_cast<int>(std::lround(twips / twipsPerPixelY(widget)));
}

int twipsLeft(const QWidget* widget) {
    return pixelsToTwipsX(widget, widget->pos().x());
}
int twipsTop(const QWidget* widget) {
    return pixelsToTwipsY(widget, widget->pos().y());
}

int twipsWidth(const QWidget* widget) {
    return pixelsToTwipsX(widget, widget->width() + frameExtra(widget).width());
}

int twipsHeight(const QWidget* widget) {
    return pixelsToTwipsY(widget, widget->height() + frameExtra(widget).height());
}

void setTwipsLeft(QWidget* widget, double twips) {
    widget->move(twipsToPixelsX(widget, twips), widget->pos().y());
}

void setTwipsTop(QWidget* widget, double twips) {
    widget->move(widget->pos().x(), twipsToPixelsY(widget, twips));
}

void setTwipsWidth(QWidget* widget, double twips) {
    const int px = twipsToPixelsX(widget, twips) - frameExtra(widget).width();
    widget->resize(std::max(0, px), widget->height());
}

void setTwipsHeight(QWidget* widget, double twips) {
    const int px = twipsToPixelsY(widget, twips) - frameExtra(widget).height();
    widget->resize(widget->width(), std::max(0, px));
}

void setTwipsGeometry(QWidget* widget, double left, double top, double width, double height) {
    setTwipsWidth(widget, width);
    setTwipsHeight(widget, height);
    widget->move(twipsToPixelsX(widget, left), twipsToPixelsY(widget, top));
}

} // namespace pikotel
