#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orvane::placement {

// A random stream that gives the same numbers on every machine and library (the standard
// distributions do not): xoshiro256** seeded through splitmix64.
class RandomStream {
public:
    RandomStream(std::uint64_t seed, std::uint64_t stream)
    {
        std::uint64_t state = seed ^ (0x9e3779b97f4a7c15ULL * (stream + 1));
        for (std::uint64_t& word : words_)
            word = splitMix(state);
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotate(words_[1] * 5, 7) * 9;
        const std::uint64_t t = words_[1] << 17;
        words_[2] ^= words_[0];
        words_[3] ^= words_[1];
        words_[1] ^= words_[2];
        words_[0] ^= words_[3];
        words_[2] ^= t;
        words_[3] = rotate(words_[3], 45);
        return result;
    }

    // 0 <= value < count (count > 0), without the bias of a plain remainder.
    std::uint64_t below(std::uint64_t count)
    {
        const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % count);
        std::uint64_t value = next();
        while (value >= limit)
            value = next();
        return value % count;
    }

    int belowInt(int count) { return static_cast<int>(below(static_cast<std::uint64_t>(count))); }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    bool chance(double probability) { return unit() < probability; }

    // A random order of the items (Fisher-Yates from the back: one number per place).
    template <typename T> void shuffle(std::vector<T>& items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[below(i)]);
    }

private:
    static std::uint64_t rotate(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    static std::uint64_t splitMix(std::uint64_t& state)
    {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    std::uint64_t words_[4] = {};
};

} // namespace orvane::placement
