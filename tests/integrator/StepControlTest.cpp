#include "integrator/StepControl.h"
#include "engine/HandBuiltProblem.h"
#include "engine/TaylorEngine.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<Extended> series(int n, Extended (*term)(int)) {
    std::vector<Extended> a(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        a[static_cast<std::size_t>(i)] = term(i);
    return a;
}

Extended inverseFactorial(int i) {
    Extended f = 1;
    for (int j = 2; j <= i; ++j)
        f *= j;
    return 1 / f;
}

TEST(VarRate, GeometricSeriesGivesRadiusNearTwo) {
    ProgramState state;
    const auto a = series(31, [](int i) { return std::ldexp(1.0L, -i); });
    const float rate = VarRate(state, a.data());
    EXPECT_NEAR(rate, -0.93273163f, 1e-7f);
    EXPECT_NEAR(static_cast<double>(std::pow(0.5L, static_cast<Extended>(rate))), 1.9088869, 1e-7);
}

TEST(VarRate, ExponentialSeriesGivesTheRadiusAndStep) {
    ProgramState state;
    // x' = x from 1: its coefficients are 1/i!.
    std::vector<HandVariable> vars = {{1, false}, {0, false}};
    auto p = handBuilt(0, 1, 0, vars, {instruction(ClassVV, OpCopy, 0, 0, 1, 1)}, -1, 31);
    ComputeCoefficients(p, state);
    EXPECT_NEAR(p.Coefficients[0][30], inverseFactorial(30), 1e-40L);
    EXPECT_NEAR(VarRate(state, p.Coefficients[0]), -2.6546326f, 1e-6f);
    AfterStep(state, p);
    EXPECT_NEAR(static_cast<double>(p.Radius), 6.2968599, 1e-6);
    EXPECT_NEAR(static_cast<double>(p.Step), 3.1484300, 1e-6);
    EXPECT_EQ(radiusText(p), "Heuristic conv. radius: 6.29686");
}

TEST(VarRate, ConstantSolutionUsesTheRadiusLimit) {
    ProgramState state;
    std::vector<HandVariable> vars = {{5, false}, {0, false}};
    auto p = handBuilt(0, 1, 0, vars, {}, -1, 31);
    ComputeCoefficients(p, state);
    EXPECT_EQ(VarRate(state, p.Coefficients[0]), RateSentinel);
    AfterStep(state, p);
    EXPECT_EQ(p.Radius, 10);
    EXPECT_EQ(p.Step, 5);
    p.Direction = -1;
    AfterStep(state, p);
    EXPECT_EQ(p.Step, -5);
}

TEST(VarRate, FirstWindowTightestAveragesFromPositionOne) {
    ProgramState state;
    state.TermCount = 20; // RateTop 10, RateWindow 2
    BuildRecurrenceTables(state);
    // Rates e/i all equal to -1 except a[1]: the first window is already tight (spread 0).
    auto a = series(20, [](int i) { return std::ldexp(0.75L, -i); });
    a[1] = 0.75L * 8; // rate 3/1 = 3
    // Sorted: 3, -1, -1, ... (window 0..2 spread 4; the loop finds spread 0 at position 1).
    EXPECT_EQ(VarRate(state, a.data()), -1.0f);
}

TEST(VarRate, TightestFirstWindowStillAveragesFromPositionOne) {
    ProgramState state;
    state.TermCount = 20; // RateTop 10, RateWindow 2
    BuildRecurrenceTables(state);
    // Rates -1, -1, -1 (i = 1, 2, 3), then -2 (i = 4), then -3: the first window has no spread,
    // so the search stops at once and the mean is taken over positions 1 to 3.
    auto a = series(20, [](int i) { return std::ldexp(0.75L, 1 - 3 * i); });
    for (int i = 1; i <= 3; ++i)
        a[static_cast<std::size_t>(i)] = std::ldexp(0.75L, -i);
    a[4] = std::ldexp(0.75L, -8);
    EXPECT_EQ(VarRate(state, a.data()), -4.0f / 3.0f);
}

struct ToleranceCase {
    const char* abs;
    const char* rel;
    Extended a, b;
    bool passes;
};

TEST(ErrorTests, TolerancesCombineAsDocumented) {
    const ToleranceCase cases[] = {
        {"1e-3", "", 1.0L, 1.0005L, true},   {"1e-3", "", 1.0L, 1.002L, false},
        {"", "1e-3", 0.0L, 0.0L, true},      {"", "1e-3", 100.0L, 100.05L, true},
        {"", "1e-3", 100.0L, 100.2L, false}, {"10", "1e-9", 5.0L, 9.0L, true},
        {"1", "1e-9", 5.0L, 5.1L, false},    {"", "", 1.0L, 2.0L, true},
    };
    for (const auto& c : cases) {
        std::vector<HandVariable> vars = {{c.a, false}, {0, false}};
        auto p = handBuilt(0, 1, 0, vars, {}, -1, 3);
        ASSERT_FALSE(readTolerances(p, {c.abs}, {c.rel}));
        p.BackVal[0] = c.b;
        p.StepTable[0][0] = c.a;
        std::int32_t failing = -1;
        EXPECT_EQ(MiddleTestPassed(p, failing), c.passes) << c.abs << " " << c.rel << " " << c.b;
        EXPECT_EQ(BackTestPassed(p, failing), c.passes) << c.abs << " " << c.rel;
    }
}

TEST(ErrorTests, ToleranceCellThatDoesNotParseIsReported) {
    std::vector<HandVariable> vars = {{1, false}, {1, false}, {0, false}, {0, false}};
    auto p = handBuilt(0, 2, 0, vars, {}, -1, 3);
    EXPECT_EQ(readTolerances(p, {"1e-9", " 1e-9x"}, {"", ""}), " 1e-9x wrong");
}

TEST(ErrorTests, FailureReportStopsOrLogs) {
    ProgramState state;
    FakeUi ui;
    std::vector<HandVariable> vars = {{0, false}, {1, false}, {1, false}, {0, false}};
    auto p = handBuilt(0, 2, 0, vars, {}, 0, 3);
    p.IndepName = "t";
    p.CurrentIndep = 2.5L;
    readTolerances(p, {"", ""}, {"", "1e-9"});
    EXPECT_TRUE(ReportStepFailure(state, p, ui, 1, {"t", "x"}, false));
    EXPECT_EQ(ui.lastMessage(),
              "Step splitting exceeded the limit.\n\r x failed the Relative error test");
    readTolerances(p, {"", "1e-9"}, {"", "1e-9"});
    EXPECT_FALSE(ReportStepFailure(state, p, ui, 1, {"t", "x"}, true));
    ASSERT_EQ(state.FailureLog.size(), 1u);
    EXPECT_EQ(state.FailureLog[0], "x \tat t = 2.5 Absolute");
}

TEST(StepSettings, FactorAndLimitControls) {
    ProgramState state;
    FakeUi ui;
    std::vector<HandVariable> vars = {{5, false}, {0, false}};
    auto p = handBuilt(0, 1, 0, vars, {}, -1, 31);
    ComputeCoefficients(p, state);
    EXPECT_EQ(changeRadiusFactor(state, p, "abc"), "0.5");
    EXPECT_FALSE(changeRadiusFactor(state, p, " 0.25 "));
    EXPECT_EQ(p.Step, 2.5L);
    p.SpecialWindow = 7;
    ui.inputAnswers.push_back("-4");
    changeRadiusLimit(state, p, ui);
    EXPECT_EQ(ui.inputPrompts.back(), "Changing|Limit for convergence radius|10");
    EXPECT_EQ(state.RadLimit, 4);
    EXPECT_EQ(p.SpecialWindow, 4);
    EXPECT_EQ(radiusLimitText(state), "Radius limit: 4");
}

} // namespace
