#pragma once

#include "model/carrier.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// A handle to one place in a CarrierList. It stays valid while that place is in the list,
// whatever else is added or removed; a sort exchanges contents between places, so after a
// sort a position holds whichever carrier the sort moved there.
class CarrierPosition {
public:
    CarrierPosition() = default;
    bool operator==(const CarrierPosition& other) const { return id_ == other.id_; }
    bool operator!=(const CarrierPosition& other) const { return id_ != other.id_; }

private:
    friend class CarrierList;
    explicit CarrierPosition(std::uint64_t id) : id_(id) {}
    std::uint64_t id_ = 0;
};

// An ordered plan of carriers with its plan-wide values: the plan itself, a modcod catalogue
// or a list of intermodulation products. Carriers are copied in and out by value. The outer
// edges and the power-density scale always hold what updateBounds gives for the current
// carriers, except after removeAll, which leaves them as they were.
class CarrierList {
public:
    // Plan-wide values carried by the files.
    int isModcodList = 0;
    double viewStartMhz = 0.0;
    double viewStopMhz = 0.0;
    std::string title;
    double currentRolloffFactor = defaultRolloffFactor;

    int count() const { return static_cast<int>(carriers_.size()); }
    bool empty() const { return carriers_.empty(); }

    // The place with that 0-based index; none when the index is out of range.
    std::optional<CarrierPosition> findIndex(int index) const;
    // The index of a place; none when the place is no longer in the list.
    std::optional<int> indexOf(CarrierPosition position) const;
    // A copy of the carrier at a place that is in the list.
    Carrier at(CarrierPosition position) const;
    // Read access by index, for walking the list first to last (0 <= index < count).
    const Carrier& operator[](int index) const
    {
        return carriers_[static_cast<std::size_t>(index)];
    }
    std::vector<Carrier>::const_iterator begin() const { return carriers_.begin(); }
    std::vector<Carrier>::const_iterator end() const { return carriers_.end(); }

    void append(const Carrier& carrier);
    void append(Carrier&& carrier);
    // Appends without keeping the bounds; the caller runs updateBounds once at the end
    // (the file readers do this).
    void appendWithoutBounds(Carrier carrier);
    void reserve(std::size_t capacity)
    {
        carriers_.reserve(capacity);
        slotIds_.reserve(capacity);
    }
    void removeAt(CarrierPosition position);
    void replaceAt(CarrierPosition position, const Carrier& carrier);
    // Empties the list; the plan-wide values, edges and level scale stay as they are.
    void removeAll();

    // Ascending centre frequency, in place, by the list's own quicksort: carriers of equal
    // frequency end up in the order that procedure gives (two equal ones are exchanged).
    void sortByFrequency();
    void updateBounds();
    // Every centre to |centre + step|; a step of 0 changes nothing.
    void shift(double stepMhz);
    // Sorts, then places the carriers edge to edge from startMhz up, centres rounded to 1 kHz.
    void scrunch(double startMhz);

    double lowestEdgeMhz() const { return lowestEdgeMhz_; }
    double highestEdgeMhz() const { return highestEdgeMhz_; }
    double levelFloor() const { return levelFloor_; }
    double levelCeiling() const { return levelCeiling_; }
    // What the file readers set when they take a title: edges and floor 0, ceiling -999.
    void clearBoundsForReading();

private:
    void resetBoundsAccumulators();
    void includeInBounds(const Carrier& carrier);
    void publishBounds();
    void quicksort(std::ptrdiff_t low, std::ptrdiff_t high);

    std::vector<Carrier> carriers_;
    // The place id of each index, strictly increasing along the list.
    std::vector<std::uint64_t> slotIds_;
    std::uint64_t nextSlotId_ = 1;

    double lowestEdgeMhz_ = 0.0;
    double highestEdgeMhz_ = 0.0;
    double levelFloor_ = 0.0;
    double levelCeiling_ = 20.0;

    // Running values of updateBounds, so that append can extend them.
    double runningLowestMhz_ = 0.0;
    double runningHighestMhz_ = 0.0;
    double runningFloor_ = 0.0;
    double runningCeiling_ = 0.0;
};

} // namespace orvane
