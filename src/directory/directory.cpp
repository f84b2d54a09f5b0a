#include "directory/directory.h"

#include "directory/resultoverride.h"

#include "common/cp932.h"
#include "common/texthelpers.h"
#include "platform/drives.h"
#include "platform/messages.h"
#include "platform/services.h"
#include "settings/environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace pikotel {

namespace {

// The alternate engine answers a CD-ROM that is still spinning up with failures: open is
// retried for 3 seconds with a 1-second pause, each city of the area table for 4 seconds.
constexpr qint64 kXchOpenRetryMs = 3000;
constexpr int kXchOpenPauseMs = 1000;
constexpr qint64 kXchAreaRetryMs = 4000;
// Between two failed area fetches: short enough to feel immediate, long enough not to
// spin the processor for the whole 4 seconds.
constexpr int kXchAreaPauseMs = 100;
// Pending events run before every this many fetches of a city's hits: often enough for the
// stop button, rarely enough that a run over many hits is not spent polling.
constexpr int32_t kFetchesPerEventRun = 64;

// The out-of-memory error as the program reports unexpected errors.
constexpr int kOutOfMemoryError = 7;
const QString kOutOfMemoryText = QStringLiteral("メモリが不足しています。");

QString joinPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// Copies a path into a fixed field of the alternate engine's open record, padded with
// blanks; false when its bytes (in the file system's encoding) do not fit.
bool putFixedPath(char* field, qsizetype width, qint32& length, const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() > width)
        return false;
    std::memset(field, ' ', static_cast<std::size_t>(width));
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    length = static_cast<qint32>(bytes.size());
    return true;
}

// Fills a fixed text field of the alternate engine's condition. A text longer than the field
// is cut there but keeps its whole length, so the engine refuses it rather than search for
// a part.
void putFixedText(char* field, qsizetype width, qint32& length, const QByteArray& bytes) {
    std::memset(field, ' ', static_cast<std::size_t>(width));
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(qMin(bytes.size(), width)));
    length = static_cast<qint32>(bytes.size());
}

void showXchOpenFailure(const Environment& env) {
    if (!env.firstChoice(EnvKey::DicDrive))
        MyMsgBoxShow(QStringLiteral("ＣＤ－ＲＯＭがセットされていないか、\r\n"
                                    "電話帳辞書の指定に誤りがあります。"),
                     MsgOk);
    else
        MyMsgBoxShow(QStringLiteral("ハードディスクドライブに電話帳辞書がありません。"), MsgOk);
}

} // namespace

FileIdentity FileIdentity::of(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return FileIdentity{true, static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino),
                        static_cast<qint64>(info.st_size),
                        static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 +
                            info.st_mtim.tv_nsec};
}

Directory::Directory(Environment& env, const DriveTable& drives, Clock& clock,
                     QString programFolder)
    : env_(env), drives_(drives), clock_(clock), programFolder_(std::move(programFolder)) {}

Directory::~Directory() {
    closeEngines();
}

// --- Opening and closing ---------------------------------------------------------------

int Directory::DxsDicOpen() {
    closeDxs();
    try {
        const QString drive = env_.text(EnvKey::DicDrive);
        QByteArray hdd;
        QByteArray cdrom;
        QString folder;
        if (drive == QLatin1String("0")) {
            folder = dicFolder();
            hdd = QFile::encodeName(folder);
        } else if (drive == QLatin1String("1")) {
            folder = cdRoot();
            cdrom = QFile::encodeName(folder);
            if (FileExistChk(cdRoot(), kDxsDicFile) == 1)
                return -1;
        }
        const QByteArray delta = QFile::encodeName(deltaFolder());
        // Taken before the engine maps the files: a change while it opens shows at the next
        // search.
        QList<OpenedFile> files = identities(
            {folder.isEmpty() ? QString() : joinPath(folder, kDxsDicFile),
             deltaFolder().isEmpty() ? QString() : joinPath(deltaFolder(), kDxsDeltaFile)});
        const DxsOpenRec open{static_cast<int32_t>(hdd.size()),   hdd.constData(),
                              static_cast<int32_t>(cdrom.size()), cdrom.constData(),
                              static_cast<int32_t>(delta.size()), delta.constData()};
        if (Dxs4_OpenDic(&open, &dxsDic_, &dxsInfo_) != 0)
            return -1;
        dxsOpen_ = true;
        dxsFiles_ = std::move(files);
        if (Dxs4_AssignSearchHandle(&dxsDic_, &dxsSearch_) != 0) {
            closeDxs();
            return -1;
        }
        dxsSearchAssigned_ = true;
        if (DxsAreaListSet() != 0) {
            closeDxs();
            return -1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        closeDxs();
        ShowUnexpectedError(kOutOfMemoryError, kOutOfMemoryText);
        return -1;
    }
}

int Directory::XchDicOpen() {
    dicOpened_ = false;
    closeXch();
    XchOpenRec open{};
    const QString folder = !env_.firstChoice(EnvKey::DicDrive) ? cdRoot() : dicFolder();
    // A path the record cannot hold will not open however long we wait.
    if (!putFixedPath(open.dictPath, sizeof open.dictPath, open.dictPathLength, folder) ||
        !putFixedPath(open.deltaPath, sizeof open.deltaPath, open.deltaPathLength, deltaFolder())) {
        showXchOpenFailure(env_);
        return 1;
    }
    QList<OpenedFile> files =
        identities({joinPath(folder, kXchDicFile),
                    deltaFolder().isEmpty() ? QString() : joinPath(deltaFolder(), kXchDeltaFile)});
    XchHandle handle = 0;
    int16_t result = hXchDB_Open(&open, &handle);
    if (result != 0) {
        const qint64 start = clock_.monotonicMs();
        while (result != 0 && clock_.monotonicMs() - start <= kXchOpenRetryMs) {
            result = hXchDB_Open(&open, &handle);
            clock_.waitProcessingEvents(kXchOpenPauseMs);
        }
    }
    if (result != 0) {
        showXchOpenFailure(env_);
        return 1;
    }
    xchHandle_ = handle;
    xchOpen_ = true;
    xchFiles_ = std::move(files);
    if (xchAreaListSet(open.areaCount) != 0) {
        closeXch();
        showXchOpenFailure(env_);
        return 1;
    }
    dicOpened_ = true;
    // Opened alone (from the menu bar) it is the engine the searches must use.
    if (dicKind_ == -1)
        dicKind_ = 1;
    return 0;
}

void Directory::DicOpen(bool withMessages) {
    if (dicOpened_)
        return;
    // Not marked open, so whatever engine is still open belongs to a dictionary that went
    // away.
    closeEngines();
    openEngines();
    if (dicKind_ == -1 && withMessages)
        MyMsgBoxShow(kAppTitle + QStringLiteral(" 電話帳辞書をセットしてください。"), MsgOk);
}

void Directory::openEngines() {
    dicKind_ = -1;
    if (DxsDicOpen() == 0) {
        dicKind_ = 0;
        dicOpened_ = true;
    }
    if (!env_.firstChoice(EnvKey::DicDrive) && dicKind_ == -1 &&
        FileExistChk(cdRoot(), kXchDicFile) == 0) {
        if (XchDicOpen() == 0) {
            dicKind_ = 1;
            dicOpened_ = true;
        }
    }
}

bool Directory::DicExistChk() {
    // With no engine open either dictionary will do: the open sequence that follows tries
    // both.
    QStringList names;
    if (dicKind_ != 1)
        names.append(kDxsDicFile);
    if (dicKind_ != 0)
        names.append(kXchDicFile);

    if (!env_.firstChoice(EnvKey::DicDrive)) {
        const QString root = cdRoot();
        for (const QString& name : names) {
            if (FileExistChk(root, name) == 0) {
                closeChangedEngines();
                return false;
            }
        }
        MyMsgBoxShow(kAppTitle + QStringLiteral(" 電話帳辞書ＣＤ－ＲＯＭをセットしてください。"),
                     MsgOk);
        // The engine's file is gone with the disc: nothing may read it any more.
        closeEngines();
        dicKind_ = -1;
        dicOpened_ = false;
        return true;
    }
    const QString folder = dicFolder();
    for (const QString& name : names) {
        if (ExactFileExists(folder, name)) {
            closeChangedEngines();
            return false;
        }
    }
    MyMsgBoxShow(QStringLiteral("ハードディスクドライブに電話帳辞書がありません。\r\n"
                                "環境設定を確認してください。"),
                 MsgOk);
    return true;
}

void Directory::DicClose() {
    closeEngines();
    dicKind_ = -1;
}

void Directory::DicReopen() {
    closeEngines();
    openEngines();
    if (dicKind_ == -1)
        dicOpened_ = false;
}

void Directory::closeEngines() {
    closeDxs();
    closeXch();
}

void Directory::closeDxs() {
    if (dxsSearchAssigned_)
        Dxs4_ReleaseSearchHandle(&dxsSearch_);
    if (dxsOpen_)
        Dxs4_CloseDic(&dxsDic_);
    dxsSearchAssigned_ = false;
    dxsOpen_ = false;
    dxsFiles_.clear();
    dxsSearch_ = {};
    dxsDic_ = {};
    dxsInfo_ = {};
}

void Directory::closeXch() {
    if (xchOpen_)
        hXchDB_Close(xchHandle_);
    xchOpen_ = false;
    xchHandle_ = 0;
    xchFiles_.clear();
}

QList<Directory::OpenedFile> Directory::identities(const QStringList& paths) {
    QList<OpenedFile> files;
    for (const QString& path : paths) {
        if (!path.isEmpty())
            files.append({path, FileIdentity::of(path)});
    }
    return files;
}

bool Directory::unchanged(const QList<OpenedFile>& files) {
    return std::all_of(files.begin(), files.end(), [](const OpenedFile& file) {
        return FileIdentity::of(file.path) == file.identity;
    });
}

bool Directory::filesUnchanged() const {
    return (!dxsOpen_ || unchanged(dxsFiles_)) && (!xchOpen_ || unchanged(xchFiles_));
}

bool Directory::closeChangedEngines() {
    if (filesUnchanged())
        return false;
    closeEngines();
    dicKind_ = -1;
    dicOpened_ = false;
    return true;
}

bool Directory::reopenIfChanged() {
    if (!closeChangedEngines())
        return true;
    DicOpen(true);
    return dicKind_ != -1;
}

// --- Places and drives -------------------------------------------------------------------

QString Directory::dicFolder() const {
    return joinPath(programFolder_, QStringLiteral("DIC"));
}

QString Directory::deltaFolder() const {
    return ParentFolder(env_.text(EnvKey::XchdbAdd));
}

QString Directory::cdRoot() const {
    return env_.text(EnvKey::CdDrive);
}

int Directory::FileExistChk(const QString& folder, const QString& fileName) {
    // An empty folder would make the look-up relative to wherever the process stands.
    if (folder.isEmpty() || fileName.isEmpty())
        return 1;
    return QFileInfo::exists(joinPath(folder, fileName)) ? 0 : 1;
}

bool Directory::ExactFileExists(const QString& folder, const QString& fileName) {
    if (folder.isEmpty() || fileName.isEmpty())
        return false;
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    return names.contains(fileName, Qt::CaseSensitive);
}

QString Directory::GetCdromDrive() const {
    return drives_.firstCdromRoot();
}

int Directory::ChkHddDrive(const QString& driveRoot) const {
    return drives_.driveType(driveRoot) == DriveFixed ? 0 : 1;
}

int Directory::ChkCdromDrive(const QString& driveRoot) const {
    return drives_.driveType(driveRoot) == DriveCdrom ? 0 : 1;
}

int Directory::GetDriveKind(const QString& driveRoot) const {
    const int type = drives_.driveType(driveRoot);
    return type == DriveRemovable || type == DriveFixed ? type : 0;
}

// --- Area list -----------------------------------------------------------------------------

int Directory::DxsAreaListSet() {
    const auto fail = [] {
        MyMsgBoxShow(QStringLiteral("市区町村データの取得に失敗しました。（DXS4）"), MsgOk);
        return -1;
    };
    const qint32 count = dxsInfo_.areaCount;
    if (count < 0)
        return fail();
    try {
        AreaList list(count);
        for (qint32 i = 0; i < count; ++i) {
            const DxsAreaRec* rec = dxsInfo_.areaTable ? dxsInfo_.areaTable[i] : nullptr;
            if (rec == nullptr)
                continue;
            list[i] = AreaEntry{rec->cityCode, AnsiPtrToStr(rec->prefName, -1),
                                AnsiPtrToStr(rec->cityName, -1)};
        }
        setAreaList(std::move(list));
        return 0;
    } catch (const std::bad_alloc&) {
        return fail();
    }
}

int Directory::xchAreaListSet(qint32 count) {
    // The engine addresses a city by a 16-bit index.
    if (count < 0 || count > std::numeric_limits<int16_t>::max() + 1)
        return 1;
    AreaList list(count);
    for (qint32 i = 0; i < count; ++i) {
        XchAreaRec rec{};
        const qint64 start = clock_.monotonicMs();
        int16_t result = hXchDB_GetL12(xchHandle_, static_cast<int16_t>(i), &rec);
        clock_.processEvents();
        while (result != 0) {
            // A city the engine never delivers means the disc cannot be read: give up rather
            // than wait 4 seconds for each of the remaining cities.
            if (clock_.monotonicMs() - start > kXchAreaRetryMs)
                return 1;
            clock_.waitProcessingEvents(kXchAreaPauseMs);
            result = hXchDB_GetL12(xchHandle_, static_cast<int16_t>(i), &rec);
        }
        list[i] = AreaEntry{rec.cityCode,
                            FixedFieldText(rec.prefName, sizeof rec.prefName, rec.prefNameLength),
                            FixedFieldText(rec.cityName, sizeof rec.cityName, rec.cityNameLength)};
    }
    setAreaList(std::move(list));
    return 0;
}

void Directory::setAreaList(AreaList list) {
    areaList_ = std::move(list);
    areaIndex_.clear();
    for (qsizetype i = 0; i < areaList_.size(); ++i) {
        if (!areaIndex_.contains(areaList_.at(i).cityCode))
            areaIndex_.insert(areaList_.at(i).cityCode, i);
    }
}

const AreaEntry* Directory::areaEntry(qint32 cityCode) const {
    const auto found = areaIndex_.constFind(cityCode);
    return found == areaIndex_.cend() ? nullptr : &areaList_.at(*found);
}

QString Directory::GetTodoufukenName(qint32 cityCode) const {
    const AreaEntry* e = areaEntry(cityCode);
    return e ? e->prefName : QString();
}

QString Directory::GetSikuchousonName(qint32 cityCode) const {
    const AreaEntry* e = areaEntry(cityCode);
    return e ? e->cityName : QString();
}

AreaList Directory::citiesOfPrefecture(int prefNo) const {
    AreaList out;
    for (const AreaEntry& e : areaList_) {
        if (prefectureOf(e.cityCode) == prefNo)
            out.append(e);
    }
    return out;
}

QList<PrefectureItem> Directory::prefectures() const {
    QList<PrefectureItem> out;
    for (const AreaEntry& e : areaList_) {
        const int prefNo = prefectureOf(e.cityCode);
        if (out.isEmpty() || out.last().prefNo != prefNo)
            out.append(PrefectureItem{prefNo, e.prefName});
    }
    return out;
}

// --- Number search -------------------------------------------------------------------------

void Directory::clearTelResult() {
    telResult_.clear();
    telCount_ = 0;
}

int Directory::DxsTelSearch(const QString& telNo) {
    clearTelResult();
    if (!reopenIfChanged())
        return 1;
    const QByteArray number = toCp932(DelHifon(telNo));
    const char* const empty = "";
    DxsCondRec cond{};
    cond.searchKind = 1;
    cond.hitLimit = 0;
    cond.numberLength = static_cast<int32_t>(number.size());
    cond.number = number.constData();
    cond.townPattern = empty;
    cond.unused1 = empty;
    cond.personKind = 0;
    cond.namePattern = empty;
    cond.unused2 = empty;
    int32_t count = 0;
    const int32_t result = Dxs4_Search(&dxsSearch_, &cond, &count);
    if (result == -1 || result == -3 || result == -4 || result == -5) {
        MyMsgBoxShow(DxsSearchErrorText(result), MsgOk);
        return 1;
    }
    if (result != 0 || count < 1)
        return 1;
    telResult_.resize(count);
    RepeatedText pref;
    RepeatedText city;
    for (int32_t i = 0; i < count; ++i) {
        DxsResultRec rec{};
        if (Dxs4_GetRec(&dxsSearch_, i, &rec) == 0)
            telResult_[i] = DirRecordFromDxs(rec, pref, city);
    }
    telCount_ = count;
    return 0;
}

int Directory::XchTelSearch(const QString& telNo) {
    clearTelResult();
    if (!reopenIfChanged())
        return 1;
    const QByteArray number = toCp932(DelHifon(telNo));
    XchCondRec cond{};
    if (number.size() > qsizetype{sizeof cond.number})
        return 1;
    cond.searchKind = 2;
    cond.personKind = 3;
    putFixedText(cond.town, sizeof cond.town, cond.townLength, QByteArray());
    putFixedText(cond.unused, sizeof cond.unused, cond.unusedLength, QByteArray());
    putFixedText(cond.namePattern, sizeof cond.namePattern, cond.namePatternLength, QByteArray());
    putFixedText(cond.number, sizeof cond.number, cond.numberLength, number);
    int32_t count = 0;
    if (hXchDB_Search(xchHandle_, &cond, &count) != 0 || count < 1)
        return 1;
    telResult_.resize(count);
    for (int32_t i = 0; i < count; ++i) {
        XchResultRec rec{};
        hXchDB_Getrec(xchHandle_, i, &rec);
        telResult_[i] = DirRecordFromXch(rec, true);
    }
    telCount_ = count;
    hXchDB_Release(xchHandle_);
    return 0;
}

int Directory::TelSearchWithOverride(const QString& telNo) {
    // The engine to ask may change with the reopening.
    if (!reopenIfChanged()) {
        clearTelResult();
        return 1;
    }
    const int found = dicKind_ == 1 ? XchTelSearch(telNo) : DxsTelSearch(telNo);
    if (found != 0)
        return found;
    if (ResultOverride::drops(telNo)) {
        clearTelResult();
        return 1;
    }
    ResultOverride::replace(telNo, telResult_[0]);
    return 0;
}

// --- City search -----------------------------------------------------------------------------

int Directory::searchCity(const CityCondition& condition, const CityHitVisitor& visit) {
    if (!reopenIfChanged())
        return kCitySearchDictionaryGone;
    const CityHitVisitor deliver = [&](DirRecord&& hit) {
        const OverrideRow* row = ResultOverride::find(hit.telNo);
        if (row != nullptr && row->drop && condition.applyDrops)
            return true;
        if (row != nullptr && !row->drop)
            ResultOverride::replace(hit.telNo, hit);
        return visit(std::move(hit));
    };
    if (dicKind_ == 1) {
        xchSearchCity(condition, deliver);
        return 0;
    }
    return dxsSearchCity(condition, deliver);
}

int Directory::dxsSearchCity(const CityCondition& condition, const CityHitVisitor& deliver) {
    // The engine takes the town as a pattern.
    const QByteArray town = toCp932(condition.town) + '*';
    const QByteArray name = toCp932(condition.namePattern);
    const char* const empty = "";
    DxsCondRec cond{};
    cond.searchKind = 2;
    cond.hitLimit = condition.hitLimit;
    cond.number = empty;
    cond.cityCode = condition.cityCode;
    cond.townPatternLength = static_cast<int32_t>(town.size());
    cond.townPattern = town.constData();
    cond.unused1 = empty;
    cond.personKind = condition.personKind;
    cond.namePatternLength = static_cast<int32_t>(name.size());
    cond.namePattern = name.constData();
    cond.unused2 = empty;
    int32_t count = 0;
    const int32_t result = Dxs4_Search(&dxsSearch_, &cond, &count);
    if (result != 0)
        return result;
    RepeatedText pref;
    RepeatedText city;
    for (int32_t i = 0; i < count; ++i) {
        if (i % kFetchesPerEventRun == 0)
            clock_.processEvents();
        DxsResultRec rec{};
        if (Dxs4_GetRec(&dxsSearch_, i, &rec) != 0)
            continue;
        if (!deliver(DirRecordFromDxs(rec, pref, city)))
            break;
    }
    Dxs4_ReleaseResultMem(&dxsSearch_);
    return 0;
}

void Directory::xchSearchCity(const CityCondition& condition, const CityHitVisitor& deliver) {
    XchCondRec cond{};
    cond.searchKind = 1;
    cond.personKind = condition.personKind;
    cond.cityCode = condition.cityCode;
    putFixedText(cond.town, sizeof cond.town, cond.townLength, toCp932(condition.town));
    putFixedText(cond.unused, sizeof cond.unused, cond.unusedLength, QByteArray());
    putFixedText(cond.namePattern, sizeof cond.namePattern, cond.namePatternLength,
                 toCp932(condition.namePattern));
    putFixedText(cond.number, sizeof cond.number, cond.numberLength, QByteArray());
    int32_t count = 0;
    if (hXchDB_Search(xchHandle_, &cond, &count) != 0)
        return;
    // As in the number search the fetches are not checked: a failed one hands on an empty
    // record, which the result list does not show.
    for (int32_t i = 0; i < count; ++i) {
        if (i % kFetchesPerEventRun == 0)
            clock_.processEvents();
        XchResultRec rec{};
        hXchDB_Getrec(xchHandle_, i, &rec);
        if (!deliver(DirRecordFromXch(rec)))
            break;
    }
    hXchDB_Release(xchHandle_);
}

// --- Records and dictionary information ------------------------------------------------------

DirRecord Directory::DirRecordFromXch(const XchResultRec& rec, bool zipWholeField) const {
    DirRecord r;
    r.telNo = FixedFieldText(rec.number, sizeof rec.number, rec.numberLength);
    r.name = FixedFieldText(rec.name, sizeof rec.name, rec.nameLength);
    r.zip = zipWholeField ? FixedFieldTrimmed(rec.zip, sizeof rec.zip)
                          : FixedFieldText(rec.zip, sizeof rec.zip, rec.zipLength);
    r.pref = GetTodoufukenName(rec.cityCode);
    r.city = GetSikuchousonName(rec.cityCode);
    r.town = FixedFieldText(rec.town, sizeof rec.town, rec.townLength);
    r.block = FixedFieldText(rec.block, sizeof rec.block, rec.blockLength);
    return r;
}

QString Directory::dxsBuildDate() const {
    if (!dxsOpen_)
        return QString();
    const char* date = dxsInfo_.buildDate;
    return QString::fromLatin1(date,
                               static_cast<qsizetype>(qstrnlen(date, sizeof dxsInfo_.buildDate)));
}

} // namespace pikotel
