#include "model/side_by_side.h"

#include <exception>
#include <system_error>
#include <thread>

namespace orvane {

void runSideBySide(const std::function<void()>& first, const std::function<void()>& second)
{
    std::thread helper;
    // An exception must not leave the helper thread (that ends the program): it is handed to
    // the caller's thread once both tasks are done.
    std::exception_ptr helperFailure;
    if (std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread([&second, &helperFailure] {
                try {
                    second();
                } catch (...) {
                    helperFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: the second task runs after the first below.
        }
    }
    if (!helper.joinable()) {
        first();
        second();
        return;
    }
    try {
        first();
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (helperFailure)
        std::rethrow_exception(helperFailure);
}

} // namespace orvane
