#pragma once

// The keyboard conventions of every screen and dialog: Enter on a focused button presses it
// (as the space bar does), and a focused button shows a frame a user can see, also where the
// program moved the focus. Esc is a dialog's cancel choice, as QDialog already answers it.

class QAbstractButton;
class QApplication;
class QKeyEvent;
class QStyle;

namespace pikotel {

// Installs both on the application; call once, after the application object exists.
void installKeyboardConventions(QApplication& app);

// A window's Esc without modifiers presses its close button, when there is one to press;
// true when it did.
bool escapePresses(const QKeyEvent& event, QAbstractButton* button);

} // namespace pikotel
