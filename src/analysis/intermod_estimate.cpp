#include "analysis/anti_diagonal.h"
#include "analysis/intermod_sweep.h"

#include <algorithm>

namespace orvane::intermod {

std::vector<double> estimatedEvaluations(const SweepPlan& plan, const std::atomic<bool>* cancel)
{
    // An even sample of anti-diagonals, of subtracted carriers on each and of victims for each
    // (all of them in small plans), scaled up; the anti-diagonals in between are taken as their
    // neighbours. The estimate guides a budget and the split into chunks: a few percent do not
    // matter, a few seconds would.
    constexpr std::size_t diagonalsCounted = 128;
    constexpr std::size_t subtractedCounted = 256;
    constexpr std::size_t victimsCounted = 16;
    const std::size_t count = antiDiagonalCount(plan);
    std::vector<double> work(count, 0.0);
    if (count == 0)
        return work;
    AntiDiagonal pairs(plan);
    std::vector<Window> windows(static_cast<std::size_t>(plan.reachClasses));
    const auto stepFor = [](std::size_t range, std::size_t wanted) {
        return std::max<std::size_t>(1, range / wanted);
    };
    std::vector<std::size_t> counted;
    for (std::size_t diagonal = 0; diagonal < count; diagonal += stepFor(count, diagonalsCounted))
        counted.push_back(diagonal);
    if (counted.back() != count - 1)
        counted.push_back(count - 1);
    for (const std::size_t diagonal : counted) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        if (!pairs.build(diagonal))
            continue;
        std::size_t from = 0;
        std::size_t to = 0;
        pairs.subtractedRange(from, to);
        const std::size_t zStep = stepFor(to - from, subtractedCounted);
        double evaluations = 0.0;
        for (std::size_t z = from; z < to; z += zStep) {
            std::fill(windows.begin(), windows.end(), Window());
            std::size_t begin = 0;
            std::size_t end = 0;
            pairs.victimRange(z, begin, end);
            const std::size_t vStep = stepFor(end - begin, victimsCounted);
            // Each subtracted carrier costs a little of its own, whatever it meets; then each
            // run the sweep checks for a victim.
            double runs = 1.0;
            for (std::size_t v = begin; v < end; v += vStep) {
                const double landingMhz = plan.carriers.centreMhz[v] + plan.carriers.centreMhz[z];
                for (std::size_t group = 0; group < windows.size(); ++group) {
                    Window& window = windows[group];
                    moveWindow(pairs.groups()[group], landingMhz, pairs.runDistance(group, z, v),
                               window);
                    runs +=
                        static_cast<double>(window.end - window.begin) * static_cast<double>(vStep);
                }
            }
            evaluations += runs * static_cast<double>(zStep);
        }
        work[diagonal] = evaluations;
    }
    for (std::size_t k = 0; k + 1 < counted.size(); ++k) {
        const std::size_t from = counted[k];
        const std::size_t to = counted[k + 1];
        for (std::size_t diagonal = from + 1; diagonal < to; ++diagonal) {
            const double along =
                static_cast<double>(diagonal - from) / static_cast<double>(to - from);
            work[diagonal] = work[from] + along * (work[to] - work[from]);
        }
    }
    return work;
}

} // namespace orvane::intermod
