#include "fuzz_checks.h"

#include "analysis/intermod_analysis.h"
#include "analysis/intermod_input.h"
#include "model/number_text.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace orvane::fuzz {

namespace {

// The input's bytes one by one; zeros once they run out.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : rest_(bytes) {}
    unsigned next()
    {
        if (rest_.empty())
            return 0;
        const unsigned value = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return value;
    }
    unsigned next16() { return next() << 8 | next(); }
    bool empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// A plan and options from the bytes: carriers on a decimal raster (many products touch a band
// exactly, many pairs coincide) or anywhere near it, of every mode, with and without levels,
// some of them extreme; an intercept point and a guard, now and then out of range.
struct Case {
    CarrierList plan;
    IntermodOptions options;
};

Case caseOf(std::string_view input)
{
    Bytes bytes(input);
    Case made;
    const unsigned count = bytes.next() % 24;
    const unsigned flags = bytes.next();
    const double baseMhz = 1000.0 + bytes.next16() * 0.1 + bytes.next() * 0.001;
    const double stepMhz = (1 + bytes.next16() % 4000) * 0.001;
    for (unsigned i = 0; i < count && !bytes.empty(); ++i) {
        const unsigned place = bytes.next16();
        const double centreMhz =
            (flags & 4) != 0 ? baseMhz + (place % 64) * stepMhz : baseMhz + place * 0.0007;
        // Widths in steps too, now and then none at all: a spectral line.
        const double widthMhz = (bytes.next() % 8) * stepMhz * 0.5;
        const unsigned level = bytes.next();
        const double powerDbw = level == 255   ? -999.0
                                : level == 254 ? 5000.0
                                : level == 253 ? -900.0
                                               : static_cast<double>(level % 80) - 20.0;
        const double rolloff = 1.0 + (bytes.next() % 60) * 0.01;
        Carrier carrier;
        switch (bytes.next() % 3) {
        case 0:
            carrier.setFixedBandwidth(centreMhz, widthMhz, powerDbw, rolloff);
            break;
        case 1:
            carrier.setFecFromDataRate(centreMhz, widthMhz * 1000.0 / rolloff, 0.0, 4, 0.5, 1.0,
                                       1.0, powerDbw, rolloff);
            break;
        default:
            carrier.setSpectralFromDataRate(centreMhz, widthMhz * 1500.0 / rolloff, 1.5, 4, 0.5,
                                            powerDbw, rolloff);
            break;
        }
        made.plan.append(carrier);
    }
    if ((flags & 1) != 0)
        made.options.ip3Dbw = (static_cast<double>(bytes.next16()) - 32768.0) / 32.0;
    made.options.guardKhz = (flags & 2) != 0 ? bytes.next16() * 16.0 : 0.0;
    if ((flags & 8) != 0)
        made.options.density =
            DensityRange{baseMhz - bytes.next() * stepMhz, baseMhz + 64 * stepMhz,
                         1 + static_cast<int>(bytes.next() % 100)};
    made.options.maxEvaluations.reset();
    return made;
}

bool finite(const std::optional<double>& value)
{
    return !value || std::isfinite(*value);
}

// The analysis in text, every number to the last bit.
std::string described(const IntermodAnalysis& analysis)
{
    const auto number = [](const std::optional<double>& value) {
        return value ? formatShortest(*value) : std::string("-");
    };
    std::string text = number(analysis.minCimDb) + " " + std::to_string(analysis.productsHitting) +
                       (analysis.minCimComplete ? (*analysis.minCimComplete ? " y" : " n") : " ?");
    for (const CarrierIntermod& c : analysis.carriers) {
        text += "\n" + std::to_string(c.twoToneHits) + "/" + std::to_string(c.threeToneHits) + " " +
                number(c.imPowerDbw) + " " + number(c.cimDb) + " " +
                (c.complete ? (*c.complete ? "y" : "n") : "?");
        if (c.strongest)
            text += " " + c.strongest->label + " " + formatShortest(c.strongest->frequencyMhz) +
                    " " + number(c.strongest->powerDbw);
    }
    for (const std::optional<double>& bin : analysis.density.binDbwPerKhz)
        text += " " + number(bin);
    return text;
}

std::string checkOne(const IntermodAnalysis& analysis, const Case& made)
{
    const std::optional<std::string> problem =
        intermodInputProblem(made.options.ip3Dbw, made.options.guardKhz);
    if (analysis.refusal.has_value() != problem.has_value())
        return "refused: " + analysis.refusal.value_or("no") +
               "; input problem: " + problem.value_or("none");
    if (analysis.refusal)
        return std::string();
    if (analysis.cancelled ||
        analysis.carriers.size() != static_cast<std::size_t>(made.plan.count()))
        return "no result for every carrier";
    if (!finite(analysis.minCimDb) ||
        analysis.minCimComplete.has_value() != analysis.minCimDb.has_value())
        return "the lowest C/IM or whether it is complete";
    if (analysis.productsHitting < 0 || analysis.productsHitting > analysis.products)
        return "products hitting: " + std::to_string(analysis.productsHitting);
    for (const CarrierIntermod& c : analysis.carriers) {
        const std::string owner = "F" + std::to_string(c.fNumber);
        if (c.twoToneHits < 0 || c.threeToneHits < 0)
            return owner + ": negative hits";
        if (!finite(c.imPowerDbw) || !finite(c.cimDb) ||
            (c.strongest &&
             (!std::isfinite(c.strongest->frequencyMhz) || !finite(c.strongest->powerDbw))))
            return owner + ": a number not finite";
        if (c.complete.has_value() != made.options.ip3Dbw.has_value())
            return owner + ": complete without an intercept point, or none with one";
        if ((c.twoToneHits + c.threeToneHits > 0 || c.imPowerDbw) != c.strongest.has_value())
            return owner + ": a strongest product without anything reaching it, or none with";
        if (c.strongest && c.strongest->powerDbw && c.imPowerDbw &&
            *c.strongest->powerDbw > *c.imPowerDbw + 1e-9 * (1.0 + std::fabs(*c.imPowerDbw)))
            return owner + ": the strongest product carries more than all of them";
    }
    for (const std::optional<double>& bin : analysis.density.binDbwPerKhz)
        if (!finite(bin))
            return "a density bin not finite";
    return std::string();
}

} // namespace

std::string checkAnalysis(std::string_view bytes)
{
    Case made = caseOf(bytes);
    made.options.threadCount = 1;
    const IntermodAnalysis single = analyseIntermod(made.plan, made.options);
    if (std::string problem = checkOne(single, made); !problem.empty())
        return problem;
    made.options.threadCount = 3;
    const IntermodAnalysis several = analyseIntermod(made.plan, made.options);
    if (!single.refusal && described(single) != described(several))
        return "one thread and three differ:\n" + described(single) + "\n---\n" +
               described(several);
    return std::string();
}

} // namespace orvane::fuzz
