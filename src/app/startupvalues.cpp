#include "app/startupvalues.h"

#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"

#include <cmath>

namespace pikotel {

namespace {

const QString kReinstall =
    QStringLiteral("ぴ～こぴこ電話帳をアンインストールして再度インストールしなおしてください。");

int readMachineRecord(AppContext& ctx) {
    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 0, key) != 0) {
        MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳辞書情報が存在しません。\r\n") + kReinstall,
                     MsgOk);
        return EnvUnusable;
    }
    QString dicDrive;
    const int got = store.RegValueGet(key, envName(EnvKey::DicDrive), dicDrive);
    store.RegKeyClose(key);
    if (got != 0) {
        MyMsgBoxShow(QStringLiteral("ぴ～こぴこ電話帳辞書情報が取得できません。\r\n") + kReinstall,
                     MsgOk);
        return EnvUnusable;
    }
    if (dicDrive == QLatin1String("0")) {
        ctx.env().hddInstalled = true;
    } else if (dicDrive == QLatin1String("1")) {
        ctx.env().hddInstalled = false;
    } else {
        MyMsgBoxShow(
            QStringLiteral(
                "ぴ～こぴこ電話帳辞書情報で、ＨＤ・ＣＤ－ＲＯＭ情報が取得できません。\r\n") +
                kReinstall,
            MsgOk);
        return EnvUnusable;
    }
    ctx.env().setText(EnvKey::DicDrive, dicDrive);
    return EnvLoaded;
}

int readUserValues(AppContext& ctx) {
    SettingsStore& store = ctx.store();
    Environment& env = ctx.env();
    // Only a file that opened and checked clean can tell that nothing was stored yet.
    const auto nothingStored = [&store] {
        return store.userRootUsable() ? EnvFirstRun : EnvUnreadable;
    };
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 1, key) != 0)
        return nothingStored();

    // A hard-disk installation may be switched to the CD-ROM by the user; a CD-ROM
    // installation stays on the CD-ROM.
    QString userDicDrive;
    store.RegValueGet(key, envName(EnvKey::DicDrive), userDicDrive);
    if (!userDicDrive.isEmpty() && env.hddInstalled)
        env.setText(EnvKey::DicDrive, userDicDrive);

    QString cdDrive;
    store.RegValueGet(key, envName(EnvKey::CdDrive), cdDrive);
    env.setText(EnvKey::CdDrive, cdDrive);
    env.initialCdRoot = cdDrive;
    if (cdDrive.isEmpty()) {
        store.RegKeyClose(key);
        return nothingStored();
    }

    for (const EnvValueDef& def : envSchema()) {
        if (!def.loadedAtStartUp)
            continue;
        QString text;
        store.RegValueGet(key, QString::fromLatin1(def.name), text);
        env.setText(def.key, text);
    }
    env.startUpFormNo = env.number(EnvKey::StartUpForm);
    store.RegKeyClose(key);
    return EnvLoaded;
}

// Reads one value of the per-user version key as a number; false when it cannot be read.
bool readNumber(AppContext& ctx, RegHandle& key, EnvKey name, float& out) {
    QString text;
    const int got = ctx.store().RegValueGet(key, envName(name), text);
    out = 0;
    if (got != 0)
        return false;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(value) && std::abs(value) < 1e9)
        out = static_cast<float>(value);
    return true;
}

int writeUserValues(AppContext& ctx, const QList<std::pair<EnvKey, QString>>& values) {
    SettingsStore& store = ctx.store();
    RegHandle key;
    if (store.RegKeyOpen(kVersionKey, 1, key) != 0 && store.RegKeyCreate(kVersionKey, 1, key) != 0)
        return 1;
    int result = 0;
    for (const auto& [name, text] : values) {
        if (store.RegValuePut(key, envName(name), text) != 0)
            result = 1;
    }
    if (store.RegKeyFlushClose(key) != 0)
        result = 1;
    return result;
}

} // namespace

QString singleToText(float value) {
    return QString::number(static_cast<double>(value), 'g', 7);
}

int LoadEnvironment(AppContext& ctx) {
    const int machine = readMachineRecord(ctx);
    if (machine != EnvLoaded)
        return machine;

    const int user = readUserValues(ctx);
    if (user != EnvLoaded)
        return user;

    HistoryStore& history = ctx.history();
    history.LoadAreaAndIndustryHistories();
    history.LoadPhoneHistory();
    HandSettingsToResultList(ctx);
    history.LoadZipConditions();
    return EnvLoaded;
}

void HandSettingsToResultList(AppContext& ctx) {
    const Environment& env = ctx.env();
    clsKekka3& kekka = ctx.kekka();
    kekka.OutFileInfo_Set(LoadOutputLayout(ctx.store()));
    kekka.setCSV_Type(env.choice(EnvKey::OutForm));
    kekka.setTel_Hifon(env.choice(EnvKey::TelHifon));
    kekka.setZip_Hifon(env.choice(EnvKey::ZipHifon));
    kekka.setZip_Mark(env.choice(EnvKey::ZipMark));
}

int LoadStartUpPosition(AppContext& ctx) {
    RegHandle key;
    if (ctx.store().RegKeyOpen(kVersionKey, 1, key) != 0)
        return 1;
    ShellState& shell = ctx.shell();
    const bool x = readNumber(ctx, key, EnvKey::StartUpPositionX, shell.startUpPosX);
    const bool y = readNumber(ctx, key, EnvKey::StartUpPositionY, shell.startUpPosY);
    ctx.store().RegKeyClose(key);
    return x && y ? 0 : 1;
}

int SaveStartUpPosition(AppContext& ctx, float top, float left) {
    return writeUserValues(ctx, {{EnvKey::StartUpPositionY, singleToText(top)},
                                 {EnvKey::StartUpPositionX, singleToText(left)}});
}

int LoadLastForm(AppContext& ctx) {
    RegHandle key;
    if (ctx.store().RegKeyOpen(kVersionKey, 1, key) != 0)
        return 1;
    QString text;
    const int got = ctx.store().RegValueGet(key, envName(EnvKey::LastForm), text);
    ctx.store().RegKeyClose(key);
    if (got != 0)
        return 1;
    const int number = decodeNumber(text);
    ctx.shell().lastFormNo = static_cast<qint16>(number >= -32768 && number <= 32767 ? number : 0);
    return 0;
}

int SaveLastForm(AppContext& ctx, int number) {
    return writeUserValues(ctx, {{EnvKey::LastForm, QString::number(number)}});
}

} // namespace pikotel
