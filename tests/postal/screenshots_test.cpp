// Pictures of both modes for looking at the screen; not part of the suite. Run with
//   test_postal --gtest_also_run_disabled_tests --gtest_filter='*Pictures*'
// and PIKOTEL_SHOT_DIR naming the folder for the PNG files (the current folder without it).

#include "postal/postalfixture.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace pikotel::test;

namespace {

QString shotFile(const char* name) {
    const QString dir = qEnvironmentVariable("PIKOTEL_SHOT_DIR", QStringLiteral("."));
    return dir + u'/' + QString::fromLatin1(name);
}

TEST_F(PostalScreen, DISABLED_PicturesOfBothModes) {
    open();
    screen->findChild<QLineEdit*>(QStringLiteral("txtZipCode"))->setText(QStringLiteral("060"));
    QTest::mouseClick(screen->findChild<QToolButton*>(QStringLiteral("CmdFindZip")),
                      Qt::LeftButton);
    auto* grid = screen->findChild<QTableWidget*>(QStringLiteral("flgAddressList"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(2, 1)).center());
    EXPECT_TRUE(screen->grab().save(shotFile("frmZipFind3_forward.png")));

    delete screen.data();
    stored().city = QStringLiteral("札幌市中央区");
    open(QStringLiteral("北海道"));
    pick("lstChomei", QStringLiteral("大通西 "));
    pick("lstKu", QStringLiteral("１～１９丁目"));
    EXPECT_TRUE(screen->grab().save(shotFile("frmZipFind3_reverse.png")));
}

} // namespace
