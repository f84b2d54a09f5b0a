#include "app/help.h"

#include "core/context.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <QFile>

namespace pikotel {

void OpenHelp(AppContext& ctx) {
    const QString help = joinPath(ctx.programFolder(), QStringLiteral("help/index.html"));
    if (!QFile::exists(help)) {
        MyMsgBoxShow(QStringLiteral("ヘルプが見つかりません。"), MsgOk);
        return;
    }
    ctx.launcher().openWithDesktop(help);
}

} // namespace pikotel
