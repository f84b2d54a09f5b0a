#include "app/scriptedmessages.h"
#include "results/frmoutset.h"
#include "shell/shellfixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class LayoutEditor : public ::testing::Test {
protected:
    LayoutEditor() { editor.Form_Load(); }

    QListWidget* list(const QString& name) { return editor.findChild<QListWidget*>(name); }
    QListWidget* outList() { return list(QStringLiteral("LstOutList")); }
    QListWidget* columnList(int i) { return list(QStringLiteral("LstMeisai%1").arg(i)); }
    QStringList texts(QListWidget* l) {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out.append(l->item(i)->text());
        return out;
    }
    void select(QListWidget* l, const QStringList& items) {
        l->clearSelection();
        for (const QString& item : items)
            l->findItems(item, Qt::MatchExactly).front()->setSelected(true);
    }
    void place(int column, const QStringList& items) {
        editor.OptMeisai_Click(column);
        select(outList(), items);
        editor.CmdInput_Click();
    }
    QStringList storedNames() {
        RegValueListData stored;
        f.ctx->store().RegValueList(1, kAteKey, stored);
        QStringList names;
        for (const RegValuePair& p : stored)
            names.append(p.name + u'=' + p.text);
        return names;
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    FrmOutSet editor{*f.ctx};
};

TEST_F(LayoutEditor, NothingStoredOpensWithEveryItemUnplaced) {
    EXPECT_EQ(texts(outList()), outputItems());
    EXPECT_EQ(editor.currentColumn(), 0);
    EXPECT_EQ(columnList(0)->palette().color(QPalette::Base), QColor(180, 250, 250));
    editor.cmdSave_Click();
    EXPECT_TRUE(storedNames().isEmpty());
    EXPECT_EQ(f.ctx->kekka().Grid_Cols(), 5) << "the results keep the default layout";
}

TEST_F(LayoutEditor, PlacingSeveralKeepsTheListOrderAndTakingOutRestoresIt) {
    // Selected in another order than the list's.
    editor.OptMeisai_Click(1);
    select(outList(),
           {QStringLiteral("区域名"), QStringLiteral("電話番号"), QStringLiteral("名称")});
    editor.CmdInput_Click();
    EXPECT_EQ(texts(columnList(1)), (QStringList{QStringLiteral("電話番号"), QStringLiteral("名称"),
                                                 QStringLiteral("区域名")}));
    EXPECT_EQ(texts(outList()),
              (QStringList{QStringLiteral("郵便番号"), QStringLiteral("都道府県"),
                           QStringLiteral("市区町村"), QStringLiteral("町域名")}));
    EXPECT_EQ(editor.findChild<QLineEdit*>(QStringLiteral("TxtImeji1"))->text(),
              QStringLiteral("03-1234-5678株式会社ぴこぴこ商事１－１"));

    select(columnList(1), {QStringLiteral("名称")});
    editor.CmdOutput_Click();
    EXPECT_EQ(texts(outList()).at(0), QStringLiteral("名称")) << "back at its canonical place";
}

TEST_F(LayoutEditor, SavingStoresExactlyThePlacedItems) {
    place(0, {QStringLiteral("名称")});
    place(2, {QStringLiteral("都道府県"), QStringLiteral("市区町村"), QStringLiteral("町域名"),
              QStringLiteral("区域名")});
    editor.cmdSave_Click();
    EXPECT_TRUE(messages.shown().isEmpty()) << "the address in its order needs no question";
    EXPECT_EQ(storedNames(), (QStringList{QStringLiteral("ATEMEISAI(0,0)=名称"),
                                          QStringLiteral("ATEMEISAI(2,0)=都道府県"),
                                          QStringLiteral("ATEMEISAI(2,1)=市区町村"),
                                          QStringLiteral("ATEMEISAI(2,2)=町域名"),
                                          QStringLiteral("ATEMEISAI(2,3)=区域名")}));
    EXPECT_EQ(f.ctx->kekka().Grid_Cols(), 3);
}

TEST_F(LayoutEditor, TheSettingsToolExportsExactlyThePlacedValues) {
    place(1, {QStringLiteral("電話番号"), QStringLiteral("名称")});
    editor.cmdSave_Click();
    QProcess tool;
    tool.start(QStringLiteral(PIKOTEL_REG_TOOL),
               {QStringLiteral("--user-store"), f.userStore(), QStringLiteral("export"),
                QStringLiteral("HKCU"), kAteKey});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()),
              kAteKey + QStringLiteral("\tATEMEISAI(1,0)\tREG_SZ\t電話番号\n") + kAteKey +
                  QStringLiteral("\tATEMEISAI(1,1)\tREG_SZ\t名称\n"));
}

TEST_F(LayoutEditor, AddressOutOfOrderAsksBeforeSaving) {
    place(0, {QStringLiteral("市区町村")});
    place(1, {QStringLiteral("都道府県")});
    messages.answer({MsgResultOk, MsgResultNo});
    editor.cmdSave_Click();
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_TRUE(messages.shown().at(0).text.startsWith(QStringLiteral("住所の並びが\r\n")));
    EXPECT_EQ(messages.shown().at(1).text, QStringLiteral("この出力形態を保存しますか？"));
    EXPECT_TRUE(storedNames().isEmpty());
    messages.answer({MsgResultOk, MsgResultYes});
    editor.cmdSave_Click();
    EXPECT_EQ(storedNames().size(), 2);
}

TEST_F(LayoutEditor, ClearingAsksOnlyWhenSomethingIsPlaced) {
    editor.CmdClere_Click();
    EXPECT_TRUE(messages.shown().isEmpty());
    place(3, {QStringLiteral("名称")});
    messages.answer(MsgResultNo);
    editor.CmdClere_Click();
    EXPECT_EQ(texts(columnList(3)), QStringList{QStringLiteral("名称")});
    messages.answer(MsgResultYes);
    editor.CmdClere_Click();
    EXPECT_EQ(messages.shown().last().text,
              QStringLiteral("出力項目配列を出力項目に全て戻します。\r\nよろしいですか？"));
    EXPECT_TRUE(texts(columnList(3)).isEmpty());
    EXPECT_EQ(texts(outList()), outputItems());
    EXPECT_EQ(editor.currentColumn(), 0);
}

TEST_F(LayoutEditor, AStoredLayoutIsShownAndAPlacedItemIsRefused) {
    place(4, {QStringLiteral("郵便番号")});
    editor.cmdSave_Click();
    FrmOutSet again(*f.ctx);
    again.Form_Load();
    auto* column4 = again.findChild<QListWidget*>(QStringLiteral("LstMeisai4"));
    EXPECT_EQ(column4->item(0)->text(), QStringLiteral("郵便番号"));
    auto* out = again.findChild<QListWidget*>(QStringLiteral("LstOutList"));
    EXPECT_TRUE(out->findItems(QStringLiteral("郵便番号"), Qt::MatchExactly).isEmpty());
}

} // namespace
