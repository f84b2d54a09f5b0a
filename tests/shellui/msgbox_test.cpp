#include "app/frmmsg.h"
#include "app/scriptedmessages.h"
#include "app/twips.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using namespace pikotel;

namespace {

constexpr int bw = kMsgButtonWidth;

TEST(MsgBoxGeometry, WidthRules) {
    // 2 × bw + lw up to 2865: buttons' widths are added to the text's.
    EXPECT_EQ(msgBoxGeometry(600, 200, bw, MsgOk).width, 2 * bw + 600);
    EXPECT_EQ(msgBoxGeometry(600, 200, bw, MsgOkCancel).width, 3 * bw + 600);
    EXPECT_EQ(msgBoxGeometry(600, 200, bw, MsgYesNo).width, 3 * bw + 600);
    EXPECT_EQ(msgBoxGeometry(600, 200, bw, 3).width, 4 * bw + 600);
    EXPECT_EQ(msgBoxGeometry(600, 200, bw, 7).width, 3 * bw + 600);
    // Beyond it: a margin around the text.
    EXPECT_EQ(msgBoxGeometry(3000, 200, bw, MsgOk).width, 3500);
    EXPECT_EQ(msgBoxGeometry(3000, 200, bw, MsgYesNo).width, 4500);
    EXPECT_EQ(msgBoxGeometry(3000, 200, bw, 7).width, 4500);
    // The boundary itself belongs to the first rule.
    EXPECT_EQ(msgBoxGeometry(2865 - 2 * bw, 200, bw, MsgOk).width, 2865);
}

TEST(MsgBoxGeometry, ButtonsCentredAndPaired) {
    const MsgBoxGeometry g = msgBoxGeometry(3000, 450, bw, MsgYesNo);
    EXPECT_EQ(g.labelLeft, 750);
    EXPECT_EQ(g.okLeft, (4500 - bw) / 2.0);
    // Yes and No sit symmetrically around the centre line, 100 twips apart.
    EXPECT_DOUBLE_EQ(g.yesLeft + g.noLeft + bw, g.width);
    EXPECT_DOUBLE_EQ(g.noLeft - (g.yesLeft + bw), 100);
    EXPECT_DOUBLE_EQ(g.ok2Left, g.yesLeft);
    EXPECT_DOUBLE_EQ(g.cancelLeft, g.noLeft);
    EXPECT_EQ(g.height, 450 + 1300);
    EXPECT_EQ(g.buttonTop, kMsgLabelTop + 450 + kMsgButtonHeight / 2.0);

    const MsgBoxGeometry three = msgBoxGeometry(600, 200, bw, 3);
    EXPECT_DOUBLE_EQ(three.noLeft, (three.width - bw) / 2);
    EXPECT_DOUBLE_EQ(three.yesLeft, three.noLeft - bw - 70);
    EXPECT_DOUBLE_EQ(three.cancelLeft, three.noLeft + bw + 70);
}

int twipsCentreX(const QWidget* w) {
    return twipsLeft(w) + twipsWidth(w) / 2;
}

class MsgDialog : public ::testing::Test {
protected:
    QLabel* label() { return dialog.findChild<QLabel*>(QStringLiteral("Label1")); }
    QToolButton* button(const char* name) {
        return dialog.findChild<QToolButton*>(QString::fromLatin1(name));
    }
    frmMsg dialog;
};

TEST_F(MsgDialog, OneWordNoticeIsTwoButtonsWiderThanItsText) {
    dialog.prepare(QStringLiteral("完了"), MsgOk, kAppTitle);
    const int lw = twipsWidth(label());
    ASSERT_LE(2 * bw + lw, 2865);
    EXPECT_EQ(dialog.width() * 15, 2 * bw + lw);
    EXPECT_EQ(dialog.windowTitle(), kAppTitle);
    EXPECT_EQ(twipsWidth(button("CmdOK")), bw);
    EXPECT_NEAR(twipsCentreX(button("CmdOK")), dialog.width() * 15 / 2, 15);
    EXPECT_NEAR(twipsCentreX(label()), dialog.width() * 15 / 2, 15);
    EXPECT_TRUE(button("CmdOK")->isVisibleTo(&dialog));
    for (const char* hidden : {"CmdYes", "CmdNo", "CmdOk2", "cmdCancel"})
        EXPECT_FALSE(button(hidden)->isVisibleTo(&dialog)) << hidden;
}

TEST_F(MsgDialog, LongQuestionGetsWideMarginAndCentredPair) {
    dialog.prepare(QStringLiteral("検索する市区町村が多いため時間がかかります。続けますか？"),
                   MsgYesNo, QStringLiteral("別の見出し"));
    const int lw = twipsWidth(label());
    ASSERT_GT(2 * bw + lw, 2865);
    EXPECT_EQ(dialog.width() * 15, lw + 1500);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("別の見出し"));
    QToolButton* yes = button("CmdYes");
    QToolButton* no = button("CmdNo");
    EXPECT_TRUE(yes->isVisibleTo(&dialog));
    EXPECT_TRUE(no->isVisibleTo(&dialog));
    EXPECT_FALSE(button("CmdOK")->isVisibleTo(&dialog));
    EXPECT_NEAR(yes->x() + no->x() + no->width(), dialog.width(), 1);
    EXPECT_EQ(yes->y(), no->y());
    EXPECT_TRUE(yes->hasFocus() || dialog.focusWidget() == yes);
}

TEST_F(MsgDialog, LinesGrowTheHeightAndButtonsKeepTheirDistance) {
    dialog.prepare(QStringLiteral("一行"), MsgOkCancel, kAppTitle);
    const int oneLine = twipsHeight(label());
    EXPECT_EQ(label()->text(), QStringLiteral("一行"));

    // CR LF and a lone CR both break the line.
    dialog.prepare(QStringLiteral("一行目\r\n二行目\r三行目"), MsgOkCancel, kAppTitle);
    EXPECT_EQ(label()->text(), QStringLiteral("一行目\n二行目\n三行目"));
    const int lh = twipsHeight(label());
    EXPECT_GT(lh, 2 * oneLine);
    // 1300 twips is not a whole number of pixels.
    EXPECT_NEAR(dialog.height() * 15, lh + 1300, 7.5);
    for (const char* name : {"CmdOk2", "cmdCancel"}) {
        QToolButton* b = button(name);
        EXPECT_TRUE(b->isVisibleTo(&dialog));
        EXPECT_NEAR(twipsTop(b) - (twipsTop(label()) + lh), twipsHeight(b) / 2, 15) << name;
        EXPECT_LE(b->geometry().bottom(), dialog.height()) << name;
    }
}

TEST_F(MsgDialog, CriticalIconStandsLeftOfTheTextAndKeepsTheButtonSet) {
    const QString text = QStringLiteral("郵便番号辞書のオープンで異常がありました。");
    auto* icon = dialog.findChild<QLabel*>(QStringLiteral("imgIcon"));
    dialog.prepare(text, MsgOk, kAppTitle);
    const int plainWidth = dialog.width();
    EXPECT_FALSE(icon->isVisibleTo(&dialog));

    dialog.prepare(text, MsgOk | MsgCritical, kAppTitle);
    EXPECT_TRUE(icon->isVisibleTo(&dialog));
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_LT(icon->geometry().right(), label()->x());
    EXPECT_EQ(icon->y(), label()->y());
    // The dialog widens by the icon, and icon and text stay centred together.
    EXPECT_GT(dialog.width(), plainWidth);
    EXPECT_NEAR(icon->x() + label()->geometry().right(), dialog.width(), 2);
    EXPECT_TRUE(button("CmdOK")->isVisibleTo(&dialog));
    EXPECT_FALSE(button("CmdYes")->isVisibleTo(&dialog));

    dialog.prepare(text, MsgYesNo | MsgCritical, kAppTitle);
    EXPECT_TRUE(button("CmdYes")->isVisibleTo(&dialog));
    EXPECT_FALSE(button("CmdOK")->isVisibleTo(&dialog));
    dialog.prepare(text, MsgOk, kAppTitle);
    EXPECT_FALSE(icon->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.width(), plainWidth);
}

TEST_F(MsgDialog, MarkupIsShownAsText) {
    dialog.prepare(QStringLiteral("<b>太字</b>"), MsgOk, kAppTitle);
    EXPECT_EQ(label()->textFormat(), Qt::PlainText);
}

// Runs action on the message dialog once it is up and modal.
void whenDialogUp(std::function<void(frmMsg*)> action) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto* dialog = qobject_cast<frmMsg*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            action(dialog);
        }
    });
    poll->start();
}

void clickWhenUp(const char* name) {
    whenDialogUp([name](frmMsg* dialog) {
        dialog->findChild<QToolButton*>(QString::fromLatin1(name))->click();
    });
}

void keyWhenUp(Qt::Key key) {
    whenDialogUp([key](frmMsg* dialog) { QTest::keyClick(dialog, key); });
}

class MsgResults : public ::testing::Test {
protected:
    MsgResults() : previous(setMessagePresenter(&presenter)) {}
    ~MsgResults() override { setMessagePresenter(previous); }
    DialogMessagePresenter presenter;
    MessagePresenter* previous;
};

TEST_F(MsgResults, ButtonsAnswerTheirCodes) {
    clickWhenUp("cmdCancel");
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("上書きしますか？"), MsgOkCancel), MsgResultCancel);
    clickWhenUp("CmdOk2");
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("上書きしますか？"), MsgOkCancel), MsgResultOk);
    clickWhenUp("CmdNo");
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("続けますか？"), MsgYesNo), MsgResultNo);
    EXPECT_EQ(MyMsgBox::MsgResult, MsgResultNo);
    clickWhenUp("CmdYes");
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("続けますか？"), MsgYesNo), MsgResultYes);
    clickWhenUp("CmdOK");
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("完了しました。"), MsgOk), MsgResultOk);
}

TEST_F(MsgResults, EscapeAnswersTheCancellingChoiceNotThePreviousAnswer) {
    MyMsgBox::MsgResult = MsgResultYes;
    keyWhenUp(Qt::Key_Escape);
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("続けますか？"), MsgYesNo), MsgResultNo);
    MyMsgBox::MsgResult = MsgResultOk;
    keyWhenUp(Qt::Key_Escape);
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("上書きしますか？"), MsgOkCancel), MsgResultCancel);
    MyMsgBox::MsgResult = MsgResultCancel;
    whenDialogUp([](frmMsg* dialog) { dialog->close(); });
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("完了しました。"), MsgOk), MsgResultOk);
    // The icon flag leaves the button set, and so the cancelling choice, as it was.
    keyWhenUp(Qt::Key_Escape);
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("続けますか？"), MsgYesNo | MsgCritical), MsgResultNo);
}

TEST_F(MsgResults, EnterPressesTheFocusedButton) {
    keyWhenUp(Qt::Key_Return);
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("続けますか？"), MsgYesNo), MsgResultYes);
    whenDialogUp([](frmMsg* dialog) {
        dialog->findChild<QToolButton*>(QStringLiteral("cmdCancel"))->setFocus();
        QTest::keyClick(dialog, Qt::Key_Enter);
    });
    EXPECT_EQ(MyMsgBoxShow(QStringLiteral("上書きしますか？"), MsgOkCancel), MsgResultCancel);
}

TEST_F(MsgResults, DialogIsCentredOverTheActiveWindow) {
    QWidget owner;
    owner.setGeometry(40, 60, 600, 400);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    QPoint centre;
    whenDialogUp([&centre](frmMsg* dialog) {
        centre = dialog->frameGeometry().center();
        dialog->close();
    });
    MyMsgBoxShow(QStringLiteral("完了"), MsgOk);
    EXPECT_NEAR(centre.x(), owner.frameGeometry().center().x(), 8);
    EXPECT_NEAR(centre.y(), owner.frameGeometry().center().y(), 8);
}

TEST(ScriptedMessages, RecordsAnswersAndRestoresThePreviousPresenter) {
    DialogMessagePresenter outer;
    MessagePresenter* before = setMessagePresenter(&outer);
    {
        test::ScriptedMessagePresenter script;
        script.answer({MsgResultNo, MsgResultCancel});
        EXPECT_EQ(MyMsgBoxShow(QStringLiteral("一"), MsgYesNo), MsgResultNo);
        EXPECT_EQ(MyMsgBoxShow(QStringLiteral("二"), MsgOkCancel), MsgResultCancel);
        // With the script used up: OK, or the first button of the set.
        EXPECT_EQ(MyMsgBoxShow(QStringLiteral("三"), MsgYesNo), MsgResultYes);
        EXPECT_EQ(MyMsgBoxShow(QStringLiteral("四"), MsgOkCancel, QStringLiteral("見出し")),
                  MsgResultOk);
        EXPECT_EQ(script.texts(), (QStringList{"一", "二", "三", "四"}));
        EXPECT_EQ(script.shown().at(3).caption, QStringLiteral("見出し"));
        EXPECT_EQ(script.shown().at(0).caption, kAppTitle);
        EXPECT_EQ(script.shown().at(1).style, MsgOkCancel);
        EXPECT_EQ(MyMsgBoxShow(QStringLiteral("五"), MsgYesNo | MsgCritical), MsgResultYes);
        EXPECT_EQ(script.shown().at(4).style, MsgYesNo | MsgCritical);
    }
    EXPECT_EQ(setMessagePresenter(before), &outer);
}

} // namespace
