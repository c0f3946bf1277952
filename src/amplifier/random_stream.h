#pragma once

#include <cstdint>

namespace orvane::amplifier {

// SplitMix64: a small generator whose streams are keyed by numbers, so that every trial and
// every carrier draws the same values whichever thread runs it, on every platform (the
// standard library's distributions are not the same everywhere).
class RandomStream {
public:
    RandomStream(std::uint64_t seed, std::uint64_t trial, std::uint64_t carrier)
        : state_(mix(mix(mix(seed) ^ trial) ^ carrier))
    {
    }

    std::uint64_t nextBits()
    {
        state_ += 0x9e3779b97f4a7c15ULL;
        return mix(state_);
    }
    // Uniform in [0, 1) with 53 random bits.
    double nextUnit() { return static_cast<double>(nextBits() >> 11) * 0x1.0p-53; }
    // Uniform in [0, count) for count >= 1.
    std::uint32_t nextBelow(std::uint32_t count)
    {
        return static_cast<std::uint32_t>(((nextBits() >> 32) * count) >> 32);
    }

private:
    static std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

} // namespace orvane::amplifier
