#pragma once

// The generator's own random source and weighted choice. xoshiro256** seeded through
// splitmix64, with integer-only range reduction: the standard distributions give
// different streams on different library versions, and the files must not change.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pikotel::gen {

inline std::uint64_t splitmix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// FNV-1a: stable per-text values (chōme counts, exchange offsets) that must not depend on
// the order in which the texts are met.
inline std::uint64_t stableHash(std::string_view text) {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001B3ULL;
    }
    return h;
}

class Random {
public:
    explicit Random(std::uint64_t seed) {
        std::uint64_t state = seed;
        for (std::uint64_t& word : s_)
            word = splitmix64(state);
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

    // Uniform in [0, bound); bound 0 gives 0.
    std::uint64_t below(std::uint64_t bound) {
        if (bound <= 0xFFFFFFFFULL)
            return ((next() >> 32) * bound) >> 32;
        return next() % bound;
    }

    // In [low, high], both inclusive.
    std::uint64_t between(std::uint64_t low, std::uint64_t high) {
        return low + below(high - low + 1);
    }

    // True with probability perMille / 1000.
    bool chance(std::uint32_t perMille) { return below(1000) < perMille; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4];
};

// Choice among items by integer weight; items of weight 0 are never chosen.
class WeightedPicker {
public:
    void add(std::uint64_t weight) {
        total_ += weight;
        cumulative_.push_back(total_);
    }
    bool empty() const { return total_ == 0; }
    std::size_t size() const { return cumulative_.size(); }
    std::size_t pick(Random& random) const {
        const std::uint64_t r = random.below(total_);
        return static_cast<std::size_t>(
            std::upper_bound(cumulative_.begin(), cumulative_.end(), r) - cumulative_.begin());
    }

private:
    std::vector<std::uint64_t> cumulative_;
    std::uint64_t total_ = 0;
};

} // namespace pikotel::gen
