#include "app/scriptedmessages.h"
#include "history/frmrirekiselect.h"
#include "shell/shellfixture.h"

#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

Area104Conditions wideSearch(const QStringList& cities, const QString& town = {}) {
    Area104Conditions c;
    c.wideArea = true;
    c.prefecture = QStringLiteral("東京都");
    c.cities = cities;
    c.town = town;
    c.surname = QStringLiteral("山田");
    c.givenName = QStringLiteral("太郎");
    return c;
}

class HistoryDialog : public ::testing::Test {
protected:
    QStringList lines(frmRirekiSelect& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstrireki"));
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }
    void select(frmRirekiSelect& dialog, int row) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstrireki"));
        list->setCurrentRow(row);
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    QList<int> applied;
};

TEST_F(HistoryDialog, LinesOfThe104StyleKind) {
    HistoryStore& h = f.ctx->history();
    h.record104Search(wideSearch({QStringLiteral("港区")}, QStringLiteral("芝")));
    h.record104Search(
        wideSearch({QStringLiteral("港区"), QStringLiteral("新宿区"), QStringLiteral("中央区")}));
    Area104Conditions normal;
    normal.prefecture = QStringLiteral("大阪府");
    normal.city = QStringLiteral("大阪市北区");
    normal.company = true;
    normal.companyName = QStringLiteral("ぴこ商事");
    h.record104Search(normal);
    frmRirekiSelect dialog(*f.ctx, HistoryKind::Area104, [&](int k) { applied.append(k); });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("１０４式検索履歴"));
    EXPECT_EQ(lines(dialog),
              (QStringList{QStringLiteral("広域検索 東京都 港区 芝 個人 山田 太郎"),
                           QStringLiteral("広域検索 東京都 港区 etc  個人 山田 太郎"),
                           QStringLiteral("通常検索 大阪府 大阪市北区  法人 ぴこ商事")}));
}

TEST_F(HistoryDialog, RemovingTheSecondOfThreeMovesTheThirdUp) {
    HistoryStore& h = f.ctx->history();
    for (const char* number : {"0311111111", "0322222222", "0333333333"})
        h.recordPhoneSearch({QString::fromLatin1(number), QStringLiteral("名前")});
    frmRirekiSelect dialog(*f.ctx, HistoryKind::Phone, [&](int k) { applied.append(k); });
    ASSERT_EQ(lines(dialog).size(), 3);
    select(dialog, 1);
    dialog.Cmdクリア_Click();
    EXPECT_EQ(lines(dialog), (QStringList{QStringLiteral("0311111111 名前 "),
                                          QStringLiteral("0333333333 名前 ")}));
    f.reset();
    f.ctx->history().LoadPhoneHistory();
    EXPECT_EQ(f.ctx->history().phoneHistory().size(), 2) << "the removal is stored at once";
}

TEST_F(HistoryDialog, EmptyHistoryAndNothingChosen) {
    frmRirekiSelect empty(*f.ctx, HistoryKind::Industry, [&](int k) { applied.append(k); });
    empty.CmdOK_Click();
    EXPECT_TRUE(messages.shown().isEmpty()) << "OK on an empty history closes silently";
    EXPECT_EQ(empty.result(), QDialog::Rejected);
    empty.Cmdクリア_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("履歴がありません。")});

    f.ctx->history().recordPhoneSearch({QStringLiteral("0312345678"), QString()});
    frmRirekiSelect dialog(*f.ctx, HistoryKind::Phone, [&](int k) { applied.append(k); });
    dialog.CmdOK_Click();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("履歴を１件選択してください。"));
    EXPECT_TRUE(applied.isEmpty());
    select(dialog, 0);
    dialog.CmdOK_Click();
    EXPECT_EQ(applied, QList<int>{0});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace

namespace {

TEST_F(HistoryDialog, TabFollowsTheButtonsFromLeftToRightAndEscCancels) {
    f.ctx->history().record104Search(wideSearch({QStringLiteral("港区")}));
    frmRirekiSelect dialog(*f.ctx, HistoryKind::Area104, [&](int k) { applied.append(k); });
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstrireki"));
    QList<QWidget*> order;
    QWidget* w = list;
    while (order.size() < 3) {
        w = w->nextInFocusChain();
        if (w == list)
            break;
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w);
    }
    ASSERT_EQ(order.size(), 3);
    ASSERT_EQ(order.at(0)->accessibleName(), QStringLiteral("履歴削除"));
    EXPECT_EQ(order.at(1)->accessibleName(), QStringLiteral("OK"));
    EXPECT_EQ(order.at(2)->accessibleName(), QStringLiteral("キャンセル"));
    EXPECT_LT(order.at(0)->x(), order.at(1)->x());
    EXPECT_LT(order.at(1)->x(), order.at(2)->x());

    dialog.show();
    select(dialog, 0);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(applied.isEmpty()) << "Esc is the cancel button, not OK";
}

} // namespace
