#include "engine/TaylorEngine.h"

#include "common/FloatFaults.h"
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/Language.h"
#include "compiler/ScalarRoutines.h"
#include "engine/EnginePlan.h"
#include "engine/PolynomialTerms.h"
#include "engine/SquareRule.h"
#include "engine/ValuePair.h"

#include <cfenv>
#include <cmath>
#include <cstring>

namespace {

// One array of the block or row of a table as a pass reads it: the 80-bit values, or on the
// paired pass their exact pairs (the same values, loaded at about half the cost).
template <bool Paired> struct Values {
    const Extended* X;
    const ValuePair* Pairs;
    Extended operator[](std::int32_t i) const {
        if constexpr (Paired)
            return joinValue(Pairs[i]);
        else
            return X[i];
    }
};

// What one pass over the plan reads: the coefficient block, the table rows of order k, the
// problem (constants, polynomials, the independent variable) and the plan's weight tables. The
// paired pass also keeps the pairs of the arrays its loops read (see PairedArrays.h): each such
// coefficient it stores is split into its pair at once, and `unsplit` set when one does not
// split exactly. Values read once are read in 80 bits.
template <bool Paired> struct Pass {
    Extended* base;
    ValuePair* pairs; // the paired pass only
    bool* unsplit;    // the paired pass only
    const EnginePlan& plan;
    const TCompiledProblem& problem;
    std::int32_t k;
    Values<Paired> fracJK; // row k of the tables
    Values<Paired> fracKJ;
    Values<Paired> fracSqrt;

    // An array as the loops read it.
    Values<Paired> loop(std::uint32_t offset) const {
        if constexpr (Paired)
            return {base + offset, pairs + offset};
        else
            return {base + offset, nullptr};
    }
    // Coefficient `index` of the block becomes `value`; `pair` when its array is kept as pairs.
    void put(std::uint32_t index, Extended value, bool pair) const {
        base[index] = value;
        if constexpr (Paired)
            if (pair) {
                ValuePair& halves = pairs[index];
                splitInto(halves, value);
                // A store only when it fails: or-ing into the flag every time would chain all
                // the stores of a pass through one memory location.
                if (!splitsExactly(halves, value)) [[unlikely]]
                    *unsplit = true;
            }
    }
};

// The sum of weight[j] a[j] b[k-j] for j = from .. k-1, each term multiplied left to right.
template <class Weights, class V>
inline Extended weightedSum(const Weights& weight, const V& a, const V& b, std::int32_t from,
                            std::int32_t k) {
    Extended s = 0;
    for (std::int32_t j = from; j < k; ++j)
        s += weight[j] * a[j] * b[k - j];
    return s;
}

// The sum of a[j] b[k-j] for j = 0 .. end-1.
template <class V>
inline Extended productSum(const V& a, const V& b, std::int32_t end, std::int32_t k) {
    Extended s = 0;
    for (std::int32_t j = 0; j < end; ++j)
        s += a[j] * b[k - j];
    return s;
}

template <bool Paired>
inline Extended powerOrderK(const PlanStep& step, const Pass<Paired>& p, Values<Paired> r,
                            Values<Paired> u, Extended exponent) {
    const std::int32_t k = p.k;
    const PowerWeights& cached = p.plan.Powers[step.Aux];
    if (cached.Exponent != exponent) {
        Extended s = 0;
        for (std::int32_t j = 0; j < k; ++j)
            s += (exponent * p.fracKJ[j] - p.fracJK[j]) * r[j] * u[k - j];
        return s / p.base[step.U];
    }
    const std::size_t row = cached.Offset + triangleRow(k);
    const Extended* weight = p.plan.WeightPool.data() + row;
    if constexpr (Paired)
        if (cached.Paired)
            return weightedSum(Values<true>{weight, p.plan.WeightPairs.data() + row}, r, u, 0, k) /
                   p.base[step.U];
    return weightedSum(weight, r, u, 0, k) / p.base[step.U];
}

// The power rule when the base is the independent variable t, with t0 = u[0].
template <bool Paired>
inline Extended powerOfT(const Pass<Paired>& p, const Extended* r, const Extended* u,
                         Extended exponent) {
    const std::int32_t k = p.k;
    const Extended t0 = u[0];
    const Extended weight = exponent * p.fracKJ[k - 1] - p.fracJK[k - 1];
    if (exponent > 1 && exponent == std::floor(exponent) && t0 == 0)
        return exponent == static_cast<Extended>(k) ? 1.0L : 0.0L;
    return weight * r[k - 1] / t0;
}

// Coefficient k of one member's scaled copies and products.
template <bool Paired>
inline void storeScaledMember(const ScaledProductGroup::Member& member, const Pass<Paired>& p,
                              Extended c1, Extended c2, Extended sum1, Extended sum2) {
    const std::int32_t k = p.k;
    const Extended xk = p.base[member.X + k];
    p.put(member.Scaled1 + k, c1 * xk, member.PairScaled1);
    p.put(member.Scaled2 + k, c2 * xk, member.PairScaled2);
    p.put(member.Product1 + k, sum1, member.PairProduct1);
    p.put(member.Product2 + k, sum2, member.PairProduct2);
}

// Coefficient k of the products of a scaled group (see ScaledProductGroup) and of their scaled
// copies. Each term of every sum is what the separate steps would add (c X[j] rounds the same in
// a register as in T's array), in the same order, so the bits do not change; what changes is
// that X[j] is loaded once for both products and, with equal scales, Y[k-j] once for the group:
// loads are what bounds these loops. Equal scales (the same mass on both sides of a pair, sign
// of zero included) make P1 and P2 equal term by term, so one sum serves both; a scale of one is
// skipped, as 1 X is X exactly.
template <std::uint32_t Count, bool Paired>
inline void scaledProducts(const ScaledProductGroup& group, const Pass<Paired>& p,
                           Values<Paired> y) {
    const std::int32_t k = p.k;
    const Extended c1 = p.base[group.Scale1];
    const Extended c2 = p.base[group.Scale2];
    if (!(c1 == c2 && std::signbit(c1) == std::signbit(c2))) {
        for (std::uint32_t m = 0; m < group.Count; ++m) {
            const Values<Paired> x = p.loop(group.Members[m].X);
            Extended s1 = 0, s2 = 0;
            for (std::int32_t j = 0; j <= k; ++j) {
                const Extended xj = x[j];
                const Extended yj = y[k - j];
                s1 += c1 * xj * yj;
                s2 += c2 * xj * yj;
            }
            storeScaledMember(group.Members[m], p, c1, c2, s1, s2);
        }
        return;
    }
    Values<Paired> x[Count];
    for (std::uint32_t m = 0; m < Count; ++m)
        x[m] = p.loop(group.Members[m].X);
    Extended s[Count] = {};
    if (c1 == 1) {
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended yj = y[k - j];
            for (std::uint32_t m = 0; m < Count; ++m)
                s[m] += x[m][j] * yj;
        }
    } else {
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended yj = y[k - j];
            for (std::uint32_t m = 0; m < Count; ++m)
                s[m] += c1 * x[m][j] * yj;
        }
    }
    for (std::uint32_t m = 0; m < Count; ++m)
        storeScaledMember(group.Members[m], p, c1, c2, s[m], s[m]);
}

// Coefficient k of a Pow or PowT step.
template <bool Paired> inline void powerStep(const PlanStep& step, const Pass<Paired>& p) {
    const Extended exponent = p.base[step.W];
    const std::uint32_t at = step.R + static_cast<std::uint32_t>(p.k);
    if (exponent == 0)
        p.put(at, 0, step.PairR);
    else if (exponent == 1)
        p.put(at, p.base[step.U + p.k], step.PairR);
    else if (step.Kind == PlanKind::Pow)
        p.put(at, powerOrderK(step, p, p.loop(step.R), p.loop(step.U), exponent), step.PairR);
    else
        p.put(at, powerOfT(p, p.base + step.R, p.base + step.U, exponent), step.PairR);
}

// Coefficient k of two powers with one exponent: each sum as powerOrderK forms it, the two
// interleaved so that their add chains overlap and each weight is loaded once.
template <bool Paired> inline void powerPair(const PowerPair& pair, const Pass<Paired>& p) {
    const Extended exponent = p.base[pair.First.W];
    const PowerWeights& cached = p.plan.Powers[pair.First.Aux];
    if (exponent == 0 || exponent == 1 || cached.Exponent != exponent ||
        (Paired && !cached.Paired)) {
        powerStep(pair.First, p);
        powerStep(pair.Second, p);
        return;
    }
    const std::int32_t k = p.k;
    const std::size_t row = cached.Offset + triangleRow(k);
    const Values<Paired> weight = {p.plan.WeightPool.data() + row,
                                   Paired ? p.plan.WeightPairs.data() + row : nullptr};
    const Values<Paired> r1 = p.loop(pair.First.R), r2 = p.loop(pair.Second.R);
    const Values<Paired> u1 = p.loop(pair.First.U), u2 = p.loop(pair.Second.U);
    Extended s1 = 0, s2 = 0;
    for (std::int32_t j = 0; j < k; ++j) {
        const Extended wj = weight[j];
        s1 += wj * r1[j] * u1[k - j];
        s2 += wj * r2[j] * u2[k - j];
    }
    p.put(pair.First.R + k, s1 / p.base[pair.First.U], pair.First.PairR);
    p.put(pair.Second.R + k, s2 / p.base[pair.Second.U], pair.Second.PairR);
}

// Coefficient k of every sum of a chain (see ChainSpan). a - b is a + (-b) bit for bit, so the
// sign is chosen per step and the running value added to.
template <bool Paired>
inline void sumChain(const PlanStep* steps, std::uint32_t count, const Pass<Paired>& p) {
    const std::int32_t k = p.k;
    const PlanStep& first = steps[0];
    const Extended w = p.base[first.W + k];
    Extended sum = first.Kind == PlanKind::NegW    ? -w
                   : first.Kind == PlanKind::CopyW ? w
                   : first.Kind == PlanKind::AddVV ? p.base[first.U + k] + w
                                                   : p.base[first.U + k] - w;
    p.put(first.R + k, sum, first.PairR);
    for (std::uint32_t i = 1; i < count; ++i) {
        const Extended term = p.base[steps[i].W + k];
        sum += steps[i].Kind == PlanKind::SubVV ? -term : term;
        p.put(steps[i].R + k, sum, steps[i].PairR);
    }
}

// Coefficient k of two products summed side by side. A factor the two share is loaded once per
// term (loads bound these loops); each sum keeps its own terms in order.
template <bool Paired> inline void productPair(const PlanStep& step, const Pass<Paired>& p) {
    const PlanPartner& second = p.plan.Partners[step.Aux];
    const std::int32_t k = p.k;
    const Values<Paired> u = p.loop(step.U), w = p.loop(step.W);
    const Values<Paired> u2 = p.loop(second.U), w2 = p.loop(second.W);
    Extended s = 0, s2 = 0;
    if (second.U == step.U) {
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended uj = u[j];
            s += uj * w[k - j];
            s2 += uj * w2[k - j];
        }
    } else if (second.W == step.W) {
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended wj = w[k - j];
            s += u[j] * wj;
            s2 += u2[j] * wj;
        }
    } else {
        for (std::int32_t j = 0; j <= k; ++j) {
            s += u[j] * w[k - j];
            s2 += u2[j] * w2[k - j];
        }
    }
    p.put(step.R + k, s, step.PairR);
    p.put(second.R + k, s2, second.PairR);
}

// Coefficient `to` = `from` or -`from` moved as bits: an 80-bit load and store through the
// floating-point stack cost several times two integer moves, and the sign of a negation is its
// top bit either way. The pair moves with it.
template <bool Paired>
inline void copyValue(const Pass<Paired>& p, std::uint32_t to, std::uint32_t from, bool negate,
                      bool pair) {
    constexpr std::size_t valueBytes = 10;
    std::memcpy(p.base + to, p.base + from, valueBytes);
    if (negate)
        reinterpret_cast<unsigned char*>(p.base + to)[valueBytes - 1] ^= 0x80;
    if constexpr (Paired)
        if (pair)
            p.pairs[to] = negate ? negatePair(p.pairs[from]) : p.pairs[from];
}

// One step at order k >= 1; false when the operation has no recurrence here. Constants (the
// operand c of c*x, x*c, x/c, a polynomial's selector) have coefficient 0 only and are read as
// 80-bit values.
template <bool Paired>
[[gnu::always_inline]] inline bool stepOrderK(const PlanStep& step, const Pass<Paired>& p) {
    // r, u, w as the loops read them; rx, ux, wx for the values read once.
    const Values<Paired> r = p.loop(step.R);
    const Values<Paired> u = p.loop(step.U);
    const Values<Paired> w = p.loop(step.W);
    const Extended* rx = p.base + step.R;
    const Extended* ux = p.base + step.U;
    const Extended* wx = p.base + step.W;
    const std::int32_t k = p.k;
    const std::uint32_t at = step.R + static_cast<std::uint32_t>(k);
    const bool pair = step.PairR;
    switch (step.Kind) {
    case PlanKind::CopyU:
        copyValue(p, at, step.U + k, false, pair);
        break;
    case PlanKind::CopyW:
        copyValue(p, at, step.W + k, false, pair);
        break;
    case PlanKind::NegW:
        copyValue(p, at, step.W + k, true, pair);
        break;
    case PlanKind::ConstTimesW:
        p.put(at, ux[0] * wx[k], pair);
        break;
    case PlanKind::UTimesConst:
        p.put(at, ux[k] * wx[0], pair);
        break;
    case PlanKind::UDivConst:
        p.put(at, ux[k] / wx[0], pair);
        break;
    case PlanKind::ConstDiv:
        p.put(at, -productSum(r, w, k, k) / wx[0], pair);
        break;
    case PlanKind::ConstDivT:
        p.put(at, -rx[k - 1] / wx[0], pair);
        break;
    case PlanKind::AddVV:
        p.put(at, ux[k] + wx[k], pair);
        break;
    case PlanKind::SubVV:
        p.put(at, ux[k] - wx[k], pair);
        break;
    case PlanKind::MulVV:
        p.put(at, productSum(u, w, k + 1, k), pair);
        break;
    case PlanKind::MulTW:
        p.put(at, ux[0] * wx[k] + wx[k - 1], pair);
        break;
    case PlanKind::MulWT:
        p.put(at, ux[k] * wx[0] + ux[k - 1], pair);
        break;
    case PlanKind::DivVV:
        p.put(at, (ux[k] - productSum(r, w, k, k)) / wx[0], pair);
        break;
    case PlanKind::DivVT:
        p.put(at, (ux[k] - rx[k - 1]) / wx[0], pair);
        break;
    case PlanKind::Cos:
        p.put(at, -weightedSum(p.fracKJ, w, u, 0, k), pair);
        break;
    case PlanKind::CosT:
        p.put(at, -wx[k - 1] / static_cast<Extended>(k), pair);
        break;
    case PlanKind::Sin:
    case PlanKind::Tan:
        p.put(at, weightedSum(p.fracKJ, w, u, 0, k), pair);
        break;
    case PlanKind::SinT:
        p.put(at, wx[k - 1] / static_cast<Extended>(k), pair);
        break;
    case PlanKind::Arccos:
        p.put(at, -(ux[k] + weightedSum(p.fracJK, r, w, 1, k)) / wx[0], pair);
        break;
    case PlanKind::Arcsin:
        p.put(at, (ux[k] - weightedSum(p.fracJK, r, w, 1, k)) / wx[0], pair);
        break;
    case PlanKind::Exp:
        p.put(at, weightedSum(p.fracKJ, r, u, 0, k), pair);
        break;
    case PlanKind::ExpT:
        p.put(at, rx[k - 1] / static_cast<Extended>(k), pair);
        break;
    case PlanKind::Ln: {
        Extended s = 0;
        for (std::int32_t j = 1; j < k; ++j)
            s += p.fracKJ[j] * r[k - j] * u[j];
        p.put(at, (ux[k] - s) / ux[0], pair);
        break;
    }
    case PlanKind::LnT:
        p.put(at, (ux[k] - p.fracJK[k - 1] * rx[k - 1]) / ux[0], pair);
        break;
    case PlanKind::Sqrt:
        p.put(at, weightedSum(p.fracSqrt, r, u, 0, k) / ux[0], pair);
        break;
    case PlanKind::SqrtT:
        p.put(at,
              static_cast<Extended>(3 - 2 * k) / static_cast<Extended>(2 * k) * rx[k - 1] / ux[0],
              pair);
        break;
    case PlanKind::Square:
        p.put(at, squareRule(u, k), pair);
        break;
    case PlanKind::NegSquare:
        p.put(at, -squareRule(u, k), pair);
        break;
    case PlanKind::Pow:
    case PlanKind::PowT:
        powerStep(step, p);
        break;
    case PlanKind::PowPair:
        powerPair(p.plan.PowerPairs[step.Aux], p);
        break;
    case PlanKind::Polynomial: {
        const auto value = polynomialOrderK(p.problem, ux[0], k);
        if (!value)
            return false;
        p.put(at, *value, pair);
        break;
    }
    case PlanKind::MulVVPair:
        productPair(step, p);
        break;
    case PlanKind::SumChain:
        sumChain(p.plan.ChainSteps.data() + p.plan.Chains[step.Aux].First,
                 p.plan.Chains[step.Aux].Count, p);
        break;
    case PlanKind::ScaledProducts: {
        const ScaledProductGroup& group = p.plan.ScaledGroups[step.Aux];
        if (group.Count == 3)
            scaledProducts<3>(group, p, w);
        else if (group.Count == 2)
            scaledProducts<2>(group, p, w);
        else
            scaledProducts<1>(group, p, w);
        break;
    }
    case PlanKind::Broken:
    case PlanKind::Fail:
        return false;
    }
    return true;
}

// One step at order 0; false when the operation is unknown to the engine.
template <bool Paired> inline bool stepOrder0(const PlanStep& step, const Pass<Paired>& p) {
    if (step.Kind == PlanKind::Broken)
        return false;
    Extended* r = p.base + step.R;
    const Extended a = p.base[step.U];
    const Extended b = p.base[step.W];
    switch (step.Op) {
    case OpCos:
        r[0] = std::cos(a);
        break;
    case OpSin:
        r[0] = std::sin(a);
        break;
    case OpTan:
        r[0] = std::tan(a);
        break;
    case OpArccos:
        r[0] = std::atan2(std::sqrt((1 + a) * (1 - a)), a);
        break;
    case OpArcsin:
        r[0] = std::atan2(a, std::sqrt(1 - a * a));
        break;
    case OpArctan:
        r[0] = std::atan(a);
        break;
    case OpExp:
        r[0] = std::exp(a);
        break;
    case OpLn:
        r[0] = std::log(a);
        break;
    case OpLog:
        r[0] = std::log(b) / std::log(a);
        break;
    case OpSqrt:
        r[0] = std::sqrt(a);
        break;
    case OpPolynomial: {
        const auto value = polynomialOrder0(p.problem, a);
        if (!value)
            return false;
        r[0] = *value;
        break;
    }
    case OpCopy:
        r[0] = a;
        break;
    case OpOnePlusSquare:
        r[0] = a * a + 1;
        break;
    case OpSquare:
        r[0] = a * a;
        break;
    case OpOneMinusSquare:
        r[0] = 1 - a * a;
        break;
    case OpMul:
        r[0] = a * b;
        break;
    case OpAdd:
        r[0] = a + b;
        break;
    case OpSub:
        r[0] = a - b;
        break;
    case OpDiv:
        r[0] = a / b;
        break;
    case OpPow:
        r[0] = Power(a, b);
        break;
    default:
        return false;
    }
    return true;
}

// The pairs of the block, placed so that pair i lies half a page (mod 4096) away from
// coefficient i. At equal page offsets the processor takes the paired load of a coefficient for
// a read of the 80-bit store just made to another one (they agree in the low twelve address
// bits) and holds it until that slow store completes: the same jet then ran up to 40 % slower
// depending on where the heap had put the two buffers.
ValuePair* pairsApartFromBlock(EngineState& engine, const Extended* block, std::size_t size) {
    constexpr std::size_t page = 4096, perPage = page / sizeof(ValuePair);
    if (engine.BlockPairs.size() < size + perPage)
        engine.BlockPairs.resize(size + perPage);
    const auto blockAt = reinterpret_cast<std::uintptr_t>(block);
    const auto pairsAt = reinterpret_cast<std::uintptr_t>(engine.BlockPairs.data());
    const std::size_t shift = (page / 2 + blockAt - pairsAt) % page / sizeof(ValuePair);
    return engine.BlockPairs.data() + shift;
}

template <bool Paired>
Pass<Paired> makePass(TCompiledProblem& problem, const EnginePlan& plan, EngineState& engine,
                      std::int32_t k, ValuePair* pairs = nullptr, bool* unsplit = nullptr) {
    const std::size_t row = triangleRow(k);
    auto table = [&](const std::vector<Extended>& values, const std::vector<ValuePair>& pairs) {
        return Values<Paired>{values.data() + row, Paired ? pairs.data() + row : nullptr};
    };
    return Pass<Paired>{problem.Coefficients.data(),
                        pairs,
                        unsplit,
                        plan,
                        problem,
                        k,
                        table(engine.FracJK, engine.FracJKPairs),
                        table(engine.FracKJ, engine.FracKJPairs),
                        table(engine.FracSqrt, engine.FracSqrtPairs)};
}

// All steps of one order without looking at the flags; false at an operation without a
// recurrence. The caller tests the flags once afterwards.
template <bool Paired> bool runPassFast(const Pass<Paired>& p) {
    if (p.k == 0) {
        for (const PlanStep& step : p.plan.Steps)
            if (!stepOrder0(step, p))
                return false;
        return true;
    }
    const PlanStep* step = p.plan.FastSteps.data();
    const PlanStep* end = step + p.plan.FastSteps.size();
    for (; step != end; ++step)
        if (!stepOrderK(*step, p))
            return false;
    return true;
}

bool onlyInvalidOrDivByZero() {
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO) != 0 && std::fetestexcept(FE_OVERFLOW) == 0;
}

[[noreturn]] void raiseSingularity(const TCompiledProblem& problem, EngineState& engine,
                                   std::size_t index) {
    const TInstruction& instruction = problem.ActiveInstructions[index];
    engine.FailedInstruction = static_cast<std::int32_t>(index);
    engine.FailedLine = instruction.Line;
    throw OrvantaError(formatText("Singularity! Instruction %d: operation %s",
                                  static_cast<int>(index), OpName(instruction.Op).c_str()));
}

// The same pass checked instruction by instruction: a fault at the special point takes the
// supplied coefficient, any other fault stops with the singularity report.
void runPassChecked(const Pass<false>& p, EngineState& engine) {
    const TCompiledProblem& problem = p.problem;
    const bool atSpecialPoint =
        problem.hasSpecialPoint() && problem.CurrentIndep == problem.SpecialPoint;
    for (std::size_t i = 0; i < p.plan.Steps.size(); ++i) {
        const PlanStep& step = p.plan.Steps[i];
        clearFloatFaults();
        const bool known = p.k == 0 ? stepOrder0(step, p) : stepOrderK(step, p);
        if (!known)
            raiseSingularity(problem, engine, i);
        if (!floatFaultRaised())
            continue;
        if (atSpecialPoint && onlyInvalidOrDivByZero() &&
            static_cast<std::size_t>(p.k) < problem.SpecialValues.size()) {
            p.base[step.R + p.k] = problem.SpecialValues[p.k];
            continue;
        }
        raiseSingularity(problem, engine, i);
    }
    clearFloatFaults();
}

void runPass(const Pass<false>& p, EngineState& engine) {
    clearFloatFaults();
    if (!runPassFast(p) || floatFaultRaised())
        runPassChecked(p, engine);
}

// x_i[k+1] = f_i[k] / (k+1) for every main variable.
template <bool Paired> inline void advanceMainVariables(const Pass<Paired>& p) {
    const Extended divisor = static_cast<Extended>(p.k + 1);
    const EnginePlan& plan = p.plan;
    for (std::size_t i = 0; i < plan.MainOffsets.size(); ++i)
        p.put(plan.MainOffsets[i] + p.k + 1, p.base[plan.DerivOffsets[i] + p.k] / divisor,
              plan.MainPaired[i] != 0);
}

// The jet on 80-bit values, checked pass by pass or unchecked; false when the unchecked jet
// meets an operation without a recurrence.
template <bool Checked>
bool runJet(TCompiledProblem& problem, const EnginePlan& plan, EngineState& engine) {
    const std::int32_t n = engine.TermCount;
    for (std::int32_t k = 0; k < n; ++k) {
        const Pass<false> pass = makePass<false>(problem, plan, engine, k);
        if constexpr (Checked)
            runPassChecked(pass, engine);
        else if (!runPassFast(pass))
            return false;
        if (k + 1 < n)
            advanceMainVariables(pass);
    }
    return true;
}

enum class PairedJetEnd { Done, NoRecurrence, Unsplit };

// The unchecked jet reading pairs: the same operations in the same order on the same values as
// runJet<false>, so the same bits, as long as every value read splits exactly. It stops at the
// end of the first order where one did not.
PairedJetEnd runPairedJet(TCompiledProblem& problem, const EnginePlan& plan, EngineState& engine) {
    ValuePair* const pairs =
        pairsApartFromBlock(engine, problem.Coefficients.data(), plan.BlockSize);
    const std::int32_t n = engine.TermCount;
    bool unsplit = false;
    for (std::int32_t k = 0; k < n; ++k) {
        const Pass<true> pass = makePass<true>(problem, plan, engine, k, pairs, &unsplit);
        if (!runPassFast(pass))
            return PairedJetEnd::NoRecurrence;
        if (k == 0)
            for (const PairSpan& span : plan.StartPairs)
                for (std::uint32_t i = span.Offset; i < span.Offset + span.Count; ++i)
                    pass.put(i, pass.base[i], true);
        if (unsplit)
            return PairedJetEnd::Unsplit;
        if (k + 1 < n)
            advanceMainVariables(pass);
    }
    return unsplit ? PairedJetEnd::Unsplit : PairedJetEnd::Done;
}

// The jet in the plan's machine code; false when its result is not to be used: a value that did
// not split, an exponent that changed, or a fault (the flags are left for the caller to clear).
bool runNativeJet(TCompiledProblem& problem, const EnginePlan& plan, EngineState& engine) {
    clearFloatFaults();
    ValuePair* const pairs =
        pairsApartFromBlock(engine, problem.Coefficients.data(), plan.BlockSize);
    const NativeJetTables tables{plan.WeightPairs.data(), engine.FracKJPairs.data(),
                                 engine.FracJKPairs.data(), engine.FracSqrtPairs.data(), &Power};
    if (plan.Native->run(problem.Coefficients.data(), pairs, tables, engine.TermCount) != 0 ||
        floatFaultRaised())
        return false;
    ++engine.NativeJets;
    return true;
}

} // namespace

void EvalOrder0(TCompiledProblem& problem, EngineState& engine) {
    const EnginePlan& plan = planFor(problem, engine);
    runPass(makePass<false>(problem, plan, engine, 0), engine);
}

void EvalOrderK(TCompiledProblem& problem, EngineState& engine, std::int32_t k) {
    const EnginePlan& plan = planFor(problem, engine);
    runPass(makePass<false>(problem, plan, engine, k), engine);
}

bool useNativeJet(TCompiledProblem& problem, EngineState& engine, NativeArrays arrays,
                  std::string& why) {
    const EnginePlan& plan = planFor(problem, engine);
    // Past this the compiler takes long (a minute for a 10-body ring) and the interpreted jet's
    // fused loops win (that ring ran 15 % slower compiled).
    constexpr std::size_t largestNative = 100;
    if (plan.Steps.size() > largestNative) {
        why = "problems of more than " + std::to_string(largestNative) +
              " operations run faster interpreted";
        return false;
    }
    const auto keptBelow = static_cast<std::uint32_t>(
        arrays == NativeArrays::Every || problem.DerivStart >= problem.Coefficients.count()
            ? plan.BlockSize
            : problem.Coefficients.offset(problem.DerivStart));
    const std::string source = nativeJetSource(plan, keptBelow, why);
    if (source.empty())
        return false;
    plan.Native = buildNativeJet(source, why);
    return plan.Native != nullptr;
}

void ComputeCoefficients(TCompiledProblem& problem, EngineState& engine) {
    const EnginePlan& plan = planFor(problem, engine);
    if (plan.Native && runNativeJet(problem, plan, engine))
        return;
    // The whole jet runs on pairs, unchecked, and the flags are read once. A jet where a value
    // did not split runs again on 80-bit values (the flags of its splits mean nothing); only a
    // jet that faulted is run again pass by pass, which reproduces it exactly up to the fault
    // and reports or mends it.
    clearFloatFaults();
    const PairedJetEnd end = runPairedJet(problem, plan, engine);
    if (end == PairedJetEnd::Done && !floatFaultRaised())
        return;
    if (end == PairedJetEnd::Unsplit) {
        ++engine.UnsplitJets;
        clearFloatFaults();
        if (runJet<false>(problem, plan, engine) && !floatFaultRaised())
            return;
    }
    runJet<true>(problem, plan, engine);
}

void ComputeCoefficientsChecked(TCompiledProblem& problem, EngineState& engine) {
    runJet<true>(problem, planFor(problem, engine), engine);
}
