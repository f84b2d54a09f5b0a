#include "app/frmstart.h"
#include "app/frmtemp.h"
#include "app/frmwait.h"
#include "directory/stoptoken.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace pikotel;

namespace {

// Which of the two hidden images the picture box shows: 1, 2, or 0 for neither.
int shownImage(const QWidget* screen, const char* box, const char* image1, const char* image2) {
    const auto* picture = screen->findChild<QLabel*>(QString::fromLatin1(box));
    const auto* first = screen->findChild<QLabel*>(QString::fromLatin1(image1));
    const auto* second = screen->findChild<QLabel*>(QString::fromLatin1(image2));
    if (picture == nullptr || first == nullptr || second == nullptr)
        return -1;
    const qint64 key = picture->pixmap().cacheKey();
    if (key == first->pixmap().cacheKey())
        return 1;
    if (key == second->pixmap().cacheKey())
        return 2;
    return 0;
}

std::vector<int> frames(const std::function<int()>& shown, const std::function<void()>& tick,
                        int ticks) {
    std::vector<int> seen{shown()};
    for (int i = 0; i < ticks; ++i) {
        tick();
        seen.push_back(shown());
    }
    return seen;
}

void expectSmallToolWindow(const QWidget& screen, const char* timer, int intervalMs) {
    EXPECT_EQ(screen.windowTitle(), QStringLiteral(" "));
    EXPECT_TRUE(screen.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(screen.minimumSize(), screen.maximumSize());
    const auto* t = screen.findChild<QTimer*>(QString::fromLatin1(timer));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->interval(), intervalMs);
    EXPECT_TRUE(t->isActive());
}

TEST(FrameScreens, SplashChangesAtEveryTick) {
    frmstart splash;
    EXPECT_EQ(splash.objectName(), QStringLiteral("frmstart"));
    expectSmallToolWindow(splash, "Timer11", 100);
    EXPECT_EQ(splash.cursor().shape(), Qt::WaitCursor);
    const auto shown = [&] { return shownImage(&splash, "Start_Picture", "Image11", "Image22"); };
    EXPECT_EQ(frames(
                  shown, [&] { splash.Timer11_Timer(); }, 4),
              (std::vector{1, 2, 1, 2, 1}));
    EXPECT_FALSE(splash.findChild<QLabel*>(QStringLiteral("Image11"))->isVisibleTo(&splash));
}

TEST(FrameScreens, WaitKeepsTheFirstFrameForTwoTicks) {
    frmWait wait;
    EXPECT_EQ(wait.objectName(), QStringLiteral("frmWait"));
    expectSmallToolWindow(wait, "Timer1", 500);
    const auto shown = [&] { return shownImage(&wait, "Picture1", "Image1", "Image2"); };
    EXPECT_EQ(frames(
                  shown, [&] { wait.Timer1_Timer(); }, 5),
              (std::vector{1, 1, 2, 1, 2, 1}));
}

TEST(FrameScreens, ProgressChangesAtEveryTick) {
    frmTemp progress;
    EXPECT_EQ(progress.objectName(), QStringLiteral("frmTemp"));
    expectSmallToolWindow(progress, "tmrtemp", 50);
    const auto shown = [&] { return shownImage(&progress, "Picture1", "Image1", "Image2"); };
    EXPECT_EQ(frames(
                  shown, [&] { progress.tmrtemp_Timer(); }, 4),
              (std::vector{1, 2, 1, 2, 1}));
}

TEST(FrameScreens, TimersTurnTheFramesOnTheirOwn) {
    frmTemp progress;
    progress.show();
    const auto* box = progress.findChild<QLabel*>(QStringLiteral("Picture1"));
    const qint64 first = box->pixmap().cacheKey();
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->pixmap().cacheKey() != first; }, 1000));
}

TEST(FrameScreens, BarWidthStaysWithinTheFullBar) {
    frmTemp progress;
    const int full = progress.fullBarWidth();
    EXPECT_GT(full, 0);
    EXPECT_EQ(progress.barWidth(), full);
    progress.setBarWidth(0);
    EXPECT_EQ(progress.barWidth(), 0);
    progress.setBarWidth(full / 2);
    EXPECT_NEAR(progress.barWidth(), full / 2, 15);
    progress.setBarWidth(full + 3000);
    EXPECT_EQ(progress.barWidth(), full);
    progress.setBarWidth(-45);
    EXPECT_EQ(progress.barWidth(), 0);
    EXPECT_EQ(progress.fullBarWidth(), full);
}

TEST(FrameScreens, ProgressFractionSetsTheBar) {
    frmTemp progress;
    SearchProgress& shown = progress;
    shown.setFraction(0);
    EXPECT_EQ(progress.barWidth(), 0);
    shown.setFraction(0.5);
    EXPECT_NEAR(progress.barWidth(), progress.fullBarWidth() / 2, 15);
    shown.setFraction(1);
    EXPECT_EQ(progress.barWidth(), progress.fullBarWidth());
}

TEST(FrameScreens, StopGoesToTheBoundSearchOnly) {
    frmTemp progress;
    progress.show();
    progress.setBarWidth(progress.fullBarWidth() / 3);
    const int bar = progress.barWidth();
    auto* stop = progress.findChild<QToolButton*>(QStringLiteral("cmdStop"));
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->text(), QStringLiteral("検索中止"));
    // No search bound: the press goes nowhere.
    stop->click();

    StopToken first;
    progress.bindStopToken(&first);
    stop->click();
    stop->click();
    EXPECT_TRUE(first.stopRequested());
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.barWidth(), bar);

    StopToken second;
    progress.bindStopToken(&second);
    EXPECT_FALSE(second.stopRequested());
    progress.bindStopToken(nullptr);
    stop->click();
    EXPECT_FALSE(second.stopRequested());
}

} // namespace
