#pragma once

// The phone-number search screen for the program's screen catalog.

class QWidget;

namespace pikotel {

class AppContext;
class SearchScreenHost;

// Creates and loads frmTelFind over its host; the caller shows it. The screen deletes itself
// when it closes, handing its position back to the host.
QWidget* createTelFindScreen(AppContext& ctx, SearchScreenHost& host);

} // namespace pikotel
