#include "integrator/IntegrationRun.h"
#include "integrator/IntegratorFixture.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "integrator/StepRoutines.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

namespace {

ProblemPanes panes(std::vector<std::string> constants, std::vector<std::string> initial,
                   std::vector<std::string> aux, std::vector<std::string> odes) {
    return ProblemPanes{std::move(constants), std::move(initial), std::move(aux), std::move(odes)};
}

ProblemPanes exponential(const char* rate) {
    return panes({}, {"t = 0", "x = 1"}, {}, {"t' = 1", std::string("x' = ") + rate});
}

RunOutcome run(CompiledFixture& f, FakeUi& ui, const std::string& steps) {
    return runMore(f.state, f.problem, ui, steps, RunSettings{f.assembly.MainNames, {}, {}, {}});
}

Extended relative(Extended value, Extended exact) {
    return std::fabs(value / exact - 1);
}

TEST(Accuracy, GrowthToTenMatchesTheExponential) {
    CompiledFixture f(exponential("x"));
    FakeUi ui;
    ASSERT_TRUE(setTermination(f.state, f.problem, ui, true, "10", {}));
    const RunOutcome outcome = run(f, ui, "1000");
    EXPECT_EQ(outcome.End, RunEnd::Terminated);
    EXPECT_EQ(f.problem.CurrentIndep, 10);
    EXPECT_LT(relative(f.value(1), std::exp(10.0L)), 2e-17L); // reached: about 1e-17
    EXPECT_EQ(ui.lastMessage(), "The terminal point reached and unchecked");
    EXPECT_FALSE(f.problem.TermArmed);
}

TEST(Accuracy, BackwardDecayReturnsTheGrowth) {
    CompiledFixture f(exponential("-x"));
    FakeUi ui;
    EXPECT_EQ(setDirection(f.problem, true), " decreases");
    ASSERT_TRUE(setTermination(f.state, f.problem, ui, true, "-10", {}));
    run(f, ui, "1000");
    EXPECT_EQ(f.problem.CurrentIndep, -10);
    EXPECT_LT(relative(f.value(1), std::exp(10.0L)), 2e-17L);
    // The plain step counts its whole proposed step, also the last one cut short at -10.
    EXPECT_GT(f.problem.PathLength, 10);
}

TEST(Accuracy, HarmonicOscillatorToOneHundred) {
    // With the default factor the radius estimate of cos and sin is near the limit and the steps
    // of about 4.6 truncate at about 1e-14 each (reached: 1.5e-13 at t = 100); a factor of 0.3
    // reaches the rounding level (3e-18).
    for (Extended factor : {0.5L, 0.3L}) {
        CompiledFixture f(
            panes({}, {"t = 0", "x = 1", "v = 0"}, {}, {"t' = 1", "x' = v", "v' = -x"}));
        FakeUi ui;
        f.state.RadFactor = factor;
        AfterStep(f.state, f.problem);
        setTermination(f.state, f.problem, ui, true, "100", {});
        run(f, ui, "10000");
        EXPECT_EQ(f.problem.CurrentIndep, 100);
        const Extended tolerance = factor == 0.5L ? 5e-13L : 2e-17L;
        EXPECT_NEAR(f.value(1), std::cos(100.0L), tolerance) << factor;
        EXPECT_NEAR(f.value(2), -std::sin(100.0L), tolerance) << factor;
    }
}

// Kepler's ellipse (e = 0.5, period 2 pi) over ten periods ends where it started, with its
// energy -1/(2a) = -0.5 kept.
void expectKeplerReturns(CompiledFixture& f, Extended tolerance) {
    FakeUi ui;
    ASSERT_TRUE(setTermination(f.state, f.problem, ui, true, "20*3.14159265358979323846264",
                               f.assembly.FormulaList)); // constants first in the list
    const RunOutcome outcome = run(f, ui, "100000");
    EXPECT_EQ(outcome.End, RunEnd::Terminated) << outcome.Error;
    EXPECT_NEAR(f.value(1), 0.5L, tolerance);
    EXPECT_NEAR(f.value(2), 0, tolerance);
    EXPECT_NEAR(f.value(3), 0, tolerance);
    EXPECT_NEAR(f.value(4), std::sqrt(3.0L), tolerance);
    const Extended energy = (f.value(3) * f.value(3) + f.value(4) * f.value(4)) / 2 -
                            1 / std::hypot(f.value(1), f.value(2));
    EXPECT_NEAR(energy, -0.5L, tolerance);
}

TEST(Accuracy, KeplerTenPeriodsWithSmallerFactor) {
    CompiledFixture f(panesOfFile("kepler.ode"));
    f.state.RadFactor = 0.2L;
    AfterStep(f.state, f.problem);
    expectKeplerReturns(f, 2e-15L); // reached: about 3e-16
}

TEST(Accuracy, KeplerTenPeriodsUnderEachErrorControl) {
    for (ErrorControl control : {ErrorControl::Back, ErrorControl::Middle}) {
        CompiledFixture f(panesOfFile("kepler.ode"));
        f.state.Control = control;
        std::vector<std::string> tight(5, "1e-19");
        readTolerances(f.problem, tight, tight);
        expectKeplerReturns(f, 2e-15L); // reached: about 1e-16 (back) and 3e-16 (middle)
    }
}

TEST(Termination, StepsOfPointThreeEndExactlyAtOne) {
    CompiledFixture f(exponential("x"));
    FakeUi ui;
    ASSERT_TRUE(setTermination(f.state, f.problem, ui, true, "1", {}));
    std::vector<Extended> ends;
    for (int i = 0; i < 6 && !f.problem.Terminated; ++i) {
        f.problem.Step = 0.3L;
        StepPlain(f.state, f.problem);
        ends.push_back(f.problem.CurrentIndep);
    }
    ASSERT_EQ(ends.size(), 4u);
    EXPECT_EQ(ends[0], 0.3L);
    EXPECT_EQ(ends[1], 0.3L + 0.3L);
    EXPECT_EQ(ends[3], 1.0L);
    EXPECT_EQ(f.value(0), 1.0L);
    // Once terminated, further steps return at once.
    StepPlain(f.state, f.problem);
    EXPECT_EQ(f.problem.CurrentIndep, 1.0L);
}

TEST(Termination, UnreachableAndWrongValues) {
    CompiledFixture f(exponential("x"));
    FakeUi ui;
    EXPECT_FALSE(setTermination(f.state, f.problem, ui, true, "-1", {}));
    EXPECT_EQ(ui.lastMessage(), "This terminal value cannot be reached Forward");
    setDirection(f.problem, true);
    EXPECT_FALSE(setTermination(f.state, f.problem, ui, true, "2", {}));
    EXPECT_EQ(ui.lastMessage(), "This terminal value cannot be reached Backward");
    const auto shown = ui.messages.size();
    EXPECT_FALSE(setTermination(f.state, f.problem, ui, true, "  ", {}));
    EXPECT_EQ(ui.messages.size(), shown);
    EXPECT_THROW(setTermination(f.state, f.problem, ui, true, "2*", {}), OrvantaError);
    // An expression over the constants.
    EXPECT_TRUE(setTermination(f.state, f.problem, ui, true, "-2*a", {"a = 1.5"}));
    EXPECT_EQ(f.problem.TEnd, -3);
}

TEST(Run, SummaryCountsStepsSplitsAndTotal) {
    CompiledFixture f(exponential("x"));
    FakeUi ui;
    RunOutcome outcome = run(f, ui, "10");
    EXPECT_EQ(outcome.End, RunEnd::Completed);
    EXPECT_TRUE(outcome.Summary.starts_with("10 steps (0 step splits).  Total: 10.  Took "))
        << outcome.Summary;
    EXPECT_EQ(outcome.StepsLabel, "steps");
    outcome = run(f, ui, " 1 ");
    EXPECT_TRUE(outcome.Summary.starts_with("1 steps (0 step splits).  Total: 11."));
    EXPECT_EQ(outcome.StepsLabel, "step");
    outcome = run(f, ui, "1x");
    EXPECT_EQ(outcome.End, RunEnd::NotStarted);
    EXPECT_EQ(ui.lastMessage(), "Wrong number");
}

TEST(Run, ReentryIsIgnoredAndEscInterrupts) {
    CompiledFixture f(exponential("-x"));
    FakeUi ui;
    f.state.Busy = true;
    EXPECT_EQ(run(f, ui, "5").End, RunEnd::NotStarted);
    EXPECT_EQ(f.state.StepIndex, 0);
    f.state.Busy = false;
    f.state.PollInterval = std::chrono::steady_clock::duration::zero();
    int polls = 0;
    ui.onProcessEvents = [&] { f.state.Interrupt = ++polls == 3; };
    const RunOutcome outcome = run(f, ui, "100");
    EXPECT_EQ(outcome.End, RunEnd::Interrupted);
    EXPECT_EQ(outcome.Position, 3);
    EXPECT_EQ(ui.lastMessage(), "Interrupted!");
    EXPECT_FALSE(f.state.Interrupt);
}

// The append question's dialog lets timers run: a "More" one of them starts meanwhile runs nothing.
TEST(Run, NoSecondRunStartsWhileTheAppendQuestionIsOpen) {
    CompiledFixture f(exponential("-x"));
    struct NestingUi : FakeUi {
        CompiledFixture* fixture = nullptr;
        std::optional<RunEnd> nested;
        std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                            const std::string& proposal) override {
            nested = run(*fixture, *this, "3").End;
            return FakeUi::inputBox(title, prompt, proposal);
        }
    } ui;
    ui.fixture = &f;
    ASSERT_TRUE(createResults(f.state, f.problem, ui, "5", false, false).Created);
    const std::int32_t stored = f.state.StepIndex;
    ui.inputAnswers = {"100"};
    const RunOutcome outcome = run(f, ui, "10");
    ASSERT_TRUE(ui.nested.has_value());
    EXPECT_EQ(*ui.nested, RunEnd::NotStarted);
    EXPECT_EQ(outcome.End, RunEnd::Completed);
    EXPECT_EQ(f.state.StepIndex, stored + 10);
    EXPECT_FALSE(f.state.Busy);
}

TEST(Run, SingularityEndsTheRun) {
    // x' = x^2 from 1 blows up at t = 1; sqrt(1 - t) fails beyond it.
    CompiledFixture f(panes({}, {"t = 0", "x = 1"}, {"s = sqrt(1 - t)"}, {"t' = 1", "x' = s"}));
    FakeUi ui;
    f.state.RadLimit = 0.7L;
    f.state.RadFactor = 1;
    AfterStep(f.state, f.problem);
    const RunOutcome outcome = run(f, ui, "10");
    EXPECT_EQ(outcome.End, RunEnd::Singularity);
    EXPECT_EQ(ui.messages.front(), "Singularity reached");
    EXPECT_TRUE(outcome.Error.starts_with("Singularity! Instruction ")) << outcome.Error;
}

TEST(Run, SplitLimitStopsOrGoesOnDespite) {
    // An unattainable tolerance fails every trial.
    for (bool despite : {false, true}) {
        CompiledFixture f(exponential("x"));
        FakeUi ui;
        f.state.Control = ErrorControl::Back;
        f.state.GoDespite = despite;
        readTolerances(f.problem, {"", "-1"}, {"", ""});
        const RunOutcome outcome = run(f, ui, "2");
        EXPECT_EQ(f.problem.Status, StatusSplitLimit);
        if (!despite) {
            EXPECT_EQ(outcome.End, RunEnd::SplitLimit);
            EXPECT_EQ(ui.lastMessage(),
                      "Step splitting exceeded the limit.\n\r x failed the Absolute error test");
            EXPECT_EQ(f.state.StepIndex, 0);
        } else {
            EXPECT_EQ(outcome.End, RunEnd::Completed);
            EXPECT_EQ(f.state.StepIndex, 2);
            EXPECT_EQ(f.state.FailureLog.size(), 2u);
            // Each accepted step is the proposed one halved 19 times.
            EXPECT_NEAR(static_cast<double>(f.problem.PathLength), 0, 1e-4);
            EXPECT_EQ(f.state.SplitCount, SplitLimit);
        }
    }
}

TEST(Run, SplitLimitLeavesTheLastTrialOrTakesOneMoreHalving) {
    // Nineteen trials at h ... h/2^18 are tested; "Go despite error" accepts h/2^19 untested.
    for (ErrorControl control : {ErrorControl::Back, ErrorControl::Middle}) {
        for (bool despite : {false, true}) {
            CompiledFixture f(exponential("x"));
            readTolerances(f.problem, {"", "-1"}, {"", ""});
            const Extended h = f.problem.Step;
            std::int32_t failing = -1;
            const bool passed = control == ErrorControl::Back
                                    ? StepBackControl(f.state, f.problem, failing, despite)
                                    : StepMiddleControl(f.state, f.problem, failing, despite);
            EXPECT_FALSE(passed);
            EXPECT_EQ(failing, 1);
            EXPECT_EQ(f.problem.Status, StatusSplitLimit);
            EXPECT_EQ(f.state.SplitCount, SplitLimit);
            EXPECT_EQ(f.problem.CurrentIndep, std::ldexp(h, despite ? -19 : -18));
            EXPECT_EQ(f.state.StepIndex, despite ? 1 : 0);
            EXPECT_EQ(f.problem.PathLength, despite ? std::ldexp(h, -19) : 0);
        }
    }
}

TEST(SpecialPoint, ATrialJustBeforeItIsMovedOntoIt) {
    for (bool assumeLimit : {false, true}) {
        CompiledFixture f(exponential("x"));
        f.problem.SpecialValues.assign(31, 0.0L);
        f.problem.SpecialPoint = 1;
        f.problem.SpecialWindow = 0.5L;
        f.state.AssumeRadiusLimit = assumeLimit;
        f.problem.Step = 0.7L;
        StepPlain(f.state, f.problem);
        EXPECT_EQ(f.problem.CurrentIndep, 1);
        EXPECT_EQ(f.value(0), 1);
        EXPECT_LT(relative(f.value(1), std::exp(1.0L)), 1e-18L) << "x is evaluated at the point";
        // The plain step counts the step it proposed, not the one it took.
        EXPECT_EQ(f.problem.PathLength, 0.7L);
        if (assumeLimit) {
            EXPECT_EQ(f.problem.Radius, f.state.RadLimit);
            EXPECT_EQ(f.problem.Step, f.state.RadLimit);
        } else {
            EXPECT_EQ(f.problem.Step, f.problem.Radius * f.state.RadFactor);
        }
    }
}

TEST(SpecialPoint, OnlyTrialsInsideTheWindowSnap) {
    // Backward from 2: a trial at 1.3 lies in (1, 1.5) and snaps; forward, a trial past the point
    // is not pulled back, and one before the window stays where it is.
    CompiledFixture back(panes({}, {"t = 2", "x = 1"}, {}, {"t' = 1", "x' = x"}));
    back.problem.SpecialValues.assign(31, 0.0L);
    back.problem.SpecialPoint = 1;
    back.problem.SpecialWindow = 0.5L;
    setDirection(back.problem, true);
    back.problem.Step = -0.7L;
    std::int32_t failing = -1;
    EXPECT_TRUE(StepBackControl(back.state, back.problem, failing, false));
    EXPECT_EQ(back.problem.CurrentIndep, 1);
    EXPECT_EQ(back.problem.PathLength, 1) << "controlled steps count the actual advance";

    for (Extended trial : {1.2L, 0.4L}) {
        CompiledFixture f(exponential("x"));
        f.problem.SpecialValues.assign(31, 0.0L);
        f.problem.SpecialPoint = 1;
        f.problem.SpecialWindow = 0.5L;
        f.problem.Step = trial;
        StepPlain(f.state, f.problem);
        EXPECT_EQ(f.problem.CurrentIndep, trial);
    }
}

TEST(Restart, BringsBackTheInitialPoint) {
    CompiledFixture f(exponential("x"));
    FakeUi ui;
    ResultsCreation made = createResults(f.state, f.problem, ui, "100", false, false);
    ASSERT_TRUE(made.Created);
    run(f, ui, "5");
    EXPECT_EQ(f.state.StepIndex, 5);
    ui.confirmAnswers.push_back(false);
    EXPECT_FALSE(restart(f.state, f.problem, ui, 2));
    EXPECT_EQ(ui.lastMessage(),
              "Results array (for all loaded problems) will be overwritten\n\rDo it anyway?");
    EXPECT_TRUE(restart(f.state, f.problem, ui, 1));
    EXPECT_EQ(f.state.StepIndex, 0);
    EXPECT_EQ(f.state.TotalSteps, 0);
    EXPECT_EQ(f.problem.CurrentIndep, 0);
    EXPECT_EQ(f.problem.PathLength, 0);
    EXPECT_EQ(f.value(1), 1);
    EXPECT_EQ(f.state.Results.at(0, 1)[0], 1);
}

TEST(Compile, EvaluationFailureAtTheInitialPointIsReported) {
    ProgramState state;
    TCompiledProblem problem;
    FormulaParser parser;
    ProblemPanes p = panes({}, {"t = 0", "x = 1"}, {}, {"t' = 1", "x' = t^0.5"});
    try {
        compileForIntegration(state, p, problem, parser, false);
        FAIL() << "no error";
    } catch (const CompileEvaluationError& error) {
        EXPECT_EQ(error.Report, "Compilation succeeded, yet evaluation failed at point t   = 0");
        EXPECT_STREQ(error.what(), "Singularity! Instruction 0: operation ^");
        EXPECT_TRUE(error.ActiveList);
        EXPECT_EQ(error.Instruction, 0);
    }
}

TEST(ChangeOfOrder, RaisedToThreeAndRefusedWhenWrong) {
    CompiledFixture f(exponential("x"));
    FakeUi ui;
    ui.inputAnswers = {"2", "abc"};
    EXPECT_TRUE(changeTermCount(f.state, f.problem, ui));
    EXPECT_EQ(f.state.TermCount, 3);
    EXPECT_EQ(orderText(f.state), "Order of differentiation:  2");
    EXPECT_FALSE(f.problem.Compiled);
    EXPECT_FALSE(changeTermCount(f.state, f.problem, ui));
    EXPECT_EQ(ui.lastMessage(), "Wrong order");
    EXPECT_EQ(f.state.TermCount, 3);
}

} // namespace
