#pragma once

#include <functional>

namespace orvane {

// Runs both tasks at once on two threads when the machine has more than one core, otherwise
// (or when no thread can be started) one after the other. Returns when both are done; an
// exception from either (the first task's first) comes out here, after both have ended, never
// in the helper thread.
void runSideBySide(const std::function<void()>& first, const std::function<void()>& second);

} // namespace orvane
