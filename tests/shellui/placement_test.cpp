#include "app/placement.h"
#include "app/twips.h"
#include "app/wheel.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>

using namespace pikotel;

namespace {

TEST(Twips, FifteenPerPixelAtNinetySixDpi) {
    QWidget w;
    const double dpi = w.screen()->logicalDotsPerInchX();
    EXPECT_DOUBLE_EQ(twipsPerPixelX(&w), 1440.0 / dpi);
    ASSERT_DOUBLE_EQ(dpi, 96.0);
    setTwipsGeometry(&w, 1500, 750, 4500, 3000);
    EXPECT_EQ(w.geometry(), QRect(100, 50, 300, 200));
    EXPECT_EQ(twipsLeft(&w), 1500);
    EXPECT_EQ(twipsTop(&w), 750);
    EXPECT_EQ(twipsWidth(&w), 4500);
    EXPECT_EQ(twipsHeight(&w), 3000);
    setTwipsWidth(&w, -60);
    EXPECT_EQ(w.width(), 0);
}

class Placement : public ::testing::Test {
protected:
    Placement() : work(QGuiApplication::primaryScreen()->availableGeometry()) {}
    int rightBound() const { return work.x() + work.width(); }
    int bottomBound() const { return work.y() + work.height(); }

    QRect work;
    QWidget reference;
    QWidget placed;
};

TEST_F(Placement, CentresOverTheReference) {
    reference.setGeometry(100, 80, 400, 300);
    placed.resize(200, 100);
    CenterFormOver(&reference, &placed);
    EXPECT_EQ(placed.pos(), QPoint(200, 180));
}

TEST_F(Placement, NearTheRightEdgeEndsOnTheWorkArea) {
    reference.setGeometry(rightBound() - 100, 50, 200, 200);
    placed.resize(300, 100);
    CenterFormOver(&reference, &placed);
    EXPECT_EQ(placed.x() + placed.width(), rightBound());
    EXPECT_EQ(placed.y(), 100);
}

TEST_F(Placement, PartlyOffTheLeftStartsAtZero) {
    reference.setGeometry(-300, -200, 400, 300);
    placed.resize(300, 250);
    CenterFormOver(&reference, &placed);
    EXPECT_EQ(placed.pos(), QPoint(0, 0));
}

TEST_F(Placement, TallerThanTheWorkAreaGoesAboveIt) {
    reference.setGeometry(100, 100, 300, 300);
    placed.resize(200, work.height() + 100);
    CenterFormOver(&reference, &placed);
    EXPECT_EQ(placed.y(), bottomBound() - placed.height());
    EXPECT_LT(placed.y(), 0);
}

TEST_F(Placement, WithoutReferenceCentresOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    placed.resize(200, 100);
    CenterFormOver(nullptr, &placed);
    EXPECT_EQ(placed.pos(), QPoint((screen.width() - 200) / 2, (screen.height() - 100) / 2));
    CenterFormOver(&reference, nullptr);
}

void turnWheel(QAbstractScrollArea& grid, int delta) {
    const QPointF at(10, 10);
    QWheelEvent event(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &event);
}

std::unique_ptr<QTableWidget> grid(int rows) {
    auto table = std::make_unique<QTableWidget>(rows, 2);
    table->resize(240, 160);
    table->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(table.get()));
    return table;
}

TEST(Wheel, OneLinePerWheelEvent) {
    auto table = grid(60);
    QScrollBar* bar = table->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 3);
    ASSERT_TRUE(HookWheel(table.get()));
    EXPECT_EQ(hookedWheelGrid(), table.get());
    // Two notches reported in one event still move one line.
    turnWheel(*table, -240);
    EXPECT_EQ(bar->value(), 1);
    turnWheel(*table, -120);
    EXPECT_EQ(bar->value(), 2);
    turnWheel(*table, 360);
    EXPECT_EQ(bar->value(), 1);

    UnhookWheel(table.get());
    EXPECT_EQ(hookedWheelGrid(), nullptr);
    // Qt's own handling again: more than one line per notch.
    turnWheel(*table, -120);
    EXPECT_GT(bar->value(), 2);
}

TEST(Wheel, NothingToScrollNothingMoves) {
    auto table = grid(2);
    QScrollBar* bar = table->verticalScrollBar();
    ASSERT_EQ(bar->maximum(), 0);
    HookWheel(table.get());
    turnWheel(*table, -120);
    EXPECT_EQ(bar->value(), 0);
    UnhookWheel(table.get());
}

TEST(Wheel, OneGridHookedAtATime) {
    auto first = grid(60);
    auto second = grid(60);
    HookWheel(first.get());
    HookWheel(second.get());
    EXPECT_EQ(hookedWheelGrid(), second.get());
    // Unhooking a grid that is not hooked leaves the other's hook alone.
    UnhookWheel(first.get());
    EXPECT_EQ(hookedWheelGrid(), second.get());
    turnWheel(*second, -120);
    EXPECT_EQ(second->verticalScrollBar()->value(), 1);
    // A hooked grid that goes away empties the slot.
    second.reset();
    EXPECT_EQ(hookedWheelGrid(), nullptr);
    EXPECT_FALSE(HookWheel(nullptr));
}

} // namespace
