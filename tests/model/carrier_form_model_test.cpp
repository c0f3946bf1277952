#include "model/carrier_form_model.h"

#include "model/coding_tables.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace orvane {

namespace {

using F = FormField;
using Rewrites = std::vector<std::pair<F, std::string>>;

Rewrites rewritesOf(const FormUpdate& update)
{
    Rewrites found;
    for (const FormRewrite& rewrite : update.rewrites)
        found.emplace_back(rewrite.box, rewrite.text);
    return found;
}

// A form opened on carrier, edited as a user would.
class Form {
public:
    Form(const Carrier& carrier, CalcMode mode) : model(carrier, mode) {}
    Rewrites type(F box, const std::string& text) { return rewritesOf(model.typed(box, text)); }
    const std::string& operator[](F box) const { return model.text(box); }
    // 2048 kbps, QPSK, 3/4 and RS(204,188).
    void enterDvbSExample()
    {
        type(F::dataRate, "2048");
        model.fecChosen(6);
        model.reedSolomonTicked(true);
        type(F::rsN, "204");
        type(F::rsK, "188");
    }
    CarrierFormModel model;
};

Carrier fixedCarrier()
{
    Carrier carrier;
    carrier.calcMode = calcModeFixed;
    return carrier;
}

TEST(FixedForm, TheRateThatIsNotTheInputFollowsAndNothingElseIsRewritten)
{
    Form form(fixedCarrier(), calcModeFixed);
    EXPECT_EQ(form[F::symbolRate], "1000");
    EXPECT_EQ(form.type(F::bandwidth, "1"), (Rewrites{{F::symbolRate, "740.741"}}));
    EXPECT_EQ(form.type(F::rolloff, "20"), (Rewrites{{F::symbolRate, "833.333"}}));

    form.model.inputChosen(true);
    EXPECT_TRUE(form.model.enabled(F::symbolRate));
    EXPECT_FALSE(form.model.enabled(F::bandwidth));
    EXPECT_EQ(form.type(F::symbolRate, "2048"), (Rewrites{{F::bandwidth, "2.4576"}}));
    const FormAcceptance accepted = form.model.accept();
    ASSERT_FALSE(accepted.problem);
    Carrier expected;
    expected.setFixedSymbolRate(6000.0, 2048.0, 20.0, 1.2);
    EXPECT_EQ(accepted.carrier.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(accepted.carrier.occupiedBandwidthMhz, expected.occupiedBandwidthMhz);
}

TEST(FixedForm, CarrierBuiltFromASymbolRateShowsItThroughItsBandwidth)
{
    Carrier carrier;
    carrier.setFixedSymbolRate(6000.0, 2048.0, 20.0, 1.2);
    Form form(carrier, calcModeFixed);
    EXPECT_TRUE(form.model.symbolRateIsInput());
    EXPECT_EQ(form[F::symbolRate] + " " + form[F::bandwidth] + " " + form[F::rolloff],
              "2048 2.4576 20");
}

TEST(FixedForm, TextThatIsNotYetANumberIsLeftAlone)
{
    Form form(fixedCarrier(), calcModeFixed);
    EXPECT_EQ(form.type(F::bandwidth, ""), Rewrites{});
    EXPECT_EQ(form.type(F::bandwidth, "-"), Rewrites{});
    EXPECT_EQ(form.type(F::bandwidth, "-1."), (Rewrites{{F::symbolRate, "-740.741"}}));
    EXPECT_EQ(form[F::bandwidth], "-1.");
}

TEST(FecForm, DvbSExampleShowsRoundedRatesAndBuildsFromTheCode)
{
    Form form(Carrier{}, calcModeFec);
    EXPECT_EQ(form.type(F::dataRate, "2"),
              (Rewrites{{F::symbolRate, "2"}, {F::bandwidth, "0.0027"}}));
    EXPECT_EQ(form.type(F::dataRate, "2.0"), Rewrites{});
    form.enterDvbSExample();
    EXPECT_EQ(form[F::rsRatio] + " " + form[F::symbolRate] + " " + form[F::bandwidth],
              "1.085106 1481.531 2.0001");
    FormAcceptance accepted = form.model.accept();
    ASSERT_FALSE(accepted.problem);
    EXPECT_EQ(accepted.carrier.rsN, 204.0);
    EXPECT_NEAR(accepted.carrier.symbolRateKsps, 1481.5319, 1e-4) << "not the shown value";

    form.model.inputChosen(true);
    EXPECT_EQ(form.type(F::symbolRate, "1481.531"), (Rewrites{{F::dataRate, "2047.999"}}));
    accepted = form.model.accept();
    Carrier expected;
    expected.setFecFromSymbolRate(6000.0, 1481.531, 0.0, 4, 0.75, 204.0, 188.0, 20.0, 1.35);
    EXPECT_EQ(accepted.carrier.symbolRateGiven, 1);
    EXPECT_DOUBLE_EQ(accepted.carrier.dataRateKbps, expected.dataRateKbps);
}

TEST(FecForm, OtherOpensTheRateBoxAndANamedRateWritesItsValue)
{
    Form form(Carrier{}, calcModeFec);
    const FormUpdate other = form.model.fecChosen(fecOtherPosition);
    EXPECT_EQ(other.focus, F::fecValue);
    EXPECT_TRUE(form.model.enabled(F::fecValue));
    form.type(F::fecValue, "0.95");
    EXPECT_EQ(form[F::symbolRate], "526.316");

    form.model.modulationChosen(2);
    const FormUpdate named = form.model.fecChosen(1);
    EXPECT_FALSE(named.focus);
    EXPECT_FALSE(form.model.enabled(F::fecValue));
    EXPECT_EQ(form[F::fecValue], "0.333333");
    EXPECT_EQ(form[F::symbolRate], "1000.001");
}

TEST(FecForm, UntickingKeepsTheCodeForTickingAgain)
{
    Form form(Carrier{}, calcModeFec);
    form.enterDvbSExample();
    form.model.reedSolomonTicked(false);
    EXPECT_EQ(form[F::rsRatio], "1");
    EXPECT_EQ(form[F::rsN] + form[F::rsK], "");
    EXPECT_EQ(form[F::symbolRate], "1365.333");
    EXPECT_FALSE(form.model.enabled(F::rsRatio));
    EXPECT_EQ(form.model.accept().carrier.rsN, 1.0);

    form.model.reedSolomonTicked(true);
    EXPECT_EQ(form[F::rsN] + "," + form[F::rsK], "204,188");
    EXPECT_EQ(form[F::rsRatio], "1.085106");
    EXPECT_EQ(form[F::symbolRate], "1481.531");
}

TEST(FecForm, TypingARatioForgetsNAndK)
{
    Form form(Carrier{}, calcModeFec);
    form.enterDvbSExample();
    EXPECT_EQ(form.type(F::rsRatio, "1.0851060"), Rewrites{}) << "the same ratio changes nothing";
    form.type(F::rsRatio, "1.1");
    EXPECT_EQ(form[F::rsN] + form[F::rsK], "");
    EXPECT_EQ(form[F::symbolRate], "1501.867");
    const FormAcceptance accepted = form.model.accept();
    EXPECT_DOUBLE_EQ(accepted.carrier.rsN, 1.1);
    EXPECT_DOUBLE_EQ(accepted.carrier.rsK, 1.0);

    form.model.reedSolomonTicked(false);
    form.model.reedSolomonTicked(true);
    EXPECT_EQ(form[F::rsN], "") << "a forgotten code does not come back";
}

TEST(FecForm, CodeBoxesEmptyWhatIsNotAPositiveWholeNumber)
{
    Form form(Carrier{}, calcModeFec);
    form.enterDvbSExample();
    EXPECT_EQ(form.type(F::rsN, "x"), (Rewrites{{F::symbolRate, "1365.333"},
                                                {F::rsRatio, "1"},
                                                {F::bandwidth, "1.8432"},
                                                {F::rsN, ""}}));
    EXPECT_EQ(form.type(F::rsN, ""), Rewrites{}) << "an unchanged code text does nothing";
    form.type(F::rsN, "204abc");
    EXPECT_EQ(form[F::rsN], "204");
    EXPECT_EQ(form[F::rsRatio], "1.085106");
    form.type(F::rsK, "-3");
    EXPECT_EQ(form[F::rsK], "");
    EXPECT_EQ(form[F::rsRatio], "1");
    form.type(F::rsK, "188");
    EXPECT_EQ(form[F::rsRatio], "1.085106");
}

struct FecOpening {
    const char* name;
    double fecRate;
    double rsN;
    double rsK;
    bool ticked;
    const char* nText;
    const char* ratioText;
    int fecPosition;
    const char* fecValue;
};

class FecFormOpening : public ::testing::TestWithParam<FecOpening> {};

TEST_P(FecFormOpening, ShowsTheCarriersCoding)
{
    const FecOpening& c = GetParam();
    Carrier carrier;
    carrier.setFecFromDataRate(6000.0, 2048.0, 0.0, 4, c.fecRate, c.rsN, c.rsK, 20.0, 1.35);
    Form form(carrier, calcModeFec);
    EXPECT_EQ(form.model.reedSolomonOn(), c.ticked);
    EXPECT_EQ(form.model.enabled(F::rsN), c.ticked);
    EXPECT_EQ(form[F::rsN], c.nText);
    EXPECT_EQ(form[F::rsRatio], c.ratioText);
    EXPECT_EQ(form.model.fecPosition(), c.fecPosition);
    EXPECT_EQ(form[F::fecValue], c.fecValue);
    EXPECT_EQ(form.model.enabled(F::fecValue), c.fecPosition == fecOtherPosition);
    EXPECT_EQ(form.model.accept().carrier.rsN, c.ticked ? c.rsN : 1.0) << "OK keeps the code";
}

INSTANTIATE_TEST_SUITE_P(
    Carriers, FecFormOpening,
    ::testing::Values(FecOpening{"KnownCode", 0.75, 204, 188, true, "204", "1.085106", 6, "0.75"},
                      FecOpening{"RatioOnly", 0.75, 1.085106, 1, true, "", "1.085106", 6, "0.75"},
                      FecOpening{"UnnamedRate", 0.95, 1, 1, false, "", "1", 12, "0.95"},
                      FecOpening{"CodeOfRatioOne", 0.5, 188, 188, false, "", "1", 3, "0.5"},
                      FecOpening{"ThirdMatchesOneThird", 1.0 / 3.0, 1, 1, false, "", "1", 1,
                                 "0.333333333333333"}),
    [](const ::testing::TestParamInfo<FecOpening>& info) { return info.param.name; });

TEST(SpectralForm, ModulationAndFecChangeOnlyTheOverheads)
{
    Carrier carrier;
    carrier.calcMode = calcModeSpectral;
    Form form(carrier, calcModeSpectral);
    EXPECT_TRUE(form.model.readOnly(F::overheads));
    EXPECT_EQ(form.type(F::efficiency, "1.5"), (Rewrites{{F::symbolRate, "666.666666666667"},
                                                         {F::overheads, "-333.333333333333"},
                                                         {F::bandwidth, "0.9"}}));
    form.type(F::dataRate, "2048");
    EXPECT_EQ(form[F::symbolRate], "1365.33333333333");
    EXPECT_EQ(form[F::bandwidth], "1.8432");
    form.model.modulationChosen(2);
    EXPECT_EQ(rewritesOf(form.model.fecChosen(6)),
              (Rewrites{{F::fecValue, "0.75"}, {F::overheads, "1024"}}));
    form.type(F::dataRate, "");
    EXPECT_EQ(form.type(F::efficiency, "2"), Rewrites{}) << "nothing follows an empty input";
}

// Small but positive values are calculated with and accepted like any other.
TEST(Forms, ARollOffNear100PercentAndSmallCodingValuesAreUsed)
{
    Form fixed(fixedCarrier(), calcModeFixed);
    fixed.type(F::rolloff, "");
    EXPECT_EQ(fixed.type(F::rolloff, "-95"), (Rewrites{{F::symbolRate, "27000"}}));
    EXPECT_FALSE(fixed.model.accept().problem);

    Form fec(Carrier{}, calcModeFec);
    fec.model.fecChosen(fecOtherPosition);
    fec.type(F::fecValue, "0.05");
    fec.model.reedSolomonTicked(true);
    fec.type(F::rsRatio, "0.05");
    fec.type(F::rolloff, "-95");
    EXPECT_EQ(fec[F::symbolRate] + " " + fec[F::bandwidth], "500 0.025");
    EXPECT_FALSE(fec.model.accept().problem);

    Carrier carrier;
    carrier.calcMode = calcModeSpectral;
    Form spectral(carrier, calcModeSpectral);
    spectral.type(F::efficiency, "0.05");
    EXPECT_EQ(spectral[F::symbolRate], "20000");
    EXPECT_FALSE(spectral.model.accept().problem);
}

TEST(SpectralForm, WithTheSymbolRateAsInputTheEfficiencyChangesTheDataRate)
{
    Carrier carrier;
    carrier.setFecFromDataRate(6000.0, 2048.0, 64.0, 4, 0.75, 204.0, 188.0, 20.0, 1.35);
    carrier.symbolRateGiven = 1;
    Form form(carrier, calcModeSpectral);
    form.type(F::symbolRate, "1000");
    EXPECT_EQ(form.type(F::efficiency, "2.25"),
              (Rewrites{{F::dataRate, "2250"}, {F::overheads, "-750"}}));
    const FormAcceptance accepted = form.model.accept();
    ASSERT_FALSE(accepted.problem);
    EXPECT_EQ(accepted.carrier.calcMode, calcModeSpectral);
    EXPECT_EQ(accepted.carrier.symbolRateGiven, 1);
    EXPECT_EQ(accepted.carrier.dataRateKbps, 2250.0);
    EXPECT_EQ(accepted.carrier.overheadKbps, 0.0) << "the overheads shown are not stored";
    EXPECT_EQ(accepted.carrier.rsN, 1.0);
}

TEST(SpectralForm, AnFecValueOfZeroShowsItsOverheadsAndIsAccepted)
{
    Carrier carrier;
    carrier.setSpectralFromDataRate(6000.0, 1000.0, 1.0, 2, 0.5, 20.0, 1.35);
    Form form(carrier, calcModeSpectral);
    form.model.fecChosen(fecOtherPosition);
    EXPECT_EQ(form.type(F::fecValue, "0"), (Rewrites{{F::overheads, "-1000"}}));
    const FormAcceptance accepted = form.model.accept();
    ASSERT_FALSE(accepted.problem);
    EXPECT_EQ(accepted.carrier.fecRate, 0.0);
    EXPECT_EQ(accepted.carrier.modulationOrder, 2) << "BPSK is a modulation like the others";
    EXPECT_EQ(accepted.carrier.symbolRateKsps, 1000.0);
}

TEST(SpectralForm, ModcodEntryShowsItsCodingAndRolloff)
{
    Carrier carrier;
    carrier.applyModcodSpectral(2.228124, 8, 0.75, 1.2, 7.91, 1e-7, 0);
    Form form(carrier, calcModeSpectral);
    EXPECT_EQ(form.model.modulationPosition(), 2);
    EXPECT_EQ(form.model.fecPosition(), 6);
    EXPECT_EQ(form[F::rolloff] + " " + form[F::efficiency] + " " + form[F::symbolRate],
              "20 2.228124 448.808055566028");
}

// What OK says when the form cannot build a carrier, and where the focus goes.
struct Refusal {
    const char* name;
    CalcMode mode;
    std::function<void(Carrier&)> prepare;
    std::function<void(Form&)> edit;
    std::optional<F> field;
    const char* message;
};

class FormRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(FormRefusal, NamesTheFieldAndBuildsNothing)
{
    const Refusal& c = GetParam();
    Carrier carrier;
    carrier.calcMode = c.mode;
    if (c.prepare)
        c.prepare(carrier);
    Form form(carrier, c.mode);
    c.edit(form);
    const FormAcceptance accepted = form.model.accept();
    if (!c.field) {
        EXPECT_FALSE(accepted.problem);
        return;
    }
    ASSERT_TRUE(accepted.problem);
    EXPECT_EQ(accepted.problem->field, *c.field);
    EXPECT_EQ(accepted.problem->message, c.message);
}

const auto noPreparation = std::function<void(Carrier&)>();
const auto zeroRolloff = [](Carrier& carrier) { carrier.rolloffFactor = 0.0; };
const auto unusableModcod = [](Carrier& carrier) {
    carrier.applyModcodFec(0.0, 128, 0.0, 1.0, 1.0, 1.25, 4.5, 1e-7, 0);
};
const auto zeroEfficiency = [](Carrier& carrier) {
    carrier.applyModcodSpectral(0.0, 8, 0.75, 1.2, 5.5, 1e-7, 0);
};
const char* const numberText = "Please enter a number.";

INSTANTIATE_TEST_SUITE_P(
    Cases, FormRefusal,
    ::testing::Values(Refusal{"EmptyPower", calcModeFixed, noPreparation,
                              [](Form& f) { f.type(F::power, " "); }, F::power, numberText},
                      Refusal{"EmptyRolloff", calcModeFixed, noPreparation,
                              [](Form& f) { f.type(F::rolloff, ""); }, F::rolloff,
                              "Please enter an integer."},
                      Refusal{"DisabledBoxIsNotRead", calcModeFixed, noPreparation,
                              [](Form& f) { f.type(F::symbolRate, "-"); }, std::nullopt, ""},
                      Refusal{"RolloffOfMinusHundred", calcModeFixed, zeroRolloff,
                              [](Form& f) {
                                  EXPECT_EQ(f[F::rolloff], "-100");
                                  EXPECT_EQ(f.type(F::bandwidth, "2"), Rewrites{});
                              },
                              F::rolloff, "The IF filter roll-off must be greater than -100 %."},
                      Refusal{"ClearedDataRate", calcModeFec, noPreparation,
                              [](Form& f) { f.type(F::dataRate, ""); }, F::dataRate, numberText},
                      Refusal{"ZeroRateUnderOther", calcModeFec, noPreparation,
                              [](Form& f) {
                                  f.model.fecChosen(fecOtherPosition);
                                  EXPECT_EQ(f.type(F::fecValue, "0"), Rewrites{});
                              },
                              F::fecValue, "The FEC rate must be greater than 0."},
                      Refusal{"NoModulation", calcModeFec, unusableModcod,
                              [](Form& f) {
                                  EXPECT_EQ(f.model.fecPosition(), fecOtherPosition);
                                  EXPECT_EQ(f.type(F::dataRate, "500"), Rewrites{});
                              },
                              F::modulation, "Please choose a modulation."},
                      Refusal{"ZeroRatio", calcModeFec, noPreparation,
                              [](Form& f) {
                                  f.model.reedSolomonTicked(true);
                                  f.type(F::rsRatio, "0");
                              },
                              F::rsRatio, "The Reed-Solomon ratio must be greater than 0."},
                      Refusal{"ZeroEfficiency", calcModeSpectral, zeroEfficiency,
                              [](Form& f) {
                                  f.type(F::dataRate, "3000");
                                  EXPECT_EQ(f[F::symbolRate], "1000");
                              },
                              F::efficiency, "The spectral efficiency must be greater than 0."},
                      Refusal{"RateTooLargeToCalculate", calcModeFec, noPreparation,
                              [](Form& f) {
                                  f.model.fecChosen(fecOtherPosition);
                                  f.type(F::fecValue, "1e-300");
                                  f.type(F::dataRate, "1e300");
                              },
                              F::dataRate, "These values give a rate too large to calculate."},
                      Refusal{"DataRateTooLargeToShow", calcModeSpectral, noPreparation,
                              [](Form& f) {
                                  f.model.inputChosen(true);
                                  f.type(F::symbolRate, "1e300");
                                  EXPECT_EQ(f.type(F::efficiency, "1e10"), Rewrites{});
                              },
                              F::symbolRate, "These values give a rate too large to calculate."}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

// A carrier whose stored numbers a carrier file could not keep is refused at OK.
struct Beyond {
    CalcMode mode;
    bool symbolRateIsInput;
    F typedInto;
    const char* text;
    const char* messageStart; // none when the value is accepted
};

class FileLimitRefusal : public ::testing::TestWithParam<Beyond> {};

TEST_P(FileLimitRefusal, NamesTheQuantityOnTheBoxItCameFrom)
{
    const Beyond& c = GetParam();
    Form form(Carrier{}, c.mode);
    form.model.inputChosen(c.symbolRateIsInput);
    if (c.mode != calcModeFixed)
        form.model.fecChosen(fecOtherPosition);
    if (c.mode == calcModeFec)
        form.model.reedSolomonTicked(true);
    form.type(c.typedInto, c.text);
    const std::optional<FormProblem> problem = form.model.accept().problem;
    ASSERT_EQ(problem.has_value(), c.messageStart != nullptr);
    if (!problem)
        return;
    EXPECT_EQ(problem->field, c.typedInto);
    EXPECT_EQ(problem->message.rfind(c.messageStart, 0), 0u) << problem->message;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FileLimitRefusal,
    ::testing::Values(
        Beyond{calcModeFixed, false, F::centre, "-2e12", "The centre frequency must lie between"},
        Beyond{calcModeFixed, false, F::bandwidth, "1e9", nullptr},
        Beyond{calcModeFixed, true, F::symbolRate, "1e12",
               "The occupied bandwidth must lie between"},
        Beyond{calcModeFixed, false, F::power, "-1e13", "The power level must lie between"},
        Beyond{calcModeFec, true, F::symbolRate, "1.5e12", "The data rate must lie between"},
        Beyond{calcModeFec, false, F::overheads, "2e12", "The overheads must lie between"},
        Beyond{calcModeFec, false, F::rsRatio, "2e12", "The Reed-Solomon ratio must lie between"},
        Beyond{calcModeSpectral, false, F::efficiency, "2e12",
               "The spectral efficiency must lie between"},
        Beyond{calcModeSpectral, false, F::fecValue, "2e12", "The FEC rate must lie between"},
        Beyond{calcModeSpectral, false, F::fecValue, "1e-9", nullptr},
        Beyond{calcModeFec, false, F::fecValue, "0.0000009",
               "The FEC rate must be at least 0.000001"},
        Beyond{calcModeFec, false, F::rsRatio, "0.0000009",
               "The Reed-Solomon ratio must be at least"},
        Beyond{calcModeSpectral, false, F::efficiency, "0.000001", nullptr},
        Beyond{calcModeSpectral, false, F::efficiency, "9e-7",
               "The spectral efficiency must be at least"}));

} // namespace
} // namespace orvane
