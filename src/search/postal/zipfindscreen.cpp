#include "search/postal/zipfindscreen.h"

#include "search/postal/frmzipfind3.h"

namespace pikotel {

QWidget* createZipFindScreen(AppContext& ctx, frmMain* mainMenu) {
    auto* screen = new frmZipFind3(ctx, mainMenu);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
