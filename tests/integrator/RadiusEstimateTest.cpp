// The radius estimate against a plain copy of its first, straightforward form (extended
// division per term, selection by repeated swapping, every array sorted): the same rate bit for
// bit on random coefficient arrays, and the same radius along the shared problems' paths.
#include "common/FloatFaults.h"
#include "engine/HandBuiltProblem.h"
#include "integrator/IntegratorFixture.h"
#include "integrator/RateFill.h"
#include "integrator/RateRank.h"
#include "integrator/StepControl.h"
#include "integrator/StepRoutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

namespace {

// The growth rate as first written: kept here unchanged as the reference.
float referenceRate(EngineState& engine, const Extended* a) {
    const std::int32_t n = engine.TermCount;
    std::vector<float> rate(static_cast<std::size_t>(n));
    rate[0] = RateSentinel;
    for (std::int32_t i = 1; i < n; ++i) {
        if (a[i] == 0) {
            rate[i] = RateSentinel;
            continue;
        }
        int exponent = 0;
        std::frexp(a[i], &exponent);
        rate[i] = static_cast<float>(static_cast<Extended>(exponent) / i);
    }
    const std::int32_t top = engine.RateTop;
    const std::int32_t window = engine.RateWindow;
    for (std::int32_t j = 0; j <= top; ++j)
        for (std::int32_t i = j + 1; i < n; ++i)
            if (rate[i] > rate[j])
                std::swap(rate[i], rate[j]);
    float spread = rate[0] - rate[window];
    std::int32_t start = 1;
    if (window < top) {
        for (std::int32_t i = 1; i <= top - window; ++i) {
            if (spread == 0 || rate[i] == RateSentinel)
                break;
            const float d = rate[i] - rate[i + window];
            if (d < spread) {
                spread = d;
                start = i;
            }
        }
    }
    float sum = 0;
    for (std::int32_t i = start; i <= start + window; ++i)
        sum += rate[i];
    return sum / static_cast<float>(window + 1);
}

// The radius as first written: every chosen array's rate, then the running maximum.
Extended referenceRadius(ProgramState& state, const TCompiledProblem& problem) {
    const CoefficientTable& table = problem.Coefficients;
    float rate = referenceRate(state, table[problem.NumConst]);
    std::int32_t last = problem.NumConst + problem.NumMain - 1;
    if (state.RadiusChoice == RadiusVariables::MainAndAux)
        last = problem.DerivStart - 1;
    else if (state.RadiusChoice == RadiusVariables::All)
        last = table.count() - 1;
    for (std::int32_t v = problem.NumConst + 1; v <= last; ++v)
        if (table.length(v) > 2 && table.length(v) >= state.TermCount)
            rate = std::max(rate, referenceRate(state, table[v]));
    return std::min<Extended>(std::pow(0.5L, static_cast<Extended>(rate)), state.RadLimit);
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// For the main arrays, the main and auxiliary ones, and (with `internalToo`) every array: the
// estimate's radius and the reference's, which must be equal.
void expectSameRadius(ProgramState& state, TCompiledProblem& problem, const std::string& where,
                      bool internalToo = true) {
    const RadiusVariables chosen = state.RadiusChoice;
    const Extended radius = problem.Radius;
    for (RadiusVariables choice :
         {RadiusVariables::MainOnly, RadiusVariables::MainAndAux, RadiusVariables::All}) {
        if (choice == RadiusVariables::All && !internalToo)
            continue;
        state.RadiusChoice = choice;
        EstimateRadius(state, problem);
        ASSERT_EQ(problem.Radius, referenceRadius(state, problem))
            << where << ", choice " << static_cast<int>(choice);
    }
    state.RadiusChoice = chosen;
    problem.Radius = radius;
}

// Random coefficients: mostly a geometric trend with noise in the exponent (so that the rates
// cluster and the window search has work), with zeros, signs, denormals, huge values,
// infinities, NaNs and the 80-bit patterns no arithmetic makes (unnormals, pseudo-denormals)
// mixed in.
class CoefficientSource {
  public:
    explicit CoefficientSource(unsigned seed) : random_(seed) {}

    std::vector<Extended> array(std::int32_t n) {
        std::vector<Extended> a(static_cast<std::size_t>(n));
        const int trend = pick(-40, 40);
        const int noise = pick(0, 12);
        for (std::int32_t i = 0; i < n; ++i)
            a[static_cast<std::size_t>(i)] = coefficient(i, trend, noise);
        return a;
    }

    // The same with every value that is neither normal nor zero made a normal one: the arrays
    // a healthy integration makes, which the estimate reads sixteen values at a time.
    std::vector<Extended> plainArray(std::int32_t n) {
        std::vector<Extended> a = array(n);
        for (Extended& value : a) {
            std::uint64_t significand;
            std::uint16_t field;
            std::memcpy(&significand, &value, sizeof significand);
            std::memcpy(&field, reinterpret_cast<const unsigned char*>(&value) + 8, sizeof field);
            field &= 0x7fff;
            const bool normal = field != 0 && field != 0x7fff && (significand >> 63) != 0;
            if (!normal && !(field == 0 && significand == 0))
                value = std::ldexp(0.75L, pick(-100, 100));
        }
        return a;
    }

  private:
    // a with the explicit integer bit of its 80-bit pattern set or cleared: an unnormal (a
    // normal exponent without the bit) or a pseudo-denormal (the bit with a zero exponent).
    static Extended withIntegerBit(Extended a, bool set) {
        std::uint64_t significand;
        std::memcpy(&significand, &a, sizeof significand);
        significand = set ? significand | 1ull << 63 : significand & ~(1ull << 63);
        std::memcpy(&a, &significand, sizeof significand);
        return a;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    Extended coefficient(std::int32_t i, int trend, int noise) {
        const Extended mantissa =
            std::uniform_real_distribution<double>(0.5, 1.0)(random_) * (pick(0, 1) ? 1 : -1);
        switch (pick(0, 39)) {
        case 0:
        case 1:
        case 2:
            return 0.0L * mantissa; // zero of either sign
        case 3:
            return std::ldexp(mantissa, pick(-16445, -16383)); // denormal
        case 4:
            return std::ldexp(mantissa, pick(16000, 16384)); // huge
        case 5:
            return std::numeric_limits<Extended>::infinity() * mantissa;
        case 6:
            return std::numeric_limits<Extended>::quiet_NaN();
        case 7:
            return withIntegerBit(std::ldexp(mantissa, pick(-60, 60)), false); // unnormal
        case 8:
            return withIntegerBit(std::ldexp(mantissa, -16383), true); // pseudo-denormal
        default:
            return std::ldexp(mantissa, std::max(-16000, trend * i / 4 + pick(-noise, noise)));
        }
    }

    std::mt19937 random_;
};

TEST(RadiusEstimate, RateMatchesTheReferenceOnRandomArrays) {
    CoefficientSource source(20261208);
    for (std::int32_t n : {3, 4, 5, 8, 17, 20, 31, 32, 47, 64, 200}) {
        ProgramState state;
        state.TermCount = n;
        BuildRecurrenceTables(state);
        for (int trial = 0; trial < 2000; ++trial) {
            const auto a = trial % 2 == 0 ? source.array(n) : source.plainArray(n);
            const float expected = referenceRate(state, a.data());
            clearFloatFaults();
            const float rate = VarRate(state, a.data());
            // Of normal values and zeros the estimate raises no fault flag (the step would
            // report an arithmetic fault in its estimate); the 80-bit patterns no arithmetic
            // makes may, as any operation on them does.
            ASSERT_FALSE(trial % 2 == 1 && floatFaultRaised()) << "N " << n << ", trial " << trial;
            ASSERT_TRUE(sameBits(rate, expected))
                << "N " << n << ", trial " << trial << ": " << rate << " against " << expected;
            // The fill sixteen at a time (where the processor has it) and four at a time give
            // the same rates and the same bound.
            std::vector<float> fast(static_cast<std::size_t>(n)), four(fast.size());
            const float fastBound = fillRates(state, a.data(), fast.data());
            const float fourBound = fillFourAtATime(state, a.data(), four.data());
            ASSERT_TRUE(sameBits(fastBound, fourBound)) << "N " << n << ", trial " << trial;
            ASSERT_EQ(std::memcmp(fast.data(), four.data(), fast.size() * sizeof(float)), 0)
                << "N " << n << ", trial " << trial;
        }
    }
}

TEST(RadiusEstimate, EveryRankingOrdersTheLargestRatesAlike) {
    // Rates drawn from a few values (many equal ones) and from a wide range, including the
    // sentinel; each way of ranking must put the same top + 1 floats at the front as a sort.
    std::mt19937 random(31);
    for (std::int32_t n : {2, 3, 5, 16, 17, 31, 32, 33, 64, 65, 200}) {
        for (int trial = 0; trial < 300; ++trial) {
            const bool fewValues = trial % 2 == 0;
            std::vector<float> rates(static_cast<std::size_t>(n));
            for (float& r : rates)
                r = fewValues
                        ? static_cast<float>(std::uniform_int_distribution<int>(-3, 3)(random))
                        : std::uniform_real_distribution<float>(-60, 60)(random);
            rates[static_cast<std::size_t>(trial) % rates.size()] = RateSentinel;
            const std::int32_t top = std::uniform_int_distribution<std::int32_t>(0, n - 1)(random);
            std::vector<float> expected = rates;
            std::sort(expected.begin(), expected.end(), std::greater<float>());
            for (RateRanking how : {RateRanking::Counting, RateRanking::Insertion}) {
                std::vector<float> ranked = rates;
                rankLargestRates(ranked.data(), n, top, how);
                for (std::int32_t i = 0; i <= top; ++i)
                    ASSERT_TRUE(sameBits(ranked[static_cast<std::size_t>(i)],
                                         expected[static_cast<std::size_t>(i)]))
                        << "N " << n << ", top " << top << ", way " << static_cast<int>(how)
                        << ", place " << i;
            }
        }
    }
}

TEST(RadiusEstimate, RadiusMatchesTheReferenceOnRandomTables) {
    // Six main and four auxiliary arrays of random coefficients, some of them copies of another
    // (equal rates, where a skipped array ties with the running maximum), plus a short one.
    CoefficientSource source(4951);
    constexpr std::int32_t n = 31, numMain = 6, numAux = 4;
    std::vector<HandVariable> vars(numMain + numAux + 1);
    for (int trial = 0; trial < 500; ++trial) {
        ProgramState state;
        auto p = handBuilt(0, numMain, numAux, vars, {}, -1, n);
        for (std::int32_t v = 0; v < numMain + numAux + 1; ++v) {
            const auto a = trial % 2 == 0 ? source.array(n) : source.plainArray(n);
            const bool copy = v > 0 && trial % 3 == 0 && v % 2 == 0;
            std::copy_n(copy ? p.Coefficients[v - 1] : a.data(), n, p.Coefficients[v]);
        }
        expectSameRadius(state, p, "trial " + std::to_string(trial));
    }
}

TEST(RadiusEstimate, SingleQuotientEqualsTheRoundedExtendedOne) {
    // The estimate divides exponents by orders in single precision; that must round to the
    // float an extended division rounded to single gives: every exponent for the first orders,
    // a band of exponents for every order the engine allows.
    auto expectSame = [](std::int32_t e, std::int32_t i) {
        const float single = static_cast<float>(e) / static_cast<float>(i);
        const float viaExtended = static_cast<float>(static_cast<Extended>(e) / i);
        return sameBits(single, viaExtended);
    };
    for (std::int32_t i = 1; i <= 64; ++i)
        for (std::int32_t e = -16445; e <= 16384; ++e)
            ASSERT_TRUE(expectSame(e, i)) << e << "/" << i;
    for (std::int32_t i = 65; i < MaxTermCount; ++i)
        for (std::int32_t e = -300; e <= 300; ++e)
            ASSERT_TRUE(expectSame(e, i)) << e << "/" << i;
}

// Plain steps along a shared problem, the radius compared after every step for the main and the
// main and auxiliary arrays, and after every 50th for all arrays (thousands of them in the
// n-body problems).
void expectSameRadiusAlong(const char* file, int steps) {
    CompiledFixture fixture(panesOfFile(file));
    ProgramState& state = fixture.state;
    TCompiledProblem& problem = fixture.problem;
    AfterStep(state, problem);
    for (int step = 0; step < steps; ++step) {
        StepPlain(state, problem);
        expectSameRadius(state, problem, std::string(file) + ", step " + std::to_string(step),
                         step % 50 == 0);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

TEST(RadiusEstimate, SameRadiusAlongTheSmallSharedProblems) {
    for (const char* file :
         {"lorenz.ode", "kepler.ode", "figure8.ode", "nbody2_2d.ode", "nbody3_2d.ode"})
        expectSameRadiusAlong(file, 1000);
}

TEST(RadiusEstimate, SameRadiusAlongTheTenBodyRing) {
    expectSameRadiusAlong("nbody10_3d.ode", 1000);
}

TEST(RadiusEstimate, SameRadiusAlongTheLargestRings) {
    // A few steps keep the test fast: their arrays are the same kinds as nbody10's, only more
    // of them.
    expectSameRadiusAlong("nbody30_3d.ode", 10);
    expectSameRadiusAlong("nbody99_2d.ode", 1);
}

} // namespace
