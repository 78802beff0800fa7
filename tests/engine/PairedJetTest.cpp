// The fast jet reads coefficients as exact pairs of doubles. It must leave the very bits the
// plain 80-bit jet leaves, on every problem and recurrence and at every point, and go back to
// 80-bit values wherever a coefficient does not split.
#include "common/OrvantaError.h"
#include "engine/CompiledFromText.h"
#include "engine/EnginePlan.h"
#include "engine/EngineState.h"
#include "engine/PlainBits.h"
#include "engine/TaylorEngine.h"
#include "engine/ValuePair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <random>
#include <set>
#include <string>

namespace {

// The jet at the start and at three points along the path, each against the plain jet; the kinds
// of step the plan runs go into `kinds`.
void expectPlainBitsAlongThePath(TCompiledProblem problem, EngineState& engine, Extended h,
                                 std::set<PlanKind>& kinds) {
    for (int point = 0; point < 4; ++point) {
        SCOPED_TRACE(point);
        EXPECT_FALSE(expectPlainBits(problem, engine)) << "went back to 80-bit values";
        advance(problem, h, engine.TermCount);
    }
    const EnginePlan& plan = *problem.Plan;
    for (const auto* steps : {&plan.Steps, &plan.FastSteps, &plan.ChainSteps})
        for (const PlanStep& step : *steps)
            kinds.insert(step.Kind);
}

TEST(PairedJet, SplitsGiveTheValueBackBitForBit) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> exponent(-1000, 1000);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t mantissa = random() | (std::uint64_t{1} << 63);
        Extended x = std::ldexp(static_cast<Extended>(mantissa), exponent(random) - 63);
        if (i % 2 != 0)
            x = -x;
        const ValuePair pair = splitValue(x);
        ASSERT_TRUE(splitsExactly(pair, x)) << std::setprecision(21) << x;
        ASSERT_TRUE(sameBits(joinValue(pair), x)) << std::setprecision(21) << x;
        ASSERT_EQ(static_cast<double>(x), pair.Hi);
        // The pair of -x is the pair of x negated, half by half.
        const ValuePair negated = negatePair(pair), direct = splitValue(-x);
        ASSERT_EQ(std::memcmp(&negated, &direct, sizeof negated), 0) << std::setprecision(21) << x;
    }
    // Near the ends of double's range a split is taken only where it gives x back, and always
    // from 2^-1010 up to below 2^1023 (the rounding of Hi can cross a power of two).
    for (int e = -1030; e <= 1030; e += (e == -990 ? 2000 : 1))
        for (int i = 0; i < 200; ++i) {
            const std::uint64_t mantissa = random() | (std::uint64_t{1} << 63);
            const Extended x = std::ldexp(static_cast<Extended>(mantissa), e - 63);
            const ValuePair pair = splitValue(x);
            const bool inside = e >= -1010 && e <= 1022;
            ASSERT_TRUE(splitsExactly(pair, x) || !inside) << std::setprecision(21) << x;
            ASSERT_TRUE(sameBits(joinValue(pair), x) || !splitsExactly(pair, x))
                << std::setprecision(21) << x;
        }
    for (const Extended zero : {0.0L, -0.0L}) {
        const ValuePair pair = splitValue(zero);
        EXPECT_TRUE(sameBits(joinValue(pair), zero));
        EXPECT_TRUE(sameBits(joinValue(negatePair(pair)), -zero));
    }
    // A rest of a few bits splits exactly down to 2^-1010 (a whole double would not).
    EXPECT_TRUE(splitsExactly(splitValue(1e-300L / 3), 1e-300L / 3));
    EXPECT_TRUE(splitsExactly(splitValue(1e300L / 3), 1e300L / 3));
}

TEST(PairedJet, ValuesOutsideDoublesRangeDoNotSplit) {
    const Extended denormalDouble = 4e-320L / 3, beyondDouble = 1e309L;
    for (const Extended x :
         {1e4000L, -1e-4000L, denormalDouble, beyondDouble, 1e-310L / 3,
          std::numeric_limits<Extended>::infinity(), -std::numeric_limits<Extended>::infinity(),
          std::numeric_limits<Extended>::quiet_NaN(), std::numeric_limits<Extended>::denorm_min()})
        EXPECT_FALSE(splitsExactly(splitValue(x), x)) << x;
}

TEST(PairedJet, SharedProblemsGiveThePlainBitsAlongTheirPaths) {
    EngineState engine;
    std::set<PlanKind> kinds;
    for (const char* name : {"lorenz.ode", "kepler.ode", "figure8.ode", "nbody2_2d.ode",
                             "nbody3_2d.ode", "nbody10_3d.ode"}) {
        SCOPED_TRACE(name);
        expectPlainBitsAlongThePath(compileFile(name, engine.TermCount), engine, 0.01L, kinds);
    }
    EXPECT_EQ(engine.UnsplitJets, 0u);
    // The fused shapes: paired products, scaled products, sum chains and paired powers.
    for (PlanKind kind :
         {PlanKind::MulVVPair, PlanKind::ScaledProducts, PlanKind::SumChain, PlanKind::PowPair})
        EXPECT_TRUE(kinds.count(kind)) << static_cast<int>(kind);
}

TEST(PairedJet, EveryRecurrenceGivesThePlainBits) {
    EngineState engine;
    std::set<PlanKind> kinds;
    // Functions of variables that move, then of the independent variable t (the shortcuts),
    // each with and without the trigonometric companions that keep the list order.
    const ProblemPanes moving = {
        {"a = 0.3", "b = 2.5", "h = -1.5", "m = 3"},
        {"t = 0.4", "x = 0.2", "y = 0.7"},
        {"g = arccos(x)/arcsin(y/2)", "e = arctan(x)*exp(x) + ln(y)",
         "q = sqrt(y)/y^h + x^b + (x+y)^2 - x^m", "d = a/(1+y) - (x*y)/(2+x) + a*x - x*a",
         "n = a - x + x/m - (0 - y)", "s = sin(x)*cos(y) - tan(x) + sqrt(1 - x^2)"},
        {"t' = 1", "x' = g*a + e + n", "y' = e - q + d + s"}};
    const ProblemPanes ofT = {{"c = 3"},
                              {"t = 0.4", "x = 1.2"},
                              {"u = exp(t) + ln(t) - sqrt(t)", "w = t^c + t^(0-2) + t^2.5 + t^0.5",
                               "z = 1/t + x/t + t*x + (x + 1)*t",
                               "v = arcsin(t) + arccos(t) - arctan(t)",
                               "s = sin(t)*cos(t) + tan(t)"},
                              {"t' = 1", "x' = u - w + z + v + s"}};
    for (const ProblemPanes& panes : {moving, ofT}) {
        SCOPED_TRACE(panes.ODEs.back());
        expectPlainBitsAlongThePath(compile(panes, engine.TermCount), engine, 0.01L, kinds);
    }
    // A polynomial with a part in t and terms in x and y.
    TCompiledPolynomial polynomial;
    polynomial.IndepCoefficients = {0.5L, -2, 3, 0, 0.25L};
    polynomial.LinearTerms = {{1.5L, 2}};
    polynomial.SquareTerms = {{-0.75L, 3}};
    polynomial.ProductTerms = {{2, 2, 3}};
    expectPlainBitsAlongThePath(
        compile({{"k = 0"},
                 {"t = 0.3", "x = 0.2", "y = -0.4"},
                 {},
                 {"t' = 1", "x' = polynomial(k)*0.1", "y' = x - polynomial(k)/7"}},
                engine.TermCount, {polynomial}),
        engine, 0.01L, kinds);
    // Products and powers that fuse, from the shared problems.
    for (const char* name : {"lorenz.ode", "nbody3_2d.ode"})
        expectPlainBitsAlongThePath(compileFile(name, engine.TermCount), engine, 0.01L, kinds);
    for (int kind = static_cast<int>(PlanKind::CopyU); kind <= static_cast<int>(PlanKind::PowPair);
         ++kind)
        EXPECT_TRUE(kinds.count(static_cast<PlanKind>(kind))) << "kind " << kind << " not run";
}

// x' = y z - x/(2 + z), y' = sqrt(z) y - x z, z' = 1/2 - z^2 + exp(-z) from (v, v/3, 1/4):
// linear in x and y, so any scale of v stays finite in 80 bits.
TCompiledProblem scaledLinear(const std::string& v, std::int32_t termCount) {
    return compile({{"v = " + v},
                    {"x = v", "y = v/3", "z = 0.25"},
                    {},
                    {"x' = y*z - x/(2 + z)", "y' = sqrt(z)*y - x*z", "z' = 0.5 - z^2 + exp(0-z)"}},
                   termCount);
}

TEST(PairedJet, ValuesBeyondDoublesRangeTakeThe80BitJet) {
    EngineState engine;
    for (const char* scale : {"1e4000", "-1e-4000", "1e-315", "1e309"}) {
        SCOPED_TRACE(scale);
        auto p = scaledLinear(scale, engine.TermCount);
        EXPECT_TRUE(expectPlainBits(p, engine));
    }
    // Near the ends of the range some coefficients split and some may not: the bits are the
    // plain ones either way.
    for (const char* scale : {"1e300", "1e-300", "1e-305", "1e305"}) {
        SCOPED_TRACE(scale);
        auto p = scaledLinear(scale, engine.TermCount);
        expectPlainBits(p, engine);
    }
    auto ordinary = scaledLinear("1.5", engine.TermCount);
    EXPECT_FALSE(expectPlainBits(ordinary, engine));
}

TEST(PairedJet, PowerWeightsThatDoNotSplitAreReadIn80Bits) {
    // z stays 1, so z^b with b = 1e4000 has coefficients 1, 0, 0, ...: the weights of b do not
    // split, the coefficients do, and the jet stays on pairs.
    EngineState engine;
    auto p = compile({{"b = 1e4000", "c = 1e-4000"},
                      {"x = 0.5", "z = 1"},
                      {"q = z^b + z^c"},
                      {"x' = 0.25*q*x", "z' = 0*x"}},
                     engine.TermCount);
    EXPECT_FALSE(expectPlainBits(p, engine));
    ASSERT_TRUE(p.Plan);
    bool unpairedWeights = false;
    for (const PowerWeights& weights : p.Plan->Powers)
        unpairedWeights = unpairedWeights || !weights.Paired;
    EXPECT_TRUE(unpairedWeights);
}

TEST(PairedJet, FaultsAfterAFallBackAreReportedAsBefore) {
    // x is too large to split, and moved to z = 1/4, 1/(z - 1/4) divides by zero.
    EngineState engine;
    auto p = compile({{"v = 1e4000"}, {"x = v", "z = 0.5"}, {}, {"x' = x*z", "z' = 1/(z - 0.25)"}},
                     engine.TermCount);
    p.Coefficients[p.NumConst + 1][0] = 0.25L;
    auto checked = p;
    std::string fast, plain;
    try {
        ComputeCoefficients(p, engine);
    } catch (const OrvantaError& error) {
        fast = error.what();
    }
    try {
        ComputeCoefficientsChecked(checked, engine);
    } catch (const OrvantaError& error) {
        plain = error.what();
    }
    EXPECT_EQ(fast, plain);
    EXPECT_EQ(fast.rfind("Singularity! Instruction ", 0), 0u) << fast;
}

} // namespace
