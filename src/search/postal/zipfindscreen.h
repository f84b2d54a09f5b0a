#pragma once

// The postal-code search screen for the program's screen catalog.

class QWidget;

namespace pikotel {

class AppContext;
class SearchScreenHost;

// Creates and loads frmZipFind3 over its host; the caller shows it. The screen chooses its
// mode from the stored prefecture and deletes itself when it closes, handing its position
// back to the host.
QWidget* createZipFindScreen(AppContext& ctx, SearchScreenHost& host);

} // namespace pikotel
