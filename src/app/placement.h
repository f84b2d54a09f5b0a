#pragma once

// Placing one window centred over another, kept inside the desktop work area.

class QWidget;

namespace pikotel {

// Centres w over reference and pulls it back over the work area's right and bottom edges
// (not over the left and top ones: the position is only clipped at 0 there). All in twips.
// Without a reference window w is centred on the screen.
void CenterFormOver(const QWidget* reference, QWidget* w);

} // namespace pikotel
