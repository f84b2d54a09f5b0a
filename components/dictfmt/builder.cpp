#include "builder.h"

#include "csv.h"
#include "hash.h"
#include "jtext/cp932.h"
#include "mappedfile.h"
#include "order.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

namespace pikotel::dict {

namespace {

std::size_t varintSize(std::uint64_t v) {
    std::size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

std::size_t fieldSize(std::string_view text) {
    return varintSize(text.size()) + text.size();
}

// Writes one section at its place in the output, hashing its bytes (and the zero padding up
// to the next 8-byte boundary) as they go.
class SectionWriter {
public:
    SectionWriter(QSaveFile& file, std::uint64_t offset, std::uint64_t size)
        : file_(file), next_(offset), size_(size) {
        buffer_.reserve(kBufferSize);
    }

    void write(const void* data, std::size_t size) {
        const auto* p = static_cast<const char*>(data);
        written_ += size;
        while (size > 0) {
            const std::size_t take = std::min(size, kBufferSize - buffer_.size());
            buffer_.append(p, take);
            p += take;
            size -= take;
            if (buffer_.size() == kBufferSize)
                flush();
        }
    }
    void write(std::string_view text) { write(text.data(), text.size()); }
    template <typename T> void put(T value) { write(&value, sizeof value); }
    void putByte(std::uint8_t b) { write(&b, 1); }
    void putField(std::string_view text) {
        std::uint64_t v = text.size();
        while (v >= 0x80) {
            putByte(static_cast<std::uint8_t>(v | 0x80));
            v >>= 7;
        }
        putByte(static_cast<std::uint8_t>(v));
        write(text);
    }

    // Pads to the extent's end; false when the bytes written differ from the planned size
    // or the file refused them.
    bool finish() {
        if (written_ != size_)
            return false;
        static constexpr char zeros[8] = {};
        buffer_.append(zeros, align8(size_) - size_);
        flush();
        return ok_;
    }
    std::uint64_t hash() const { return hash_.finish(); }

private:
    static constexpr std::size_t kBufferSize = std::size_t{4} << 20;

    void flush() {
        if (buffer_.empty())
            return;
        hash_.update({reinterpret_cast<const std::uint8_t*>(buffer_.data()), buffer_.size()});
        if (!file_.seek(static_cast<qint64>(next_)) ||
            file_.write(buffer_.data(), static_cast<qint64>(buffer_.size())) !=
                static_cast<qint64>(buffer_.size()))
            ok_ = false;
        next_ += buffer_.size();
        buffer_.clear();
    }

    QSaveFile& file_;
    std::uint64_t next_;
    std::uint64_t size_;
    std::uint64_t written_ = 0;
    std::string buffer_;
    Hash64Stream hash_;
    bool ok_ = true;
};

struct AreaNames {
    std::string pref;
    std::string city;
};

struct GroupPlan {
    std::uint32_t cityCode = 0;
    PersonKind kind = PersonKind::Individual;
    std::uint64_t count = 0;
    std::uint64_t textSize = 0;
    std::uint64_t detailSize = 0;
    std::uint64_t firstListing = 0;
    std::uint64_t textOffset = 0;
    std::uint64_t detailOffset = 0;
};

struct RowRef {
    std::uint64_t offset;
    std::uint32_t group;
};

struct NumberEntry {
    std::uint64_t key;
    std::uint32_t id;
};

// One listing of a group while it is sorted: texts live in the group's arena.
struct Entry {
    enum Field { Number, Name, Reading, Zip, Town, Block, SortKey, FieldCount };
    std::uint64_t numberKey;
    std::uint32_t off[FieldCount];
    std::uint32_t len[FieldCount];
};

class Builder {
public:
    Builder(const BuildOptions& options, BuildReport* report, QString* error)
        : options_(options), report_(report), error_(error) {}

    bool run();

private:
    struct Input {
        QString path;
        MappedFile file;
        std::string_view data;
    };

    bool fail(const QString& message) {
        if (error_)
            *error_ = message;
        return false;
    }
    bool failAt(const Input& in, std::uint64_t line, const std::string& message) {
        return fail(QStringLiteral("%1:%2: %3")
                        .arg(in.path)
                        .arg(line)
                        .arg(QString::fromStdString(message)));
    }
    bool openInput(Input& in, const QString& path);
    bool readAreas();
    bool checkArea(const Input& in, std::uint64_t line, const ListingRow& row, bool derive);
    bool readMain(Input& in, bool listings);
    bool readDelta(Input& in);
    void addListing(const ListingRow& row, std::size_t offset);
    bool write(const Input& source, bool withOp);
    bool writeGroups(const Input& source, bool withOp, std::vector<SectionWriter>& w,
                     std::vector<NumberEntry>& numbers);

    const BuildOptions& options_;
    BuildReport* report_;
    QString* error_;

    std::map<std::uint32_t, AreaNames> areas_;
    bool areasFixed_ = false;
    std::unordered_map<std::uint64_t, std::uint32_t> groupIndex_;
    std::vector<GroupPlan> groups_;
    std::vector<RowRef> rows_;
    std::vector<std::uint64_t> mask_;
    DirectoryOrder order_;
    // The name index's blocks, one per group in order, and where each ends.
    std::string index_;
    std::vector<std::uint64_t> indexEnds_;
};

namespace {

void putU32(std::string& out, std::uint32_t v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void putVarint(std::string& out, std::uint32_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>(v | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

// An individual group's block: the listings (group-relative, in directory order) by name
// bytes, then by reading bytes; ties keep directory order.
void appendPrefixBlock(const std::vector<std::string_view>& names,
                       const std::vector<std::string_view>& readings, std::string& out) {
    std::vector<std::uint32_t> order(names.size());
    for (const auto* texts : {&names, &readings}) {
        for (std::uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [texts](std::uint32_t a, std::uint32_t b) {
            return (*texts)[a] < (*texts)[b];
        });
        for (const std::uint32_t k : order)
            putU32(out, k);
    }
}

// A business group's block: every bigram of each name hashed to a bucket; each bucket lists
// its listings ascending, as varint gaps.
void appendBigramBlock(const std::vector<std::string_view>& names, std::string& out) {
    std::vector<char32_t> cps;
    std::vector<std::uint64_t> keys;
    std::vector<std::uint64_t> distinct;
    for (const std::string_view name : names) {
        codePointsOf(name, cps);
        for (std::size_t i = 1; i < cps.size(); ++i)
            distinct.push_back((std::uint64_t{cps[i - 1]} << 32) | cps[i]);
    }
    std::sort(distinct.begin(), distinct.end());
    const std::size_t kinds =
        static_cast<std::size_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
    distinct = {};
    const std::uint32_t buckets = std::min<std::uint32_t>(
        kMaxBigramBuckets, std::bit_ceil(static_cast<std::uint32_t>(std::max<std::size_t>(
                               1, std::min<std::size_t>(kinds, kMaxBigramBuckets)))));
    // (bucket, listing) pairs, each listing once per bucket.
    std::vector<std::uint64_t> pairs;
    std::vector<std::uint32_t> own;
    for (std::uint32_t k = 0; k < names.size(); ++k) {
        codePointsOf(names[k], cps);
        own.clear();
        for (std::size_t i = 1; i < cps.size(); ++i)
            own.push_back(bigramBucket(cps[i - 1], cps[i], buckets));
        std::sort(own.begin(), own.end());
        own.erase(std::unique(own.begin(), own.end()), own.end());
        for (const std::uint32_t b : own)
            pairs.push_back((std::uint64_t{b} << 32) | k);
    }
    std::sort(pairs.begin(), pairs.end());
    std::string postings;
    std::vector<std::uint32_t> starts(std::size_t{buckets} + 1, 0);
    std::size_t p = 0;
    for (std::uint32_t b = 0; b < buckets; ++b) {
        starts[b] = static_cast<std::uint32_t>(postings.size());
        std::uint32_t next = 0;
        for (; p < pairs.size() && (pairs[p] >> 32) == b; ++p) {
            const auto k = static_cast<std::uint32_t>(pairs[p]);
            putVarint(postings, k - next);
            next = k + 1;
        }
    }
    starts[buckets] = static_cast<std::uint32_t>(postings.size());
    putU32(out, buckets);
    for (const std::uint32_t start : starts)
        putU32(out, start);
    out.append(postings);
}

} // namespace

bool Builder::openInput(Input& in, const QString& path) {
    in.path = path;
    if (!in.file.open(path))
        return fail(QStringLiteral("%1: cannot read the file (missing or empty)").arg(path));
    in.data = std::string_view(reinterpret_cast<const char*>(in.file.bytes().data()),
                               in.file.bytes().size());
    return true;
}

bool Builder::readAreas() {
    if (options_.areasCsv.isEmpty())
        return true;
    Input in;
    if (!openInput(in, options_.areasCsv))
        return false;
    jtext::CsvReader reader(in.data);
    jtext::CsvRow row;
    if (!reader.next(row) || !isHeader(row, kAreaHeader))
        return failAt(in, 1, "header must be " + std::string(kAreaHeader));
    while (reader.next(row)) {
        std::uint32_t code = 0;
        if (row.fields.size() != 3 || !parseCityCode(row.fields[0], code) ||
            row.fields[1].empty() || row.fields[2].empty() || !isValidUtf8(row.fields[1]) ||
            !isValidUtf8(row.fields[2]))
            return failAt(in, row.line, "expected a 5-digit city_code, pref and city");
        if (!areas_.emplace(code, AreaNames{std::string(row.fields[1]), std::string(row.fields[2])})
                 .second)
            return failAt(in, row.line,
                          "city_code " + std::string(row.fields[0]) + " appears twice");
    }
    if (!reader.error().empty())
        return failAt(in, row.line, reader.error());
    areasFixed_ = true;
    return true;
}

bool Builder::checkArea(const Input& in, std::uint64_t line, const ListingRow& row, bool derive) {
    const auto it = areas_.find(row.cityCode);
    if (it == areas_.end()) {
        if (!derive)
            return failAt(in, line,
                          "city_code " + std::to_string(row.cityCode) +
                              " is not in the area table");
        areas_.emplace(row.cityCode, AreaNames{std::string(row.pref), std::string(row.city)});
        return true;
    }
    if (it->second.pref != row.pref || it->second.city != row.city)
        return failAt(in, line,
                      "city_code " + std::to_string(row.cityCode) + " is " + it->second.pref +
                          it->second.city + " elsewhere, not " + std::string(row.pref) +
                          std::string(row.city));
    return true;
}

void Builder::addListing(const ListingRow& row, std::size_t offset) {
    const std::uint64_t groupKey =
        (std::uint64_t{row.cityCode} << 8) | static_cast<std::uint8_t>(row.kind);
    auto [it, inserted] = groupIndex_.emplace(groupKey, static_cast<std::uint32_t>(groups_.size()));
    if (inserted) {
        GroupPlan plan;
        plan.cityCode = row.cityCode;
        plan.kind = row.kind;
        groups_.push_back(plan);
    }
    GroupPlan& g = groups_[it->second];
    const bool individual = row.kind == PersonKind::Individual;
    ++g.count;
    g.textSize += row.name.size() + 1 + (individual ? row.reading.size() + 1 : 0);
    g.detailSize += fieldSize(row.number) + fieldSize(row.zip) + fieldSize(row.town) +
                    fieldSize(row.block) + (individual ? 1 : fieldSize(row.reading));
    rows_.push_back({offset, it->second});
}

// The main listings: the dictionary's content, or (for a delta) the base it is checked
// against.
bool Builder::readMain(Input& in, bool listings) {
    jtext::CsvReader reader(in.data);
    jtext::CsvRow row;
    if (!reader.next(row) || !isHeader(row, kListingHeader))
        return failAt(in, 1, "header must be " + std::string(kListingHeader));
    ListingRow listing;
    std::string message;
    std::unordered_map<std::uint64_t, bool> baseNumbers;
    if (!listings) {
        for (std::uint64_t key : mask_)
            baseNumbers.emplace(key, false);
    }
    DuplicateRows duplicates;
    while (reader.next(row)) {
        if (!parseListing(row, false, listing, message))
            return failAt(in, row.line, message);
        if (!checkArea(in, row.line, listing, !areasFixed_))
            return false;
        if (listings) {
            addListing(listing, row.offset);
            duplicates.add(row);
        } else if (auto it = baseNumbers.find(listing.numberKey); it != baseNumbers.end()) {
            it->second = true;
        }
    }
    if (!reader.error().empty())
        return failAt(in, row.line, reader.error());
    if (const auto repeated = duplicates.first(in.data))
        return failAt(in, repeated->first,
                      "the row repeats line " + std::to_string(repeated->second) + " exactly");
    for (const auto& [key, found] : baseNumbers) {
        if (!found)
            return fail(QStringLiteral("%1: number %2 to replace or remove is not in %3")
                            .arg(options_.deltaCsv)
                            .arg(QString::number(key).mid(1), in.path));
    }
    return true;
}

bool Builder::readDelta(Input& in) {
    jtext::CsvReader reader(in.data);
    jtext::CsvRow row;
    if (!reader.next(row) || !isHeader(row, kDeltaHeader))
        return failAt(in, 1, "header must be " + std::string(kDeltaHeader));
    ListingRow listing;
    std::string message;
    std::unordered_map<std::uint64_t, std::uint8_t> ops;
    struct Pending {
        std::uint64_t line;
        std::uint32_t cityCode;
        std::string pref;
        std::string city;
    };
    std::vector<Pending> pending;
    DuplicateRows duplicates;
    while (reader.next(row)) {
        if (!parseListing(row, true, listing, message))
            return failAt(in, row.line, message);
        std::uint8_t& seen = ops[listing.numberKey];
        seen |= static_cast<std::uint8_t>(1u << static_cast<unsigned>(listing.op));
        const bool removes = seen & (1u << static_cast<unsigned>(DeltaOp::Remove));
        const bool adds = seen & (1u << static_cast<unsigned>(DeltaOp::Add));
        const bool replaces = seen & (1u << static_cast<unsigned>(DeltaOp::Replace));
        if ((removes && (adds || replaces)) || (adds && replaces))
            return failAt(in, row.line,
                          "number " + std::string(listing.number) +
                              " has conflicting ops (add, replace and remove exclude each other)");
        duplicates.add(row);
        if (listing.op == DeltaOp::Remove)
            continue;
        addListing(listing, row.offset);
        pending.push_back(
            {row.line, listing.cityCode, std::string(listing.pref), std::string(listing.city)});
    }
    if (!reader.error().empty())
        return failAt(in, row.line, reader.error());
    if (const auto repeated = duplicates.first(in.data))
        return failAt(in, repeated->first,
                      "the row repeats line " + std::to_string(repeated->second) + " exactly");
    for (const auto& [key, seen] : ops) {
        if (seen & ((1u << static_cast<unsigned>(DeltaOp::Replace)) |
                    (1u << static_cast<unsigned>(DeltaOp::Remove))))
            mask_.push_back(key);
    }
    std::sort(mask_.begin(), mask_.end());

    Input base;
    if (!openInput(base, options_.listingsCsv) || !readMain(base, false))
        return false;
    for (const Pending& p : pending) {
        ListingRow check;
        check.cityCode = p.cityCode;
        check.pref = p.pref;
        check.city = p.city;
        if (!checkArea(in, p.line, check, false))
            return false;
    }
    return true;
}

bool Builder::run() {
    if (!order_.isValid())
        return fail(QStringLiteral("the Japanese collation (ICU) is not available"));
    if (!readAreas())
        return false;
    const bool delta = !options_.deltaCsv.isEmpty();
    Input source;
    if (delta) {
        if (!openInput(source, options_.deltaCsv) || !readDelta(source))
            return false;
    } else {
        if (!openInput(source, options_.listingsCsv) || !readMain(source, true))
            return false;
    }
    if (rows_.size() >= UINT32_MAX)
        return fail(QStringLiteral("too many listings for one dictionary"));
    return write(source, delta);
}

bool Builder::write(const Input& source, bool withOp) {
    const bool delta = withOp;
    // Groups in directory order, then each group's place in the sections.
    std::vector<std::uint32_t> byKey(groups_.size());
    for (std::uint32_t i = 0; i < byKey.size(); ++i)
        byKey[i] = i;
    std::sort(byKey.begin(), byKey.end(), [this](std::uint32_t a, std::uint32_t b) {
        return std::pair(groups_[a].cityCode, groups_[a].kind) <
               std::pair(groups_[b].cityCode, groups_[b].kind);
    });
    std::vector<GroupPlan> sorted;
    std::vector<std::uint32_t> rank(groups_.size());
    std::uint64_t listing = 0;
    std::uint64_t text = 0;
    std::uint64_t detail = 0;
    for (std::uint32_t i = 0; i < byKey.size(); ++i) {
        GroupPlan g = groups_[byKey[i]];
        if (g.textSize > UINT32_MAX || g.detailSize > UINT32_MAX)
            return fail(
                QStringLiteral("city %1 holds too much text for one group").arg(g.cityCode));
        g.firstListing = listing;
        g.textOffset = text;
        g.detailOffset = detail;
        listing += g.count;
        text += g.textSize;
        detail += g.detailSize;
        rank[byKey[i]] = i;
        sorted.push_back(g);
    }
    groups_ = std::move(sorted);
    for (RowRef& r : rows_)
        r.group = rank[r.group];

    const std::uint64_t n = rows_.size();
    const std::uint32_t areaCount = delta ? 0 : static_cast<std::uint32_t>(areas_.size());
    std::uint64_t areaText = 0;
    if (!delta) {
        for (const auto& [code, names] : areas_) {
            if (names.pref.size() > UINT16_MAX || names.city.size() > UINT16_MAX)
                return fail(QStringLiteral("area %1 has too long a name").arg(code));
            areaText += names.pref.size() + names.city.size();
        }
    }
    std::uint64_t sizes[kSectionCount] = {
        std::uint64_t{areaCount} * kAreaEntrySize,
        areaText,
        groups_.size() * kGroupEntrySize,
        n * kListingEntrySize,
        text,
        detail,
        n * 8,
        n * 4,
        (n + kSparseStride - 1) / kSparseStride * 8,
        mask_.size() * 8,
        0, // the name index: known once the groups are written
    };
    std::uint64_t offsets[kSectionCount];
    std::uint64_t end = kHeaderSize + kSectionCount * kSectionEntrySize;
    for (std::uint32_t i = 0; i < kSectionCount; ++i) {
        offsets[i] = end;
        end += align8(sizes[i]);
    }

    QSaveFile file(options_.output);
    if (!file.open(QIODevice::WriteOnly))
        return fail(
            QStringLiteral("%1: cannot write (%2)").arg(options_.output, file.errorString()));
    std::vector<SectionWriter> w;
    w.reserve(kSectionCount);
    for (std::uint32_t i = 0; i + 1 < kSectionCount; ++i)
        w.emplace_back(file, offsets[i], sizes[i]);
    auto& areasOut = w[0];
    auto& areaTextOut = w[1];
    auto& groupsOut = w[2];

    std::uint32_t textPos = 0;
    if (!delta) {
        for (auto& [code, names] : areas_) {
            jtext::withCp932FormsUtf8(names.pref.data(), names.pref.size());
            jtext::withCp932FormsUtf8(names.city.data(), names.city.size());
            areasOut.put<std::uint32_t>(code);
            areasOut.put<std::uint32_t>(textPos);
            areasOut.put<std::uint32_t>(textPos + static_cast<std::uint32_t>(names.pref.size()));
            areasOut.put<std::uint16_t>(static_cast<std::uint16_t>(names.pref.size()));
            areasOut.put<std::uint16_t>(static_cast<std::uint16_t>(names.city.size()));
            areaTextOut.write(names.pref);
            areaTextOut.write(names.city);
            textPos += static_cast<std::uint32_t>(names.pref.size() + names.city.size());
        }
    }
    for (const GroupPlan& g : groups_) {
        groupsOut.put<std::uint32_t>(g.cityCode);
        groupsOut.put<std::uint32_t>(static_cast<std::uint32_t>(g.kind));
        groupsOut.put<std::uint32_t>(static_cast<std::uint32_t>(g.firstListing));
        groupsOut.put<std::uint32_t>(static_cast<std::uint32_t>(g.count));
        groupsOut.put<std::uint64_t>(g.textOffset);
        groupsOut.put<std::uint64_t>(g.textSize);
        groupsOut.put<std::uint64_t>(g.detailOffset);
        groupsOut.put<std::uint64_t>(g.detailSize);
    }

    std::vector<NumberEntry> numbers;
    if (!writeGroups(source, withOp, w, numbers))
        return false;

    std::sort(numbers.begin(), numbers.end(), [](const NumberEntry& a, const NumberEntry& b) {
        return std::pair(a.key, a.id) < std::pair(b.key, b.id);
    });
    for (std::uint64_t i = 0; i < numbers.size(); ++i) {
        w[6].put<std::uint64_t>(numbers[i].key);
        w[7].put<std::uint32_t>(numbers[i].id);
        if (i % kSparseStride == 0)
            w[8].put<std::uint64_t>(numbers[i].key);
    }
    numbers = {};
    for (std::uint64_t key : mask_)
        w[9].put<std::uint64_t>(key);

    const std::uint64_t indexTable = groups_.size() * kIndexEntrySize;
    const std::size_t last = kSectionCount - 1;
    sizes[last] = indexTable + index_.size();
    end = offsets[last] + align8(sizes[last]);
    w.emplace_back(file, offsets[last], sizes[last]);
    std::uint64_t blockStart = indexTable;
    for (const std::uint64_t blockEnd : indexEnds_) {
        w[last].put<std::uint64_t>(blockStart);
        w[last].put<std::uint64_t>(indexTable + blockEnd - blockStart);
        blockStart = indexTable + blockEnd;
    }
    w[last].write(index_);
    index_ = {};

    std::uint8_t head[kHeaderSize + kSectionCount * kSectionEntrySize] = {};
    for (std::uint32_t i = 0; i < kSectionCount; ++i) {
        if (!w[i].finish())
            return fail(
                QStringLiteral("%1: writing failed (%2)").arg(options_.output, file.errorString()));
        std::uint8_t* e = head + kHeaderSize + i * kSectionEntrySize;
        const std::uint32_t id = i + 1;
        const std::uint64_t hash = w[i].hash();
        std::memcpy(e, &id, 4);
        std::memcpy(e + 8, &offsets[i], 8);
        std::memcpy(e + 16, &sizes[i], 8);
        std::memcpy(e + 24, &hash, 8);
    }
    std::int64_t buildTime = options_.buildTime;
    if (buildTime < 0) {
        bool ok = false;
        buildTime = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
        if (!ok)
            buildTime = QDateTime::currentSecsSinceEpoch();
    }
    const std::uint16_t version = kFormatVersion;
    const std::uint32_t sectionCount = kSectionCount;
    const std::uint32_t groupCount = static_cast<std::uint32_t>(groups_.size());
    const std::uint64_t maskCount = mask_.size();
    std::memcpy(head, kMagic, 8);
    std::memcpy(head + 8, &version, 2);
    head[10] = static_cast<std::uint8_t>(options_.engine);
    head[11] = static_cast<std::uint8_t>(delta ? Role::Delta : Role::Main);
    std::memcpy(head + 12, &sectionCount, 4);
    std::memcpy(head + 16, &buildTime, 8);
    std::memcpy(head + 24, &n, 8);
    std::memcpy(head + 32, &areaCount, 4);
    std::memcpy(head + 36, &groupCount, 4);
    std::memcpy(head + 40, &end, 8);
    std::memcpy(head + 48, &maskCount, 8);
    Hash64Stream headerHash;
    headerHash.update({head, 56});
    headerHash.update({head + kHeaderSize, kSectionCount * kSectionEntrySize});
    const std::uint64_t hh = headerHash.finish();
    std::memcpy(head + 56, &hh, 8);
    if (!file.seek(0) ||
        file.write(reinterpret_cast<const char*>(head), sizeof head) != sizeof head ||
        !file.commit())
        return fail(
            QStringLiteral("%1: writing failed (%2)").arg(options_.output, file.errorString()));

    if (report_) {
        report_->listings = n;
        report_->areas = areaCount;
        report_->groups = groupCount;
        report_->maskedNumbers = maskCount;
        report_->fileSize = end;
    }
    return true;
}

bool Builder::writeGroups(const Input& source, bool withOp, std::vector<SectionWriter>& w,
                          std::vector<NumberEntry>& numbers) {
    // Row offsets bucketed by group, in input order within a group.
    std::vector<std::uint64_t> start(groups_.size() + 1, 0);
    for (const RowRef& r : rows_)
        ++start[r.group + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<std::uint64_t> offsets(rows_.size());
    {
        std::vector<std::uint64_t> fill(start.begin(), start.end() - 1);
        for (const RowRef& r : rows_)
            offsets[fill[r.group]++] = r.offset;
    }
    rows_ = {};
    numbers.reserve(offsets.size());

    auto& listingsOut = w[3];
    auto& scanOut = w[4];
    auto& detailsOut = w[5];
    std::string arena;
    std::vector<Entry> entries;
    std::vector<std::uint32_t> sortedIdx;
    jtext::CsvRow row;
    ListingRow listing;
    std::uint32_t id = 0;
    for (std::size_t gi = 0; gi < groups_.size(); ++gi) {
        arena.clear();
        entries.clear();
        for (std::uint64_t r = start[gi]; r < start[gi + 1]; ++r) {
            jtext::CsvReader reader(source.data, offsets[r]);
            if (!reader.next(row) || !readListing(row, withOp, listing))
                return fail(QStringLiteral("%1: changed while it was read").arg(source.path));
            Entry e{};
            e.numberKey = listing.numberKey;
            const std::string_view texts[] = {listing.number, listing.name, listing.reading,
                                              listing.zip,    listing.town, listing.block};
            for (int f = 0; f < Entry::SortKey; ++f) {
                e.off[f] = static_cast<std::uint32_t>(arena.size());
                e.len[f] = static_cast<std::uint32_t>(texts[f].size());
                arena.append(texts[f]);
                jtext::withCp932FormsUtf8(arena.data() + e.off[f], e.len[f]);
            }
            e.off[Entry::SortKey] = static_cast<std::uint32_t>(arena.size());
            const std::string reading = arena.substr(e.off[Entry::Reading], e.len[Entry::Reading]);
            order_.appendReadingKey(reading, arena);
            e.len[Entry::SortKey] =
                static_cast<std::uint32_t>(arena.size() - e.off[Entry::SortKey]);
            entries.push_back(e);
        }
        const auto text = [&arena](const Entry& e, int f) {
            return std::string_view(arena).substr(e.off[f], e.len[f]);
        };
        sortedIdx.resize(entries.size());
        for (std::uint32_t i = 0; i < sortedIdx.size(); ++i)
            sortedIdx[i] = i;
        // Must agree with DirectoryOrder::less: reading, number, name, town, block, zip.
        std::sort(sortedIdx.begin(), sortedIdx.end(), [&](std::uint32_t ia, std::uint32_t ib) {
            const Entry& a = entries[ia];
            const Entry& b = entries[ib];
            return std::tuple(text(a, Entry::SortKey), a.numberKey, text(a, Entry::Name),
                              text(a, Entry::Town), text(a, Entry::Block), text(a, Entry::Zip)) <
                   std::tuple(text(b, Entry::SortKey), b.numberKey, text(b, Entry::Name),
                              text(b, Entry::Town), text(b, Entry::Block), text(b, Entry::Zip));
        });
        const bool individual = groups_[gi].kind == PersonKind::Individual;
        std::vector<std::string_view> names;
        std::vector<std::string_view> readings;
        for (std::uint32_t i : sortedIdx) {
            names.push_back(text(entries[i], Entry::Name));
            readings.push_back(text(entries[i], Entry::Reading));
        }
        if (individual)
            appendPrefixBlock(names, readings, index_);
        else
            appendBigramBlock(names, index_);
        indexEnds_.push_back(index_.size());
        std::uint32_t textRel = 0;
        std::uint32_t detailRel = 0;
        for (std::uint32_t i : sortedIdx) {
            const Entry& e = entries[i];
            listingsOut.put<std::uint32_t>(textRel);
            listingsOut.put<std::uint32_t>(detailRel);
            scanOut.write(text(e, Entry::Name));
            textRel += e.len[Entry::Name] + 1;
            if (individual) {
                scanOut.putByte(kReadingSeparator);
                scanOut.write(text(e, Entry::Reading));
                textRel += e.len[Entry::Reading] + 1;
            }
            scanOut.putByte(kRecordEnd);
            const std::string_view corporateReading =
                individual ? std::string_view() : text(e, Entry::Reading);
            for (std::string_view field :
                 {text(e, Entry::Number), text(e, Entry::Zip), text(e, Entry::Town),
                  text(e, Entry::Block), corporateReading}) {
                detailsOut.putField(field);
                detailRel += static_cast<std::uint32_t>(fieldSize(field));
            }
            numbers.push_back({e.numberKey, id++});
        }
    }
    return true;
}

} // namespace

bool buildDictionary(const BuildOptions& options, BuildReport* report, QString* error) {
    if (options.output.isEmpty() || options.listingsCsv.isEmpty()) {
        if (error)
            *error = QStringLiteral("a listing CSV and an output file are needed");
        return false;
    }
    Builder builder(options, report, error);
    return builder.run();
}

} // namespace pikotel::dict
