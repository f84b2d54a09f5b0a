#include "settings/carryover.h"

#include "platform/messages.h"

namespace pikotel {

namespace {

const QString kZakurokobo = QStringLiteral("\\ZAKUROKOBO");
const char* const kVersions[] = {"17.0", "16.5", "16.0", "15.0", "14.0", "13.0", "12.0",
                                 "11.0", "10.0", "9.0",  "8.0",  "7.2",  "7.0",  "6.0",
                                 "5.0",  "4.0",  "3.0",  "2.0",  "1.0"};

double number(const QString& version) {
    return version.toDouble();
}

QString versionKey(const QString& version) {
    return kProductKey + u'\\' + version;
}

// Versions before 5.0 kept everything machine-wide.
int rootOf(const QString& version) {
    return number(version) >= 5 ? 1 : 0;
}

QString environmentKey(const QString& version) {
    return number(version) >= 9 ? versionKey(version) : versionKey(version) + kZakurokobo;
}

// Empty for versions that kept no layout.
QString layoutKey(const QString& version) {
    const double n = number(version);
    if (n >= 9)
        return versionKey(version) + QStringLiteral("\\ATE");
    if (n >= 7)
        return versionKey(version) + kZakurokobo + QStringLiteral("\\ATE");
    return {};
}

// Empty for versions that kept no original industries.
QString industryKey(const QString& version) {
    const double n = number(version);
    if (n >= 9)
        return versionKey(version) + QStringLiteral("\\MRU");
    if (n >= 3)
        return versionKey(version) + kZakurokobo + QStringLiteral("\\MRU");
    return {};
}

// The values each version kept, as (stored name, field).
QList<std::pair<QString, QString OldEnvRecord::*>> valuesOf(const QString& version) {
    using R = OldEnvRecord;
    const double n = number(version);
    QList<std::pair<QString, QString R::*>> values{{QStringLiteral("OUTFILE"), &R::outFile}};
    if (n < 3)
        return values;
    values << std::pair{QStringLiteral("BEFOREEXEC"), &R::beforeExec}
           << std::pair{QStringLiteral("DEFAULTTEL"), &R::defaultTel}
           << std::pair{QStringLiteral("DEFAULTTELUSE"), &R::defaultTelUse}
           << std::pair{QStringLiteral("OUTFORM"), &R::outForm}
           << std::pair{QStringLiteral("TELHIFON"), &R::telHifon}
           << std::pair{QStringLiteral("ZIPHIFON"), &R::zipHifon}
           << std::pair{QStringLiteral("ZIPMARK"), &R::zipMark};
    if (n >= 4)
        values << std::pair{QStringLiteral("SEIMEI"), &R::seimei};
    if (n >= 5) {
        const bool browser = n >= 9;
        values << std::pair{QString::fromLatin1(browser ? "BROWSER" : "BRAUZA"), &R::browser}
               << std::pair{QString::fromLatin1(browser ? "BROWSERPATH" : "BRAUZAPATH"),
                            &R::browserPath}
               << std::pair{QStringLiteral("HIDEEXE"), &R::hideExe}
               << std::pair{QStringLiteral("HIDEEXEPATH"), &R::hideExePath};
    }
    if (n >= 6)
        values << std::pair{QStringLiteral("ANIME"), &R::anime};
    return values;
}

// The record's text for a value the carry-over writes.
const QString* fieldOf(const OldEnvRecord& r, EnvKey key) {
    switch (key) {
    case EnvKey::OutFile:
        return &r.outFile;
    case EnvKey::HideExe:
        return &r.hideExe;
    case EnvKey::HideExePath:
        return &r.hideExePath;
    case EnvKey::DefaultTelUse:
        return &r.defaultTelUse;
    case EnvKey::DefaultTel:
        return &r.defaultTel;
    case EnvKey::BeforeExec:
        return &r.beforeExec;
    case EnvKey::Seimei:
        return &r.seimei;
    case EnvKey::Anime:
        return &r.anime;
    case EnvKey::OutForm:
        return &r.outForm;
    case EnvKey::TelHifon:
        return &r.telHifon;
    case EnvKey::ZipHifon:
        return &r.zipHifon;
    case EnvKey::ZipMark:
        return &r.zipMark;
    default:
        return nullptr;
    }
}

} // namespace

QString SettingsCarryOver::versionName(const QString& version) {
    if (version == QLatin1String("16.5"))
        return QStringLiteral("首都圏版");
    if (version == QLatin1String("7.2"))
        return QStringLiteral("Ver.7 2003年度版");
    return QStringLiteral("Ver.") + QString::number(static_cast<int>(number(version)));
}

QString SettingsCarryOver::FindOldVersion() {
    for (const char* v : kVersions) {
        const QString version = QString::fromLatin1(v);
        RegHandle key;
        if (ctx_.store().RegKeyOpen(versionKey(version), rootOf(version), key) == 0) {
            ctx_.store().RegKeyClose(key);
            return version;
        }
    }
    return QStringLiteral("0");
}

void SettingsCarryOver::ReadOldEnvironment(const QString& version, OldEnvRecord& r) {
    r = OldEnvRecord{};
    r.defaultTelUse = QStringLiteral("1");
    for (QString* zero :
         {&r.beforeExec, &r.seimei, &r.anime, &r.outForm, &r.telHifon, &r.zipHifon, &r.zipMark})
        *zero = QStringLiteral("0");
    SettingsStore& store = ctx_.store();
    RegHandle key;
    if (store.RegKeyOpen(environmentKey(version), rootOf(version), key) != 0)
        return;
    r.hideExe = QStringLiteral("NotePad");
    for (const auto& [name, field] : valuesOf(version))
        store.RegValueGet(key, name, r.*field);
    store.RegKeyClose(key);
    if (number(version) == 5 && r.hideExe == QLatin1String("NotPad"))
        r.hideExe = QStringLiteral("NotePad");
}

bool SettingsCarryOver::WriteImportedEnvironment(const OldEnvRecord& r) {
    SettingsStore& store = ctx_.store();
    RegHandle key;
    if (store.RegKeyCreate(kVersionKey, 1, key) != 0)
        return false;
    bool ok = true;
    const auto write = [&](EnvKey name, const QString& text) {
        ok &= store.RegValueSet(key, envName(name), text) == 0;
        ctx_.env().setText(name, text);
    };
    const bool areaCodeUsed = r.defaultTelUse == QLatin1String("0");
    for (const EnvValueDef& def : envSchema()) {
        const QString* text = fieldOf(r, def.key);
        switch (def.carryOver) {
        case EnvCarryOver::NotCarried:
            break;
        case EnvCarryOver::WhenNotEmpty:
            if (!text->isEmpty())
                write(def.key, *text);
            break;
        case EnvCarryOver::WithViewer:
            if (!r.hideExe.isEmpty() && !text->isEmpty())
                write(def.key, *text);
            break;
        case EnvCarryOver::Switch:
            write(def.key, *text == QLatin1String("0") ? QStringLiteral("0") : QStringLiteral("1"));
            break;
        case EnvCarryOver::AreaCodeUse:
            write(def.key, areaCodeUsed ? QStringLiteral("0") : QStringLiteral("1"));
            break;
        case EnvCarryOver::AreaCode:
            write(def.key, areaCodeUsed ? *text : QString());
            break;
        }
    }
    store.RegKeyClose(key);
    return ok;
}

namespace {

// Replaces the values of the current key that list selects with the earlier ones, then
// answers the offer. industryOnly picks the original-industry values in both keys.
bool replaceValues(SettingsStore& store, int oldRoot, const QString& oldKey,
                   const QString& currentKey, bool industryOnly, EnvKey offer, Environment& env) {
    RegValueListData old;
    if (industryOnly)
        store.RegGyoshuValueList(oldRoot, oldKey, old);
    else
        store.RegValueList(oldRoot, oldKey, old);
    if (old.isEmpty())
        return true;
    RegValueListData current;
    if (industryOnly)
        store.RegGyoshuValueList(1, currentKey, current);
    else
        store.RegValueList(1, currentKey, current);
    if (!current.isEmpty()) {
        RegHandle key;
        if (store.RegKeyOpen(currentKey, 1, key) != 0)
            return false;
        for (const RegValuePair& value : current)
            store.RegValueDelete(key, value.name);
        store.RegKeyFlushClose(key);
    }
    if (!store.RegValueListPut(currentKey, old))
        return false;
    RegHandle version;
    if (store.RegKeyCreate(kVersionKey, 1, version) != 0)
        return false;
    const bool written = store.RegValueSet(version, envName(offer), QStringLiteral("0")) == 0;
    store.RegKeyClose(version);
    env.setText(offer, QStringLiteral("0"));
    return written;
}

} // namespace

bool SettingsCarryOver::ImportOldLayout(const QString& version) {
    const QString key = layoutKey(version);
    if (key.isEmpty())
        return true;
    return replaceValues(ctx_.store(), 1, key, kAteKey, false, EnvKey::ImportAte, ctx_.env());
}

int SettingsCarryOver::CountOldLayout(const QString& version) {
    const QString key = layoutKey(version);
    if (key.isEmpty())
        return 0;
    RegValueListData list;
    ctx_.store().RegValueList(1, key, list);
    return static_cast<int>(list.size());
}

bool SettingsCarryOver::ImportOldGyoshu(const QString& version) {
    const QString key = industryKey(version);
    if (key.isEmpty())
        return true;
    return replaceValues(ctx_.store(), rootOf(version), key, kMruKey, true, EnvKey::ImportMru,
                         ctx_.env());
}

int SettingsCarryOver::CountOldGyoshu(const QString& version) {
    const QString key = industryKey(version);
    if (key.isEmpty())
        return 0;
    RegValueListData list;
    ctx_.store().RegGyoshuValueList(rootOf(version), key, list);
    return static_cast<int>(list.size());
}

bool SettingsCarryOver::MergeOldGyoshu(const QString& version) {
    constexpr int kLastNumber = 59;
    const QString key = industryKey(version);
    if (key.isEmpty())
        return true;
    SettingsStore& store = ctx_.store();
    RegValueListData old;
    store.RegGyoshuValueList(rootOf(version), key, old);
    if (old.isEmpty())
        return true;

    // The user's own industries stored without a gap from number 0.
    int base = 0;
    RegHandle mru;
    if (store.RegKeyOpen(kMruKey, 1, mru) == 0) {
        QString text;
        while (store.RegValueGet(mru, QStringLiteral("GYOSHUNM(%1)").arg(base), text) == 0)
            ++base;
        store.RegKeyClose(mru);
    }

    int maxOld = 0;
    RegValueListData moved;
    for (const RegValuePair& pair : old) {
        const qsizetype p = pair.name.indexOf(u'(');
        if (p <= 0) {
            moved.append(pair);
            continue;
        }
        qsizetype q = pair.name.indexOf(u',', p + 1);
        if (q < 0)
            q = pair.name.indexOf(u')', p + 1);
        bool numeric = false;
        const int k = q > p ? pair.name.mid(p + 1, q - p - 1).toInt(&numeric) : 0;
        if (!numeric)
            continue;
        maxOld = std::max(maxOld, k);
        if (k + base > kLastNumber)
            continue;
        moved.append(
            {pair.name.left(p + 1) + QString::number(k + base) + pair.name.mid(q), pair.text});
    }
    if (!store.RegValueListPut(kMruKey, moved))
        return false;
    if (store.RegKeyCreate(kMruKey, 1, mru) != 0)
        return false;
    const int last = std::min(maxOld + base, kLastNumber);
    const bool ok =
        store.RegValueSet(mru, QStringLiteral("GYOSHUSYBAN"), QString::number(last)) == 0;
    store.RegKeyClose(mru);
    return ok;
}

int SettingsCarryOver::ImportOldSettings(int kind) {
    const QString version = FindOldVersion();
    if (number(version) <= 1)
        return 0;
    const QString name = versionName(version);
    int result = 0;
    switch (kind) {
    case 0: {
        if (MyMsgBoxShow(name + QStringLiteral("の環境設定を移行できます。取り込みますか？"),
                         MsgYesNo) != MsgResultYes)
            return 0;
        ctx_.clock().processEvents();
        OldEnvRecord record;
        ReadOldEnvironment(version, record);
        result =
            WriteImportedEnvironment(record) && ImportOldLayout(version) && ImportOldGyoshu(version)
                ? 1
                : 0;
        break;
    }
    case 1:
        ctx_.clock().processEvents();
        if (CountOldLayout(version) < 1)
            return 0;
        if (MyMsgBoxShow(name + QStringLiteral("の出力形体設定を移行できます。取り込みますか？"),
                         MsgYesNo) != MsgResultYes)
            return 0;
        result = ImportOldLayout(version) ? 1 : 0;
        break;
    case 2:
        ctx_.clock().processEvents();
        if (CountOldGyoshu(version) < 1)
            return 0;
        if (MyMsgBoxShow(name +
                             QStringLiteral("のオリジナル業種設定を移行できます。取り込みますか？"),
                         MsgYesNo) != MsgResultYes)
            return 0;
        result = MergeOldGyoshu(version) ? 1 : 0;
        break;
    default:
        return 0;
    }
    static const char* const kDone[] = {" 環境設定の移行を完了しました。",
                                        " 出力形体設定の移行を完了しました。",
                                        " オリジナル業種設定の移行を完了しました。"};
    static const char* const kFailed[] = {
        " 環境設定の移行に失敗しました。環境設定画面で設定を確認してください。",
        " 出力形体設定の移行に失敗しました。環境設定画面で設定を確認してください。",
        " オリジナル業種設定の移行に失敗しました。業種検索画面で設定を確認してください。"};
    MyMsgBoxShow(QString::fromUtf8(result == 1 ? kDone[kind] : kFailed[kind]), MsgOk);
    return result;
}

} // namespace pikotel
