#include "integrator/ToleranceStep.h"
#include "integrator/IndependentSum.h"
#include "integrator/IntegratorFixture.h"
#include "support/ClosedFormRuns.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ProblemPanes scalarPanes(const std::string& start, const std::string& equation) {
    return splitProblemSections(splitLines("[Constants]\n[Main variables]\nt = 0\nx = " + start +
                                           "\n[Aux variables]\n[ODEs]\nt' = 1\nx' = " + equation +
                                           "\n"))
        .Panes;
}

// The rule's h for a series whose last two terms are c29 and c30 (31 terms) at tolerance E.
long double expectedStep(long double c29, long double c30, long double tolerance) {
    const long double rho =
        std::min(std::pow(tolerance / c29, 1.0L / 29), std::pow(tolerance / c30, 1.0L / 30));
    return rho * std::exp(-1.0L / 30);
}

void chooseTolerance(CompiledFixture& f, long double tolerance) {
    f.state.Control = ErrorControl::Tolerance;
    f.state.StepTolerance = tolerance;
    AfterStep(f.state, f.problem);
}

TEST(ToleranceRule, GeometricSeriesGivesTheFormula) {
    // x' = x^2 from 1/2: x = 1/(2 - t), coefficients 2^-(k+1), exact in binary; |x| < 1, so the
    // tolerance is absolute.
    CompiledFixture f(scalarPanes("0.5", "x^2"));
    for (long double e : {1e-19L, 1e-12L, 1e-6L}) {
        chooseTolerance(f, e);
        const long double h = expectedStep(std::ldexp(1.0L, -30), std::ldexp(1.0L, -31), e);
        EXPECT_NEAR(static_cast<double>(f.problem.Step / h), 1.0, 1e-12) << e;
    }
    // The radius the two terms suggest: 2^(31/30), from the last term.
    EXPECT_NEAR(static_cast<double>(f.problem.Radius), std::pow(2.0, 31.0 / 30), 1e-12);
}

TEST(ToleranceRule, LargeValuesMakeTheToleranceRelative) {
    // x' = x^2 from 2: x = 2/(1 - 2t), coefficients 2^(k+1), scaled by |x| = 2 to 2^k.
    CompiledFixture f(scalarPanes("2", "x^2"));
    chooseTolerance(f, 1e-19L);
    const long double h = expectedStep(std::ldexp(1.0L, 29), std::ldexp(1.0L, 30), 1e-19L);
    EXPECT_NEAR(static_cast<double>(f.problem.Step / h), 1.0, 1e-12);
}

TEST(ToleranceRule, ExponentialSeriesGivesTheFormula) {
    CompiledFixture f(scalarPanes("1", "x"));
    chooseTolerance(f, 1e-19L);
    const long double h =
        expectedStep(std::exp(-std::lgamma(30.0L)), std::exp(-std::lgamma(31.0L)), 1e-19L);
    EXPECT_NEAR(static_cast<double>(f.problem.Step / h), 1.0, 1e-12);
    // Backward, the same length the other way.
    f.problem.Direction = -1;
    AfterStep(f.state, f.problem);
    EXPECT_NEAR(static_cast<double>(f.problem.Step / -h), 1.0, 1e-12);
}

TEST(ToleranceRule, TheRadiusLimitAndTheLastStepBoundTheStep) {
    // A polynomial solution has no last terms: the radius limit is the step.
    CompiledFixture line(scalarPanes("1", "2"));
    chooseTolerance(line, 1e-19L);
    EXPECT_EQ(line.problem.Step, line.state.RadLimit);
    EXPECT_EQ(line.problem.Radius, line.state.RadLimit);

    CompiledFixture f(scalarPanes("1", "x"));
    chooseTolerance(f, 1e-19L);
    const Extended free = f.problem.Step;
    // Reached by a step of a tenth of it: at most twice that now.
    f.problem.TakenStep = free / 10;
    f.problem.TakenStepEnd = f.problem.CurrentIndep;
    AfterStep(f.state, f.problem);
    EXPECT_EQ(f.problem.Step, MaxStepGrowth * (free / 10));
    // A step that reached some other point says nothing about this one.
    f.problem.TakenStepEnd = f.problem.CurrentIndep + 1;
    AfterStep(f.state, f.problem);
    EXPECT_EQ(f.problem.Step, free);
}

TEST(ToleranceRule, AfterASnappedStepTheNextGrowsByTheFactorOnly) {
    CompiledFixture f(scalarPanes("1", "x"));
    chooseTolerance(f, 1e-19L);
    const Extended free = f.problem.Step;
    f.problem.TEnd = 0.001L;
    f.problem.TermArmed = true;
    StepPlain(f.state, f.problem);
    ASSERT_TRUE(f.problem.Terminated);
    EXPECT_EQ(f.problem.Step, MaxStepGrowth * 0.001L);
    f.problem.TermArmed = false;
    f.problem.Terminated = false;
    StepPlain(f.state, f.problem);
    EXPECT_EQ(f.problem.CurrentIndep, 0.001L + MaxStepGrowth * 0.001L);
    // The solution is exp(t) within the tolerance, and the steps grow back toward the free one.
    EXPECT_NEAR(static_cast<double>(f.value(1) / std::exp(f.problem.CurrentIndep) - 1), 0, 1e-18);
    for (int i = 0; i < 10; ++i)
        StepPlain(f.state, f.problem);
    EXPECT_NEAR(static_cast<double>(f.problem.Step / free), 1.0, 0.01);
}

TEST(ToleranceRule, ClosedFormProblemsMeetTheToleranceInFewerStepsThanBackStepControl) {
    for (const ClosedFormCase& c : closedFormCases()) {
        // Kepler's errors grow with the periods (an error in the energy is one in the period);
        // at 1e-19 its run is held by the rounding of every step, as the other modes' are.
        const bool kepler = c.Name.starts_with("Kepler");
        const Extended periods =
            kepler ? std::round(c.End / (2 * std::numbers::pi_v<Extended>)) : 1;
        ClosedFormRun tight(c, {"tolerance 1e-19", ErrorControl::Tolerance, 0.5L, 1e-19L});
        const std::int32_t steps = tight.run();
        EXPECT_LE(tight.error(), (kepler ? 3e-17L : 1e-17L) * periods) << c.Name;
        ClosedFormRun back(c, {"back step 1e-19", ErrorControl::Back, 0.5L, 1e-19L});
        EXPECT_LT(steps, back.run()) << c.Name;
        ClosedFormRun loose(c, {"tolerance 1e-12", ErrorControl::Tolerance, 0.5L, 1e-12L});
        const std::int32_t looseSteps = loose.run();
        EXPECT_LT(looseSteps, steps) << c.Name;
        // Each step within 1e-12; their errors add up over the run.
        EXPECT_LE(loose.error(), 1e-12L * looseSteps * periods) << c.Name;
        EXPECT_GT(loose.error(), 1e-17L) << c.Name;
    }
}

TEST(CompensatedIndependent, TheVariableIsTheExactSumOfTheSteps) {
    // x' = 2 is a line: every step is the radius limit times the factor, 0.05 rounded.
    CompiledFixture f(scalarPanes("0", "2"));
    f.state.RadLimit = 0.1L;
    AfterStep(f.state, f.problem);
    const Extended h = f.problem.Step;
    ASSERT_EQ(h, 0.1L * 0.5L);
    Extended plain = 0;
    for (int i = 0; i < 1000; ++i) {
        StepPlain(f.state, f.problem);
        plain += h;
    }
    const __float128 exact = static_cast<__float128>(h) * 1000;
    const __float128 kept = static_cast<__float128>(f.problem.CurrentIndep) +
                            static_cast<__float128>(indepLow(f.problem));
    EXPECT_LT(static_cast<double>(kept - exact), 1e-30);
    EXPECT_GT(static_cast<double>(kept - exact), -1e-30);
    // The plain sum has drifted by many units of the last place; the kept value is the sum
    // rounded once.
    EXPECT_GT(std::fabs(static_cast<double>(static_cast<__float128>(plain) - exact)), 1e-17);
    EXPECT_EQ(f.problem.CurrentIndep, static_cast<Extended>(exact));
}

TEST(CompensatedIndependent, TheLastStepLandsOnTheTerminalValueFromTheExactSum) {
    CompiledFixture f(scalarPanes("0", "2"));
    f.state.RadLimit = 0.1L;
    AfterStep(f.state, f.problem);
    const Extended h = f.problem.Step;
    f.problem.TEnd = 50.01L;
    f.problem.TermArmed = true;
    int steps = 0;
    while (!f.problem.Terminated && steps < 2000) {
        StepPlain(f.state, f.problem);
        ++steps;
    }
    EXPECT_EQ(steps, 1001);
    EXPECT_EQ(f.problem.CurrentIndep, 50.01L);
    EXPECT_EQ(indepLow(f.problem), 0);
    // The last step is what is left of TEnd after the exact sum of the 1000 steps before.
    const __float128 left = static_cast<__float128>(50.01L) - static_cast<__float128>(h) * 1000;
    EXPECT_EQ(f.problem.TakenStep, static_cast<Extended>(left));
}

TEST(CompensatedIndependent, InTheToleranceModeTheValuesAreExactSumsToo) {
    // x' = 0.1 with steps of the radius limit 0.1: every step adds the same rounded 0.01.
    CompiledFixture f(scalarPanes("0", "0.1"));
    f.state.RadLimit = 0.1L;
    chooseTolerance(f, 1e-19L);
    ASSERT_EQ(f.problem.Step, 0.1L);
    const Extended increment = 0.1L * 0.1L;
    for (int i = 0; i < 1000; ++i)
        StepPlain(f.state, f.problem);
    const __float128 exact = static_cast<__float128>(increment) * 1000;
    EXPECT_EQ(f.value(1), static_cast<Extended>(exact));
    // The plain mode adds the same increments with a rounding each time.
    CompiledFixture plain(scalarPanes("0", "0.1"));
    plain.state.RadLimit = 0.1L;
    plain.state.RadFactor = 1;
    AfterStep(plain.state, plain.problem);
    for (int i = 0; i < 1000; ++i)
        StepPlain(plain.state, plain.problem);
    EXPECT_NE(plain.value(1), static_cast<Extended>(exact));
}

} // namespace
