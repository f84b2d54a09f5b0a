#pragma once

// Seams for what the program asks of the desktop: starting other programs, the clock and
// the wait that lets window events run, modal screens, file dialogs, the clipboard and the
// spreadsheet. Each has a real implementation and a scripted one in the tests; the ones
// that need a display are implemented beside the screens.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace pikotel {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Opens a file or URL with the desktop's associated program; false when nothing took it.
    virtual bool openWithDesktop(const QString& fileOrUrl) = 0;
    // Starts a program without waiting for it.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDir) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a clock that never jumps back (not at midnight, not on a time change).
    virtual qint64 monotonicMs() const = 0;
    virtual QDateTime now() const = 0;
    // Lets pending window events run once (the program's DoEvents).
    virtual void processEvents() = 0;
    // Lets window events run for about ms milliseconds (timed waits such as the mascot's).
    virtual void waitProcessingEvents(int ms) = 0;
};

// Runs a modal screen to its end and gives its result code.
class ModalScreens {
public:
    virtual ~ModalScreens() = default;
    virtual int exec(QDialog& dialog) = 0;
};

// The system's file dialogs. Filters are Qt filter strings ("テキスト (*.txt);;…"); an empty
// answer means the user cancelled.
struct FileDialogRequest {
    QWidget* parent = nullptr;
    QString caption;
    QString folder;
    QString proposedName;
    QString filter;
    // The filter shown first; set to the one the user chose.
    QString selectedFilter;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString openFileName(FileDialogRequest& request) = 0;
    virtual QString saveFileName(FileDialogRequest& request) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

// The spreadsheet that receives exported rows as a workbook and shows it. Texts are written
// into text-formatted cells, so numbers with leading zeros stay as typed.
class SpreadsheetGateway {
public:
    enum class WorkbookFormat { Xls, Xlsx };
    enum class Failure { None, NotRunning, Other };

    virtual ~SpreadsheetGateway() = default;
    // True when a spreadsheet program is installed.
    virtual bool installed() const = 0;
    // Stores a new empty workbook under the path, without showing it.
    virtual bool createWorkbook(const QString& path, WorkbookFormat format) = 0;
    // True when the workbook is open in the running spreadsheet and reachable.
    virtual bool isWorkbookOpen(const QString& path) = 0;
    // Opens (or attaches to) the workbook, visible to the user.
    virtual bool openWorkbook(const QString& path) = 0;
    // The first row, counting from 1 up to lastRow, whose first cell is empty; 0 when every
    // row is filled, and 0 too when the call failed (lastFailure() says which).
    virtual int firstFreeRow(int lastRow) = 0;
    // Writes the rows from the given row on, into the first sheet of the open workbook.
    virtual bool writeRows(int firstRow, const QList<QStringList>& rows) = 0;
    // Forgets the open workbook (the user keeps it open).
    virtual void release() = 0;
    // Why the last call failed, with the spreadsheet's own error number and text.
    virtual Failure lastFailure() const = 0;
    virtual int lastErrorNumber() const = 0;
    virtual QString lastErrorText() const = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock();
    qint64 monotonicMs() const override;
    QDateTime now() const override;
    void processEvents() override;
    void waitProcessingEvents(int ms) override;

private:
    qint64 origin_;
};

} // namespace pikotel
