#pragma once

// The output workbook in the spreadsheet: choosing or creating it, attaching to it and
// finding the first free row, writing exported rows below the previous ones, and showing it.
// The spreadsheet is reached through the context's SpreadsheetGateway; which workbook the
// run is attached to and the next row live in the context's WorkbookSession.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace pikotel {

class AppContext;

inline const QString kXlsxFilter = QStringLiteral("Excel2007ブック(*.xlsx)");
inline const QString kXlsFilter = QStringLiteral("Excel97-2003ブック(*.xls)");

// The last row searched for a free one: the newer format's sheets are longer.
int workbookRowLimit(const QString& fullName, int mode);

// The workbook chosen in the open dialog, created when it does not exist yet (as .xlsx in
// mode 3 when an .xls name was given); empty when cancelled or not created.
QString ChooseWorkbook(AppContext& ctx, QWidget* parent);
// Stores a new empty workbook under the name; says why when it cannot.
bool CreateWorkbook(AppContext& ctx, const QString& fullName);
// True when the run is attached to that workbook and the spreadsheet still has it open.
bool IsWorkbookOpen(AppContext& ctx, const QString& fullName);
// Attaches to the workbook (opening, and first creating, it when needed) and finds the first
// free row; an attached open workbook keeps its next row. False after a message.
bool OpenOutputWorkbook(AppContext& ctx, const QString& fullName, int mode);
// Writes the rows from the next row on as text cells; false after a message.
bool WriteExcelRows(AppContext& ctx, const QList<QStringList>& rows);
// Shows the workbook, opening it when the run is not attached to it.
void ShowOutputWorkbook(AppContext& ctx, const QString& fullName, int mode);
// Forgets the workbook (the user keeps it open in the spreadsheet).
void ReleaseWorkbook(AppContext& ctx);
// A search screen opening: a workbook the user closed meanwhile is let go, so the next
// export opens it again and looks for its free row afresh.
void ReleaseClosedWorkbook(AppContext& ctx);

} // namespace pikotel
