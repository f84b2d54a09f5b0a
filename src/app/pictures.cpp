#include "app/pictures.h"

#include <QDir>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library are only linked in when something initialises them.
static void initPictureResources() {
    Q_INIT_RESOURCE(pikotel_pictures);
}

namespace pikotel {

namespace {

constexpr auto kFolder = ":/pictures/";
// The fingertip in the 32 × 32 hand picture.
constexpr QPoint kHandHotSpot(12, 1);

QString pathOf(const QString& name) {
    return QLatin1String(kFolder) + name + QStringLiteral(".svg");
}

bool ensureResources() {
    static const bool loaded = [] {
        initPictureResources();
        return true;
    }();
    return loaded;
}

} // namespace

QStringList pictureNames() {
    ensureResources();
    QStringList names;
    for (const QString& file : QDir(QLatin1String(kFolder)).entryList({QStringLiteral("*.svg")}))
        names << file.chopped(4);
    return names;
}

QSize pictureSize(const QString& name) {
    ensureResources();
    QSvgRenderer renderer(pathOf(name));
    return renderer.isValid() ? renderer.defaultSize() : QSize();
}

QPixmap picture(const QString& name, QSize size) {
    ensureResources();
    QSvgRenderer renderer(pathOf(name));
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter);
    return pixmap;
}

QIcon pictureIcon(const QString& name) {
    QIcon icon;
    for (const int side : {16, 20, 24, 32, 48, 64}) {
        const QPixmap pixmap = picture(name, QSize(side, side));
        if (pixmap.isNull())
            return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

QCursor handCursor() {
    return QCursor(picture(QStringLiteral("hand")), kHandHotSpot.x(), kHandHotSpot.y());
}

QIcon applicationIcon() {
    return pictureIcon(QStringLiteral("appicon"));
}

} // namespace pikotel
