#pragma once

#include "model/carrier_list.h"
#include "model/work_progress.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// The number of third-order products of a plan of n carriers: n(n - 1) two-carrier products
// and n(n - 1)(n - 2)/2 three-carrier ones. Saturates at the largest long long.
long long intermodProductCount(long long carrierCount);

// Every third-order product of the plan (carriers numbered F1..Fn in list order) into
// productList, replacing what it held: for each pair a < b, 2*Fa-Fb and 2*Fb-Fa; then for each
// triple a < b < c, Fa+Fb-Fc, Fa-Fb+Fc and Fb+Fc-Fa. Each product is a carrier at the record
// defaults apart from its centre frequency and label; the list's bounds are those of its
// products. The plan is not changed.
void computeIntermodProducts(const CarrierList& plan, CarrierList& productList);

// How a product's label reads, with its three F-numbers in label order.
enum class IntermodForm : std::uint8_t {
    twiceFirstLessSecond,     // "2*F%i-F%i"
    firstPlusSecondLessThird, // "F%i+F%i-F%i"
    firstLessSecondPlusThird, // "F%i-F%i+F%i"
};

// One product in 16 bytes: the report holds millions of them, and a full Carrier record per
// product would cost over ten times the memory. The label is made when it is written.
struct CompactIntermodProduct {
    double frequencyMhz = 0.0;
    std::uint16_t first = 0; // F-numbers, 1-based, in the order the label names them
    std::uint16_t second = 0;
    std::uint16_t third = 0;
    IntermodForm form = IntermodForm::twiceFirstLessSecond;
};

// The F-numbers of compact products are 16-bit.
constexpr int maxCompactIntermodCarriers = 65535;

// The same products with the same frequencies and in the same order as
// computeIntermodProducts, for carriers with these centre frequencies (at most
// maxCompactIntermodCarriers of them; nothing is computed for more). Stops with an empty list
// when progress asks for a cancel.
std::vector<CompactIntermodProduct>
computeCompactIntermodProducts(const std::vector<double>& centreFrequenciesMhz,
                               WorkProgress* progress = nullptr);

// Ascending frequency by the same quicksort as CarrierList::sortByFrequency, so products of
// equal frequency end up in the same order as a sorted product list. Large lists are sorted
// on two threads. Stops early, leaving the order undefined, when progress asks for a cancel.
void sortByFrequency(std::vector<CompactIntermodProduct>& products,
                     WorkProgress* progress = nullptr);

// The longest label: "F65535+F65535-F65535".
constexpr std::size_t mostIntermodLabelLength = 20;

// Writes labels ("2*F1-F2") with the F-numbers' digits made once, for the millions of
// products of a report.
class IntermodLabelWriter {
public:
    // Room a label needs at out: the numbers are copied eight bytes at a time.
    static constexpr std::size_t room = mostIntermodLabelLength + 8;

    // Made for products of plans of up to carrierCount carriers (others are written too).
    explicit IntermodLabelWriter(int carrierCount);
    // The product's label at out, which has room bytes; returns the end.
    char* write(char* out, const CompactIntermodProduct& product) const;

private:
    struct Digits {
        char text[7];
        unsigned char length;
    };
    static char* writeNumber(char* out, std::uint16_t number, const Digits* numbers,
                             std::size_t count);

    std::vector<Digits> numbers_;
};

// One product's label.
std::string intermodLabel(const CompactIntermodProduct& product);

} // namespace orvane
