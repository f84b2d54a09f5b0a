#pragma once

// The phone-number search screen for the main menu's hooks.

class QWidget;

namespace pikotel {

class AppContext;
class frmMain;

// Creates and loads frmTelFind over the main menu; the caller shows it. The screen deletes
// itself when it closes, handing its position back and showing the main menu again.
QWidget* createTelFindScreen(AppContext& ctx, frmMain* mainMenu);

} // namespace pikotel
