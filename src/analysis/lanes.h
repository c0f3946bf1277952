#pragma once

#include <cstring>

// Four doubles side by side in one vector register where the processor has 256-bit ones (two
// 128-bit halves otherwise), with the vector extensions of GCC and Clang. Functions take and
// give vectors by reference: passed by value, their registers would depend on the processor a
// caller was compiled for.
namespace orvane::lanes {

constexpr int width = 4;
typedef double Doubles __attribute__((vector_size(width * sizeof(double))));
// A comparison gives -1 (all bits set) in the lanes where it holds, 0 elsewhere.
typedef long long Masks __attribute__((vector_size(width * sizeof(long long))));

inline void load(const double* from, Doubles& lanes)
{
    std::memcpy(&lanes, from, sizeof lanes);
}

inline void load(const long long* from, Masks& lanes)
{
    std::memcpy(&lanes, from, sizeof lanes);
}

inline void store(const Masks& lanes, long long* to)
{
    std::memcpy(to, &lanes, sizeof lanes);
}

// |value|, by clearing the sign bits.
inline void magnitude(const Doubles& value, Doubles& result)
{
    const Masks allButSign = {0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL,
                              0x7FFFFFFFFFFFFFFFLL};
    // Casts between vectors of the same size keep the bits.
    result = (Doubles)((Masks)value & allButSign);
}

// The value where it is above 0, else 0.
inline void positive(const Doubles& value, Doubles& result)
{
    const Doubles zero = {};
    result = value > zero ? value : zero;
}

// Whether any lane holds a true comparison, with the lanes folded onto each other rather
// than taken out one by one.
inline bool any(const Masks& mask)
{
    const Masks halves = mask | __builtin_shufflevector(mask, mask, 2, 3, 0, 1);
    const Masks all = halves | __builtin_shufflevector(halves, halves, 1, 0, 3, 2);
    return all[0] != 0;
}

} // namespace orvane::lanes
