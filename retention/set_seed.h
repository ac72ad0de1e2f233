// Each random data set of parallel analysis draws from its own generator,
// seeded from the user's seed and the set's number, however many threads draw.
#pragma once

#include <cstdint>

namespace trolvane {

// SplitMix64's step: different inputs give different, well-spread outputs.
inline std::uint64_t Mixed(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9;
    x = (x ^ (x >> 27)) * 0x94d049bb133111eb;
    return x ^ (x >> 31);
}

// The seed of set number `set`'s own Mersenne Twister: Mixed(Mixed(seed) + set).
inline std::uint64_t SetSeed(std::uint64_t seed, int set) {
    return Mixed(Mixed(seed) + static_cast<std::uint64_t>(set));
}

}  // namespace trolvane
