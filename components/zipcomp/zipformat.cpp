#include "zipcomp/zipformat.h"

namespace pikotel::zipcomp::format {

namespace {
constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = makeCrcTable();
} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t previous) {
    std::uint32_t c = previous ^ 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes)
        c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t imageChecksum(std::span<const std::uint8_t> image) {
    const std::size_t after = offset::checksum + 4;
    if (image.size() < after)
        return crc32(image);
    const std::uint32_t head = crc32(image.first(offset::checksum));
    return crc32(image.subspan(after), head);
}

} // namespace pikotel::zipcomp::format
