#include "history/frmrirekiselect.h"
#include "industryfixture.h"

#include "app/frmmain.h"
#include "app/programscreens.h"
#include "app/scriptedservices.h"
#include "search/industry/frmgyoshufind2.h"
#include "search/industry/frmmygyoshu.h"
#include "settings/regstore.h"
#include "shell/recordingscreens.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QToolButton>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class IndustryScreen : public IndustryFixture {
protected:
    void SetUp() override {
        IndustryFixture::SetUp();
        auto modals = std::make_unique<ScriptedModals>();
        this->modals = modals.get();
        f.ctx->setModals(std::move(modals));
        f.ctx->kekka().Kekka3_Init();
        f.ctx->kekka().OutFileInfo_Set(OutFileInfo{});
        menu = std::make_unique<frmMain>(*f.ctx, screens);
    }
    void TearDown() override {
        // Deleting a results screen deletes its popup menu, another top-level window.
        QList<QPointer<QWidget>> results;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("frmKekka3"))
                results.append(top);
        }
        for (const QPointer<QWidget>& window : results)
            delete window.data();
        delete screen.data();
    }
    frmGyoshuFind2* open() {
        screen = static_cast<frmGyoshuFind2*>(createGyoshuFindScreen(*f.ctx, *menu));
        screen->show();
        return screen;
    }
    template <class T> T* w(const char* name) {
        T* p = screen->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(p, nullptr) << name;
        return p;
    }
    void choosePrefecture(const QString& name) {
        w<QComboBox>("cmbTodoufuken")->setCurrentText(name);
        screen->cmbTodoufuken_Click();
    }
    void choose(const QList<int>& wards, const QString& industry) {
        choosePrefecture(QStringLiteral("東京都"));
        for (int i : wards)
            w<QListWidget>("lstSikuchouson")->item(i)->setSelected(true);
        const auto found = w<QListWidget>("lstGyoshu")->findItems(industry, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << qPrintable(industry);
        w<QListWidget>("lstGyoshu")->setCurrentItem(found.first());
    }
    QStringList industries() {
        QStringList texts;
        auto* list = w<QListWidget>("lstGyoshu");
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }
    QStringList selectedCities() {
        QStringList names;
        for (const QListWidgetItem* item : w<QListWidget>("lstSikuchouson")->selectedItems())
            names.append(item->text());
        return names;
    }
    int historyCount() {
        f.ctx->history().LoadIndustryHistory();
        return static_cast<int>(f.ctx->history().industryHistory().size());
    }

    ScriptedModals* modals = nullptr;
    RecordingScreens screens;
    std::unique_ptr<frmMain> menu;
    QPointer<frmGyoshuFind2> screen;
};

TEST_P(IndustryScreen, OriginalsComeFirstAndASlotThatNoLongerMatchesIsRefused) {
    open();
    QStringList list = industries();
    ASSERT_EQ(list.size(), 49);
    EXPECT_EQ(list.first(), QStringLiteral("コンビニ"));
    screen->close();

    OriginalIndustries originals(f.ctx->store());
    originals.saveNew({QStringLiteral("甲"), {QStringLiteral("ホテル")}, {}});
    originals.saveNew({QStringLiteral("乙"), {QStringLiteral("ホテル")}, {}});
    originals.saveNew({QStringLiteral("丙"), {QStringLiteral("ホテル")}, {}});
    RegHandle key;
    f.ctx->store().RegKeyOpen(kMruKey, 1, key);
    f.ctx->store().RegValueDelete(key, QStringLiteral("GYOSHUNM(1)"));
    f.ctx->store().RegKeyClose(key);
    open();
    list = industries();
    EXPECT_EQ(list.mid(0, 3), (QStringList{QStringLiteral("※甲"), QStringLiteral("※丙"),
                                           QStringLiteral("コンビニ")}))
        << "empty slots are skipped";
    EXPECT_EQ(w<QListWidget>("lstGyoshu")->item(1)->data(Qt::UserRole).toInt(), 5);

    // The second item is slot 1 by its position, whose name is gone.
    choose({1}, QStringLiteral("※丙"));
    screen->cmdExec_Click();
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("ｵﾘｼﾞﾅﾙ業種が取得できません。"),
                                             QStringLiteral("<< 該当の業種は見つかりません >>")}));
    EXPECT_TRUE(screen->isVisible());
    choose({1}, QStringLiteral("※甲"));
    screen->cmdExec_Click();
    EXPECT_EQ(resultNames(), (QStringList{QStringLiteral("ホテル中央区"),
                                          QStringLiteral("中央区グランドホテル")}));
}

TEST_P(IndustryScreen, CitiesFollowThePrefectureAndTheSelectionButtonsFollowTheCities) {
    open();
    auto* cities = w<QListWidget>("lstSikuchouson");
    choosePrefecture(QStringLiteral("東京都"));
    ASSERT_EQ(cities->count(), 12);
    cities->item(2)->setSelected(true);
    choosePrefecture(QStringLiteral("東京都"));
    EXPECT_EQ(selectedCities(), QStringList{kWards.at(2)}) << "the same prefecture keeps them";
    choosePrefecture(QStringLiteral("大阪府"));
    EXPECT_EQ(cities->count(), 1);
    EXPECT_TRUE(selectedCities().isEmpty());

    choosePrefecture(QStringLiteral("東京都"));
    screen->cmdSikuSel_Click(0);
    EXPECT_EQ(selectedCities().size(), 12);
    EXPECT_EQ(cities->toolTip(), QStringLiteral("12件選択"));
    for (int i = 0; i < 11; ++i)
        cities->item(i)->setSelected(false);
    EXPECT_TRUE(w<QToolButton>("cmdSikuSel1")->isVisible()) << "one city is still selected";
    EXPECT_FALSE(w<QToolButton>("cmdSikuSel0")->isVisible());
    cities->item(11)->setSelected(false);
    EXPECT_TRUE(w<QToolButton>("cmdSikuSel0")->isVisible());
    EXPECT_TRUE(cities->toolTip().isEmpty());

    w<QComboBox>("cmbTodoufuken")->setCurrentText(QStringLiteral("東京"));
    screen->cmbTodoufuken_Click();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("入力した都道府県は存在しません。"));
}

TEST_P(IndustryScreen, ChecksComeInOrderBeforeAnythingIsSearchedOrRecorded) {
    open();
    auto* prefecture = w<QComboBox>("cmbTodoufuken");
    screen->cmdExec_Click();
    prefecture->setCurrentText(QStringLiteral("東京"));
    screen->cmdExec_Click();
    EXPECT_TRUE(screen->focusWidget() == prefecture ||
                screen->focusWidget() == prefecture->lineEdit());
    choosePrefecture(QStringLiteral("東京都"));
    screen->cmdExec_Click();
    w<QListWidget>("lstSikuchouson")->item(0)->setSelected(true);
    screen->cmdExec_Click();
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("都道府県名を選択してください。"),
                                             QStringLiteral("入力した都道府県名は存在しません。"),
                                             QStringLiteral("市区町村名を選択してください。"),
                                             QStringLiteral("業種を選択してください。")}));
    EXPECT_EQ(historyCount(), 0);
}

TEST_P(IndustryScreen, ASearchOpensTheResultsAndIsRecordedOnce) {
    open();
    choose({0}, QStringLiteral("飲食店"));
    screen->cmdExec_Click();
    EXPECT_EQ(resultNames().size(), 4);
    EXPECT_FALSE(screen->isVisible()) << "the results screen shows over it";
    EXPECT_EQ(f.ctx->kekka().siku_Caption, QStringLiteral("千代田区  "));
    EXPECT_EQ(f.ctx->kekka().label1_Caption, QStringLiteral("飲食店"));
    screen->cmdExec_Click();
    EXPECT_EQ(historyCount(), 1) << "the same conditions again add no entry";

    // Eleven cities ask first; No searches nothing and records nothing.
    w<QListWidget>("lstSikuchouson")->clearSelection();
    choose({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, QStringLiteral("ホテル"));
    messages.answer(MsgResultNo);
    f.ctx->results().clear();
    screen->cmdExec_Click();
    EXPECT_TRUE(f.ctx->results().isEmpty());
    EXPECT_EQ(historyCount(), 1);
    messages.answer(MsgResultYes);
    screen->cmdExec_Click();
    EXPECT_EQ(f.ctx->results().size(), 21);
    EXPECT_EQ(f.ctx->kekka().siku_Caption,
              kWards.mid(0, 10).join(QStringLiteral("  ")) + QStringLiteral("... 計11市区町村"));
    EXPECT_EQ(historyCount(), 2);
}

TEST_P(IndustryScreen, OneCityOverAThousandAsksAndNothingFoundSaysSo) {
    open();
    choose({1}, QStringLiteral("スイミング"));
    messages.answer(MsgResultNo);
    screen->cmdExec_Click();
    EXPECT_EQ(f.ctx->results().size(), 1000);
    EXPECT_TRUE(messages.texts().last().contains(QStringLiteral("(検索結果件数： 1200件)")));

    w<QListWidget>("lstSikuchouson")->clearSelection();
    choose({4}, QStringLiteral("コンビニ"));
    screen->cmdExec_Click();
    EXPECT_EQ(messages.texts().last(), QStringLiteral("<< 該当の業種は見つかりません >>"));
    EXPECT_TRUE(screen->isEnabled());
}

TEST_P(IndustryScreen, TheLastConditionsComeBackOnlyWhenAskedFor) {
    const QStringList picked = {kWards.at(1), kWards.at(4)};
    for (const QString& industry :
         {QStringLiteral("銀行"), QStringLiteral("寺院"), QStringLiteral("ホテル")})
        f.ctx->history().recordIndustrySearch({QStringLiteral("東京都"), picked, industry});
    f.ctx->history().SaveIndustryLastFind(0);
    open();
    EXPECT_TRUE(w<QListWidget>("lstGyoshu")->selectedItems().isEmpty());
    EXPECT_TRUE(w<QComboBox>("cmbTodoufuken")->currentText().isEmpty());
    screen->close();

    f.ctx->env().setText(EnvKey::BeforeExec, QStringLiteral("0"));
    open();
    EXPECT_EQ(w<QComboBox>("cmbTodoufuken")->currentText(), QStringLiteral("東京都"));
    EXPECT_EQ(selectedCities(), picked);
    ASSERT_EQ(w<QListWidget>("lstGyoshu")->selectedItems().size(), 1);
    EXPECT_EQ(w<QListWidget>("lstGyoshu")->selectedItems().first()->text(),
              QStringLiteral("ホテル"))
        << "position 0 means the newest entry";
}

TEST_P(IndustryScreen, AHistoryEntryIsPutBackThroughTheHistoryDialog) {
    f.ctx->history().recordIndustrySearch(
        {QStringLiteral("東京都"), {kWards.at(2), kWards.at(3)}, QStringLiteral("銀行")});
    f.ctx->history().recordIndustrySearch(
        {QStringLiteral("東京都"), {kWards.at(5)}, QStringLiteral("ホテル")});
    auto modals = std::make_unique<ScriptedModals>();
    modals->onNext([](QDialog& dialog) {
        auto& history = static_cast<frmRirekiSelect&>(dialog);
        history.findChild<QListWidget*>(QStringLiteral("lstrireki"))->setCurrentRow(0);
        history.CmdOK_Click();
        return dialog.result();
    });
    f.ctx->setModals(std::move(modals));
    open();
    QTest::mouseClick(w<QToolButton>("CmdRireki"), Qt::LeftButton);
    EXPECT_EQ(w<QComboBox>("cmbTodoufuken")->currentText(), QStringLiteral("東京都"));
    EXPECT_EQ(selectedCities(), (QStringList{kWards.at(2), kWards.at(3)}));
    ASSERT_EQ(w<QListWidget>("lstGyoshu")->selectedItems().size(), 1);
    EXPECT_EQ(w<QListWidget>("lstGyoshu")->selectedItems().first()->text(), QStringLiteral("銀行"));
}

TEST_P(IndustryScreen, EnterMovesOnHintsFollowTheFocusAndClosingHandsBackScreenThree) {
    open();
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    auto* prefecture = w<QComboBox>("cmbTodoufuken");
    prefecture->setFocus();
    EXPECT_EQ(w<QLabel>("lblStatus")->text(),
              QStringLiteral("都道府県を選択してください。（必ず選択）"));
    prefecture->setCurrentText(QStringLiteral("東京都"));
    QTest::keyClick(prefecture->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(screen->focusWidget(), w<QListWidget>("lstSikuchouson"));
    EXPECT_EQ(w<QListWidget>("lstSikuchouson")->count(), 12) << "a typed prefecture is taken";
    EXPECT_EQ(
        w<QLabel>("lblStatus")->text(),
        QStringLiteral("市区町村を選択してください。（必ず選択）  ＣＴＲＬ＋クリックで複数選択"));
    QTest::keyClick(w<QListWidget>("lstSikuchouson"), Qt::Key_Return);
    EXPECT_EQ(screen->focusWidget(), w<QListWidget>("lstGyoshu"));
    QTest::keyClick(w<QListWidget>("lstGyoshu"), Qt::Key_Return);
    EXPECT_EQ(screen->focusWidget(), w<QToolButton>("cmdExec"));
    EXPECT_TRUE(w<QToolButton>("CmdRireki")->isEnabled());

    screen->close();
    EXPECT_EQ(f.ctx->shell().lastFormNo, ScreenIndustry);
}

TEST_P(IndustryScreen, TheEditorsChangesRebuildTheList) {
    open();
    modals->onNext([](QDialog& dialog) {
        auto& editor = static_cast<frmMyGyoshu&>(dialog);
        editor.Cmd新規_Click();
        editor.findChild<QLineEdit*>(QStringLiteral("TxtGyoshu"))->setText(QStringLiteral("麺"));
        editor.findChild<QListWidget*>(QStringLiteral("LstTarget"))
            ->addItem(QStringLiteral("ラーメン"));
        editor.Cmd保存_Click();
        return 0;
    });
    screen->CmdMyGyoshu_Click();
    EXPECT_EQ(industries().first(), QStringLiteral("※麺"));
    EXPECT_EQ(screen->originals().slot(0).targets, QStringList{QStringLiteral("ラーメン")});
}

INSTANTIATE_TEST_SUITE_P(BothEngines, IndustryScreen,
                         ::testing::Values(dict::Engine::Dxs, dict::Engine::Xch), engineName);

TEST(IndustryScreenCatalog, TheMainMenuOffersTheIndustryScreen) {
    ShellFixture f;
    ScriptedMessagePresenter messages;
    f.installDictionary();
    f.ctx->env().setText(EnvKey::DicDrive, QStringLiteral("0"));
    ProgramScreens catalog(*f.ctx);
    EXPECT_TRUE(catalog.hasSearchScreen(ScreenIndustry));
    frmMain menu(*f.ctx, catalog);
    std::unique_ptr<QWidget> screen(catalog.createSearchScreen(ScreenIndustry, menu));
    EXPECT_NE(qobject_cast<frmGyoshuFind2*>(screen.get()), nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());
}

} // namespace
