#include "search/postal/zipfindscreen.h"

#include "search/postal/frmzipfind3.h"

namespace pikotel {

QWidget* createZipFindScreen(AppContext& ctx, SearchScreenHost& host) {
    auto* screen = new frmZipFind3(ctx, host);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
