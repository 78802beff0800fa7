// A floating-point fault anywhere in a step ends the run as a singularity at the last good point.
#include "integrator/IntegrationRun.h"
#include "integrator/IntegratorFixture.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ProblemPanes linear(const std::string& x0, const std::string& slope) {
    return ProblemPanes{{}, {"t = 0", "x = " + x0}, {}, {"t' = 1", "x' = " + slope}};
}

RunOutcome run(CompiledFixture& f, FakeUi& ui, const std::string& steps) {
    RunSettings settings;
    settings.MainNames = f.assembly.MainNames;
    return runMore(f.state, f.problem, ui, steps, settings);
}

void useControl(CompiledFixture& f, ErrorControl control, const std::string& relative) {
    f.state.Control = control;
    if (control != ErrorControl::None)
        readTolerances(f.problem, {"", ""}, {"", relative});
}

// Every stored point, the current one and its whole expansion hold finite numbers.
void expectAllFinite(const CompiledFixture& f) {
    const ResultsArray& results = f.state.Results;
    for (Extended value : results.Values)
        EXPECT_TRUE(std::isfinite(value));
    EXPECT_TRUE(std::isfinite(f.problem.CurrentIndep));
    EXPECT_TRUE(std::isfinite(f.problem.Step));
    EXPECT_TRUE(std::isfinite(f.problem.Radius));
    for (std::int32_t v = 0; v < f.problem.Coefficients.count(); ++v)
        for (std::int32_t k = 0; k < f.problem.Coefficients.length(v); ++k)
            EXPECT_TRUE(std::isfinite(f.problem.Coefficients[v][k])) << v << " " << k;
}

} // namespace

TEST(StepFaults, OverflowOfTheNewPointStopsEveryRoutineAtTheLastGoodPoint) {
    // Steps of 5 from 0 reach 1e4932 at t = 10; the next point is beyond the largest extended.
    for (ErrorControl control : {ErrorControl::None, ErrorControl::Back, ErrorControl::Middle}) {
        CompiledFixture f(linear("0", "1e4931"));
        FakeUi ui;
        ASSERT_TRUE(createResults(f.state, f.problem, ui, "10", false, false).Created);
        useControl(f, control, "1e-10");
        const RunOutcome outcome = run(f, ui, "6");
        EXPECT_EQ(outcome.End, RunEnd::Singularity);
        EXPECT_EQ(ui.messages.front(), "Singularity reached");
        EXPECT_EQ(outcome.Error,
                  "Singularity! Arithmetic fault in the new point of the step from t = 10");
        EXPECT_EQ(f.state.StepIndex, 2);
        EXPECT_EQ(f.problem.CurrentIndep, 10);
        EXPECT_EQ(f.problem.PathLength, 10);
        EXPECT_EQ(f.value(1), f.state.Results.at(2, 1)[0]);
        EXPECT_NEAR(static_cast<double>(f.value(1) / 1e4932L), 1, 1e-15);
        // The expansion at the last good point is back in place.
        EXPECT_EQ(f.problem.Coefficients[f.problem.NumConst + 1][1], 1e4931L);
        EXPECT_EQ(f.problem.Step, 5);
        expectAllFinite(f);
    }
}

TEST(StepFaults, OverflowOfTheIndependentVariable) {
    CompiledFixture f(linear("0", "0"));
    FakeUi ui;
    f.state.RadLimit = 1e4931L;
    f.state.RadFactor = 1e3441L;
    AfterStep(f.state, f.problem);
    const Extended step = f.problem.Step;
    ASSERT_TRUE(std::isfinite(step));
    const RunOutcome outcome = run(f, ui, "10");
    EXPECT_EQ(outcome.End, RunEnd::Singularity);
    EXPECT_TRUE(outcome.Error.starts_with(
        "Singularity! Arithmetic fault in the new point of the step from t = "))
        << outcome.Error;
    EXPECT_EQ(f.problem.CurrentIndep, step * f.state.StepIndex);
    EXPECT_EQ(f.value(0), f.problem.CurrentIndep);
    expectAllFinite(f);
}

TEST(StepFaults, OverflowInTheErrorTestEndsTheStepWhereItStarted) {
    // max(|a|, |b|) times the relative tolerance overflows.
    for (ErrorControl control : {ErrorControl::Back, ErrorControl::Middle}) {
        CompiledFixture f(linear("1e100", "x"));
        FakeUi ui;
        useControl(f, control, "1e4900");
        const RunOutcome outcome = run(f, ui, "3");
        EXPECT_EQ(outcome.End, RunEnd::Singularity);
        EXPECT_EQ(outcome.Error,
                  "Singularity! Arithmetic fault in the error test of the step from t = 0");
        EXPECT_EQ(f.state.StepIndex, 0);
        EXPECT_EQ(f.problem.CurrentIndep, 0);
        EXPECT_EQ(f.value(1), 1e100L);
        expectAllFinite(f);
    }
}

TEST(StepFaults, OverflowOfTheStepEstimateKeepsThePreviousStep) {
    // A constant solution takes R at the radius limit: 10 times the factor overflows.
    CompiledFixture f(linear("1", "0"));
    FakeUi ui;
    const Extended step = f.problem.Step;
    EXPECT_FALSE(changeRadiusFactor(f.state, f.problem, "1e4932"));
    EXPECT_EQ(f.problem.Step, step);
    EXPECT_EQ(f.problem.Radius, 10);

    const RunOutcome outcome = run(f, ui, "3");
    EXPECT_EQ(outcome.End, RunEnd::Singularity);
    EXPECT_EQ(outcome.Error, "Singularity! Arithmetic fault in the step estimate at t = 5");
    EXPECT_EQ(f.state.StepIndex, 0);
    EXPECT_EQ(f.problem.CurrentIndep, 0);
    EXPECT_EQ(f.problem.Step, step);
    expectAllFinite(f);
}

TEST(StepFaults, ValuesThatAreNotFiniteFromASpecialPointAreNotStored) {
    // 1/t faults at t = 0, where the loaded series supplies NaN instead of a value.
    CompiledFixture f(ProblemPanes{{}, {"t = -1", "x = 0"}, {}, {"t' = 1", "x' = 1/t"}});
    FakeUi ui;
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "10", false, false).Created);
    f.problem.SpecialPoint = 0;
    f.problem.SpecialValues.assign(static_cast<std::size_t>(f.state.TermCount), NAN);
    f.problem.Step = 1;
    const RunOutcome outcome = run(f, ui, "1");
    EXPECT_EQ(outcome.End, RunEnd::Singularity);
    EXPECT_EQ(outcome.Error,
              "Singularity! Arithmetic fault in the new expansion of the step from t = -1");
    EXPECT_EQ(f.state.StepIndex, 0);
    EXPECT_EQ(f.problem.CurrentIndep, -1);
    expectAllFinite(f);
}

TEST(StepFaults, AStepOntoTheSpecialPointWithMendedValuesGoesOn) {
    // 1/t faults at t = 0 and the loaded series mends it; the flags the fault raised inside the
    // expansion must not be taken for a fault of the step estimate that follows, in any mode.
    for (ErrorControl control :
         {ErrorControl::None, ErrorControl::Tolerance, ErrorControl::Back, ErrorControl::Middle}) {
        CompiledFixture f(ProblemPanes{{}, {"t = -1", "x = 0"}, {}, {"t' = 1", "x' = 1/t"}});
        FakeUi ui;
        useControl(f, control, "1");
        f.problem.SpecialPoint = 0;
        f.problem.SpecialValues.assign(static_cast<std::size_t>(f.state.TermCount), 0.0L);
        f.problem.Step = 1;
        const RunOutcome outcome = run(f, ui, "1");
        EXPECT_EQ(outcome.Error, "") << static_cast<int>(control);
        EXPECT_EQ(f.state.StepIndex, 1);
        EXPECT_EQ(f.problem.CurrentIndep, 0);
        EXPECT_TRUE(std::isfinite(f.problem.Step));
        expectAllFinite(f);
    }
}
