#include <QHBoxLayout>
#include <QImage>
#include <QStyleOptionToolButton>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Two buttons in a window of their own, shown and active.
struct TwoButtons {
    TwoButtons() {
        auto* layout = new QHBoxLayout(&window);
        for (QToolButton** b : {&first, &second}) {
            *b = new QToolButton(&window);
            (*b)->setText(QStringLiteral("検索"));
            (*b)->setFocusPolicy(Qt::StrongFocus);
            (*b)->setMinimumSize(80, 40);
            layout->addWidget(*b);
        }
        window.show();
        window.activateWindow();
    }
    bool cueShown(QToolButton* b) const {
        QStyleOptionToolButton option;
        option.initFrom(b);
        return (option.state & QStyle::State_HasFocus) &&
               (option.state & QStyle::State_KeyboardFocusChange);
    }
    QWidget window;
    QToolButton* first = nullptr;
    QToolButton* second = nullptr;
};

TEST(FocusCue, ShowsWhereTheProgramMovedTheFocusButNotAfterAClick) {
    TwoButtons clicked;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&clicked.window));
    // Opening shows the cue on the first control; a click elsewhere after that does not.
    EXPECT_TRUE(clicked.cueShown(clicked.first));
    clicked.window.setAttribute(Qt::WA_KeyboardFocusChange, false);
    clicked.second->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(clicked.cueShown(clicked.second));
    const QImage plain = clicked.second->grab().toImage();

    TwoButtons moved;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&moved.window));
    moved.window.setAttribute(Qt::WA_KeyboardFocusChange, false);
    moved.second->setFocus();
    EXPECT_TRUE(moved.cueShown(moved.second));
    EXPECT_FALSE(moved.cueShown(moved.first));
    // The frame is drawn: the focused button's picture differs from the clicked one's.
    EXPECT_NE(moved.second->grab().toImage(), plain);
}

TEST(FocusCue, ShowsAgainWhenTheWindowGetsTheFocusBack) {
    TwoButtons screen;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen.window));
    screen.first->setFocus(Qt::MouseFocusReason);
    screen.window.setAttribute(Qt::WA_KeyboardFocusChange, false);
    // A message over the screen takes the focus and gives it back when it closes.
    QWidget message;
    message.show();
    message.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&message));
    message.close();
    screen.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen.window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.first->hasFocus(); }));
    EXPECT_TRUE(screen.cueShown(screen.first));
}

} // namespace
