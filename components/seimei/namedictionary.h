#pragma once

// Reader of a name dictionary image: one immutable file, read through a span that the caller
// keeps alive (a memory map in seimei.cpp). open() checks the whole structure once; every
// later access checks its offsets again, so even bytes changed under a mapping after open()
// give "not found" or false, never a read past an end. Layout (little-endian; FORMAT.md has
// the full text):
//
//   0 ┌───────────────────────────── header, 64 bytes ───────────────────────────────┐
//     │ "PKTLSEIM" │ u16 version (1) │ u16 0 │ u32 reading count R                   │
//  16 │ u32 candidate count C │ u32 text size T │ i64 build time (s, UTC)           │
//  32 │ u32 surname count │ u32 given-name count │ u64 file size                    │
//  48 │ u64 0 │ u64 checksum: XXH64 of the file without these 8 bytes               │
//  64 ├ Readings    R × { u32 key offset, u32 first candidate, u16 key length,       │
//     │                   u16 candidate count, u16 surname count, u16 0 },          │
//     │                   keys strictly ascending as unsigned bytes                 │
//     ├ Candidates  C × { u32 text offset, u16 text length, u8 kind, u8 0 }         │
//     │                   each reading's surnames first, then its given names       │
//     ├ Text        T bytes of cp932 (keys and written forms), zeros up to 8-aligned │
//     └ end of file = 64 + 16·R + 8·C + align8(T)                                   ┘
//
// A key is a reading in half-width katakana, as cp932 bytes; look-ups compare bytes exactly.

#include "nameformat.h"

#include <cstdint>
#include <string_view>

namespace pikotel::seimei {

enum class OpenError {
    None = 0,
    TooShort,
    BadMagic,
    UnsupportedVersion,
    BadHeader,
    Checksum,
    BadReadings,
    BadCandidates,
};

const char* describe(OpenError error);

struct OpenOptions {
    // The fuzz harness turns this off to reach the structural checks behind the checksum.
    bool verifyChecksum = true;
};

struct Header {
    std::uint16_t version = 0;
    std::uint32_t readingCount = 0;
    std::uint32_t candidateCount = 0;
    std::uint32_t textSize = 0;
    std::int64_t buildTime = 0;
    std::uint32_t surnameCount = 0;
    std::uint32_t givenNameCount = 0;
    std::uint64_t fileSize = 0;
    std::uint64_t checksum = 0;
};

// The candidates of one reading: indexes [first, first + count), surnames first.
struct CandidateRange {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    std::uint32_t surnames = 0;
};

// Points into the image and lives as long as it.
struct CandidateView {
    std::string_view written; // cp932
    NameKind kind = NameKind::Surname;
};

class NameDictionary {
public:
    // Checks the image; on failure the dictionary stays empty.
    OpenError open(Bytes image, const OpenOptions& options = {});
    bool isOpen() const { return !image_.empty(); }
    const Header& header() const { return header_; }

    std::uint32_t readingCount() const { return header_.readingCount; }
    // The key of a reading; empty for an index out of range or damaged bytes.
    std::string_view reading(std::uint32_t index) const;
    CandidateRange candidatesOf(std::uint32_t readingIndex) const;

    // The candidates of a key (half-width katakana, cp932); count 0 when it is not stored.
    CandidateRange find(std::string_view key) const;
    // False for an index out of range or damaged bytes.
    bool candidate(std::uint32_t index, CandidateView& out) const;

private:
    struct ReadingEntry {
        std::uint32_t keyOffset = 0;
        std::uint32_t firstCandidate = 0;
        std::uint16_t keyLength = 0;
        std::uint16_t candidateCount = 0;
        std::uint16_t surnameCount = 0;
        std::uint16_t reserved = 0;
    };
    struct CandidateEntry {
        std::uint32_t textOffset = 0;
        std::uint16_t textLength = 0;
        std::uint8_t kind = 0;
        std::uint8_t reserved = 0;
    };

    OpenError readHeader(Bytes image, const OpenOptions& options);
    OpenError checkReadings() const;
    OpenError checkCandidates() const;
    bool readingEntry(std::uint32_t index, ReadingEntry& out) const;
    bool candidateEntry(std::uint32_t index, CandidateEntry& out) const;
    // The text at offset and length, or nothing when it leaves the text section.
    bool text(std::uint32_t offset, std::uint32_t length, std::string_view& out) const;
    void clear();

    Bytes image_;
    Bytes readings_;
    Bytes candidates_;
    Bytes text_;
    Header header_;
};

} // namespace pikotel::seimei
