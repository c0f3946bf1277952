#pragma once

#include <cstdint>

namespace orvane {

// A 24-bit colour in the window system's order: red in the low byte (pure red is 255).
using Colour = std::uint32_t;

constexpr Colour rgbColour(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<Colour>((red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16));
}
constexpr unsigned redOf(Colour colour)
{
    return colour & 0xFFu;
}
constexpr unsigned greenOf(Colour colour)
{
    return (colour >> 8) & 0xFFu;
}
constexpr unsigned blueOf(Colour colour)
{
    return (colour >> 16) & 0xFFu;
}

} // namespace orvane
