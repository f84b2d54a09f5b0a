#include "seimei.h"

#include "namedictionary.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>

namespace {

using pikotel::seimei::CandidateRange;
using pikotel::seimei::CandidateView;
using pikotel::seimei::NameDictionary;
using pikotel::seimei::OpenError;

// Result codes, as seimei.h lists them per call.
constexpr int32_t kOk = 0;
constexpr int32_t kOpenBadArgument = 1;
constexpr int32_t kOpenUnreadable = 2;
constexpr int32_t kOpenNotADictionary = 3;
constexpr int32_t kNoHandle = 1;
constexpr int32_t kBadArgument = 2;
constexpr int32_t kIndexOutside = 3;
constexpr int32_t kOutOfMemory = 4;
constexpr int32_t kChanged = 5;
constexpr int32_t kDamaged = 5;

// One open dictionary: the file stays open and mapped until the handle is closed.
struct OpenDictionary {
    QFile file;
    NameDictionary dictionary;
    CandidateRange last;

    // A file truncated under the mapping would fault on the next read of the lost pages.
    bool shrank() const { return file.size() < static_cast<qint64>(dictionary.header().fileSize); }
};

struct HandleTable {
    std::mutex mutex;
    std::map<int32_t, std::unique_ptr<OpenDictionary>> open;
    int32_t next = 1;
};

HandleTable& table() {
    static HandleTable t;
    return t;
}

OpenDictionary* find(int32_t handle) {
    const auto it = table().open.find(handle);
    return it == table().open.end() ? nullptr : it->second.get();
}

// A fixed input field: up to its first NUL, without trailing blanks.
std::string_view fieldText(const char* field, std::size_t size) {
    const void* nul = std::memchr(field, 0, size);
    std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : size;
    while (length > 0 && field[length - 1] == ' ')
        --length;
    return std::string_view(field, length);
}

// No exception crosses the C boundary.
template <typename F> int32_t guarded(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (...) {
        return kDamaged;
    }
}

int32_t openDictionary(const HNameOpenRec* rec, int32_t* handle) {
    if (handle == nullptr)
        return kOpenBadArgument;
    *handle = 0;
    if (rec == nullptr)
        return kOpenBadArgument;
    const std::string_view path = fieldText(rec->path, sizeof rec->path);
    if (path.empty())
        return kOpenBadArgument;

    auto entry = std::make_unique<OpenDictionary>();
    entry->file.setFileName(QFile::decodeName(QByteArray(path.data(), qsizetype(path.size()))));
    if (!entry->file.open(QIODevice::ReadOnly))
        return kOpenUnreadable;
    const qint64 size = entry->file.size();
    const uchar* data = size > 0 ? entry->file.map(0, size) : nullptr;
    if (data == nullptr)
        return kOpenUnreadable;
    if (entry->dictionary.open({data, static_cast<std::size_t>(size)}) != OpenError::None)
        return kOpenNotADictionary;

    const std::lock_guard lock(table().mutex);
    const int32_t h = table().next++;
    table().open.emplace(h, std::move(entry));
    *handle = h;
    return kOk;
}

int32_t searchKey(int32_t handle, HNameSearchRec* rec) {
    const std::lock_guard lock(table().mutex);
    OpenDictionary* d = find(handle);
    if (rec != nullptr)
        rec->count = 0;
    if (d == nullptr)
        return kNoHandle;
    if (rec == nullptr)
        return kBadArgument;
    const std::string_view key = fieldText(rec->key, sizeof rec->key);
    if (key.empty())
        return kBadArgument;
    d->last = {};
    if (d->shrank())
        return kChanged;
    d->last = d->dictionary.find(key);
    rec->count = static_cast<int32_t>(d->last.count);
    return kOk;
}

int32_t getName(int32_t handle, int32_t index, HNameCandidateRec* rec) {
    const std::lock_guard lock(table().mutex);
    if (rec != nullptr) {
        std::memset(rec, 0, sizeof *rec);
        rec->index = index;
    }
    OpenDictionary* d = find(handle);
    if (d == nullptr)
        return kNoHandle;
    if (rec == nullptr)
        return kBadArgument;
    if (index < 0 || static_cast<uint32_t>(index) >= d->last.count)
        return kIndexOutside;
    CandidateView c;
    if (d->shrank() || !d->dictionary.candidate(d->last.first + static_cast<uint32_t>(index), c))
        return kDamaged;
    std::memcpy(rec->name, c.written.data(), std::min(c.written.size(), sizeof rec->name));
    rec->kind = static_cast<int32_t>(c.kind);
    return kOk;
}

int32_t closeHandle(int32_t handle) {
    std::unique_ptr<OpenDictionary> gone;
    const std::lock_guard lock(table().mutex);
    const auto it = table().open.find(handle);
    if (it == table().open.end())
        return kNoHandle;
    gone = std::move(it->second);
    table().open.erase(it);
    return kOk;
}

} // namespace

extern "C" {

int32_t HNameDB_Open(const HNameOpenRec* open, int32_t* handle) {
    return guarded([&] { return openDictionary(open, handle); });
}

int32_t HNameDB_Search(int32_t handle, HNameSearchRec* search) {
    return guarded([&] { return searchKey(handle, search); });
}

int32_t HNameDB_GetName(int32_t handle, int32_t index, HNameCandidateRec* candidate) {
    return guarded([&] { return getName(handle, index, candidate); });
}

int32_t HNameDB_Close(int32_t handle) {
    return guarded([&] { return closeHandle(handle); });
}

} // extern "C"
