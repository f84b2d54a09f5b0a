#include "app/pictures.h"

#include <QApplication>
#include <QDir>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <cmath>

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

QPixmap picture(const QString& name, QSize size, qreal ratio) {
    ensureResources();
    QSvgRenderer renderer(pathOf(name));
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    if (ratio <= 0)
        ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(static_cast<int>(std::ceil(size.width() * ratio)),
                   static_cast<int>(std::ceil(size.height() * ratio)));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

namespace {

// Renders the drawing at the size asked for, so an icon is as sharp at 200 % or as a
// 256-pixel desktop icon as at 16 pixels.
class PictureIconEngine final : public QIconEngine {
public:
    explicit PictureIconEngine(QString name) : name_(std::move(name)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return render(size, mode);
    }
    // QIcon asks in device pixels and sets the ratio on what it gets.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal) override {
        return render(size, mode);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap p = scaledPixmap(rect.size() * ratio, mode, state, ratio);
        p.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), p);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(24, 24),   QSize(32, 32),  QSize(48, 48),
                QSize(64, 64), QSize(128, 128), QSize(256, 256)};
    }
    QIconEngine* clone() const override { return new PictureIconEngine(name_); }
    QString key() const override { return QStringLiteral("pikotel-picture"); }

private:
    QPixmap render(const QSize& size, QIcon::Mode mode) const {
        const QString key = QStringLiteral("pikotel-icon:%1:%2x%3:%4")
                                .arg(name_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(static_cast<int>(mode));
        QPixmap cached;
        if (QPixmapCache::find(key, &cached))
            return cached;
        QPixmap p = picture(name_, size, 1.0);
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(qApp) != nullptr) {
            QStyleOption option;
            option.palette = QApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, p, &option);
            if (!generated.isNull())
                p = generated;
        }
        QPixmapCache::insert(key, p);
        return p;
    }

    QString name_;
};

} // namespace

QIcon pictureIcon(const QString& name) {
    if (pictureSize(name).isEmpty())
        return {};
    return QIcon(new PictureIconEngine(name));
}

QCursor handCursor() {
    return QCursor(picture(QStringLiteral("hand")), kHandHotSpot.x(), kHandHotSpot.y());
}

QIcon applicationIcon() {
    return pictureIcon(QStringLiteral("appicon"));
}

} // namespace pikotel
