#pragma once

// The 64-bit checksum of dictionary files: the XXH64 algorithm (public domain design by
// Yann Collet), our own implementation. Fast enough to verify a national dictionary at open
// (several GB/s), and strong enough to notice any flipped byte.

#include <cstddef>
#include <cstdint>
#include <span>

namespace pikotel::dict {

std::uint64_t hash64(std::span<const std::uint8_t> bytes, std::uint64_t seed = 0);

// The same hash fed in pieces; finish() gives what hash64 gives for the concatenation.
class Hash64Stream {
public:
    explicit Hash64Stream(std::uint64_t seed = 0);
    void update(std::span<const std::uint8_t> bytes);
    std::uint64_t finish() const;

private:
    std::uint64_t seed_;
    std::uint64_t acc_[4];
    std::uint64_t total_ = 0;
    std::uint8_t buffer_[32];
    std::size_t buffered_ = 0;
};

} // namespace pikotel::dict
