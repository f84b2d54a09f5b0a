#include "history/historystore.h"

#include "common/cp932.h"
#include "common/texthelpers.h"

#include <QHash>

#include <array>
#include <utility>

namespace pikotel {

namespace {

// How one list kind is stored: its fields (key field first), its city slots, its pointer.
struct Layout {
    QStringList fields;
    QString slotBase; // empty: the kind has no cities
    int maxSlots = 0;
    QString lastFind;

    const QString& keyField() const { return fields.front(); }
};

// One entry in stored form. Writing removes every field of the layout missing from fields.
struct StoredEntry {
    QHash<QString, QString> fields;
    QStringList cities;
};

QString valueName(const QString& base, int index) {
    return base + u'(' + QString::number(index) + u')';
}

QString slotText(int slot) {
    return QStringLiteral("%1").arg(slot, 2, 10, QChar(u'0'));
}

QString slotName(const Layout& layout, int slot, int index) {
    return valueName(layout.slotBase + slotText(slot), index);
}

// Recognises a city slot of this layout written as this store writes them; anything else
// under a similar name is not ours to touch.
bool parseSlotName(const Layout& layout, const QString& name, int& slot, int& index) {
    if (!name.startsWith(layout.slotBase, Qt::CaseInsensitive) || !name.endsWith(u')'))
        return false;
    const QString rest = name.mid(layout.slotBase.size());
    const qsizetype open = rest.indexOf(u'(');
    if (open < 2 || open > 9)
        return false;
    const QString digits = rest.left(open);
    const QString indexText = rest.mid(open + 1, rest.size() - open - 2);
    for (const QChar c : digits + indexText) {
        if (c < u'0' || c > u'9')
            return false;
    }
    bool ok = false;
    slot = digits.toInt(&ok);
    if (!ok || slotText(slot) != digits)
        return false;
    index = indexText.toInt(&ok);
    return ok && QString::number(index) == indexText && index < HistoryStore::kMaxEntries;
}

// NULs never survive a read, and a text over 255 cp932 bytes would end the store's value
// listing early, so both are dealt with before writing. Characters without a cp932 form
// count one byte each, as the store writes them.
QString fitText(const QString& text) {
    QString fitted = StripNulls(text);
    if (fitted.size() * 2 <= HistoryStore::kMaxTextBytes)
        return fitted;
    qsizetype bytes = 0;
    qsizetype pos = 0;
    while (pos < fitted.size()) {
        const qsizetype len = fitted.at(pos).isHighSurrogate() && pos + 1 < fitted.size() ? 2 : 1;
        const QString one = fitted.mid(pos, len);
        const qsizetype size = fitsCp932(one) ? toCp932(one).size() : 1;
        if (bytes + size > HistoryStore::kMaxTextBytes)
            break;
        bytes += size;
        pos += len;
    }
    fitted.truncate(pos);
    return fitted;
}

QStringList fitCities(const QStringList& cities, int maxSlots) {
    QStringList fitted;
    for (const QString& city : cities) {
        if (fitted.size() == maxSlots)
            break;
        // An empty slot would end the list when read back.
        const QString text = fitText(city);
        if (!text.isEmpty())
            fitted.append(text);
    }
    return fitted;
}

// --- The three list kinds ---------------------------------------------------------------------

struct Area104Kind {
    using Entry = Area104Conditions;

    static const Layout& layout() {
        static const Layout layout{{QStringLiteral("104CHK"), QStringLiteral("104KEN"),
                                    QStringLiteral("104KENEX"), QStringLiteral("104SIKU"),
                                    QStringLiteral("104CHOUIKI"), QStringLiteral("104HOJINKOJIN"),
                                    QStringLiteral("104KAISHA"), QStringLiteral("104SEI"),
                                    QStringLiteral("104MEI")},
                                   QStringLiteral("104SIKUEX"),
                                   HistoryStore::kMax104Cities,
                                   QStringLiteral("104LASTFIND")};
        return layout;
    }

    // Only the fields the entry means, so that equal searches compare equal.
    static Entry normalized(const Entry& in) {
        Entry out;
        out.wideArea = in.wideArea;
        out.prefecture = fitText(in.prefecture);
        if (in.wideArea)
            out.cities = fitCities(in.cities, HistoryStore::kMax104Cities);
        else
            out.city = fitText(in.city);
        out.town = fitText(in.town);
        out.company = in.company;
        if (in.company) {
            out.companyName = fitText(in.companyName);
        } else {
            out.surname = fitText(in.surname);
            out.givenName = fitText(in.givenName);
        }
        return out;
    }

    static StoredEntry toStored(const Entry& entry) {
        StoredEntry stored;
        QHash<QString, QString>& f = stored.fields;
        f.insert(QStringLiteral("104CHK"),
                 entry.wideArea ? QStringLiteral("2") : QStringLiteral("1"));
        if (entry.wideArea) {
            f.insert(QStringLiteral("104KENEX"), entry.prefecture);
            stored.cities = entry.cities;
        } else {
            f.insert(QStringLiteral("104KEN"), entry.prefecture);
            f.insert(QStringLiteral("104SIKU"), entry.city);
        }
        f.insert(QStringLiteral("104CHOUIKI"), entry.town);
        f.insert(QStringLiteral("104HOJINKOJIN"),
                 entry.company ? QStringLiteral("1") : QStringLiteral("2"));
        if (entry.company) {
            f.insert(QStringLiteral("104KAISHA"), entry.companyName);
        } else {
            f.insert(QStringLiteral("104SEI"), entry.surname);
            f.insert(QStringLiteral("104MEI"), entry.givenName);
        }
        return stored;
    }

    // Any search kind but "1" is a wide-area search, as the 104-style screen restores it.
    static Entry fromStored(const StoredEntry& stored) {
        const QHash<QString, QString>& f = stored.fields;
        Entry entry;
        entry.wideArea = f.value(QStringLiteral("104CHK")) != QLatin1String("1");
        if (entry.wideArea) {
            entry.prefecture = f.value(QStringLiteral("104KENEX"));
            entry.cities = stored.cities;
        } else {
            entry.prefecture = f.value(QStringLiteral("104KEN"));
            entry.city = f.value(QStringLiteral("104SIKU"));
        }
        entry.town = f.value(QStringLiteral("104CHOUIKI"));
        entry.company = f.value(QStringLiteral("104HOJINKOJIN")) == QLatin1String("1");
        if (entry.company) {
            entry.companyName = f.value(QStringLiteral("104KAISHA"));
        } else {
            entry.surname = f.value(QStringLiteral("104SEI"));
            entry.givenName = f.value(QStringLiteral("104MEI"));
        }
        return entry;
    }
};

struct IndustryKind {
    using Entry = IndustryConditions;

    static const Layout& layout() {
        static const Layout layout{{QStringLiteral("GYOSHUKEN"), QStringLiteral("GYOSHUGYOSHU")},
                                   QStringLiteral("GYOSHUSIKU"),
                                   HistoryStore::kMaxIndustryCities,
                                   QStringLiteral("GYOLASTFIND")};
        return layout;
    }

    static Entry normalized(const Entry& in) {
        return {fitText(in.prefecture), fitCities(in.cities, HistoryStore::kMaxIndustryCities),
                fitText(in.industry)};
    }

    static StoredEntry toStored(const Entry& entry) {
        StoredEntry stored;
        stored.fields.insert(QStringLiteral("GYOSHUKEN"), entry.prefecture);
        stored.fields.insert(QStringLiteral("GYOSHUGYOSHU"), entry.industry);
        stored.cities = entry.cities;
        return stored;
    }

    static Entry fromStored(const StoredEntry& stored) {
        return {stored.fields.value(QStringLiteral("GYOSHUKEN")), stored.cities,
                stored.fields.value(QStringLiteral("GYOSHUGYOSHU"))};
    }
};

struct PhoneKind {
    using Entry = QString;

    static const Layout& layout() {
        static const Layout layout{
            {QStringLiteral("TELNO")}, QString(), 0, QStringLiteral("TELNOLASTFIND")};
        return layout;
    }

    static Entry normalized(const Entry& in) { return fitText(in); }

    static StoredEntry toStored(const Entry& entry) {
        StoredEntry stored;
        stored.fields.insert(QStringLiteral("TELNO"), entry);
        return stored;
    }

    static Entry fromStored(const StoredEntry& stored) {
        return stored.fields.value(QStringLiteral("TELNO"));
    }
};

QString phoneEntryText(const PhoneConditions& conditions) {
    return PhoneKind::normalized(conditions.number + u' ' + conditions.name);
}

// --- Reading and writing a list kind ------------------------------------------------------------

StoredEntry readEntry(SettingsStore& store, RegHandle& handle, const Layout& layout, int index) {
    StoredEntry entry;
    for (const QString& field : layout.fields) {
        QString text;
        if (store.RegValueGet(handle, valueName(field, index), text) == 0)
            entry.fields.insert(field, text);
    }
    for (int slot = 0; slot < layout.maxSlots; ++slot) {
        QString city;
        if (store.RegValueGet(handle, slotName(layout, slot, index), city) != 0 || city.isEmpty())
            break;
        entry.cities.append(city);
    }
    return entry;
}

// Reads the kind's entries. An index whose key field is empty is no entry and is skipped, so
// the list holds the stored entries in order without gaps; the next write closes the gap in
// the store too. The pointer, when it names a stored entry, is turned into that entry's
// place in the list. Returns 0, or 1 when the MRU key cannot be opened.
template <typename Kind>
int loadList(SettingsStore& store, QList<typename Kind::Entry>& list, QString& lastFind) {
    list.clear();
    lastFind.clear();
    const Layout& layout = Kind::layout();
    RegHandle handle;
    if (store.RegKeyOpen(kMruKey, 1, handle) != 0)
        return 1;
    QList<int> storedIndex;
    for (int n = 0; n < HistoryStore::kMaxEntries; ++n) {
        const StoredEntry entry = readEntry(store, handle, layout, n);
        if (entry.fields.value(layout.keyField()).isEmpty())
            continue;
        list.append(Kind::fromStored(entry));
        storedIndex.append(n);
    }
    store.RegValueGet(handle, layout.lastFind, lastFind);
    store.RegKeyClose(handle);
    bool numeric = false;
    const int last = lastFind.trimmed().toInt(&numeric);
    const qsizetype place = numeric ? storedIndex.indexOf(last) : -1;
    if (place >= 0 && place != last)
        lastFind = QString::number(place);
    return 0;
}

// Where the city slots of each entry index stand now, so that a rewrite removes exactly
// the slots it no longer uses, wherever they are.
std::array<QList<int>, HistoryStore::kMaxEntries>
presentSlots(SettingsStore& store, RegHandle& handle, const Layout& layout) {
    std::array<QList<int>, HistoryStore::kMaxEntries> usedSlots;
    if (layout.slotBase.isEmpty())
        return usedSlots;
    for (const QString& name : store.RegValueNames(handle)) {
        int slot = 0;
        int index = 0;
        if (parseSlotName(layout, name, slot, index))
            usedSlots[index].append(slot);
    }
    return usedSlots;
}

// Rewrites every entry index of the kind from the list; indexes past the list lose all their
// values. Single failed writes are passed over: the caller reads the kind back.
void writeList(SettingsStore& store, RegHandle& handle, const Layout& layout,
               const QList<StoredEntry>& entries) {
    const auto usedSlots = presentSlots(store, handle, layout);
    for (int n = 0; n < HistoryStore::kMaxEntries; ++n) {
        const StoredEntry empty;
        const StoredEntry& entry = n < entries.size() ? entries.at(n) : empty;
        for (const QString& field : layout.fields) {
            const auto it = entry.fields.constFind(field);
            if (it != entry.fields.cend())
                store.RegValuePut(handle, valueName(field, n), *it);
            else
                store.RegValueDelete(handle, valueName(field, n));
        }
        for (qsizetype slot = 0; slot < entry.cities.size(); ++slot)
            store.RegValuePut(handle, slotName(layout, static_cast<int>(slot), n),
                              entry.cities.at(slot));
        for (const int slot : usedSlots.at(n)) {
            if (slot >= entry.cities.size())
                store.RegValueDelete(handle, slotName(layout, slot, n));
        }
    }
}

template <typename Kind> QList<StoredEntry> storedForm(const QList<typename Kind::Entry>& list) {
    QList<StoredEntry> stored;
    for (const typename Kind::Entry& entry : list)
        stored.append(Kind::toStored(entry));
    return stored;
}

// After a rewrite the stored pointer must name the same search as the pointer read (which
// loadList already moved past any gap): it moves down when an older entry was removed,
// and is removed with its own entry.
void keepPointer(SettingsStore& store, RegHandle& handle, const Layout& layout,
                 const QString& lastFind, int removed) {
    bool numeric = false;
    const int last = lastFind.trimmed().toInt(&numeric);
    if (!numeric)
        return;
    if (last == removed) {
        store.RegValueDelete(handle, layout.lastFind);
        return;
    }
    const QString moved = QString::number(removed >= 0 && last > removed ? last - 1 : last);
    QString stored;
    store.RegValueGet(handle, layout.lastFind, stored);
    if (stored != moved)
        store.RegValuePut(handle, layout.lastFind, moved);
}

// Adds the (normalised) entry as the newest to the list just read; returns its index or -1.
template <typename Kind>
int addEntry(SettingsStore& store, QList<typename Kind::Entry>& list, QString& lastFind,
             const typename Kind::Entry& entry) {
    const bool full = list.size() == HistoryStore::kMaxEntries;
    if (full)
        list.removeFirst();
    list.append(entry);
    RegHandle handle;
    int rc = MruKeyCreate(store, handle);
    if (rc == 0) {
        writeList(store, handle, Kind::layout(), storedForm<Kind>(list));
        keepPointer(store, handle, Kind::layout(), lastFind, full ? 0 : -1);
        rc = store.RegKeyFlushClose(handle);
    }
    if (rc != 0) {
        loadList<Kind>(store, list, lastFind);
        return -1;
    }
    return static_cast<int>(list.size()) - 1;
}

// Removes entry index and keeps the pointer on the search it named: an older entry's removal
// moves it down with its entry, the removal of its own entry removes it.
template <typename Kind>
int removeEntry(SettingsStore& store, QList<typename Kind::Entry>& list, QString& lastFind,
                int index) {
    loadList<Kind>(store, list, lastFind);
    if (index < 0 || index >= list.size())
        return 1;
    list.removeAt(index);
    const Layout& layout = Kind::layout();
    RegHandle handle;
    int rc = MruKeyCreate(store, handle);
    if (rc == 0) {
        writeList(store, handle, layout, storedForm<Kind>(list));
        keepPointer(store, handle, layout, lastFind, index);
        rc = store.RegKeyFlushClose(handle);
    }
    loadList<Kind>(store, list, lastFind);
    return rc == 0 ? 0 : 1;
}

int writeLastFind(SettingsStore& store, const Layout& layout, int index) {
    RegHandle handle;
    if (MruKeyCreate(store, handle) != 0)
        return 1;
    const int rc = store.RegValueSet(handle, layout.lastFind, QString::number(index));
    store.RegKeyClose(handle);
    return rc;
}

// The phone and industry pointer: the newest entry when none is stored.
int listPointer(const QString& stored, qsizetype count) {
    if (stored.trimmed().isEmpty())
        return count > 0 ? static_cast<int>(count) - 1 : 0;
    return TextToInt(stored);
}

template <typename Entry> bool entryAt(const QList<Entry>& list, int index, Entry& out) {
    if (index < 0 || index >= list.size())
        return false;
    out = list.at(index);
    return true;
}

} // namespace

HistoryStore::HistoryStore(SettingsStore& store) : store_(store) {}

// --- Loading -----------------------------------------------------------------------------------

int HistoryStore::Load104History() {
    return loadList<Area104Kind>(store_, area104_, area104Last_);
}

int HistoryStore::LoadIndustryHistory() {
    return loadList<IndustryKind>(store_, industry_, industryLast_);
}

int HistoryStore::LoadPhoneHistory() {
    return loadList<PhoneKind>(store_, phone_, phoneLast_);
}

int HistoryStore::LoadAreaAndIndustryHistories() {
    const int area = Load104History();
    const int industry = LoadIndustryHistory();
    return area == 0 && industry == 0 ? 0 : 1;
}

int HistoryStore::LoadZipConditions() {
    zip_ = ZipConditions();
    RegHandle handle;
    if (store_.RegKeyOpen(kMruKey, 1, handle) != 0)
        return 1;
    store_.RegValueGet(handle, QStringLiteral("ZIPKEN"), zip_.prefecture);
    store_.RegValueGet(handle, QStringLiteral("ZIPSIKU"), zip_.city);
    store_.RegValueGet(handle, QStringLiteral("ZIPCODE"), zip_.code);
    store_.RegValueGet(handle, QStringLiteral("ZIPCHOMEISORT"), zip_.chomeiSort);
    store_.RegKeyClose(handle);
    return 0;
}

// --- Restoring ---------------------------------------------------------------------------------

int HistoryStore::industryLastFind() const {
    return listPointer(industryLast_, industry_.size());
}

int HistoryStore::phoneLastFind() const {
    return listPointer(phoneLast_, phone_.size());
}

bool HistoryStore::lastUsed104(Area104Conditions& out) const {
    bool numeric = false;
    const int index = area104Last_.trimmed().toInt(&numeric);
    return numeric && entryAt(area104_, index, out);
}

bool HistoryStore::lastUsedIndustry(IndustryConditions& out) const {
    return entryAt(industry_, industryLastFind(), out);
}

// --- The duplicate test ------------------------------------------------------------------------

int HistoryStore::find104History(const Area104Conditions& conditions) const {
    return static_cast<int>(area104_.indexOf(Area104Kind::normalized(conditions)));
}

int HistoryStore::findIndustryHistory(const IndustryConditions& conditions) const {
    return static_cast<int>(industry_.indexOf(IndustryKind::normalized(conditions)));
}

int HistoryStore::findPhoneHistory(const PhoneConditions& conditions) const {
    return static_cast<int>(phone_.indexOf(phoneEntryText(conditions)));
}

// --- Adding ------------------------------------------------------------------------------------

// The list is read first: the copy in memory may predate values carried over from an
// earlier version after start-up.
int HistoryStore::Save104History(const Area104Conditions& conditions) {
    Load104History();
    return addEntry<Area104Kind>(store_, area104_, area104Last_,
                                 Area104Kind::normalized(conditions));
}

int HistoryStore::SaveIndustryHistory(const IndustryConditions& conditions) {
    LoadIndustryHistory();
    return addEntry<IndustryKind>(store_, industry_, industryLast_,
                                  IndustryKind::normalized(conditions));
}

int HistoryStore::SavePhoneHistory(const PhoneConditions& conditions) {
    LoadPhoneHistory();
    return addEntry<PhoneKind>(store_, phone_, phoneLast_, phoneEntryText(conditions));
}

int HistoryStore::Save104LastFind(int index) {
    const int rc = writeLastFind(store_, Area104Kind::layout(), index);
    Load104History();
    return rc;
}

int HistoryStore::SaveIndustryLastFind(int index) {
    const int rc = writeLastFind(store_, IndustryKind::layout(), index);
    LoadIndustryHistory();
    return rc;
}

int HistoryStore::SavePhoneLastFind(int index) {
    const int rc = writeLastFind(store_, PhoneKind::layout(), index);
    LoadPhoneHistory();
    return rc;
}

int HistoryStore::record104Search(const Area104Conditions& conditions) {
    Load104History();
    int index = find104History(conditions);
    if (index < 0)
        index = addEntry<Area104Kind>(store_, area104_, area104Last_,
                                      Area104Kind::normalized(conditions));
    if (index < 0)
        return -1;
    Save104LastFind(index);
    return index;
}

int HistoryStore::recordIndustrySearch(const IndustryConditions& conditions) {
    LoadIndustryHistory();
    int index = findIndustryHistory(conditions);
    if (index < 0)
        index = addEntry<IndustryKind>(store_, industry_, industryLast_,
                                       IndustryKind::normalized(conditions));
    if (index < 0)
        return -1;
    SaveIndustryLastFind(index);
    return index;
}

int HistoryStore::recordPhoneSearch(const PhoneConditions& conditions) {
    LoadPhoneHistory();
    int index = findPhoneHistory(conditions);
    if (index < 0)
        index = addEntry<PhoneKind>(store_, phone_, phoneLast_, phoneEntryText(conditions));
    if (index < 0)
        return -1;
    SavePhoneLastFind(index);
    return index;
}

// --- Removing ----------------------------------------------------------------------------------

int HistoryStore::Delete104History(int index) {
    return removeEntry<Area104Kind>(store_, area104_, area104Last_, index);
}

int HistoryStore::DeleteIndustryHistory(int index) {
    return removeEntry<IndustryKind>(store_, industry_, industryLast_, index);
}

int HistoryStore::DeletePhoneHistory(int index) {
    return removeEntry<PhoneKind>(store_, phone_, phoneLast_, index);
}

// --- Postal-code search and the typed number -----------------------------------------------------

int HistoryStore::SaveZipConditions(const ZipScreenConditions& screen) {
    zip_.prefecture = fitText(screen.prefecture);
    zip_.city = fitText(screen.city);
    zip_.code = screen.forward ? fitText(screen.code) : QString();
    zip_.chomeiSort = screen.sortByNotation ? QStringLiteral("1") : QStringLiteral("0");
    RegHandle handle;
    if (MruKeyCreate(store_, handle) != 0)
        return 1;
    store_.RegValuePut(handle, QStringLiteral("ZIPKEN"), zip_.prefecture);
    store_.RegValuePut(handle, QStringLiteral("ZIPSIKU"), zip_.city);
    store_.RegValuePut(handle, QStringLiteral("ZIPCODE"), zip_.code);
    store_.RegValuePut(handle, QStringLiteral("ZIPCHOMEISORT"), zip_.chomeiSort);
    return store_.RegKeyFlushClose(handle);
}

QString HistoryStore::LoadFindTelNo() {
    findTelNo_.clear();
    RegHandle handle;
    if (store_.RegKeyOpen(kMruKey, 1, handle) == 0) {
        store_.RegValueGet(handle, QStringLiteral("FINDTELNO"), findTelNo_);
        store_.RegKeyClose(handle);
    }
    return findTelNo_;
}

int HistoryStore::SaveFindTelNo(const QString& number) {
    findTelNo_ = fitText(number);
    RegHandle handle;
    if (MruKeyCreate(store_, handle) != 0)
        return 1;
    const int rc = store_.RegValueSet(handle, QStringLiteral("FINDTELNO"), findTelNo_);
    store_.RegKeyClose(handle);
    return rc;
}

} // namespace pikotel
