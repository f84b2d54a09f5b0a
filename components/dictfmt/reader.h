#pragma once

// Reader of a dictionary image: one immutable file, read through a span (pointer and length)
// that the caller keeps alive, usually a memory map (mappedfile.h). open() checks the whole
// structure; every later access checks its offsets again and reports a damaged image instead
// of reading past an end. Layout (little-endian; FORMAT.md has the full text):
//
//   0 ┌──────────────────────────────── header, 64 bytes ─────────────────────────────┐
//     │ "PKTLDICT" │ u16 version │ u8 engine │ u8 role │ u32 section count (11)       │
//  16 │ i64 build time (s, UTC)   │ u64 listing count                                 │
//  32 │ u32 area count │ u32 group count │ u64 file size                              │
//  48 │ u64 masked-number count   │ u64 header hash (bytes 0-55 + section table)      │
//  64 ├──────────── section table: 11 × { u32 id, u32 0, u64 offset, u64 size,        │
//     │                                   u64 hash of the 8-aligned extent } ────────┤
// 416 ├ 1 Areas        area count × { u32 city code, u32 pref off, u32 city off,      │
//     │                               u16 pref len, u16 city len }, codes ascending   │
//     ├ 2 AreaText     UTF-8 names                                                    │
//     ├ 3 Groups       group count × { u32 city code, u32 person kind,                │
//     │                  u32 first listing, u32 listing count, u64 text off,         │
//     │                  u64 text size, u64 detail off, u64 detail size },           │
//     │                  by (city code, kind); contiguous, covering 4, 5 and 6        │
//     ├ 4 Listings     listing count × { u32 text rel, u32 detail rel }  (group-rel) │
//     ├ 5 ScanText     per listing: name [0x1F reading] 0x00  (reading: kind 1 only)  │
//     ├ 6 Details      per listing: varint-length UTF-8 number, zip, town, block,     │
//     │                reading (kind 2 only)                                          │
//     ├ 7 NumberKeys   listing count × u64 number key, ascending                      │
//     ├ 8 NumberIds    listing count × u32 listing id (ascending within a key)        │
//     ├ 9 NumberSparse ceil(listing count / 64) × u64: every 64th number key          │
//     ├ 10 Mask        masked-number count × u64 number key, ascending (delta only)   │
//     ├ 11 NameIndex   group count × { u64 offset, u64 size } of each group's block:   │
//     │                individuals: u32 listings by name, u32 listings by reading     │
//     │                (byte order); businesses: name bigrams hashed to buckets, each │
//     │                bucket an ascending varint-delta list of listings             │
//     └ end of file = end of the last section's 8-aligned extent                      ┘
//
// Listings are in directory order: by city code, person kind, reading (Japanese collation),
// number. One group is one city's listings of one person kind, so a city scan is one
// contiguous stretch of ScanText.

#include "format.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pikotel::dict {

using Bytes = std::span<const std::uint8_t>;

enum class OpenError {
    None = 0,
    TooShort,
    BadMagic,
    UnsupportedVersion,
    BadHeader,
    BadSectionTable,
    HeaderChecksum,
    SectionChecksum,
    BadAreas,
    BadGroups,
    BadListings,
    BadNumberIndex,
    BadMask,
    BadNameIndex,
};

const char* describe(OpenError error);

struct OpenOptions {
    // The fuzz harness turns this off to reach the structural checks behind the checksums.
    bool verifyChecksums = true;
};

struct Header {
    std::uint16_t version = 0;
    Engine engine = Engine::Dxs;
    Role role = Role::Main;
    std::int64_t buildTime = 0;
    std::uint64_t listingCount = 0;
    std::uint32_t areaCount = 0;
    std::uint32_t groupCount = 0;
    std::uint64_t fileSize = 0;
    std::uint64_t maskCount = 0;
    std::uint64_t headerHash = 0;
};

struct SectionInfo {
    SectionId id{};
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
};

struct AreaView {
    std::uint32_t cityCode = 0;
    std::string_view pref;
    std::string_view city;
};

struct GroupView {
    std::uint32_t cityCode = 0;
    PersonKind kind = PersonKind::Individual;
    std::uint32_t firstListing = 0;
    std::uint32_t listingCount = 0;
};

// Texts point into the image and live as long as it.
struct ListingView {
    std::uint32_t id = 0;
    std::uint32_t cityCode = 0;
    PersonKind kind = PersonKind::Individual;
    std::string_view number;
    std::string_view name;
    std::string_view reading;
    std::string_view zip;
    std::string_view town;
    std::string_view block;
};

class Pattern;

class Dictionary {
public:
    // Checks the image; on failure the dictionary stays empty.
    OpenError open(Bytes image, const OpenOptions& options = {});
    bool isOpen() const { return !image_.empty(); }

    const Header& header() const { return header_; }
    const SectionInfo& section(SectionId id) const {
        return sections_[static_cast<std::size_t>(id) - 1];
    }
    // Recomputes every section's checksum: the sections whose bytes changed since the build.
    std::vector<SectionId> damagedSections() const;

    std::uint32_t areaCount() const { return header_.areaCount; }
    AreaView area(std::uint32_t index) const;
    // The area of a city code, by binary search over the ascending codes.
    const AreaView* findArea(std::uint32_t cityCode, AreaView& storage) const;

    std::uint32_t groupCount() const { return header_.groupCount; }
    GroupView group(std::uint32_t index) const;
    // Index of the group of a city and person kind, or -1.
    std::int64_t findGroup(std::uint32_t cityCode, PersonKind kind) const;

    std::uint64_t listingCount() const { return header_.listingCount; }
    // False when the listing's bytes are damaged (or the id is out of range).
    bool listing(std::uint32_t id, ListingView& out) const;

    // Positions [first, last) in the number index holding this key.
    std::pair<std::uint64_t, std::uint64_t> numberRange(std::uint64_t key) const;
    std::uint32_t numberListing(std::uint64_t position) const;

    bool isMasked(std::uint64_t key) const;

    // Calls visit(listing id) for every listing of the group, in directory order, whose name
    // matches the pattern or (individuals, when given) whose reading matches readingPattern;
    // visit returns false to stop. Returns false when the group's bytes are damaged.
    bool scanGroup(std::uint32_t groupIndex, const Pattern& pattern, const Pattern* readingPattern,
                   const std::function<bool(std::uint32_t)>& visit) const;

    // The raw scan text of a group: what a name scan reads (the benchmark's floor).
    std::string_view groupText(std::uint32_t groupIndex) const;

private:
    struct GroupRecord {
        std::uint32_t cityCode;
        std::uint32_t kind;
        std::uint32_t firstListing;
        std::uint32_t listingCount;
        std::uint64_t textOffset;
        std::uint64_t textSize;
        std::uint64_t detailOffset;
        std::uint64_t detailSize;
    };

    OpenError readHeader(const OpenOptions& options);
    OpenError checkAreas() const;
    OpenError checkGroups() const;
    OpenError checkListings() const;
    OpenError checkNumberIndex() const;
    OpenError checkMask() const;
    OpenError checkNameIndex() const;
    GroupRecord groupRecord(std::uint32_t index) const;
    Bytes indexBlock(std::uint32_t groupIndex) const;
    enum class IndexUse { Used, NotUsable, Damaged };
    // The listings of the group (group-relative, ascending) that may match, from the group's
    // name index; every listing that matches is among them.
    IndexUse indexCandidates(std::uint32_t groupIndex, const GroupRecord& g, const Pattern& pattern,
                             const Pattern* readingPattern,
                             std::vector<std::uint32_t>& candidates) const;
    std::uint32_t groupOfListing(std::uint32_t id) const;
    Bytes sectionBytes(SectionId id) const;
    void clear();

    Bytes image_;
    Header header_;
    SectionInfo sections_[kSectionCount];
};

} // namespace pikotel::dict
