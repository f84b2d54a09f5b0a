#include "postal/postalfixture.h"

#include "app/twips.h"
#include "app/wheel.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCollator>
#include <QCoreApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

using namespace pikotel;
using namespace pikotel::test;

namespace {

const QString kAppTitle = QStringLiteral("ぴ～こぴこ電話帳１８");

class ZipForward : public PostalScreen {
protected:
    void SetUp() override {
        PostalScreen::SetUp();
        open();
        code = w<QLineEdit>("txtZipCode");
        grid = w<QTableWidget>("flgAddressList");
    }
    void search(const QString& text) {
        code->setText(text);
        QTest::mouseClick(w<QToolButton>("CmdFindZip"), Qt::LeftButton);
    }
    QString cell(int row, int column) const {
        const QTableWidgetItem* item = grid->item(row, column);
        return item == nullptr ? QStringLiteral("<none>") : item->text();
    }
    QString count() { return w<QLabel>("lblRecordCount")->text(); }
    QString picked(int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, 1)).center());
        return w<QLineEdit>("txtSelectAddress")->text();
    }

    QLineEdit* code = nullptr;
    QTableWidget* grid = nullptr;
};

TEST_F(ZipForward, RefusedInputsTellWhyAndClearTheBox) {
    search(QString());
    EXPECT_TRUE(messages.shown().isEmpty());

    const QString halfWidth = QStringLiteral("半角の数字またはハイフン(-)を入力してください。");
    const QString digits = QStringLiteral("郵便番号を３桁、５桁または７桁で入力してください。");
    const struct {
        QString input, text, caption;
    } cases[] = {
        {QStringLiteral("１０００００１"), halfWidth, QStringLiteral("入力チェック")},
        {QStringLiteral("100 0001"), halfWidth, QStringLiteral("入力チェック")},
        {QStringLiteral("abc"), halfWidth, QStringLiteral("入力チェック")},
        {QStringLiteral("1000"), digits, kAppTitle},
        {QStringLiteral("100-0"), digits, kAppTitle},
        {QStringLiteral("10000011"), digits, kAppTitle},
    };
    for (const auto& c : cases) {
        messages.clear();
        search(c.input);
        ASSERT_EQ(messages.shown().size(), 1) << qPrintable(c.input);
        EXPECT_EQ(messages.shown()[0].text, c.text) << qPrintable(c.input);
        EXPECT_EQ(messages.shown()[0].caption, c.caption);
        EXPECT_EQ(messages.shown()[0].style, MsgOk);
        EXPECT_TRUE(code->text().isEmpty());
        EXPECT_EQ(grid->rowCount(), 0);
    }
}

TEST_F(ZipForward, SevenFiveAndThreeDigitsWithOrWithoutHyphen) {
    for (const QString& input : {QStringLiteral("1000001"), QStringLiteral("100-0001")}) {
        search(input);
        EXPECT_TRUE(messages.shown().isEmpty());
        ASSERT_EQ(grid->rowCount(), 1) << qPrintable(input);
        EXPECT_EQ(count(), QStringLiteral("1 件"));
        EXPECT_EQ(cell(0, 0), QStringLiteral("0001"));
        EXPECT_EQ(cell(0, 1), QStringLiteral("100-0001"));
        EXPECT_EQ(cell(0, 2), QStringLiteral("東京都千代田区千代田"));
        EXPECT_EQ(screen->focusWidget(), w<QToolButton>("cmdClear"));
    }
    // Five digits, with or without a hyphen, and three digits: every code beneath them.
    search(QStringLiteral("100-00"));
    const int five = grid->rowCount();
    search(QStringLiteral("10000"));
    EXPECT_EQ(grid->rowCount(), five);
    EXPECT_GT(five, 1);
    search(QStringLiteral("100"));
    const int three = grid->rowCount();
    EXPECT_GT(three, five);
    EXPECT_EQ(count(), QString::number(three) + QStringLiteral(" 件"));
    for (int r = 0; r < three; ++r) {
        ASSERT_TRUE(cell(r, 1).startsWith(QStringLiteral("100-"))) << r;
        ASSERT_EQ(cell(r, 0), QStringLiteral("%1").arg(r + 1, 4, 10, QChar(u'0')));
    }
    // Codes of a large business office are found too, with its name last.
    const QList<QTableWidgetItem*> office =
        grid->findItems(QStringLiteral("100-8941"), Qt::MatchExactly);
    ASSERT_EQ(office.size(), 1);
    EXPECT_TRUE(cell(office[0]->row(), 2).endsWith(QStringLiteral("会計検査院")));
}

TEST_F(ZipForward, NoHitEmptiesTheResultsAndSays) {
    search(QStringLiteral("1000001"));
    picked(0);
    search(QStringLiteral("999-9999"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("該当する候補がありません")});
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(count(), QStringLiteral("0 件"));
    EXPECT_TRUE(w<QLineEdit>("txtSelectAddress")->text().isEmpty());
    EXPECT_EQ(screen->focusWidget(), w<QToolButton>("cmdClear"));
}

TEST_F(ZipForward, PickedAddressLosesTheSpecialEndingsAndFollowsTheCodeOptions) {
    const struct {
        QString code, address;
    } cases[] = {
        {QStringLiteral("0600000"), QStringLiteral("060-0000 北海道札幌市中央区")},
        {QStringLiteral("1000005"), QStringLiteral("100-0005 東京都千代田区丸の内")},
        {QStringLiteral("0050861"), QStringLiteral("005-0861 北海道札幌市南区真駒内")},
        {QStringLiteral("1000001"), QStringLiteral("100-0001 東京都千代田区千代田")},
    };
    for (const auto& c : cases) {
        search(c.code);
        ASSERT_GE(grid->rowCount(), 1);
        EXPECT_EQ(picked(0), c.address) << qPrintable(c.code);
    }
    setEnv(EnvKey::ZipHifon, "1");
    setEnv(EnvKey::ZipMark, "1");
    EXPECT_EQ(picked(0), QStringLiteral("〒1000001 東京都千代田区千代田"));
    setEnv(EnvKey::ZipHifon, "0");
    EXPECT_EQ(picked(0), QStringLiteral("〒100-0001 東京都千代田区千代田"));
}

// A long result shows its beginning, where the code is, and a cut row tells its whole text.
TEST_F(ZipForward, LongResultsShowTheirCode) {
    const auto tipOver = [&](int row) {
        const QPoint at = grid->visualItemRect(grid->item(row, 2)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::text();
    };
    search(QStringLiteral("1000001"));
    EXPECT_TRUE(tipOver(0).isEmpty());
    search(QStringLiteral("605-8501"));
    ASSERT_GT(grid->fontMetrics().horizontalAdvance(cell(0, 2)), grid->columnWidth(2));
    EXPECT_EQ(tipOver(0), QStringLiteral("605-8501 ") + cell(0, 2));
    EXPECT_TRUE(tipOver(0).endsWith(QStringLiteral("京都幼稚園）")));

    search(QStringLiteral("001-8501"));
    const QString whole = QStringLiteral("北海道札幌市北区北二十九条西２丁目１番１号"
                                         "学校法人　創成学園　札幌創成高等学校");
    ASSERT_EQ(cell(0, 2), whole);
    auto* box = w<QLineEdit>("txtSelectAddress");
    EXPECT_EQ(picked(0), QStringLiteral("001-8501 ") + whole);
    ASSERT_GT(box->fontMetrics().horizontalAdvance(box->text()), box->width());
    EXPECT_EQ(box->cursorPosition(), 0);
}

// An old code finds the towns it covered: after today's codes, marked with the old code.
TEST_F(ZipForward, OldCodesFindTheirTownsMarked) {
    search(QStringLiteral("001"));
    const QList<QTableWidgetItem*> tonden =
        grid->findItems(QStringLiteral("002-0851"), Qt::MatchExactly);
    ASSERT_EQ(tonden.size(), 1);
    const int row = tonden[0]->row();
    EXPECT_EQ(row, grid->rowCount() - 12);
    EXPECT_TRUE(cell(row - 1, 1).startsWith(QStringLiteral("001-")));
    EXPECT_EQ(cell(row, 2), QStringLiteral("［旧〒001］北海道札幌市北区屯田一条"));
    EXPECT_EQ(picked(row), QStringLiteral("002-0851 北海道札幌市北区屯田一条"));

    // No code of today begins with 079-23: its old towns alone, and no "no hit" message.
    search(QStringLiteral("079-23"));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(count(), QStringLiteral("16 件"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("［旧〒079-23］北海道沙流郡日高町以下に掲載がない場合"));
    EXPECT_EQ(picked(0), QStringLiteral("055-0000 北海道沙流郡日高町"));
}

TEST_F(ZipForward, RowsAreStripedAndThePickedRowHighlighted) {
    search(QStringLiteral("060"));
    ASSERT_GT(grid->rowCount(), 3);
    const auto back = [&](int r, int c) { return grid->item(r, c)->background().color(); };
    const auto fore = [&](int r, int c) { return grid->item(r, c)->foreground().color(); };
    EXPECT_EQ(back(0, 1), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(back(1, 2), QColor(0xE0, 0xE0, 0xE0));
    const QColor number = back(1, 0);

    picked(1);
    EXPECT_EQ(back(1, 1), QColor(0, 0, 0x80));
    EXPECT_EQ(fore(1, 2), QColor(Qt::white));
    EXPECT_EQ(back(1, 0), number);
    picked(2);
    EXPECT_EQ(back(1, 1), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(fore(1, 1), QColor(Qt::black));
    EXPECT_EQ(back(2, 2), QColor(0, 0, 0x80));
}

TEST_F(ZipForward, ArrowKeysPickRowsAndEscClosesTheScreen) {
    search(QStringLiteral("060"));
    ASSERT_GT(grid->rowCount(), 3);
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    const QColor highlight(0, 0, 0x80);
    const auto back = [&](int r) { return grid->item(r, 1)->background().color(); };
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(back(0), highlight);
    const QString first = w<QLineEdit>("txtSelectAddress")->text();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(back(1), highlight);
    EXPECT_NE(back(0), highlight);
    EXPECT_NE(w<QLineEdit>("txtSelectAddress")->text(), first);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(back(grid->rowCount() - 1), highlight);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(back(grid->rowCount() - 2), highlight);
    EXPECT_NE(back(grid->rowCount() - 1), highlight);
    EXPECT_EQ(picked(0), first) << "the mouse and the keys pick alike";

    // A new search picks nothing before a key or click.
    code->setFocus();
    search(QStringLiteral("001"));
    ASSERT_GT(grid->rowCount(), 1);
    for (int r = 0; r < grid->rowCount(); ++r)
        EXPECT_NE(back(r), highlight) << r;

    // Esc in the code box, which takes only code keys, is the close button: the main menu
    // comes back.
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Escape);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(f.ctx->shell().lastFormNo, 4);
}

TEST_F(ZipForward, EnterOnTheFocusedSearchButtonSearches) {
    code->setText(QStringLiteral("1000001"));
    QToolButton* find = w<QToolButton>("CmdFindZip");
    find->setFocus();
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(count(), QStringLiteral("1 件"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(ZipForward, OnlyCodeKeysReachTheBoxAndEnterGoesToTheSearchButton) {
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("1a0b0-x0 0"));
    EXPECT_EQ(code->text(), QStringLiteral("100-00"));
    QTest::keyClick(code, Qt::Key_Backspace);
    EXPECT_EQ(code->text(), QStringLiteral("100-0"));
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_EQ(code->text(), QStringLiteral("100-0"));
    EXPECT_EQ(screen->focusWidget(), w<QToolButton>("CmdFindZip"));
    EXPECT_TRUE(messages.shown().isEmpty());

    // Digits typed through the input method arrive full-width and are taken half-width.
    code->clear();
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("１００－ｘ０００１"));
    QCoreApplication::sendEvent(code, &typed);
    EXPECT_EQ(code->text(), QStringLiteral("100-0001"));

    // Pasted text goes in as it is; the search button refuses it.
    code->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("１００"));
    QTest::keyClick(code, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(code->text(), QStringLiteral("１００"));
    QTest::mouseClick(w<QToolButton>("CmdFindZip"), Qt::LeftButton);
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("半角の数字またはハイフン(-)を入力してください。")});
}

TEST_F(ZipForward, ClearEmptiesEverything) {
    search(QStringLiteral("1000001"));
    picked(0);
    QTest::mouseClick(w<QToolButton>("cmdClear"), Qt::LeftButton);
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_TRUE(w<QLineEdit>("txtSelectAddress")->text().isEmpty());
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(count(), QStringLiteral("0件"));
    EXPECT_EQ(screen->focusWidget(), code);
}

TEST_F(ZipForward, SearchStoresTheCodeOnlyWhenRestoringIsOn) {
    search(QStringLiteral("100-0001"));
    EXPECT_EQ(stored().code, QStringLiteral("100-0001"));
    EXPECT_TRUE(stored().prefecture.isEmpty());
    setEnv(EnvKey::BeforeExec, "1");
    search(QStringLiteral("0600000"));
    EXPECT_EQ(stored().code, QStringLiteral("100-0001"));
}

TEST_F(PostalScreen, StartModeFollowsTheStoredPrefectureAndConditionsComeBack) {
    stored().code = QStringLiteral("060-0000");
    open();
    EXPECT_TRUE(w<QRadioButton>("OptSelect1")->isChecked());
    EXPECT_EQ(w<QLineEdit>("txtZipCode")->text(), QStringLiteral("060-0000"));
    EXPECT_FALSE(w<QWidget>("picResult0")->isVisible());
    delete screen.data();

    stored().city = QStringLiteral("札幌市中央区");
    stored().chomeiSort = QStringLiteral("1");
    open(QStringLiteral("北海道"));
    EXPECT_TRUE(w<QRadioButton>("OptSelect0")->isChecked());
    EXPECT_TRUE(w<QCheckBox>("chkChomeiSort")->isChecked());
    EXPECT_EQ(w<QListWidget>("lstTodoufuken")->currentItem()->text(), QStringLiteral("北海道"));
    EXPECT_EQ(w<QListWidget>("lstSikuchouson")->currentItem()->text(),
              QStringLiteral("札幌市中央区"));
    EXPECT_GT(items("lstChomei").size(), 10);
    delete screen.data();

    // Without restoring, only the mode follows the store.
    setEnv(EnvKey::BeforeExec, "1");
    open(QStringLiteral("北海道"));
    EXPECT_TRUE(w<QRadioButton>("OptSelect0")->isChecked());
    EXPECT_EQ(w<QListWidget>("lstTodoufuken")->currentItem(), nullptr);
    EXPECT_TRUE(items("lstSikuchouson").isEmpty());
    EXPECT_EQ(items("lstTodoufuken").size(), 47);
}

TEST_F(PostalScreen, SwitchingModesRearrangesTheScreen) {
    stored().code = QStringLiteral("100");
    open();
    auto* code = w<QLineEdit>("txtZipCode");
    code->setText(QStringLiteral("1000001"));
    QTest::mouseClick(w<QToolButton>("CmdFindZip"), Qt::LeftButton);

    w<QRadioButton>("OptSelect0")->click();
    EXPECT_FALSE(w<QWidget>("picResult1")->isVisible());
    EXPECT_TRUE(w<QWidget>("picResult0")->isVisible());
    EXPECT_FALSE(w<QWidget>("CmdFindZip")->isVisible());
    EXPECT_TRUE(code->isReadOnly());
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_EQ(code->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(twipsLeft(w<QWidget>("cmdClear")), 2250);
    EXPECT_EQ(
        w<QLabel>("lblExplanation")->text(),
        QStringLiteral(
            "都道府県→市区町村→町域名（→区域名）を選択すると､該当する郵便番号が表示されます｡ "));
    // Every key is swallowed in this mode.
    QTest::keyClicks(code, QStringLiteral("123"));
    EXPECT_TRUE(code->text().isEmpty());

    w<QRadioButton>("OptSelect1")->click();
    EXPECT_TRUE(w<QWidget>("picResult1")->isVisible());
    EXPECT_FALSE(code->isReadOnly());
    EXPECT_EQ(code->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(code->text(), QStringLiteral("1000001"));
    EXPECT_EQ(w<QTableWidget>("flgAddressList")->rowCount(), 0);
    EXPECT_EQ(w<QLabel>("lblRecordCount")->text(), QStringLiteral("0件"));
    EXPECT_TRUE(items("lstTodoufuken").isEmpty());
    EXPECT_EQ(twipsLeft(w<QWidget>("cmdClear")), 3780);
    EXPECT_EQ(twipsLeft(w<QWidget>("CmdFindZip")), 2250);
    EXPECT_EQ(screen->focusWidget(), code);
}

TEST_F(PostalScreen, ReverseResultsWithTheSpecialTownsAndBlocks) {
    open(QStringLiteral("東京都"));
    auto* code = w<QLineEdit>("txtZipCode");
    auto* result = w<QLineEdit>("txtAdress");
    pickTown(QStringLiteral("東京都"), QStringLiteral("千代田区"), QStringLiteral("千代田 "));
    EXPECT_EQ(code->text(), QStringLiteral("100-0001"));
    EXPECT_EQ(result->text(), QStringLiteral("100-0001  東京都千代田区千代田 "));
    EXPECT_EQ(stored().city, QStringLiteral("千代田区"));

    pick("lstChomei", QStringLiteral("以下に掲載がない場合 "));
    EXPECT_EQ(result->text(), QStringLiteral("100-0000  東京都千代田区"));

    // A divided town lists its blocks; a block of the rest of the town drops its name.
    pick("lstChomei", QStringLiteral("丸の内 "));
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_TRUE(result->text().isEmpty());
    ASSERT_FALSE(items("lstKu").isEmpty());
    EXPECT_TRUE(w<QListWidget>("lstKu")->isEnabled());
    pick("lstKu", QStringLiteral("次のビルを除く"));
    EXPECT_EQ(code->text(), QStringLiteral("100-0005"));
    EXPECT_EQ(result->text(), QStringLiteral("100-0005  東京都千代田区丸の内 "));

    pickTown(QStringLiteral("北海道"), QStringLiteral("札幌市南区"), QStringLiteral("真駒内 "));
    pick("lstKu", QStringLiteral("その他"));
    EXPECT_EQ(result->text(), QStringLiteral("005-0861  北海道札幌市南区真駒内 "));

    pickTown(QStringLiteral("北海道"), QStringLiteral("札幌市中央区"), QStringLiteral("大通西 "));
    pick("lstKu", QStringLiteral("１～１９丁目"));
    EXPECT_EQ(result->text(), QStringLiteral("060-0042  北海道札幌市中央区大通西 １～１９丁目"));

    setEnv(EnvKey::ZipHifon, "1");
    setEnv(EnvKey::ZipMark, "1");
    pickTown(QStringLiteral("東京都"), QStringLiteral("神津島村"), QStringLiteral("神津島村一円 "));
    EXPECT_EQ(code->text(), QStringLiteral("100-0601"));
    EXPECT_EQ(result->text(), QStringLiteral("〒1000601  東京都神津島村"));
}

// The result is that of the town or block chosen, and nothing while a choice is pending.
TEST_F(PostalScreen, ReverseResultFollowsTheChoice) {
    open(QStringLiteral("京都府"));
    auto* code = w<QLineEdit>("txtZipCode");
    auto* result = w<QLineEdit>("txtAdress");
    pickTown(QStringLiteral("京都府"), QStringLiteral("京都市中京区"), QStringLiteral("大恩寺町 "));
    EXPECT_EQ(code->text(), QStringLiteral("604-0026"));
    pick("lstChomei", QStringLiteral("大黒町 "));
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_TRUE(result->text().isEmpty());

    // A long block shows the beginning of the result.
    const QString block = QStringLiteral("麩屋町通六角上る、麩屋町通六角下る、六角通麩屋町西入、"
                                         "富小路通六角上る、富小路通六角下る、六角通富小路西入、"
                                         "六角通富小路東入、六角通柳馬場東入");
    pick("lstKu", block);
    EXPECT_EQ(code->text(), QStringLiteral("604-8073"));
    EXPECT_EQ(result->text(), QStringLiteral("604-8073  京都府京都市中京区大黒町 ") + block);
    ASSERT_GT(result->fontMetrics().horizontalAdvance(result->text()), result->width());
    EXPECT_EQ(result->cursorPosition(), 0);

    // Another city or prefecture takes the result away with the town.
    pick("lstSikuchouson", QStringLiteral("京都市北区"));
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_TRUE(result->text().isEmpty());
    pickTown(QStringLiteral("京都府"), QStringLiteral("京都市中京区"), QStringLiteral("大恩寺町 "));
    pick("lstTodoufuken", QStringLiteral("北海道"));
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_TRUE(result->text().isEmpty());
}

TEST_F(PostalScreen, NotationOrderPutsTheCatchAllFirstAndKeepsThePicks) {
    open(QStringLiteral("北海道"));
    pick("lstTodoufuken", QStringLiteral("北海道"));
    pick("lstSikuchouson", QStringLiteral("札幌市中央区"));
    const QStringList byReading = items("lstChomei");
    pick("lstChomei", QStringLiteral("大通西 "));
    pick("lstKu", QStringLiteral("２０～２８丁目"));
    const QString result = w<QLineEdit>("txtAdress")->text();

    w<QCheckBox>("chkChomeiSort")->click();
    const QStringList sorted = items("lstChomei");
    EXPECT_EQ(stored().chomeiSort, QStringLiteral("1"));
    ASSERT_EQ(sorted.size(), byReading.size());
    EXPECT_NE(sorted, byReading);
    EXPECT_EQ(sorted.front(), QStringLiteral("以下に掲載がない場合 "));
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    for (qsizetype i = 2; i < sorted.size(); ++i)
        ASSERT_LE(collator.compare(sorted[i - 1], sorted[i]), 0) << qPrintable(sorted[i]);
    EXPECT_TRUE(w<QListWidget>("lstTemp")->isHidden());
    // The town and block picked before are picked again.
    EXPECT_EQ(w<QListWidget>("lstChomei")->currentItem()->text(), QStringLiteral("大通西 "));
    EXPECT_EQ(w<QListWidget>("lstKu")->currentItem()->text(), QStringLiteral("２０～２８丁目"));
    EXPECT_EQ(w<QLineEdit>("txtAdress")->text(), result);

    w<QCheckBox>("chkChomeiSort")->click();
    EXPECT_EQ(items("lstChomei"), byReading);
    EXPECT_EQ(stored().chomeiSort, QStringLiteral("0"));
}

TEST_F(PostalScreen, ManyBlocksWidenTheShiftBarWhichMovesTheList) {
    open(QStringLiteral("東京都"));
    pickTown(QStringLiteral("東京都"), QStringLiteral("新宿区"),
             QStringLiteral("西新宿新宿三井ビル "));
    auto* bar = w<QScrollBar>("HScroll1");
    auto* blocks = w<QListWidget>("lstKu");
    ASSERT_GT(blocks->count(), 10);
    EXPECT_EQ(twipsWidth(bar), 2700);
    for (const auto& [value, left, width] :
         {std::tuple{2, -3000, 5955}, std::tuple{1, -800, 3755}, std::tuple{0, 0, 2955}}) {
        bar->setValue(value);
        // Within a pixel: twips are kept in whole pixels.
        EXPECT_NEAR(twipsLeft(blocks), left, 15);
        EXPECT_NEAR(twipsWidth(blocks), width, 15);
    }

    // Shifted for one town's long blocks, the list starts unshifted for the next town.
    pickTown(QStringLiteral("京都府"), QStringLiteral("京都市中京区"), QStringLiteral("大黒町 "));
    bar->setValue(2);
    pickTown(QStringLiteral("東京都"), QStringLiteral("新宿区"),
             QStringLiteral("西新宿新宿三井ビル "));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_NEAR(twipsLeft(blocks), 0, 15);
    EXPECT_NEAR(twipsWidth(blocks), 2955, 15);
}

TEST_F(PostalScreen, ClosingHandsThePositionAndModeToTheMainMenu) {
    open();
    EXPECT_EQ(hookedWheelGrid(), w<QTableWidget>("flgAddressList"));
    screen->move(40, 30);
    const int left = twipsLeft(screen);
    const int top = twipsTop(screen);
    screen->close();
    EXPECT_EQ(f.ctx->shell().lastFormNo, 4);
    EXPECT_EQ(f.ctx->shell().startUpPosX, float(left));
    EXPECT_EQ(f.ctx->shell().startUpPosY, float(top));
    EXPECT_EQ(hookedWheelGrid(), nullptr);
    EXPECT_TRUE(menu->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(screen.isNull());

    open(QStringLiteral("北海道"));
    screen->move(-200, -100);
    screen->close();
    EXPECT_EQ(f.ctx->shell().lastFormNo, 5);
    EXPECT_EQ(f.ctx->shell().startUpPosX, 0.0f);
    EXPECT_EQ(f.ctx->shell().startUpPosY, 0.0f);
}

TEST_F(PostalScreen, OpensCentredOverTheMainMenu) {
    menu->resize(300, 200);
    menu->move(100, 80);
    open();
    const QPoint menuCentre = menu->frameGeometry().center();
    const QPoint centre = screen->frameGeometry().center();
    // Unless the work area pushes it back from the right or bottom edge.
    if (screen->frameGeometry().left() > 0 && screen->frameGeometry().top() > 0) {
        EXPECT_NEAR(centre.x(), menuCentre.x(), 2);
        EXPECT_NEAR(centre.y(), menuCentre.y(), 2);
    }
    EXPECT_GE(screen->frameGeometry().left(), 0);
}

TEST_F(PostalScreen, DamagedOrMissingDictionaryLeavesOnlyTheExitButton) {
    for (const bool damaged : {true, false}) {
        QFile::remove(zipFolder() + QStringLiteral("/pp00"));
        if (damaged) {
            QFile file(zipFolder() + QStringLiteral("/pp00"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        messages.clear();
        open(damaged ? QStringLiteral("北海道") : QString());
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("郵便番号辞書のオープンで異常がありました。")});
        EXPECT_EQ(messages.shown()[0].style, MsgOk | MsgCritical);
        EXPECT_EQ(messages.shown()[0].caption, kAppTitle);
        for (const char* name : {"CmdFindZip", "cmdClear", "CmdSetting", "CmdHELP"})
            EXPECT_FALSE(w<QToolButton>(name)->isEnabled()) << name;
        EXPECT_FALSE(w<QRadioButton>("OptSelect0")->isEnabled());
        EXPECT_FALSE(w<QRadioButton>("OptSelect1")->isEnabled());
        EXPECT_TRUE(w<QToolButton>("CmdExit")->isEnabled());
        QTest::mouseClick(w<QToolButton>("CmdExit"), Qt::LeftButton);
        EXPECT_TRUE(menu->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(PostalScreen, SettingsButtonOpensTheSettingsAndRestoresWhenTheyClose) {
    open();
    EXPECT_FALSE(w<QToolButton>("CmdSetting")->isEnabled());
    delete screen.data();

    screens.settingsScreen = true;
    open();
    ASSERT_TRUE(w<QToolButton>("CmdSetting")->isEnabled());
    QTest::mouseClick(w<QToolButton>("CmdSetting"), Qt::LeftButton);
    EXPECT_EQ(screens.settingsCallers, QStringList{QStringLiteral("郵便")});
    ASSERT_TRUE(screens.settings->isVisible());
    EXPECT_TRUE(screens.settings->isModal());
    stored().code = QStringLiteral("0600000");
    screens.settings->close();
    EXPECT_EQ(w<QLineEdit>("txtZipCode")->text(), QStringLiteral("0600000"));
}

TEST_F(PostalScreen, HelpButtonOpensTheHelpThroughTheMainMenu) {
    open();
    QTest::mouseClick(w<QToolButton>("CmdHELP"), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("ヘルプが見つかりません。")});
    QDir().mkpath(f.programFolder() + QStringLiteral("/help"));
    QFile help(f.programFolder() + QStringLiteral("/help/zipfind.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    QTest::mouseClick(w<QToolButton>("CmdHELP"), Qt::LeftButton);
    EXPECT_EQ(f.launcher->opened, QStringList{help.fileName()}) << "the screen's own page";
}

} // namespace
