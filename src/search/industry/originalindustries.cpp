#include "search/industry/originalindustries.h"

#include "settings/regstore.h"

#include <algorithm>

namespace pikotel {

namespace {

const QString kHighestSlot = QStringLiteral("GYOSHUSYBAN");
const QString kSavedLast = QStringLiteral("GYOSHUGYOSHU");

QString read(SettingsStore& store, RegHandle& key, const QString& name) {
    QString text;
    store.RegValueGet(key, name, text);
    return text;
}

// The higher of GYOSHUSYBAN, when it is a slot number, and the last slot holding a name.
int highestUsed(SettingsStore& store, RegHandle& key) {
    bool numeric = false;
    const int stored = read(store, key, kHighestSlot).trimmed().toInt(&numeric);
    int highest = numeric && stored >= 0 ? std::min(stored, OriginalIndustries::kSlots - 1) : -1;
    for (int i = OriginalIndustries::kSlots - 1; i > highest; --i) {
        if (!read(store, key, QStringLiteral("GYOSHUNM(%1)").arg(i)).isEmpty())
            return i;
    }
    return highest;
}

void put(SettingsStore& store, RegHandle& key, const QString& name, const QString& text) {
    if (text.isEmpty())
        store.RegValueDelete(key, name);
    else
        store.RegValuePut(key, name, text);
}

} // namespace

OriginalIndustries::OriginalIndustries(SettingsStore& store) : store_(store) {}

QString OriginalIndustries::nameValue(int slot) {
    return QStringLiteral("GYOSHUNM(%1)").arg(slot);
}

QString OriginalIndustries::targetValue(int slot, int string) {
    return QStringLiteral("GYOSHUTARGET(%1,%2)").arg(slot).arg(string);
}

QString OriginalIndustries::exclusionValue(int slot, int string) {
    return QStringLiteral("GYOSHUNOTARGET(%1,%2)").arg(slot).arg(string);
}

const OriginalIndustry& OriginalIndustries::slot(int index) const {
    static const OriginalIndustry empty;
    return index >= 0 && index < kSlots ? table_[static_cast<std::size_t>(index)] : empty;
}

void OriginalIndustries::load() {
    table_.fill(OriginalIndustry());
    RegHandle key;
    if (store_.RegKeyOpen(kMruKey, 1, key) != 0)
        return;
    const int highest = highestUsed(store_, key);
    for (int i = 0; i <= highest; ++i) {
        OriginalIndustry& industry = table_[static_cast<std::size_t>(i)];
        industry.name = read(store_, key, nameValue(i));
        // Strings stored with gaps keep their order; the gaps close.
        for (int j = 0; j < kMaxStrings; ++j) {
            const QString target = read(store_, key, targetValue(i, j));
            if (!target.isEmpty())
                industry.targets.append(target);
            const QString exclusion = read(store_, key, exclusionValue(i, j));
            if (!exclusion.isEmpty())
                industry.exclusions.append(exclusion);
        }
    }
    store_.RegKeyClose(key);
}

int OriginalIndustries::highestSlot() const {
    RegHandle key;
    if (store_.RegKeyOpen(kMruKey, 1, key) != 0)
        return -1;
    const int highest = highestUsed(store_, key);
    store_.RegKeyClose(key);
    return highest;
}

int OriginalIndustries::saveNew(const OriginalIndustry& industry) {
    RegHandle key;
    if (store_.RegKeyOpen(kMruKey, 1, key) != 0 && MruKeyCreate(store_, key) != 0)
        return -1;
    const int slot = highestUsed(store_, key) + 1;
    if (slot < kMaxIndustries) {
        writeSlot(key, slot, industry);
        store_.RegValuePut(key, kHighestSlot, QString::number(slot));
    }
    store_.RegKeyClose(key);
    return slot < kMaxIndustries ? slot : -1;
}

void OriginalIndustries::saveChanged(int index, const OriginalIndustry& industry) {
    if (index < 0 || index >= kMaxIndustries)
        return;
    RegHandle key;
    if (store_.RegKeyOpen(kMruKey, 1, key) != 0 && MruKeyCreate(store_, key) != 0)
        return;
    writeSlot(key, index, industry);
    store_.RegKeyClose(key);
}

void OriginalIndustries::writeSlot(RegHandle& key, int index, const OriginalIndustry& industry) {
    OriginalIndustry& kept = table_[static_cast<std::size_t>(index)];
    kept = OriginalIndustry{industry.name, {}, {}};
    store_.RegValuePut(key, nameValue(index), industry.name);
    store_.RegValuePut(key, kSavedLast, QStringLiteral("※") + industry.name);
    for (int j = 0; j < kMaxStrings; ++j) {
        const QString target = industry.targets.value(j);
        const QString exclusion = industry.exclusions.value(j);
        put(store_, key, targetValue(index, j), target);
        put(store_, key, exclusionValue(index, j), exclusion);
        if (!target.isEmpty())
            kept.targets.append(target);
        if (!exclusion.isEmpty())
            kept.exclusions.append(exclusion);
    }
}

void OriginalIndustries::remove(int index) {
    if (index < 0 || index >= kMaxIndustries)
        return;
    // The later slots move down from the table: it must hold what the store holds.
    load();
    RegHandle key;
    if (store_.RegKeyOpen(kMruKey, 1, key) != 0)
        return;
    const int highest = highestUsed(store_, key);
    const auto clearSlot = [&](int slot) {
        store_.RegValueDelete(key, nameValue(slot));
        for (int j = 0; j < kMaxStrings; ++j) {
            store_.RegValueDelete(key, targetValue(slot, j));
            store_.RegValueDelete(key, exclusionValue(slot, j));
        }
        table_[static_cast<std::size_t>(slot)] = OriginalIndustry();
    };
    clearSlot(index);
    if (highest <= 0) {
        store_.RegValuePut(key, kHighestSlot, QString());
    } else {
        store_.RegValuePut(key, kHighestSlot, QString::number(highest - 1));
        for (int j = index; j < kMaxIndustries; ++j) {
            const OriginalIndustry& next = table_[static_cast<std::size_t>(j + 1)];
            put(store_, key, nameValue(j), next.name);
            for (int k = 0; k < kMaxStrings; ++k) {
                put(store_, key, targetValue(j, k), next.targets.value(k));
                put(store_, key, exclusionValue(j, k), next.exclusions.value(k));
            }
        }
        clearSlot(highest);
    }
    store_.RegKeyClose(key);
    load();
}

} // namespace pikotel
