#pragma once

#include <exception>
#include <string>

namespace orvane {

// What the user is told when work run off the user-interface thread ended in an exception
// rather than a result ("The intermodulation analysis stopped: there was not enough memory
// for it."). workName starts with a capital.
std::string workFailureText(const std::string& workName, const std::exception_ptr& failure);

} // namespace orvane
