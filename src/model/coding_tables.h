#pragma once

#include <array>
#include <string_view>

namespace orvane {

// The modulation drop-down: position p stands for p + 1 bits per symbol and the modulation
// order powerOfTwo(p + 1).
constexpr std::array<std::string_view, 6> modulationNames = {
    "BPSK", "QPSK", "8PSK,8QAM", "16PSK,16QAM", "32PSK,32QAM", "64PSK,64QAM"};

// The named FEC rates, with their values stored to six decimals (0.333333, not one third).
constexpr std::array<std::string_view, 12> fecRateNames = {
    "1/4", "1/3", "2/5", "1/2", "3/5", "2/3", "3/4", "4/5", "5/6", "7/8", "8/9", "9/10"};
constexpr std::array<double, 12> fecRateValues = {
    0.25, 0.333333, 0.4, 0.5, 0.6, 0.666667, 0.75, 0.8, 0.833333, 0.875, 0.888889, 0.9};

// The FEC drop-down's last entry, standing for any rate the user types.
constexpr std::string_view fecOtherName = "Other";
constexpr int fecOtherPosition = static_cast<int>(fecRateNames.size());

// The position of the named rate whose value matches rate to five decimals (both sides
// rounded), or -1 when none does.
int fecRateIndex(double rate);

// The modulation position of an order (bitsPerSymbol - 1), or -1 when the list cannot show it.
int modulationPosition(int modulationOrder);

} // namespace orvane
