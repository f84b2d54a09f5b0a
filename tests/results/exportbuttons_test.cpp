// The results screen's export and view buttons: rows go out in the grid's order, whatever
// the order they were selected in, and the focus comes back to the grid.

#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "common/cp932.h"
#include "results/frmkekka3.h"
#include "results/kekkamodel.h"
#include "shell/shellfixture.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

ResultRecord record(const char* tel, const char* name) {
    return {0,
            QString::fromUtf8(tel),
            QString::fromUtf8(name),
            QStringLiteral("100-0001"),
            QStringLiteral("東京都"),
            QStringLiteral("千代田区"),
            QStringLiteral("丸の内"),
            QString()};
}

class ExportButtons : public ::testing::Test {
protected:
    ExportButtons() {
        auto d = std::make_unique<ScriptedFileDialogs>();
        dialogs = d.get();
        f.ctx->setFileDialogs(std::move(d));
        f.ctx->setClipboard(std::make_unique<MemoryClipboard>());
        f.ctx->kekka().Kekka3_Init();
        f.ctx->kekka().OutFileInfo_Set(OutFileInfo{});
        f.ctx->results() = {record("03-3", "丙"), record("03-1", "甲"), record("03-2", "乙")};
    }
    ~ExportButtons() override { delete screen.data(); }
    QToolButton* button(const char* name) const {
        return screen->findChild<QToolButton*>(QString::fromUtf8(name));
    }
    void ctrlClick(int row) {
        screen->flgData_MouseDown(Qt::LeftButton, Qt::ControlModifier, row);
        screen->flgData_MouseUp(Qt::LeftButton, row);
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScriptedFileDialogs* dialogs = nullptr;
    QWidget parent;
    QPointer<frmKekka3> screen;
};

TEST_F(ExportButtons, RowsGoOutInGridOrderAndTheFocusReturnsToTheGrid) {
    const QString outFile = f.dir.file(QStringLiteral("out.csv"));
    f.ctx->env().setText(EnvKey::OutFile, outFile);
    screen = showResults(*f.ctx, &parent);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
    ASSERT_TRUE(button("cmd出力")->isEnabled());
    ASSERT_TRUE(button("cmdMemo")->isEnabled());

    // Sorted by number: 03-1 甲, 03-2 乙, 03-3 丙; selected last row first.
    ctrlClick(2);
    ctrlClick(0);
    button("cmdMemo")->setFocus();
    QTest::mouseClick(button("cmd出力"), Qt::LeftButton);
    QFile file(outFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        file.readAll(),
        toCp932(QStringLiteral("\"03-1\",\"甲\",\"100-0001\",\"東京都千代田区\",\"丸の内\"\r\n"
                               "\"03-3\",\"丙\",\"100-0001\",\"東京都千代田区\",\"丸の内\"\r\n")));
    EXPECT_EQ(messages.texts(), QStringList(outFile + QStringLiteral("に出力しました。")));
    EXPECT_EQ(screen->focusWidget(), screen->grid());

    QTest::mouseClick(button("cmdMemo"), Qt::LeftButton);
    EXPECT_EQ(f.launcher->opened, QStringList(outFile));
}

TEST_F(ExportButtons, AWorkbookChosenForTheExportShowsAsTheOutputFile) {
    auto s = std::make_unique<ScriptedSpreadsheet>();
    ScriptedSpreadsheet* sheet = s.get();
    f.ctx->setSpreadsheet(std::move(s));
    f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("Excel2007"));
    screen = showResults(*f.ctx, &parent);
    const QString book = f.dir.file(QStringLiteral("out.xlsx"));
    dialogs->setNextFileName(book);
    ctrlClick(1);
    QTest::mouseClick(button("cmd出力"), Qt::LeftButton);
    EXPECT_EQ(sheet->cell(book, 1, 1), QStringLiteral("03-2"));
    EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("lblStatus2"))->text(), book);
}

} // namespace
