#include "amplifier/amplifier_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace orvane {
namespace {

AmplifierModel salehModel(SalehParameters parameters = {})
{
    AmplifierModel model;
    model.saleh = parameters;
    return model;
}

TEST(AmplifierCurve, SalehIsTheNormalisedPublishedFitWhateverItsGain)
{
    // Saleh's own form A(x) = aa x / (1 + ba x^2) peaks at x = 1 / sqrt(ba); scaled so that
    // the peak is input 1 and output 1, aa drops out and the phase is taken at the same x.
    const SalehParameters own{5.0, 0.5, 1.0, 2.0};
    const AmplifierCurve curve(salehModel(own));
    const double peak = 1.0 / std::sqrt(own.amplitudeBeta);
    const double peakOutput = own.amplitudeAlpha * peak / 2.0;
    for (const double r : {0.01, 0.3, 1.0, 1.7, 4.0}) {
        const double x = r * peak;
        EXPECT_NEAR(curve.outputAmplitude(r),
                    own.amplitudeAlpha * x / (1 + own.amplitudeBeta * x * x) / peakOutput, 1e-12);
        EXPECT_NEAR(curve.phaseShiftRad(r), own.phaseAlpha * x * x / (1 + own.phaseBeta * x * x),
                    1e-12);
    }
    EXPECT_NEAR(curve.smallSignalPowerGain(), 4.0, 1e-12);
}

TEST(AmplifierCurve, RappMeetsSaturationSmoothlyWithoutPhase)
{
    for (const double p : {0.5, 2.0, 10.0}) {
        AmplifierModel model;
        model.kind = AmplifierKind::rapp;
        model.rappSmoothness = p;
        const AmplifierCurve curve(model);
        EXPECT_NEAR(curve.outputAmplitude(1.0), std::pow(2.0, -0.5 / p), 1e-12) << p;
        EXPECT_NEAR(curve.outputAmplitude(1e3), 1.0, 2e-3) << p;
        EXPECT_NEAR(curve.outputAmplitude(1e-9) / 1e-9, 1.0, 1e-8) << p;
        EXPECT_EQ(curve.phaseShiftRad(0.8), 0.0);
    }
}

TEST(AmplifierCurve, TableFollowsItsPointsMonotoneLinearBelowAndHeldAbove)
{
    AmplifierModel model;
    model.kind = AmplifierKind::table;
    model.table.points = {{-20, -14, 2}, {-10, -5, 8}, {-5, -1.5, 20}, {0, 0, 40}, {3, -0.5, 45}};
    ASSERT_FALSE(amplifierModelProblem(model));
    const AmplifierCurve curve(model);
    const auto outputDb = [&](double inputDb) {
        return 20 * std::log10(curve.outputAmplitude(std::pow(10.0, inputDb / 20)));
    };
    const auto phaseDeg = [&](double inputDb) {
        return curve.phaseShiftRad(std::pow(10.0, inputDb / 20)) * 180 / 3.14159265358979;
    };
    for (const AmplifierTablePoint& point : model.table.points) {
        EXPECT_NEAR(outputDb(point.inputDb), point.outputDb, 1e-9);
        EXPECT_NEAR(phaseDeg(point.inputDb), point.phaseDeg, 1e-9);
    }
    // Below the first point the gain of 6 dB holds; beyond the last point its output holds.
    EXPECT_NEAR(outputDb(-40), -34, 1e-9);
    EXPECT_NEAR(phaseDeg(-40), 2, 1e-9);
    EXPECT_NEAR(outputDb(12), -0.5, 1e-9);
    // No overshoot: rising stretches rise, the peak at 0 dB stays the highest output.
    double previous = outputDb(-20);
    for (double inputDb = -19.9; inputDb <= 0.0; inputDb += 0.1) {
        EXPECT_GT(outputDb(inputDb), previous) << inputDb;
        previous = outputDb(inputDb);
    }
    for (double inputDb = 0.1; inputDb < 3.0; inputDb += 0.1)
        EXPECT_LE(outputDb(inputDb), 1e-12) << inputDb;
}

struct ModelCase {
    const char* name;
    AmplifierModel model;
    const char* problem; // part of the message; null for a usable model
};

class ModelProblems : public ::testing::TestWithParam<ModelCase> {};

TEST_P(ModelProblems, NameWhatIsWrong)
{
    const ModelCase& c = GetParam();
    const std::optional<std::string> problem = amplifierModelProblem(c.model);
    if (c.problem == nullptr) {
        EXPECT_FALSE(problem) << *problem;
        return;
    }
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
}

AmplifierModel modelOf(AmplifierKind kind, double value)
{
    AmplifierModel model;
    model.kind = kind;
    model.rappSmoothness = value;
    model.ip3Dbw = value;
    model.saturatedOutputDbw = kind == AmplifierKind::linear ? value : 0.0;
    return model;
}

AmplifierModel tableOf(std::vector<AmplifierTablePoint> points)
{
    AmplifierModel model = modelOf(AmplifierKind::table, 0.0);
    model.table.points = std::move(points);
    return model;
}

INSTANTIATE_TEST_SUITE_P(
    Models, ModelProblems,
    ::testing::Values(
        ModelCase{"published", salehModel(), nullptr},
        ModelCase{"flatPhase", salehModel({1, 1, 0, 0}), nullptr},
        ModelCase{"zeroBeta", salehModel({2, 0, 4, 9}), "amplitude parameters"},
        ModelCase{"negativeAlpha", salehModel({-2, 1, 4, 9}), "amplitude parameters"},
        ModelCase{"negativePhaseBeta", salehModel({2, 1, 4, -1}), "phase beta"},
        ModelCase{"nanPhase", salehModel({2, 1, NAN, 9}), "finite"},
        ModelCase{"rappZero", modelOf(AmplifierKind::rapp, 0.0), "smoothness"},
        ModelCase{"rappInfinite", modelOf(AmplifierKind::rapp, INFINITY), "smoothness"},
        ModelCase{"ip3Nan", modelOf(AmplifierKind::ip3, NAN), "intercept"},
        ModelCase{"saturationInfinite", modelOf(AmplifierKind::linear, -INFINITY), "saturated"},
        ModelCase{"emptyTable", modelOf(AmplifierKind::table, 0.0), "two points"},
        ModelCase{"tableNan", tableOf({{-10, -4, 0}, {0, NAN, 0}}), "Point 2"}),
    [](const ::testing::TestParamInfo<ModelCase>& info) { return std::string(info.param.name); });

struct TableCase {
    const char* name;
    const char* text;
    const char* problem; // part of the message; null when the table reads
    double middlePhaseDeg = 8.0;
};

class TableReading : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableReading, TakesCurvesAndNamesTheLineThatIsNot)
{
    const TableCase& c = GetParam();
    const AmplifierTableRead read = readAmplifierTable(c.text);
    if (c.problem != nullptr) {
        EXPECT_FALSE(read.table);
        EXPECT_NE(read.problem.find(c.problem), std::string::npos) << read.problem;
        return;
    }
    ASSERT_TRUE(read.table) << read.problem;
    const std::vector<AmplifierTablePoint>& points = read.table->points;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].inputDb, -20.0);
    EXPECT_EQ(points[0].outputDb, -14.5);
    EXPECT_EQ(points[2].inputDb, 0.0);
    EXPECT_EQ(points[2].phaseDeg, 40.0);
    EXPECT_EQ(points[1].phaseDeg, c.middlePhaseDeg) << "two columns: no phase shift";
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableReading,
    ::testing::Values(
        TableCase{"headed", "ibo_db,obo_db,phase_deg\r\n-20,-14.5,2\r\n-10,-5,8\r\n0,0,40\r\n",
                  nullptr},
        TableCase{"falling", "# measured 2021\n0, 0, 40\n\n -10 , -5 \n-20,-14.5,2", nullptr, 0.0},
        TableCase{"notMonotone", "-20,-14.5,2\n-10,-5,8\n-15,-9,5\n", "Line 3: the input"},
        TableCase{"repeated", "in,out,phase\n-20,-14.5,2\n-20,-5,8\n", "Line 3: the input"},
        TableCase{"word", "-20,-14.5,2\n-10,minus five,8\n", "Line 2: 'minus five' is not"},
        TableCase{"decimalComma", "-20;-14,5;2\n-10;-5;8\n", "Line 1: '-20;-14' is not"},
        TableCase{"fourColumns", "-20,-14.5,2,1\n", "Line 1: a point needs"},
        TableCase{"infinite", "-20,-14.5,2\n-10,inf,8\n", "Line 2: 'inf'"},
        TableCase{"overflowingGain", "-203085,8\n-30,-9,5\n", "Line 1: a level lies beyond"},
        TableCase{"onePoint", "in,out\n0,0\n", "at least two points"}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane
