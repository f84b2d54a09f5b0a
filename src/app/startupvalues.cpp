#include "app/startupvalues.h"

#include "app/context.h"
#include "common/texthelpers.h"
#include "platform/messages.h"

#include <cmath>

namespace pikotel {

namespace {

const QString kReinstall =
    QStringLiteral("ぴ～こぴこ電話帳をアンインストールして再度インストールしなおしてください。");

// Values read from the per-user version key, in the order start-up reads them.
const char* const kEnvironmentValues[] = {
    "XCHDBADD", "OUTFILE",  "HIDEEXE",  "HIDEEXEPATH", "DEFAULTTEL", "DEFAULTTELUSE",
    "BEFOREEXEC", "SEIMEI", "ANIME",    "OUTFORM",     "TELHIFON",   "ZIPHIFON",
    "ZIPMARK",  "IMPORT",   "IMPORT_ATE", "IMPORT_MRU", "STARTUPFORM"};

int readMachineRecord(AppContext& ctx) {
    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 0, key) != 0) {
        MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳辞書情報が存在しません。\r\n") + kReinstall, MsgOk);
        return EnvUnusable;
    }
    QString dicDrive;
    const int got = store.RegValueGet(key, QStringLiteral("DICDRIVE"), dicDrive);
    store.RegKeyClose(key);
    if (got != 0) {
        MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳辞書情報が取得できません。\r\n") + kReinstall, MsgOk);
        return EnvUnusable;
    }
    if (dicDrive == QLatin1String("0")) {
        ctx.env().hddInstalled = true;
    } else if (dicDrive == QLatin1String("1")) {
        ctx.env().hddInstalled = false;
    } else {
        MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳辞書情報で、ＨＤ・ＣＤ－ＲＯＭ情報が取得できません。\r\n") +
                         kReinstall,
                     MsgOk);
        return EnvUnusable;
    }
    ctx.env().setValue(QStringLiteral("DICDRIVE"), dicDrive);
    return EnvLoaded;
}

int readUserValues(AppContext& ctx) {
    SettingsStore& store = ctx.store();
    Environment& env = ctx.env();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 1, key) != 0)
        return EnvFirstRun;

    // A hard-disk installation may be switched to the CD-ROM by the user; a CD-ROM
    // installation stays on the CD-ROM.
    QString userDicDrive;
    store.RegValueGet(key, QStringLiteral("DICDRIVE"), userDicDrive);
    if (!userDicDrive.isEmpty() && TextToInt(env.value(QStringLiteral("DICDRIVE"))) == 0)
        env.setValue(QStringLiteral("DICDRIVE"), userDicDrive);

    QString cdDrive;
    store.RegValueGet(key, QStringLiteral("CDDRIVE"), cdDrive);
    env.setValue(QStringLiteral("CDDRIVE"), cdDrive);
    env.initialCdRoot = cdDrive;
    if (cdDrive.isEmpty()) {
        store.RegKeyClose(key);
        return EnvFirstRun;
    }

    for (const char* name : kEnvironmentValues) {
        QString text;
        store.RegValueGet(key, QString::fromLatin1(name), text);
        env.setValue(QString::fromLatin1(name), text);
    }
    env.applyHideExe(env.value(QStringLiteral("HIDEEXE")));
    const QString startUp = env.value(QStringLiteral("STARTUPFORM"));
    env.startUpFormNo = IsNumeric(startUp) ? TextToInt(startUp) : 0;
    store.RegKeyClose(key);
    return EnvLoaded;
}

// Reads one value of the per-user version key as a number; false when it cannot be read.
bool readNumber(AppContext& ctx, RegHandle& key, const QString& name, float& out) {
    QString text;
    const int got = ctx.store().RegValueGet(key, name, text);
    out = 0;
    if (got != 0)
        return false;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(value) && std::abs(value) < 1e9)
        out = static_cast<float>(value);
    return true;
}

int writeUserValues(AppContext& ctx, const QList<std::pair<QString, QString>>& values) {
    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 1, key) != 0 && store.RegKeyCreate(kVersionKey, 1, key) != 0)
        return 1;
    int result = 0;
    for (const auto& [name, text] : values) {
        if (store.RegValuePut(key, name, text) != 0)
            result = 1;
    }
    if (store.RegKeyFlushClose(key) != 0)
        result = 1;
    return result;
}

} // namespace

QString singleToText(float value) { return QString::number(static_cast<double>(value), 'g', 7); }

int LoadEnvironment(AppContext& ctx) {
    const int machine = readMachineRecord(ctx);
    if (machine != EnvLoaded)
        return machine;

    const int user = readUserValues(ctx);
    if (user != EnvLoaded)
        return user;

    ShellHooks& hooks = ctx.hooks();
    hooks.loadAreaAndIndustryHistories();
    hooks.loadPhoneHistory();
    hooks.loadOutputLayout();
    hooks.loadZipHistory();
    HandSettingsToResultList(ctx);
    return EnvLoaded;
}

void HandSettingsToResultList(AppContext& ctx) {
    const Environment& env = ctx.env();
    ctx.hooks().handLayoutToResultList();
    ctx.hooks().handOptionsToResultList(env.number(QStringLiteral("OUTFORM")),
                                        env.number(QStringLiteral("TELHIFON")),
                                        env.number(QStringLiteral("ZIPHIFON")),
                                        env.number(QStringLiteral("ZIPMARK")));
}

int LoadStartUpPosition(AppContext& ctx) {
    RegHandle key;
    if (ctx.store().RegKeyOpen(kVersionKey, 1, key) != 0)
        return 1;
    ShellState& shell = ctx.shell();
    const bool x = readNumber(ctx, key, QStringLiteral("StartUpPosition_X"), shell.startUpPosX);
    const bool y = readNumber(ctx, key, QStringLiteral("StartUpPosition_Y"), shell.startUpPosY);
    ctx.store().RegKeyClose(key);
    return x && y ? 0 : 1;
}

int SaveStartUpPosition(AppContext& ctx, float top, float left) {
    return writeUserValues(ctx, {{QStringLiteral("StartUpPosition_Y"), singleToText(top)},
                                 {QStringLiteral("StartUpPosition_X"), singleToText(left)}});
}

int LoadLastForm(AppContext& ctx) {
    RegHandle key;
    if (ctx.store().RegKeyOpen(kVersionKey, 1, key) != 0)
        return 1;
    QString text;
    const int got = ctx.store().RegValueGet(key, QStringLiteral("LASTFORM"), text);
    ctx.store().RegKeyClose(key);
    if (got != 0)
        return 1;
    const int number = TextToInt(text);
    ctx.shell().lastFormNo = static_cast<qint16>(number >= -32768 && number <= 32767 ? number : 0);
    return 0;
}

int SaveLastForm(AppContext& ctx, int number) {
    return writeUserValues(ctx, {{QStringLiteral("LASTFORM"), QString::number(number)}});
}

} // namespace pikotel
