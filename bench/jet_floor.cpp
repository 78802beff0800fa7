// How close the interpreted jet comes to the floor of its own arithmetic. The lorenz and kepler
// jets are written out here by hand, straight-line C++ compiled ahead of time, with the same
// operations on the same values in the same order as the engine (checked bit for bit against its
// coefficients before anything is timed), in two forms:
//   stored    - every coefficient the engine keeps is stored as it is made (80-bit), and the
//               arrays read in loops also as pairs of doubles, as the fast pass reads them;
//   registers - values stay in registers where the code allows; only the main variables and the
//               arrays read in loops are stored.
// Each is timed beside the engine's own jet on the same problem, in the same process, so the
// ratios hold even when the machine is noisy. The convolutions are summed in their fixed order,
// one dependent add per term, so no form of this code can run below the latency of those chains.
#include "compiler/FormulaParser.h"
#include "compiler/ProblemPanes.h"
#include "engine/TaylorEngine.h"
#include "engine/ValuePair.h"
#include "integrator/ProblemCompile.h"

#include "SharedProblem.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr std::int32_t Terms = 31;

struct LoadedProblem {
    ProgramState state;
    TCompiledProblem problem;
    LoadedProblem(const std::string& name, bool native) {
        ProblemPanes panes = readSharedProblem(name);
        FormulaParser parser;
        compileForIntegration(state, panes, problem, parser, false);
        if (state.TermCount != Terms)
            throw std::runtime_error("the floor is written for 31 terms");
        std::string why;
        if (native && !useNativeJet(problem, state, NativeArrays::Variables, why))
            throw std::runtime_error("no native jet: " + why);
        ComputeCoefficients(problem, state);
    }
    const Extended* array(std::int32_t index) const { return problem.Coefficients[index]; }
};

inline Extended joined(const ValuePair& pair) {
    return joinValue(pair);
}

// Coefficient k + 1 of a main variable from coefficient k of its right side, split into its pair
// when the variable is read in loops.
inline void putNext(Extended* values, ValuePair* pairs, std::int32_t k, Extended derivative) {
    values[k + 1] = derivative / static_cast<Extended>(k + 1);
    if (pairs)
        splitInto(pairs[k + 1], values[k + 1]);
}

// Stops the run when a hand-written jet does not give the engine's coefficients bit for bit.
void requireSameBits(const LoadedProblem& loaded, std::int32_t index, const Extended* values,
                     const char* what) {
    const Extended* engine = loaded.array(index);
    for (std::int32_t k = 0; k < Terms; ++k)
        if (std::memcmp(engine + k, values + k, 10) != 0)
            throw std::runtime_error(std::string(what) + ": coefficient " + std::to_string(k) +
                                     " of array " + std::to_string(index) +
                                     " differs from the engine's");
}

// lorenz.ode compiles to [13] = y - x, x' = sigma [13], [14] = rho - z, [15] = x [14],
// y' = [15] - y, [16] = x y, [17] = beta z, z' = [16] - [17] (table indices of the engine).
struct Lorenz {
    static constexpr std::int32_t Sigma = 0, Beta = 2, X = 4, Y = 5, Z = 6, DX = 8, DY = 9, DZ = 10,
                                  C = 14;
    Extended sigma, beta, dx0, dy0, dz0;
    Extended x[Terms], y[Terms], z[Terms], a[Terms], b[Terms], c[Terms], d[Terms], e[Terms],
        f[Terms], g[Terms], h[Terms];
    ValuePair px[Terms], py[Terms], pc[Terms];

    explicit Lorenz(const LoadedProblem& loaded) {
        sigma = loaded.array(Sigma)[0];
        beta = loaded.array(Beta)[0];
        x[0] = loaded.array(X)[0];
        y[0] = loaded.array(Y)[0];
        z[0] = loaded.array(Z)[0];
        c[0] = loaded.array(C)[0];
        dx0 = loaded.array(DX)[0];
        dy0 = loaded.array(DY)[0];
        dz0 = loaded.array(DZ)[0];
        splitInto(px[0], x[0]);
        splitInto(py[0], y[0]);
        splitInto(pc[0], c[0]);
    }

    void advance(std::int32_t k, Extended dx, Extended dy, Extended dz) {
        putNext(x, px, k, dx);
        putNext(y, py, k, dy);
        putNext(z, nullptr, k, dz);
    }

    // Orders 1 .. Terms-1 of the main variables come from orders 0 .. Terms-2 of the right
    // sides; order 0 is the engine's.
    void stored() {
        advance(0, dx0, dy0, dz0);
        for (std::int32_t k = 1; k + 1 < Terms; ++k) {
            a[k] = y[k] - x[k];
            b[k] = sigma * a[k];
            c[k] = -z[k];
            splitInto(pc[k], c[k]);
            Extended s1 = 0, s2 = 0;
            for (std::int32_t j = 0; j <= k; ++j) {
                const Extended xj = joined(px[j]);
                s1 += xj * joined(pc[k - j]);
                s2 += xj * joined(py[k - j]);
            }
            d[k] = s1;
            e[k] = d[k] - y[k];
            f[k] = s2;
            g[k] = beta * z[k];
            h[k] = f[k] - g[k];
            advance(k, b[k], e[k], h[k]);
        }
    }

    void registers() {
        advance(0, dx0, dy0, dz0);
        for (std::int32_t k = 1; k + 1 < Terms; ++k) {
            splitInto(pc[k], -z[k]);
            Extended s1 = 0, s2 = 0;
            for (std::int32_t j = 0; j <= k; ++j) {
                const Extended xj = joined(px[j]);
                s1 += xj * joined(pc[k - j]);
                s2 += xj * joined(py[k - j]);
            }
            advance(k, sigma * (y[k] - x[k]), s1 - y[k], s2 - beta * z[k]);
        }
    }

    // As registers(), and each sum's first and last terms, the ones with the coefficients made
    // last, take those from registers instead of reading them back from their pairs.
    void newest() {
        const Extended x0 = x[0], y0 = y[0], c0 = c[0];
        advance(0, dx0, dy0, dz0);
        for (std::int32_t k = 1; k + 1 < Terms; ++k) {
            const Extended xk = x[k], yk = y[k], zk = z[k], ck = -zk;
            splitInto(pc[k], ck);
            Extended s1 = 0, s2 = 0;
            s1 += x0 * ck;
            s2 += x0 * yk;
            for (std::int32_t j = 1; j < k; ++j) {
                const Extended xj = joined(px[j]);
                s1 += xj * joined(pc[k - j]);
                s2 += xj * joined(py[k - j]);
            }
            s1 += xk * c0;
            s2 += xk * y0;
            advance(k, sigma * (yk - xk), s1 - yk, s2 - beta * zk);
        }
    }

    void check(const LoadedProblem& loaded, const char* what) const {
        requireSameBits(loaded, X, x, what);
        requireSameBits(loaded, Y, y, what);
        requireSameBits(loaded, Z, z, what);
    }
};

// Coefficient k >= 1 of u^2 as the engine sums it.
inline Extended squareOf(const ValuePair* u, std::int32_t k) {
    const std::int32_t g = (k - 1) / 2;
    Extended s = 0;
    for (std::int32_t l = 0; l <= g; ++l)
        s += joined(u[l]) * joined(u[k - l]);
    if (k % 2 != 0)
        return 2 * s;
    return joined(u[k / 2]) * joined(u[k / 2]) + 2 * s;
}

// kepler.ode compiles to [20] = x^2, [22] = y^2, [23] = [20] + [22], r3 = [23]^-1.5, x' = vx,
// y' = vy, [27] = x r3, vx' = 0 - [27], [29] = y r3, vy' = 0 - [29].
struct Kepler {
    static constexpr std::int32_t X = 2, Y = 3, VX = 4, VY = 5, R3 = 6, X2 = 20, Y2 = 22, S = 23,
                                  DVX = 10, DVY = 11, Exponent = 26;
    static constexpr std::size_t WeightCount = Terms * (Terms + 1) / 2;
    ValuePair weight[WeightCount]; // the power rule's weights, row k from k(k+1)/2
    Extended x[Terms], y[Terms], vx[Terms], vy[Terms], x2[Terms], y2[Terms], s[Terms], r3[Terms],
        p1[Terms], p2[Terms], dvx[Terms], dvy[Terms];
    ValuePair px[Terms], py[Terms], ps[Terms], pr[Terms];
    Extended s0, dvx0, dvy0;

    explicit Kepler(const LoadedProblem& loaded) {
        const Extended exponent = loaded.array(Exponent)[0];
        const EngineState& engine = loaded.state;
        for (std::size_t at = 0; at < WeightCount; ++at)
            weight[at] = splitValue(exponent * engine.FracKJ[at] - engine.FracJK[at]);
        auto start = [&](Extended* values, ValuePair* pairs, std::int32_t index) {
            values[0] = loaded.array(index)[0];
            if (pairs)
                splitInto(pairs[0], values[0]);
        };
        start(x, px, X);
        start(y, py, Y);
        start(vx, nullptr, VX);
        start(vy, nullptr, VY);
        start(s, ps, S);
        start(r3, pr, R3);
        s0 = s[0];
        dvx0 = loaded.array(DVX)[0];
        dvy0 = loaded.array(DVY)[0];
    }

    void advance(std::int32_t k, Extended dx, Extended dy, Extended dvxk, Extended dvyk) {
        putNext(x, px, k, dx);
        putNext(y, py, k, dy);
        putNext(vx, nullptr, k, dvxk);
        putNext(vy, nullptr, k, dvyk);
    }

    Extended power(std::int32_t k) const {
        const ValuePair* w = weight + k * (k + 1) / 2;
        Extended acc = 0;
        for (std::int32_t j = 0; j < k; ++j)
            acc += joined(w[j]) * joined(pr[j]) * joined(ps[k - j]);
        return acc / s0;
    }

    void stored() {
        advance(0, vx[0], vy[0], dvx0, dvy0);
        for (std::int32_t k = 1; k + 1 < Terms; ++k) {
            x2[k] = squareOf(px, k);
            y2[k] = squareOf(py, k);
            s[k] = x2[k] + y2[k];
            splitInto(ps[k], s[k]);
            r3[k] = power(k);
            splitInto(pr[k], r3[k]);
            Extended s1 = 0, s2 = 0;
            for (std::int32_t j = 0; j <= k; ++j) {
                const Extended rj = joined(pr[k - j]);
                s1 += joined(px[j]) * rj;
                s2 += joined(py[j]) * rj;
            }
            p1[k] = s1;
            dvx[k] = -p1[k];
            p2[k] = s2;
            dvy[k] = -p2[k];
            advance(k, vx[k], vy[k], dvx[k], dvy[k]);
        }
    }

    void registers() {
        advance(0, vx[0], vy[0], dvx0, dvy0);
        for (std::int32_t k = 1; k + 1 < Terms; ++k) {
            splitInto(ps[k], squareOf(px, k) + squareOf(py, k));
            splitInto(pr[k], power(k));
            Extended s1 = 0, s2 = 0;
            for (std::int32_t j = 0; j <= k; ++j) {
                const Extended rj = joined(pr[k - j]);
                s1 += joined(px[j]) * rj;
                s2 += joined(py[j]) * rj;
            }
            advance(k, vx[k], vy[k], -s1, -s2);
        }
    }

    void newest() {
        const Extended x0 = x[0], y0 = y[0], r0 = r3[0];
        advance(0, vx[0], vy[0], dvx0, dvy0);
        for (std::int32_t k = 1; k + 1 < Terms; ++k) {
            const Extended xk = x[k], yk = y[k];
            const std::int32_t g = (k - 1) / 2;
            Extended sx = 0, sy = 0;
            sx += x0 * xk;
            sy += y0 * yk;
            for (std::int32_t l = 1; l <= g; ++l) {
                sx += joined(px[l]) * joined(px[k - l]);
                sy += joined(py[l]) * joined(py[k - l]);
            }
            Extended squares;
            if (k % 2 != 0) {
                squares = 2 * sx + 2 * sy;
            } else {
                const Extended xh = joined(px[k / 2]), yh = joined(py[k / 2]);
                squares = (xh * xh + 2 * sx) + (yh * yh + 2 * sy);
            }
            splitInto(ps[k], squares);
            const ValuePair* w = weight + k * (k + 1) / 2;
            Extended acc = 0;
            acc += joined(w[0]) * r0 * squares;
            for (std::int32_t j = 1; j < k; ++j)
                acc += joined(w[j]) * joined(pr[j]) * joined(ps[k - j]);
            const Extended rk = acc / s0;
            splitInto(pr[k], rk);
            Extended s1 = 0, s2 = 0;
            s1 += x0 * rk;
            s2 += y0 * rk;
            for (std::int32_t j = 1; j < k; ++j) {
                const Extended rj = joined(pr[k - j]);
                s1 += joined(px[j]) * rj;
                s2 += joined(py[j]) * rj;
            }
            s1 += xk * r0;
            s2 += yk * r0;
            advance(k, vx[k], vy[k], -s1, -s2);
        }
    }

    void check(const LoadedProblem& loaded, const char* what) const {
        requireSameBits(loaded, X, x, what);
        requireSameBits(loaded, Y, y, what);
        requireSameBits(loaded, VX, vx, what);
        requireSameBits(loaded, VY, vy, what);
    }
};

enum class Form { Engine, Native, Stored, Registers, Newest };

template <class Jet> void floorJet(benchmark::State& bench, const char* name, Form form) {
    LoadedProblem loaded(name, form == Form::Native);
    Jet jet(loaded);
    jet.stored();
    jet.check(loaded, "stored");
    jet.registers();
    jet.check(loaded, "registers");
    jet.newest();
    jet.check(loaded, "newest");
    for (auto _ : bench) {
        if (form == Form::Engine || form == Form::Native)
            ComputeCoefficients(loaded.problem, loaded.state);
        else if (form == Form::Stored)
            jet.stored();
        else if (form == Form::Registers)
            jet.registers();
        else
            jet.newest();
        benchmark::ClobberMemory();
    }
}

void lorenz(benchmark::State& bench, Form form) {
    floorJet<Lorenz>(bench, "lorenz.ode", form);
}

void kepler(benchmark::State& bench, Form form) {
    floorJet<Kepler>(bench, "kepler.ode", form);
}

} // namespace

BENCHMARK_CAPTURE(lorenz, engine, Form::Engine)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lorenz, native, Form::Native)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lorenz, stored, Form::Stored)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lorenz, registers, Form::Registers)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lorenz, newest, Form::Newest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(kepler, engine, Form::Engine)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(kepler, native, Form::Native)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(kepler, stored, Form::Stored)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(kepler, registers, Form::Registers)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(kepler, newest, Form::Newest)->Unit(benchmark::kMicrosecond);
