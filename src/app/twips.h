#pragma once

// Window positions and sizes in twips (1/1440 inch), the unit the program stores and lays
// out in. 15 twips make one logical pixel at 96 dpi; the screen's logical dpi decides.

class QWidget;
class QScreen;

namespace pikotel {

// Twips per logical pixel of the widget's screen (of the primary screen for nullptr).
double twipsPerPixelX(const QWidget* widget = nullptr);
double twipsPerPixelY(const QWidget* widget = nullptr);
double twipsPerPixelX(const QScreen* screen);
double twipsPerPixelY(const QScreen* screen);

int pixelsToTwipsX(const QWidget* widget, int pixels);
int pixelsToTwipsY(const QWidget* widget, int pixels);
int twipsToPixelsX(const QWidget* widget, double twips);
int twipsToPixelsY(const QWidget* widget, double twips);

// Left and Top are the outer position (a window's frame, a child's position in its parent);
// Width and Height the outer size, frame included when the window has one.
int twipsLeft(const QWidget* widget);
int twipsTop(const QWidget* widget);
int twipsWidth(const QWidget* widget);
int twipsHeight(const QWidget* widget);
void setTwipsLeft(QWidget* widget, double twips);
void setTwipsTop(QWidget* widget, double twips);
void setTwipsWidth(QWidget* widget, double twips);
void setTwipsHeight(QWidget* widget, double twips);
void setTwipsGeometry(QWidget* widget, double left, double top, double width, double height);

} // namespace pikotel
