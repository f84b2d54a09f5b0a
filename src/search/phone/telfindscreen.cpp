#include "search/phone/telfindscreen.h"

#include "search/phone/frmtelfind.h"

namespace pikotel {

QWidget* createTelFindScreen(AppContext& ctx, frmMain* mainMenu) {
    auto* screen = new frmTelFind(ctx, mainMenu);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
