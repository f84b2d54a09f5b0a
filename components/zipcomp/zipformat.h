#pragma once

// Byte layout of the postal-code dictionary "pp00", shared by the builder and the reader.
// FORMAT.md describes every field; in short (all integers little-endian):
//
//   0        +---------------------------+
//            | header, 96 bytes          |  magic, version, build date, counts,
//            |                           |  licence id, flags, CRC-32 of the file
//   96       +---------------------------+
//            | section table             |  32 bytes per section: tag, element size,
//            |                           |  element count, offset, length
//            +---------------------------+
//            | sections, each 8-aligned  |  STRS PREF CITY TOWN BLCK RECD XKEY XROW OLDC
//   fileSize +---------------------------+
//
// Every table element is a row of 32-bit words; texts are offsets into STRS, where each
// text is a 16-bit length followed by that many bytes of cp932, the form in which the
// component hands texts out.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace pikotel::zipcomp::format {

inline constexpr char kDictionaryFileName[] = "pp00";
inline constexpr std::array<char, 8> kMagic = {'P', 'I', 'K', 'O', 'Z', 'I', 'P', '\x1a'};
inline constexpr std::uint16_t kVersionMajor = 2;
inline constexpr std::uint16_t kVersionMinor = 0;
inline constexpr std::size_t kHeaderSize = 96;
inline constexpr std::size_t kSectionEntrySize = 32;
inline constexpr std::size_t kLicenceIdSize = 16;
inline constexpr std::uint32_t kNoIndex = 0xFFFFFFFFu;
// Postal codes are stored as numbers; the highest valid one.
inline constexpr std::uint32_t kMaxCode = 9999999;

namespace offset {
inline constexpr std::size_t magic = 0;
inline constexpr std::size_t versionMajor = 8;
inline constexpr std::size_t versionMinor = 10;
inline constexpr std::size_t headerSize = 12;
inline constexpr std::size_t buildDate = 16;
inline constexpr std::size_t sectionCount = 20;
inline constexpr std::size_t fileSize = 24;
inline constexpr std::size_t licenceId = 32;
inline constexpr std::size_t counts = 48;
inline constexpr std::size_t flags = 88;
inline constexpr std::size_t checksum = 92;
} // namespace offset

// The header repeats the element count of each table so that a file whose table and header
// disagree is refused.
enum Count : std::size_t {
    Prefectures,
    Cities,
    Towns,
    Blocks,
    AddressRecords,
    BusinessRecords,
    Exchanges,
    ExchangeRows,
    OldCodes,
    CountSlots = 10,
};

// Header flags.
inline constexpr std::uint32_t kFlagExchangeData = 1u << 0;

constexpr std::uint32_t tag(const char (&t)[5]) {
    return std::uint32_t(std::uint8_t(t[0])) | std::uint32_t(std::uint8_t(t[1])) << 8 |
           std::uint32_t(std::uint8_t(t[2])) << 16 | std::uint32_t(std::uint8_t(t[3])) << 24;
}

// The words of one row of each table.
namespace pref {
inline constexpr std::uint32_t kTag = tag("PREF");
enum : std::size_t { Code, Name, Reading, FirstCity, CityCount, Words };
} // namespace pref
namespace city {
inline constexpr std::uint32_t kTag = tag("CITY");
enum : std::size_t { Code, Pref, Name, Reading, FirstTown, TownCount, Words };
} // namespace city
namespace town {
inline constexpr std::uint32_t kTag = tag("TOWN");
enum : std::size_t {
    Code, // 0 for a town divided into blocks
    City,
    Name,
    Reading,
    Second,
    SecondReading,
    FirstBlock,
    BlockCount,
    Words
};
} // namespace town
namespace block {
inline constexpr std::uint32_t kTag = tag("BLCK");
enum : std::size_t { Code, Town, Name, Reading, Words };
} // namespace block
namespace record {
inline constexpr std::uint32_t kTag = tag("RECD");
enum Kind : std::uint32_t { Address = 0, Business = 1 };
enum : std::size_t {
    Code,
    City,
    Kind,
    Town,
    TownReading,
    Part,
    PartReading,
    Office,
    OfficeReading,
    Words
};
} // namespace record
namespace exchange {
inline constexpr std::uint32_t kTag = tag("XKEY");
enum : std::size_t { Digits, FirstRow, RowCount, Words };
} // namespace exchange
namespace exchangeRow {
inline constexpr std::uint32_t kTag = tag("XROW");
enum : std::size_t {
    City,
    Town, // kNoIndex when the exchange row names no town of the dictionary
    Chome,
    Words
};
} // namespace exchangeRow
// The address records by the old code Japan Post gave them: ordered by the code's digits
// (bytewise), then by record.
namespace oldCode {
inline constexpr std::uint32_t kTag = tag("OLDC");
enum : std::size_t {
    Digits, // text: 3 or 5 ASCII digits
    Record, // → RECD, an address record
    Words
};
} // namespace oldCode
inline constexpr std::uint32_t kStringsTag = tag("STRS");
inline constexpr std::uint32_t kSectionCount = 9;

constexpr std::size_t align8(std::size_t n) {
    return (n + 7) & ~std::size_t{7};
}

inline std::uint16_t readU16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}
inline std::uint32_t readU32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
inline std::uint64_t readU64(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint64_t(readU32(b, at)) | std::uint64_t(readU32(b, at + 4)) << 32;
}

// CRC-32 (IEEE 802.3, as zlib's crc32); pass the previous result to continue a sum.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t previous = 0);

// The checksum of a whole image: every byte except the checksum field itself.
std::uint32_t imageChecksum(std::span<const std::uint8_t> image);

} // namespace pikotel::zipcomp::format
