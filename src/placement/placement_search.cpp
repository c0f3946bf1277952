#include "placement/placement_search.h"

#include "placement/placement_evaluator.h"
#include "placement/placement_random.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace orvane::placement {

namespace {

constexpr double absent = std::numeric_limits<double>::quiet_NaN();
// Positions weighed when a carrier is put back, before refining around the best of them.
constexpr double mostCandidates = 64.0;
// A gain in C/IM smaller than this does not reset the count of fruitless kicks.
constexpr double worthwhileDb = 0.01;
// Work told to the caller at a time, as a share of the run's budget.
constexpr long long reportsPerRun = 200;

bool isIdeal(const PlacementScore& score)
{
    return score.productsHitting == 0 && !score.lowestCimDb;
}

class Search {
public:
    Search(const Problem& problem, const RunSettings& settings)
        : problem_(problem), settings_(settings),
          evaluator_(carrierShapes(problem.carriers, problem.ip3Dbw, problem.guardKhz),
                     problem.ip3Dbw.has_value(), settings.cancel),
          random_(settings.seed, static_cast<std::uint64_t>(settings.runIndex)),
          levelled_(problem.ip3Dbw.has_value()), centres_(problem.carriers.size(), absent),
          reportEvery_(std::max(1LL, settings.workBudget / reportsPerRun))
    {
    }

    RunResult run()
    {
        for (std::size_t i = 0; i < problem_.carriers.size(); ++i) {
            if (problem_.locked[i])
                put(static_cast<int>(i), problem_.carriers[i].centreFrequencyMhz);
        }
        if (settings_.runIndex == 1 && problem_.inputMeetsConstraints) {
            for (const int i : problem_.movable)
                put(i, problem_.carriers[static_cast<std::size_t>(i)].centreFrequencyMhz);
        } else {
            construct();
        }
        if (!cancelled_ && !abandoned_)
            improve();
        if (settings_.workDone)
            settings_.workDone(std::max(settings_.workBudget, work_) - reportedWork_);
        RunResult result;
        result.centresMhz = bestCentres_;
        result.score = best_;
        result.evaluations = evaluations_;
        result.abandoned = abandoned_;
        return result;
    }

private:
    struct Choice {
        double centreMhz = 0.0;
        std::optional<long long> position; // on the grid, for refining around it
        PlacementScore score;
    };

    double halfWidth(int carrier) const
    {
        return problem_.halfWidthMhz[static_cast<std::size_t>(carrier)];
    }

    bool stopNow()
    {
        if (!cancelled_ && settings_.cancel && settings_.cancel->load(std::memory_order_relaxed))
            cancelled_ = true;
        return cancelled_;
    }

    void spend()
    {
        work_ = evaluator_.work();
        ++evaluations_;
        if (work_ >= settings_.workBudget)
            exhausted_ = true;
        if (work_ - reportedWork_ >= reportEvery_ && settings_.workDone) {
            settings_.workDone(work_ - reportedWork_);
            reportedWork_ = work_;
        }
    }

    void put(int carrier, double centreMhz)
    {
        evaluator_.insert(carrier, centreMhz);
        centres_[static_cast<std::size_t>(carrier)] = centreMhz;
    }

    void take(int carrier)
    {
        evaluator_.remove(carrier);
        centres_[static_cast<std::size_t>(carrier)] = absent;
    }

    int randomMovable() { return problem_.movable[random_.below(problem_.movable.size())]; }

    // Whether the carriers still to place fit once carrier is at centreMhz.
    bool leavesRoom(const std::vector<Interval>& gaps, int carrier, double centreMhz,
                    const std::vector<double>& stillToPlace) const
    {
        if (stillToPlace.empty())
            return true;
        std::vector<Interval> left = gaps;
        occupy(left, centreMhz, halfWidth(carrier), problem_.spacingMhz);
        return pack(std::move(left), stillToPlace, problem_.grid, problem_.spacingMhz, false,
                    nullptr);
    }

    static bool inRanges(const std::vector<PositionRange>& ranges, long long position)
    {
        for (const PositionRange& range : ranges) {
            if (position >= range.first && position <= range.last)
                return true;
        }
        return false;
    }

    // Puts an absent carrier where the score is best among the free positions (and its
    // previous centre), leaving room for the carriers still to place. Ties go to the lowest
    // position or to a random one. False when it fits nowhere or the run was cancelled.
    bool placeBest(int carrier, const std::vector<int>& after, bool lowestTie, double previousMhz)
    {
        const std::vector<Interval> gaps = gapsBeside(problem_, centres_, carrier);
        const std::vector<PositionRange> ranges =
            positionsIn(gaps, halfWidth(carrier), problem_.grid);
        if (ranges.empty())
            return false;
        std::vector<double> stillToPlace;
        for (const int other : after)
            stillToPlace.push_back(halfWidth(other));
        std::sort(stillToPlace.begin(), stillToPlace.end(), std::greater<double>());

        double total = 0.0;
        for (const PositionRange& range : ranges)
            total += static_cast<double>(range.last - range.first) + 1.0;
        const long long stride = static_cast<long long>(std::ceil(total / mostCandidates));
        std::vector<Choice> candidates;
        if (!std::isnan(previousMhz) && fitsIn(gaps, previousMhz, halfWidth(carrier)))
            candidates.push_back({previousMhz, std::nullopt, {}});
        const long long offset =
            stride > 1 ? static_cast<long long>(random_.below(static_cast<std::uint64_t>(stride)))
                       : 0;
        for (const PositionRange& range : ranges) {
            candidates.push_back({problem_.grid.centreMhz(range.first), range.first, {}});
            for (long long p = range.first + offset; p <= range.last; p += stride) {
                if (p != range.first && p != range.last)
                    candidates.push_back({problem_.grid.centreMhz(p), p, {}});
            }
            if (range.last != range.first)
                candidates.push_back({problem_.grid.centreMhz(range.last), range.last, {}});
        }

        std::optional<Choice> best;
        long long ties = 0;
        // Whether the carriers still to place fit is asked only of a place about to become
        // the best: that is rare, and the packing can cost as much as weighing.
        const auto weigh = [&](Choice candidate) {
            if (exhausted_) {
                // Out of budget: the first place that keeps the constraints will do.
                if (!best && leavesRoom(gaps, carrier, candidate.centreMhz, stillToPlace))
                    best = candidate;
                return;
            }
            spend();
            const std::optional<PlacementScore> score =
                evaluator_.scoreWith(carrier, candidate.centreMhz, best ? &best->score : nullptr);
            if (!score)
                return;
            candidate.score = *score;
            const int compared = best ? comparePlacementScores(*score, best->score, levelled_) : 1;
            if (compared < 0)
                return;
            if (compared == 0 &&
                (lowestTie || random_.below(static_cast<std::uint64_t>(++ties)) != 0))
                return;
            if (!leavesRoom(gaps, carrier, candidate.centreMhz, stillToPlace))
                return;
            if (compared > 0)
                ties = 1;
            best = candidate;
        };
        for (const Choice& candidate : candidates) {
            if (stopNow())
                return false;
            weigh(candidate);
        }
        // Between the positions weighed: halve the step around the best one.
        for (long long step = stride / 2; best && best->position && step >= 1 && !exhausted_;
             step /= 2) {
            const long long centre = *best->position;
            for (const long long p : {centre - step, centre + step}) {
                if (stopNow())
                    return false;
                if (inRanges(ranges, p))
                    weigh({problem_.grid.centreMhz(p), p, {}});
            }
        }
        if (!best)
            return false;
        put(carrier, best->centreMhz);
        return true;
    }

    // Widest first, each where the score is best; run 0 takes the lowest of equal places
    // (for equal carriers that is the Mian-Chowla ruler), the others random ones and a
    // shaken order.
    void construct()
    {
        std::vector<int> order = problem_.movable;
        std::vector<double> key(problem_.carriers.size(), 0.0);
        for (const int i : order)
            key[static_cast<std::size_t>(i)] =
                halfWidth(i) * (settings_.runIndex == 0 ? 1.0 : 1.0 + 0.3 * random_.unit());
        std::stable_sort(order.begin(), order.end(), [&key](int a, int b) {
            return key[static_cast<std::size_t>(a)] > key[static_cast<std::size_t>(b)];
        });
        for (std::size_t k = 0; k < order.size(); ++k) {
            // A run that cannot afford its start leaves the result to run 0, which always
            // builds one.
            if (exhausted_ && settings_.runIndex > 0) {
                abandoned_ = true;
                return;
            }
            const std::vector<int> after(order.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                                         order.end());
            if (!placeBest(order[k], after, settings_.runIndex == 0, absent)) {
                if (!cancelled_)
                    placeAt(problem_.packedCentresMhz);
                return;
            }
        }
    }

    // Every carrier to move at these centres.
    void placeAt(const std::vector<double>& centresMhz)
    {
        for (const int i : problem_.movable) {
            if (evaluator_.isPresent(i))
                take(i);
        }
        for (const int i : problem_.movable)
            put(i, centresMhz[static_cast<std::size_t>(i)]);
    }

    // Present carriers that suffer, the worst first: by C/IM (with an intercept point), then
    // by hits.
    std::vector<int> suffering() const
    {
        std::vector<int> carriers;
        for (const int carrier : evaluator_.presentByCentre()) {
            if (evaluator_.cimDb(carrier) ||
                evaluator_.twoToneHits(carrier) + evaluator_.threeToneHits(carrier) > 0)
                carriers.push_back(carrier);
        }
        const auto hits = [this](int c) {
            return evaluator_.twoToneHits(c) + evaluator_.threeToneHits(c);
        };
        std::sort(carriers.begin(), carriers.end(), [&](int a, int b) {
            const double cimA =
                evaluator_.cimDb(a).value_or(std::numeric_limits<double>::infinity());
            const double cimB =
                evaluator_.cimDb(b).value_or(std::numeric_limits<double>::infinity());
            if (cimA != cimB)
                return cimA < cimB;
            if (hits(a) != hits(b))
                return hits(a) > hits(b);
            return a < b;
        });
        return carriers;
    }

    // A carrier to move that makes the worst product on victim, or a random one.
    int culprit(int victim)
    {
        std::vector<int> factors;
        if (const std::optional<std::array<int, 3>> product = evaluator_.worstProductOn(victim)) {
            for (const int factor : *product) {
                if (!problem_.locked[static_cast<std::size_t>(factor)] &&
                    std::find(factors.begin(), factors.end(), factor) == factors.end())
                    factors.push_back(factor);
            }
        }
        return factors.empty() ? randomMovable() : factors[random_.below(factors.size())];
    }

    // The carriers to take out: one that suffers or one that does harm or any, sometimes with
    // a neighbour (so that two can change places) or another.
    std::vector<int> chooseRuined()
    {
        const std::vector<int> victims = suffering();
        int first = 0;
        const double draw = random_.unit();
        if (victims.empty() || draw >= 0.8) {
            first = randomMovable();
        } else {
            const std::size_t top = std::min<std::size_t>(victims.size(), 4);
            const int victim = draw < 0.4
                                   ? victims[std::min(random_.below(top), random_.below(top))]
                                   : victims[random_.below(std::min<std::size_t>(top, 2))];
            first = draw < 0.4 && !problem_.locked[static_cast<std::size_t>(victim)]
                        ? victim
                        : culprit(victim);
        }
        std::vector<int> ruined{first};
        if (problem_.movable.size() > 1 && random_.chance(0.35)) {
            int second = randomMovable();
            if (random_.chance(0.5)) {
                // The nearest carrier to move above or below.
                const std::vector<int>& order = evaluator_.presentByCentre();
                const std::ptrdiff_t at =
                    std::find(order.begin(), order.end(), first) - order.begin();
                const int direction = random_.chance(0.5) ? 1 : -1;
                for (std::ptrdiff_t k = at + direction;
                     k >= 0 && k < static_cast<std::ptrdiff_t>(order.size()); k += direction) {
                    if (!problem_.locked[static_cast<std::size_t>(
                            order[static_cast<std::size_t>(k)])]) {
                        second = order[static_cast<std::size_t>(k)];
                        break;
                    }
                }
            }
            if (second != first)
                ruined.push_back(second);
        }
        return ruined;
    }

    void keepIfBest()
    {
        current_ = evaluator_.score();
        if (comparePlacementScores(current_, best_, levelled_) > 0) {
            // Only a gain worth showing (0.01 dB, or fewer products or hits) counts as progress
            // against stalling: C/IM creeps up by crumbs for a long time.
            PlacementScore raised = best_;
            if (raised.lowestCimDb)
                *raised.lowestCimDb += worthwhileDb;
            if (raised.secondLowestCimDb)
                *raised.secondLowestCimDb += worthwhileDb;
            if (comparePlacementScores(current_, raised, levelled_) > 0) {
                sinceBest_ = 0;
                fruitlessKicks_ = 0;
            }
            best_ = current_;
            bestCentres_ = centres_;
        }
    }

    // Shakes the plan when taking out and putting back has stalled: every other time from
    // the best plan so far, a quarter of the carriers to move go to random free places.
    void kick()
    {
        if (fruitlessKicks_ % 2 == 0)
            placeAt(bestCentres_);
        std::vector<int> shaken = problem_.movable;
        random_.shuffle(shaken);
        shaken.resize(std::min(shaken.size(), std::max<std::size_t>(2, shaken.size() / 4)));
        for (const int carrier : shaken)
            take(carrier);
        for (std::size_t k = 0; k < shaken.size(); ++k) {
            std::vector<double> stillToPlace;
            for (std::size_t j = k + 1; j < shaken.size(); ++j)
                stillToPlace.push_back(halfWidth(shaken[j]));
            std::sort(stillToPlace.begin(), stillToPlace.end(), std::greater<double>());
            const std::vector<Interval> gaps = gapsBeside(problem_, centres_, shaken[k]);
            const std::vector<PositionRange> ranges =
                positionsIn(gaps, halfWidth(shaken[k]), problem_.grid);
            double total = 0.0;
            for (const PositionRange& range : ranges)
                total += static_cast<double>(range.last - range.first) + 1.0;
            bool placed = false;
            for (int attempt = 0; attempt < 8 && !placed && total > 0.0; ++attempt) {
                double pick = std::floor(random_.unit() * total);
                for (const PositionRange& range : ranges) {
                    const double size = static_cast<double>(range.last - range.first) + 1.0;
                    if (pick < size) {
                        const double centreMhz =
                            problem_.grid.centreMhz(range.first + static_cast<long long>(pick));
                        if (leavesRoom(gaps, shaken[k], centreMhz, stillToPlace)) {
                            put(shaken[k], centreMhz);
                            placed = true;
                        }
                        break;
                    }
                    pick -= size;
                }
            }
            if (!placed &&
                !placeBest(shaken[k],
                           std::vector<int>(shaken.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                                            shaken.end()),
                           true, absent)) {
                placeAt(bestCentres_);
                break;
            }
        }
        keepIfBest();
    }

    void improve()
    {
        current_ = evaluator_.score();
        best_ = current_;
        bestCentres_ = centres_;
        const long long stallLimit = 20 + 2 * static_cast<long long>(problem_.movable.size());
        const int mostFruitlessKicks = static_cast<int>(std::ceil(20.0 * settings_.effort));
        while (!exhausted_ && !stopNow() && !isIdeal(best_)) {
            std::vector<int> ruined = chooseRuined();
            std::vector<double> previous;
            for (const int carrier : ruined) {
                previous.push_back(centreOf(carrier));
                take(carrier);
            }
            std::vector<std::size_t> order(ruined.size());
            for (std::size_t k = 0; k < order.size(); ++k)
                order[k] = k;
            random_.shuffle(order);
            bool placed = true;
            for (std::size_t k = 0; k < order.size() && placed; ++k) {
                std::vector<int> after;
                for (std::size_t j = k + 1; j < order.size(); ++j)
                    after.push_back(ruined[order[j]]);
                placed = placeBest(ruined[order[k]], after, false, previous[order[k]]);
            }
            if (cancelled_)
                return;
            const PlacementScore score = evaluator_.score();
            if (!placed || comparePlacementScores(score, current_, levelled_) < 0) {
                for (const int carrier : ruined) {
                    if (evaluator_.isPresent(carrier))
                        take(carrier);
                }
                for (std::size_t k = 0; k < ruined.size(); ++k)
                    put(ruined[k], previous[k]);
                ++sinceBest_;
            } else {
                ++sinceBest_;
                keepIfBest();
            }
            if (sinceBest_ >= stallLimit) {
                if (++fruitlessKicks_ > mostFruitlessKicks)
                    break;
                kick();
                sinceBest_ = 0;
            }
        }
    }

    double centreOf(int carrier) const { return centres_[static_cast<std::size_t>(carrier)]; }

    const Problem& problem_;
    RunSettings settings_;
    Evaluator evaluator_;
    RandomStream random_;
    bool levelled_;
    std::vector<double> centres_; // absent: NaN
    long long reportEvery_;
    long long work_ = 0;
    long long reportedWork_ = 0;
    long long evaluations_ = 0;
    bool cancelled_ = false;
    bool exhausted_ = false;
    bool abandoned_ = false;
    PlacementScore current_;
    PlacementScore best_;
    std::vector<double> bestCentres_;
    long long sinceBest_ = 0;
    int fruitlessKicks_ = 0;
};

} // namespace

RunResult runSearch(const Problem& problem, const RunSettings& settings)
{
    return Search(problem, settings).run();
}

} // namespace orvane::placement
