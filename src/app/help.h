#pragma once

// The help pages, opened in the desktop's browser.

namespace pikotel {

class AppContext;

// Opens help/index.html of the program folder, or says the help is missing.
void OpenHelp(AppContext& ctx);

} // namespace pikotel
