#pragma once

namespace orvane {

// Where the plan picture puts its plot: the plot area in the 4:3 reset world of a PlotFrame,
// within which the frequency axis runs along level 0 and the carriers stand at most
// highestCarrierLevel high (levels run from 0 to 100 over the area).
inline constexpr double plotLeft = 10.0;
inline constexpr double plotRight = 127.0;
inline constexpr double plotBottom = 20.0;
inline constexpr double plotTop = 80.0;
inline constexpr double highestCarrierLevel = 60.0;

} // namespace orvane
