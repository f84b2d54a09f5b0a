#include "settings/envsave.h"

#include "app/startupvalues.h"
#include "app/sysinfo.h"
#include "common/texthelpers.h"
#include "core/context.h"

namespace pikotel {

namespace {

const QString kInitialMain = QStringLiteral("初期メイン");

QString choice(bool first) {
    return first ? QStringLiteral("0") : QStringLiteral("1");
}

int setValue(AppContext& ctx, RegHandle& handle, EnvKey key, const QString& text) {
    const int r = ctx.store().RegValueSet(handle, envName(key), text);
    ctx.env().setText(key, text);
    return r;
}

// The switches of the screen, in the order the save writes them.
struct SwitchControl {
    EnvKey key;
    bool EnvFormValues::*first;
};
constexpr SwitchControl kSwitches[] = {
    {EnvKey::BeforeExec, &EnvFormValues::beforeExecFirst},
    {EnvKey::Seimei, &EnvFormValues::seimeiFirst},
    {EnvKey::Anime, &EnvFormValues::animeFirst},
    {EnvKey::OutForm, &EnvFormValues::outFormFirst},
    {EnvKey::TelHifon, &EnvFormValues::telHifonFirst},
    {EnvKey::ZipHifon, &EnvFormValues::zipHifonFirst},
    {EnvKey::ZipMark, &EnvFormValues::zipMarkFirst},
};

QString viewerPath(const EnvFormValues& v, int viewer) {
    if (viewer == ViewerWordPad)
        return v.wordProcessorPath;
    return viewer >= ViewerExcel ? v.spreadsheetPath : QString();
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
    v.dicOnHdd = env.firstChoice(EnvKey::DicDrive);
    v.cdDriveRoot = env.text(EnvKey::CdDrive);
    if (v.cdDriveRoot.isEmpty()) {
        env.initialCdRoot = ctx.directory().GetCdromDrive();
        v.cdDriveRoot = env.initialCdRoot;
    }
    v.xchdbAdd = env.text(EnvKey::XchdbAdd);
    v.outFile = env.text(EnvKey::OutFile);

    const int kind = env.viewerKind >= 0 && env.viewerKind <= 3 ? env.viewerKind : 0;
    v.selViewer = kind;
    const QString wanted = QString::fromLatin1(kViewerNames[static_cast<std::size_t>(kind)]);
    v.hideExe = viewers.contains(wanted) ? wanted : QString();
    env.setText(EnvKey::HideExePath, viewerPath(v, kind));

    v.defaultTelUse = env.text(EnvKey::DefaultTelUse) == QLatin1String("0");
    v.defaultTel = env.text(EnvKey::DefaultTel);
    for (const SwitchControl& control : kSwitches)
        v.*control.first = env.firstChoice(control.key);
    v.startUpForm = env.startUpFormNo;
    return v;
}

int PikoTelRegcreate(AppContext& ctx, RegHandle& handle) {
    return ctx.store().RegKeyCreate(kVersionKey, 1, handle);
}

int PikoTelRegSet(AppContext& ctx, RegHandle& handle, const EnvFormValues& v,
                  const QString& caller) {
    Environment& env = ctx.env();
    setValue(ctx, handle, EnvKey::DicDrive, choice(v.dicOnHdd));
    const int cdFailed = setValue(ctx, handle, EnvKey::CdDrive,
                                  caller == kInitialMain ? env.initialCdRoot : v.cdDriveRoot);
    setValue(ctx, handle, EnvKey::XchdbAdd, v.xchdbAdd);
    setValue(ctx, handle, EnvKey::OutFile, v.outFile);
    setValue(ctx, handle, EnvKey::HideExe, v.hideExe);
    const int named = decodeViewer(v.hideExe);
    setValue(ctx, handle, EnvKey::HideExePath, viewerPath(v, named >= 0 ? named : v.selViewer));
    setValue(ctx, handle, EnvKey::DefaultTelUse, choice(v.defaultTelUse));
    setValue(ctx, handle, EnvKey::DefaultTel, DelHifon(v.defaultTel));
    for (const SwitchControl& control : kSwitches)
        setValue(ctx, handle, control.key, choice(v.*control.first));
    // The carry-over offers are answered once the settings have been saved.
    for (const EnvKey offer : {EnvKey::Import, EnvKey::ImportAte, EnvKey::ImportMru})
        setValue(ctx, handle, offer, QStringLiteral("0"));
    setValue(ctx, handle, EnvKey::StartUpForm, QString::number(v.startUpForm));
    env.startUpFormNo = v.startUpForm;
    return cdFailed != 0 ? 1 : 0;
}

void SilentFirstSave(AppContext& ctx) {
    // What the user has not chosen (nor carried over) is stored as a first run stores it.
    Environment& env = ctx.env();
    for (const EnvValueDef& def : envSchema()) {
        if (def.firstRun == FirstRunRule::Fixed && env.text(def.key).isEmpty())
            env.setText(def.key, QString::fromLatin1(def.firstRunText));
    }
    const EnvFormValues values = envFormValuesFromMemory(ctx);
    ctx.directory().DicClose();

    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 1, key) != 0)
        PikoTelRegcreate(ctx, key);
    PikoTelRegSet(ctx, key, values, kInitialMain);
    env.lastSaveDir = ParentFolder(values.outFile);
    store.RegKeyClose(key);

    ctx.directory().DicReopen();
    HandSettingsToResultList(ctx);
}

} // namespace pikotel
