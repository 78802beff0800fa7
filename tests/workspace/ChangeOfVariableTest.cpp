// Change of independent variable: the rewritten lines, the refusals, and the rewritten problem
// reaching a value of the new variable exactly on the original's solution.
#include "workspace/ChangeOfVariable.h"

#include "common/OrvantaError.h"
#include "integrator/IntegrationRun.h"
#include "integrator/IntegratorFixture.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// Extended values closer than `limit` (the comparison stays in extended precision).
::testing::AssertionResult near(Extended a, Extended b, Extended limit) {
    if (std::fabs(a - b) <= limit)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "differ by " << static_cast<double>(a - b);
}

ProblemPanes oscillator() {
    return {{}, {"t = 0", "x = 0", "y = 1"}, {}, {"t' = 1", "x' = y", "y' = -x"}};
}

// Steps of a quarter of the radius, from the first one on.
struct QuarterStepProblem {
    ProgramState state;
    TCompiledProblem problem;
    FormulaAssembly assembly;
    explicit QuarterStepProblem(ProblemPanes panes) {
        state.RadFactor = 0.25L;
        FormulaParser parser;
        assembly = compileForIntegration(state, panes, problem, parser, false);
    }
    Extended value(std::int32_t main) const {
        return problem.Coefficients[problem.NumConst + main][0];
    }
};

} // namespace

TEST(ChangeOfVariable, OscillatorInXDividesEveryEquationByY) {
    ProblemPanes panes = rewriteInVariable(oscillator(), 1);
    EXPECT_EQ(panes.ODEs, (std::vector<std::string>{"t' = xNewStateVarFactor", "x' = 1",
                                                    "y' = (-x)*xNewStateVarFactor"}));
    EXPECT_EQ(panes.Aux, std::vector<std::string>{"xNewStateVarFactor = 1/y"});
    EXPECT_EQ(panes.Initial, oscillator().Initial);
}

TEST(ChangeOfVariable, CommentsAreDroppedAndCompoundDivisorsBracketed) {
    ProblemPanes panes{{"k = 2"},
                       {"s = 0", "u = 1", "w = 2"},
                       {"q = u*w"},
                       {"s' = 1 {time}", "u' = k {rate}", "w' = u + q  {a {nested} note}"}};
    ProblemPanes inW = rewriteInVariable(panes, 2);
    EXPECT_EQ(inW.ODEs, (std::vector<std::string>{"s' = wNewStateVarFactor",
                                                  "u' = k*wNewStateVarFactor", "w' = 1"}));
    EXPECT_EQ(inW.Aux, (std::vector<std::string>{"q = u*w", "wNewStateVarFactor = 1/(u + q)"}));
    // A number other than 1 keeps its line, multiplied.
    panes.ODEs[1] = "u' = 2.5*w";
    panes.ODEs[2] = "w' = 3 {constant}";
    ProblemPanes inU = rewriteInVariable(panes, 1);
    EXPECT_EQ(inU.ODEs[2], "w' = 3*uNewStateVarFactor");
    EXPECT_EQ(inU.Aux.back(), "uNewStateVarFactor = 1/(2.5*w)");
}

TEST(ChangeOfVariable, ALinearVariableIsRefused) {
    ProblemPanes panes{{}, {"t = 0", "u = 0"}, {}, {"t' = 1", "u' = 2 {steady}"}};
    try {
        rewriteInVariable(panes, 1);
        FAIL() << "a linear variable was accepted";
    } catch (const OrvantaError& error) {
        EXPECT_STREQ(error.what(), "A change for a linear variable makes no sense");
    }
    EXPECT_THROW(rewriteInVariable(panes, 0), OrvantaError) << "the independent variable itself";
    EXPECT_THROW(rewriteInVariable(panes, 2), OrvantaError) << "no such line";
}

TEST(ChangeOfVariable, VariablesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(odeLineOf(oscillator(), "Y"), 2u);
    EXPECT_EQ(odeLineOf(oscillator(), "x"), 1u);
    EXPECT_FALSE(odeLineOf(oscillator(), "z"));
}

// x = sin t, y = cos t: in x the problem reaches x = 0.5 exactly, where t = pi/6. Its
// singularity at x = 1 is close, so the steps are a quarter of the radius.
TEST(ChangeOfVariable, RewrittenOscillatorReachesXExactlyOnTheCircle) {
    QuarterStepProblem f(rewriteInVariable(oscillator(), 1));
    ASSERT_EQ(f.problem.IndepName, "x");
    FakeUi ui;
    ASSERT_TRUE(setTermination(f.state, f.problem, ui, true, "0.5", {}));
    RunOutcome outcome =
        runMore(f.state, f.problem, ui, "1000", RunSettings{f.assembly.MainNames, {}, {}, {}});
    ASSERT_EQ(outcome.End, RunEnd::Terminated) << outcome.Error;
    EXPECT_EQ(f.value(1), 0.5L);
    EXPECT_TRUE(near(f.value(0), std::numbers::pi_v<Extended> / 6, 1e-18L));
    EXPECT_TRUE(near(f.value(2), std::sqrt(3.0L) / 2, 1e-18L));

    // The original problem, run to t = pi/6 the same way, is at the same point.
    QuarterStepProblem original(oscillator());
    ASSERT_TRUE(setTermination(original.state, original.problem, ui, true,
                               "0.52359877559829887307710723054658", {}));
    runMore(original.state, original.problem, ui, "1000",
            RunSettings{original.assembly.MainNames, {}, {}, {}});
    EXPECT_TRUE(near(original.value(1), 0.5L, 1e-18L));
    EXPECT_TRUE(near(original.value(2), f.value(2), 1e-18L));
}
