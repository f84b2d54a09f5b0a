#include "app/envsave.h"

#include "app/context.h"
#include "app/startupvalues.h"
#include "app/sysinfo.h"
#include "common/texthelpers.h"

namespace pikotel {

namespace {

const QString kInitialMain = QStringLiteral("初期メイン");

QString choice(bool first) {
    return first ? QStringLiteral("0") : QStringLiteral("1");
}

void setValue(AppContext& ctx, RegHandle& handle, const char* name, const QString& text,
              int* failed = nullptr) {
    const int r = ctx.store().RegValueSet(handle, QString::fromLatin1(name), text);
    if (failed != nullptr)
        *failed = r;
    ctx.env().setValue(QString::fromLatin1(name), text);
}

} // namespace

QStringList offeredViewers(QString* spreadsheetPath, QString* wordProcessorPath) {
    QStringList viewers{QStringLiteral("NotePad")};
    // Calc reads and writes both workbook forms; the newer one is offered, as for a
    // spreadsheet program of version 12 or later.
    if (FindAppRegistration(RegSpreadsheet) == 0) {
        viewers.append(QStringLiteral("Excel2007"));
        if (spreadsheetPath != nullptr)
            *spreadsheetPath = AppExePath();
    }
    if (FindAppRegistration(RegWordProcessor) == 0) {
        viewers.append(QStringLiteral("WORDPAD"));
        if (wordProcessorPath != nullptr)
            *wordProcessorPath = AppExePath();
    }
    return viewers;
}

EnvFormValues envFormValuesFromMemory(AppContext& ctx) {
    Environment& env = ctx.env();
    EnvFormValues v;
    const QStringList viewers = offeredViewers(&v.spreadsheetPath, &v.wordProcessorPath);
    v.dicOnHdd = env.value(QStringLiteral("DICDRIVE")) == QLatin1String("0");
    v.cdDriveRoot = env.value(QStringLiteral("CDDRIVE"));
    if (v.cdDriveRoot.isEmpty()) {
        env.initialCdRoot = ctx.hooks().getCdromDrive();
        v.cdDriveRoot = env.initialCdRoot;
    }
    v.xchdbAdd = env.value(QStringLiteral("XCHDBADD"));
    v.outFile = env.value(QStringLiteral("OUTFILE"));

    static const char* const kViewerNames[] = {"NotePad", "WORDPAD", "Excel", "Excel2007"};
    const int kind = env.viewerKind >= 0 && env.viewerKind <= 3 ? env.viewerKind : 0;
    v.selViewer = kind;
    const QString wanted = QString::fromLatin1(kViewerNames[kind]);
    v.hideExe = viewers.contains(wanted) ? wanted : QString();
    env.setValue(QStringLiteral("HIDEEXEPATH"), kind == ViewerWordPad ? v.wordProcessorPath
                                                : kind >= ViewerExcel ? v.spreadsheetPath
                                                                      : QString());

    v.defaultTelUse = env.value(QStringLiteral("DEFAULTTELUSE")) == QLatin1String("0");
    v.defaultTel = env.value(QStringLiteral("DEFAULTTEL"));
    v.beforeExecFirst = env.isFirstChoice(QStringLiteral("BEFOREEXEC"));
    v.seimeiFirst = env.isFirstChoice(QStringLiteral("SEIMEI"));
    v.animeFirst = env.isFirstChoice(QStringLiteral("ANIME"));
    v.outFormFirst = env.isFirstChoice(QStringLiteral("OUTFORM"));
    v.telHifonFirst = env.isFirstChoice(QStringLiteral("TELHIFON"));
    v.zipHifonFirst = env.isFirstChoice(QStringLiteral("ZIPHIFON"));
    v.zipMarkFirst = env.isFirstChoice(QStringLiteral("ZIPMARK"));
    v.startUpForm = env.startUpFormNo;
    return v;
}

int PikoTelRegcreate(AppContext& ctx, RegHandle& handle) {
    return ctx.store().RegKeyCreate(kVersionKey, 1, handle);
}

int PikoTelRegSet(AppContext& ctx, RegHandle& handle, const EnvFormValues& v,
                  const QString& caller) {
    Environment& env = ctx.env();
    setValue(ctx, handle, "DICDRIVE", choice(v.dicOnHdd));
    int cdFailed = 0;
    setValue(ctx, handle, "CDDRIVE", caller == kInitialMain ? env.initialCdRoot : v.cdDriveRoot,
             &cdFailed);
    setValue(ctx, handle, "XCHDBADD", v.xchdbAdd);
    setValue(ctx, handle, "OUTFILE", v.outFile);
    setValue(ctx, handle, "HIDEEXE", v.hideExe);
    env.applyHideExe(v.hideExe);
    const int viewer = viewerKindOf(v.hideExe) >= 0 ? viewerKindOf(v.hideExe) : v.selViewer;
    setValue(ctx, handle, "HIDEEXEPATH",
             viewer == ViewerWordPad ? v.wordProcessorPath
             : viewer >= ViewerExcel ? v.spreadsheetPath
                                     : QString());
    setValue(ctx, handle, "DEFAULTTELUSE", choice(v.defaultTelUse));
    setValue(ctx, handle, "DEFAULTTEL", DelHifon(v.defaultTel));
    setValue(ctx, handle, "BEFOREEXEC", choice(v.beforeExecFirst));
    setValue(ctx, handle, "SEIMEI", choice(v.seimeiFirst));
    setValue(ctx, handle, "ANIME", choice(v.animeFirst));
    setValue(ctx, handle, "OUTFORM", choice(v.outFormFirst));
    setValue(ctx, handle, "TELHIFON", choice(v.telHifonFirst));
    setValue(ctx, handle, "ZIPHIFON", choice(v.zipHifonFirst));
    setValue(ctx, handle, "ZIPMARK", choice(v.zipMarkFirst));
    setValue(ctx, handle, "IMPORT", QStringLiteral("0"));
    setValue(ctx, handle, "IMPORT_ATE", QStringLiteral("0"));
    setValue(ctx, handle, "IMPORT_MRU", QStringLiteral("0"));
    setValue(ctx, handle, "STARTUPFORM", QString::number(v.startUpForm));
    env.startUpFormNo = v.startUpForm;
    return cdFailed != 0 ? 1 : 0;
}

void SilentFirstSave(AppContext& ctx) {
    const EnvFormValues values = envFormValuesFromMemory(ctx);
    ctx.hooks().dicClose();

    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 1, key) != 0)
        PikoTelRegcreate(ctx, key);
    PikoTelRegSet(ctx, key, values, kInitialMain);
    ctx.env().lastSaveDir = ParentFolder(values.outFile);
    store.RegKeyClose(key);

    ctx.hooks().dicReopen();
    HandSettingsToResultList(ctx);
}

} // namespace pikotel
