#include "analysis/intermod_products.h"

#include "model/side_by_side.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <sys/mman.h>
#include <utility>

namespace orvane {

namespace {

template <std::size_t Size> char* writePiece(char* out, const char (&piece)[Size])
{
    std::memcpy(out, piece, Size - 1);
    return out + Size - 1;
}

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

void quicksortProducts(CompactIntermodProduct* element, std::ptrdiff_t low, std::ptrdiff_t high,
                       SortWatch* watch)
{
    while (low < high) {
        if (watch != nullptr) {
            if (high - low < watchedRange) {
                quicksortProducts(element, low, high, nullptr);
                watch->addSorted(high - low + 1);
                return;
            }
            if (watch->cancelled())
                return;
        }
        std::ptrdiff_t i = 0;
        std::ptrdiff_t j = 0;
        partition(element, low, high, i, j);
        // Recurse into the smaller part and loop on the larger: the stack stays logarithmic
        // and the exchanges are those of the plain recursion, since the parts are disjoint.
        if (j - low < high - i) {
            if (low < j)
                quicksortProducts(element, low, j, watch);
            low = i;
        } else {
            if (i < high)
                quicksortProducts(element, i, high, watch);
            high = j;
        }
    }
}

struct SortRange {
    std::ptrdiff_t low = 0;
    std::ptrdiff_t high = 0;
    std::ptrdiff_t size() const { return high - low + 1; }
};

// The first partitions of the sort, until no range holds more than 60 % of the elements:
// disjoint ranges that two threads can sort apart with the exchanges of the plain sort.
std::vector<SortRange> splitForTwoThreads(CompactIntermodProduct* element, std::ptrdiff_t size)
{
    std::vector<SortRange> ranges{{0, size - 1}};
    for (int split = 0; split < 8; ++split) {
        const auto largest = std::max_element(
            ranges.begin(), ranges.end(),
            [](const SortRange& a, const SortRange& b) { return a.size() < b.size(); });
        if (largest->size() * 10 <= size * 6)
            break;
        const SortRange whole = *largest;
        ranges.erase(largest);
        std::ptrdiff_t i = 0;
        std::ptrdiff_t j = 0;
        partition(element, whole.low, whole.high, i, j);
        if (whole.low < j)
            ranges.push_back({whole.low, j});
        if (i < whole.high)
            ranges.push_back({i, whole.high});
        if (ranges.empty())
            break;
    }
    return ranges;
}

// The product table of a large plan runs to tens or hundreds of MB. Filling it in 4 KiB pages
// costs more than computing the products, so ask for large pages where the system has them.
void adviseLargePages(const void* data, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t largePage = std::uintptr_t{2} << 20;
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t firstWhole = (begin + largePage - 1) & ~(largePage - 1);
    const std::uintptr_t endOfWhole = (begin + bytes) & ~(largePage - 1);
    if (endOfWhole > firstWhole)
        ::madvise(reinterpret_cast<void*>(firstWhole), endOfWhole - firstWhole, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

CompactIntermodProduct makeProduct(double frequencyMhz, int first, int second, int third,
                                   IntermodForm form)
{
    CompactIntermodProduct product;
    product.frequencyMhz = frequencyMhz;
    product.first = static_cast<std::uint16_t>(first);
    product.second = static_cast<std::uint16_t>(second);
    product.third = static_cast<std::uint16_t>(third);
    product.form = form;
    return product;
}

} // namespace

long long intermodProductCount(long long carrierCount)
{
    if (carrierCount < 2)
        return 0;
    // n(n - 1) + n(n - 1)(n - 2)/2 = n * (n(n - 1)/2)
    if (carrierCount > 3037000499LL) // n(n - 1) would overflow
        return LLONG_MAX;
    const long long pairs = carrierCount * (carrierCount - 1) / 2;
    if (pairs > LLONG_MAX / carrierCount)
        return LLONG_MAX;
    return pairs * carrierCount;
}

std::vector<CompactIntermodProduct>
computeCompactIntermodProducts(const std::vector<double>& centreFrequenciesMhz,
                               WorkProgress* progress)
{
    std::vector<CompactIntermodProduct> products;
    const int n = static_cast<int>(centreFrequenciesMhz.size());
    if (centreFrequenciesMhz.size() > static_cast<std::size_t>(maxCompactIntermodCarriers) || n < 2)
        return products;
    products.reserve(static_cast<std::size_t>(intermodProductCount(n)));
    adviseLargePages(products.data(), products.capacity() * sizeof(CompactIntermodProduct));
    const auto f = [&centreFrequenciesMhz](int number) { // f(1) is F1
        return centreFrequenciesMhz[static_cast<std::size_t>(number - 1)];
    };
    for (int a = 1; a <= n - 1; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            products.push_back(
                makeProduct(2 * f(a) - f(b), a, b, 0, IntermodForm::twiceFirstLessSecond));
            products.push_back(
                makeProduct(2 * f(b) - f(a), b, a, 0, IntermodForm::twiceFirstLessSecond));
        }
    }
    for (int a = 1; a <= n - 2; ++a) {
        if (progress != nullptr) {
            if (progress->cancelRequested())
                return {};
            progress->setPartDone(static_cast<double>(products.size()) /
                                  static_cast<double>(products.capacity()));
        }
        for (int b = a + 1; b <= n - 1; ++b) {
            for (int c = b + 1; c <= n; ++c) {
                products.push_back(makeProduct((f(a) + f(b)) - f(c), a, b, c,
                                               IntermodForm::firstPlusSecondLessThird));
                products.push_back(makeProduct((f(a) - f(b)) + f(c), a, b, c,
                                               IntermodForm::firstLessSecondPlusThird));
                products.push_back(makeProduct((f(b) + f(c)) - f(a), b, c, a,
                                               IntermodForm::firstPlusSecondLessThird));
            }
        }
    }
    return products;
}

void sortByFrequency(std::vector<CompactIntermodProduct>& products, WorkProgress* progress)
{
    if (products.size() < 2)
        return;
    std::optional<SortWatch> watch;
    if (progress != nullptr)
        watch.emplace(*progress, products.size());
    SortWatch* const watched = watch ? &*watch : nullptr;
    CompactIntermodProduct* const element = products.data();
    const auto size = static_cast<std::ptrdiff_t>(products.size());
    if (size < watchedRange) {
        quicksortProducts(element, 0, size - 1, watched);
        return;
    }
    std::vector<SortRange> ranges = splitForTwoThreads(element, size);
    // The largest ranges first, each to the thread with less to do.
    std::sort(ranges.begin(), ranges.end(),
              [](const SortRange& a, const SortRange& b) { return a.size() > b.size(); });
    std::vector<SortRange> shares[2];
    std::ptrdiff_t load[2] = {0, 0};
    for (const SortRange& range : ranges) {
        const int lighter = load[0] <= load[1] ? 0 : 1;
        shares[lighter].push_back(range);
        load[lighter] += range.size();
    }
    const auto sortShare = [element, watched](const std::vector<SortRange>& share) {
        for (const SortRange& range : share)
            quicksortProducts(element, range.low, range.high, watched);
    };
    runSideBySide([&] { sortShare(shares[0]); }, [&] { sortShare(shares[1]); });
}

IntermodLabelWriter::IntermodLabelWriter(int carrierCount)
    : numbers_(static_cast<std::size_t>(std::clamp(carrierCount, 0, maxCompactIntermodCarriers)) +
               1)
{
    for (std::size_t number = 0; number < numbers_.size(); ++number) {
        Digits& digits = numbers_[number];
        const char* const end =
            std::to_chars(digits.text, digits.text + sizeof digits.text, number).ptr;
        digits.length = static_cast<unsigned char>(end - digits.text);
    }
}

char* IntermodLabelWriter::writeNumber(char* out, std::uint16_t number) const
{
    if (number >= numbers_.size())
        return std::to_chars(out, out + 5, number).ptr;
    const Digits& digits = numbers_[number];
    std::memcpy(out, &digits, sizeof digits);
    return out + digits.length;
}

char* IntermodLabelWriter::write(char* out, const CompactIntermodProduct& product) const
{
    switch (product.form) {
    case IntermodForm::twiceFirstLessSecond:
        out = writePiece(out, "2*F");
        out = writeNumber(out, product.first);
        out = writePiece(out, "-F");
        return writeNumber(out, product.second);
    case IntermodForm::firstPlusSecondLessThird:
        out = writePiece(out, "F");
        out = writeNumber(out, product.first);
        out = writePiece(out, "+F");
        out = writeNumber(out, product.second);
        out = writePiece(out, "-F");
        return writeNumber(out, product.third);
    case IntermodForm::firstLessSecondPlusThird:
        out = writePiece(out, "F");
        out = writeNumber(out, product.first);
        out = writePiece(out, "-F");
        out = writeNumber(out, product.second);
        out = writePiece(out, "+F");
        return writeNumber(out, product.third);
    }
    return out;
}

std::string intermodLabel(const CompactIntermodProduct& product)
{
    const IntermodLabelWriter writer(std::max({product.first, product.second, product.third}));
    char label[IntermodLabelWriter::room];
    return std::string(label, writer.write(label, product));
}

void computeIntermodProducts(const CarrierList& plan, CarrierList& productList)
{
    productList.removeAll();
    std::vector<double> frequenciesMhz;
    frequenciesMhz.reserve(static_cast<std::size_t>(plan.count()));
    for (const Carrier& carrier : plan)
        frequenciesMhz.push_back(carrier.centreFrequencyMhz);
    // Both forms come from one computation, so they cannot disagree on a frequency.
    const std::vector<CompactIntermodProduct> products =
        computeCompactIntermodProducts(frequenciesMhz);
    if (products.empty()) {
        productList.updateBounds();
        return;
    }
    productList.reserve(products.size());
    const IntermodLabelWriter labels(plan.count());
    char label[IntermodLabelWriter::room];
    Carrier working;
    for (const CompactIntermodProduct& product : products) {
        working.resetToDefaults();
        working.setCentreFrequency(product.frequencyMhz);
        working.label.assign(label, labels.write(label, product));
        productList.append(working);
    }
}

} // namespace orvane
