#include "commands/work_failure.h"

#include <new>
#include <stdexcept>

namespace orvane {

std::string workFailureText(const std::string& workName, const std::exception_ptr& failure)
{
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return workName + " stopped: there was not enough memory for it.";
    } catch (const std::exception& error) {
        return workName + " stopped with an unexpected error: " + error.what();
    } catch (...) {
    }
    return workName + " stopped with an unexpected error.";
}

} // namespace orvane
