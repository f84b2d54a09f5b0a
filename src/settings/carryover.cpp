#include "settings/carryover.h"

#include "platform/messages.h"

namespace pikotel {

namespace {

// The values each version kept, as (stored name, field), by the version's value list.
using ValueList = QList<std::pair<const char*, QString OldEnvRecord::*>>;
using R = OldEnvRecord;
const ValueList kOutFileOnly{{"OUTFILE", &R::outFile}};
const ValueList kVer3 = kOutFileOnly + ValueList{{"BEFOREEXEC", &R::beforeExec},
                                                 {"DEFAULTTEL", &R::defaultTel},
                                                 {"DEFAULTTELUSE", &R::defaultTelUse},
                                                 {"OUTFORM", &R::outForm},
                                                 {"TELHIFON", &R::telHifon},
                                                 {"ZIPHIFON", &R::zipHifon},
                                                 {"ZIPMARK", &R::zipMark}};
const ValueList kVer4 = kVer3 + ValueList{{"SEIMEI", &R::seimei}};
const ValueList kVer5 = kVer4 + ValueList{{"BRAUZA", &R::browser},
                                          {"BRAUZAPATH", &R::browserPath},
                                          {"HIDEEXE", &R::hideExe},
                                          {"HIDEEXEPATH", &R::hideExePath}};
const ValueList kVer6 = kVer5 + ValueList{{"ANIME", &R::anime}};
const ValueList kVer9 = kVer4 + ValueList{{"HIDEEXE", &R::hideExe},
                                          {"HIDEEXEPATH", &R::hideExePath},
                                          {"ANIME", &R::anime},
                                          {"BROWSER", &R::browser},
                                          {"BROWSERPATH", &R::browserPath}};

// One earlier version: where it kept its settings, below its version key. A null key part
// means the version kept nothing of that kind.
struct VersionRow {
    const char* version;
    const char* name;
    int root; // 0 machine-wide, 1 per-user
    const char* environment;
    const char* layout;
    const char* industries;
    int industriesRoot;
    const ValueList* values;
};

const char* const kZ = "\\ZAKUROKOBO";
const char* const kZAte = "\\ZAKUROKOBO\\ATE";
const char* const kZMru = "\\ZAKUROKOBO\\MRU";

// Newest first: the first whose key exists is the one carried over.
const VersionRow kVersions[] = {
    {"17.0", "Ver.17", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"16.5", "首都圏版", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"16.0", "Ver.16", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"15.0", "Ver.15", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"14.0", "Ver.14", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"13.0", "Ver.13", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"12.0", "Ver.12", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"11.0", "Ver.11", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"10.0", "Ver.10", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"9.0", "Ver.9", 1, "", "\\ATE", "\\MRU", 1, &kVer9},
    {"8.0", "Ver.8", 1, kZ, kZAte, kZMru, 1, &kVer6},
    {"7.2", "Ver.7 2003年度版", 1, kZ, kZAte, kZMru, 1, &kVer6},
    {"7.0", "Ver.7", 1, kZ, kZAte, kZMru, 1, &kVer6},
    {"6.0", "Ver.6", 1, kZ, nullptr, kZMru, 1, &kVer6},
    {"5.0", "Ver.5", 1, kZ, nullptr, kZMru, 1, &kVer5},
    {"4.0", "Ver.4", 0, kZ, nullptr, kZMru, 0, &kVer4},
    {"3.0", "Ver.3", 0, kZ, nullptr, kZMru, 0, &kVer3},
    {"2.0", "Ver.2", 0, kZ, nullptr, nullptr, 0, &kOutFileOnly},
    {"1.0", "", 0, nullptr, nullptr, nullptr, 0, nullptr},
};

const VersionRow* rowOf(const QString& version) {
    for (const VersionRow& row : kVersions) {
        if (version == QLatin1String(row.version))
            return &row;
    }
    return nullptr;
}

QString versionKey(const QString& version) {
    return kProductKey + u'\\' + version;
}

// The version key followed by a key part; empty when the version kept nothing there.
QString keyOf(const QString& version, const char* part) {
    return part == nullptr ? QString() : versionKey(version) + QString::fromUtf8(part);
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
    const VersionRow* row = rowOf(version);
    return row == nullptr ? QString() : QString::fromUtf8(row->name);
}

QString SettingsCarryOver::FindOldVersion() {
    for (const VersionRow& row : kVersions) {
        const QString version = QString::fromLatin1(row.version);
        RegHandle key;
        if (ctx_.store().RegKeyOpen(versionKey(version), row.root, key) == 0) {
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
    const VersionRow* row = rowOf(version);
    SettingsStore& store = ctx_.store();
    RegHandle key;
    if (row == nullptr || row->environment == nullptr ||
        store.RegKeyOpen(keyOf(version, row->environment), row->root, key) != 0)
        return;
    r.hideExe = QStringLiteral("NotePad");
    for (const auto& [name, field] : *row->values)
        store.RegValueGet(key, QString::fromLatin1(name), r.*field);
    store.RegKeyClose(key);
    // Version 5 wrote the viewer's name without its "e".
    if (row->values == &kVer5 && r.hideExe == QLatin1String("NotPad"))
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
    const VersionRow* row = rowOf(version);
    const QString key = row == nullptr ? QString() : keyOf(version, row->layout);
    if (key.isEmpty())
        return true;
    return replaceValues(ctx_.store(), 1, key, kAteKey, false, EnvKey::ImportAte, ctx_.env());
}

int SettingsCarryOver::CountOldLayout(const QString& version) {
    const VersionRow* row = rowOf(version);
    const QString key = row == nullptr ? QString() : keyOf(version, row->layout);
    if (key.isEmpty())
        return 0;
    RegValueListData list;
    ctx_.store().RegValueList(1, key, list);
    return static_cast<int>(list.size());
}

bool SettingsCarryOver::ImportOldGyoshu(const QString& version) {
    const VersionRow* row = rowOf(version);
    const QString key = row == nullptr ? QString() : keyOf(version, row->industries);
    if (key.isEmpty())
        return true;
    return replaceValues(ctx_.store(), row->industriesRoot, key, kMruKey, true, EnvKey::ImportMru,
                         ctx_.env());
}

int SettingsCarryOver::CountOldGyoshu(const QString& version) {
    const VersionRow* row = rowOf(version);
    const QString key = row == nullptr ? QString() : keyOf(version, row->industries);
    if (key.isEmpty())
        return 0;
    RegValueListData list;
    ctx_.store().RegGyoshuValueList(row->industriesRoot, key, list);
    return static_cast<int>(list.size());
}

bool SettingsCarryOver::MergeOldGyoshu(const QString& version) {
    constexpr int kLastNumber = 59;
    const VersionRow* row = rowOf(version);
    const QString key = row == nullptr ? QString() : keyOf(version, row->industries);
    if (key.isEmpty())
        return true;
    SettingsStore& store = ctx_.store();
    RegValueListData old;
    store.RegGyoshuValueList(row->industriesRoot, key, old);
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
    const VersionRow* row = rowOf(version);
    if (row == nullptr || row->environment == nullptr)
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
