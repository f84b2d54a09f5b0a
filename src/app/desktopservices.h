#pragma once

// The real modal-screen runner, file dialogs, clipboard and spreadsheet (LibreOffice Calc,
// through its module when that loads), for the entry procedure and for tests that drive
// screens the way a user does.

namespace pikotel {

class AppContext;

void installDesktopServices(AppContext& ctx);

} // namespace pikotel
