#include "analysis/intermod_products.h"

#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <utility>

namespace orvane {

namespace {

void appendNumber(std::string& text, unsigned number)
{
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, result.ptr);
}

// Kept in step with CarrierList's quicksort: the same pivot, the same strict comparisons and
// the same exchanges, so that equal frequencies land in the same order.
void quicksortProducts(std::vector<CompactIntermodProduct>& products, std::ptrdiff_t low,
                       std::ptrdiff_t high)
{
    CompactIntermodProduct* const element = products.data();
    while (low < high) {
        std::ptrdiff_t i = low;
        std::ptrdiff_t j = high;
        const double pivot = element[(low + high) / 2].frequencyMhz;
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
        // Recurse into the smaller part and loop on the larger: the stack stays logarithmic
        // and the exchanges are those of the plain recursion, since the parts are disjoint.
        if (j - low < high - i) {
            if (low < j)
                quicksortProducts(products, low, j);
            low = i;
        } else {
            if (i < high)
                quicksortProducts(products, i, high);
            high = j;
        }
    }
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
computeCompactIntermodProducts(const std::vector<double>& centreFrequenciesMhz)
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

void sortByFrequency(std::vector<CompactIntermodProduct>& products)
{
    if (products.size() > 1)
        quicksortProducts(products, 0, static_cast<std::ptrdiff_t>(products.size()) - 1);
}

void appendIntermodLabel(const CompactIntermodProduct& product, std::string& text)
{
    switch (product.form) {
    case IntermodForm::twiceFirstLessSecond:
        text += "2*F";
        appendNumber(text, product.first);
        text += "-F";
        appendNumber(text, product.second);
        return;
    case IntermodForm::firstPlusSecondLessThird:
        text += 'F';
        appendNumber(text, product.first);
        text += "+F";
        appendNumber(text, product.second);
        text += "-F";
        appendNumber(text, product.third);
        return;
    case IntermodForm::firstLessSecondPlusThird:
        text += 'F';
        appendNumber(text, product.first);
        text += "-F";
        appendNumber(text, product.second);
        text += "+F";
        appendNumber(text, product.third);
        return;
    }
}

std::string intermodLabel(const CompactIntermodProduct& product)
{
    std::string label;
    appendIntermodLabel(product, label);
    return label;
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
    Carrier working;
    for (const CompactIntermodProduct& product : products) {
        working.resetToDefaults();
        working.setCentreFrequency(product.frequencyMhz);
        working.label.clear();
        appendIntermodLabel(product, working.label);
        productList.append(working);
    }
}

} // namespace orvane
