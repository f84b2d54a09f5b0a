#pragma once

// Constants of the dictionary file format shared by the builder and the reader. The byte
// layout is drawn in reader.h and written out in FORMAT.md.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pikotel::dict {

inline constexpr char kMagic[8] = {'P', 'K', 'T', 'L', 'D', 'I', 'C', 'T'};
inline constexpr std::uint16_t kFormatVersion = 2;
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kSectionEntrySize = 32;
inline constexpr std::size_t kAreaEntrySize = 16;
inline constexpr std::size_t kGroupEntrySize = 48;
inline constexpr std::size_t kListingEntrySize = 8;
// Every 64th number key is repeated in a small sparse index that stays in cache.
inline constexpr std::size_t kSparseStride = 64;
// Numbers longer than this cannot be keyed (and no telephone number is).
inline constexpr std::size_t kMaxNumberDigits = 18;

// Separators inside the scan text; neither can occur in a stored text.
inline constexpr std::uint8_t kReadingSeparator = 0x1F;
inline constexpr std::uint8_t kRecordEnd = 0x00;

enum class Engine : std::uint8_t { Dxs = 1, Xch = 2 };
enum class Role : std::uint8_t { Main = 0, Delta = 1 };
enum class PersonKind : std::uint8_t { Individual = 1, Corporate = 2 };

enum class SectionId : std::uint32_t {
    Areas = 1,
    AreaText = 2,
    Groups = 3,
    Listings = 4,
    ScanText = 5,
    Details = 6,
    NumberKeys = 7,
    NumberIds = 8,
    NumberSparse = 9,
    Mask = 10,
    NameIndex = 11,
};
inline constexpr std::uint32_t kSectionCount = 11;
// NameIndex starts with one {u64 offset, u64 size} entry per group.
inline constexpr std::size_t kIndexEntrySize = 16;
// Most bigram buckets one group's index may have.
inline constexpr std::uint32_t kMaxBigramBuckets = std::uint32_t{1} << 24;

// The bucket of a bigram (two consecutive code points of a name) in a group's index of
// bucketCount (a power of two) buckets.
constexpr std::uint32_t bigramBucket(char32_t first, char32_t second, std::uint32_t bucketCount) {
    const std::uint64_t key = (std::uint64_t{first} << 21) | second;
    return static_cast<std::uint32_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & (bucketCount - 1);
}

// The code points of a UTF-8 text as the name index counts them; a byte that starts no
// well-formed sequence counts as one unit of its own, so any bytes split the same way.
inline void codePointsOf(std::string_view utf8, std::vector<char32_t>& out) {
    out.clear();
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t cp = lead;
        std::size_t k = 1;
        if (length > 1 && lead >= 0xC0 && i + length <= utf8.size()) {
            cp = lead & (0x7F >> length);
            for (; k < length && (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            if (k != length) {
                cp = lead | 0x200000;
                k = 1;
            }
        } else if (length > 1) {
            cp = lead | 0x200000;
        }
        out.push_back(cp);
        i += k;
    }
}

constexpr std::size_t align8(std::size_t n) {
    return (n + 7) & ~std::size_t{7};
}

// The key of a number: its digits read as a decimal number behind a leading 1, so that
// "0334567890" and "334567890" differ and keys of equally long numbers sort like the digits.
// Empty, too long or anything but digits gives no key.
inline std::optional<std::uint64_t> numberKey(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxNumberDigits)
        return std::nullopt;
    std::uint64_t key = 1;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        key = key * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return key;
}

// The key of a number as a directory prints it: hyphens are skipped.
inline std::optional<std::uint64_t> displayNumberKey(std::string_view number) {
    char digits[kMaxNumberDigits];
    std::size_t n = 0;
    for (char c : number) {
        if (c == '-')
            continue;
        if (n == kMaxNumberDigits)
            return std::nullopt;
        digits[n++] = c;
    }
    return numberKey(std::string_view(digits, n));
}

} // namespace pikotel::dict
