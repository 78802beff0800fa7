#include "engine/TaylorEngine.h"
#include "common/OrvantaError.h"
#include "engine/EngineState.h"
#include "engine/HandBuiltProblem.h"
#include "engine/Series.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Extended factorial(int n) {
    Extended f = 1;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

std::string singularityOf(TCompiledProblem& problem, EngineState& engine) {
    try {
        ComputeCoefficients(problem, engine);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "";
}

TEST(TaylorEngine, ExpOfTGivesItsValueOverKFactorial) {
    EngineState engine;
    auto p = functionOfT(OpExp, 0.75L, 0, engine.TermCount);
    ComputeCoefficients(p, engine);
    for (int k = 0; k < engine.TermCount; ++k)
        EXPECT_NEAR(p.Coefficients[2][k] / (std::exp(0.75L) / factorial(k)), 1.0L, 1e-17L) << k;
}

TEST(TaylorEngine, SinAndCosOfTAtZeroAreTheirSeries) {
    EngineState engine;
    auto sinT = functionOfT(OpSin, 0, 0, engine.TermCount, OpCos);
    auto cosT = functionOfT(OpCos, 0, 0, engine.TermCount, OpSin);
    ComputeCoefficients(sinT, engine);
    ComputeCoefficients(cosT, engine);
    for (int k = 0; k < engine.TermCount; ++k) {
        const Extended term = 1 / factorial(k);
        const Extended sinK = k % 2 == 0 ? 0 : (k % 4 == 1 ? term : -term);
        const Extended cosK = k % 2 == 1 ? 0 : (k % 4 == 0 ? term : -term);
        EXPECT_NEAR(sinT.Coefficients[2][k], sinK, 1e-18L * term) << k;
        EXPECT_NEAR(cosT.Coefficients[2][k], cosK, 1e-18L * term) << k;
    }
    EXPECT_EQ(sinT.Coefficients[2][3], -1.0L / 6);
    EXPECT_EQ(cosT.Coefficients[2][2], -0.5L);
}

TEST(TaylorEngine, CubeOfTAtZeroIsExact) {
    EngineState engine;
    auto p = functionOfT(OpPow, 0, 3, engine.TermCount);
    ComputeCoefficients(p, engine);
    for (int k = 0; k < engine.TermCount; ++k)
        EXPECT_EQ(p.Coefficients[2][k], k == 3 ? 1.0L : 0.0L) << k;
}

TEST(TaylorEngine, PowersOfTAwayFromZeroFollowTheBinomialSeries) {
    EngineState engine;
    auto p = functionOfT(OpPow, 2, -1.5L, engine.TermCount);
    ComputeCoefficients(p, engine);
    // (2 + s)^b = 2^b sum binom(b, k) (s/2)^k
    Extended expected = std::pow(2.0L, -1.5L);
    for (int k = 0; k < 10; ++k) {
        EXPECT_NEAR(p.Coefficients[2][k] / expected, 1.0L, 1e-17L) << k;
        expected *= (-1.5L - k) / (k + 1) / 2;
    }
}

TEST(TaylorEngine, SquareRootOfTAtZeroIsASingularityNamingThePower) {
    EngineState engine;
    auto p = functionOfT(OpPow, 0, 0.5L, engine.TermCount);
    EXPECT_EQ(singularityOf(p, engine), "Singularity! Instruction 0: operation ^");
    EXPECT_EQ(engine.FailedInstruction, 0);
    EXPECT_EQ(engine.FailedLine, 2);
}

TEST(TaylorEngine, CubeFaultsAtZeroWhileTheSquareDoesNot) {
    EngineState engine;
    // x' = x^3 (power rule, divides by x0) and x' = x^2 (square rule, no division) from x = 0.
    std::vector<HandVariable> vars = {{3, true}, {0, false}, {0, false}};
    auto cube =
        handBuilt(1, 1, 0, vars, {instruction(ClassVC, OpPow, 1, 0, 2, 1)}, -1, engine.TermCount);
    EXPECT_EQ(singularityOf(cube, engine), "Singularity! Instruction 0: operation ^");
    auto square = handBuilt(1, 1, 0, vars, {instruction(ClassVC, OpSquare, 1, 0, 2, 1)}, -1,
                            engine.TermCount);
    EXPECT_EQ(singularityOf(square, engine), "");
}

TEST(TaylorEngine, ReciprocalOfTAtZeroFaultsUnlessItIsTheSpecialPoint) {
    EngineState engine;
    // r = 1/t: cv "/" with the constant 1 and t.
    std::vector<HandVariable> vars = {{1, true}, {0, false}, {0, false}, {1, false}};
    auto p =
        handBuilt(1, 1, 1, vars, {instruction(ClassCV, OpDiv, 0, 1, 2, 2)}, 0, engine.TermCount);
    EXPECT_EQ(singularityOf(p, engine), "Singularity! Instruction 0: operation /");

    for (int k = 0; k < engine.TermCount; ++k)
        p.SpecialValues.push_back(100 + k);
    p.SpecialPoint = 0;
    p.CurrentIndep = 0;
    ComputeCoefficients(p, engine);
    for (int k = 0; k < engine.TermCount; ++k)
        EXPECT_EQ(p.Coefficients[2][k], 100 + k) << k;

    p.CurrentIndep = 1e-30L; // not exactly the special point
    EXPECT_EQ(singularityOf(p, engine), "Singularity! Instruction 0: operation /");
}

TEST(TaylorEngine, OperationsWithoutRecurrenceAreReportedByName) {
    EngineState engine;
    std::vector<HandVariable> vars = {{2, true}, {1, false}, {0, false}};
    auto p =
        handBuilt(1, 1, 0, vars, {instruction(ClassVC, OpMod, 1, 0, 2, 1)}, -1, engine.TermCount);
    EXPECT_EQ(singularityOf(p, engine), "Singularity! Instruction 0: operation mod");
    auto q =
        handBuilt(1, 1, 0, vars, {instruction(ClassVC, OpLog, 1, 0, 2, 1)}, -1, engine.TermCount);
    // log has an order-0 value, so the fault comes at order 1.
    EXPECT_EQ(singularityOf(q, engine), "Singularity! Instruction 0: operation log");
}

TEST(TaylorEngine, MinimumTermCountFillsThreeCoefficients) {
    EngineState engine;
    engine.TermCount = 2;
    BuildRecurrenceTables(engine);
    EXPECT_EQ(engine.TermCount, 3);
    // x' = 2x from x = 1: coefficients 1, 2, 2.
    std::vector<HandVariable> vars = {{2, true}, {1, false}, {0, false}};
    auto p = handBuilt(1, 1, 0, vars, {instruction(ClassVC, OpMul, 1, 0, 2, 1)}, -1, 3);
    ComputeCoefficients(p, engine);
    EXPECT_EQ(p.Coefficients[1][0], 1);
    EXPECT_EQ(p.Coefficients[1][1], 2);
    EXPECT_EQ(p.Coefficients[1][2], 2);
    EXPECT_EQ(p.Coefficients[2][2], 4); // the right side's last coefficient is computed too
}

TEST(TaylorEngine, RateWindowSizesRoundHalfToEven) {
    EngineState engine;
    const std::pair<int, std::pair<int, int>> cases[] = {
        {25, {12, 3}}, {31, {16, 4}}, {20, {10, 2}}};
    for (const auto& [n, sizes] : cases) {
        engine.TermCount = n;
        BuildRecurrenceTables(engine);
        EXPECT_EQ(engine.RateTop, sizes.first) << n;
        EXPECT_EQ(engine.RateWindow, sizes.second) << n;
        EXPECT_EQ(engine.RateBuf.size(), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(engine.FracSqrt[triangleRow(4) + 1], (4.0L - 3) / 8);
}

TEST(TaylorEngine, WorkedExampleMatchesTheClosedForm) {
    // x' = a sin(x)^2 with a = 2, x(0) = 1: cot x = cot 1 - 2t.
    EngineState engine;
    std::vector<HandVariable> vars = {{2, true},  {1, false}, {0, false}, {0, true},
                                      {0, false}, {0, false}, {2, true},  {0, false}};
    std::vector<TInstruction> code = {
        instruction(ClassVC, OpSin, 1, 5, 4, 2), instruction(ClassVC, OpCos, 1, 4, 5, 2),
        instruction(ClassVC, OpSquare, 4, 6, 7, 2), instruction(ClassCV, OpMul, 0, 7, 2, 2)};
    auto p = handBuilt(1, 1, 0, vars, code, -1, engine.TermCount);
    ComputeCoefficients(p, engine);
    for (Extended s : {0.05L, -0.1L, 0.2L}) {
        const Extended exact = std::atan2(1.0L, 1 / std::tan(1.0L) - 2 * s);
        EXPECT_NEAR(EvalSeries(p.Coefficients[1], engine.TermCount, s), exact, 4e-18L) << s;
    }
}

TEST(TaylorEngine, LorenzAgreesWithPublishedCoefficients) {
    EngineState engine;
    auto p = handBuiltLorenz(engine.TermCount);
    ComputeCoefficients(p, engine);
    EXPECT_EQ(p.Coefficients[4][2], 130);
    EXPECT_NEAR(p.Coefficients[4][30] / 3202119796772424753.0L, 1.0L, 1e-17L);
}

TEST(TaylorEngine, CircularKeplerOrbitIsTheCosineSeries) {
    EngineState engine;
    auto p = handBuiltKepler(1, 0, 0, 1, engine.TermCount);
    ComputeCoefficients(p, engine);
    // x^2 + y^2 = 1 cancels to rounding noise whose effect grows like 3^k over the orders, so
    // order 30 keeps about seven digits (measured: -0.99999978 and 0.99999992 times 1/k!).
    EXPECT_EQ(p.Coefficients[3][2], -0.5L);
    EXPECT_NEAR(p.Coefficients[3][30] * factorial(30), -1.0L, 1e-6L);
    EXPECT_NEAR(p.Coefficients[4][29] * factorial(29), 1.0L, 1e-6L); // y = sin t
}

TEST(Series, HornerValueAndSlope) {
    const Extended a[] = {1, 2, 3, 4};
    EXPECT_EQ(EvalSeries(a, 4, 0), 1);
    EXPECT_EQ(EvalSeries(a, 4, 2), 1 + 4 + 12 + 32);
    EXPECT_EQ(EvalSeriesDeriv(a, 4, 2), 2 + 12 + 48);
    EXPECT_EQ(EvalSeries(a, 4, -1), 1 - 2 + 3 - 4);
}

TEST(EnginePlan, RebuildsWhenTheInstructionListChanges) {
    EngineState engine;
    std::vector<HandVariable> vars = {{2, true}, {1, false}, {0, false}};
    auto p =
        handBuilt(1, 1, 0, vars, {instruction(ClassVC, OpMul, 1, 0, 2, 1)}, -1, engine.TermCount);
    ComputeCoefficients(p, engine);
    EXPECT_EQ(p.Coefficients[1][2], 2); // x = e^(2t)
    p.ActiveInstructions[0].Op = OpAdd; // x' = x + 2 now
    p.Coefficients[1][0] = 1;
    ComputeCoefficients(p, engine);
    EXPECT_EQ(p.Coefficients[1][1], 3);
    EXPECT_EQ(p.Coefficients[1][2], 1.5L);
}

} // namespace
