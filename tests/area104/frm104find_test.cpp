#include "area104fixture.h"

#include "history/frmrirekiselect.h"
#include "results/frmkekka3.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class Screen104 : public Area104Test {
protected:
    void chooseCity(const QString& ward) {
        w<QComboBox>("cmbTodoufuken")->setCurrentText(QStringLiteral("東京都"));
        screen->SikuListSet();
        w<QComboBox>("cmbSikuchouson")->setCurrentText(ward);
    }
    void chooseWide(int count) {
        w<QComboBox>("cmbTodoufuken")->setCurrentText(QStringLiteral("東京都"));
        screen->SikuListSet();
        screen->Opt検索方法_Click(frm104Find::Wide);
        auto* list = w<QListWidget>("lstSikuchouson");
        for (int i = 0; i < count; ++i)
            list->item(i)->setSelected(true);
    }
    void person(const QString& surname, const QString& given = {}) {
        screen->optKojin_Click();
        w<QLineEdit>("txtSei")->setText(surname);
        w<QLineEdit>("txtMei")->setText(given);
    }
    int historyCount() {
        f.ctx->history().Load104History();
        return static_cast<int>(f.ctx->history().area104History().size());
    }
};

TEST(Banchi, LotNumbersAreRefused) {
    EXPECT_TRUE(frm104Find::Banchi_chk(QStringLiteral("１丁目")));
    EXPECT_TRUE(frm104Find::Banchi_chk(QStringLiteral("2")));
    EXPECT_TRUE(frm104Find::Banchi_chk(QStringLiteral("丁目")));
    EXPECT_TRUE(frm104Find::Banchi_chk(QStringLiteral("番地")));
    EXPECT_FALSE(frm104Find::Banchi_chk(QStringLiteral("三丁目")));
    EXPECT_FALSE(frm104Find::Banchi_chk(QStringLiteral("本町")));
}

TEST_P(Screen104, ValidationStopsAtTheFirstMissingCondition) {
    open();
    const QStringList expected = {QStringLiteral("都道府県を選択してください。"),
                                  QStringLiteral("入力した都道府県は存在しません。"),
                                  QStringLiteral("市区町村を選択してください。"),
                                  QStringLiteral("番地は入力しないでください。"),
                                  QStringLiteral("姓もしくは名を入力してください。"),
                                  QStringLiteral("会社名を入力してください。")};
    EXPECT_FALSE(screen->Chk104Cond());
    w<QComboBox>("cmbTodoufuken")->setCurrentText(QStringLiteral("東京"));
    EXPECT_FALSE(screen->Chk104Cond());
    w<QComboBox>("cmbTodoufuken")->setCurrentText(QStringLiteral("東京都"));
    EXPECT_FALSE(screen->Chk104Cond());
    chooseCity(QStringLiteral("新宿区"));
    w<QLineEdit>("txtChomei")->setText(QStringLiteral("本町３丁目"));
    EXPECT_FALSE(screen->Chk104Cond());
    w<QLineEdit>("txtChomei")->setText(QStringLiteral("本町"));
    EXPECT_FALSE(screen->Chk104Cond());
    screen->optHojin_Click();
    EXPECT_FALSE(screen->Chk104Cond());
    EXPECT_EQ(messages.texts(), expected);
    w<QLineEdit>("txtShamei")->setText(QStringLiteral("ﾔﾏﾀﾞ"));
    EXPECT_TRUE(screen->Chk104Cond());
    EXPECT_EQ(w<QLineEdit>("txtShamei")->text(), QStringLiteral("ヤマダ")) << "taken full-width";
}

TEST_P(Screen104, NormalSearchOpensTheResultsAndRecordsTheHistoryOnce) {
    open();
    chooseCity(QStringLiteral("新宿区"));
    person(QStringLiteral("山田"));
    screen->cmdExec_Click();
    EXPECT_EQ(resultNames(),
              (QStringList{QStringLiteral("山田　太郎"), QStringLiteral("山田　花子")}));
    EXPECT_FALSE(screen->isVisible()) << "the results screen shows over it";
    const clsKekka3& k = f.ctx->kekka();
    EXPECT_EQ(k.todofuken_Caption, QStringLiteral("東京都"));
    EXPECT_EQ(k.siku_Caption, QStringLiteral("新宿区"));
    EXPECT_EQ(k.title2_Caption, QStringLiteral("選択名称："));
    EXPECT_EQ(k.label2_Caption, QStringLiteral("山田"));
    EXPECT_EQ(historyCount(), 1);
    closeResults();

    screen->cmdExec_Click();
    EXPECT_EQ(historyCount(), 1) << "the same search again adds no entry";
    EXPECT_EQ(f.ctx->history().area104LastFind(), QStringLiteral("0"));
    closeResults();

    w<QLineEdit>("txtChomei")->setText(QStringLiteral("栄"));
    screen->cmdExec_Click();
    EXPECT_EQ(resultNames(), QStringList{QStringLiteral("山田　花子")})
        << "towns beginning with it";
    EXPECT_EQ(historyCount(), 2);
}

TEST_P(Screen104, EveryKanaFormOfASurnameFindsTheSameListings) {
    open();
    chooseCity(QStringLiteral("港区"));
    QList<QStringList> found;
    for (const QString& surname : {QStringLiteral("ヤマダ"), QStringLiteral("ﾔﾏﾀﾞ"),
                                   QStringLiteral("やまだ"), QStringLiteral("山田")}) {
        person(surname);
        screen->cmdExec_Click();
        found.append(resultNames());
        closeResults();
    }
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(found.at(0),
              (QStringList{QStringLiteral("山田　太郎"), QStringLiteral("山田　花子")}));
    for (qsizetype i = 1; i < found.size(); ++i)
        EXPECT_EQ(found.at(i), found.at(0)) << i;
}

TEST_P(Screen104, GivenNameAloneAndNoHitMessages) {
    open();
    chooseCity(QStringLiteral("港区"));
    person(QString(), QStringLiteral("太郎"));
    screen->cmdExec_Click();
    EXPECT_EQ(resultNames(),
              (QStringList{QStringLiteral("佐藤　太郎"), QStringLiteral("山田　太郎")}))
        << "in reading order";
    closeResults();
    person(QStringLiteral("存在"), QStringLiteral("しない"));
    screen->cmdExec_Click();
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("<< 該当の個人は見つかりません >>\r\n\r\n姓：存在\r\n名：しない"));
}

TEST_P(Screen104, ElevenCitiesAskFirstAndNoSearchesNothing) {
    open();
    chooseWide(10);
    person(QStringLiteral("サトウ"));
    screen->cmdExec_Click();
    EXPECT_TRUE(messages.shown().isEmpty()) << "ten cities need no question";
    EXPECT_EQ(f.ctx->results().size(), 10);
    EXPECT_EQ(f.ctx->kekka().siku_Caption,
              kWards.mid(0, 10).join(QStringLiteral("  ")) + QStringLiteral("  "));
    closeResults();

    w<QListWidget>("lstSikuchouson")->item(10)->setSelected(true);
    messages.answer(MsgResultNo);
    f.ctx->results().clear();
    screen->cmdExec_Click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).style, MsgYesNo);
    EXPECT_TRUE(f.ctx->results().isEmpty());
    EXPECT_EQ(historyCount(), 1) << "No writes no history";

    messages.answer(MsgResultYes);
    screen->cmdExec_Click();
    EXPECT_EQ(f.ctx->results().size(), 11);
    EXPECT_EQ(f.ctx->kekka().siku_Caption,
              kWards.mid(0, 10).join(QStringLiteral("  ")) + QStringLiteral("... 計11市区町村"));
}

TEST_P(Screen104, ThousandRecordsAcrossCitiesAndInOneCity) {
    const QString limit =
        QStringLiteral("検索結果が１０００件を超えました。\r\n以降は表示されません。");
    open();
    chooseWide(0);
    auto* list = w<QListWidget>("lstSikuchouson");
    for (int i : {9, 10, 11})
        list->item(i)->setSelected(true);
    person(QStringLiteral("タナカ"));
    screen->cmdExec_Click();
    EXPECT_EQ(f.ctx->results().size(), 1000);
    EXPECT_EQ(messages.texts(), QStringList{limit});
    closeResults();

    messages.clear();
    screen->Opt検索方法_Click(frm104Find::Normal);
    w<QComboBox>("cmbSikuchouson")->setCurrentText(QStringLiteral("世田谷区"));
    person(QStringLiteral("スズキ"));
    screen->cmdExec_Click();
    EXPECT_EQ(f.ctx->results().size(), 1000);
    EXPECT_EQ(messages.texts(), QStringList{limit});
}

TEST_P(Screen104, ADroppedListingLeavesNoGap) {
    open();
    chooseCity(QStringLiteral("新宿区"));
    person(QStringLiteral("タカハシ"));
    screen->cmdExec_Click();
    EXPECT_EQ(resultNames(), (QStringList{QStringLiteral("高橋　三"), QStringLiteral("高橋　一")}));
}

TEST_P(Screen104, LastConditionsAreRestoredOnlyInTheirListOrder) {
    Area104Conditions wide;
    wide.wideArea = true;
    wide.prefecture = QStringLiteral("東京都");
    wide.cities = {kWards.at(1), kWards.at(4), kWards.at(2)};
    wide.surname = QStringLiteral("ヤマダ");
    f.ctx->history().record104Search(wide);
    f.ctx->env().setText(EnvKey::BeforeExec, QStringLiteral("0"));
    open();
    EXPECT_EQ(screen->mode(), frm104Find::Wide);
    auto* list = w<QListWidget>("lstSikuchouson");
    QStringList selected;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            selected.append(list->item(i)->text());
    }
    EXPECT_EQ(selected, (QStringList{kWards.at(1), kWards.at(4)}))
        << "stored names out of list order stop the walk";
    EXPECT_TRUE(w<QLineEdit>("txtSei")->text().isEmpty()) << "names are not restored";
}

TEST_P(Screen104, ModeSwitchEmptiesTheTownAndKeysMoveOn) {
    open();
    chooseCity(QStringLiteral("港区"));
    w<QLineEdit>("txtChomei")->setText(QStringLiteral("本町"));
    screen->Opt検索方法_Click(frm104Find::Wide);
    EXPECT_TRUE(w<QLineEdit>("txtChomei")->text().isEmpty());
    EXPECT_FALSE(w<QLineEdit>("txtChomei")->isVisible());
    w<QListWidget>("lstSikuchouson")->item(0)->setSelected(true);
    w<QComboBox>("cmbTodoufuken")->setCurrentText(QStringLiteral("東京都"));
    screen->SikuListSet();
    EXPECT_TRUE(w<QListWidget>("lstSikuchouson")->item(0)->isSelected())
        << "the same prefecture again keeps the selection";

    screen->activateWindow();
    auto* sei = w<QLineEdit>("txtSei");
    sei->setFocus();
    QTest::keyClick(sei, Qt::Key_Return);
    EXPECT_EQ(screen->focusWidget(), w<QLineEdit>("txtMei"));
    sei->setText(QStringLiteral("abc"));
    QTest::keyClick(sei, Qt::Key_Escape);
    EXPECT_TRUE(sei->text().isEmpty());
    EXPECT_TRUE(screen->isVisible()) << "the box used the Esc key";
    // Elsewhere Esc is the close button.
    QTest::keyClick(w<QListWidget>("lstSikuchouson"), Qt::Key_Escape);
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
}

TEST_P(Screen104, AHistoryEntryIsPutBackWithItsNames) {
    Area104Conditions wide;
    wide.wideArea = true;
    wide.prefecture = QStringLiteral("東京都");
    wide.cities = {kWards.at(2), kWards.at(5)};
    wide.surname = QStringLiteral("ヤマダ");
    wide.givenName = QStringLiteral("ハナコ");
    f.ctx->history().record104Search(wide);
    Area104Conditions company;
    company.prefecture = QStringLiteral("東京都");
    company.city = kWards.at(3);
    company.town = QStringLiteral("本町");
    company.company = true;
    company.companyName = QStringLiteral("山田商店");
    f.ctx->history().record104Search(company);
    auto modals = std::make_unique<ScriptedModals>();
    ScriptedModals& script = *modals;
    f.ctx->setModals(std::move(modals));
    open();
    const auto choose = [&script](int row) {
        script.onNext([row](QDialog& dialog) {
            auto& history = static_cast<frmRirekiSelect&>(dialog);
            history.findChild<QListWidget*>(QStringLiteral("lstrireki"))->setCurrentRow(row);
            history.CmdOK_Click();
            return dialog.result();
        });
    };
    choose(0);
    screen->CmdRireki_Click();
    EXPECT_EQ(screen->mode(), frm104Find::Wide);
    auto* list = w<QListWidget>("lstSikuchouson");
    EXPECT_TRUE(list->item(2)->isSelected());
    EXPECT_TRUE(list->item(5)->isSelected());
    EXPECT_EQ(list->selectedItems().size(), 2);
    EXPECT_EQ(w<QLineEdit>("txtMei")->text(), QStringLiteral("ハナコ"));

    choose(1);
    screen->CmdRireki_Click();
    EXPECT_EQ(screen->mode(), frm104Find::Normal);
    EXPECT_EQ(w<QComboBox>("cmbSikuchouson")->currentText(), kWards.at(3));
    EXPECT_EQ(w<QLineEdit>("txtChomei")->text(), QStringLiteral("本町"));
    EXPECT_EQ(w<QLineEdit>("txtShamei")->text(), QStringLiteral("山田商店"));
    EXPECT_TRUE(w<QLineEdit>("txtSei")->text().isEmpty());
    EXPECT_EQ(script.shownCount(), 2);
}

TEST_P(Screen104, TheNameDictionaryAsksForANameFirst) {
    auto modals = std::make_unique<ScriptedModals>();
    ScriptedModals& script = *modals;
    f.ctx->setModals(std::move(modals));
    open();
    screen->cmdseimei_Click();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("姓か名を入力してください。")});
    EXPECT_EQ(script.shownCount(), 0);
    person(QStringLiteral("やまだ"));
    screen->cmdseimei_Click();
    EXPECT_EQ(script.shownCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, Screen104,
                         ::testing::Values(dict::Engine::Dxs, dict::Engine::Xch), engineName);

} // namespace
