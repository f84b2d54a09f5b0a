#pragma once

// The postal-code search screen for the main menu's hooks.

class QWidget;

namespace pikotel {

class AppContext;
class frmMain;

// Creates and loads frmZipFind3 over the main menu; the caller shows it. The screen chooses
// its mode from the stored prefecture and deletes itself when it closes, showing the main
// menu again.
QWidget* createZipFindScreen(AppContext& ctx, frmMain* mainMenu);

} // namespace pikotel
