#pragma once

#include <functional>

namespace orvane {

// Runs both tasks at once on two threads when the machine has more than one core, otherwise
// (or when no thread can be started) one after the other. Returns when both are done; an
// exception of either task reaches the caller after both have ended.
void runSideBySide(const std::function<void()>& first, const std::function<void()>& second);

} // namespace orvane
