#include "dxs4.h"

#include "cp932text.h"
#include "directory.h"
#include "guarded.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

using pikotel::dict::Directory;
using pikotel::dict::DirectoryStatus;
using pikotel::jtext::Cp932Codec;

namespace {

constexpr std::uint32_t kDicMagic = 0x44585344;    // "DSXD"
constexpr std::uint32_t kSearchMagic = 0x48535844; // "DXSH"
// Folder texts longer than this are not paths the program can pass.
constexpr std::size_t kMaxPath = 4096;
// Patterns longer than this are no name a directory holds.
constexpr std::size_t kMaxPattern = 1024;

struct DicObject {
    std::shared_ptr<const Directory> directory;
    QString mainPath;
    QString deltaPath;
    std::vector<std::string> names;
    std::vector<DxsAreaRec> areas;
    std::vector<DxsAreaRec*> areaTable;
};

// NUL-terminated texts that stay where they were written until the store is cleared: a
// fetch must not move the texts of the hits fetched before it.
class TextStore {
public:
    std::string_view add(std::string_view text) {
        const std::size_t size = text.size() + 1;
        if (blocks_.empty() || blockSize_ - used_ < size) {
            blockSize_ = std::max(size, kBlockSize);
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
            used_ = 0;
        }
        char* at = blocks_.back().get() + used_;
        std::memcpy(at, text.data(), text.size());
        at[text.size()] = '\0';
        used_ += size;
        return {at, text.size()};
    }
    // Keeps the first block for the next search.
    void clear() {
        if (blocks_.size() != 1 || blockSize_ != kBlockSize) {
            blocks_.clear();
            blockSize_ = 0;
        }
        used_ = 0;
    }

private:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockSize_ = 0;
    std::size_t used_ = 0;
};

// The texts of one fetched hit in the order of DxsResultRec; empty until fetched.
struct HitTexts {
    std::array<std::string_view, 7> text{};
    bool fetched = false;
};

struct SearchObject {
    std::shared_ptr<const Directory> directory;
    std::vector<pikotel::dict::HitRef> hits;
    std::vector<HitTexts> fetched;
    TextStore store;
    Cp932Codec codec;
    std::string scratch;
    // The prefecture and city names of the last city fetched: a city's hits come together.
    std::int64_t areaCode = -1;
    std::string_view areaPref;
    std::string_view areaCity;

    // Gives up the hits and every text fetched for them.
    void releaseHits() {
        hits.clear();
        fetched.clear();
        store.clear();
        areaCode = -1;
    }
    // The cp932 form of a UTF-8 text, kept in the store.
    std::string_view keep(std::string_view utf8) {
        scratch.clear();
        codec.encode(utf8, scratch);
        return store.add(scratch);
    }
};

// Blocks the caller hands back are checked against the objects alive, so a stale or zeroed
// block is refused instead of followed.
std::mutex registryMutex;
// Each stored block carries a serial number; an object's address may come back for a new
// object, its serial number never does.
std::unordered_map<const void*, std::uint32_t> liveObjects;
std::uint32_t nextSerial = 1;
std::atomic<DxsCallback1> copyCallback{nullptr};

struct BlockContent {
    std::uint32_t magic;
    std::uint32_t serial;
    void* object;
};
static_assert(sizeof(BlockContent) <= 64);

void storeBlock(unsigned char* block, std::uint32_t magic, void* object) {
    const std::lock_guard lock(registryMutex);
    const BlockContent content{magic, nextSerial++, object};
    std::memset(block, 0, 64);
    std::memcpy(block, &content, sizeof content);
    liveObjects[object] = content.serial;
}

// Counts the objects given up: a block found alive stays alive until this changes.
std::atomic<std::uint64_t> forgottenObjects{0};

template <typename T> T* loadBlock(const unsigned char* block, std::uint32_t magic) {
    BlockContent content;
    std::memcpy(&content, block, sizeof content);
    if (content.magic != magic)
        return nullptr;
    // Every fetch of a search checks its block: the last block found alive is taken again
    // without the registry while no object has been given up since.
    thread_local BlockContent lastAlive{};
    thread_local std::uint64_t lastForgotten = 0;
    const std::uint64_t forgotten = forgottenObjects.load(std::memory_order_acquire);
    if (lastAlive.object != nullptr && forgotten == lastForgotten &&
        std::memcmp(&content, &lastAlive, sizeof content) == 0)
        return static_cast<T*>(content.object);
    const std::lock_guard lock(registryMutex);
    const auto it = liveObjects.find(content.object);
    if (it == liveObjects.end() || it->second != content.serial)
        return nullptr;
    lastAlive = content;
    lastForgotten = forgotten;
    return static_cast<T*>(content.object);
}

void forget(unsigned char* block, const void* object) {
    std::memset(block, 0, 64);
    const std::lock_guard lock(registryMutex);
    liveObjects.erase(object);
    forgottenObjects.fetch_add(1, std::memory_order_release);
}

DicObject* dicOf(const DxsDicHandle* dic) {
    return dic ? loadBlock<DicObject>(dic->block, kDicMagic) : nullptr;
}

SearchObject* searchOf(const DxsSearchHandle* search) {
    return search ? loadBlock<SearchObject>(search->block, kSearchMagic) : nullptr;
}

bool decodePath(const char* text, std::int32_t length, QString& path) {
    return pikotel::dict::pathArgument(text, length, kMaxPath, false, path);
}

std::int32_t clampCount(std::uint64_t n) {
    return n > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(n);
}

std::int32_t openDic(const DxsOpenRec* open, DxsDicHandle* dic, DxsDicInfo* info) {
    if (!open || !dic || !info)
        return -1;
    // A block reused without a close (a CD taken out, the program opening again) gives up
    // the dictionary it held, so its map does not outlive the medium.
    if (DicObject* previous = dicOf(dic)) {
        forget(dic->block, previous);
        delete previous;
    }
    Cp932Codec codec;
    QString hdd;
    QString cdrom;
    QString delta;
    if (!codec.isValid())
        return -3;
    if (!decodePath(open->hddPath, open->hddPathLength, hdd) ||
        !decodePath(open->cdromPath, open->cdromPathLength, cdrom) ||
        !decodePath(open->deltaPath, open->deltaPathLength, delta))
        return -1;
    const QString folder = !hdd.isEmpty() ? hdd : cdrom;
    if (folder.isEmpty())
        return -2;

    auto object = std::make_unique<DicObject>();
    object->mainPath = pikotel::dict::fileInFolder(folder, QStringLiteral("dxs9999.dct"));
    object->deltaPath = pikotel::dict::fileInFolder(delta, QStringLiteral("DXS5001.dct"));
    auto directory = std::make_shared<Directory>();
    switch (directory->open(object->mainPath, object->deltaPath, pikotel::dict::Engine::Dxs)) {
    case DirectoryStatus::Ok:
        break;
    case DirectoryStatus::MainMissing:
        return -2;
    case DirectoryStatus::MainDamaged:
    case DirectoryStatus::MainForeign:
        return -4;
    case DirectoryStatus::DeltaDamaged:
        return -6;
    }
    if (!directory->delta())
        object->deltaPath.clear();

    const pikotel::dict::Dictionary& main = directory->main();
    const std::uint32_t areaCount = main.areaCount();
    object->names.reserve(std::size_t{areaCount} * 2);
    object->areas.resize(areaCount);
    object->areaTable.resize(areaCount);
    for (std::uint32_t i = 0; i < areaCount; ++i) {
        const pikotel::dict::AreaView area = main.area(i);
        std::string pref;
        std::string city;
        codec.encode(area.pref, pref);
        codec.encode(area.city, city);
        object->names.push_back(std::move(pref));
        object->names.push_back(std::move(city));
    }
    for (std::uint32_t i = 0; i < areaCount; ++i) {
        const std::string& pref = object->names[std::size_t{i} * 2];
        const std::string& city = object->names[std::size_t{i} * 2 + 1];
        object->areas[i] = DxsAreaRec{static_cast<std::int32_t>(main.area(i).cityCode),
                                      static_cast<std::int32_t>(pref.size()),
                                      pref.c_str(),
                                      static_cast<std::int32_t>(city.size()),
                                      city.c_str(),
                                      0};
        object->areaTable[i] = &object->areas[i];
    }

    std::memset(info, 0, sizeof *info);
    info->formatVersion = main.header().version;
    info->listingCount = clampCount(main.listingCount());
    if (const pikotel::dict::Dictionary* d = directory->delta()) {
        info->deltaListingCount = clampCount(d->listingCount());
        info->deltaMaskedCount = clampCount(d->header().maskCount);
    }
    const QByteArray date = QDateTime::fromSecsSinceEpoch(main.header().buildTime, Qt::UTC)
                                .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
                                .toLatin1()
                                .left(sizeof info->buildDate - 1);
    std::memcpy(info->buildDate, date.constData(), static_cast<std::size_t>(date.size()));
    info->areaTable = object->areaTable.empty() ? nullptr : object->areaTable.data();
    info->areaCount = static_cast<std::int32_t>(areaCount);

    object->directory = std::move(directory);
    storeBlock(dic->block, kDicMagic, object.release());
    return 0;
}

std::int32_t search(SearchObject& s, const DxsCondRec& cond, std::int32_t* count) {
    s.releaseHits();
    std::string number;
    std::string unused1;
    std::string unused2;
    if (cond.searchKind == 1) {
        if (!pikotel::dict::decodeArgument(s.codec, cond.number, cond.numberLength, kMaxPattern,
                                           number))
            return -20;
        const auto key = pikotel::dict::numberKey(number);
        if (!key)
            return -20;
        if (cond.personKind < 0 || cond.personKind > 2)
            return -22;
        if (!s.directory->findNumber(*key, cond.personKind != 2, cond.personKind != 1, s.hits))
            return -4;
    } else if (cond.searchKind == 2) {
        pikotel::dict::NameQuery query;
        if (cond.cityCode < 1 || cond.cityCode > 99999 ||
            !pikotel::dict::decodeArgument(s.codec, cond.townPattern, cond.townPatternLength,
                                           kMaxPattern, query.townPattern) ||
            !pikotel::dict::decodeArgument(s.codec, cond.unused1, cond.unused1Length, kMaxPattern,
                                           unused1) ||
            !unused1.empty())
            return -21;
        if ((cond.personKind != 1 && cond.personKind != 2) ||
            !pikotel::dict::decodeArgument(s.codec, cond.namePattern, cond.namePatternLength,
                                           kMaxPattern, query.namePattern))
            return -22;
        if (!pikotel::dict::decodeArgument(s.codec, cond.unused2, cond.unused2Length, kMaxPattern,
                                           unused2) ||
            !unused2.empty())
            return -23;
        if (cond.hitLimit < 0)
            return -5;
        query.cityCode = static_cast<std::uint32_t>(cond.cityCode);
        query.individuals = cond.personKind == 1;
        query.corporates = cond.personKind == 2;
        query.limit = static_cast<std::uint32_t>(cond.hitLimit);
        if (!s.directory->findNames(query, s.hits))
            return -4;
    } else {
        return -5;
    }
    s.fetched.resize(s.hits.size());
    *count = clampCount(s.hits.size());
    return 0;
}

std::int32_t getRec(SearchObject& s, std::int32_t index, DxsResultRec* rec) {
    if (index < 0 || static_cast<std::size_t>(index) >= s.hits.size())
        return -2;
    pikotel::dict::ListingView listing;
    if (!s.directory->hit(s.hits[static_cast<std::size_t>(index)], listing))
        return -4;
    HitTexts& t = s.fetched[static_cast<std::size_t>(index)];
    if (!t.fetched) {
        if (std::int64_t{listing.cityCode} != s.areaCode) {
            pikotel::dict::AreaView storage;
            const pikotel::dict::AreaView* area = s.directory->findArea(listing.cityCode, storage);
            s.areaPref = s.keep(area ? area->pref : std::string_view());
            s.areaCity = s.keep(area ? area->city : std::string_view());
            s.areaCode = listing.cityCode;
        }
        t.text = {s.keep(listing.number),
                  s.keep(listing.zip),
                  s.keep(listing.name),
                  s.areaPref,
                  s.areaCity,
                  s.keep(listing.town),
                  s.keep(listing.block)};
        t.fetched = true;
    }
    std::memset(rec, 0, sizeof *rec);
    rec->hitIndex = index;
    rec->cityCode = static_cast<std::int32_t>(listing.cityCode);
    rec->personKind = static_cast<std::int32_t>(listing.kind);
    const auto set = [](const char*& text, std::int32_t& length, std::string_view value) {
        text = value.data();
        length = static_cast<std::int32_t>(value.size());
    };
    set(rec->number, rec->numberLength, t.text[0]);
    set(rec->zip, rec->zipLength, t.text[1]);
    set(rec->name, rec->nameLength, t.text[2]);
    set(rec->prefName, rec->prefNameLength, t.text[3]);
    set(rec->cityName, rec->cityNameLength, t.text[4]);
    set(rec->town, rec->townLength, t.text[5]);
    set(rec->block, rec->blockLength, t.text[6]);
    return 0;
}

// Copies one file into the folder under its name, reporting progress between from% and to%.
std::int32_t copyFile(const QString& source, const QString& target, int from, int to) {
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return -4;
    const qint64 total = in.size();
    qint64 done = 0;
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        const qint64 got = in.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (got < 0)
            return -4;
        if (got == 0)
            break;
        if (out.write(buffer.data(), got) != got)
            return -4;
        done += got;
        if (const DxsCallback1 callback = copyCallback.load()) {
            const int percent =
                from + static_cast<int>((to - from) * done / std::max<qint64>(total, 1));
            if (callback(percent) != 0)
                return -2;
        }
    }
    return out.commit() ? 0 : -4;
}

template <typename F> std::int32_t guarded(F&& f) {
    return pikotel::dict::guardedCall<std::int32_t>(std::forward<F>(f));
}

} // namespace

extern "C" {

int32_t Dxs4_OpenDic(const DxsOpenRec* open, DxsDicHandle* dic, DxsDicInfo* info) {
    return guarded([&] { return openDic(open, dic, info); });
}

int32_t Dxs4_AssignSearchHandle(DxsDicHandle* dic, DxsSearchHandle* search) {
    return guarded([&]() -> std::int32_t {
        DicObject* d = dicOf(dic);
        if (!d || !search)
            return -1;
        if (SearchObject* previous = searchOf(search)) {
            forget(search->block, previous);
            delete previous;
        }
        auto object = std::make_unique<SearchObject>();
        if (!object->codec.isValid())
            return -3;
        object->directory = d->directory;
        storeBlock(search->block, kSearchMagic, object.release());
        return 0;
    });
}

int32_t Dxs4_Search(DxsSearchHandle* search, const DxsCondRec* cond, int32_t* count) {
    return guarded([&]() -> std::int32_t {
        SearchObject* s = searchOf(search);
        if (!s)
            return -1;
        if (!cond || !count)
            return -5;
        *count = 0;
        return ::search(*s, *cond, count);
    });
}

int32_t Dxs4_GetRec(DxsSearchHandle* search, int32_t index, DxsResultRec* rec) {
    return guarded([&]() -> std::int32_t {
        SearchObject* s = searchOf(search);
        if (!s || !rec)
            return -1;
        return getRec(*s, index, rec);
    });
}

int32_t Dxs4_ReleaseResultMem(DxsSearchHandle* search) {
    SearchObject* s = searchOf(search);
    if (!s)
        return -1;
    s->releaseHits();
    return 0;
}

int32_t Dxs4_ReleaseSearchHandle(DxsSearchHandle* search) {
    SearchObject* s = searchOf(search);
    if (!s)
        return -1;
    forget(search->block, s);
    delete s;
    return 0;
}

int32_t Dxs4_CloseDic(DxsDicHandle* dic) {
    DicObject* d = dicOf(dic);
    if (!d)
        return -1;
    forget(dic->block, d);
    delete d;
    return 0;
}

int32_t Dxs4_CopyDic(DxsDicHandle* dic, int32_t folderLength, const char* folder) {
    return guarded([&]() -> std::int32_t {
        DicObject* d = dicOf(dic);
        QString target;
        if (!d || !decodePath(folder, folderLength, target) || target.isEmpty())
            return -1;
        const bool withDelta = !d->deltaPath.isEmpty();
        const int split = withDelta ? 90 : 100;
        std::int32_t result =
            copyFile(d->mainPath,
                     pikotel::dict::fileInFolder(target, QStringLiteral("dxs9999.dct")), 0, split);
        if (result == 0 && withDelta)
            result = copyFile(d->deltaPath,
                              pikotel::dict::fileInFolder(target, QStringLiteral("DXS5001.dct")),
                              split, 100);
        return result;
    });
}

int32_t Dxs4_SetCallbackFunc1(DxsCallback1 callback) {
    copyCallback.store(callback);
    return 0;
}

} // extern "C"
