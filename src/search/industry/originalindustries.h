#pragma once

// The user's own industries (オリジナル業種): a name, up to 30 target strings and up to 30
// exclusion strings each, in a table of 61 slots of which the editor fills at most 60, used
// slots contiguous from 0. They live as texts in the MRU key of the per-user settings store:
//
//   GYOSHUSYBAN              highest used slot in decimal; empty once the last one was deleted
//   GYOSHUNM(i)              name of slot i
//   GYOSHUTARGET(i,j)        target string j of slot i, absent when empty
//   GYOSHUNOTARGET(i,j)      exclusion string j of slot i, absent when empty
//   GYOSHUGYOSHU             "※" and the name saved last (read by the carry-over only)
//
// Each operation writes in one commit, so a store killed half-way keeps the old values.
// Stored values that do not fit the rules (a GYOSHUSYBAN that is no slot number, names
// beyond it) are read so that no stored industry is hidden or overwritten: the highest used
// slot is the higher of GYOSHUSYBAN and the last slot holding a name.

#include <QString>
#include <QStringList>

#include <array>

namespace pikotel {

class RegHandle;
class SettingsStore;

struct OriginalIndustry {
    QString name; // empty: the slot is free
    QStringList targets;
    QStringList exclusions;
};

class OriginalIndustries {
public:
    static constexpr int kSlots = 61;
    static constexpr int kMaxIndustries = 60;
    static constexpr int kMaxStrings = 30;
    static constexpr int kMaxLength = 10;

    // The store must outlive this object. The table starts empty.
    explicit OriginalIndustries(SettingsStore& store);

    // Empty for a slot outside 0..60.
    const OriginalIndustry& slot(int index) const;

    // LoadOriginalIndustries: the table as stored (every slot up to the highest used one).
    void load();
    // LoadOriginalCount: the highest used slot, -1 when there is none.
    int highestSlot() const;

    // SaveNewOriginal: the industry into the slot after the highest used one. The slot
    // written, or -1 when all 60 are used (nothing is written then). Strings beyond 30 are
    // not stored; empty ones leave their value absent.
    int saveNew(const OriginalIndustry& industry);
    // SaveChangedOriginal: the industry into its slot; the highest used slot stays.
    void saveChanged(int index, const OriginalIndustry& industry);
    // DeleteOriginal and CompactOriginals: the later industries move down one slot, then the
    // table is read again.
    void remove(int index);

private:
    void writeSlot(RegHandle& key, int index, const OriginalIndustry& industry);
    static QString nameValue(int slot);
    static QString targetValue(int slot, int string);
    static QString exclusionValue(int slot, int string);

    SettingsStore& store_;
    std::array<OriginalIndustry, kSlots> table_;
};

} // namespace pikotel
