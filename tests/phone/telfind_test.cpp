// The phone-number screen driven as a user drives it: numbers typed, the search button
// clicked, the paging buttons, the address dialog answered while it is up, and what the
// searches leave in the store.

#include "app/scriptedservices.h"
#include "app/twips.h"
#include "history/frmrirekiselect.h"
#include "phone/phonefixture.h"
#include "search/area104/frmseimei.h"
#include "search/phone/frmtelfind.h"
#include "search/phone/telfindscreen.h"
#include "seimei/seimeitest.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QToolButton>

using namespace pikotel;
using namespace pikotel::test;

namespace {

const QString kNotRegistered = QStringLiteral("入力した電話番号は局番辞書に登録されていません。");

class TelFindTest : public PhoneFixture {
protected:
    void TearDown() override {
        delete screen.data();
        PhoneFixture::TearDown();
    }

    frmTelFind* open() {
        screen = qobject_cast<frmTelFind*>(createTelFindScreen(*shell->ctx, *mainMenu));
        screen->show();
        screen->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(screen));
        return screen;
    }
    QLineEdit* field(const char* name) const {
        return screen->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QToolButton* button(const char* name) const {
        return screen->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QLabel* label(const char* name) const {
        return screen->findChild<QLabel*>(QString::fromLatin1(name));
    }
    QWidget* focused() const { return screen->focusWidget(); }

    void search(const QString& typed) {
        field("txtTelNo")->clear();
        typeText(field("txtTelNo"), typed);
        QTest::mouseClick(button("CmdFind"), Qt::LeftButton);
    }

    // The six fields a hit or a confirmed address fills.
    QStringList resultFields() const {
        QStringList out;
        for (const char* name :
             {"txtName", "txtYubin", "txtAddress1", "txtAddress2", "txtAddress3", "txtAddress4"})
            out.append(field(name)->text());
        return out;
    }
    bool resultFieldsLocked() const {
        for (const char* name :
             {"txtName", "txtYubin", "txtAddress1", "txtAddress2", "txtAddress3", "txtAddress4"}) {
            if (!field(name)->isReadOnly())
                return false;
        }
        return true;
    }
    bool pagingHidden() const {
        return !button("cmdBefore")->isVisible() && !button("cmdAfter")->isVisible() &&
               !label("lblPage")->isVisible();
    }

    QPointer<frmTelFind> screen;
};

TEST_F(TelFindTest, ControlsCarryTheirNamesAndStartDisabledUntilAHit) {
    open();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("電話番号検索"));
    for (const char* name : {"FraInputTelNo", "FraFind", "Frame1"})
        EXPECT_NE(screen->findChild<QGroupBox*>(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"txtTelNo", "txtName", "txtYubin", "txtAddress1", "txtAddress2",
                             "txtAddress3", "txtAddress4", "txtAddress"})
        EXPECT_NE(field(name), nullptr) << name;
    for (const char* name : {"lblName", "lblYubin", "lblAddress1", "lblAddress2", "Label1",
                             "Label2", "Label4", "lblPage", "lblOutfile"})
        EXPECT_NE(label(name), nullptr) << name;
    for (const char* name : {"CmdFind", "cmdClear", "cmdBefore", "cmdAfter", "cmdseimei", "cmdSave",
                             "cmdMemo", "CmdRireki", "CmdSetting", "CmdHELP", "CmdExit"})
        ASSERT_NE(button(name), nullptr) << name;

    EXPECT_TRUE(button("CmdRireki")->isEnabled());
    EXPECT_TRUE(button("cmdMemo")->isEnabled());
    for (const char* name : {"cmdseimei", "cmdSave", "CmdSetting"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    EXPECT_TRUE(button("cmdseimei")->isVisible());
    EXPECT_TRUE(pagingHidden());
    EXPECT_TRUE(resultFieldsLocked());
    EXPECT_EQ(label("lblOutfile")->text(), QStringLiteral("設定されていません。"));

    // The stored output file wins over the one in memory; SEIMEI "1" hides the name button.
    delete screen.data();
    const QString outFile = shell->dir.file(QStringLiteral("out/電話帳テキスト.txt"));
    shell->setUser(QStringLiteral("OUTFILE"), outFile);
    shell->ctx->env().setText(EnvKey::Seimei, QStringLiteral("1"));
    screens.settingsScreen = true;
    open();
    EXPECT_EQ(shell->ctx->env().text(EnvKey::OutFile), outFile);
    EXPECT_EQ(label("lblOutfile")->toolTip(), outFile);
    EXPECT_TRUE(button("CmdSetting")->isEnabled());
    EXPECT_FALSE(button("cmdseimei")->isVisible());
}

TEST_F(TelFindTest, SeveralHitsPageToTheLastAndBack) {
    open();
    search(QStringLiteral("03-3456-7892"));
    EXPECT_TRUE(messages->texts().isEmpty()) << qPrintable(messages->texts().join(u'\n'));
    const QList<DirRecord>& hits = shell->ctx->directory().telResult();
    ASSERT_EQ(hits.size(), 3);

    EXPECT_EQ(screen->currentHit(), 1);
    EXPECT_EQ(field("txtTelNo")->text(), QStringLiteral("03-3456-7892"));
    EXPECT_EQ(field("txtName")->text(), hits[0].name);
    EXPECT_EQ(label("lblPage")->text(), QStringLiteral("1/3"));
    EXPECT_TRUE(button("cmdBefore")->isVisible());
    EXPECT_FALSE(button("cmdBefore")->isEnabled());
    EXPECT_TRUE(button("cmdAfter")->isEnabled());
    EXPECT_TRUE(button("cmdClear")->isEnabled());
    EXPECT_EQ(focused(), button("cmdClear"));
    EXPECT_FALSE(resultFieldsLocked());

    QTest::mouseClick(button("cmdAfter"), Qt::LeftButton);
    EXPECT_EQ(label("lblPage")->text(), QStringLiteral("2/3"));
    EXPECT_EQ(field("txtName")->text(), hits[1].name);
    EXPECT_TRUE(button("cmdBefore")->isEnabled());
    EXPECT_TRUE(button("cmdAfter")->isEnabled());

    QTest::mouseClick(button("cmdAfter"), Qt::LeftButton);
    EXPECT_EQ(label("lblPage")->text(), QStringLiteral("3/3"));
    EXPECT_EQ(field("txtName")->text(), hits[2].name);
    EXPECT_EQ(field("txtAddress4")->text(), hits[2].block);
    EXPECT_EQ(field("txtAddress")->text(),
              hits[2].pref + hits[2].city + hits[2].town + hits[2].block);
    EXPECT_FALSE(button("cmdAfter")->isEnabled());
    EXPECT_EQ(focused(), button("cmdBefore"));

    // Back with the keyboard: Enter on the focused button.
    QTest::keyClick(button("cmdBefore"), Qt::Key_Return);
    EXPECT_EQ(label("lblPage")->text(), QStringLiteral("2/3"));
    QTest::mouseClick(button("cmdBefore"), Qt::LeftButton);
    EXPECT_EQ(label("lblPage")->text(), QStringLiteral("1/3"));
    EXPECT_EQ(field("txtName")->text(), hits[0].name);
    EXPECT_FALSE(button("cmdBefore")->isEnabled());
    EXPECT_TRUE(button("cmdAfter")->isEnabled());
    EXPECT_EQ(focused(), button("cmdAfter"));

    // A single hit hides the paging again.
    search(QStringLiteral("03-3456-7890"));
    EXPECT_TRUE(pagingHidden());
    EXPECT_EQ(screen->currentHit(), 1);
}

TEST_F(TelFindTest, HyphensCommentsAndFullWidthDigitsFindTheListing) {
    open();
    const QStringList yamada = {QStringLiteral("山田　太郎"), QStringLiteral("160-0022"),
                                QStringLiteral("東京都"),     QStringLiteral("新宿区"),
                                QStringLiteral("新宿"),       QStringLiteral("３丁目１２－５")};
    // Only the part before "|" is the number, even when the comment holds digits.
    search(QStringLiteral("03-3456-7890|2F 受付"));
    EXPECT_EQ(resultFields(), yamada);
    EXPECT_EQ(field("txtTelNo")->text(), QStringLiteral("03-3456-7890"));
    EXPECT_EQ(field("txtAddress")->text(), QStringLiteral("東京都新宿区新宿３丁目１２－５"));
    EXPECT_EQ(screen->lastFoundNumber(), QStringLiteral("03-3456-7890"));

    search(QStringLiteral("０３－３４５６－７８９０"));
    EXPECT_EQ(resultFields(), yamada);
    // Letters and blanks are dropped.
    search(QStringLiteral("TEL 03 3456 7890"));
    EXPECT_EQ(resultFields(), yamada);
    EXPECT_TRUE(messages->texts().isEmpty()) << qPrintable(messages->texts().join(u'\n'));

    // Without hyphens, and the postal code with the mark.
    Environment& env = shell->ctx->env();
    env.setText(EnvKey::TelHifon, QStringLiteral("1"));
    env.setText(EnvKey::ZipHifon, QStringLiteral("1"));
    env.setText(EnvKey::ZipMark, QStringLiteral("1"));
    search(QStringLiteral("03-3456-7890"));
    EXPECT_EQ(field("txtTelNo")->text(), QStringLiteral("0334567890"));
    EXPECT_EQ(field("txtYubin")->text(), QStringLiteral("〒1600022"));
    env.setText(EnvKey::ZipHifon, QStringLiteral("0"));
    search(QStringLiteral("03-3456-7890"));
    EXPECT_EQ(field("txtYubin")->text(), QStringLiteral("〒160-0022"));
}

TEST_F(TelFindTest, EmptyAndShortInputsAreRefused) {
    shell->ctx->env().setText(EnvKey::BeforeExec, QStringLiteral("1"));
    open();
    QTest::mouseClick(button("CmdFind"), Qt::LeftButton);
    EXPECT_EQ(messages->texts(), QStringList{QStringLiteral("電話番号を入力してください。")});
    EXPECT_EQ(focused(), field("txtTelNo"));
    EXPECT_FALSE(button("cmdClear")->isEnabled());

    // Four characters once letters are dropped; a hyphen counts.
    for (const QString& typed :
         {QStringLiteral("1234"), QStringLiteral("ab12cd34"), QStringLiteral("03-1")}) {
        messages->clear();
        search(typed);
        EXPECT_EQ(messages->texts(),
                  QStringList{QStringLiteral("正しい電話番号を入力してください。")})
            << qPrintable(typed);
        EXPECT_EQ(focused(), field("txtTelNo"));
        EXPECT_TRUE(button("cmdClear")->isEnabled());
    }
    EXPECT_FALSE(mruValues().contains(QStringLiteral("FINDTELNO")));

    // Seven characters pass the check and are searched.
    messages->clear();
    search(QStringLiteral("12-3456"));
    EXPECT_EQ(messages->texts(), QStringList{kNotRegistered});
    EXPECT_EQ(mruValues().value(QStringLiteral("FINDTELNO")), QStringLiteral("12-3456"));
}

TEST_F(TelFindTest, ValueBelowTwelveIsNotSearched) {
    open();
    search(QStringLiteral("03-3456-7890"));
    messages->clear();
    search(QStringLiteral("00011"));
    // Not searched and not stored; the confirmation finds no exchange for it.
    EXPECT_EQ(messages->texts(), QStringList{kNotRegistered});
    EXPECT_EQ(mruValues().value(QStringLiteral("FINDTELNO")), QStringLiteral("03-3456-7890"));
    EXPECT_EQ(resultFields(), QStringList(6));
    EXPECT_EQ(field("txtTelNo")->text(), QStringLiteral("00011"));
    EXPECT_EQ(screen->lastFoundNumber(), QStringLiteral("00011"));
    EXPECT_EQ(focused(), field("txtTelNo"));
}

TEST_F(TelFindTest, UnlistedNumberConfirmsTheAddressOfItsExchange) {
    open();
    AddressDialogDriver driver;
    QStringList chosen;
    driver.onShow([&](frmJyusho2& dialog) {
        for (int level = 0; level < 4; ++level) {
            const QListWidgetItem* item = dialog.lstAddress(level)->currentItem();
            chosen.append(item != nullptr ? item->text() : QString());
        }
        QTest::mouseClick(dialog.findChild<QToolButton*>(QStringLiteral("CmdExec")),
                          Qt::LeftButton);
    });
    search(QStringLiteral("03-3340-9999"));
    ASSERT_TRUE(driver.shown());
    EXPECT_TRUE(messages->texts().isEmpty()) << qPrintable(messages->texts().join(u'\n'));
    EXPECT_EQ(chosen.mid(0, 2), QStringList({QStringLiteral("東京都\tトウキョウト"),
                                             QStringLiteral("新宿区\tシンジュクク")}));
    EXPECT_TRUE(chosen[2].startsWith(QStringLiteral("162-0842|市谷砂土原町")))
        << qPrintable(chosen[2]);
    EXPECT_EQ(chosen[3], QString());

    EXPECT_EQ(resultFields(),
              QStringList({QString(), QStringLiteral("162-0842"), QStringLiteral("東京都"),
                           QStringLiteral("新宿区"), QStringLiteral("市谷砂土原町"), QString()}));
    EXPECT_EQ(field("txtAddress")->text(), QStringLiteral("東京都新宿区市谷砂土原町"));
    EXPECT_FALSE(resultFieldsLocked());
    EXPECT_EQ(focused(), field("txtName"));
    EXPECT_TRUE(button("cmdClear")->isEnabled());
    EXPECT_TRUE(pagingHidden());
    // Unlisted numbers are no history entries.
    EXPECT_FALSE(mruValues().contains(QStringLiteral("TELNO(0)")));

    // Leaving the dialog with the back button writes nothing; the name box still has the focus.
    field("txtName")->clear();
    AddressDialogDriver back;
    back.onShow([](frmJyusho2& dialog) {
        QTest::mouseClick(dialog.findChild<QToolButton*>(QStringLiteral("cmdModori")),
                          Qt::LeftButton);
    });
    search(QStringLiteral("03-3342-1111"));
    ASSERT_TRUE(back.shown());
    EXPECT_EQ(resultFields(), QStringList(6));
    EXPECT_EQ(focused(), field("txtName"));
}

TEST_F(TelFindTest, UnregisteredExchangeGivesOneMessageAndTheNumberBoxTheFocus) {
    open();
    AddressDialogDriver driver;
    driver.onShow([](frmJyusho2&) {});
    search(QStringLiteral("0999-12-3456"));
    EXPECT_EQ(messages->texts(), QStringList{kNotRegistered});
    EXPECT_EQ(focused(), field("txtTelNo"));
    QApplication::processEvents();
    EXPECT_FALSE(driver.shown());
    EXPECT_TRUE(pagingHidden());
}

TEST_F(TelFindTest, CorrectionTableDropsAndReplacesListings) {
    open();
    // A dropped listing takes the not-found way: its exchange is not in the postal data.
    search(QStringLiteral("0826-78-6320"));
    EXPECT_EQ(messages->texts(), QStringList{kNotRegistered});
    EXPECT_EQ(resultFields(), QStringList(6));
    EXPECT_FALSE(mruValues().contains(QStringLiteral("TELNO(0)")));

    messages->clear();
    search(QStringLiteral("0948-84-5305"));
    EXPECT_EQ(field("txtName")->text(), QStringLiteral("泉河内工務店"));
    EXPECT_EQ(field("txtAddress4")->text(), QStringLiteral("１１５番地１"));
    // A row without a block keeps the listing's.
    search(QStringLiteral("078-875-6396"));
    EXPECT_EQ(field("txtName")->text(), QStringLiteral("カレーハウス若葉北店"));
    EXPECT_EQ(field("txtAddress4")->text(), QStringLiteral("１９１"));
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(mruValues().value(QStringLiteral("TELNO(0)")),
              QStringLiteral("0948845305 泉河内工務店"));
}

TEST_F(TelFindTest, SearchesLeaveTheirHistoryValuesInTheStore) {
    open();
    search(QStringLiteral("03-3456-7890"));
    EXPECT_EQ(mruValues(),
              (QMap<QString, QString>{
                  {QStringLiteral("FINDTELNO"), QStringLiteral("03-3456-7890")},
                  {QStringLiteral("TELNO(0)"), QStringLiteral("0334567890 山田　太郎")},
                  {QStringLiteral("TELNOLASTFIND"), QStringLiteral("0")},
              }));

    search(QStringLiteral("０３３４５６７８９２"));
    const QString first = shell->ctx->directory().telResult().constFirst().name;
    // The same number and name again only moves the pointer; the typed text is kept as typed.
    search(QStringLiteral("03-3456-7890|自宅"));
    AddressDialogDriver driver;
    driver.onShow([](frmJyusho2&) {});
    search(QStringLiteral("03-3340-9999"));
    EXPECT_TRUE(driver.shown());
    EXPECT_EQ(mruValues(),
              (QMap<QString, QString>{
                  {QStringLiteral("FINDTELNO"), QStringLiteral("03-3340-9999")},
                  {QStringLiteral("TELNO(0)"), QStringLiteral("0334567890 山田　太郎")},
                  {QStringLiteral("TELNO(1)"), QStringLiteral("0334567892 ") + first},
                  {QStringLiteral("TELNOLASTFIND"), QStringLiteral("0")},
              }));

    // The sixth distinct search drops the oldest; a repeat only moves the pointer.
    for (const char* number : {"0948-84-5305", "078-875-6396", "03-3456-7893"})
        search(QString::fromLatin1(number));
    EXPECT_EQ(mruValues().value(QStringLiteral("TELNOLASTFIND")), QStringLiteral("4"));
    search(QStringLiteral("03-3456-7894"));
    QMap<QString, QString> values = mruValues();
    EXPECT_EQ(values.value(QStringLiteral("TELNO(0)")), QStringLiteral("0334567892 ") + first);
    EXPECT_EQ(values.value(QStringLiteral("TELNO(4)")), QStringLiteral("0334567894 高橋商事"));
    EXPECT_EQ(values.value(QStringLiteral("TELNOLASTFIND")), QStringLiteral("4"));
    EXPECT_FALSE(values.contains(QStringLiteral("TELNO(5)")));
    search(QStringLiteral("0948-84-5305"));
    values = mruValues();
    EXPECT_EQ(values.value(QStringLiteral("TELNO(1)")), QStringLiteral("0948845305 泉河内工務店"));
    EXPECT_EQ(values.value(QStringLiteral("TELNOLASTFIND")), QStringLiteral("1"));
}

TEST_F(TelFindTest, ClearingKeepsTheDefaultAreaCodeAndKeysActOnTheNumberBox) {
    Environment& env = shell->ctx->env();
    env.setText(EnvKey::DefaultTelUse, QStringLiteral("0"));
    env.setText(EnvKey::DefaultTel, QStringLiteral("03"));
    env.setText(EnvKey::BeforeExec, QStringLiteral("1"));
    open();
    QLineEdit* telNo = field("txtTelNo");
    EXPECT_EQ(telNo->text(), QStringLiteral("03"));

    typeText(telNo, QStringLiteral("-3456-7890"));
    telNo->setFocus();
    QTest::keyClick(telNo, Qt::Key_Return);
    EXPECT_EQ(telNo->text(), QStringLiteral("03-3456-7890"));
    EXPECT_EQ(focused(), button("CmdFind"));
    QTest::keyClick(button("CmdFind"), Qt::Key_Return);
    EXPECT_EQ(field("txtName")->text(), QStringLiteral("山田　太郎"));

    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    EXPECT_EQ(telNo->text(), QStringLiteral("03"));
    EXPECT_EQ(resultFields(), QStringList(6));
    EXPECT_TRUE(resultFieldsLocked());
    EXPECT_EQ(field("txtAddress")->text(), QString());
    EXPECT_FALSE(button("cmdClear")->isEnabled());
    EXPECT_EQ(focused(), telNo);

    QTest::keyClick(telNo, Qt::Key_Escape);
    EXPECT_EQ(telNo->text(), QString());
    EXPECT_TRUE(screen->isVisible());
}

TEST_F(TelFindTest, RestoresTheLastNumberAndHandsItsPositionToTheMainMenu) {
    open();
    search(QStringLiteral("03-3456-7890|自宅"));
    delete screen.data();

    // BEFOREEXEC empty counts as "0": the number comes back as typed.
    mainMenu->show();
    open();
    EXPECT_EQ(field("txtTelNo")->text(), QStringLiteral("03-3456-7890|自宅"));
    EXPECT_TRUE(button("cmdClear")->isEnabled());

    mainMenu->hide();
    screen->move(200, 150);
    const int left = twipsLeft(screen);
    const int top = twipsTop(screen);
    const QPointer<frmTelFind> closing = screen;
    QTest::mouseClick(button("CmdExit"), Qt::LeftButton);
    EXPECT_EQ(shell->ctx->shell().lastFormNo, ScreenPhone);
    EXPECT_EQ(shell->ctx->shell().startUpPosX, static_cast<float>(left));
    EXPECT_EQ(shell->ctx->shell().startUpPosY, static_cast<float>(top));
    EXPECT_TRUE(mainMenu->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

TEST_F(TelFindTest, MissingDictionaryStopsTheSearchAfterItsMessage) {
    QFile::remove(shell->programFolder() + QStringLiteral("/DIC/dxs9999.dct"));
    open();
    search(QStringLiteral("03-3456-7890"));
    EXPECT_EQ(
        messages->texts(),
        QStringList{QStringLiteral(
            "ハードディスクドライブに電話帳辞書がありません。\r\n環境設定を確認してください。")});
    EXPECT_FALSE(mruValues().contains(QStringLiteral("FINDTELNO")));
    EXPECT_EQ(resultFields(), QStringList(6));
}

TEST_F(TelFindTest, TheNameButtonFollowsTheSearchAndWritesTheChosenNameBack) {
    auto scripted = std::make_unique<ScriptedModals>();
    ScriptedModals& modals = *scripted;
    shell->ctx->setModals(std::move(scripted));
    QFile dictionary(frmSeimei::dictionaryPath(shell->programFolder()));
    ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
    dictionary.write(seimei::test::buildImage(seimei::test::kNames));
    dictionary.close();

    open();
    search(QStringLiteral("03-3456-7890"));
    ASSERT_TRUE(button("cmdseimei")->isEnabled());
    field("txtName")->clear();
    QTest::mouseClick(button("cmdseimei"), Qt::LeftButton);
    EXPECT_EQ(messages->texts(), QStringList{QStringLiteral("名前を入力してください。")});
    EXPECT_EQ(modals.shownCount(), 0);

    // The typed reading becomes the chosen written forms, the full-width blank kept.
    typeText(field("txtName"), QStringLiteral("やまだ　たろう"));
    modals.onNext([](QDialog& dialog) {
        dialog.findChild<QListWidget*>(QStringLiteral("lstsei"))->item(0)->setSelected(true);
        dialog.findChild<QListWidget*>(QStringLiteral("lstMei"))->item(1)->setSelected(true);
        dynamic_cast<frmSeimei&>(dialog).cmdKakutei_Click();
        return dialog.result();
    });
    QTest::mouseClick(button("cmdseimei"), Qt::LeftButton);
    EXPECT_EQ(field("txtName")->text(), QStringLiteral("山田　太郎"));
    // A name with both parts is ready to be saved.
    EXPECT_EQ(focused(), button("cmdSave"));

    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    EXPECT_FALSE(button("cmdseimei")->isEnabled());
}

TEST_F(TelFindTest, AHistoryEntryPutsBackOnlyItsNumber) {
    shell->ctx->history().recordPhoneSearch(
        {QStringLiteral("0334567890"), QStringLiteral("山田　太郎")});
    auto modals = std::make_unique<ScriptedModals>();
    modals->onNext([](QDialog& dialog) {
        auto& history = static_cast<frmRirekiSelect&>(dialog);
        history.findChild<QListWidget*>(QStringLiteral("lstrireki"))->setCurrentRow(0);
        history.CmdOK_Click();
        return dialog.result();
    });
    shell->ctx->setModals(std::move(modals));
    open();
    QTest::mouseClick(button("CmdRireki"), Qt::LeftButton);
    EXPECT_EQ(field("txtTelNo")->text(), QStringLiteral("0334567890"));
}

} // namespace
