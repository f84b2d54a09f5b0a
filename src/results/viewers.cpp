#include "results/viewers.h"

#include "app/sysinfo.h"
#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"
#include "results/textexport.h"
#include "results/workbookoutput.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace pikotel {

namespace {

// An absolute path never begins with "-", so no program takes it for an option.
QString absolute(const QString& file) {
    return QFileInfo(file).absoluteFilePath();
}

bool isAbiWord(const QString& program) {
    return program.section(u'/', -1).startsWith(QLatin1String("abiword"), Qt::CaseInsensitive);
}

QString wordProcessor(AppContext& ctx) {
    const QString stored = ctx.env().text(EnvKey::HideExePath);
    if (!stored.isEmpty())
        return stored;
    return FindAppRegistration(RegWordProcessor) == 0 ? AppExePath() : QString();
}

bool startNotePad(AppContext& ctx, const QString& file) {
    ProcessLauncher& launcher = ctx.launcher();
    if (launcher.openWithDesktop(file))
        return true;
    for (const QString& editor : plainTextEditors()) {
        const QString found = QStandardPaths::findExecutable(editor);
        if (!found.isEmpty())
            return launcher.startDetached(found, {file}, ParentFolder(file));
    }
    return false;
}

} // namespace

ViewerCommand wordProcessorCommand(const QString& program, const QString& file) {
    const QString path = absolute(file);
    if (isAbiWord(program))
        return {program, {path}};
    return {program,
            {QStringLiteral("--writer"), QStringLiteral("--infilter=Text (encoded):MS_932,CRLF,,"),
             path}};
}

const QStringList& plainTextEditors() {
    static const QStringList editors{QStringLiteral("gnome-text-editor"),
                                     QStringLiteral("gedit"),
                                     QStringLiteral("kate"),
                                     QStringLiteral("kwrite"),
                                     QStringLiteral("mousepad"),
                                     QStringLiteral("pluma"),
                                     QStringLiteral("xed"),
                                     QStringLiteral("featherpad"),
                                     QStringLiteral("leafpad"),
                                     QStringLiteral("geany")};
    return editors;
}

bool startTextViewer(AppContext& ctx, int mode, const QString& file) {
    const QString path = absolute(file);
    if (mode != ViewerWordPad)
        return startNotePad(ctx, path);
    const QString program = wordProcessor(ctx);
    if (program.isEmpty())
        return false;
    const ViewerCommand command = wordProcessorCommand(program, path);
    return ctx.launcher().startDetached(command.program, command.arguments, ParentFolder(path));
}

void ViewTextFile(AppContext& ctx, QWidget* parent) {
    Environment& env = ctx.env();
    QString file = env.text(EnvKey::OutFile);
    if (file.isEmpty()) {
        FileDialogRequest request;
        request.parent = parent;
        request.folder = outputStartFolder(ctx, false);
        request.proposedName = env.lastSaveFile;
        request.filter = kCsvFilter + QStringLiteral(";;") + kTxtFilter;
        request.selectedFilter = kCsvFilter;
        file = ctx.fileDialogs().openFileName(request);
    }
    if (file.isEmpty())
        return;
    if (!startTextViewer(ctx, env.viewerKind, file))
        MyMsgBoxShow(QStringLiteral("表示アプリケーションが起動できません。\r\n") +
                         QStringLiteral("ＷＩＮＤＯＷＳの設定を確認してください。"),
                     MsgOk);
}

void ViewOutputFile(AppContext& ctx, QWidget* parent) {
    Environment& env = ctx.env();
    const int mode = env.viewerKind;
    if (mode != ViewerExcel && mode != ViewerExcel2007) {
        ViewTextFile(ctx, parent);
        return;
    }
    if (env.text(EnvKey::OutFile).isEmpty())
        env.setText(EnvKey::OutFile, ChooseWorkbook(ctx, parent));
    ShowOutputWorkbook(ctx, env.text(EnvKey::OutFile), mode);
}

} // namespace pikotel
