#include "analysis/intermod_products.h"

#include "model/side_by_side.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// The products are sorted by the same quicksort as CarrierList::sortByFrequency, exchange for
// exchange, so that products of equal frequency end in the same order; only the way to each
// exchange is faster.

namespace orvane {

namespace {

// Ranges below this size are sorted without looking at the progress.
constexpr std::ptrdiff_t watchedRange = std::ptrdiff_t{1} << 16;

// Follows a sort for its progress and its cancel; shared by the sorting threads.
class SortWatch {
public:
    SortWatch(WorkProgress& progress, std::size_t total)
        : progress_(progress), total_(static_cast<double>(total))
    {
    }
    bool cancelled() const { return progress_.cancelRequested(); }
    void addSorted(std::ptrdiff_t count)
    {
        progress_.setPartDone(static_cast<double>(sorted_ += count) / total_);
    }

private:
    WorkProgress& progress_;
    const double total_;
    std::atomic<std::ptrdiff_t> sorted_{0};
};

// The scans of one partition step stop, from the left, at each element not below the pivot
// and, from the right, at each element not above it; the k-th stops of both sides are
// exchanged until the scans cross. Stops are found a block at a time without a branch for
// each element, which spares the mispredicted branches of scanning one element at a time.
class BlockScan {
public:
    static constexpr int size = 64;

    // Scans size elements up from start (left side) or down from start (right side).
    template <bool FromLeft>
    void scan(const CompactIntermodProduct* element, std::ptrdiff_t start, double pivot)
    {
        start_ = start;
        count_ = 0;
        next_ = 0;
        for (int k = 0; k < size; ++k) {
            stops_[count_] = static_cast<unsigned char>(k);
            const double frequency = element[FromLeft ? start + k : start - k].frequencyMhz;
            count_ += FromLeft ? !(frequency < pivot) : !(frequency > pivot);
        }
    }
    int pending() const { return count_ - next_; }
    // The position of the pending stop `ahead` places on, counted up or down from start.
    std::ptrdiff_t stop(int ahead, int direction) const
    {
        return start_ + direction * stops_[next_ + ahead];
    }
    void take(int count) { next_ += count; }

private:
    std::ptrdiff_t start_ = 0;
    unsigned char stops_[size] = {};
    int count_ = 0;
    int next_ = 0;
};

// One step of CarrierList's quicksort with the same pivot, the same strict comparisons and the
// same exchanges, so that equal frequencies land in the same order. The parts left to sort
// are [low, last] and [first, high].
void partition(CompactIntermodProduct* element, std::ptrdiff_t low, std::ptrdiff_t high,
               std::ptrdiff_t& first, std::ptrdiff_t& last)
{
    const double pivot = element[(low + high) / 2].frequencyMhz;
    BlockScan leftStops;
    BlockScan rightStops;
    std::ptrdiff_t unscannedLow = low;
    std::ptrdiff_t unscannedHigh = high;
    std::ptrdiff_t lastLeft = low - 1; // the last pair exchanged, if any
    std::ptrdiff_t lastRight = high + 1;
    while (unscannedHigh - unscannedLow + 1 >= 2 * BlockScan::size) {
        if (leftStops.pending() == 0) {
            leftStops.scan<true>(element, unscannedLow, pivot);
            unscannedLow += BlockScan::size;
        }
        if (rightStops.pending() == 0) {
            rightStops.scan<false>(element, unscannedHigh, pivot);
            unscannedHigh -= BlockScan::size;
        }
        const int pairs = std::min(leftStops.pending(), rightStops.pending());
        for (int k = 0; k < pairs; ++k)
            std::swap(element[leftStops.stop(k, 1)], element[rightStops.stop(k, -1)]);
        if (pairs > 0) {
            lastLeft = leftStops.stop(pairs - 1, 1);
            lastRight = rightStops.stop(pairs - 1, -1);
        }
        leftStops.take(pairs);
        rightStops.take(pairs);
    }
    // The plain scans finish where they meet. After an exchange the step ends at once when
    // the scans have met; otherwise they go on from the next stops not yet exchanged (or the
    // first elements not yet scanned) exactly as they would have got there.
    std::ptrdiff_t i = lastLeft + 1;
    std::ptrdiff_t j = lastRight - 1;
    if (i <= j) {
        i = leftStops.pending() > 0 ? leftStops.stop(0, 1) : unscannedLow;
        j = rightStops.pending() > 0 ? rightStops.stop(0, -1) : unscannedHigh;
    }
    while (i <= j) {
        while (element[i].frequencyMhz < pivot)
            ++i;
        while (element[j].frequencyMhz > pivot)
            --j;
        if (i <= j) {
            std::swap(element[i], element[j]);
            ++i;
            --j;
        }
    }
    first = i;
    last = j;
}

// On a range of equal frequencies the quicksort exchanges the range end for end, then does the
// same in each half (leaving out the middle element of an odd range), and so on down. This
// copies count elements read from `from` (upwards for step 1, downwards for -1) to `to` in
// that final order, at one move per element instead of one exchange per element and level.
void placeAsEqualRangeSort(const CompactIntermodProduct* from, std::ptrdiff_t step,
                           std::ptrdiff_t count, CompactIntermodProduct* to)
{
    while (count > 1) {
        // The reversed range: its first half is the end of the range read backwards, its
        // middle (odd counts) is the middle, its second half the start read backwards.
        const std::ptrdiff_t half = count / 2;
        placeAsEqualRangeSort(from + (count - 1) * step, -step, half, to);
        if (count % 2 != 0)
            to[half] = from[half * step];
        to += count - half;
        from += (half - 1) * step;
        step = -step;
        count = half;
    }
    if (count == 1)
        *to = *from;
}

// Ranges of one frequency are common (a regular channel plan has a few hundred frequencies
// for millions of products) and are put in their final order at once.
class EqualRanges {
public:
    // True, with the range in the quicksort's final order, when all its frequencies are equal.
    bool place(CompactIntermodProduct* element, std::ptrdiff_t low, std::ptrdiff_t high)
    {
        const double frequency = element[low].frequencyMhz;
        if (high - low < 32 || high - low >= mostPlaced ||
            element[high].frequencyMhz != frequency ||
            element[(low + high) / 2].frequencyMhz != frequency)
            return false;
        for (std::ptrdiff_t k = low + 1; k < high; ++k)
            if (element[k].frequencyMhz != frequency)
                return false;
        copy_.assign(element + low, element + high + 1);
        placeAsEqualRangeSort(copy_.data(), 1, high - low + 1, element + low);
        return true;
    }

private:
    // Larger ranges are halved by the plain sort first, bounding the copy's memory.
    static constexpr std::ptrdiff_t mostPlaced = std::ptrdiff_t{1} << 20;
    CompactIntermodProducts copy_;
};

void quicksortProducts(CompactIntermodProduct* element, std::ptrdiff_t low, std::ptrdiff_t high,
                       EqualRanges& equalRanges, SortWatch* watch)
{
    while (low < high) {
        if (watch != nullptr) {
            if (high - low < watchedRange) {
                quicksortProducts(element, low, high, equalRanges, nullptr);
                watch->addSorted(high - low + 1);
                return;
            }
            if (watch->cancelled())
                return;
        }
        if (equalRanges.place(element, low, high))
            return;
        std::ptrdiff_t i = 0;
        std::ptrdiff_t j = 0;
        partition(element, low, high, i, j);
        // Recurse into the smaller part and loop on the larger: the stack stays logarithmic
        // and the exchanges are those of the plain recursion, since the parts are disjoint.
        if (j - low < high - i) {
            if (low < j)
                quicksortProducts(element, low, j, equalRanges, watch);
            low = i;
        } else {
            if (i < high)
                quicksortProducts(element, i, high, equalRanges, watch);
            high = j;
        }
    }
}

struct SortRange {
    std::ptrdiff_t low = 0;
    std::ptrdiff_t high = 0;
    std::ptrdiff_t size() const { return high - low + 1; }
};

// Ranges at least this large are partitioned by whichever thread is free, part by part.
constexpr std::ptrdiff_t sharedRange = std::ptrdiff_t{1} << 16;

// The ranges still to sort, taken by the sorting threads. Disjoint ranges are sorted apart
// with the exchanges of the plain sort, whoever sorts them and in whatever order.
class SharedRanges {
public:
    explicit SharedRanges(SortRange whole) : ranges_{whole} {}

    // The next range to sort; false once every range is sorted, or the sort abandoned.
    bool take(SortRange& range)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !ranges_.empty() || busy_ == 0 || abandoned_; });
        if (ranges_.empty() || abandoned_)
            return false;
        range = ranges_.back();
        ranges_.pop_back();
        ++busy_;
        return true;
    }
    void offer(SortRange range)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ranges_.push_back(range);
        changed_.notify_one();
    }
    void finished()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (--busy_ == 0)
            changed_.notify_all();
    }
    // A thread failed (out of memory): the other stops waiting for its ranges.
    void abandon()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        abandoned_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<SortRange> ranges_;
    int busy_ = 0;
    bool abandoned_ = false;
};

// Sorts the ranges it takes; while a range is large, the smaller part of each partition is
// offered to the other thread.
void sortSharedRanges(CompactIntermodProduct* element, SharedRanges& shared, SortWatch* watch)
{
    try {
        EqualRanges equalRanges;
        SortRange range;
        while (shared.take(range)) {
            while (range.size() >= sharedRange && !(watch != nullptr && watch->cancelled()) &&
                   !equalRanges.place(element, range.low, range.high)) {
                std::ptrdiff_t i = 0;
                std::ptrdiff_t j = 0;
                partition(element, range.low, range.high, i, j);
                SortRange larger{range.low, j};
                SortRange smaller{i, range.high};
                if (larger.size() < smaller.size())
                    std::swap(larger, smaller);
                if (smaller.size() >= sharedRange)
                    shared.offer(smaller);
                else if (smaller.size() > 1)
                    quicksortProducts(element, smaller.low, smaller.high, equalRanges, watch);
                range = larger;
            }
            if (range.size() > 1 && range.size() < sharedRange)
                quicksortProducts(element, range.low, range.high, equalRanges, watch);
            shared.finished();
        }
    } catch (...) {
        shared.abandon();
        throw;
    }
}

} // namespace

void sortByFrequency(CompactIntermodProducts& products, WorkProgress* progress)
{
    if (products.size() < 2)
        return;
    std::optional<SortWatch> watch;
    if (progress != nullptr)
        watch.emplace(*progress, products.size());
    SortWatch* const watched = watch ? &*watch : nullptr;
    CompactIntermodProduct* const element = products.data();
    const auto size = static_cast<std::ptrdiff_t>(products.size());
    if (size < sharedRange) {
        EqualRanges equalRanges;
        quicksortProducts(element, 0, size - 1, equalRanges, watched);
        return;
    }
    SharedRanges shared({0, size - 1});
    const auto sortShare = [element, &shared, watched] {
        sortSharedRanges(element, shared, watched);
    };
    runSideBySide(sortShare, sortShare);
}

} // namespace orvane
