#include "hash.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace pikotel::dict {

namespace {

constexpr std::uint64_t kP1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kP2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kP3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kP4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kP5 = 0x27D4EB2F165667C5ULL;

static_assert(std::endian::native == std::endian::little, "dictionary files are little-endian");

std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint64_t round(std::uint64_t acc, std::uint64_t input) {
    acc += input * kP2;
    acc = std::rotl(acc, 31);
    return acc * kP1;
}

std::uint64_t mergeRound(std::uint64_t acc, std::uint64_t value) {
    acc ^= round(0, value);
    return acc * kP1 + kP4;
}

void initLanes(std::uint64_t seed, std::uint64_t* acc) {
    acc[0] = seed + kP1 + kP2;
    acc[1] = seed + kP2;
    acc[2] = seed;
    acc[3] = seed - kP1;
}

// Consumes whole 32-byte stripes; returns how many bytes it took.
std::size_t consumeStripes(std::uint64_t* acc, const std::uint8_t* p, std::size_t size) {
    std::size_t done = 0;
    while (size - done >= 32) {
        acc[0] = round(acc[0], load64(p + done));
        acc[1] = round(acc[1], load64(p + done + 8));
        acc[2] = round(acc[2], load64(p + done + 16));
        acc[3] = round(acc[3], load64(p + done + 24));
        done += 32;
    }
    return done;
}

std::uint64_t finalize(std::uint64_t seed, const std::uint64_t* acc, std::uint64_t total,
                       const std::uint8_t* tail, std::size_t tailSize) {
    std::uint64_t h;
    if (total >= 32) {
        h = std::rotl(acc[0], 1) + std::rotl(acc[1], 7) + std::rotl(acc[2], 12) +
            std::rotl(acc[3], 18);
        for (int i = 0; i < 4; ++i)
            h = mergeRound(h, acc[i]);
    } else {
        h = seed + kP5;
    }
    h += total;
    std::size_t i = 0;
    for (; i + 8 <= tailSize; i += 8) {
        h ^= round(0, load64(tail + i));
        h = std::rotl(h, 27) * kP1 + kP4;
    }
    if (i + 4 <= tailSize) {
        h ^= static_cast<std::uint64_t>(load32(tail + i)) * kP1;
        h = std::rotl(h, 23) * kP2 + kP3;
        i += 4;
    }
    for (; i < tailSize; ++i) {
        h ^= tail[i] * kP5;
        h = std::rotl(h, 11) * kP1;
    }
    h ^= h >> 33;
    h *= kP2;
    h ^= h >> 29;
    h *= kP3;
    h ^= h >> 32;
    return h;
}

} // namespace

std::uint64_t hash64(std::span<const std::uint8_t> bytes, std::uint64_t seed) {
    std::uint64_t acc[4];
    initLanes(seed, acc);
    const std::size_t done = consumeStripes(acc, bytes.data(), bytes.size());
    return finalize(seed, acc, bytes.size(), bytes.data() + done, bytes.size() - done);
}

Hash64Stream::Hash64Stream(std::uint64_t seed) : seed_(seed) {
    initLanes(seed, acc_);
}

void Hash64Stream::update(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* p = bytes.data();
    std::size_t size = bytes.size();
    total_ += size;
    if (buffered_ > 0) {
        const std::size_t take = std::min(size, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, p, take);
        buffered_ += take;
        p += take;
        size -= take;
        if (buffered_ < sizeof buffer_)
            return;
        consumeStripes(acc_, buffer_, sizeof buffer_);
        buffered_ = 0;
    }
    const std::size_t done = consumeStripes(acc_, p, size);
    std::memcpy(buffer_, p + done, size - done);
    buffered_ = size - done;
}

std::uint64_t Hash64Stream::finish() const {
    return finalize(seed_, acc_, total_, buffer_, buffered_);
}

} // namespace pikotel::dict
