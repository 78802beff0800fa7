// The reordered and fused pass must give the very bits of the list-order pass it replaces.
#include "engine/EnginePlan.h"
#include "engine/EngineState.h"
#include "engine/HandBuiltProblem.h"
#include "engine/TaylorEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

// Assigns variable indices in the order handBuilt() lays them out: constants, main variables,
// their derivatives, then temporaries.
struct ProgramBuilder {
    std::vector<HandVariable> constants, mains;
    std::int32_t temporaries = 0;
    std::vector<TInstruction> code;
    std::vector<std::int32_t> derivativeOf; // per main variable: the temporary or -1

    std::int32_t constant(Extended value) {
        constants.push_back({value, true});
        return static_cast<std::int32_t>(constants.size() - 1);
    }
    std::int32_t main(Extended value) {
        mains.push_back({value, false});
        derivativeOf.push_back(-1);
        return static_cast<std::int32_t>(mains.size() - 1);
    }
    // Variables are numbered once all constants and mains exist: a main m is `mainVar(m)`, a
    // temporary t is `temporaryVar(t)`.
    std::int32_t mainVar(std::int32_t m) const {
        return static_cast<std::int32_t>(constants.size()) + m;
    }
    std::int32_t temporaryVar(std::int32_t t) const {
        return static_cast<std::int32_t>(constants.size() + 2 * mains.size()) + t;
    }
    std::int32_t emit(std::uint8_t operandClass, std::uint16_t op, std::int32_t a, std::int32_t b) {
        const std::int32_t result = temporaryVar(temporaries++);
        code.push_back(
            instruction(operandClass, op, a, b, result, static_cast<std::int32_t>(code.size())));
        return result;
    }
    TCompiledProblem build(std::int32_t termCount) const {
        std::vector<HandVariable> vars = constants;
        vars.insert(vars.end(), mains.begin(), mains.end());
        vars.resize(vars.size() + mains.size() + static_cast<std::size_t>(temporaries));
        std::vector<TInstruction> program = code;
        const std::int32_t derivStart = static_cast<std::int32_t>(constants.size() + mains.size());
        for (std::size_t m = 0; m < mains.size(); ++m)
            program.push_back(instruction(ClassVV, OpCopy, derivativeOf[m], derivativeOf[m],
                                          derivStart + static_cast<std::int32_t>(m)));
        return handBuilt(static_cast<std::int32_t>(constants.size()),
                         static_cast<std::int32_t>(mains.size()), 0, vars, program, -1, termCount);
    }
};

// The gravitational n-body problem as the code generator writes it: per pair the differences,
// their squares summed and raised to -3/2, then per body and axis the chain
// -/+ m_o d r -/+ ... over the other bodies. Body i has mass `first` + i `step` in variable i;
// the exponent -3/2 is variable `bodies`.
TCompiledProblem nBody(std::int32_t bodies, std::int32_t termCount, Extended first = 1,
                       Extended step = 0.37L, std::int32_t axes = 3) {
    ProgramBuilder b;
    std::vector<std::int32_t> mass;
    for (std::int32_t i = 0; i < bodies; ++i)
        mass.push_back(b.constant(first + step * i));
    const std::int32_t exponent = b.constant(-1.5L), zero = b.constant(0), two = b.constant(2);
    std::vector<std::int32_t> position, velocity;
    for (std::int32_t i = 0; i < bodies; ++i) {
        const Extended angle = 6.283185307179586477L * i / bodies;
        const Extended place[] = {std::cos(angle), std::sin(angle), 0.1L * i};
        const Extended motion[] = {-std::sin(angle), std::cos(angle), 0.05L};
        for (std::int32_t a = 0; a < axes; ++a)
            position.push_back(b.main(place[a]));
        for (std::int32_t a = 0; a < axes; ++a)
            velocity.push_back(b.main(motion[a]));
    }
    auto at = [&](std::int32_t body, std::int32_t axis) { return body * axes + axis; };
    auto pairIndex = [&](std::int32_t i, std::int32_t j) { return i * bodies + j; };
    std::vector<std::int32_t> difference(static_cast<std::size_t>(bodies * bodies * axes)),
        inverseCube(static_cast<std::size_t>(bodies * bodies));
    for (std::int32_t i = 0; i < bodies; ++i)
        for (std::int32_t j = i + 1; j < bodies; ++j) {
            std::int32_t sum = -1;
            for (std::int32_t a = 0; a < axes; ++a) {
                const std::int32_t d = b.emit(ClassVV, OpSub, b.mainVar(position[at(i, a)]),
                                              b.mainVar(position[at(j, a)]));
                difference[static_cast<std::size_t>(pairIndex(i, j) * axes + a)] = d;
                const std::int32_t square = b.emit(ClassVC, OpSquare, d, two);
                sum = sum < 0 ? square : b.emit(ClassVV, OpAdd, sum, square);
            }
            inverseCube[static_cast<std::size_t>(pairIndex(i, j))] =
                b.emit(ClassVC, OpPow, sum, exponent);
        }
    for (std::int32_t i = 0; i < bodies; ++i)
        for (std::int32_t a = 0; a < axes; ++a) {
            b.derivativeOf[static_cast<std::size_t>(position[at(i, a)])] =
                b.mainVar(velocity[at(i, a)]);
            std::int32_t chain = -1;
            for (std::int32_t o = 0; o < bodies; ++o) {
                if (o == i)
                    continue;
                const std::int32_t lo = std::min(i, o), hi = std::max(i, o);
                const std::int32_t scaled =
                    b.emit(ClassCV, OpMul, mass[static_cast<std::size_t>(o)],
                           difference[static_cast<std::size_t>(pairIndex(lo, hi) * axes + a)]);
                const std::int32_t product =
                    b.emit(ClassVV, OpMul, scaled,
                           inverseCube[static_cast<std::size_t>(pairIndex(lo, hi))]);
                const bool attracts = o > i; // d = x_i - x_o pulls i towards o
                if (chain < 0)
                    chain = attracts ? b.emit(ClassCV, OpSub, zero, product) : product;
                else
                    chain = b.emit(ClassVV, attracts ? OpSub : OpAdd, chain, product);
            }
            b.derivativeOf[static_cast<std::size_t>(velocity[at(i, a)])] = chain;
        }
    return b.build(termCount);
}

std::size_t countSteps(const TCompiledProblem& problem, PlanKind kind) {
    std::size_t count = 0;
    for (const PlanStep& step : problem.Plan->FastSteps)
        count += step.Kind == kind ? 1 : 0;
    return count;
}

// The 80 bits of the value (not the padding), so that -0 differs from +0.
bool sameBits(Extended a, Extended b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// Runs the fast jet on `problem` and the list-order jet on a copy; every coefficient of every
// variable must agree bit for bit.
void expectSameBitsAsListOrder(TCompiledProblem& problem, EngineState& engine) {
    TCompiledProblem listOrder = problem;
    ComputeCoefficients(problem, engine);
    ComputeCoefficientsChecked(listOrder, engine);
    for (std::int32_t v = 0; v < problem.Coefficients.count(); ++v)
        for (std::int32_t k = 0; k < problem.Coefficients.length(v); ++k)
            ASSERT_TRUE(sameBits(problem.Coefficients[v][k], listOrder.Coefficients[v][k]))
                << "variable " << v << " order " << k << ": " << problem.Coefficients[v][k]
                << " against " << listOrder.Coefficients[v][k];
}

TEST(FastSchedule, ThreeBodiesWithUnequalMassesGiveTheListOrdersBits) {
    EngineState engine;
    auto p = nBody(3, engine.TermCount);
    expectSameBitsAsListOrder(p, engine);
    // Each pair's forces and reactions along the three axes run as one fused step.
    EXPECT_EQ(countSteps(p, PlanKind::ScaledProducts), 3u);
}

TEST(FastSchedule, ThirtyBodiesGiveTheListOrdersBits) {
    EngineState engine;
    auto p = nBody(30, engine.TermCount);
    expectSameBitsAsListOrder(p, engine);
    EXPECT_EQ(countSteps(p, PlanKind::ScaledProducts), 435u);
}

TEST(FastSchedule, EqualMassesGiveTheListOrdersBits) {
    // Equal scales take the shortcut of one sum for both products, unit scales the one
    // without the multiplication.
    EngineState engine;
    for (Extended mass : {1.0L, 0.75L}) {
        auto p = nBody(4, engine.TermCount, mass, 0);
        SCOPED_TRACE(static_cast<double>(mass));
        expectSameBitsAsListOrder(p, engine);
    }
}

TEST(FastSchedule, PlaneProblemsFuseTheTwoAxes) {
    EngineState engine;
    for (Extended step : {0.0L, 0.37L}) {
        auto p = nBody(5, engine.TermCount, 1, step, 2);
        SCOPED_TRACE(static_cast<double>(step));
        expectSameBitsAsListOrder(p, engine);
        EXPECT_EQ(countSteps(p, PlanKind::ScaledProducts), 10u);
    }
}

TEST(FastSchedule, ProductsApartInTheOrderRunAsAPair) {
    // Lorenz: x (rho - z) waits for its difference and x y for nothing; each is followed by what
    // reads it, so they are not neighbours in the order, yet can run side by side.
    EngineState engine;
    auto p = handBuiltLorenz(engine.TermCount);
    expectSameBitsAsListOrder(p, engine);
    EXPECT_EQ(countSteps(p, PlanKind::MulVVPair), 1u);
    EXPECT_EQ(countSteps(p, PlanKind::MulVV), 0u);
}

TEST(FastSchedule, ScalesOfOppositeZerosAreNotTakenAsEqual) {
    // x' = (0 x) y, y' = (-0 x) y: the value of the second product is -0, of the first +0.
    EngineState engine;
    ProgramBuilder b;
    const std::int32_t plusZero = b.constant(0), minusZero = b.constant(-0.0L);
    const std::int32_t x = b.main(0.5L), y = b.main(0.25L);
    const std::int32_t t1 = b.emit(ClassCV, OpMul, plusZero, b.mainVar(x));
    const std::int32_t t2 = b.emit(ClassCV, OpMul, minusZero, b.mainVar(x));
    b.derivativeOf[static_cast<std::size_t>(x)] = b.emit(ClassVV, OpMul, t1, b.mainVar(y));
    b.derivativeOf[static_cast<std::size_t>(y)] = b.emit(ClassVV, OpMul, t2, b.mainVar(y));
    auto p = b.build(engine.TermCount);
    expectSameBitsAsListOrder(p, engine);
    EXPECT_EQ(countSteps(p, PlanKind::ScaledProducts), 1u);
    EXPECT_FALSE(std::signbit(p.Coefficients[b.mainVar(x)][1]));
    EXPECT_TRUE(std::signbit(p.Coefficients[b.mainVar(y)][1]));
}

TEST(FastSchedule, PowersFollowAnExponentChangedAfterThePlan) {
    // The plan pairs the powers and tabulates weights for -3/2; other exponents, including the
    // shortcuts for 0 and 1, must still give the list order's bits.
    EngineState engine;
    auto p = nBody(4, engine.TermCount);
    ComputeCoefficients(p, engine);
    EXPECT_EQ(countSteps(p, PlanKind::PowPair), 3u);
    for (Extended exponent : {-0.5L, 1.0L, 0.0L, -1.5L}) {
        SCOPED_TRACE(static_cast<double>(exponent));
        p.Coefficients[4][0] = exponent;
        expectSameBitsAsListOrder(p, engine);
    }
}

TEST(FastSchedule, TwoBodiesConserveMomentum) {
    // An independent check of the fused products' values: with masses m0 and m1 the
    // accelerations satisfy m0 a0 + m1 a1 = 0 at every order, up to rounding.
    EngineState engine;
    auto p = nBody(2, engine.TermCount);
    ComputeCoefficients(p, engine);
    const Extended m0 = 1, m1 = 1.37L;
    const std::int32_t velocityDerivative0 = p.DerivStart + 3,
                       velocityDerivative1 = p.DerivStart + 9;
    for (std::int32_t a = 0; a < 3; ++a)
        for (std::int32_t k = 0; k < engine.TermCount; ++k) {
            const Extended f0 = m0 * p.Coefficients[velocityDerivative0 + a][k];
            const Extended f1 = m1 * p.Coefficients[velocityDerivative1 + a][k];
            EXPECT_LE(std::fabs(f0 + f1), 1e-17L * (std::fabs(f0) + 1e-300L)) << a << " " << k;
        }
}

TEST(FastSchedule, ScaledFactorReadElsewhereIsNotFused) {
    // y' = (2x) y + (3x) y + (2x) with the first scaled factor read twice: only the products
    // whose factor nothing else reads may be fused, and there is just one such.
    EngineState engine;
    ProgramBuilder b;
    const std::int32_t c2 = b.constant(2), c3 = b.constant(3);
    const std::int32_t x = b.main(0.5L), y = b.main(0.25L);
    const std::int32_t twoX = b.emit(ClassCV, OpMul, c2, b.mainVar(x));
    const std::int32_t threeX = b.emit(ClassCV, OpMul, c3, b.mainVar(x));
    const std::int32_t first = b.emit(ClassVV, OpMul, twoX, b.mainVar(y));
    const std::int32_t second = b.emit(ClassVV, OpMul, threeX, b.mainVar(y));
    const std::int32_t sum = b.emit(ClassVV, OpAdd, first, second);
    b.derivativeOf[static_cast<std::size_t>(y)] = b.emit(ClassVV, OpAdd, sum, twoX);
    b.derivativeOf[static_cast<std::size_t>(x)] = b.mainVar(y);
    auto p = b.build(engine.TermCount);
    expectSameBitsAsListOrder(p, engine);
    EXPECT_EQ(countSteps(p, PlanKind::ScaledProducts), 0u);
    // y'(0) = 2*0.5*0.25 + 3*0.5*0.25 + 1
    EXPECT_EQ(p.Coefficients[b.mainVar(y)][1], 1.625L);
}

TEST(FastSchedule, SumChainsKeepEveryPartialSum) {
    // x' = -x + x y - y^2 + (x - y) - x and y' = y + x + (x + y)^2 + (-x + x y + y): the second
    // sum of x' is read again, which ends its chain there.
    EngineState engine;
    ProgramBuilder b;
    const std::int32_t zero = b.constant(0), two = b.constant(2);
    const std::int32_t x = b.main(0.5L), y = b.main(-0.25L);
    const std::int32_t vx = b.mainVar(x), vy = b.mainVar(y);
    const std::int32_t negX = b.emit(ClassCV, OpSub, zero, vx);
    const std::int32_t plusXY = b.emit(ClassVV, OpAdd, negX, b.emit(ClassVV, OpMul, vx, vy));
    const std::int32_t minusY2 = b.emit(ClassVV, OpSub, plusXY, b.emit(ClassVC, OpSquare, vy, two));
    const std::int32_t plusXMinusY =
        b.emit(ClassVV, OpAdd, minusY2, b.emit(ClassVV, OpSub, vx, vy));
    b.derivativeOf[static_cast<std::size_t>(x)] = b.emit(ClassVV, OpSub, plusXMinusY, vx);
    const std::int32_t again = b.emit(ClassVV, OpAdd, plusXY, vy); // reads plusXY a second time
    const std::int32_t sum = b.emit(ClassVV, OpAdd, vy, vx);
    const std::int32_t square = b.emit(ClassVC, OpSquare, b.emit(ClassVV, OpAdd, vx, vy), two);
    b.derivativeOf[static_cast<std::size_t>(y)] =
        b.emit(ClassVV, OpAdd, b.emit(ClassVV, OpAdd, sum, square), again);
    auto p = b.build(engine.TermCount);
    expectSameBitsAsListOrder(p, engine);
    // -x, + x y | - y^2, + (x - y) | y + x, + (x+y)^2, + again
    EXPECT_EQ(countSteps(p, PlanKind::SumChain), 3u);
    EXPECT_EQ(p.Coefficients[vx][1], -0.5L - 0.125L - 0.0625L + 0.75L - 0.5L);
    EXPECT_EQ(p.Coefficients[vy][1], 0.25L + 0.0625L + (-0.625L - 0.25L));
}

TEST(FastSchedule, PolynomialsReadTheirTermsAfterTheyAreMade) {
    // x' = polynomial 0 with the one term 1 * (x^2)^-1/2, y' = (y^2)^-1/2. The polynomial step
    // names none of the steps before it, yet must wait for the first power at every order, even
    // though that power could run side by side with the second one, listed after it.
    EngineState engine;
    ProgramBuilder b;
    const std::int32_t selector = b.constant(0), two = b.constant(2), half = b.constant(-0.5L);
    const std::int32_t x = b.main(0.5L), y = b.main(0.25L);
    const std::int32_t first =
        b.emit(ClassVC, OpPow, b.emit(ClassVC, OpSquare, b.mainVar(x), two), half);
    b.derivativeOf[static_cast<std::size_t>(x)] = b.emit(ClassCV, OpPolynomial, selector, selector);
    b.derivativeOf[static_cast<std::size_t>(y)] =
        b.emit(ClassVC, OpPow, b.emit(ClassVC, OpSquare, b.mainVar(y), two), half);
    auto p = b.build(engine.TermCount);
    TCompiledPolynomial polynomial;
    polynomial.LinearTerms.push_back({1, first});
    p.Polynomials.push_back(polynomial);
    expectSameBitsAsListOrder(p, engine);
    // x' = 1/x for x > 0: x x' = 1, so x'' = -x'^2/x = -8 and the coefficient of order 2 is -4.
    EXPECT_EQ(p.Coefficients[b.mainVar(x)][1], 2);
    EXPECT_EQ(p.Coefficients[b.mainVar(x)][2], -4);
}

TEST(FastSchedule, RandomProgramsGiveTheListOrdersBits) {
    // Straight-line programs of products, scaled copies, sums, differences and squares, with
    // many (c1 X) Y, (c2 X) Y shapes, some of whose factors are read again.
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        auto below = [&](std::size_t n) {
            return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
        };
        EngineState engine;
        ProgramBuilder b;
        std::vector<std::int32_t> constants, values;
        for (int i = 0; i < 3; ++i)
            constants.push_back(b.constant(0.5L + 0.25L * i));
        const std::int32_t two = b.constant(2);
        const std::int32_t mains = 4;
        for (std::int32_t m = 0; m < mains; ++m)
            b.main(0.1L * (m + 1));
        for (std::int32_t m = 0; m < mains; ++m)
            values.push_back(b.mainVar(m));
        for (int i = 0; i < 60; ++i) {
            const std::int32_t u = values[below(values.size())];
            const std::int32_t w = values[below(values.size())];
            const std::int32_t c = constants[below(constants.size())];
            switch (below(5)) {
            case 0: {
                const std::int32_t t1 = b.emit(ClassCV, OpMul, c, u);
                const std::int32_t t2 =
                    b.emit(ClassCV, OpMul, constants[below(constants.size())], u);
                values.push_back(b.emit(ClassVV, OpMul, t1, w));
                values.push_back(b.emit(ClassVV, OpMul, t2, w));
                if (below(3) == 0)
                    values.push_back(t1);
                break;
            }
            case 1:
                values.push_back(b.emit(ClassVV, OpMul, u, w));
                break;
            case 2:
                values.push_back(b.emit(ClassVV, below(2) ? OpAdd : OpSub, u, w));
                break;
            case 3:
                values.push_back(b.emit(ClassVC, OpSquare, u, two));
                break;
            default:
                values.push_back(b.emit(ClassCV, OpMul, c, u));
                break;
            }
        }
        for (std::int32_t m = 0; m < mains; ++m)
            b.derivativeOf[static_cast<std::size_t>(m)] =
                values[values.size() - 1 - static_cast<std::size_t>(m)];
        auto p = b.build(engine.TermCount);
        SCOPED_TRACE(seed);
        expectSameBitsAsListOrder(p, engine);
    }
}

} // namespace
