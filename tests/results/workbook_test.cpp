// The workbook export against a spreadsheet kept in memory: choosing and creating the
// workbook, the first free row, continuing below earlier exports, the office closed by the
// user, failures, and letting go of a workbook the user closed.

#include "app/scriptedmessages.h"
#include "app/scriptedservices.h"
#include "results/resultexport.h"
#include "results/viewers.h"
#include "results/workbookoutput.h"
#include "shell/shellfixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pikotel;
using namespace pikotel::test;

namespace {

using Format = SpreadsheetGateway::WorkbookFormat;
using Failure = SpreadsheetGateway::Failure;

const QString kNotRunning = QStringLiteral("Excelが起動していません。");

QList<QStringList> rowsNamed(std::initializer_list<const char*> names) {
    QList<QStringList> rows;
    for (const char* name : names)
        rows.append({QStringLiteral("0312345678"), QString::fromUtf8(name)});
    return rows;
}

class Workbook : public ::testing::Test {
protected:
    Workbook() {
        auto d = std::make_unique<ScriptedFileDialogs>();
        dialogs = d.get();
        f.ctx->setFileDialogs(std::move(d));
        auto s = std::make_unique<ScriptedSpreadsheet>();
        sheet = s.get();
        f.ctx->setSpreadsheet(std::move(s));
        f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("Excel2007"));
    }
    QString book(const QString& name = QStringLiteral("out.xlsx")) { return f.dir.file(name); }
    void touch(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void setOutFile(const QString& path) { f.ctx->env().setText(EnvKey::OutFile, path); }
    void exportRows(std::initializer_list<const char*> names) {
        OutputSelectedRows(*f.ctx, rowsNamed(names), nullptr);
    }
    QStringList namesInColumnB(int last) {
        QStringList names;
        for (const QStringList& row : sheet->rows(book(), last))
            names.append(row.value(1));
        return names;
    }

    ShellFixture f;
    ScriptedMessagePresenter messages;
    ScriptedFileDialogs* dialogs = nullptr;
    ScriptedSpreadsheet* sheet = nullptr;
};

TEST_F(Workbook, NewXlsNameBecomesXlsxWithANoticeAndAnExistingXlsIsKept) {
    f.ctx->env().lastSaveDir.clear();
    setOutFile(QString());
    dialogs->setNextFileName(book(QStringLiteral("new.xls")));
    EXPECT_EQ(ChooseWorkbook(*f.ctx, nullptr), book(QStringLiteral("new.xlsx")));
    EXPECT_EQ(messages.texts(),
              QStringList(QStringLiteral("指定したファイルはxlsx形式で新規作成されます。")));
    EXPECT_EQ(sheet->created.value(book(QStringLiteral("new.xlsx"))), Format::Xlsx);
    const FileDialogRequest& asked = dialogs->requests().constFirst();
    EXPECT_EQ(asked.filter, QStringLiteral("Excel2007ブック(*.xlsx);;Excel97-2003ブック(*.xls)"));

    messages.clear();
    touch(book(QStringLiteral("old.xls")));
    dialogs->setNextFileName(book(QStringLiteral("old.xls")));
    EXPECT_EQ(ChooseWorkbook(*f.ctx, nullptr), book(QStringLiteral("old.xls")));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_FALSE(sheet->created.contains(book(QStringLiteral("old.xls"))));

    // The older mode offers and makes .xls only; a name without an extension gets the mode's.
    f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("Excel"));
    dialogs->setNextFileName(book(QStringLiteral("plain")));
    EXPECT_EQ(ChooseWorkbook(*f.ctx, nullptr), book(QStringLiteral("plain.xls")));
    EXPECT_EQ(sheet->created.value(book(QStringLiteral("plain.xls"))), Format::Xls);
    EXPECT_EQ(dialogs->requests().last().filter, QStringLiteral("Excel97-2003ブック(*.xls)"));

    dialogs->setNextFileName(QString());
    EXPECT_TRUE(ChooseWorkbook(*f.ctx, nullptr).isEmpty()) << "cancelled";
}

TEST_F(Workbook, ChosenWorkbookBecomesTheOutputFileAndACancelWritesNothing) {
    exportRows({"佐藤"});
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(sheet->opens, 0);

    dialogs->setNextFileName(book());
    exportRows({"佐藤"});
    EXPECT_EQ(f.ctx->env().text(EnvKey::OutFile), book());
    EXPECT_EQ(sheet->cell(book(), 1, 2), QStringLiteral("佐藤"));
    EXPECT_EQ(messages.texts(), QStringList(book() + QStringLiteral("に出力しました。")));
}

TEST_F(Workbook, ContinuesBelowFilledRowsAndBelowItsOwnRowsWithoutSearchingAgain) {
    touch(book());
    for (int row = 1; row <= 10; ++row)
        sheet->setCell(book(), row, 1, QString::number(row));
    setOutFile(book());
    exportRows({"一", "二"});
    exportRows({"三"});
    EXPECT_EQ(sheet->opens, 1);
    EXPECT_EQ(sheet->rowSearches, 1);
    EXPECT_EQ(namesInColumnB(14).mid(10), (QStringList{QStringLiteral("一"), QStringLiteral("二"),
                                                       QStringLiteral("三"), QString()}));
    EXPECT_EQ(sheet->cell(book(), 11, 1), QStringLiteral("0312345678"));
}

TEST_F(Workbook, OfficeClosedIsSaidOnceAndTheNextExportStartsOver) {
    setOutFile(book());
    exportRows({"一"});
    sheet->closeOffice();
    // Meanwhile the user typed into the workbook's next row.
    sheet->setCell(book(), 2, 1, QStringLiteral("手入力"));
    messages.clear();
    exportRows({"二"});
    EXPECT_EQ(messages.texts(), QStringList(kNotRunning));
    EXPECT_FALSE(f.ctx->workbook().attached);

    messages.clear();
    exportRows({"二"});
    EXPECT_EQ(messages.texts(), QStringList(book() + QStringLiteral("に出力しました。")));
    EXPECT_EQ(sheet->opens, 2);
    EXPECT_EQ(sheet->rowSearches, 2);
    EXPECT_EQ(sheet->cell(book(), 2, 1), QStringLiteral("手入力"));
    EXPECT_EQ(sheet->cell(book(), 3, 2), QStringLiteral("二"));
}

TEST_F(Workbook, FailuresShowTheNumberAndDropTheWorkbook) {
    setOutFile(book());
    exportRows({"一"});
    messages.clear();
    sheet->failNext(Failure::Other, 1004, QStringLiteral("書けません"));
    exportRows({"二"});
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("エラー番号： 1004\r書けません"),
                                             QStringLiteral("保存に失敗しました。")}));
    EXPECT_FALSE(f.ctx->workbook().attached);

    messages.clear();
    sheet->failNext(Failure::Other, 1004, QStringLiteral("開けません"));
    exportRows({"二"});
    EXPECT_EQ(messages.texts(),
              QStringList(QStringLiteral(
                  "エラー番号： 1004\r該当するファイルが開いていたら終了させてください。")));

    messages.clear();
    sheet->failNext(Failure::NotRunning, 462, QString());
    exportRows({"二"});
    EXPECT_EQ(messages.texts(), QStringList(kNotRunning));

    messages.clear();
    exportRows({"二"});
    EXPECT_EQ(sheet->cell(book(), 2, 2), QStringLiteral("二"));
}

TEST_F(Workbook, PhoneRecordGoesToTheNextRowWithItsOwnMessages) {
    setOutFile(book());
    DirRecord shown{QStringLiteral("03-1"),
                    QStringLiteral("山田"),
                    QStringLiteral("160-0022"),
                    QStringLiteral("東京都"),
                    QStringLiteral("新宿区"),
                    QStringLiteral("新宿"),
                    QString()};
    EXPECT_TRUE(PhoneSave(*f.ctx, shown, nullptr));
    EXPECT_TRUE(PhoneSave(*f.ctx, shown, nullptr));
    EXPECT_EQ(sheet->rows(book(), 2),
              QList<QStringList>(2, {QStringLiteral("03-1"), QStringLiteral("山田"),
                                     QStringLiteral("160-0022"), QStringLiteral("東京都新宿区"),
                                     QStringLiteral("新宿")}));
    EXPECT_EQ(messages.texts().constFirst(),
              QStringLiteral("ファイル名：") + book() + QStringLiteral("\r\nに出力しました。"));

    messages.clear();
    sheet->closeWorkbook(book());
    sheet->failNext(Failure::Other, 9, QStringLiteral("x"));
    EXPECT_FALSE(PhoneSave(*f.ctx, shown, nullptr));
    EXPECT_EQ(messages.texts().last(),
              QStringLiteral("エラー番号： 9\r該当するファイルが開いていたら終了させてください。"));
}

TEST_F(Workbook, AWorkbookTheUserClosedIsLetGoAndOneStillOpenIsKept) {
    setOutFile(book());
    exportRows({"一"});
    ReleaseClosedWorkbook(*f.ctx);
    EXPECT_TRUE(f.ctx->workbook().attached);
    EXPECT_EQ(f.ctx->workbook().nextRow, 2);

    sheet->closeWorkbook(book());
    sheet->setCell(book(), 2, 1, QStringLiteral("手入力"));
    ReleaseClosedWorkbook(*f.ctx);
    EXPECT_FALSE(f.ctx->workbook().attached);
    messages.clear();
    exportRows({"二"});
    EXPECT_TRUE(messages.texts().constFirst().endsWith(QStringLiteral("に出力しました。")));
    EXPECT_EQ(sheet->cell(book(), 3, 2), QStringLiteral("二"));
}

TEST_F(Workbook, RowLimitsAndAFullSheet) {
    EXPECT_EQ(workbookRowLimit(book(QStringLiteral("a.xlsx")), ViewerExcel2007), 1048575);
    EXPECT_EQ(workbookRowLimit(book(QStringLiteral("a.xls")), ViewerExcel2007), 65535);
    EXPECT_EQ(workbookRowLimit(book(QStringLiteral("a.xlsx")), ViewerExcel), 65535);

    f.ctx->env().setText(EnvKey::HideExe, QStringLiteral("Excel"));
    setOutFile(book(QStringLiteral("full.xls")));
    touch(book(QStringLiteral("full.xls")));
    for (int row = 1; row <= 65535; ++row)
        sheet->setCell(book(QStringLiteral("full.xls")), row, 1, QStringLiteral("x"));
    exportRows({"一"});
    EXPECT_EQ(messages.texts(),
              QStringList(QStringLiteral("ワークシートに空いている行がありません。")));
    EXPECT_FALSE(f.ctx->workbook().attached);
}

TEST_F(Workbook, ViewingChoosesAWorkbookFirstAndShowsItOnce) {
    dialogs->setNextFileName(book());
    ViewOutputFile(*f.ctx, nullptr);
    EXPECT_EQ(f.ctx->env().text(EnvKey::OutFile), book());
    EXPECT_EQ(sheet->opens, 1);
    EXPECT_TRUE(f.ctx->workbook().attached);
    ViewOutputFile(*f.ctx, nullptr);
    EXPECT_EQ(sheet->opens, 1) << "already open and shown";
    EXPECT_EQ(dialogs->requests().size(), 1);
}

} // namespace
