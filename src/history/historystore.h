#pragma once

// The search history: the conditions of past searches, kept as text values in the MRU key
// of the per-user settings store beside the original industries (whose values this store
// never writes or removes).
//
// Three searches keep a list of at most five entries, oldest first, with a pointer to the
// entry used last ("LASTFIND"): the phone-number search, the 104-style search and the
// industry search. The postal-code search keeps only its last conditions, and the
// phone-number search also the number last typed.
//
// Value names (n = entry index 0..4; jj = city slot with at least two digits: 00..99, 100..):
//
//   phone     TELNO(n)             number, one blank, name
//             TELNOLASTFIND        decimal index
//             FINDTELNO            the number last typed, as typed
//   104-style 104CHK(n)            "1" normal search, "2" wide-area search
//             104KEN(n)            prefecture of a normal search
//             104SIKU(n)           its one city
//             104KENEX(n)          prefecture of a wide-area search
//             104SIKUEXjj(n)       its cities, slots 00..450
//             104CHOUIKI(n)        town name, may be empty
//             104HOJINKOJIN(n)     "1" company name, "2" personal name
//             104KAISHA(n)         company name
//             104SEI(n) 104MEI(n)  surname, given name
//             104LASTFIND          decimal index, kept as the stored text
//   industry  GYOSHUKEN(n)         prefecture
//             GYOSHUSIKUjj(n)      cities, slots 00..449
//             GYOSHUGYOSHU(n)      industry as listed on the industry screen
//             GYOLASTFIND          decimal index
//   postal    ZIPKEN ZIPSIKU ZIPCODE ZIPCHOMEISORT
//
// An entry exists when its key field (TELNO, 104CHK, GYOSHUKEN) is not empty. City slots are
// contiguous from 00; readers stop at the first absent or empty slot. Of the 104-style pairs
// (104KEN/104SIKU vs 104KENEX/104SIKUEX, 104KAISHA vs 104SEI/104MEI) only the one the entry
// means is stored; the other is removed whenever the entry is written.
//
// Every change of a list (a search adding an entry, the history dialog removing one) rewrites
// all entries of that kind from memory in one commit and removes the values it freed, so the
// store never holds stale city slots or half of a shift. Texts longer than 255 cp932 bytes
// are cut at a character boundary: the store's value listing stops at a longer value, and
// the original industries are read through that listing.
//
// Failures of single reads and writes are not reported to the user; a list kind whose write
// failed is read back from the store, so memory shows what was kept.

#include "settings/regstore.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pikotel {

// Conditions of a 104-style search, as its screen holds them. Filled by the screen for
// saving, and filled from the history for restoring.
struct Area104Conditions {
    // false: normal search (通常検索), one city; true: wide-area search (広域検索).
    bool wideArea = false;
    QString prefecture;
    // Normal search: the city box text. Empty for a wide-area search.
    QString city;
    // Wide-area search: the selected cities in list order (at most 451 are kept).
    QStringList cities;
    // Town name box, may be empty.
    QString town;
    // false: a personal name was searched (個人名を入力); true: a company name (法人名を入力).
    bool company = false;
    QString companyName; // company only
    QString surname;     // personal only
    QString givenName;   // personal only

    bool operator==(const Area104Conditions&) const = default;
};

// Conditions of an industry search.
struct IndustryConditions {
    QString prefecture;
    // Selected cities in list order (at most 450 are kept).
    QStringList cities;
    // The industry as listed on the industry screen (an original industry with its "※").
    QString industry;

    bool operator==(const IndustryConditions&) const = default;
};

// Conditions of a phone-number search; stored as number + " " + name.
struct PhoneConditions {
    // The searched number as the phone-number search normalised it.
    QString number;
    // The name box text.
    QString name;
};

// The postal-code values as stored, texts under their stored names.
struct ZipConditions {
    QString prefecture;                       // "ZIPKEN"
    QString city;                             // "ZIPSIKU"
    QString code;                             // "ZIPCODE"
    QString chomeiSort = QStringLiteral("0"); // "ZIPCHOMEISORT", "0" when absent
};

// What the postal-code screen hands over when it saves its conditions.
struct ZipScreenConditions {
    QString prefecture; // prefecture list's current text
    QString city;       // city list's current text
    // true: forward search 正引き（郵便番号→住所）; the code is then stored, else "ZIPCODE" is
    // stored empty.
    bool forward = false;
    QString code;                // postal code box text
    bool sortByNotation = false; // 表記順に並替え
};

class HistoryStore {
public:
    static constexpr int kMaxEntries = 5;
    static constexpr int kMax104Cities = 451;
    static constexpr int kMaxIndustryCities = 450;
    // Longest stored text in cp932 bytes (without the NUL).
    static constexpr int kMaxTextBytes = 255;

    // The store must outlive this object. Nothing is read until a Load operation runs.
    explicit HistoryStore(SettingsStore& store);

    // --- Loading (start-up, the history dialog) --------------------------------------------
    // Each reads its kind into memory: 0 read, 1 the MRU key could not be opened (the kind
    // is then empty). Start-up loads the 104-style and industry histories first, then the
    // phone-number history, then the postal-code values.
    int Load104History();
    int LoadIndustryHistory();
    int LoadPhoneHistory();
    int LoadZipConditions();
    // Load104History then LoadIndustryHistory; 0 when both were read.
    int LoadAreaAndIndustryHistories();

    // --- The lists in memory -----------------------------------------------------------------
    // Oldest first, at most five; the dialog lists them in this order.
    const QList<Area104Conditions>& area104History() const { return area104_; }
    const QList<IndustryConditions>& industryHistory() const { return industry_; }
    // Each entry as stored: number, one blank, name.
    const QStringList& phoneHistory() const { return phone_; }

    // The 104-style pointer as stored: empty when absent (then nothing is restored).
    const QString& area104LastFind() const { return area104Last_; }
    // The industry and phone pointers; when absent, the newest entry (0 with none).
    int industryLastFind() const;
    int phoneLastFind() const;

    // The entry the pointer names, for restoring a screen; false (out untouched) when the
    // pointer names no existing entry.
    bool lastUsed104(Area104Conditions& out) const;
    bool lastUsedIndustry(IndustryConditions& out) const;

    // --- Recording a search ------------------------------------------------------------------
    // The duplicate test: index of the stored entry with equal conditions, -1 when none.
    // Cities are compared as whole lists: a search over fewer cities than a stored entry is a
    // different search. The fields a 104-style entry does not mean are not compared.
    int find104History(const Area104Conditions& conditions) const;
    int findIndustryHistory(const IndustryConditions& conditions) const;
    int findPhoneHistory(const PhoneConditions& conditions) const;

    // Adds the conditions as the newest entry, dropping the oldest when five are stored.
    // The kind is read from the store first, so stored entries are never overwritten.
    // Returns the index written (the new last-used index), -1 when nothing could be written.
    // The pointer stays on the search it named (down one place when the oldest is dropped);
    // the Save...LastFind operation then points it at the new entry.
    int Save104History(const Area104Conditions& conditions);
    int SaveIndustryHistory(const IndustryConditions& conditions);
    int SavePhoneHistory(const PhoneConditions& conditions);

    // Write the kind's LASTFIND value in decimal, then read the kind again. 0 written.
    int Save104LastFind(int index);
    int SaveIndustryLastFind(int index);
    int SavePhoneLastFind(int index);

    // One search, as the searches record it: an equal entry only gets the pointer; otherwise
    // the conditions are added and the pointer set to them. Returns the last-used index, or
    // -1 when the history could not be written.
    int record104Search(const Area104Conditions& conditions);
    int recordIndustrySearch(const IndustryConditions& conditions);
    int recordPhoneSearch(const PhoneConditions& conditions);

    // --- Removing (the history dialog) -------------------------------------------------------
    // Removes entry index; the later entries move down one place. The pointer keeps naming
    // the same search: it moves down with its entry, and is removed when its own entry is
    // removed. The kind is read again afterwards. 0 removed; 1 no such entry or not written.
    int Delete104History(int index);
    int DeleteIndustryHistory(int index);
    int DeletePhoneHistory(int index);

    // --- Postal-code search ------------------------------------------------------------------
    // Writes the four values and keeps them in memory. 0 written, 1 failure.
    int SaveZipConditions(const ZipScreenConditions& screen);
    // In memory; start-up clears or sets the prefecture to choose the postal screen's mode.
    ZipConditions& zipConditions() { return zip_; }
    const ZipConditions& zipConditions() const { return zip_; }

    // --- The number last typed on the phone-number screen ------------------------------------
    // Reads "FINDTELNO" (empty when absent), keeps it in memory and returns it.
    QString LoadFindTelNo();
    // Writes "FINDTELNO" and keeps it in memory. 0 written, 1 failure.
    int SaveFindTelNo(const QString& number);
    const QString& findTelNo() const { return findTelNo_; }

private:
    SettingsStore& store_;
    QList<Area104Conditions> area104_;
    // The pointers as read (empty when absent).
    QString area104Last_;
    QList<IndustryConditions> industry_;
    QString industryLast_;
    QStringList phone_;
    QString phoneLast_;
    ZipConditions zip_;
    QString findTelNo_;
};

} // namespace pikotel
