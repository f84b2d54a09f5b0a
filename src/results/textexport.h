#pragma once

// The output text file: one line per exported record, every value in double quotes (a quote
// inside a value is kept as it is), separated by commas or tabs, ending CR LF, in cp932.
// Lines are only ever appended: a write that fails leaves the file as it was.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace pikotel {

class AppContext;

// The separator option: 1 tab, anything else comma.
QByteArray OutputLine(const QStringList& values, int csvType);
QByteArray OutputLines(const QList<QStringList>& rows, int csvType);

enum class AppendStatus { Written, BadName, NotReady, NoFolder, Failed };
struct AppendOutcome {
    AppendStatus status = AppendStatus::Failed;
    int error = 0; // errno of the failing call
};
// Appends the bytes to the file (created when missing) in one write. A short or failed write
// cuts the file back to its earlier size; a file removed or replaced meanwhile is a failure.
AppendOutcome appendToFile(const QString& path, const QByteArray& bytes);

// Who exports decides how success is said.
enum class OutputCaller { Results, Phone };

// Appends the lines, asking to create a missing folder (one level), and says how it went.
// True when the lines were written.
bool WriteTextFile(const QString& fileName, const QByteArray& lines, OutputCaller caller);

// The folder a file dialog starts in: the last output folder, else (withOutFileFolder) the
// output file's folder, else the documents folder, else the program folder.
QString outputStartFolder(AppContext& ctx, bool withOutFileFolder);

inline const QString kCsvFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.csv)");
inline const QString kTxtFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)");

// The output file when one is set (no dialog), else the one chosen in the save dialog;
// empty when the user cancelled. Remembers the folder and name for the next dialogs.
QString GetTextFileName(AppContext& ctx, QWidget* parent);

} // namespace pikotel
