#include "model/side_by_side.h"

#include <system_error>
#include <thread>

namespace orvane {

void runSideBySide(const std::function<void()>& first, const std::function<void()>& second)
{
    std::thread helper;
    if (std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread(second);
        } catch (const std::system_error&) {
            // No thread to be had: the second task runs after the first below.
        }
    }
    first();
    if (helper.joinable())
        helper.join();
    else
        second();
}

} // namespace orvane
