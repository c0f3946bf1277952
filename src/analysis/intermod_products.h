#pragma once

#include "model/carrier_list.h"
#include "model/work_progress.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>
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
// product would cost over ten times the memory. The label is made when it is written. Made
// without initial values, so that a list of them can be made without writing it twice.
struct CompactIntermodProduct {
    double frequencyMhz;
    std::uint16_t first; // F-numbers, 1-based, in the order the label names them
    std::uint16_t second;
    std::uint16_t third;
    IntermodForm form;
};

// Leaves new elements as they are made (uninitialised for CompactIntermodProduct): the
// products of a large plan fill gigabytes, and the threads computing them write each one.
template <typename T> struct UninitialisedAllocator : std::allocator<T> {
    template <typename U> struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <typename U, typename... Arguments> void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }
    template <typename U> void construct(U* place) { ::new (static_cast<void*>(place)) U; }
};

using CompactIntermodProducts =
    std::vector<CompactIntermodProduct, UninitialisedAllocator<CompactIntermodProduct>>;

// The F-numbers of compact products are 16-bit.
constexpr int maxCompactIntermodCarriers = 65535;

// The same products with the same frequencies and in the same order as
// computeIntermodProducts, for carriers with these centre frequencies (at most
// maxCompactIntermodCarriers of them; nothing is computed for more). Stops with an empty list
// when progress asks for a cancel.
CompactIntermodProducts
computeCompactIntermodProducts(const std::vector<double>& centreFrequenciesMhz,
                               WorkProgress* progress = nullptr);

// Ascending frequency by the same quicksort as CarrierList::sortByFrequency, so products of
// equal frequency end up in the same order as a sorted product list. Large lists are sorted
// on two threads. Stops early, leaving the order undefined, when progress asks for a cancel.
void sortByFrequency(CompactIntermodProducts& products, WorkProgress* progress = nullptr);

// The longest label: "F65535+F65535-F65535".
constexpr std::size_t mostIntermodLabelLength = 20;

// Writes labels ("2*F1-F2") with the F-numbers' digits made once, for the millions of
// products of a report.
class IntermodLabelWriter {
public:
    // Room a label needs at out: its pieces are copied eight bytes at a time.
    static constexpr std::size_t room = mostIntermodLabelLength + 8;

    // Made for products of plans of up to carrierCount carriers (others are written too).
    explicit IntermodLabelWriter(int carrierCount);
    // The product's label at out, which has room bytes; returns the end.
    char* write(char* out, const CompactIntermodProduct& product) const;

    // What comes before an F-number in a label.
    enum class Lead { twice, none, plus, minus, nothingAtAll };

private:
    // A lead with its F-number ("2*F12", "F12", "+F12", "-F12" or nothing), made once.
    struct Piece {
        char text[8];
        std::size_t length;
    };
    static char* writePiece(char* out, Lead lead, std::uint16_t number, const Piece* pieces,
                            std::size_t numbers);

    std::size_t numbers_; // pieces are made for the F-numbers below this
    std::vector<Piece> pieces_;
};

// One product's label.
std::string intermodLabel(const CompactIntermodProduct& product);

} // namespace orvane
