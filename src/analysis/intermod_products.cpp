#include "analysis/intermod_products.h"

#include "model/side_by_side.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sys/mman.h>
#include <utility>

namespace orvane {

namespace {

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

CompactIntermodProducts
computeCompactIntermodProducts(const std::vector<double>& centreFrequenciesMhz,
                               WorkProgress* progress)
{
    CompactIntermodProducts products;
    const int n = static_cast<int>(centreFrequenciesMhz.size());
    if (centreFrequenciesMhz.size() > static_cast<std::size_t>(maxCompactIntermodCarriers) || n < 2)
        return products;
    const auto total = static_cast<std::size_t>(intermodProductCount(n));
    products.reserve(total);
    adviseLargePages(products.data(), total * sizeof(CompactIntermodProduct));
    products.resize(total);
    const auto f = [&centreFrequenciesMhz](int number) { // f(1) is F1
        return centreFrequenciesMhz[static_cast<std::size_t>(number - 1)];
    };
    CompactIntermodProduct* out = products.data();
    for (int a = 1; a <= n - 1; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            *out++ = makeProduct(2 * f(a) - f(b), a, b, 0, IntermodForm::twiceFirstLessSecond);
            *out++ = makeProduct(2 * f(b) - f(a), b, a, 0, IntermodForm::twiceFirstLessSecond);
        }
    }
    // The three-carrier products with a from first to last, written from out on; the thread
    // that reports (the first) tells how many of its share are made.
    std::atomic<bool> stopped{false};
    const auto triplesFrom = [n](int a) { // how many products have a as their lowest F-number
        const auto rest = static_cast<std::size_t>(n - a);
        return 3 * (rest * (rest - 1) / 2);
    };
    std::size_t firstShare = 0;
    const auto triples = [&](int first, int last, CompactIntermodProduct* out, bool reports) {
        CompactIntermodProduct* const start = out;
        for (int a = first; a <= last && !stopped; ++a) {
            if (progress != nullptr && progress->cancelRequested())
                stopped = true;
            else if (progress != nullptr && reports)
                progress->setPartDone(static_cast<double>(out - start) /
                                      static_cast<double>(firstShare));
            for (int b = a + 1; b <= n - 1; ++b) {
                for (int c = b + 1; c <= n; ++c) {
                    *out++ = makeProduct((f(a) + f(b)) - f(c), a, b, c,
                                         IntermodForm::firstPlusSecondLessThird);
                    *out++ = makeProduct((f(a) - f(b)) + f(c), a, b, c,
                                         IntermodForm::firstLessSecondPlusThird);
                    *out++ = makeProduct((f(b) + f(c)) - f(a), b, c, a,
                                         IntermodForm::firstPlusSecondLessThird);
                }
            }
        }
    };
    // The lowest F-numbers have the most products: the first thread takes those up to where
    // half of the three-carrier products are made, the second the rest.
    int split = 1;
    const std::size_t tripleCount = total - static_cast<std::size_t>(out - products.data());
    while (split <= n - 2 && 2 * (firstShare + triplesFrom(split)) <= tripleCount)
        firstShare += triplesFrom(split++);
    CompactIntermodProduct* const secondOut = out + firstShare;
    runSideBySide([&] { triples(1, split - 1, out, true); },
                  [&] { triples(split, n - 2, secondOut, false); });
    if (stopped)
        return {};
    return products;
}

namespace {

using Lead = IntermodLabelWriter::Lead;

constexpr int leadCount = 5;
constexpr const char* leadTexts[leadCount] = {"2*F", "F", "+F", "-F", ""};

// The leads of the three pieces of each form's label; the pieces are copied whatever the
// form, so that sorted products, which come in any order of forms, cost no missed branch.
struct FormLeads {
    Lead first;
    Lead second;
    Lead third;
};
constexpr FormLeads formLeads[] = {
    {Lead::twice, Lead::minus, Lead::nothingAtAll}, // twiceFirstLessSecond
    {Lead::none, Lead::plus, Lead::minus},          // firstPlusSecondLessThird
    {Lead::none, Lead::minus, Lead::plus},          // firstLessSecondPlusThird
    {Lead::twice, Lead::minus, Lead::nothingAtAll}, // no form: never made
};

} // namespace

IntermodLabelWriter::IntermodLabelWriter(int carrierCount)
    : numbers_(static_cast<std::size_t>(std::clamp(carrierCount, 0, maxCompactIntermodCarriers)) +
               1),
      pieces_(numbers_ * leadCount)
{
    for (int lead = 0; lead < leadCount; ++lead) {
        for (std::size_t number = 0; number < numbers_; ++number) {
            Piece& piece = pieces_[static_cast<std::size_t>(lead) * numbers_ + number];
            char* end = std::copy_n(leadTexts[lead], std::strlen(leadTexts[lead]), piece.text);
            if (static_cast<Lead>(lead) != Lead::nothingAtAll)
                end = std::to_chars(end, piece.text + sizeof piece.text, number).ptr;
            piece.length = static_cast<std::size_t>(end - piece.text);
        }
    }
}

char* IntermodLabelWriter::writePiece(char* out, Lead lead, std::uint16_t number,
                                      const Piece* pieces, std::size_t numbers)
{
    if (number >= numbers) {
        const char* const text = leadTexts[static_cast<int>(lead)];
        out = std::copy_n(text, std::strlen(text), out);
        return lead == Lead::nothingAtAll ? out : std::to_chars(out, out + 5, number).ptr;
    }
    const Piece& piece = pieces[static_cast<std::size_t>(lead) * numbers + number];
    std::memcpy(out, piece.text, sizeof piece.text);
    return out + piece.length;
}

char* IntermodLabelWriter::write(char* out, const CompactIntermodProduct& product) const
{
    // Everything is read before anything is written: the bytes written could otherwise be
    // the ones read, as far as the compiler knows.
    const FormLeads& leads = formLeads[static_cast<unsigned>(product.form) & 3];
    const std::uint16_t first = product.first;
    const std::uint16_t second = product.second;
    const std::uint16_t third = product.third;
    const Piece* const pieces = pieces_.data();
    const std::size_t numbers = numbers_;
    out = writePiece(out, leads.first, first, pieces, numbers);
    out = writePiece(out, leads.second, second, pieces, numbers);
    return writePiece(out, leads.third, third, pieces, numbers);
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
    const CompactIntermodProducts products = computeCompactIntermodProducts(frequenciesMhz);
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
