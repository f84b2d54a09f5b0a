#include "app/pictures.h"
#include "app/widgets.h"

#include <QImage>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pikotel;

namespace {

// True when some pixel of the picture is drawn.
bool hasInk(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

TEST(Pictures, EveryPictureRendersAtItsSize) {
    const QStringList names = pictureNames();
    for (const char* expected :
         {"mascot1", "mascot4", "splash1",  "splash2",    "wait1",       "wait2",       "search1",
          "search2", "btn_tel", "btn_104",  "btn_gyoshu", "btn_zip",     "btn_setting", "btn_help",
          "btn_end", "icon_ok", "icon_yes", "icon_no",    "icon_cancel", "icon_close",  "icon_stop",
          "title",   "logo",    "hand",     "appicon"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(expected))) << expected;
    for (const QString& name : names) {
        const QPixmap pixmap = picture(name);
        ASSERT_FALSE(pixmap.isNull()) << name.toStdString();
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), pictureSize(name)) << name.toStdString();
        EXPECT_TRUE(hasInk(pixmap)) << name.toStdString();
    }
    EXPECT_EQ(picture(QStringLiteral("icon_ok"), QSize(48, 48)).size(), QSize(48, 48));
}

// The picture drawn at twice the size, scaled back: what a sharp 200 % picture holds.
TEST(Pictures, SharpAtTwiceThePixelRatio) {
    const QPixmap sharp = picture(QStringLiteral("mascot1"), QSize(40, 40), 2.0);
    EXPECT_EQ(sharp.size(), QSize(80, 80));
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(40, 40));
    EXPECT_EQ(sharp.toImage().convertToFormat(QImage::Format_ARGB32),
              picture(QStringLiteral("mascot1"), QSize(80, 80), 1.0)
                  .toImage()
                  .convertToFormat(QImage::Format_ARGB32));

    // Icons are drawn at the size asked for, up to the desktop's 256-pixel icons, never
    // scaled up from a smaller picture.
    const QIcon icon = applicationIcon();
    const QPixmap at2x = icon.pixmap(QSize(48, 48), 2.0);
    EXPECT_EQ(at2x.size(), QSize(96, 96));
    EXPECT_DOUBLE_EQ(at2x.devicePixelRatio(), 2.0);
    EXPECT_EQ(at2x.toImage().convertToFormat(QImage::Format_ARGB32),
              picture(QStringLiteral("appicon"), QSize(96, 96), 1.0)
                  .toImage()
                  .convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(icon.pixmap(QSize(256, 256)).size(), QSize(256, 256));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
    const QImage disabled = pictureIcon(QStringLiteral("btn_tel"))
                                .pixmap(QSize(32, 32), 1.0, QIcon::Disabled)
                                .toImage();
    EXPECT_NE(disabled, picture(QStringLiteral("btn_tel"), QSize(32, 32), 1.0).toImage())
        << "a disabled button's icon is greyed";
}

TEST(Pictures, UnknownNamesGiveNothing) {
    EXPECT_TRUE(picture(QStringLiteral("no_such_picture")).isNull());
    EXPECT_TRUE(pictureSize(QStringLiteral("no_such_picture")).isEmpty());
    EXPECT_TRUE(pictureIcon(QStringLiteral("no_such_picture")).isNull());
}

TEST(Pictures, HandPointsWithItsFingertip) {
    const QCursor hand = handCursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    const QImage image = hand.pixmap().toImage();
    const QPoint tip = hand.hotSpot();
    // The hot spot lies on the outline at the top of the finger, nothing drawn above it.
    EXPECT_NE(qAlpha(image.pixel(tip + QPoint(0, 1))), 0);
    for (int y = 0; y < tip.y(); ++y)
        EXPECT_EQ(qAlpha(image.pixel(tip.x(), y)), 0);
}

TEST(Pictures, PictureButton) {
    QWidget parent;
    QToolButton* button = newPictureButton(&parent, QStringLiteral("cmdStop"),
                                           QStringLiteral("icon_stop"), QStringLiteral("検索中止"));
    EXPECT_EQ(button->parent(), &parent);
    EXPECT_EQ(button->objectName(), QStringLiteral("cmdStop"));
    EXPECT_EQ(button->text(), QStringLiteral("検索中止"));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_FALSE(applicationIcon().isNull());
}

} // namespace
