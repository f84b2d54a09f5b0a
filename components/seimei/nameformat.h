#pragma once

// Constants of the name dictionary "Seimei.dic", shared by the builder and the reader. The
// byte layout is drawn in namedictionary.h and written out in FORMAT.md.

#include <cstddef>
#include <cstdint>
#include <span>

namespace pikotel::seimei {

using Bytes = std::span<const std::uint8_t>;

inline constexpr char kDictionaryFileName[] = "Seimei.dic";
inline constexpr char kMagic[8] = {'P', 'K', 'T', 'L', 'S', 'E', 'I', 'M'};
inline constexpr std::uint16_t kFormatVersion = 1;
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kReadingEntrySize = 16;
inline constexpr std::size_t kCandidateEntrySize = 8;
// The text fields of the search and candidate records hold 100 bytes; no stored reading or
// written form is longer.
inline constexpr std::size_t kMaxTextBytes = 100;
// A reading's candidates are counted in 16 bits.
inline constexpr std::size_t kMaxCandidatesPerReading = 0xFFFF;

namespace header {
inline constexpr std::size_t magic = 0;
inline constexpr std::size_t version = 8;
inline constexpr std::size_t reserved16 = 10;
inline constexpr std::size_t readingCount = 12;
inline constexpr std::size_t candidateCount = 16;
inline constexpr std::size_t textSize = 20;
inline constexpr std::size_t buildTime = 24;
inline constexpr std::size_t surnameCount = 32;
inline constexpr std::size_t givenNameCount = 36;
inline constexpr std::size_t fileSize = 40;
inline constexpr std::size_t reserved64 = 48;
inline constexpr std::size_t checksum = 56;
} // namespace header

enum class NameKind : std::uint8_t { Surname = 1, GivenName = 2 };

constexpr std::uint64_t align8(std::uint64_t n) {
    return (n + 7) & ~std::uint64_t{7};
}

// Callers check the bounds; these only assemble little-endian integers.
inline std::uint16_t readU16(Bytes b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
inline std::uint32_t readU32(Bytes b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
inline std::uint64_t readU64(Bytes b, std::size_t at) {
    return std::uint64_t(readU32(b, at)) | std::uint64_t(readU32(b, at + 4)) << 32;
}

// The checksum of an image: XXH64 of every byte but the checksum field itself.
std::uint64_t imageChecksum(Bytes image);

} // namespace pikotel::seimei
