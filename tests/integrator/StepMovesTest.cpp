// The moves of a plain step, whose Horner sums run several variables side by side: the same bits
// as one EvalSeries per variable (and, in the tolerance mode, as the compensated sum of one
// variable at a time) on random arrays and along 1,000 steps of the shared problems.
#include "engine/Series.h"
#include "integrator/IntegratorFixture.h"
#include "integrator/SeriesSideBySide.h"
#include "integrator/StepControl.h"
#include "integrator/StepRoutines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

TEST(SeriesSideBySide, EverySumEqualsItsOwnHornerSum) {
    // Every group size and remainder (1 to 9 rows), term counts down to the smallest, values
    // over a wide range of exponents.
    std::mt19937 random(31);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-60, 60);
    for (std::int32_t count = 1; count <= 9; ++count)
        for (std::int32_t terms : {2, 3, 7, 31, 64}) {
            std::vector<std::vector<Extended>> rows(static_cast<std::size_t>(count));
            for (auto& row : rows)
                for (std::int32_t i = 0; i < terms; ++i)
                    row.push_back(
                        std::ldexp(static_cast<Extended>(mantissa(random)), exponent(random)));
            const Extended s = std::ldexp(static_cast<Extended>(mantissa(random)), -2);
            std::vector<int> taken(static_cast<std::size_t>(count), 0);
            evalSeriesSideBySide(
                count, terms, s,
                [&](std::int32_t k) { return rows[static_cast<std::size_t>(k)].data(); },
                [&](std::int32_t k, Extended sum) {
                    ++taken[static_cast<std::size_t>(k)];
                    const auto& row = rows[static_cast<std::size_t>(k)];
                    EXPECT_TRUE(sameBits(sum, EvalSeries(row.data(), terms, s)))
                        << count << " rows, " << terms << " terms, row " << k;
                });
            EXPECT_EQ(taken, std::vector<int>(static_cast<std::size_t>(count), 1));
        }
}

// The compensated move of one main variable as first written, kept as the reference: the value
// and its low part after the step from the saved row x with h.
struct CompensatedValue {
    Extended value, low;
};
CompensatedValue referenceCompensated(const Extended* x, Extended low, Extended h,
                                      std::int32_t terms) {
    const Extended increment = h * EvalSeries(x + 1, terms - 1, h);
    const Extended a = x[0];
    const Extended sum = a + increment;
    const Extended part = sum - a;
    const Extended error = (a - (sum - part)) + (increment - part) + low;
    const Extended value = sum + error;
    return {value, error - (value - sum)};
}

// Plain steps along a shared problem: after each, every main variable against the step taken
// from the row saved at the step's start, by one Horner sum (or the reference compensated sum)
// per variable.
void expectSameMovesAlong(const char* file, bool tolerance, int steps) {
    CompiledFixture fixture(panesOfFile(file));
    ProgramState& state = fixture.state;
    TCompiledProblem& problem = fixture.problem;
    if (tolerance)
        state.Control = ErrorControl::Tolerance;
    AfterStep(state, problem);
    const std::int32_t terms = state.TermCount;
    for (int step = 0; step < steps; ++step) {
        std::vector<Extended> lowBefore = problem.StateLow;
        std::vector<Extended> lowOfBefore = problem.StateLowOf;
        lowBefore.resize(static_cast<std::size_t>(problem.NumMain), 0);
        lowOfBefore.resize(static_cast<std::size_t>(problem.NumMain), 0);
        StepPlain(state, problem);
        ASSERT_EQ(problem.TakenStepEnd, problem.CurrentIndep);
        const Extended h = problem.TakenStep;
        for (std::int32_t i = 0; i < problem.NumMain; ++i) {
            const std::size_t slot = static_cast<std::size_t>(i);
            const Extended* saved = problem.StepTable[slot].data();
            const Extended got = fixture.value(i);
            if (i == problem.IndepLine) {
                ASSERT_TRUE(sameBits(got, problem.CurrentIndep));
                continue;
            }
            if (!tolerance) {
                ASSERT_TRUE(sameBits(got, EvalSeries(saved, terms, h)))
                    << file << ", step " << step << ", main " << i;
                continue;
            }
            const Extended low = lowOfBefore[slot] == saved[0] ? lowBefore[slot] : 0;
            const CompensatedValue expected = referenceCompensated(saved, low, h, terms);
            ASSERT_TRUE(sameBits(got, expected.value))
                << file << ", step " << step << ", main " << i;
            ASSERT_TRUE(sameBits(problem.StateLow[slot], expected.low));
            ASSERT_TRUE(sameBits(problem.StateLowOf[slot], got));
        }
    }
}

TEST(StepMoves, PlainStepsMoveEveryVariableAsItsOwnHornerSum) {
    for (const char* file : {"lorenz.ode", "kepler.ode", "figure8.ode", "nbody3_2d.ode"})
        expectSameMovesAlong(file, false, 1000);
    expectSameMovesAlong("nbody10_3d.ode", false, 100);
}

TEST(StepMoves, ToleranceStepsKeepTheCompensatedSumOfEachVariable) {
    for (const char* file : {"lorenz.ode", "kepler.ode", "figure8.ode", "nbody3_2d.ode"})
        expectSameMovesAlong(file, true, 1000);
    expectSameMovesAlong("nbody10_3d.ode", true, 100);
}

} // namespace
