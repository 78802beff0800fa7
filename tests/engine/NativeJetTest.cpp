// The jet compiled to machine code must leave the very bits of the interpreted jet, and give way
// to it wherever its result cannot be used: a value that does not split, an exponent changed
// since it was written, a fault, an operation it has no code for, no compiler.
#include "engine/NativeJet.h"
#include "common/OrvantaError.h"
#include "engine/CompiledFromText.h"
#include "engine/EnginePlan.h"
#include "engine/HandBuiltProblem.h"
#include "engine/PlainBits.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

void makeNative(TCompiledProblem& problem, EngineState& engine,
                NativeArrays arrays = NativeArrays::Every) {
    std::string why;
    ASSERT_TRUE(useNativeJet(problem, engine, arrays, why)) << why;
}

// The error text of a jet, or empty when it ran through.
std::string jetError(TCompiledProblem& problem, EngineState& engine, bool checked) {
    try {
        if (checked)
            ComputeCoefficientsChecked(problem, engine);
        else
            ComputeCoefficients(problem, engine);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return {};
}

TEST(NativeJet, SharedProblemsGiveTheInterpretedBitsAlongTheirPaths) {
    EngineState engine;
    for (const char* name :
         {"lorenz.ode", "kepler.ode", "figure8.ode", "nbody2_2d.ode", "nbody3_2d.ode"}) {
        SCOPED_TRACE(name);
        TCompiledProblem problem = compileFile(name, engine.TermCount);
        makeNative(problem, engine);
        const std::uint64_t before = engine.NativeJets;
        for (int point = 0; point < 4; ++point) {
            SCOPED_TRACE(point);
            expectPlainBits(problem, engine);
            advance(problem, 0.01L, engine.TermCount);
        }
        EXPECT_EQ(engine.NativeJets - before, 4u);
    }
}

TEST(NativeJet, FillingTheVariablesOnlyGivesTheirBits) {
    EngineState engine;
    for (const char* name : {"kepler.ode", "figure8.ode"}) {
        SCOPED_TRACE(name);
        TCompiledProblem problem = compileFile(name, engine.TermCount);
        makeNative(problem, engine, NativeArrays::Variables);
        for (int point = 0; point < 3; ++point) {
            expectPlainBits(problem, engine, problem.DerivStart);
            advance(problem, 0.01L, engine.TermCount);
        }
    }
    EXPECT_EQ(engine.NativeJets, 6u);
}

TEST(NativeJet, EveryStepItWritesGivesTheInterpretedBits) {
    // Copies, negations, constant factors and quotients, sums and differences, products,
    // quotients of variables and of a constant by a variable, squares and their negations,
    // powers; sums of one level run side by side.
    EngineState engine;
    auto p =
        compile({{"a = 3", "c = -1.5"},
                 {"x = 0.5", "y = -0.25", "z = 2"},
                 {"q = x^2 + z^c", "m = -z^2"},
                 {"x' = a*y - z/a + q", "y' = x*z - m*a", "z' = -(x*y) + z^a - y + x/z + a/z"}},
                engine.TermCount);
    // The functions and their weighted sums.
    auto functions = compile({{"a = 0.5"},
                              {"x = 0.3", "y = 0.2"},
                              {"q = sin(x) + cos(y)", "e = exp(x) + sqrt(y + 1) + ln(y + 2)",
                               "g = arctan(x) + arcsin(a*y) + arccos(a*x) + tan(a*y)"},
                              {"x' = q - e*a", "y' = g*a - y"}},
                             engine.TermCount);
    // The shortcuts for functions of t itself and products and quotients with t.
    auto ofT = compile({{"a = 0.5"},
                        {"t = 0.5", "x = 0.3"},
                        {"q = sin(t) + cos(t) + exp(t) + ln(t) + sqrt(t)"},
                        {"t' = 1", "x' = q*a + t*x - x*t*a + x/t - a/t"}},
                       engine.TermCount);
    for (TCompiledProblem* problem : {&p, &functions, &ofT}) {
        makeNative(*problem, engine);
        for (int point = 0; point < 3; ++point) {
            expectPlainBits(*problem, engine);
            advance(*problem, 0.05L, engine.TermCount);
        }
    }
    EXPECT_EQ(engine.NativeJets, 9u);
}

TEST(NativeJet, CopiesOfAProblemShareOneBuild) {
    // The workers of a batch each prepare the same problem.
    EngineState first, second;
    auto one = compileFile("lorenz.ode", first.TermCount);
    auto other = compileFile("lorenz.ode", second.TermCount);
    makeNative(one, first);
    makeNative(other, second);
    EXPECT_NE(one.Plan, other.Plan);
    EXPECT_EQ(one.Plan->Native, other.Plan->Native);
}

TEST(NativeJet, GivesWayWhenItsResultCannotBeUsed) {
    EngineState engine;
    // A value beyond double's range does not split: the interpreted jets take over.
    auto big =
        compile({{}, {"x = 1e4000", "y = 1"}, {}, {"x' = x*y", "y' = -y*y"}}, engine.TermCount);
    makeNative(big, engine);
    expectPlainBits(big, engine);
    // An exponent changed after the code was written: the code refuses to run.
    auto power = compileFile("kepler.ode", engine.TermCount);
    makeNative(power, engine);
    for (std::int32_t v = 0; v < power.Coefficients.count(); ++v)
        if (power.Coefficients.length(v) == 1 && power.Coefficients[v][0] == -1.5L)
            power.Coefficients[v][0] = -0.5L;
    expectPlainBits(power, engine);
    EXPECT_EQ(engine.NativeJets, 0u);
    // A fault is reported as the interpreted jet reports it.
    auto pole = compile({{"c = -1.5"}, {"x = 1", "z = 0.5"}, {}, {"x' = x*z", "z' = (z - 0.25)^c"}},
                        engine.TermCount);
    makeNative(pole, engine);
    pole.Coefficients[pole.NumConst + 1][0] = 0.25L;
    auto checked = pole;
    const std::string fast = jetError(pole, engine, false);
    EXPECT_EQ(fast, jetError(checked, engine, true));
    EXPECT_EQ(fast.rfind("Singularity! Instruction ", 0), 0u) << fast;
}

TEST(NativeJet, SaysWhyItCannotBeMade) {
    EngineState engine;
    std::string why;
    auto power =
        compile({{"b = 2.5"}, {"t = 0", "x = 1"}, {}, {"t' = 1", "x' = t^b"}}, engine.TermCount);
    EXPECT_FALSE(useNativeJet(power, engine, NativeArrays::Every, why));
    EXPECT_NE(why.find("operation"), std::string::npos) << why;
    EXPECT_FALSE(power.Plan->Native);

    // x' = g + x read before g = x*x is made: the interpreted pass reads the last jet's g.
    auto early =
        handBuilt(0, 1, 0, {{0.5L}, {0}, {0}},
                  {instruction(ClassVV, OpAdd, 2, 0, 1), instruction(ClassVV, OpMul, 0, 0, 2)}, -1,
                  engine.TermCount);
    EXPECT_FALSE(useNativeJet(early, engine, NativeArrays::Every, why));
    EXPECT_NE(why.find("before it is made"), std::string::npos) << why;

    auto kepler = compileFile("kepler.ode", engine.TermCount);
    setenv("ORVANTA_CXX", "/nonexistent/compiler", 1);
    const bool made = useNativeJet(kepler, engine, NativeArrays::Every, why);
    unsetenv("ORVANTA_CXX");
    EXPECT_FALSE(made);
    EXPECT_NE(why.find("compiler"), std::string::npos) << why;
    auto checked = kepler;
    EXPECT_EQ(jetError(kepler, engine, false), jetError(checked, engine, true));
    expectPlainBits(kepler, engine);
}

} // namespace
