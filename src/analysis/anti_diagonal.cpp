#include "analysis/anti_diagonal.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::intermod {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Sums of a run lie within this of each other: a few units in their last place, the rounding
// of decimal frequencies into binary and no more.
double runSpreadMhz(double sumMhz)
{
    return 4e-15 * std::fabs(sumMhz);
}

} // namespace

AntiDiagonal::AntiDiagonal(const SweepPlan& plan) : plan_(plan), carriers_(plan.carriers)
{
    const std::size_t capacity = carriers_.count() / 2 + 1;
    groups_.reserve(static_cast<std::size_t>(plan.reachClasses));
    for (int group = 0; group < plan.reachClasses; ++group)
        groups_.emplace_back(capacity);
    entries_.resize(static_cast<std::size_t>(plan.reachClasses));
    for (std::vector<PairEntry>& entries : entries_)
        entries.reserve(capacity);
    runOfFirst_.assign(carriers_.count(), 0);
}

bool AntiDiagonal::build(std::size_t diagonal)
{
    diagonal_ = diagonal;
    const std::size_t n = carriers_.count();
    for (std::vector<PairEntry>& entries : entries_)
        entries.clear();
    const std::size_t firstFrom = diagonal >= n ? diagonal - (n - 1) : 0;
    for (std::size_t a = firstFrom; 2 * a <= diagonal; ++a) {
        const std::size_t b = diagonal - a;
        const int group = std::max(carriers_.reachClass[a], carriers_.reachClass[b]);
        PairEntry entry{};
        entry.sumMhz = carriers_.centreMhz[a] + carriers_.centreMhz[b];
        entry.first = static_cast<int>(a);
        entry.second = static_cast<int>(b);
        entries_[static_cast<std::size_t>(group)].push_back(entry);
    }
    lowestSumMhz_ = infinity;
    highestSumMhz_ = -infinity;
    widestPairMhz_ = 0.0;
    for (std::size_t group = 0; group < groups_.size(); ++group) {
        fill(groups_[group], entries_[group]);
        if (groups_[group].count == 0)
            continue;
        lowestSumMhz_ = std::min(lowestSumMhz_, groups_[group].sumMhz.front());
        highestSumMhz_ = std::max(highestSumMhz_, groups_[group].sumMhz[groups_[group].count - 1]);
        widestPairMhz_ = std::max(widestPairMhz_, groups_[group].reachMhz);
    }
    if (!(lowestSumMhz_ <= highestSumMhz_))
        return false;
    // The farthest a product's reach and a victim's can bring them together.
    reachMhz_ = widestPairMhz_ + plan_.widestFactorMhz + plan_.widestVictimMhz +
                roundingSlackMhz(std::max(std::fabs(lowestSumMhz_), std::fabs(highestSumMhz_)));
    return true;
}

void AntiDiagonal::subtractedRange(std::size_t& begin, std::size_t& end) const
{
    const std::vector<double>& centres = carriers_.centreMhz;
    double lowMhz = lowestSumMhz_ - (centres.back() + reachMhz_);
    double highMhz = highestSumMhz_ - (centres.front() - reachMhz_);
    const Bins& bins = plan_.bins;
    if (bins.count > 0 && plan_.levelled) {
        lowMhz = std::min(lowMhz, lowestSumMhz_ - (bins.highMhz + reachMhz_));
        highMhz = std::max(highMhz, highestSumMhz_ - (bins.lowMhz - reachMhz_));
    }
    begin = static_cast<std::size_t>(std::upper_bound(centres.begin(), centres.end(), lowMhz) -
                                     centres.begin());
    end = std::max(
        begin, static_cast<std::size_t>(std::lower_bound(centres.begin(), centres.end(), highMhz) -
                                        centres.begin()));
}

void AntiDiagonal::victimRange(std::size_t z, std::size_t& begin, std::size_t& end) const
{
    const std::vector<double>& centres = carriers_.centreMhz;
    const double zMhz = centres[z];
    begin = static_cast<std::size_t>(
        std::upper_bound(centres.begin(), centres.end(), lowestSumMhz_ - zMhz - reachMhz_) -
        centres.begin());
    end = std::max(begin,
                   static_cast<std::size_t>(std::lower_bound(centres.begin(), centres.end(),
                                                             highestSumMhz_ - zMhz + reachMhz_) -
                                            centres.begin()));
}

double AntiDiagonal::runDistance(std::size_t group, std::size_t z, std::size_t v) const
{
    const double landingMhz = carriers_.centreMhz[v] + carriers_.centreMhz[z];
    return groups_[group].reachMhz + carriers_.factorReachMhz[z] + carriers_.victimReachMhz[v] +
           roundingSlackMhz(landingMhz);
}

// The group's pairs sorted by sum into its arrays, as runs.
void AntiDiagonal::fill(PairGroup& group, std::vector<PairEntry>& entries)
{
    for (PairEntry& entry : entries) {
        const std::size_t a = static_cast<std::size_t>(entry.first);
        const std::size_t b = static_cast<std::size_t>(entry.second);
        entry.sumBucket = std::nearbyint(entry.sumMhz * 1e12);
        entry.halfSpanMhz = carriers_.halfOccupiedMhz[a] + carriers_.halfOccupiedMhz[b];
        entry.widerSymbolMhz = std::max(carriers_.symbolMhz[a], carriers_.symbolMhz[b]);
        entry.narrowerSymbolMhz = std::min(carriers_.symbolMhz[a], carriers_.symbolMhz[b]);
        // Fa+Fb-Fc is 20*log10(2) dB stronger than 2*Fa-Fb of the same powers; -1 when
        // not rated.
        entry.power =
            carriers_.rated[a] && carriers_.rated[b]
                ? carriers_.relativePower[a] * carriers_.relativePower[b] * (a == b ? 1.0 : 4.0)
                : -1.0;
    }
    std::sort(entries.begin(), entries.end(), [](const PairEntry& x, const PairEntry& y) {
        if (x.sumBucket != y.sumBucket)
            return x.sumBucket < y.sumBucket;
        if (x.halfSpanMhz != y.halfSpanMhz)
            return x.halfSpanMhz < y.halfSpanMhz;
        if (x.widerSymbolMhz != y.widerSymbolMhz)
            return x.widerSymbolMhz < y.widerSymbolMhz;
        if (x.narrowerSymbolMhz != y.narrowerSymbolMhz)
            return x.narrowerSymbolMhz < y.narrowerSymbolMhz;
        if (x.power != y.power)
            return x.power < y.power;
        return x.first < y.first;
    });
    group.count = 0;
    group.reachMhz = 0.0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PairEntry& entry = entries[i];
        const std::size_t run = group.count;
        if (run > 0 && entries[i - 1].sameProducts(entry) &&
            std::fabs(entry.sumMhz - group.sumMhz[run - 1]) <=
                runSpreadMhz(group.sumMhz[run - 1])) {
            if (group.copies[run - 1] == 1.0)
                group.nextFirst[run - 1] = entry.first;
            group.copies[run - 1] += 1.0;
            runOfFirst_[static_cast<std::size_t>(entry.first)] = run - 1;
            continue;
        }
        setRepresentative(group, run, static_cast<std::size_t>(entry.first),
                          static_cast<std::size_t>(entry.second));
        const std::size_t a = static_cast<std::size_t>(entry.first);
        const std::size_t b = static_cast<std::size_t>(entry.second);
        group.halfSpanMhz[run] = entry.halfSpanMhz;
        group.symbolSumMhz[run] = carriers_.symbolMhz[a] + carriers_.symbolMhz[b];
        group.widerSymbolMhz[run] = entry.widerSymbolMhz;
        group.narrowerSymbolMhz[run] = entry.narrowerSymbolMhz;
        group.inverseSymbols[run] = carriers_.inverseSymbolMhz[a] * carriers_.inverseSymbolMhz[b];
        group.power[run] = std::max(entry.power, 0.0);
        group.rated[run] = entry.power >= 0.0 ? 1.0 : 0.0;
        group.copies[run] = 1.0;
        group.nextFirst[run] = -1.0;
        group.reachMhz =
            std::max(group.reachMhz, std::max(entry.halfSpanMhz, 0.5 * group.symbolSumMhz[run]));
        runOfFirst_[a] = run;
        ++group.count;
    }
    sortRuns(group, entries);
}

// Runs of a bucket need not come in the order of their sums: they are put in it, so that
// the runs' sums rise as the windows need them to.
void AntiDiagonal::sortRuns(PairGroup& group, const std::vector<PairEntry>& entries)
{
    bool sorted = true;
    for (std::size_t run = 1; run < group.count && sorted; ++run)
        sorted = !(group.sumMhz[run] < group.sumMhz[run - 1]);
    if (sorted)
        return;
    order_.resize(group.count);
    for (std::size_t run = 0; run < group.count; ++run)
        order_[run] = run;
    std::sort(order_.begin(), order_.end(), [&group](std::size_t x, std::size_t y) {
        return group.sumMhz[x] < group.sumMhz[y] ||
               (group.sumMhz[x] == group.sumMhz[y] && group.first[x] < group.first[y]);
    });
    for (std::vector<double>* values :
         {&group.sumMhz, &group.firstMhz, &group.secondMhz, &group.first, &group.second,
          &group.halfSpanMhz, &group.symbolSumMhz, &group.widerSymbolMhz, &group.narrowerSymbolMhz,
          &group.inverseSymbols, &group.power, &group.rated, &group.copies, &group.nextFirst}) {
        scratch_.resize(group.count);
        for (std::size_t run = 0; run < group.count; ++run)
            scratch_[run] = (*values)[order_[run]];
        std::copy(scratch_.begin(), scratch_.end(), values->begin());
    }
    placeOf_.resize(group.count);
    for (std::size_t run = 0; run < group.count; ++run)
        placeOf_[order_[run]] = run;
    for (const PairEntry& entry : entries) {
        std::size_t& run = runOfFirst_[static_cast<std::size_t>(entry.first)];
        run = placeOf_[run];
    }
}

// The pair (a, b) stands for the run.
void AntiDiagonal::setRepresentative(PairGroup& group, std::size_t run, std::size_t a,
                                     std::size_t b)
{
    group.sumMhz[run] = carriers_.centreMhz[a] + carriers_.centreMhz[b];
    group.firstMhz[run] = carriers_.centreMhz[a];
    group.secondMhz[run] = carriers_.centreMhz[b];
    group.first[run] = static_cast<double>(a);
    group.second[run] = static_cast<double>(b);
}

AntiDiagonal::Excluded AntiDiagonal::exclude(std::size_t z)
{
    Excluded excluded;
    if (diagonal_ < z || diagonal_ - z >= carriers_.count())
        return excluded;
    const std::size_t a = std::min(z, diagonal_ - z);
    const std::size_t b = diagonal_ - a;
    PairGroup& group = groups_[static_cast<std::size_t>(
        std::max(carriers_.reachClass[a], carriers_.reachClass[b]))];
    const std::size_t run = runOfFirst_[a];
    excluded = Excluded{&group,
                        run,
                        group.sumMhz[run],
                        group.firstMhz[run],
                        group.secondMhz[run],
                        group.first[run],
                        group.second[run]};
    group.copies[run] -= 1.0;
    if (group.first[run] == static_cast<double>(a) && group.copies[run] > 0.0) {
        const std::size_t next = static_cast<std::size_t>(group.nextFirst[run]);
        setRepresentative(group, run, next, diagonal_ - next);
    }
    return excluded;
}

void AntiDiagonal::restore(const Excluded& excluded)
{
    if (!excluded.group)
        return;
    PairGroup& group = *excluded.group;
    const std::size_t run = excluded.run;
    group.copies[run] += 1.0;
    group.sumMhz[run] = excluded.sumMhz;
    group.firstMhz[run] = excluded.firstMhz;
    group.secondMhz[run] = excluded.secondMhz;
    group.first[run] = excluded.first;
    group.second[run] = excluded.second;
}

} // namespace orvane::intermod
