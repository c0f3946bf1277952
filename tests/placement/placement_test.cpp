#include "analysis/hit_rule.h"
#include "placement/free_space.h"
#include "placement/placement.h"
#include "placement/placement_score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace orvane {
namespace {

// Fixed-bandwidth carriers with a roll-off of 1: the symbol rate is the bandwidth.
CarrierList planOf(const std::vector<double>& centresMhz, const std::vector<double>& widthsMhz,
                   const std::vector<double>& powersDbw = {})
{
    CarrierList plan;
    plan.title = "Placed";
    for (std::size_t i = 0; i < centresMhz.size(); ++i) {
        Carrier carrier;
        carrier.setFixedBandwidth(centresMhz[i], widthsMhz[i % widthsMhz.size()],
                                  powersDbw.empty() ? 20.0 : powersDbw[i % powersDbw.size()], 1.0);
        carrier.label = "C" + std::to_string(i + 1);
        plan.append(carrier);
    }
    return plan;
}

PlacementOptions bandOf(double lowMhz, double highMhz, double rasterKhz)
{
    PlacementOptions options;
    options.bandLowMhz = lowMhz;
    options.bandHighMhz = highMhz;
    options.rasterKhz = rasterKhz;
    return options;
}

std::vector<double> sortedCentres(const CarrierList& plan)
{
    std::vector<double> centres;
    for (const Carrier& carrier : plan)
        centres.push_back(carrier.centreFrequencyMhz);
    std::sort(centres.begin(), centres.end());
    return centres;
}

// What the result breaks of the constraints, checked from scratch; empty when nothing.
std::string violations(const CarrierList& given, const PlacementOptions& options,
                       const PlacementResult& result)
{
    std::string found;
    const CarrierList& placed = result.plan;
    if (placed.count() != given.count())
        return "carriers lost";
    CarrierList sortedGiven = given;
    sortedGiven.sortByFrequency();
    std::vector<std::pair<double, double>> bands;
    for (int i = 0; i < placed.count(); ++i) {
        Carrier was = given[i];
        const Carrier& now = placed[i];
        const std::string name = "carrier " + std::to_string(i) + ": ";
        was.centreFrequencyMhz = now.centreFrequencyMhz;
        if (was.label != now.label || was.powerDbw != now.powerDbw ||
            was.occupiedBandwidthMhz != now.occupiedBandwidthMhz ||
            was.symbolRateKsps != now.symbolRateKsps || was.calcMode != now.calcMode)
            found += name + "more than its centre changed\n";
        const double half = now.occupiedBandwidthMhz / 2;
        const double low = now.centreFrequencyMhz - half;
        const double high = now.centreFrequencyMhz + half;
        if (low < options.bandLowMhz - touchToleranceMhz ||
            high > options.bandHighMhz + touchToleranceMhz)
            found += name + "outside the band\n";
        bands.emplace_back(low, high);
        bool locked = false;
        for (const int f : options.lockedFNumbers)
            locked = locked || sortedGiven[f - 1].centreFrequencyMhz == given[i].centreFrequencyMhz;
        if (locked) {
            if (now.centreFrequencyMhz != given[i].centreFrequencyMhz)
                found += name + "locked but moved\n";
            continue;
        }
        if (now.centreFrequencyMhz == given[i].centreFrequencyMhz)
            continue;
        const double steps = now.centreFrequencyMhz / (options.rasterKhz / 1000);
        if (options.rasterKhz > 0 && std::fabs(steps - std::round(steps)) > 1e-6)
            found += name + "off the raster\n";
        for (const FrequencyRange& range : options.forbidden) {
            if (low < range.highMhz - touchToleranceMhz && high > range.lowMhz + touchToleranceMhz)
                found += name + "in a forbidden range\n";
        }
    }
    std::sort(bands.begin(), bands.end());
    for (std::size_t i = 1; i < bands.size(); ++i) {
        if (bands[i].first - bands[i - 1].second < options.spacingKhz / 1000 - touchToleranceMhz)
            found += "bands closer than the spacing at " + std::to_string(bands[i].first) + "\n";
    }
    return found;
}

PlacementResult placedWithin(const CarrierList& plan, const PlacementOptions& options)
{
    const PlacementResult result = placeCarriers(plan, options);
    EXPECT_FALSE(result.refusal) << result.refusal->text;
    EXPECT_EQ(violations(plan, options, result), "");
    return result;
}

// Three equal 1 MHz carriers of 20 dBW on a 1 MHz raster, IP3 40 dBW. A product of three of
// them is 3 MHz wide and reaches a carrier's band (and spectrum) when its frequency is less
// than 2 MHz from the carrier's centre. With the carriers at a < b < c, gaps d1 = b - a and
// d2 = c - b, the products 2b-a, 2b-c and a+c-b land between a and c, the others outside at
// a-d1, a-d2, c+d1, c+d2 and farther.
// - Six centres (span 5): no gaps avoid every product. d1 = d2 = 2 puts 2b-a on c, 2b-c on a
//   and a+c-b on b dead centre (two thirds of its level in band: C/IM 40 - 6.02 + 1.76 =
//   35.74 dB); 1 and 4 put a+c-b and b+c-a 1 MHz from c (each 1/6 of its level: 38.75 dB);
//   2 and 3 put each of the three 1 MHz from a carrier, the worst the three-carrier one on b:
//   C/IM = 2 (40 - 20) - 6.02 + 10 log10 6 = 41.76 dB, the others 47.78 dB.
// - Seven centres (span 6): gaps 2 and 4 keep every product 2 MHz or more from every carrier.
TEST(Placement, ThreeCarriersWorkedByHand)
{
    const CarrierList plan = planOf({6001, 6002, 6003}, {1.0});
    PlacementOptions options = bandOf(6000.5, 6006.5, 1000);
    options.ip3Dbw = 40;
    const PlacementResult six = placedWithin(plan, options);
    const std::vector<double> centres = sortedCentres(six.plan);
    EXPECT_TRUE(centres == std::vector<double>({6001, 6003, 6006}) ||
                centres == std::vector<double>({6001, 6004, 6006}))
        << centres[0] << " " << centres[1] << " " << centres[2];
    const double lowest = 40 - 20 * std::log10(2.0) + 10 * std::log10(6.0);
    ASSERT_TRUE(six.after.minCimDb);
    EXPECT_NEAR(*six.after.minCimDb, lowest, 1e-9);
    EXPECT_NEAR(*placementScoreOf(six.after).secondLowestCimDb, 40 + 10 * std::log10(6.0), 1e-9);
    EXPECT_EQ(six.after.productsHitting, 3);
    EXPECT_EQ(six.before.productsHitting, 7);

    options.bandHighMhz = 6007.5;
    const PlacementResult seven = placedWithin(plan, options);
    const std::vector<double> spread = sortedCentres(seven.plan);
    EXPECT_TRUE(spread == std::vector<double>({6001, 6003, 6007}) ||
                spread == std::vector<double>({6001, 6005, 6007}));
    EXPECT_FALSE(seven.after.minCimDb);
    EXPECT_EQ(placementScoreOf(seven.after).hits, 0);
    EXPECT_EQ(seven.moved.size(), 2u);
}

// Equal 1 kHz carriers on a 1 MHz raster: no product lands on a carrier exactly when all
// differences between centres are distinct (a Golomb ruler); the shortest rulers of 3 to 7
// marks span 3, 6, 11, 17 and 25 steps (OEIS A003022). The band is exactly that span.
class GolombRulers : public ::testing::TestWithParam<int> {};

TEST_P(GolombRulers, EqualNarrowCarriersFormAnOptimalRuler)
{
    const int marks = GetParam();
    const int spans[] = {0, 0, 1, 3, 6, 11, 17, 25};
    std::vector<double> centres;
    for (int i = 0; i < marks; ++i)
        centres.push_back(2000 + i);
    const CarrierList plan = planOf(centres, {0.001});
    const PlacementResult result =
        placedWithin(plan, bandOf(1999.9995, 2000.0005 + spans[marks], 1000));
    EXPECT_EQ(result.after.productsHitting, 0);
    const std::vector<double> placed = sortedCentres(result.plan);
    std::set<long long> differences;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        for (std::size_t j = i + 1; j < placed.size(); ++j)
            differences.insert(std::llround(placed[j] - placed[i]));
    }
    EXPECT_EQ(differences.size(), placed.size() * (placed.size() - 1) / 2) << "not a ruler";
    EXPECT_EQ(placed.back() - placed.front(), spans[marks]);
}

INSTANTIATE_TEST_SUITE_P(Marks, GolombRulers, ::testing::Range(3, 8));

// Four marks in 6 steps: only 0 1 4 6 and its mirror 0 2 5 6. Locking a carrier at 2, or
// forbidding 1, leaves 0 2 5 6.
TEST(Placement, LocksAndForbiddenRangesChooseTheRuler)
{
    const CarrierList plan = planOf({2000, 2001, 2002, 2003}, {0.001});
    PlacementOptions locked = bandOf(1999.9995, 2006.0005, 1000);
    locked.lockedFNumbers = {3};
    const PlacementResult withLock = placedWithin(plan, locked);
    EXPECT_EQ(sortedCentres(withLock.plan), std::vector<double>({2000, 2002, 2005, 2006}));
    EXPECT_EQ(withLock.plan[2].centreFrequencyMhz, 2002);

    PlacementOptions forbidden = bandOf(1999.9995, 2006.0005, 1000);
    // Touching the carriers at 2000 and 2002 is allowed.
    forbidden.forbidden = {{2000.0005, 2001.9995}};
    const PlacementResult without = placedWithin(plan, forbidden);
    EXPECT_EQ(sortedCentres(without.plan), std::vector<double>({2000, 2002, 2005, 2006}));
    EXPECT_EQ(without.after.productsHitting, 0);
}

// Gaps left by a carrier (widened by the spacing) and carriers packed into gaps on a raster.
TEST(FreeSpace, CarriersTakeTheirPlaceAndLeaveTheRest)
{
    using placement::Interval;
    std::vector<Interval> gaps = {{0, 10}, {20, 30}};
    placement::occupy(gaps, 5, 1, 0.5);
    ASSERT_EQ(gaps.size(), 3u);
    EXPECT_EQ(gaps[0].highMhz, 3.5);
    EXPECT_EQ(gaps[1].lowMhz, 6.5);
    EXPECT_EQ(gaps[2].lowMhz, 20);
    EXPECT_TRUE(placement::fitsIn(gaps, 8.25, 1.75));
    EXPECT_FALSE(placement::fitsIn(gaps, 8.25, 1.76));
    // Half widths 2, 1.5 and 1, first fit, lowest place on a 0.25 MHz raster: 4 MHz fits only
    // [20, 30] (centre 22), 3 MHz the first gap (1.5, leaving nothing), 2 MHz [6.5, 10] (7.5).
    std::vector<double> centres;
    ASSERT_TRUE(placement::pack(gaps, {2, 1.5, 1}, placement::Grid(0.25), 0.5, false, &centres));
    EXPECT_EQ(centres, std::vector<double>({22, 1.5, 7.5}));
    EXPECT_FALSE(placement::pack(gaps, {2, 2, 5.5}, placement::Grid(0.25), 0.5, false, nullptr));
}

// A brute force over every raster position of tiny plans finds no better score.
struct TinyCase {
    std::vector<double> widthsMhz;
    std::vector<double> powersDbw;
    double positions; // raster steps of 0.25 MHz in the band
    std::optional<double> ip3Dbw;
    double spacingKhz;
};

void PrintTo(const TinyCase& tiny, std::ostream* out)
{
    *out << tiny.widthsMhz.size() << " carriers in " << tiny.positions << " positions";
}

class TinyPlans : public ::testing::TestWithParam<TinyCase> {};

TEST_P(TinyPlans, NoRasterPlacementScoresBetter)
{
    const TinyCase& tiny = GetParam();
    const std::size_t count = tiny.widthsMhz.size();
    std::vector<double> centres;
    for (std::size_t i = 0; i < count; ++i)
        centres.push_back(3000 + 2.0 * static_cast<double>(i));
    const CarrierList plan = planOf(centres, tiny.widthsMhz, tiny.powersDbw);
    PlacementOptions options = bandOf(2999.875, 2999.875 + 0.25 * tiny.positions, 250);
    options.ip3Dbw = tiny.ip3Dbw;
    options.spacingKhz = tiny.spacingKhz;
    options.effort = 0.3;
    const PlacementResult result = placedWithin(plan, options);

    IntermodOptions measured;
    measured.ip3Dbw = tiny.ip3Dbw;
    measured.threadCount = 1;
    std::optional<PlacementScore> best;
    // Every centre on the raster inside the band: 3000, 3000.25, ...
    std::vector<int> at(count, 0);
    const int last = static_cast<int>(tiny.positions) - 1;
    while (true) {
        CarrierList candidate = plan;
        bool fits = true;
        for (std::size_t i = 0; i < count; ++i) {
            Carrier carrier = plan[static_cast<int>(i)];
            carrier.centreFrequencyMhz = 3000 + 0.25 * at[i];
            const double half = carrier.occupiedBandwidthMhz / 2;
            fits = fits && carrier.centreFrequencyMhz - half >= options.bandLowMhz &&
                   carrier.centreFrequencyMhz + half <= options.bandHighMhz;
            for (std::size_t j = 0; j < i; ++j) {
                const Carrier& other = candidate[static_cast<int>(j)];
                fits = fits && std::fabs(other.centreFrequencyMhz - carrier.centreFrequencyMhz) -
                                       half - other.occupiedBandwidthMhz / 2 >=
                                   tiny.spacingKhz / 1000;
            }
            candidate.replaceAt(*candidate.findIndex(static_cast<int>(i)), carrier);
        }
        if (fits) {
            const PlacementScore score = placementScoreOf(analyseIntermod(candidate, measured));
            if (!best || comparePlacementScores(score, *best, tiny.ip3Dbw.has_value()) > 0)
                best = score;
        }
        std::size_t digit = 0;
        while (digit < count && ++at[digit] > last)
            at[digit++] = 0;
        if (digit == count)
            break;
    }
    ASSERT_TRUE(best);
    EXPECT_EQ(
        comparePlacementScores(placementScoreOf(result.after), *best, tiny.ip3Dbw.has_value()), 0)
        << "placed " << result.after.minCimDb.value_or(0) << " dB, " << result.after.productsHitting
        << " hitting; best " << best->lowestCimDb.value_or(0) << " dB, " << best->productsHitting;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TinyPlans,
    ::testing::Values(TinyCase{{0.5, 1.0, 0.25}, {20, 14, 8}, 16, 35.0, 0},
                      TinyCase{{0.75, 0.5, 0.5, 0.25}, {20}, 14, std::nullopt, 0},
                      TinyCase{{1.0, 0.5, 0.5, 0.5}, {18, 20, 12, 15}, 15, 32.0, 250},
                      TinyCase{{0.25, 0.25, 0.25, 0.25}, {20, 10}, 15, 30.0, 0}));

struct Refused {
    const char* name;
    CarrierList plan;
    PlacementOptions options;
    PlacementRefusalReason reason;
    const char* text;
};

std::vector<Refused> refusals()
{
    const CarrierList three = planOf({6001, 6002, 6003}, {1.0});
    // The band from 6000 to 6010 MHz without a raster, changed as given.
    const auto band = [](const std::function<void(PlacementOptions&)>& change = {}) {
        PlacementOptions options = bandOf(6000, 6010, 0);
        if (change)
            change(options);
        return options;
    };
    const auto locked = [](std::vector<int> fNumbers) {
        return [fNumbers](PlacementOptions& o) { o.lockedFNumbers = fNumbers; };
    };
    using Reason = PlacementRefusalReason;
    return {
        {"empty plan", CarrierList(), band(), Reason::nothingToPlace, "no carriers"},
        {"one carrier", planOf({6001}, {1.0}), band(), Reason::nothingToPlace, "one carrier"},
        {"wider than the band", planOf({6001, 6005}, {1.0, 12.0}), band(),
         Reason::carrierWiderThanBand, "F2 (C2) is 12 MHz wide"},
        {"raster coarser than the band", three, bandOf(6000, 6010, 20000),
         Reason::rasterCoarserThanBand, "20000 kHz"},
        {"no raster centre inside", planOf({6001, 6002, 6003}, {0.5}), bandOf(6000.2, 6001.1, 900),
         Reason::rasterCoarserThanBand, "900 kHz raster"},
        {"no room", planOf({6001, 6002, 6003}, {4.0}), band(), Reason::noRoom, "12 MHz together"},
        {"every carrier locked", three, band(locked({1, 2, 3})), Reason::nothingToPlace, "Every"},
        {"no room with the spacing", three, band([](auto& o) {
             o.bandHighMhz = 6004;
             o.spacingKhz = 600;
         }),
         Reason::noRoom, "600 kHz"},
        {"forbidden ranges leave no room", three, band([](auto& o) {
             o.forbidden = {{6001, 6004}, {6005, 6011}};
         }),
         Reason::noRoom, "3 MHz together"},
        {"fits nowhere", three, band([](auto& o) {
             o.forbidden = {{6000.5, 6009.5}};
         }),
         Reason::noRoom, "fits nowhere"},
        {"no room beside a lock", planOf({6001.5, 6002, 6003, 6004}, {1.0}), band([](auto& o) {
             o.bandHighMhz = 6003.5;
             o.lockedFNumbers = {1};
         }),
         Reason::noRoom, "3 MHz together"},
        {"locks overlap", planOf({6001, 6001.5, 6003}, {1.0}), band(locked({1, 2})),
         Reason::locksOverlap, "F1 (C1) and F2 (C2) overlap"},
        {"locks closer than the spacing", three, band([](auto& o) {
             o.lockedFNumbers = {2, 3};
             o.spacingKhz = 1;
         }),
         Reason::locksOverlap, "closer than the spacing (1 kHz)"},
        {"lock across the band edge", three, band([](auto& o) {
             o.bandLowMhz = 6001.2;
             o.lockedFNumbers = {1};
         }),
         Reason::lockedOutsideBand, "F1"},
        {"band the wrong way round", three, bandOf(6010, 6000, 0), Reason::invalidOptions, "band"},
        {"no such carrier", three, band(locked({4})), Reason::invalidOptions, "no carrier F4"},
        {"negative raster", three, band([](auto& o) { o.rasterKhz = -1; }), Reason::invalidOptions,
         "raster"},
        {"no effort", three, band([](auto& o) { o.effort = 0; }), Reason::invalidOptions, "effort"},
    };
}

void PrintTo(const Refused& refused, std::ostream* out)
{
    *out << refused.name;
}

class Refusals : public ::testing::TestWithParam<Refused> {};

TEST_P(Refusals, NameTheReasonAndChangeNothing)
{
    const Refused& refused = GetParam();
    const PlacementResult result = placeCarriers(refused.plan, refused.options);
    ASSERT_TRUE(result.refusal) << refused.name;
    EXPECT_EQ(result.refusal->reason, refused.reason) << result.refusal->text;
    EXPECT_NE(result.refusal->text.find(refused.text), std::string::npos) << result.refusal->text;
    EXPECT_EQ(sortedCentres(result.plan), sortedCentres(refused.plan));
    EXPECT_TRUE(result.moved.empty());
    const std::optional<PlacementRefusal> checked = checkPlacement(refused.plan, refused.options);
    ASSERT_TRUE(checked);
    EXPECT_EQ(checked->text, result.refusal->text);
}

INSTANTIATE_TEST_SUITE_P(Cases, Refusals, ::testing::ValuesIn(refusals()),
                         [](const ::testing::TestParamInfo<Refused>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// A transponder of mixed carriers with spacing, a forbidden range, locks and a raster.
CarrierList mixedPlan(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    CarrierList plan;
    plan.viewStartMhz = 11700;
    plan.viewStopMhz = 11736;
    double edge = 11700;
    for (int i = 0; i < count; ++i) {
        Carrier carrier;
        const double symbolRateKsps = 250 * std::round(1 + 10 * unit(random));
        carrier.setFixedSymbolRate(0, symbolRateKsps, 5 + std::round(10 * unit(random)), 1.2);
        carrier.centreFrequencyMhz =
            0.125 * std::ceil((edge + 0.15 + carrier.occupiedBandwidthMhz / 2) / 0.125);
        edge = carrier.centreFrequencyMhz + carrier.occupiedBandwidthMhz / 2;
        carrier.label = "M" + std::to_string(i + 1);
        plan.append(carrier);
    }
    return plan;
}

TEST(Placement, SameSeedSameResultOnAnyNumberOfThreadsAndNeverWorse)
{
    const CarrierList plan = mixedPlan(3, 10);
    PlacementOptions options = defaultPlacementOptions(plan);
    options.rasterKhz = 125;
    options.spacingKhz = 100;
    options.forbidden = {{11730, 11731}};
    options.lockedFNumbers = {2, 7};
    options.ip3Dbw = 35;
    options.guardKhz = 50;
    options.effort = 0.05;
    options.seed = 42;
    options.threadCount = 1;
    const PlacementResult single = placedWithin(plan, options);
    options.threadCount = 3;
    const PlacementResult several = placedWithin(plan, options);
    EXPECT_EQ(sortedCentres(single.plan), sortedCentres(several.plan));
    EXPECT_EQ(single.evaluations, several.evaluations);
    options.effort = 0.01;
    EXPECT_LT(placedWithin(plan, options).evaluations, single.evaluations / 2) << "effort";
    EXPECT_GE(comparePlacementScores(placementScoreOf(single.after),
                                     placementScoreOf(single.before), true),
              0);
    EXPECT_FALSE(single.moved.empty());

    // Placed again, the result cannot improve on itself by chance alone: it stays.
    const PlacementResult again = placedWithin(single.plan, options);
    EXPECT_GE(
        comparePlacementScores(placementScoreOf(again.after), placementScoreOf(single.after), true),
        0);
    if (again.moved.empty()) {
        EXPECT_EQ(sortedCentres(again.plan), sortedCentres(single.plan));
    }
}

// Levels far apart, spectral lines, coincident and unrated carriers, a wide guard: every
// constraint kept and every figure finite.
TEST(Placement, HostilePlansGiveSoundProposals)
{
    CarrierList plan = planOf({6001, 6001, 6003, 6007, 6007}, {0.0, 1.5, 0.0, 2.0, 0.25},
                              {1e12, -999, 20, -1e12, 35});
    for (const double guardKhz : {0.0, 1e6}) {
        PlacementOptions options = bandOf(6000, 6012, guardKhz > 0 ? 0 : 250);
        options.ip3Dbw = -1000;
        options.guardKhz = guardKhz;
        options.effort = 0.02;
        const PlacementResult result = placedWithin(plan, options);
        for (const IntermodAnalysis* analysis : {&result.before, &result.after}) {
            for (const CarrierIntermod& carrier : analysis->carriers)
                EXPECT_TRUE(std::isfinite(carrier.cimDb.value_or(0.0)));
        }
    }
}

// Cancelled before the start or while searching, nothing moves; otherwise the progress rises
// to the whole.
TEST(Placement, CancelledBeforeOrWhileSearchingAndProgressOtherwise)
{
    const CarrierList plan = mixedPlan(7, 12);
    PlacementOptions options = defaultPlacementOptions(plan);
    options.effort = 0.02;
    std::atomic<bool> cancel{true};
    options.cancel = &cancel;
    EXPECT_TRUE(placeCarriers(plan, options).cancelled);
    cancel = false;
    std::vector<double> shares;
    options.progress = [&shares](double share) { shares.push_back(share); };
    EXPECT_FALSE(placeCarriers(plan, options).cancelled);
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);

    options.effort = 5;
    options.progress = [&cancel](double) { cancel = true; };
    const PlacementResult stopped = placeCarriers(plan, options);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.moved.empty());
    EXPECT_EQ(sortedCentres(stopped.plan), sortedCentres(plan));
}

} // namespace
} // namespace orvane
