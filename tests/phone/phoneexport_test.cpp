// The phone screen's save and view buttons: what is saved is what the screen shows, the
// buttons' enabling and focus, and the output workbook let go when the screen opens.

#include "app/scriptedservices.h"
#include "common/cp932.h"
#include "phone/phonefixture.h"
#include "results/workbookoutput.h"
#include "search/phone/frmtelfind.h"
#include "search/phone/telfindscreen.h"

#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>

using namespace pikotel;
using namespace pikotel::test;

namespace {

class PhoneExport : public PhoneFixture {
protected:
    void SetUp() override {
        PhoneFixture::SetUp();
        auto d = std::make_unique<ScriptedFileDialogs>();
        dialogs = d.get();
        shell->ctx->setFileDialogs(std::move(d));
    }
    void TearDown() override {
        delete screen.data();
        PhoneFixture::TearDown();
    }
    void open() {
        screen = qobject_cast<frmTelFind*>(createTelFindScreen(*shell->ctx, *mainMenu));
        screen->show();
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen));
    }
    QLineEdit* field(const char* name) const {
        return screen->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QToolButton* button(const char* name) const {
        return screen->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    void search(const QString& typed) {
        field("txtTelNo")->setText(typed);
        QTest::mouseClick(button("CmdFind"), Qt::LeftButton);
    }

    ScriptedFileDialogs* dialogs = nullptr;
    QPointer<frmTelFind> screen;
};

TEST_F(PhoneExport, SavesTheRecordAsShownAndCorrected) {
    const QString outFile = shell->dir.file(QStringLiteral("out.csv"));
    shell->setUser(QStringLiteral("OUTFILE"), outFile);
    open();
    EXPECT_FALSE(button("cmdSave")->isEnabled());
    search(QStringLiteral("03-3456-7890"));
    ASSERT_TRUE(button("cmdSave")->isEnabled());
    EXPECT_EQ(screen->focusWidget(), button("cmdSave")) << "an output file is set";

    field("txtName")->setText(QStringLiteral("山田　太郎（訂正）"));
    QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
    QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
    QFile file(outFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray line =
        toCp932(QStringLiteral("\"03-3456-7890\",\"山田　太郎（訂正）\",\"160-0022\","
                               "\"東京都新宿区\",\"新宿３丁目１２－５\"\r\n"));
    EXPECT_EQ(file.readAll(), line + line);
    EXPECT_EQ(messages->texts().last(),
              QStringLiteral("ファイル名：") + outFile + QStringLiteral("\r\nに出力しました。"));
    EXPECT_EQ(screen->focusWidget(), button("cmdClear"));

    field("txtName")->clear();
    EXPECT_FALSE(button("cmdSave")->isEnabled());

    QTest::mouseClick(button("cmdMemo"), Qt::LeftButton);
    EXPECT_EQ(shell->launcher->opened, QStringList(outFile));
    EXPECT_TRUE(dialogs->requests().isEmpty());
}

TEST_F(PhoneExport, OpeningLetsGoOfAWorkbookTheUserClosed) {
    auto s = std::make_unique<ScriptedSpreadsheet>();
    ScriptedSpreadsheet* sheet = s.get();
    shell->ctx->setSpreadsheet(std::move(s));
    const QString book = shell->dir.file(QStringLiteral("out.xls"));
    shell->setUser(QStringLiteral("OUTFILE"), book);
    shell->ctx->env().setText(EnvKey::OutFile, book);
    shell->ctx->env().setText(EnvKey::HideExe, QStringLiteral("Excel"));
    ASSERT_TRUE(OpenOutputWorkbook(*shell->ctx, book, ViewerExcel));

    open();
    EXPECT_TRUE(shell->ctx->workbook().attached) << "still open";
    delete screen.data();

    sheet->closeWorkbook(book);
    open();
    EXPECT_FALSE(shell->ctx->workbook().attached);

    // The next save opens the workbook again and writes below what it holds.
    sheet->setCell(book, 1, 1, QStringLiteral("見出し"));
    search(QStringLiteral("03-3456-7890"));
    QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
    EXPECT_EQ(sheet->opens, 2);
    EXPECT_EQ(sheet->cell(book, 2, 2), QStringLiteral("山田　太郎"));
}

} // namespace
