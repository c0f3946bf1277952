#include "analysis/intermod_input.h"

#include <cmath>

namespace orvane {

std::optional<std::string> intermodInputProblem(std::optional<double> ip3Dbw, double guardKhz)
{
    if (ip3Dbw && !(std::fabs(*ip3Dbw) <= largestIntermodIp3Dbw))
        return std::string("The intercept point must lie between -1000 and 1000 dBW.");
    if (!(guardKhz >= 0.0 && guardKhz <= largestIntermodGuardKhz))
        return std::string("The guard must lie between 0 and 1000000 kHz.");
    return std::nullopt;
}

} // namespace orvane
