#include "reader.h"

#include "hash.h"
#include "pattern.h"

#include <algorithm>
#include <cstring>

namespace pikotel::dict {

namespace {

template <typename T> T load(const std::uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T> T load(Bytes bytes, std::size_t offset) {
    return load<T>(bytes.data() + offset);
}

// Sizes and offsets come from the file: a sum that wraps around 2^64 would pass any bound.
bool checkedAdd(std::uint64_t a, std::uint64_t b, std::uint64_t& sum) {
    return !__builtin_add_overflow(a, b, &sum);
}

// True when [offset, offset + size) lies inside [0, limit).
bool within(std::uint64_t offset, std::uint64_t size, std::uint64_t limit) {
    std::uint64_t end = 0;
    return checkedAdd(offset, size, end) && end <= limit;
}

// Reads one LEB128 length and the text behind it, within [pos, end).
bool readField(Bytes bytes, std::size_t& pos, std::size_t end, std::string_view& out) {
    std::uint64_t length = 0;
    for (int shift = 0;; shift += 7) {
        if (pos >= end || shift > 28)
            return false;
        const std::uint8_t b = bytes[pos++];
        length |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0)
            break;
    }
    if (length > end - pos)
        return false;
    out = std::string_view(reinterpret_cast<const char*>(bytes.data() + pos), length);
    pos += length;
    return true;
}

// Reads one unsigned LEB128 value of at most 32 bits within [pos, end).
bool readVarint(const std::uint8_t* bytes, std::size_t& pos, std::size_t end,
                std::uint32_t& value) {
    std::uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        if (pos >= end || shift > 28)
            return false;
        const std::uint8_t b = bytes[pos++];
        v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0)
            break;
    }
    if (v > UINT32_MAX)
        return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

// Decodes one bucket of a bigram block: listings below count, strictly ascending, filling
// the bytes exactly.
bool readPostings(Bytes block, std::size_t begin, std::size_t end, std::uint32_t count,
                  std::vector<std::uint32_t>* out) {
    std::size_t pos = begin;
    std::uint64_t next = 0;
    while (pos < end) {
        std::uint32_t delta = block[pos];
        // Most gaps take one byte.
        if (delta < 0x80)
            ++pos;
        else if (!readVarint(block.data(), pos, end, delta))
            return false;
        next += delta;
        if (next >= count)
            return false;
        if (out)
            out->push_back(static_cast<std::uint32_t>(next));
        ++next;
    }
    return true;
}

} // namespace

const char* describe(OpenError error) {
    switch (error) {
    case OpenError::None:
        return "ok";
    case OpenError::TooShort:
        return "file too short for a dictionary";
    case OpenError::BadMagic:
        return "not a dictionary file (wrong magic)";
    case OpenError::UnsupportedVersion:
        return "unsupported format version";
    case OpenError::BadHeader:
        return "header damaged (counts or file size)";
    case OpenError::BadSectionTable:
        return "section table damaged";
    case OpenError::HeaderChecksum:
        return "header checksum mismatch";
    case OpenError::SectionChecksum:
        return "section checksum mismatch";
    case OpenError::BadAreas:
        return "area table damaged";
    case OpenError::BadGroups:
        return "group table damaged";
    case OpenError::BadListings:
        return "listing table damaged";
    case OpenError::BadNumberIndex:
        return "number index damaged";
    case OpenError::BadMask:
        return "masked-number list damaged";
    case OpenError::BadNameIndex:
        return "name index damaged";
    }
    return "unknown error";
}

void Dictionary::clear() {
    image_ = {};
    header_ = {};
    for (SectionInfo& s : sections_)
        s = {};
}

Bytes Dictionary::sectionBytes(SectionId id) const {
    const SectionInfo& s = section(id);
    return image_.subspan(s.offset, s.size);
}

OpenError Dictionary::open(Bytes image, const OpenOptions& options) {
    clear();
    image_ = image;
    OpenError error = readHeader(options);
    if (error == OpenError::None)
        error = checkAreas();
    if (error == OpenError::None)
        error = checkGroups();
    if (error == OpenError::None)
        error = checkListings();
    if (error == OpenError::None)
        error = checkNumberIndex();
    if (error == OpenError::None)
        error = checkMask();
    if (error == OpenError::None)
        error = checkNameIndex();
    if (error != OpenError::None)
        clear();
    return error;
}

OpenError Dictionary::readHeader(const OpenOptions& options) {
    const Bytes b = image_;
    if (b.size() < kHeaderSize + kSectionCount * kSectionEntrySize)
        return OpenError::TooShort;
    if (std::memcmp(b.data(), kMagic, sizeof kMagic) != 0)
        return OpenError::BadMagic;
    header_.version = load<std::uint16_t>(b, 8);
    if (header_.version != kFormatVersion)
        return OpenError::UnsupportedVersion;
    const std::uint8_t engine = b[10];
    const std::uint8_t role = b[11];
    const std::uint32_t sectionCount = load<std::uint32_t>(b, 12);
    header_.buildTime = load<std::int64_t>(b, 16);
    header_.listingCount = load<std::uint64_t>(b, 24);
    header_.areaCount = load<std::uint32_t>(b, 32);
    header_.groupCount = load<std::uint32_t>(b, 36);
    header_.fileSize = load<std::uint64_t>(b, 40);
    header_.maskCount = load<std::uint64_t>(b, 48);
    header_.headerHash = load<std::uint64_t>(b, 56);
    if ((engine != 1 && engine != 2) || role > 1 || sectionCount != kSectionCount ||
        header_.fileSize != b.size() || header_.listingCount > UINT32_MAX ||
        header_.groupCount > header_.listingCount || header_.maskCount > b.size() / 8 ||
        (role == static_cast<std::uint8_t>(Role::Main) && header_.maskCount != 0))
        return OpenError::BadHeader;
    header_.engine = static_cast<Engine>(engine);
    header_.role = static_cast<Role>(role);

    const std::size_t tableEnd = kHeaderSize + kSectionCount * kSectionEntrySize;
    if (options.verifyChecksums) {
        Hash64Stream h;
        h.update(b.subspan(0, 56));
        h.update(b.subspan(kHeaderSize, tableEnd - kHeaderSize));
        if (h.finish() != header_.headerHash)
            return OpenError::HeaderChecksum;
    }

    // Sections follow each other in id order, each on the next 8-byte boundary, and the
    // last one ends the file: no byte of the file lies outside a checksummed extent.
    std::uint64_t expected = tableEnd;
    for (std::uint32_t i = 0; i < kSectionCount; ++i) {
        const std::uint8_t* e = b.data() + kHeaderSize + i * kSectionEntrySize;
        SectionInfo& s = sections_[i];
        const std::uint32_t id = load<std::uint32_t>(e);
        s.id = static_cast<SectionId>(id);
        s.offset = load<std::uint64_t>(e + 8);
        s.size = load<std::uint64_t>(e + 16);
        s.hash = load<std::uint64_t>(e + 24);
        if (id != i + 1 || load<std::uint32_t>(e + 4) != 0 || s.offset != expected ||
            s.size > b.size() || !within(s.offset, align8(s.size), b.size()))
            return OpenError::BadSectionTable;
        expected = s.offset + align8(s.size);
    }
    if (expected != b.size())
        return OpenError::BadSectionTable;

    const std::uint64_t n = header_.listingCount;
    const auto sizeIs = [this](SectionId id, std::uint64_t size) {
        return section(id).size == size;
    };
    if (!sizeIs(SectionId::Areas, std::uint64_t{header_.areaCount} * kAreaEntrySize) ||
        !sizeIs(SectionId::Groups, std::uint64_t{header_.groupCount} * kGroupEntrySize) ||
        !sizeIs(SectionId::Listings, n * kListingEntrySize) ||
        !sizeIs(SectionId::NumberKeys, n * 8) || !sizeIs(SectionId::NumberIds, n * 4) ||
        !sizeIs(SectionId::NumberSparse, (n + kSparseStride - 1) / kSparseStride * 8) ||
        !sizeIs(SectionId::Mask, header_.maskCount * 8) ||
        section(SectionId::NameIndex).size < std::uint64_t{header_.groupCount} * kIndexEntrySize)
        return OpenError::BadHeader;

    if (options.verifyChecksums && !damagedSections().empty())
        return OpenError::SectionChecksum;
    return OpenError::None;
}

std::vector<SectionId> Dictionary::damagedSections() const {
    std::vector<SectionId> damaged;
    for (const SectionInfo& s : sections_) {
        if (hash64(image_.subspan(s.offset, align8(s.size))) != s.hash)
            damaged.push_back(s.id);
    }
    return damaged;
}

OpenError Dictionary::checkAreas() const {
    const Bytes areas = sectionBytes(SectionId::Areas);
    const std::uint64_t textSize = section(SectionId::AreaText).size;
    std::uint32_t previous = 0;
    for (std::uint32_t i = 0; i < header_.areaCount; ++i) {
        const std::uint8_t* e = areas.data() + i * kAreaEntrySize;
        const auto code = load<std::uint32_t>(e);
        if ((i > 0 && code <= previous) ||
            !within(load<std::uint32_t>(e + 4), load<std::uint16_t>(e + 12), textSize) ||
            !within(load<std::uint32_t>(e + 8), load<std::uint16_t>(e + 14), textSize))
            return OpenError::BadAreas;
        previous = code;
    }
    return OpenError::None;
}

Dictionary::GroupRecord Dictionary::groupRecord(std::uint32_t index) const {
    const std::uint8_t* e =
        image_.data() + section(SectionId::Groups).offset + index * kGroupEntrySize;
    return GroupRecord{load<std::uint32_t>(e),      load<std::uint32_t>(e + 4),
                       load<std::uint32_t>(e + 8),  load<std::uint32_t>(e + 12),
                       load<std::uint64_t>(e + 16), load<std::uint64_t>(e + 24),
                       load<std::uint64_t>(e + 32), load<std::uint64_t>(e + 40)};
}

OpenError Dictionary::checkGroups() const {
    std::uint64_t listing = 0;
    std::uint64_t text = 0;
    std::uint64_t detail = 0;
    for (std::uint32_t i = 0; i < header_.groupCount; ++i) {
        const GroupRecord g = groupRecord(i);
        if (g.kind < 1 || g.kind > 2 || g.listingCount == 0 || g.firstListing != listing ||
            g.textOffset != text || g.detailOffset != detail || g.textSize < g.listingCount ||
            g.detailSize < g.listingCount)
            return OpenError::BadGroups;
        if (i > 0) {
            const GroupRecord p = groupRecord(i - 1);
            if (g.cityCode < p.cityCode || (g.cityCode == p.cityCode && g.kind <= p.kind))
                return OpenError::BadGroups;
        }
        if (!within(text, g.textSize, section(SectionId::ScanText).size) ||
            !within(detail, g.detailSize, section(SectionId::Details).size))
            return OpenError::BadGroups;
        listing += g.listingCount;
        text += g.textSize;
        detail += g.detailSize;
    }
    if (listing != header_.listingCount || text != section(SectionId::ScanText).size ||
        detail != section(SectionId::Details).size)
        return OpenError::BadGroups;
    return OpenError::None;
}

OpenError Dictionary::checkListings() const {
    const Bytes listings = sectionBytes(SectionId::Listings);
    const Bytes scan = sectionBytes(SectionId::ScanText);
    for (std::uint32_t gi = 0; gi < header_.groupCount; ++gi) {
        const GroupRecord g = groupRecord(gi);
        for (std::uint32_t k = 0; k < g.listingCount; ++k) {
            const std::size_t at = (std::size_t{g.firstListing} + k) * kListingEntrySize;
            const auto textRel = load<std::uint32_t>(listings, at);
            const auto detailRel = load<std::uint32_t>(listings, at + 4);
            const std::uint64_t nextText =
                k + 1 < g.listingCount ? load<std::uint32_t>(listings, at + 8) : g.textSize;
            const std::uint64_t nextDetail =
                k + 1 < g.listingCount ? load<std::uint32_t>(listings, at + 12) : g.detailSize;
            // Every record ends with its own terminator, so a scan never runs into the next.
            if ((k == 0 && (textRel != 0 || detailRel != 0)) || nextText <= textRel ||
                nextDetail <= detailRel || nextText > g.textSize || nextDetail > g.detailSize ||
                scan[g.textOffset + nextText - 1] != kRecordEnd)
                return OpenError::BadListings;
        }
    }
    return OpenError::None;
}

OpenError Dictionary::checkNumberIndex() const {
    const Bytes keys = sectionBytes(SectionId::NumberKeys);
    const Bytes ids = sectionBytes(SectionId::NumberIds);
    const Bytes sparse = sectionBytes(SectionId::NumberSparse);
    const std::uint64_t n = header_.listingCount;
    std::uint64_t previousKey = 0;
    std::uint32_t previousId = 0;
    for (std::uint64_t i = 0; i < n; ++i) {
        const auto key = load<std::uint64_t>(keys, i * 8);
        const auto id = load<std::uint32_t>(ids, i * 4);
        if (id >= n || (i > 0 && (key < previousKey || (key == previousKey && id <= previousId))))
            return OpenError::BadNumberIndex;
        if (i % kSparseStride == 0 && load<std::uint64_t>(sparse, i / kSparseStride * 8) != key)
            return OpenError::BadNumberIndex;
        previousKey = key;
        previousId = id;
    }
    return OpenError::None;
}

OpenError Dictionary::checkMask() const {
    const Bytes mask = sectionBytes(SectionId::Mask);
    for (std::uint64_t i = 1; i < header_.maskCount; ++i) {
        if (load<std::uint64_t>(mask, i * 8) <= load<std::uint64_t>(mask, (i - 1) * 8))
            return OpenError::BadMask;
    }
    return OpenError::None;
}

AreaView Dictionary::area(std::uint32_t index) const {
    if (index >= header_.areaCount)
        return {};
    const std::uint8_t* e =
        image_.data() + section(SectionId::Areas).offset + index * kAreaEntrySize;
    const auto* text =
        reinterpret_cast<const char*>(image_.data() + section(SectionId::AreaText).offset);
    return AreaView{
        load<std::uint32_t>(e),
        std::string_view(text + load<std::uint32_t>(e + 4), load<std::uint16_t>(e + 12)),
        std::string_view(text + load<std::uint32_t>(e + 8), load<std::uint16_t>(e + 14))};
}

const AreaView* Dictionary::findArea(std::uint32_t cityCode, AreaView& storage) const {
    std::uint32_t lo = 0;
    std::uint32_t hi = header_.areaCount;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (area(mid).cityCode < cityCode)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == header_.areaCount)
        return nullptr;
    storage = area(lo);
    return storage.cityCode == cityCode ? &storage : nullptr;
}

GroupView Dictionary::group(std::uint32_t index) const {
    if (index >= header_.groupCount)
        return {};
    const GroupRecord g = groupRecord(index);
    return GroupView{g.cityCode, static_cast<PersonKind>(g.kind), g.firstListing, g.listingCount};
}

std::int64_t Dictionary::findGroup(std::uint32_t cityCode, PersonKind kind) const {
    const std::uint64_t wanted = (std::uint64_t{cityCode} << 8) | static_cast<std::uint8_t>(kind);
    std::uint32_t lo = 0;
    std::uint32_t hi = header_.groupCount;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        const GroupRecord g = groupRecord(mid);
        if (((std::uint64_t{g.cityCode} << 8) | g.kind) < wanted)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == header_.groupCount)
        return -1;
    const GroupRecord g = groupRecord(lo);
    return ((std::uint64_t{g.cityCode} << 8) | g.kind) == wanted ? std::int64_t{lo} : -1;
}

std::uint32_t Dictionary::groupOfListing(std::uint32_t id) const {
    std::uint32_t lo = 0;
    std::uint32_t hi = header_.groupCount;
    while (hi - lo > 1) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (groupRecord(mid).firstListing <= id)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

bool Dictionary::listing(std::uint32_t id, ListingView& out) const {
    if (id >= header_.listingCount)
        return false;
    const GroupRecord g = groupRecord(groupOfListing(id));
    const std::uint32_t k = id - g.firstListing;
    const Bytes listings = sectionBytes(SectionId::Listings);
    const std::size_t at = std::size_t{id} * kListingEntrySize;
    const std::uint64_t textRel = load<std::uint32_t>(listings, at);
    const std::uint64_t detailRel = load<std::uint32_t>(listings, at + 4);
    const bool last = k + 1 == g.listingCount;
    const std::uint64_t textEnd = last ? g.textSize : load<std::uint32_t>(listings, at + 8);
    const std::uint64_t detailEnd = last ? g.detailSize : load<std::uint32_t>(listings, at + 12);
    if (textRel >= textEnd || textEnd > g.textSize || detailRel >= detailEnd ||
        detailEnd > g.detailSize)
        return false;

    out = ListingView{};
    out.id = id;
    out.cityCode = g.cityCode;
    out.kind = static_cast<PersonKind>(g.kind);
    const auto* text = reinterpret_cast<const char*>(
        image_.data() + section(SectionId::ScanText).offset + g.textOffset);
    const std::string_view record(text + textRel, textEnd - textRel - 1);
    if (out.kind == PersonKind::Individual) {
        const std::size_t sep = record.find(static_cast<char>(kReadingSeparator));
        if (sep == std::string_view::npos)
            return false;
        out.name = record.substr(0, sep);
        out.reading = record.substr(sep + 1);
    } else {
        out.name = record;
    }

    const Bytes details = sectionBytes(SectionId::Details);
    std::size_t pos = g.detailOffset + detailRel;
    const std::size_t end = g.detailOffset + detailEnd;
    std::string_view corporateReading;
    if (!readField(details, pos, end, out.number) || !readField(details, pos, end, out.zip) ||
        !readField(details, pos, end, out.town) || !readField(details, pos, end, out.block) ||
        !readField(details, pos, end, corporateReading) || pos != end)
        return false;
    if (out.kind == PersonKind::Corporate)
        out.reading = corporateReading;
    return true;
}

std::pair<std::uint64_t, std::uint64_t> Dictionary::numberRange(std::uint64_t key) const {
    const std::uint64_t n = header_.listingCount;
    const Bytes keys = sectionBytes(SectionId::NumberKeys);
    const Bytes sparse = sectionBytes(SectionId::NumberSparse);
    const std::uint64_t blocks = sparse.size() / 8;
    // First sparse entry not below the key; the key's first position lies in the block
    // before it (or is that entry itself).
    std::uint64_t lo = 0;
    std::uint64_t hi = blocks;
    while (lo < hi) {
        const std::uint64_t mid = lo + (hi - lo) / 2;
        if (load<std::uint64_t>(sparse, mid * 8) < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    std::uint64_t first = lo == 0 ? 0 : (lo - 1) * kSparseStride;
    std::uint64_t last = std::min(n, lo * kSparseStride + 1);
    while (first < last) {
        const std::uint64_t mid = first + (last - first) / 2;
        if (load<std::uint64_t>(keys, mid * 8) < key)
            first = mid + 1;
        else
            last = mid;
    }
    std::uint64_t end = first;
    while (end < n && load<std::uint64_t>(keys, end * 8) == key)
        ++end;
    return {first, end};
}

std::uint32_t Dictionary::numberListing(std::uint64_t position) const {
    if (position >= header_.listingCount)
        return UINT32_MAX;
    return load<std::uint32_t>(sectionBytes(SectionId::NumberIds), position * 4);
}

bool Dictionary::isMasked(std::uint64_t key) const {
    const Bytes mask = sectionBytes(SectionId::Mask);
    std::uint64_t lo = 0;
    std::uint64_t hi = header_.maskCount;
    while (lo < hi) {
        const std::uint64_t mid = lo + (hi - lo) / 2;
        const auto k = load<std::uint64_t>(mask, mid * 8);
        if (k == key)
            return true;
        if (k < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    return false;
}

std::string_view Dictionary::groupText(std::uint32_t groupIndex) const {
    if (groupIndex >= header_.groupCount)
        return {};
    const GroupRecord g = groupRecord(groupIndex);
    return std::string_view(reinterpret_cast<const char*>(
                                image_.data() + section(SectionId::ScanText).offset + g.textOffset),
                            g.textSize);
}

Bytes Dictionary::indexBlock(std::uint32_t groupIndex) const {
    const Bytes index = sectionBytes(SectionId::NameIndex);
    const std::size_t at = std::size_t{groupIndex} * kIndexEntrySize;
    return index.subspan(load<std::uint64_t>(index, at), load<std::uint64_t>(index, at + 8));
}

namespace {

// The name of the listing k of a group's scan text (up to the reading separator), and for
// individuals its reading; false when the record is damaged.
struct GroupText {
    std::string_view text;
    Bytes listings;
    std::uint32_t count;
    bool individual;

    std::uint64_t rel(std::uint32_t k) const {
        return k < count ? load<std::uint32_t>(listings, std::size_t{k} * kListingEntrySize)
                         : text.size();
    }
    bool record(std::uint32_t k, std::string_view& name, std::string_view& reading) const {
        if (k >= count)
            return false;
        const std::uint64_t start = rel(k);
        const std::uint64_t end = rel(k + 1);
        if (start >= end || end > text.size())
            return false;
        name = text.substr(start, end - start - 1);
        reading = {};
        if (!individual)
            return true;
        const std::size_t sep = name.find(static_cast<char>(kReadingSeparator));
        if (sep == std::string_view::npos)
            return false;
        reading = name.substr(sep + 1);
        name = name.substr(0, sep);
        return true;
    }
};

} // namespace

OpenError Dictionary::checkNameIndex() const {
    const Bytes index = sectionBytes(SectionId::NameIndex);
    std::uint64_t expected = std::uint64_t{header_.groupCount} * kIndexEntrySize;
    std::vector<std::uint8_t> seen;
    for (std::uint32_t gi = 0; gi < header_.groupCount; ++gi) {
        const std::size_t at = std::size_t{gi} * kIndexEntrySize;
        const auto offset = load<std::uint64_t>(index, at);
        const auto size = load<std::uint64_t>(index, at + 8);
        if (offset != expected || !within(offset, size, index.size()))
            return OpenError::BadNameIndex;
        expected = offset + size;
        const GroupRecord g = groupRecord(gi);
        const Bytes block = index.subspan(offset, size);
        if (g.kind == static_cast<std::uint32_t>(PersonKind::Individual)) {
            // Two permutations of the group's listings.
            if (size != std::uint64_t{g.listingCount} * 8)
                return OpenError::BadNameIndex;
            for (std::size_t half = 0; half < 2; ++half) {
                seen.assign(g.listingCount, 0);
                for (std::uint32_t i = 0; i < g.listingCount; ++i) {
                    const auto k = load<std::uint32_t>(block, (half * g.listingCount + i) * 4);
                    if (k >= g.listingCount || seen[k])
                        return OpenError::BadNameIndex;
                    seen[k] = 1;
                }
            }
            continue;
        }
        if (size < 8)
            return OpenError::BadNameIndex;
        const auto buckets = load<std::uint32_t>(block, 0);
        if (buckets == 0 || buckets > kMaxBigramBuckets || (buckets & (buckets - 1)) != 0 ||
            4 + (std::uint64_t{buckets} + 1) * 4 > size)
            return OpenError::BadNameIndex;
        const std::size_t postings = 4 + (std::size_t{buckets} + 1) * 4;
        std::uint64_t previous = 0;
        for (std::uint32_t b = 0; b <= buckets; ++b) {
            const std::uint64_t start = load<std::uint32_t>(block, 4 + std::size_t{b} * 4);
            if ((b == 0 && start != 0) || start < previous || start > size - postings ||
                (b == buckets && start != size - postings))
                return OpenError::BadNameIndex;
            if (b > 0 && !readPostings(block, postings + previous, postings + start, g.listingCount,
                                       nullptr))
                return OpenError::BadNameIndex;
            previous = start;
        }
    }
    if (expected != index.size())
        return OpenError::BadNameIndex;
    return OpenError::None;
}

Dictionary::IndexUse Dictionary::indexCandidates(std::uint32_t groupIndex, const GroupRecord& g,
                                                 const Pattern& pattern,
                                                 const Pattern* readingPattern,
                                                 std::vector<std::uint32_t>& candidates) const {
    candidates.clear();
    const Bytes block = indexBlock(groupIndex);
    const GroupText text{groupText(groupIndex),
                         sectionBytes(SectionId::Listings)
                             .subspan(std::size_t{g.firstListing} * kListingEntrySize,
                                      std::size_t{g.listingCount} * kListingEntrySize),
                         g.listingCount,
                         g.kind == static_cast<std::uint32_t>(PersonKind::Individual)};
    if (text.individual) {
        // Names and readings in byte order: the listings that begin with the pattern's head
        // are one run in each.
        if (pattern.head().empty() || (readingPattern && readingPattern->head().empty()))
            return IndexUse::NotUsable;
        bool damaged = false;
        const auto collect = [&](std::size_t half, std::string_view head, bool byReading) {
            const auto entry = [&](std::uint32_t i) {
                return load<std::uint32_t>(block, (half * g.listingCount + i) * 4);
            };
            const auto textOf = [&](std::uint32_t i, std::string_view& out) {
                std::string_view name;
                std::string_view reading;
                if (!text.record(entry(i), name, reading)) {
                    damaged = true;
                    return false;
                }
                out = byReading ? reading : name;
                return true;
            };
            std::uint32_t lo = 0;
            std::uint32_t hi = g.listingCount;
            std::string_view t;
            while (lo < hi) {
                const std::uint32_t mid = lo + (hi - lo) / 2;
                if (!textOf(mid, t))
                    return;
                if (t < head)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            for (; lo < g.listingCount; ++lo) {
                if (!textOf(lo, t) || !t.starts_with(head))
                    return;
                candidates.push_back(entry(lo));
            }
        };
        collect(0, pattern.head(), false);
        if (readingPattern)
            collect(1, readingPattern->head(), true);
        if (damaged)
            return IndexUse::Damaged;
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        return IndexUse::Used;
    }
    // Businesses: every bigram of every literal piece is in the name of a match.
    const auto buckets = load<std::uint32_t>(block, 0);
    std::vector<std::uint32_t> wanted;
    std::vector<char32_t> cps;
    for (const std::string& piece : pattern.pieces()) {
        codePointsOf(piece, cps);
        for (std::size_t i = 1; i < cps.size(); ++i)
            wanted.push_back(bigramBucket(cps[i - 1], cps[i], buckets));
    }
    if (wanted.empty())
        return IndexUse::NotUsable;
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    const std::size_t postings = 4 + (std::size_t{buckets} + 1) * 4;
    const auto bucketRange = [&](std::uint32_t b) {
        return std::pair<std::size_t, std::size_t>(
            postings + load<std::uint32_t>(block, 4 + std::size_t{b} * 4),
            postings + load<std::uint32_t>(block, 8 + std::size_t{b} * 4));
    };
    // The shortest list first, then each of the others narrows it.
    std::sort(wanted.begin(), wanted.end(), [&](std::uint32_t a, std::uint32_t b) {
        const auto [a0, a1] = bucketRange(a);
        const auto [b0, b1] = bucketRange(b);
        return a1 - a0 < b1 - b0;
    });
    std::vector<std::uint32_t> list;
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        const auto [begin, end] = bucketRange(wanted[w]);
        if (begin > end || end > block.size())
            return IndexUse::Damaged;
        if (w == 0) {
            if (!readPostings(block, begin, end, g.listingCount, &candidates))
                return IndexUse::Damaged;
            continue;
        }
        if (candidates.empty())
            break;
        list.clear();
        if (!readPostings(block, begin, end, g.listingCount, &list))
            return IndexUse::Damaged;
        const auto last = std::set_intersection(candidates.begin(), candidates.end(), list.begin(),
                                                list.end(), candidates.begin());
        candidates.erase(last, candidates.end());
    }
    return IndexUse::Used;
}

bool Dictionary::scanGroup(std::uint32_t groupIndex, const Pattern& pattern,
                           const Pattern* readingPattern,
                           const std::function<bool(std::uint32_t)>& visit) const {
    if (groupIndex >= header_.groupCount)
        return false;
    const GroupRecord g = groupRecord(groupIndex);
    const bool individual = g.kind == static_cast<std::uint32_t>(PersonKind::Individual);
    if (!individual)
        readingPattern = nullptr;
    if (pattern.matchesAll()) {
        for (std::uint32_t k = 0; k < g.listingCount; ++k) {
            if (!visit(g.firstListing + k))
                return true;
        }
        return true;
    }
    const GroupText group{groupText(groupIndex),
                          sectionBytes(SectionId::Listings)
                              .subspan(std::size_t{g.firstListing} * kListingEntrySize,
                                       std::size_t{g.listingCount} * kListingEntrySize),
                          g.listingCount, individual};
    const std::string_view text = group.text;
    const auto textRel = [&](std::uint32_t k) { return group.rel(k); };
    const auto recordAt = [&](std::uint32_t k, std::string_view& name, std::string_view& reading) {
        return group.record(k, name, reading);
    };
    std::vector<std::uint32_t> candidates;
    switch (indexCandidates(groupIndex, g, pattern, readingPattern, candidates)) {
    case IndexUse::Damaged:
        return false;
    case IndexUse::Used:
        for (const std::uint32_t k : candidates) {
            std::string_view name;
            std::string_view reading;
            if (!recordAt(k, name, reading))
                return false;
            if ((pattern.matches(name) ||
                 (readingPattern != nullptr && readingPattern->matches(reading))) &&
                !visit(g.firstListing + k))
                return true;
        }
        return true;
    case IndexUse::NotUsable:
        break;
    }
    if (readingPattern != nullptr && readingPattern != &pattern) {
        // A reading written otherwise than the names (hiragana, half width): no one anchor
        // finds both, so every record is looked at.
        for (std::uint32_t k = 0; k < g.listingCount; ++k) {
            std::string_view name;
            std::string_view reading;
            if (!recordAt(k, name, reading))
                return false;
            if ((pattern.matches(name) || readingPattern->matches(reading)) &&
                !visit(g.firstListing + k))
                return true;
        }
        return true;
    }
    const std::string_view anchor = pattern.anchor();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const void* hit =
            memmem(text.data() + pos, text.size() - pos, anchor.data(), anchor.size());
        if (!hit)
            break;
        const auto at = static_cast<std::uint64_t>(static_cast<const char*>(hit) - text.data());
        // The record holding the hit: the last one starting at or before it.
        std::uint32_t lo = 0;
        std::uint32_t hi = g.listingCount;
        while (hi - lo > 1) {
            const std::uint32_t mid = lo + (hi - lo) / 2;
            if (textRel(mid) <= at)
                lo = mid;
            else
                hi = mid;
        }
        const std::uint64_t start = textRel(lo);
        const std::uint64_t end = textRel(lo + 1);
        if (start > at || end <= at || end > text.size())
            return false;
        std::string_view name;
        std::string_view reading;
        if (!recordAt(lo, name, reading))
            return false;
        if (pattern.matches(name) || (readingPattern != nullptr && pattern.matches(reading))) {
            if (!visit(g.firstListing + lo))
                return true;
        }
        pos = end;
    }
    return true;
}

} // namespace pikotel::dict
