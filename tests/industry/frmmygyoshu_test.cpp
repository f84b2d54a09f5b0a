#include "search/industry/frmmygyoshu.h"

#include "app/scriptedmessages.h"
#include "shell/shellfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

const QString kAlreadySet = QStringLiteral("指定した項目は既に設定されています。");

class Editor : public ::testing::Test {
protected:
    void open(const QString& selected = {}) {
        editor = std::make_unique<frmMyGyoshu>(table, selected);
        editor->Form_Load();
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    template <class T> T* w(const char* name) {
        T* p = editor->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(p, nullptr) << name;
        return p;
    }
    void type(QLineEdit* box, const QString& text, Qt::Key key = Qt::Key_Return) {
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, key);
    }
    QStringList items(const char* list) {
        QStringList texts;
        auto* l = w<QListWidget>(list);
        for (int i = 0; i < l->count(); ++i)
            texts.append(l->item(i)->text());
        return texts;
    }
    QColor base(const char* name) { return w<QWidget>(name)->palette().color(QPalette::Base); }
    void store(const QString& name, int count = 1) {
        for (int i = 0; i < count; ++i)
            table.saveNew(
                {count == 1 ? name : name + QString::number(i), {QStringLiteral("対象")}, {}});
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    OriginalIndustries table{f.ctx->store()};
    std::unique_ptr<frmMyGyoshu> editor;
};

const QColor kEditing(180, 250, 250);
const QColor kWhite(255, 255, 255);

TEST_F(Editor, TabGoesDownTheTargetColumnThroughTheMoveButtonsThenDownTheExclusions) {
    open();
    editor->Cmd新規_Click();
    QStringList order;
    QWidget* start = w<QWidget>("TxtTarget");
    for (QWidget* next = start->nextInFocusChain(); next != start && order.size() < 7;
         next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus)
            order.append(next->objectName());
    }
    EXPECT_EQ(order, (QStringList{"LstTarget", "CmdTagetDell", "cmdAdd", "cmdDel", "TxtNoTarget",
                                  "LstNoTarget", "CmdNoTagetDell"}));
}

TEST_F(Editor, ANewIndustryTakesFullWidthStringsOnEnterAndIsSavedAfterTheQuestion) {
    open();
    EXPECT_FALSE(w<QLineEdit>("TxtGyoshu")->isEnabled());
    editor->Cmd新規_Click();
    EXPECT_EQ(editor->editMode(), QStringLiteral("新規"));
    EXPECT_EQ(base("TxtTarget"), kEditing);
    EXPECT_EQ(base("LstTarget"), kWhite) << "an empty list stays white";
    w<QLineEdit>("TxtGyoshu")->setText(QStringLiteral("麺"));
    auto* target = w<QLineEdit>("TxtTarget");
    type(target, QStringLiteral("ﾗｰﾒﾝ"));
    EXPECT_EQ(items("LstTarget"), QStringList{QStringLiteral("ラーメン")});
    EXPECT_EQ(base("LstTarget"), kEditing);
    type(target, QStringLiteral("ﾗｰﾒﾝ"));
    EXPECT_EQ(messages.texts(), QStringList{kAlreadySet});
    EXPECT_TRUE(target->text().isEmpty());
    type(target, QStringLiteral("　 "));
    type(target, QStringLiteral("書きかけ"), Qt::Key_Escape);
    EXPECT_TRUE(target->text().isEmpty());
    EXPECT_EQ(items("LstTarget").size(), 1) << "blanks and Esc add nothing";
    // Leaving the box keeps the text as typed.
    type(w<QLineEdit>("TxtNoTarget"), QStringLiteral("ｽﾅｯｸ"), Qt::Key_Tab);
    w<QLineEdit>("TxtGyoshu")->setFocus();
    EXPECT_EQ(items("LstNoTarget"), QStringList{QStringLiteral("ｽﾅｯｸ")});

    messages.clear();
    editor->Cmd保存_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("新規設定を保存しますか？     ")});
    EXPECT_TRUE(editor->changed());
    EXPECT_TRUE(editor->editMode().isEmpty());
    EXPECT_EQ(w<QComboBox>("CmbMyGyosyu")->itemText(0), QStringLiteral("※麺"));
    EXPECT_EQ(table.slot(0).exclusions, QStringList{QStringLiteral("ｽﾅｯｸ")});
    EXPECT_EQ(base("TxtTarget"), kWhite);
    EXPECT_TRUE(w<QToolButton>("Cmd新規")->isEnabled());
    EXPECT_FALSE(w<QToolButton>("Cmd保存")->isEnabled());
}

TEST_F(Editor, ASaveNeedsANameWithoutTheMarkAndATarget) {
    open();
    editor->Cmd新規_Click();
    w<QLineEdit>("TxtGyoshu")->setText(QStringLiteral("　"));
    editor->Cmd保存_Click();
    w<QLineEdit>("TxtGyoshu")->setText(QStringLiteral("※麺"));
    editor->Cmd保存_Click();
    w<QLineEdit>("TxtGyoshu")->setText(QStringLiteral("麺"));
    editor->Cmd保存_Click();
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("オリジナル検索業種名称を入力してください。"),
                           QStringLiteral("先頭に※をつけないでください。"),
                           QStringLiteral("検索対象文字列を入力してください。")}));
    EXPECT_EQ(editor->editMode(), QStringLiteral("新規"));
    EXPECT_EQ(table.highestSlot(), -1);
}

TEST_F(Editor, ModifyingKeepsTheSlotAndCancelledQuestionsChangeNothing) {
    store(QStringLiteral("業種"), 3);
    open(QStringLiteral("※業種1"));
    EXPECT_EQ(w<QComboBox>("CmbMyGyosyu")->currentText(), QStringLiteral("※業種1"));
    EXPECT_EQ(items("LstTarget"), QStringList{QStringLiteral("対象")});
    EXPECT_TRUE(w<QToolButton>("Cmd修正")->isEnabled());
    editor->Cmd修正_Click();
    w<QLineEdit>("TxtGyoshu")->setText(QStringLiteral("改名"));
    messages.answer(MsgResultCancel);
    editor->Cmd保存_Click();
    EXPECT_EQ(editor->editMode(), QStringLiteral("修正")) << "Cancel keeps the edit";
    editor->Cmd保存_Click();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("変更内容の設定を保存しますか？"));
    table.load();
    EXPECT_EQ(table.slot(1).name, QStringLiteral("改名"));
    EXPECT_EQ(table.slot(2).name, QStringLiteral("業種2"));

    auto* combo = w<QComboBox>("CmbMyGyosyu");
    combo->setCurrentIndex(0);
    editor->CmbMyGyosyu_Click();
    messages.answer(MsgResultNo);
    editor->Cmd削除_Click();
    EXPECT_EQ(combo->count(), 3);
    messages.answer(MsgResultYes);
    editor->Cmd削除_Click();
    EXPECT_EQ(combo->itemText(0), QStringLiteral("※改名")) << "the later ones move up";
    EXPECT_EQ(combo->count(), 2);
}

TEST_F(Editor, TheSixtyFirstIsRefusedAndStringsStopAtThirty) {
    store(QStringLiteral("業種"), 60);
    open();
    editor->Cmd新規_Click();
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("オリジナル業種は、60件までの登録です。\r\n"
                                         "不要業種を削除後、再度登録してください。")});
    EXPECT_TRUE(editor->editMode().isEmpty());

    editor->findChild<QComboBox*>()->setCurrentIndex(0);
    editor->CmbMyGyosyu_Click();
    editor->Cmd修正_Click();
    auto* target = w<QLineEdit>("TxtTarget");
    for (int i = 1; i < 30; ++i)
        type(target, QStringLiteral("語%1").arg(i));
    messages.clear();
    type(target, QStringLiteral("三十一"));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("検索対象文字列の設定は30種類までです。")});
    EXPECT_TRUE(target->text().isEmpty());
    type(target, QStringLiteral("三十一"), Qt::Key_Tab);
    w<QLineEdit>("TxtGyoshu")->setFocus();
    EXPECT_EQ(target->text(), QStringLiteral("三十一")) << "leaving at 30 keeps the text";
    EXPECT_EQ(items("LstTarget").size(), 30);
}

TEST_F(Editor, StringsMoveBetweenTheListsOnlyOnceAndExitAsksWhileEditing) {
    open();
    editor->Cmd新規_Click();
    for (const char* text : {"寿司", "すし"})
        type(w<QLineEdit>("TxtTarget"), QString::fromUtf8(text));
    type(w<QLineEdit>("TxtNoTarget"), QStringLiteral("すし"));
    auto* targets = w<QListWidget>("LstTarget");
    targets->setCurrentRow(1);
    editor->cmdAdd_Click();
    EXPECT_EQ(messages.texts().last(), kAlreadySet);
    targets->setCurrentRow(0);
    editor->cmdAdd_Click();
    EXPECT_EQ(items("LstNoTarget"), (QStringList{QStringLiteral("すし"), QStringLiteral("寿司")}));
    w<QListWidget>("LstNoTarget")->setCurrentRow(0);
    editor->CmdNoTagetDell_Click();
    EXPECT_EQ(items("LstNoTarget"), QStringList{QStringLiteral("寿司")});

    emit targets->itemDoubleClicked(targets->item(0));
    EXPECT_EQ(w<QLineEdit>("TxtTarget")->text(), QStringLiteral("すし"));
    EXPECT_EQ(targets->count(), 0);
    EXPECT_EQ(base("LstTarget"), kWhite);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(w<QToolButton>("Cmd取消"), &enter);
    EXPECT_EQ(w<QLabel>("lblStatus")->text(),
              QStringLiteral("表示されている設定を破棄して、編集前の状態に戻します。"));

    messages.answer(MsgResultCancel);
    editor->reject();
    EXPECT_TRUE(editor->isVisible());
    editor->reject();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(messages.texts().last().startsWith(QStringLiteral("編集中のデータがあります。")));
}

} // namespace
