#include "results/workbookoutput.h"

#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"
#include "results/textexport.h"

#include <QFileInfo>

namespace pikotel {

namespace {

using Failure = SpreadsheetGateway::Failure;

const QString kNotRunning = QStringLiteral("Excelが起動していません。");
const QString kSheetFull = QStringLiteral("ワークシートに空いている行がありません。");

constexpr int kXlsRows = 65535;
constexpr int kXlsxRows = 1048575;

bool isXlsx(const QString& fullName) {
    return GetExtension(FileNameOnly(fullName))
               .compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
}

bool hasExtension(const QString& fullName) {
    return FileNameOnly(fullName).contains(u'.');
}

// The spreadsheet's failure as the user is told it; otherText replaces its own description.
void reportFailure(const SpreadsheetGateway& gateway, const QString& otherText = QString()) {
    if (gateway.lastFailure() == Failure::NotRunning) {
        MyMsgBoxShow(kNotRunning, MsgOk);
        return;
    }
    ShowUnexpectedError(gateway.lastErrorNumber(),
                        otherText.isEmpty() ? gateway.lastErrorText() : otherText);
}

// Opens the workbook (creating it first when missing) and finds its first free row.
bool attach(AppContext& ctx, const QString& fullName, int mode) {
    SpreadsheetGateway& gateway = ctx.spreadsheet();
    const QString openFailed = QStringLiteral("該当するファイルが開いていたら終了させてください。");
    if (!QFileInfo::exists(fullName) && !CreateWorkbook(ctx, fullName))
        return false;
    if (!gateway.openWorkbook(fullName)) {
        reportFailure(gateway, openFailed);
        return false;
    }
    const int lastRow = workbookRowLimit(fullName, mode);
    const int row = gateway.firstFreeRow(lastRow);
    if (row <= 0) {
        if (gateway.lastFailure() != Failure::None)
            reportFailure(gateway, openFailed);
        else
            MyMsgBoxShow(kSheetFull, MsgOk);
        gateway.release();
        return false;
    }
    WorkbookSession& session = ctx.workbook();
    session.attached = true;
    session.nextRow = row;
    session.lastRow = lastRow;
    return true;
}

} // namespace

int workbookRowLimit(const QString& fullName, int mode) {
    return mode == ViewerExcel2007 && isXlsx(fullName) ? kXlsxRows : kXlsRows;
}

QString ChooseWorkbook(AppContext& ctx, QWidget* parent) {
    const int mode = ctx.env().viewerKind;
    FileDialogRequest request;
    request.parent = parent;
    request.folder = outputStartFolder(ctx, true);
    if (mode == ViewerExcel2007) {
        request.filter = kXlsxFilter + QStringLiteral(";;") + kXlsFilter;
        request.selectedFilter = kXlsxFilter;
    } else {
        request.filter = kXlsFilter;
        request.selectedFilter = kXlsFilter;
    }
    // The save dialog, as the name may be that of a workbook still to be made.
    QString chosen = ctx.fileDialogs().saveFileName(request);
    if (chosen.isEmpty())
        return QString();
    if (QFileInfo::exists(chosen))
        return chosen;
    if (!hasExtension(chosen)) {
        chosen += mode == ViewerExcel2007 ? QStringLiteral(".xlsx") : QStringLiteral(".xls");
    } else if (mode == ViewerExcel2007 &&
               GetExtension(FileNameOnly(chosen))
                       .compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0) {
        chosen = ChangeExtension(chosen, QStringLiteral("xlsx"));
        MyMsgBoxShow(QStringLiteral("指定したファイルはxlsx形式で新規作成されます。"), MsgOk);
    }
    if (QFileInfo::exists(chosen))
        return chosen;
    return CreateWorkbook(ctx, chosen) ? chosen : QString();
}

bool CreateWorkbook(AppContext& ctx, const QString& fullName) {
    SpreadsheetGateway& gateway = ctx.spreadsheet();
    const auto format = isXlsx(fullName) ? SpreadsheetGateway::WorkbookFormat::Xlsx
                                         : SpreadsheetGateway::WorkbookFormat::Xls;
    if (gateway.createWorkbook(fullName, format))
        return true;
    reportFailure(gateway);
    return false;
}

bool IsWorkbookOpen(AppContext& ctx, const QString& fullName) {
    if (fullName.trimmed().isEmpty() || !ctx.workbook().attached)
        return false;
    return ctx.spreadsheet().isWorkbookOpen(fullName);
}

bool OpenOutputWorkbook(AppContext& ctx, const QString& fullName, int mode) {
    const bool asked = ctx.workbook().attached && !fullName.trimmed().isEmpty();
    if (IsWorkbookOpen(ctx, fullName))
        return true;
    // The spreadsheet the run was attached to went away under it: said once, and the next
    // export starts over.
    const bool lost = asked && ctx.spreadsheet().lastFailure() == Failure::NotRunning;
    ReleaseWorkbook(ctx);
    if (lost) {
        MyMsgBoxShow(kNotRunning, MsgOk);
        return false;
    }
    if (fullName.trimmed().isEmpty())
        return false;
    return attach(ctx, fullName, mode);
}

bool WriteExcelRows(AppContext& ctx, const QList<QStringList>& rows) {
    WorkbookSession& session = ctx.workbook();
    if (session.nextRow + rows.size() - 1 > session.lastRow) {
        MyMsgBoxShow(kSheetFull, MsgOk);
        return false;
    }
    SpreadsheetGateway& gateway = ctx.spreadsheet();
    if (!gateway.writeRows(session.nextRow, rows)) {
        reportFailure(gateway);
        return false;
    }
    session.nextRow += static_cast<int>(rows.size());
    return true;
}

void ShowOutputWorkbook(AppContext& ctx, const QString& fullName, int mode) {
    if (IsWorkbookOpen(ctx, fullName))
        return;
    ReleaseWorkbook(ctx);
    if (fullName.trimmed().isEmpty())
        return;
    attach(ctx, fullName, mode);
}

void ReleaseWorkbook(AppContext& ctx) {
    WorkbookSession& session = ctx.workbook();
    if (session.attached)
        ctx.spreadsheet().release();
    session = WorkbookSession{};
}

void ReleaseClosedWorkbook(AppContext& ctx) {
    if (ctx.workbook().attached && !IsWorkbookOpen(ctx, ctx.env().text(EnvKey::OutFile)))
        ReleaseWorkbook(ctx);
}

} // namespace pikotel
