#include "model/side_by_side.h"

#include <exception>
#include <thread>

namespace orvane {

void runSideBySide(const std::function<void()>& first, const std::function<void()>& second)
{
    std::exception_ptr secondFailure;
    std::thread helper;
    if (std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread([&second, &secondFailure] {
                try {
                    second();
                } catch (...) {
                    secondFailure = std::current_exception();
                }
            });
        } catch (...) {
            // No thread to be had: the second task runs after the first below.
        }
    }
    std::exception_ptr firstFailure;
    try {
        first();
    } catch (...) {
        firstFailure = std::current_exception();
    }
    if (helper.joinable())
        helper.join();
    else if (!firstFailure)
        second();
    if (firstFailure)
        std::rethrow_exception(firstFailure);
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}

} // namespace orvane
