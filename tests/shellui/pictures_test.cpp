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
        EXPECT_EQ(pixmap.size(), pictureSize(name)) << name.toStdString();
        EXPECT_TRUE(hasInk(pixmap)) << name.toStdString();
    }
    EXPECT_EQ(picture(QStringLiteral("icon_ok"), QSize(48, 48)).size(), QSize(48, 48));
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
