#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "app/twips.h"
#include "results/frmkekka3.h"
#include "results/kekkamodel.h"
#include "shell/shellfixture.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

ResultRecord record(const QString& tel, const QString& name, const QString& town = {}) {
    return {0,
            tel,
            name,
            QStringLiteral("100-0001"),
            QStringLiteral("東京都"),
            QStringLiteral("千代田区"),
            town,
            QStringLiteral("１－１")};
}

class ResultsScreen : public ::testing::Test {
protected:
    ResultsScreen() {
        auto board = std::make_unique<MemoryClipboard>();
        clipboard = board.get();
        f.ctx->setClipboard(std::move(board));
        f.ctx->kekka().Kekka3_Init();
        f.ctx->kekka().OutFileInfo_Set(OutFileInfo{});
    }
    ~ResultsScreen() override { delete screen.data(); }

    frmKekka3* open() {
        screen = showResults(*f.ctx, &parent);
        return screen;
    }
    KekkaModel& model() { return *screen->model(); }
    QString cell(int row, int column) { return model().cell(row, column); }
    QString number(int row) {
        return model().data(model().index(row, 0), Qt::DisplayRole).toString();
    }
    QStringList column(int g) {
        QStringList out;
        for (int r = 0; r < model().rowCount(); ++r)
            out.append(cell(r, g));
        return out;
    }
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton) {
        screen->flgData_MouseDown(button, modifiers, row);
        screen->flgData_MouseUp(button, row);
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    MemoryClipboard* clipboard = nullptr;
    QWidget parent;
    QPointer<frmKekka3> screen;
};

TEST_F(ResultsScreen, FillsSkipsEmptyNumbersAndCountsEveryRecord) {
    f.ctx->results() = {record(QStringLiteral("03-1111-0001"), QStringLiteral("鈴木")),
                        record(QString(), QStringLiteral("番号なし")),
                        record(QStringLiteral("03-1111-0002"), QStringLiteral("佐藤"))};
    f.ctx->kekka().todofuken_Caption = QStringLiteral("東京都");
    f.ctx->kekka().title1_Caption = QStringLiteral("業種選択：");
    parent.show();
    open();
    EXPECT_FALSE(parent.isVisible()) << "the search screen hides while the results show";
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("検索結果： 3件"));
    ASSERT_EQ(model().rowCount(), 2);
    EXPECT_EQ(model().columnCount(), 6);
    EXPECT_EQ(number(0), QStringLiteral("0001"));
    EXPECT_EQ(model().header(1), QStringLiteral("▲ 電話番号"));
    EXPECT_EQ(column(2), (QStringList{QStringLiteral("鈴木"), QStringLiteral("佐藤")}));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("lblTodoufuken"))->text(),
              QStringLiteral("東京都"));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("lblTitle1"))->text(),
              QStringLiteral("業種選択："));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("lblStatus2"))->text(),
              QStringLiteral("設定されていません。"));
    screen->close();
    EXPECT_TRUE(parent.isVisible()) << "closing brings the search screen back";
}

TEST_F(ResultsScreen, ColumnWidthsComeFromByteLengthsAndTheMarkDoesNotWiden) {
    f.ctx->results() = {
        record(QStringLiteral("03-1111-0001"), QStringLiteral("あいうえおかきくけこさしすせそ")),
        record(QStringLiteral("03"), QString(2000, u'長'))};
    open();
    QHeaderView* header = screen->grid()->horizontalHeader();
    EXPECT_EQ(header->sectionSize(0), twipsToPixelsX(screen, 600));
    EXPECT_EQ(header->sectionSize(1), twipsToPixelsX(screen, 12 * 130)) << "03-1111-0001, 12 bytes";
    EXPECT_EQ(header->sectionSize(2), twipsToPixelsX(screen, 8000)) << "capped";
}

TEST_F(ResultsScreen, SortingByHeaderClicksRenumbersAndMovesTheMark) {
    f.ctx->results() = {record(QStringLiteral("03-3"), QStringLiteral("b社")),
                        record(QStringLiteral("03-1"), QStringLiteral("C社")),
                        record(QStringLiteral("03-2"), QStringLiteral("A社"))};
    open();
    EXPECT_EQ(column(1), (QStringList{QStringLiteral("03-1"), QStringLiteral("03-2"),
                                      QStringLiteral("03-3")}));
    screen->flgData_HeaderClick(2);
    EXPECT_EQ(column(2),
              (QStringList{QStringLiteral("A社"), QStringLiteral("b社"), QStringLiteral("C社")}))
        << "letter case does not count";
    EXPECT_EQ(model().header(2), QStringLiteral("▲ 名称"));
    EXPECT_EQ(model().header(1), QStringLiteral("電話番号"));
    EXPECT_EQ(number(0), QStringLiteral("0001"));
    screen->flgData_HeaderClick(2);
    EXPECT_EQ(column(2),
              (QStringList{QStringLiteral("C社"), QStringLiteral("b社"), QStringLiteral("A社")}));
    EXPECT_EQ(model().header(2), QStringLiteral("▼ 名称"));
    screen->flgData_HeaderClick(0);
    EXPECT_EQ(model().header(2), QStringLiteral("▼ 名称")) << "the numbering column does not sort";

    screen->close();
    EXPECT_EQ(f.ctx->kekka().Grid_SortCol(), 2);
    EXPECT_EQ(f.ctx->kekka().Grid_SortType(), 1);
    open();
    EXPECT_EQ(column(2),
              (QStringList{QStringLiteral("C社"), QStringLiteral("b社"), QStringLiteral("A社")}))
        << "the next screen opens sorted as the last was left";
}

TEST_F(ResultsScreen, JapaneseOrderAndStableEqualKeys) {
    f.ctx->results() = {record(QStringLiteral("03-1"), QStringLiteral("さとう")),
                        record(QStringLiteral("03-2"), QStringLiteral("あべ")),
                        record(QStringLiteral("03-3"), QStringLiteral("アベ")),
                        record(QStringLiteral("03-4"), QStringLiteral("かとう"))};
    open();
    screen->flgData_HeaderClick(2);
    const QStringList names = column(2);
    EXPECT_EQ(names.indexOf(QStringLiteral("かとう")), 2);
    EXPECT_EQ(names.last(), QStringLiteral("さとう"));
}

TEST_F(ResultsScreen, RememberedSortPastTheUsedColumnsSortsTheFirst) {
    f.ctx->kekka().setGrid_SortCol(7);
    f.ctx->kekka().setGrid_SortType(1);
    f.ctx->results() = {record(QStringLiteral("03-2"), QStringLiteral("x")),
                        record(QStringLiteral("03-1"), QStringLiteral("y"))};
    open();
    EXPECT_EQ(screen->currentSortCol(), 1);
    EXPECT_EQ(model().header(1), QStringLiteral("▲ 電話番号"));
    EXPECT_EQ(column(1), (QStringList{QStringLiteral("03-1"), QStringLiteral("03-2")}));
}

TEST_F(ResultsScreen, SelectionByClickControlShiftAndTheThirtyOneRowMessage) {
    for (int i = 0; i < 40; ++i)
        f.ctx->results().append(
            record(QStringLiteral("03-%1").arg(100 + i), QStringLiteral("n%1").arg(i)));
    open();
    click(3);
    click(5, Qt::ControlModifier);
    EXPECT_EQ(model().selectedCount(), 2);
    EXPECT_EQ(screen->grid()->toolTip(), QStringLiteral("2件選択"));
    click(3, Qt::ControlModifier);
    EXPECT_FALSE(model().isSelected(3));
    EXPECT_EQ(model().data(model().index(5, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(0, 0, 128));
    EXPECT_EQ(model().data(model().index(5, 1), Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::white));
    EXPECT_EQ(model().data(model().index(3, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(224, 224, 224));

    click(0);
    screen->flgData_MouseDown(Qt::LeftButton, Qt::ShiftModifier, 29);
    screen->flgData_MouseUp(Qt::LeftButton, 29);
    EXPECT_EQ(model().selectedCount(), 30);
    EXPECT_TRUE(messages.shown().isEmpty());

    // A drag over 31 rows: the message once, on mouse up, and the rows stay selected.
    screen->flgData_MouseDown(Qt::LeftButton, Qt::NoModifier, 2);
    for (int r = 3; r <= 32; ++r)
        screen->flgData_MouseMove(r);
    EXPECT_TRUE(messages.shown().isEmpty());
    screen->flgData_MouseUp(Qt::LeftButton, 32);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("３1件以上の出力は出来ません｡ ")});
    EXPECT_EQ(model().selectedCount(), 31);
    EXPECT_EQ(screen->grid()->toolTip(), QStringLiteral("31件選択"));

    screen->flgData_HeaderClick(2);
    EXPECT_EQ(model().selectedCount(), 0);
    EXPECT_EQ(screen->grid()->toolTip(), QStringLiteral("0件選択"));
}

TEST_F(ResultsScreen, KeyboardPicksExtendsAndTogglesRowsAndEscCloses) {
    for (int i = 0; i < 40; ++i)
        f.ctx->results().append(
            record(QStringLiteral("03-%1").arg(100 + i), QStringLiteral("n%1").arg(i)));
    parent.show();
    open();
    QTableView* grid = screen->grid();
    const auto selected = [this] {
        QList<int> rows;
        for (int r = 0; r < model().rowCount(); ++r)
            if (model().isSelected(r))
                rows.append(r);
        return rows;
    };
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(selected(), QList<int>{0}) << "the first arrow picks the first row";
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(selected(), QList<int>{2});
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(selected(), QList<int>{1});

    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (QList<int>{1, 2, 3}));
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (QList<int>{1, 2})) << "going back shrinks the range";
    EXPECT_EQ(grid->toolTip(), QStringLiteral("2件選択"));

    // Ctrl+Space drops the row the cursor is on and adds it again.
    QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(selected(), QList<int>{1});
    QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(selected(), (QList<int>{1, 2}));

    QTest::keyClick(grid, Qt::Key_End);
    EXPECT_EQ(selected(), QList<int>{39});
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(selected(), QList<int>{39}) << "the last row stays picked";
    QTest::keyClick(grid, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(model().selectedCount(), 40);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("３1件以上の出力は出来ません｡ ")});

    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(model().selectedCount(), 40);
    EXPECT_EQ(messages.texts().size(), 2);

    // Esc on the grid is the close button: the search screen comes back.
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_TRUE(screen.isNull() || !screen->isVisible());
    EXPECT_TRUE(parent.isVisible());
}

TEST_F(ResultsScreen, CopiesTakeTheTopmostSelectedRow) {
    f.ctx->results() = {
        record(QStringLiteral("03-1"), QStringLiteral("一"), QStringLiteral("丸の内")),
        record(QStringLiteral("03-2"), QStringLiteral("二"), QStringLiteral("大手町"))};
    open();
    clipboard->setText(QStringLiteral("前の内容"));
    screen->mnuCopyComma_Click();
    EXPECT_EQ(clipboard->text(), QString()) << "nothing selected empties the clipboard";
    click(1);
    click(0, Qt::ControlModifier);
    screen->mnuCopy_Click();
    EXPECT_EQ(clipboard->text(), QStringLiteral("東京都千代田区丸の内１－１"));
    screen->mnuCopyComma_Click();
    EXPECT_EQ(clipboard->text(), QStringLiteral("03-1,一,100-0001,東京都千代田区,丸の内１－１"));
    screen->mnuCopyTab_Click();
    EXPECT_EQ(
        clipboard->text(),
        QStringLiteral("\"03-1\"\t\"一\"\t\"100-0001\"\t\"東京都千代田区\"\t\"丸の内１－１\""));
}

TEST_F(ResultsScreen, RememberedSizeLargerThanTheDesktopIsNotUsed) {
    f.ctx->results() = {record(QStringLiteral("03-1"), QStringLiteral("一"))};
    f.ctx->kekka().setForm_Width(400000);
    f.ctx->kekka().setForm_Height(9000);
    // The window's own size leaves out its frame (120 x 450 twips).
    const auto outer = [this] {
        return QSize(pixelsToTwipsX(screen, screen->width()) + 120,
                     pixelsToTwipsY(screen, screen->height()) + 450);
    };
    open();
    EXPECT_NEAR(outer().width(), 12000, 20);
    EXPECT_NEAR(outer().height(), 8745, 20);

    // The test screen is 12000 x 9000 twips: a remembered height that fits is kept.
    screen->resize(screen->width(), twipsToPixelsY(screen, 8850 - 450));
    screen->close();
    EXPECT_NEAR(f.ctx->kekka().Form_Height(), 8850, 30);
    open();
    EXPECT_NEAR(outer().height(), 8850, 20);
}

TEST_F(ResultsScreen, GridCellsReachTheAccessibilityInterface) {
    f.ctx->results() = {record(QStringLiteral("03-1"), QStringLiteral("一"))};
    open();
    screen->show();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(screen->grid());
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->tableInterface(), nullptr);
    EXPECT_EQ(grid->tableInterface()->rowCount(), 1);
    QAccessibleInterface* name = grid->tableInterface()->cellAt(0, 2);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(QAccessible::Name), QStringLiteral("一"));
    EXPECT_EQ(grid->tableInterface()->columnDescription(2), QStringLiteral("名称"));
}

} // namespace
