#pragma once

// The telephone directory as the program reaches it: where the dictionary lives (the "DIC"
// folder of the program folder, or the CD-ROM root), which of the two engines is open, the
// engine blocks, the area list and the hits of the last number search. One object per run;
// the application context owns it.
//
// The open sequence tries the first engine (dxs4, "dxs9999.dct") and, on a CD-ROM that
// holds "XCHDB.DIC", the alternate engine (xchdb). Every engine opened here is closed
// here: on re-opening, when the dictionary goes away, at DicClose and in the destructor.
//
// Messages go through MyMsgBoxShow with the application title.

#include "directory/dirrecord.h"

#include "dxs4.h"
#include "xchdb.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

namespace pikotel {

class Clock;
class DriveTable;
class Environment;

inline const QString kDxsDicFile = QStringLiteral("dxs9999.dct");
inline const QString kXchDicFile = QStringLiteral("XCHDB.DIC");
inline const QString kDxsDeltaFile = QStringLiteral("DXS5001.dct");
inline const QString kXchDeltaFile = QStringLiteral("xchdbad.dic");

// searchCity's result when the dictionary changed on disk and no longer opens: the message
// " 電話帳辞書をセットしてください。" has been shown, the caller shows nothing more.
inline constexpr int kCitySearchDictionaryGone = -2;

// What tells one version of a file from another: a copy over it in place changes its size
// or modification time, a replacement by rename its inode. A missing file has no identity.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;

    static FileIdentity of(const QString& path);
};

// One city's listings as the 104-style and the industry search ask for them.
struct CityCondition {
    enum PersonKind : qint32 { Individual = 1, Corporate = 2 };

    qint32 cityCode = 0;
    PersonKind personKind = Corporate;
    // "*" stands for any run of characters, everything else for itself. An individual's
    // listing also matches by its reading.
    QString namePattern{};
    // Towns beginning with this text; empty for every town.
    QString town{};
    // At most this many hits from the first engine (the alternate one takes no limit); 0 all.
    qint32 hitLimit = 0;
    // The industry search keeps the numbers the correction table drops; it takes only the
    // table's corrections.
    bool applyDrops = true;
};

// Receives one hit of a city search, which it may take its texts from; false ends the search.
using CityHitVisitor = std::function<bool(DirRecord&& hit)>;

class Directory {
public:
    // Reads DICDRIVE, CDDRIVE and XCHDBADD from env at every open, so a saved settings
    // change takes effect at the next open. The clock paces the alternate engine's retries.
    Directory(Environment& env, const DriveTable& drives, Clock& clock, QString programFolder);
    ~Directory();
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // 0 the first engine is open, 1 the alternate engine, -1 none. Searches pick their
    // engine calls by it.
    qint16 dicKind() const { return dicKind_; }
    // True once an engine was opened; DicOpen does nothing while it is set.
    bool isOpened() const { return dicOpened_; }

    // --- Opening and closing -------------------------------------------------------------

    // Opens the first engine and builds the area list: 0, or -1 (no message of its own).
    int DxsDicOpen();
    // Opens the alternate engine, retrying for up to 3 seconds while events run, and builds
    // the area list: 0 (marked open), or 1 after its own message.
    int XchDicOpen();
    // The open sequence, while not marked open: first engine, then on a CD-ROM holding
    // "XCHDB.DIC" the alternate one. With messages, failure shows the title followed by
    // " 電話帳辞書をセットしてください。"; the caller stops when dicKind() is still -1.
    void DicOpen(bool withMessages);
    // Before a search: true when the dictionary is not reachable (a message was shown).
    // A missing CD-ROM also closes the engine and resets the kind and the open mark, so the
    // next DicOpen runs the whole sequence again; so does a dictionary file that changed on
    // disk since it was opened (without a message: the next DicOpen opens the new one).
    bool DicExistChk();
    // Closes the open engines and sets the kind to -1 (program end; before settings are
    // saved).
    void DicClose();
    // After settings were saved: the open sequence again without its message, whatever the
    // open mark says; the mark is cleared when nothing opened.
    void DicReopen();

    // --- Places and drives ---------------------------------------------------------------

    // The program folder followed by "/DIC".
    QString dicFolder() const;
    // The folder of XCHDBADD: empty when it is empty, "/" when it holds no "/".
    QString deltaFolder() const;
    // 0 when folder followed by fileName names a file or folder, 1 when not (also for an
    // empty folder or name).
    static int FileExistChk(const QString& folder, const QString& fileName);
    // True when the folder lists a file named exactly fileName (letter case counts).
    static bool ExactFileExists(const QString& folder, const QString& fileName);
    // The root of the first CD-ROM, or "/media/cdrom/".
    QString GetCdromDrive() const;
    // 0 for a fixed disk, 1 for anything else.
    int ChkHddDrive(const QString& driveRoot) const;
    // 0 for a CD-ROM, 1 for anything else.
    int ChkCdromDrive(const QString& driveRoot) const;
    // 2 removable, 3 fixed, 0 anything else.
    int GetDriveKind(const QString& driveRoot) const;

    // --- Area list -----------------------------------------------------------------------

    // Builds the area list from the first engine's information block: 0, or -1 after the
    // message "市区町村データの取得に失敗しました。（DXS4）".
    int DxsAreaListSet();
    const AreaList& areaList() const { return areaList_; }
    qint32 areaCount() const { return static_cast<qint32>(areaList_.size()); }
    // The first entry with the code gives the name; "" when the code is not listed.
    QString GetTodoufukenName(qint32 cityCode) const;
    QString GetSikuchousonName(qint32 cityCode) const;
    // Every entry of the prefecture, in list order.
    AreaList citiesOfPrefecture(int prefNo) const;
    // One item each time the prefecture number changes along the list.
    QList<PrefectureItem> prefectures() const;

    // --- Number search -------------------------------------------------------------------

    // Every search first makes sure the open dictionary is the file on disk: one that was
    // replaced, rewritten or truncated since it was opened is never read through its old
    // mapping (a page past a new end would kill the program) but opened again, and when it
    // no longer opens the search ends after the open sequence's message.

    // Number search on the first engine: 0 found, 1 not found (after a message for results
    // -1, -3, -4 and -5). The number is searched without hyphens and up to a "|".
    int DxsTelSearch(const QString& telNo);
    // The same on the alternate engine.
    int XchTelSearch(const QString& telNo);
    // The engine dicKind() names, then ResultOverride: a drop row makes the number not
    // found, a replace row corrects the first hit.
    int TelSearchWithOverride(const QString& telNo);
    // The hits of the last number search; an index whose fetch failed holds empty texts.
    const QList<DirRecord>& telResult() const { return telResult_; }
    qint32 telCount() const { return telCount_; }

    // --- City search ---------------------------------------------------------------------

    // The listings of one city through the open engine, each hit handed to the visitor in
    // the engine's order with the correction table applied. Events run before each fetch.
    // Returns the first engine's search result: 0, or its negative code for the caller's
    // message (-1 also when no engine is open), or kCitySearchDictionaryGone. The alternate
    // engine's failures were never reported: a failed search there returns 0 without hits.
    int searchCity(const CityCondition& condition, const CityHitVisitor& visit);

    // --- Dictionary information ----------------------------------------------------------

    // The first engine's dictionary date, "YYYY/MM/DD hh:mm:ss" (UTC); empty unless open.
    QString dxsBuildDate() const;

private:
    // A file an open engine reads, as it was when the engine opened it.
    struct OpenedFile {
        QString path;
        FileIdentity identity;
    };

    void openEngines();
    void closeEngines();
    static QList<OpenedFile> identities(const QStringList& paths);
    static bool unchanged(const QList<OpenedFile>& files);
    // True when the open engine's files are still those it opened.
    bool filesUnchanged() const;
    // Closes the engines when their files changed (and clears the kind and the open mark), so
    // that the next open sequence opens the files as they are now; true when it did.
    bool closeChangedEngines();
    // Before a search: reopens a dictionary that changed on disk; false when none is open
    // afterwards (the open sequence showed its message).
    bool reopenIfChanged();
    void closeDxs();
    void closeXch();
    int xchAreaListSet(qint32 count);
    // The area list, and for each city code its first entry.
    void setAreaList(AreaList list);
    const AreaEntry* areaEntry(qint32 cityCode) const;
    QString cdRoot() const;
    void clearTelResult();
    int dxsSearchCity(const CityCondition& condition, const CityHitVisitor& deliver);
    void xchSearchCity(const CityCondition& condition, const CityHitVisitor& deliver);
    // A hit of the alternate engine, prefecture and city through the area list. The postal
    // code is read by its length, or (number search) as the whole field trimmed.
    DirRecord DirRecordFromXch(const XchResultRec& rec, bool zipWholeField = false) const;

    Environment& env_;
    const DriveTable& drives_;
    Clock& clock_;
    QString programFolder_;

    qint16 dicKind_ = -1;
    bool dicOpened_ = false;
    DxsDicHandle dxsDic_{};
    DxsSearchHandle dxsSearch_{};
    DxsDicInfo dxsInfo_{};
    bool dxsOpen_ = false;
    bool dxsSearchAssigned_ = false;
    XchHandle xchHandle_ = 0;
    bool xchOpen_ = false;
    QList<OpenedFile> dxsFiles_;
    QList<OpenedFile> xchFiles_;

    AreaList areaList_;
    QHash<qint32, qsizetype> areaIndex_;
    QList<DirRecord> telResult_;
    qint32 telCount_ = 0;
};

} // namespace pikotel
