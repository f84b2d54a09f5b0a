#include "xchdb.h"

#include "cp932text.h"
#include "directory.h"
#include "guarded.h"

#ifdef PIKOTEL_XCHDB_TEST_HOOKS
#include "xchdb_testhooks.h"
#endif

#include <array>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <vector>

using pikotel::dict::Directory;
using pikotel::dict::DirectoryStatus;
using pikotel::jtext::Cp932Codec;
constexpr auto kFixed = pikotel::dict::TextKind::FixedWidth;

namespace {

struct Session {
    std::unique_ptr<Directory> directory;
    std::vector<pikotel::dict::HitRef> hits;
    Cp932Codec codec;
    // The cp932 texts of the last fetch, kept so that fetches reuse their room.
    std::array<std::string, 5> fetched;
};

std::mutex sessionsMutex;
std::map<XchHandle, std::shared_ptr<Session>> sessions;
XchHandle nextHandle = 1;

#ifdef PIKOTEL_XCHDB_TEST_HOOKS
std::atomic<int> failingOpens{0};
std::atomic<int> failingAreaFetches{0};

bool consume(std::atomic<int>& counter) {
    int n = counter.load();
    while (n > 0) {
        if (counter.compare_exchange_weak(n, n - 1))
            return true;
    }
    return false;
}
#endif

std::shared_ptr<Session> sessionOf(XchHandle handle) {
    const std::lock_guard lock(sessionsMutex);
    const auto it = sessions.find(handle);
    return it == sessions.end() ? nullptr : it->second;
}

// Copies cp932 bytes into a fixed field: cut at a character boundary, padded with spaces.
void putFixed(char* field, std::size_t width, std::int32_t& length, const std::string& cp932) {
    const std::size_t n = pikotel::jtext::cp932PrefixLength(cp932, width);
    std::memcpy(field, cp932.data(), n);
    std::memset(field + n, ' ', width - n);
    length = static_cast<std::int32_t>(n);
}

std::int16_t openDictionary(XchOpenRec* open, XchHandle* handle) {
    if (!open || !handle)
        return -1;
#ifdef PIKOTEL_XCHDB_TEST_HOOKS
    if (consume(failingOpens))
        return -2;
#endif
    auto session = std::make_shared<Session>();
    if (!session->codec.isValid())
        return -3;
    QString folder;
    QString delta;
    if (!pikotel::dict::pathArgument(open->dictPath, open->dictPathLength, sizeof open->dictPath,
                                     true, folder) ||
        !pikotel::dict::pathArgument(open->deltaPath, open->deltaPathLength, sizeof open->deltaPath,
                                     true, delta))
        return -1;
    if (folder.isEmpty())
        return -2;
    session->directory = std::make_unique<Directory>();
    const QString mainPath = pikotel::dict::fileInFolder(folder, QStringLiteral("XCHDB.DIC"));
    const QString deltaPath = pikotel::dict::fileInFolder(delta, QStringLiteral("xchdbad.dic"));
    switch (session->directory->open(mainPath, deltaPath, pikotel::dict::Engine::Xch)) {
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
    open->areaCount = static_cast<std::int32_t>(session->directory->main().areaCount());
    const std::lock_guard lock(sessionsMutex);
    *handle = nextHandle++;
    sessions.emplace(*handle, std::move(session));
    return 0;
}

std::int16_t getArea(XchHandle handle, std::int16_t index, XchAreaRec* area) {
    const std::shared_ptr<Session> s = sessionOf(handle);
    if (!s || !area)
        return -1;
    const pikotel::dict::Dictionary& main = s->directory->main();
    if (index < 0 || static_cast<std::uint32_t>(index) >= main.areaCount())
        return -2;
#ifdef PIKOTEL_XCHDB_TEST_HOOKS
    if (consume(failingAreaFetches))
        return -4;
#endif
    const pikotel::dict::AreaView view = main.area(static_cast<std::uint32_t>(index));
    std::string pref;
    std::string city;
    s->codec.encode(view.pref, pref);
    s->codec.encode(view.city, city);
    area->cityCode = static_cast<std::int32_t>(view.cityCode);
    putFixed(area->prefName, sizeof area->prefName, area->prefNameLength, pref);
    putFixed(area->cityName, sizeof area->cityName, area->cityNameLength, city);
    return 0;
}

std::int16_t search(Session& s, const XchCondRec& cond, std::int32_t* count) {
    s.hits.clear();
    if (cond.personKind < 1 || cond.personKind > 3)
        return -22;
    const bool individuals = cond.personKind != 2;
    const bool corporates = cond.personKind != 1;
    if (cond.searchKind == 2) {
        std::string number;
        if (!pikotel::dict::decodeArgument(s.codec, cond.number, cond.numberLength,
                                           sizeof cond.number, number, kFixed))
            return -20;
        const auto key = pikotel::dict::numberKey(number);
        if (!key)
            return -20;
        if (!s.directory->findNumber(*key, individuals, corporates, s.hits))
            return -4;
    } else if (cond.searchKind == 1) {
        pikotel::dict::NameQuery query;
        std::string unused;
        if (cond.cityCode < 1 || cond.cityCode > 99999 ||
            !pikotel::dict::decodeArgument(s.codec, cond.town, cond.townLength, sizeof cond.town,
                                           query.townPattern, kFixed) ||
            !pikotel::dict::decodeArgument(s.codec, cond.unused, cond.unusedLength,
                                           sizeof cond.unused, unused, kFixed) ||
            !unused.empty())
            return -21;
        if (!pikotel::dict::decodeArgument(s.codec, cond.namePattern, cond.namePatternLength,
                                           sizeof cond.namePattern, query.namePattern, kFixed))
            return -22;
        // The town is taken as typed: any town that begins with it.
        if (!query.townPattern.empty())
            query.townPattern += '*';
        query.cityCode = static_cast<std::uint32_t>(cond.cityCode);
        query.individuals = individuals;
        query.corporates = corporates;
        if (!s.directory->findNames(query, s.hits))
            return -4;
    } else {
        return -5;
    }
    *count = s.hits.size() > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(s.hits.size());
    return 0;
}

std::int16_t getRec(Session& s, std::int32_t index, XchResultRec* rec) {
    if (index < 0 || static_cast<std::size_t>(index) >= s.hits.size())
        return -2;
    pikotel::dict::ListingView listing;
    if (!s.directory->hit(s.hits[static_cast<std::size_t>(index)], listing))
        return -4;
    std::array<std::string, 5>& text = s.fetched;
    const std::string_view utf8[5] = {listing.number, listing.zip, listing.name, listing.town,
                                      listing.block};
    for (std::size_t i = 0; i < 5; ++i) {
        text[i].clear();
        s.codec.encode(utf8[i], text[i]);
    }
    rec->personKind = static_cast<std::int32_t>(listing.kind);
    rec->cityCode = static_cast<std::int32_t>(listing.cityCode);
    putFixed(rec->number, sizeof rec->number, rec->numberLength, text[0]);
    putFixed(rec->zip, sizeof rec->zip, rec->zipLength, text[1]);
    putFixed(rec->name, sizeof rec->name, rec->nameLength, text[2]);
    putFixed(rec->town, sizeof rec->town, rec->townLength, text[3]);
    putFixed(rec->block, sizeof rec->block, rec->blockLength, text[4]);
    return 0;
}

template <typename F> std::int16_t guarded(F&& f) {
    return pikotel::dict::guardedCall<std::int16_t>(std::forward<F>(f));
}

} // namespace

extern "C" {

int16_t hXchDB_Open(XchOpenRec* open, XchHandle* handle) {
    return guarded([&] { return openDictionary(open, handle); });
}

int16_t hXchDB_GetL12(XchHandle handle, int16_t index, XchAreaRec* area) {
    return guarded([&] { return getArea(handle, index, area); });
}

int16_t hXchDB_Search(XchHandle handle, const XchCondRec* cond, int32_t* count) {
    return guarded([&]() -> std::int16_t {
        const std::shared_ptr<Session> s = sessionOf(handle);
        if (!s)
            return -1;
        if (!cond || !count)
            return -5;
        *count = 0;
        return search(*s, *cond, count);
    });
}

int16_t hXchDB_Getrec(XchHandle handle, int32_t index, XchResultRec* rec) {
    return guarded([&]() -> std::int16_t {
        const std::shared_ptr<Session> s = sessionOf(handle);
        if (!s || !rec)
            return -1;
        return getRec(*s, index, rec);
    });
}

int16_t hXchDB_Release(XchHandle handle) {
    const std::shared_ptr<Session> s = sessionOf(handle);
    if (!s)
        return -1;
    s->hits.clear();
    return 0;
}

int16_t hXchDB_Close(XchHandle handle) {
    const std::lock_guard lock(sessionsMutex);
    return sessions.erase(handle) ? 0 : -1;
}

#ifdef PIKOTEL_XCHDB_TEST_HOOKS
void xchdb_test_fail_next_opens(int n) {
    failingOpens.store(n);
}
void xchdb_test_fail_next_area_fetches(int n) {
    failingAreaFetches.store(n);
}
#endif

} // extern "C"
