#include "app/programscreens.h"

#include "core/context.h"
#include "search/area104/frm104find.h"
#include "search/industry/frmgyoshufind2.h"
#include "search/phone/telfindscreen.h"
#include "search/postal/zipfindscreen.h"
#include "settings/frmenvset.h"

namespace pikotel {

bool ProgramScreens::hasSearchScreen(int screenNo) const {
    return screenNo == ScreenPhone || screenNo == Screen104 || screenNo == ScreenIndustry ||
           screenNo == ScreenZipToAddress;
}

QWidget* ProgramScreens::createSearchScreen(int screenNo, SearchScreenHost& host) {
    if (screenNo == ScreenPhone)
        return createTelFindScreen(ctx_, host);
    if (screenNo == Screen104)
        return create104FindScreen(ctx_, host);
    if (screenNo == ScreenIndustry)
        return createGyoshuFindScreen(ctx_, host);
    if (screenNo == ScreenZipToAddress)
        return createZipFindScreen(ctx_, host);
    return nullptr;
}

QWidget* ProgramScreens::createSettingsScreen(const QString& caller, QWidget* over,
                                              std::function<void()> afterSave) {
    auto* screen = new FrmEnvset(ctx_, caller, over, std::move(afterSave), programEnd_);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->Form_Load();
    return screen;
}

} // namespace pikotel
