#pragma once

// Opening the output for the user to look at: the text file in the desktop's text editor
// ("NotePad") or in the word processor ("WORDPAD"), the workbook in the spreadsheet. Viewers
// start from argument vectors with the file as one absolute path, so no name is ever read
// as an option or by a shell.

#include <QString>
#include <QStringList>

class QWidget;

namespace pikotel {

class AppContext;

struct ViewerCommand {
    QString program;
    QStringList arguments;
};

// The word processor's command for the file: LibreOffice opens it in Writer as cp932 text
// with CR LF lines; other programs (AbiWord) get the file alone.
ViewerCommand wordProcessorCommand(const QString& program, const QString& file);
// Text editors tried when the desktop opens nothing, first found on PATH wins.
const QStringList& plainTextEditors();

// Starts the viewer of the mode with the file without waiting; false when none started.
bool startTextViewer(AppContext& ctx, int mode, const QString& file);
// The output file (or one chosen in the open dialog) in the text viewer.
void ViewTextFile(AppContext& ctx, QWidget* parent);
// The view buttons: the text viewers for a text file, the spreadsheet for a workbook (chosen
// first when none is set).
void ViewOutputFile(AppContext& ctx, QWidget* parent);

} // namespace pikotel
