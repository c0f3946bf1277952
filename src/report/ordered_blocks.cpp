#include "report/ordered_blocks.h"

#include "model/side_by_side.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace orvane {

bool deliverBlocksInOrder(std::size_t blockCount, std::size_t blockRoom,
                          const std::function<char*(std::size_t block, char* out)>& format,
                          const std::function<bool(std::string_view text)>& deliver)
{
    std::mutex mutex;
    std::condition_variable delivered;
    std::size_t nextToFormat = 0;
    std::size_t nextToDeliver = 0;
    bool stopped = false;
    std::exception_ptr failure; // the first, which stops both threads
    // Each thread takes the lowest block not yet taken, so the block due next is always held
    // by a thread that will deliver it: waiting for one's turn cannot deadlock. A thread that
    // fails (out of memory) stops the other before leaving.
    const auto formatAndDeliver = [&] {
        const std::unique_ptr<char[]> buffer(new char[blockRoom]);
        for (;;) {
            std::size_t block = 0;
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (stopped || nextToFormat == blockCount)
                    return;
                block = nextToFormat++;
            }
            const char* const end = format(block, buffer.get());
            std::unique_lock<std::mutex> lock(mutex);
            delivered.wait(lock, [&] { return stopped || nextToDeliver == block; });
            if (stopped)
                return;
            lock.unlock();
            const bool goOn = deliver(
                std::string_view(buffer.get(), static_cast<std::size_t>(end - buffer.get())));
            lock.lock();
            if (goOn)
                ++nextToDeliver;
            else
                stopped = true;
            delivered.notify_all();
        }
    };
    const auto work = [&] {
        try {
            formatAndDeliver();
        } catch (...) {
            const std::lock_guard<std::mutex> lock(mutex);
            if (!failure)
                failure = std::current_exception();
            stopped = true;
            delivered.notify_all();
        }
    };
    if (blockCount > 1)
        runSideBySide(work, work);
    else
        work();
    if (failure)
        std::rethrow_exception(failure);
    return nextToDeliver == blockCount;
}

} // namespace orvane
