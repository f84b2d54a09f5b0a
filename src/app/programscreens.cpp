#include "app/programscreens.h"

#include "core/context.h"
#include "search/phone/telfindscreen.h"
#include "search/postal/zipfindscreen.h"

namespace pikotel {

bool ProgramScreens::hasSearchScreen(int screenNo) const {
    return screenNo == ScreenPhone || screenNo == ScreenZipToAddress;
}

QWidget* ProgramScreens::createSearchScreen(int screenNo, SearchScreenHost& host) {
    if (screenNo == ScreenPhone)
        return createTelFindScreen(ctx_, host);
    if (screenNo == ScreenZipToAddress)
        return createZipFindScreen(ctx_, host);
    return nullptr;
}

} // namespace pikotel
