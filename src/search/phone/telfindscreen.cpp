#include "search/phone/telfindscreen.h"

#include "search/phone/frmtelfind.h"

namespace pikotel {

QWidget* createTelFindScreen(AppContext& ctx, SearchScreenHost& host) {
    auto* screen = new frmTelFind(ctx, host);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
