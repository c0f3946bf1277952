#include "model/carrier_list.h"

#include "model/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace orvane {

std::optional<CarrierPosition> CarrierList::findIndex(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    return CarrierPosition(slotIds_[static_cast<std::size_t>(index)]);
}

std::optional<int> CarrierList::indexOf(CarrierPosition position) const
{
    const auto found = std::lower_bound(slotIds_.begin(), slotIds_.end(), position.id_);
    if (found == slotIds_.end() || *found != position.id_)
        return std::nullopt;
    return static_cast<int>(found - slotIds_.begin());
}

Carrier CarrierList::at(CarrierPosition position) const
{
    const std::optional<int> index = indexOf(position);
    if (!index)
        return Carrier();
    return carriers_[static_cast<std::size_t>(*index)];
}

void CarrierList::appendWithoutBounds(Carrier carrier)
{
    // The running values still follow, so that a later append publishes the right bounds.
    if (carriers_.empty())
        resetBoundsAccumulators();
    includeInBounds(carrier);
    carriers_.push_back(std::move(carrier));
    slotIds_.push_back(nextSlotId_++);
}

void CarrierList::append(const Carrier& carrier)
{
    append(Carrier(carrier));
}

void CarrierList::append(Carrier&& carrier)
{
    if (carriers_.empty())
        resetBoundsAccumulators();
    includeInBounds(carrier);
    carriers_.push_back(std::move(carrier));
    slotIds_.push_back(nextSlotId_++);
    publishBounds();
}

void CarrierList::removeAt(CarrierPosition position)
{
    const std::optional<int> index = indexOf(position);
    if (!index)
        return;
    carriers_.erase(carriers_.begin() + *index);
    slotIds_.erase(slotIds_.begin() + *index);
    if (carriers_.empty()) {
        carriers_ = std::vector<Carrier>();
        slotIds_ = std::vector<std::uint64_t>();
    }
    updateBounds();
}

void CarrierList::replaceAt(CarrierPosition position, const Carrier& carrier)
{
    const std::optional<int> index = indexOf(position);
    if (!index)
        return;
    carriers_[static_cast<std::size_t>(*index)] = carrier;
    updateBounds();
}

void CarrierList::removeAll()
{
    carriers_ = std::vector<Carrier>();
    slotIds_ = std::vector<std::uint64_t>();
}

void CarrierList::clearBoundsForReading()
{
    lowestEdgeMhz_ = 0.0;
    highestEdgeMhz_ = 0.0;
    levelFloor_ = 0.0;
    levelCeiling_ = -999.0;
}

void CarrierList::resetBoundsAccumulators()
{
    // The running minimum starts at +infinity so that plans above 100 GHz get their real edge.
    runningLowestMhz_ = std::numeric_limits<double>::infinity();
    runningHighestMhz_ = 0.0;
    runningFloor_ = 0.0;
    runningCeiling_ = -999.0;
}

void CarrierList::includeInBounds(const Carrier& carrier)
{
    const double lower = carrier.lowerEdgeMhz();
    if (lower < runningLowestMhz_)
        runningLowestMhz_ = lower;
    const double upper = carrier.upperEdgeMhz();
    if (upper > runningHighestMhz_)
        runningHighestMhz_ = upper;
    const double density = carrier.powerDensityDbw();
    if (density > -998.0) {
        if (density < runningFloor_ + 20.0)
            runningFloor_ = density - 20.0;
        if (density > runningCeiling_)
            runningCeiling_ = density;
    }
}

void CarrierList::publishBounds()
{
    if (runningLowestMhz_ < runningHighestMhz_) {
        lowestEdgeMhz_ = runningLowestMhz_;
        highestEdgeMhz_ = runningHighestMhz_;
    } else {
        lowestEdgeMhz_ = 0.0;
        highestEdgeMhz_ = 0.0;
    }
    levelFloor_ = runningFloor_;
    levelCeiling_ = runningCeiling_;
    if (levelCeiling_ < levelFloor_)
        levelCeiling_ = levelFloor_ + 20.0;
}

void CarrierList::updateBounds()
{
    resetBoundsAccumulators();
    for (const Carrier& carrier : carriers_)
        includeInBounds(carrier);
    publishBounds();
}

void CarrierList::sortByFrequency()
{
    if (carriers_.size() > 1)
        quicksort(0, static_cast<std::ptrdiff_t>(carriers_.size()) - 1);
}

void CarrierList::quicksort(std::ptrdiff_t low, std::ptrdiff_t high)
{
    // The recursion goes into the smaller part and loops on the larger, so the stack stays
    // logarithmic; the exchanges are exactly those of the plain two-way recursion.
    while (low < high) {
        std::ptrdiff_t i = low;
        std::ptrdiff_t j = high;
        const double pivot =
            carriers_[static_cast<std::size_t>((low + high) / 2)].centreFrequencyMhz;
        while (i <= j) {
            while (carriers_[static_cast<std::size_t>(i)].centreFrequencyMhz < pivot)
                ++i;
            while (carriers_[static_cast<std::size_t>(j)].centreFrequencyMhz > pivot)
                --j;
            if (i <= j) {
                std::swap(carriers_[static_cast<std::size_t>(i)],
                          carriers_[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (j - low < high - i) {
            if (low < j)
                quicksort(low, j);
            low = i;
        } else {
            if (i < high)
                quicksort(i, high);
            high = j;
        }
    }
}

void CarrierList::shift(double stepMhz)
{
    if (stepMhz != 0.0)
        for (Carrier& carrier : carriers_)
            carrier.setCentreFrequency(std::fabs(carrier.centreFrequency() + stepMhz));
    updateBounds();
}

void CarrierList::scrunch(double startMhz)
{
    sortByFrequency();
    double edgeMhz = startMhz;
    for (Carrier& carrier : carriers_) {
        const double newCentre =
            roundToDecimals(edgeMhz - carrier.lowerEdgeMhz() + carrier.centreFrequency(), 3);
        carrier.setCentreFrequency(newCentre);
        edgeMhz = carrier.upperEdgeMhz();
    }
    updateBounds();
}

} // namespace orvane
