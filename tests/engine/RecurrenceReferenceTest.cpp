// Every recurrence against a plain second reading of it (ReferenceJet), bit for bit, on both the
// list-order and the scheduled path; the independent-variable shortcuts, the power rule's cases,
// polynomials, the weight tables, Horner sums and the singularity reports.
#include "common/OrvantaError.h"
#include "engine/CompiledFromText.h"
#include "engine/EnginePlan.h"
#include "engine/EngineState.h"
#include "engine/HandBuiltProblem.h"
#include "engine/ReferenceJet.h"
#include "engine/Series.h"
#include "engine/TaylorEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <string>

namespace {

bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

void expectSameBits(const TCompiledProblem& problem, const ReferenceJet& reference,
                    const char* path) {
    for (std::int32_t v = 0; v < problem.Coefficients.count(); ++v)
        for (std::int32_t k = 0; k < problem.Coefficients.length(v); ++k)
            ASSERT_TRUE(
                sameBits(problem.Coefficients[v][k], reference[v][static_cast<std::size_t>(k)]))
                << std::setprecision(21) << path << ": variable " << v << " order " << k << ": "
                << problem.Coefficients[v][k] << " against "
                << reference[v][static_cast<std::size_t>(k)];
}

// Both of the engine's paths against the reference, each on its own copy of the problem.
void expectBothPathsMatchReference(const TCompiledProblem& problem, EngineState& engine) {
    ReferenceJet reference(problem, engine.TermCount);
    reference.run();
    TCompiledProblem scheduled = problem, listOrder = problem;
    ComputeCoefficients(scheduled, engine);
    expectSameBits(scheduled, reference, "scheduled");
    ComputeCoefficientsChecked(listOrder, engine);
    expectSameBits(listOrder, reference, "list order");
}

std::string singularityOf(TCompiledProblem& problem, EngineState& engine) {
    try {
        ComputeCoefficients(problem, engine);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "";
}

// Whether the scheduled path runs the steps in another order than the list.
bool reordered(TCompiledProblem& problem, const EngineState& engine) {
    const EnginePlan& plan = planFor(problem, engine);
    if (plan.FastSteps.size() != plan.Steps.size())
        return true;
    for (std::size_t i = 0; i < plan.Steps.size(); ++i)
        if (plan.FastSteps[i].R != plan.Steps[i].R || plan.FastSteps[i].Kind != plan.Steps[i].Kind)
            return true;
    return false;
}

// Both variants of a problem: as given, where the scheduled path reorders its steps, and with
// `trigonometry` added, whose companions read each other's results and keep the list order.
void expectWithAndWithoutTrigonometry(ProblemPanes panes, const std::string& trigonometry,
                                      EngineState& engine) {
    auto scheduled = compile(panes, engine.TermCount);
    expectBothPathsMatchReference(scheduled, engine);
    EXPECT_TRUE(reordered(scheduled, engine));
    panes.Aux.push_back("trig = " + trigonometry);
    panes.ODEs.back() += " + trig";
    auto listOrder = compile(panes, engine.TermCount);
    expectBothPathsMatchReference(listOrder, engine);
    EXPECT_FALSE(reordered(listOrder, engine));
}

TEST(RecurrenceReference, FunctionsOfAMovingVariable) {
    // Every function the compiler emits, of variables that are not t.
    EngineState engine;
    expectWithAndWithoutTrigonometry(
        {{"a = 0.3", "b = 2.5", "h = -1.5"},
         {"t = 0.4", "x = 0.2", "y = 0.7"},
         {"g = arccos(x)/arcsin(y/2)", "e = arctan(x)*exp(x) + ln(y)",
          "q = sqrt(y)/y^h + x^b + (x+y)^2", "d = a/(1+y) - (x*y)/(2+x)"},
         {"t' = 1", "x' = g*a + e", "y' = e - q + d"}},
        "sin(x)*cos(y) - tan(x)", engine);
}

TEST(RecurrenceReference, FunctionsOfTheIndependentVariable) {
    // The shortcuts for t: exp, ln, sqrt, sin, cos, whole and fractional powers away from 0,
    // 1/t, x/t, t*x and x*t; tan and the arcus functions of t take none.
    EngineState engine;
    expectWithAndWithoutTrigonometry(
        {{"c = 3"},
         {"t = 0.4", "x = 1.2"},
         {"u = exp(t) + ln(t) - sqrt(t)", "w = t^c + t^(0-2) + t^2.5 + t^0.5",
          "z = 1/t + x/t + t*x + x*t", "v = arcsin(t) + arccos(t) - arctan(t)"},
         {"t' = 1", "x' = u - w + z + v"}},
        "sin(t)*cos(t) + tan(t)", engine);
}

TEST(RecurrenceReference, SharedProblems) {
    // The shapes the scheduled path fuses: scaled products, sum chains and paired powers.
    EngineState engine;
    for (const char* name : {"lorenz.ode", "kepler.ode", "figure8.ode", "nbody10_3d.ode"}) {
        SCOPED_TRACE(name);
        expectBothPathsMatchReference(compileFile(name, engine.TermCount), engine);
    }
}

TEST(RecurrenceReference, ProductOfTWithItselfTakesTheFirstShortcut) {
    // x' = t*t + (t*t)/t with t*t a product of two varying operands: A w[k] + w[k-1] gives
    // t0^2, 2 t0, 1, 0, ...; the quotient by t takes its own shortcut.
    EngineState engine;
    // 0 unused constant, 1 t, 2 x, 3 t' (made by no instruction), 4 x', 5 t*t, 6 (t*t)/t
    std::vector<HandVariable> vars = {{0, true},  {0.3L, false}, {0, false}, {1, false},
                                      {0, false}, {0, false},    {0, false}};
    const std::vector<TInstruction> code = {instruction(ClassVV, OpMul, 1, 1, 5),
                                            instruction(ClassVV, OpDiv, 5, 1, 6),
                                            instruction(ClassVV, OpAdd, 5, 6, 4)};
    auto p = handBuilt(1, 2, 0, vars, code, 0, engine.TermCount);
    expectBothPathsMatchReference(p, engine);
    ComputeCoefficients(p, engine);
    EXPECT_EQ(p.Coefficients[5][0], 0.3L * 0.3L);
    EXPECT_EQ(p.Coefficients[5][1], 0.6L);
    EXPECT_EQ(p.Coefficients[5][2], 1);
    EXPECT_EQ(p.Coefficients[5][3], 0);
}

TEST(RecurrenceReference, PowerOfTZeroAndOneNeedNoDivisionAtZero) {
    // B = 0 and B = 1 come before the division by t0, so neither faults at t0 = 0.
    EngineState engine;
    auto one = functionOfT(OpPow, 0, 1, engine.TermCount);
    auto zero = functionOfT(OpPow, 0, 0, engine.TermCount);
    EXPECT_EQ(singularityOf(one, engine), "");
    EXPECT_EQ(singularityOf(zero, engine), "");
    for (int k = 0; k < engine.TermCount; ++k) {
        EXPECT_EQ(one.Coefficients[2][k], k == 1 ? 1 : 0) << k;
        EXPECT_EQ(zero.Coefficients[2][k], k == 0 ? 1 : 0) << k;
    }
    // A whole exponent below one divides by t0 like a fractional one.
    auto inverseSquare = functionOfT(OpPow, 0, -2, engine.TermCount);
    EXPECT_EQ(singularityOf(inverseSquare, engine), "Singularity! Instruction 0: operation ^");
    // t^2 at 0 as a power, not the square operation: 0, 0, 1, 0, ...
    auto square = functionOfT(OpPow, 0, 2, engine.TermCount);
    ComputeCoefficients(square, engine);
    for (int k = 0; k < engine.TermCount; ++k)
        EXPECT_EQ(square.Coefficients[2][k], k == 2 ? 1 : 0) << k;
}

TEST(RecurrenceReference, PolynomialsWithAndWithoutTheIndependentVariable) {
    // p = 0.5 - 2 t + 3 t^2 + 0.25 t^4 + 1.5 x - 0.75 y^2 + 2 x y; its part in t moves beyond
    // order 0 only when t is a main variable, and is valued at t's coefficient 0 or else at
    // CurrentIndep.
    EngineState engine;
    auto polynomialOver = [](std::int32_t x, std::int32_t y) {
        TCompiledPolynomial p;
        p.IndepCoefficients = {0.5L, -2, 3, 0, 0.25L};
        p.LinearTerms = {{1.5L, x}};
        p.SquareTerms = {{-0.75L, y}};
        p.ProductTerms = {{2, x, y}};
        return std::vector<TCompiledPolynomial>{p};
    };
    // Variables: 0 selector, 1 t, 2 x, 3 y, ...
    auto withT = compile({{"k = 0"},
                          {"t = 0.3", "x = 0.2", "y = -0.4"},
                          {},
                          {"t' = 1", "x' = polynomial(k)*0.1", "y' = x - polynomial(k)/7"}},
                         engine.TermCount, polynomialOver(2, 3));
    ASSERT_EQ(withT.IndepLine, 0);
    expectBothPathsMatchReference(withT, engine);

    // Variables: 0 selector, 1 x, 2 y, ...
    auto withoutT = compile({{"k = 0"},
                             {"x = 0.2", "y = -0.4"},
                             {},
                             {"x' = polynomial(k)*0.1", "y' = x - polynomial(k)/7"}},
                            engine.TermCount, polynomialOver(1, 2));
    ASSERT_EQ(withoutT.IndepLine, -1);
    withoutT.CurrentIndep = 0.3L;
    expectBothPathsMatchReference(withoutT, engine);
}

TEST(RecurrenceReference, PolynomialInTAloneHasItsDerivativesAsCoefficients) {
    // x' = p(t) = t^3 - t with t a main variable from 2: the coefficients of p(2 + s) are
    // 6, 11, 6, 1, so x's are x0, 6, 11/2, 2, 1/4.
    EngineState engine;
    TCompiledPolynomial cubic;
    cubic.IndepCoefficients = {0, -1, 0, 1};
    auto p = compile({{"k = 0"}, {"t = 2", "x = 1"}, {}, {"t' = 1", "x' = polynomial(k)"}},
                     engine.TermCount, {cubic});
    ComputeCoefficients(p, engine);
    const Extended expected[] = {1, 6, 5.5L, 2, 0.25L, 0, 0};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(p.Coefficients[2][k], expected[k]) << k;
}

TEST(RecurrenceReference, WeightTablesAreBuiltFromTheQuotientJOverK) {
    // 1 - j/k and (k-j)/k round differently for some j and k; the tables hold the former, and
    // the square-root weight is formed from the stored entries.
    EngineState engine;
    bool anyDiffers = false;
    for (std::int32_t k = 1; k <= engine.TermCount; ++k)
        for (std::int32_t j = 0; j <= k; ++j) {
            const std::size_t at = triangleRow(k) + static_cast<std::size_t>(j);
            const Extended jk = static_cast<Extended>(j) / k;
            ASSERT_TRUE(sameBits(engine.FracJK[at], jk)) << k << " " << j;
            ASSERT_TRUE(sameBits(engine.FracKJ[at], 1.0L - jk)) << k << " " << j;
            ASSERT_TRUE(sameBits(engine.FracSqrt[at], (1.0L - jk) * 0.5L - jk)) << k << " " << j;
            anyDiffers = anyDiffers || !sameBits(1.0L - jk, static_cast<Extended>(k - j) / k);
        }
    EXPECT_TRUE(anyDiffers);
}

TEST(RecurrenceReference, HornerSumsFromTheHighestCoefficient) {
    Extended a[9];
    for (int i = 0; i < 9; ++i)
        a[i] = 1.0L / (3 + 7 * i) * (i % 3 == 1 ? -1 : 1);
    for (Extended s : {0.37L, -0.91L, 1.0L / 3}) {
        Extended value = a[8], slope = 8 * a[8];
        for (int i = 7; i >= 0; --i)
            value = s * value + a[i];
        for (int i = 7; i >= 1; --i)
            slope = slope * s + i * a[i];
        EXPECT_TRUE(sameBits(EvalSeries(a, 9, s), value)) << s;
        EXPECT_TRUE(sameBits(EvalSeriesDeriv(a, 9, s), slope)) << s;
    }
    EXPECT_TRUE(sameBits(EvalSeries(a, 9, 0), a[0]));
}

TEST(RecurrenceReference, SingularityNamesThePositionAmongTheActiveInstructions) {
    // The constant line makes instructions that never run; sqrt(t) at t = 0 has the value 0
    // and faults at order 1.
    EngineState engine;
    auto p = compile({{"c = 2*3+1"}, {"t = 0", "x = 1"}, {"s = sqrt(t)"}, {"t' = 1", "x' = s + x"}},
                     engine.TermCount);
    ASSERT_GT(p.Instructions.size(), p.ActiveInstructions.size());
    std::size_t position = 0;
    while (p.ActiveInstructions[position].Op != OpSqrt)
        ++position;
    EXPECT_EQ(singularityOf(p, engine),
              "Singularity! Instruction " + std::to_string(position) + ": operation sqrt");
    EXPECT_EQ(engine.FailedInstruction, static_cast<std::int32_t>(position));
    EXPECT_EQ(engine.FailedLine, p.ActiveInstructions[position].Line);
}

TEST(RecurrenceReference, SpecialPointReplacesOnlyTheFaultingCoefficients) {
    // sqrt(t) at t = 0: the value 0 is computed, every later coefficient faults and is taken
    // from the special values, and x' = s + x carries them on.
    EngineState engine;
    auto p = compile({{}, {"t = 0", "x = 1"}, {"s = sqrt(t)"}, {"t' = 1", "x' = s + x"}},
                     engine.TermCount);
    for (int k = 0; k < engine.TermCount; ++k)
        p.SpecialValues.push_back(0.5L + k);
    p.SpecialPoint = 0;
    p.CurrentIndep = 0;
    ComputeCoefficients(p, engine);
    const std::int32_t s = p.DerivStart - 1;
    EXPECT_EQ(p.Coefficients[s][0], 0);
    for (int k = 1; k < engine.TermCount; ++k)
        EXPECT_EQ(p.Coefficients[s][k], 0.5L + k) << k;
    EXPECT_EQ(p.Coefficients[1][1], 0 + 1);          // x[1] = s[0] + x[0]
    EXPECT_EQ(p.Coefficients[1][2], (1.5L + 1) / 2); // x[2] = (s[1] + x[1]) / 2
}

TEST(RecurrenceReference, OverflowIsNotForgivenAtTheSpecialPoint) {
    // exp(x) with x growing past the range at order 0: an overflow, never a special value.
    EngineState engine;
    // 0 unused constant, 1 t, 2 x, 3 t' (made by no instruction), 4 x'
    std::vector<HandVariable> vars = {
        {0, true}, {0, false}, {12000, false}, {1, false}, {0, false}};
    auto p = handBuilt(1, 2, 0, vars, {instruction(ClassVC, OpExp, 2, 0, 4)}, 0, engine.TermCount);
    p.SpecialValues.assign(static_cast<std::size_t>(engine.TermCount), 7);
    p.SpecialPoint = 0;
    p.CurrentIndep = 0;
    EXPECT_EQ(singularityOf(p, engine), "Singularity! Instruction 0: operation exp");
}

TEST(RecurrenceReference, OperationsOutsideTheirClassFailAtOrderOne) {
    // These have a value at order 0 but no recurrence in the class they stand in.
    EngineState engine;
    std::vector<HandVariable> vars = {{2, true}, {0.5L, false}, {0, false}, {0, false}};
    const std::pair<TInstruction, const char*> cases[] = {
        {instruction(ClassCV, OpPow, 0, 1, 3), "^"},
        {instruction(ClassVV, OpPow, 1, 1, 3), "^"},
        {instruction(ClassCV, OpCos, 0, 1, 3), "cos"},
        {instruction(ClassVV, OpSqrt, 1, 1, 3), "sqrt"},
        {instruction(ClassCV, OpExp, 0, 1, 3), "exp"}};
    for (const auto& [in, name] : cases) {
        auto p = handBuilt(1, 1, 0, vars, {in, instruction(ClassVV, OpCopy, 3, 3, 2)}, -1,
                           engine.TermCount);
        EXPECT_EQ(singularityOf(p, engine),
                  std::string("Singularity! Instruction 0: operation ") + name);
        EXPECT_TRUE(std::isfinite(p.Coefficients[3][0])) << name; // order 0 went through
    }
    // Operations the engine does not know fail at order 0 already.
    auto factorial = handBuilt(
        1, 1, 0, vars,
        {instruction(ClassVV, OpCopy, 1, 1, 3), instruction(ClassVC, OpFactorial, 3, 0, 2)}, -1,
        engine.TermCount);
    EXPECT_EQ(singularityOf(factorial, engine), "Singularity! Instruction 1: operation !");
}

} // namespace
