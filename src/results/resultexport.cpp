#include "results/resultexport.h"

#include "core/context.h"
#include "platform/messages.h"
#include "results/textexport.h"
#include "results/workbookoutput.h"

namespace pikotel {

namespace {

const QString kSaveFailed = QStringLiteral("保存に失敗しました。");

bool spreadsheetMode(int mode) {
    return mode == ViewerExcel || mode == ViewerExcel2007;
}

// The output workbook, chosen first when none is set; attached and ready for writing.
bool workbookReady(AppContext& ctx, QWidget* parent) {
    Environment& env = ctx.env();
    if (env.text(EnvKey::OutFile).isEmpty())
        env.setText(EnvKey::OutFile, ChooseWorkbook(ctx, parent));
    return OpenOutputWorkbook(ctx, env.text(EnvKey::OutFile), env.viewerKind);
}

// Writes into the workbook; a failure lets it go, so the next export attaches afresh.
bool writeWorkbook(AppContext& ctx, const QList<QStringList>& rows) {
    if (WriteExcelRows(ctx, rows))
        return true;
    MyMsgBoxShow(kSaveFailed, MsgOk);
    ReleaseWorkbook(ctx);
    return false;
}

// The text of one layout item in a phone record.
QString itemText(const QString& item, const DirRecord& r) {
    const QStringList& items = outputItems();
    const QString* const texts[] = {&r.telNo, &r.name, &r.zip, &r.pref, &r.city, &r.town, &r.block};
    const qsizetype index = items.indexOf(item);
    return index < 0 ? QString() : *texts[index];
}

} // namespace

void OutputSelectedRows(AppContext& ctx, const QList<QStringList>& rows, QWidget* parent) {
    if (rows.isEmpty()) {
        MyMsgBoxShow(QStringLiteral("出力情報が選択されていません。"), MsgOk);
        return;
    }
    if (rows.size() > kMaxExportRows) {
        MyMsgBoxShow(QStringLiteral("３1件以上の出力は出来ません｡ "), MsgOk);
        return;
    }
    if (!spreadsheetMode(ctx.env().viewerKind)) {
        const QString name = GetTextFileName(ctx, parent);
        if (!name.trimmed().isEmpty())
            WriteTextFile(name, OutputLines(rows, ctx.kekka().CSV_Type()), OutputCaller::Results);
        return;
    }
    if (!workbookReady(ctx, parent))
        return;
    if (writeWorkbook(ctx, rows))
        MyMsgBoxShow(ctx.env().text(EnvKey::OutFile) + QStringLiteral("に出力しました。"), MsgOk);
}

QStringList OutItemSet(const OutFileInfo& layout, const DirRecord& shown) {
    QStringList columns;
    qsizetype used = 0;
    for (const auto& column : layout) {
        QString text;
        for (const QString& item : column)
            text += itemText(item, shown);
        columns.append(text);
        if (!text.isEmpty())
            used = columns.size();
    }
    if (used == 0)
        return {shown.telNo, shown.name, shown.zip, shown.pref + shown.city,
                shown.town + shown.block};
    return columns.mid(0, used);
}

bool TelFindSave(AppContext& ctx, const QStringList& values, QWidget* parent) {
    const QString name = GetTextFileName(ctx, parent);
    if (name.isEmpty())
        return false;
    return WriteTextFile(name, OutputLine(values, ctx.kekka().CSV_Type()), OutputCaller::Phone);
}

bool PhoneSave(AppContext& ctx, const DirRecord& shown, QWidget* parent) {
    if (shown.name.isEmpty()) {
        MyMsgBoxShow(QStringLiteral("検索結果が表示されていません。"), MsgOk);
        return false;
    }
    OutFileInfo layout;
    ctx.kekka().OutFileInfo_Get(layout);
    const QStringList values = OutItemSet(layout, shown);
    if (!spreadsheetMode(ctx.env().viewerKind))
        return TelFindSave(ctx, values, parent);
    if (!workbookReady(ctx, parent) || !writeWorkbook(ctx, {values}))
        return false;
    MyMsgBoxShow(QStringLiteral("ファイル名：") + ctx.env().text(EnvKey::OutFile) +
                     QStringLiteral("\r\nに出力しました。"),
                 MsgOk);
    return true;
}

} // namespace pikotel
