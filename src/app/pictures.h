#pragma once

// The program's pictures: SVG artwork compiled into the program, rendered on demand.
//
// Names: mascot1..mascot4 (the walking mascot ピッコン), splash1/2, wait1/2, search1/2 (the
// two frames of the splash, wait and progress screens), btn_tel, btn_104, btn_gyoshu, btn_zip,
// btn_setting, btn_help, btn_end (main-menu buttons), icon_ok, icon_yes, icon_no, icon_cancel,
// icon_close, icon_stop (dialog buttons), icon_folder, icon_update, title, logo, hand, appicon.

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace pikotel {

// Every picture name the program ships.
QStringList pictureNames();

// The picture rendered at size (its own size when size is empty), in logical pixels, sharp
// at the device pixel ratio: ratio, or when 0 the highest ratio of the screens. A null
// pixmap for an unknown name.
QPixmap picture(const QString& name, QSize size = QSize(), qreal ratio = 0);
// Its designed size; empty for an unknown name.
QSize pictureSize(const QString& name);
// An icon of the picture, rendered from the drawing at whatever size and pixel ratio it is
// shown (up to the 256-pixel desktop icons); null for an unknown name.
QIcon pictureIcon(const QString& name);

// The hand pointer; its hot spot is the fingertip.
QCursor handCursor();
QIcon applicationIcon();

} // namespace pikotel
