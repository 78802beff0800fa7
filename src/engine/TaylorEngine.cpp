#include "engine/TaylorEngine.h"

#include "common/FloatFaults.h"
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/Language.h"
#include "compiler/ScalarRoutines.h"
#include "engine/EnginePlan.h"
#include "engine/PolynomialTerms.h"
#include "engine/SquareRule.h"

#include <cfenv>
#include <cmath>
#include <cstring>

namespace {

// What one pass over the plan reads: the coefficient block, the table rows of order k, the
// problem (constants, polynomials, the independent variable) and the plan's weight tables.
struct Pass {
    Extended* base;
    const EnginePlan& plan;
    const TCompiledProblem& problem;
    std::int32_t k;
    const Extended* fracJK; // row k of the tables
    const Extended* fracKJ;
    const Extended* fracSqrt;
};

inline Extended powerOrderK(const PlanStep& step, const Pass& p, const Extended* r,
                            const Extended* u, Extended exponent) {
    const std::int32_t k = p.k;
    Extended s = 0;
    const PowerWeights& cached = p.plan.Powers[step.Aux];
    if (cached.Exponent == exponent) {
        const Extended* weight = p.plan.WeightPool.data() + cached.Offset + triangleRow(k);
        for (std::int32_t j = 0; j < k; ++j)
            s += weight[j] * r[j] * u[k - j];
    } else {
        for (std::int32_t j = 0; j < k; ++j)
            s += (exponent * p.fracKJ[j] - p.fracJK[j]) * r[j] * u[k - j];
    }
    return s / u[0];
}

// The power rule when the base is the independent variable t, with t0 = u[0].
inline Extended powerOfT(const Pass& p, const Extended* r, const Extended* u, Extended exponent) {
    const std::int32_t k = p.k;
    const Extended t0 = u[0];
    const Extended weight = exponent * p.fracKJ[k - 1] - p.fracJK[k - 1];
    if (exponent > 1 && exponent == std::floor(exponent) && t0 == 0)
        return exponent == static_cast<Extended>(k) ? 1.0L : 0.0L;
    return weight * r[k - 1] / t0;
}

// Coefficient k of one member's scaled copies and products.
inline void storeScaledMember(const ScaledProductGroup::Member& member, Extended* base,
                              std::int32_t k, Extended c1, Extended c2, Extended sum1,
                              Extended sum2) {
    const Extended xk = base[member.X + k];
    base[member.Scaled1 + k] = c1 * xk;
    base[member.Scaled2 + k] = c2 * xk;
    base[member.Product1 + k] = sum1;
    base[member.Product2 + k] = sum2;
}

// Coefficient k of the products of a scaled group (see ScaledProductGroup) and of their scaled
// copies. Each term of every sum is what the separate steps would add (c X[j] rounds the same in
// a register as in T's array), in the same order, so the bits do not change; what changes is
// that X[j] is loaded once for both products and, with equal scales, Y[k-j] once for the group:
// loads of 80-bit values are what bounds these loops. Equal scales (the same mass on both sides
// of a pair, sign of zero included) make P1 and P2 equal term by term, so one sum serves both;
// a scale of one is skipped, as 1 X is X exactly.
template <std::uint32_t Count>
inline void scaledProducts(const ScaledProductGroup& group, const Pass& p, const Extended* y) {
    const std::int32_t k = p.k;
    Extended* const base = p.base;
    const Extended c1 = base[group.Scale1];
    const Extended c2 = base[group.Scale2];
    if (!(c1 == c2 && std::signbit(c1) == std::signbit(c2))) {
        for (std::uint32_t m = 0; m < group.Count; ++m) {
            const Extended* x = base + group.Members[m].X;
            Extended s1 = 0, s2 = 0;
            for (std::int32_t j = 0; j <= k; ++j) {
                const Extended xj = x[j];
                const Extended yj = y[k - j];
                s1 += c1 * xj * yj;
                s2 += c2 * xj * yj;
            }
            storeScaledMember(group.Members[m], base, k, c1, c2, s1, s2);
        }
        return;
    }
    const Extended* x[Count];
    for (std::uint32_t m = 0; m < Count; ++m)
        x[m] = base + group.Members[m].X;
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
        storeScaledMember(group.Members[m], base, k, c1, c2, s[m], s[m]);
}

// Coefficient k of a Pow or PowT step.
inline void powerStep(const PlanStep& step, const Pass& p) {
    Extended* r = p.base + step.R;
    const Extended* u = p.base + step.U;
    const Extended exponent = p.base[step.W];
    const std::int32_t k = p.k;
    if (exponent == 0)
        r[k] = 0;
    else if (exponent == 1)
        r[k] = u[k];
    else if (step.Kind == PlanKind::Pow)
        r[k] = powerOrderK(step, p, r, u, exponent);
    else
        r[k] = powerOfT(p, r, u, exponent);
}

// Coefficient k of two powers with one exponent: each sum as powerOrderK forms it, the two
// interleaved so that their add chains overlap and each weight is loaded once.
inline void powerPair(const PowerPair& pair, const Pass& p) {
    const Extended exponent = p.base[pair.First.W];
    const PowerWeights& cached = p.plan.Powers[pair.First.Aux];
    if (exponent == 0 || exponent == 1 || cached.Exponent != exponent) {
        powerStep(pair.First, p);
        powerStep(pair.Second, p);
        return;
    }
    const std::int32_t k = p.k;
    const Extended* weight = p.plan.WeightPool.data() + cached.Offset + triangleRow(k);
    Extended* r1 = p.base + pair.First.R;
    Extended* r2 = p.base + pair.Second.R;
    const Extended* u1 = p.base + pair.First.U;
    const Extended* u2 = p.base + pair.Second.U;
    Extended s1 = 0, s2 = 0;
    for (std::int32_t j = 0; j < k; ++j) {
        const Extended wj = weight[j];
        s1 += wj * r1[j] * u1[k - j];
        s2 += wj * r2[j] * u2[k - j];
    }
    r1[k] = s1 / u1[0];
    r2[k] = s2 / u2[0];
}

// Coefficient k of every sum of a chain (see ChainSpan). a - b is a + (-b) bit for bit, so the
// sign is chosen per step and the running value added to.
inline void sumChain(const PlanStep* steps, std::uint32_t count, const Pass& p) {
    const std::int32_t k = p.k;
    Extended* const base = p.base;
    const PlanStep& first = steps[0];
    const Extended w = base[first.W + k];
    Extended sum = first.Kind == PlanKind::NegW    ? -w
                   : first.Kind == PlanKind::CopyW ? w
                   : first.Kind == PlanKind::AddVV ? base[first.U + k] + w
                                                   : base[first.U + k] - w;
    base[first.R + k] = sum;
    for (std::uint32_t i = 1; i < count; ++i) {
        const Extended term = base[steps[i].W + k];
        sum += steps[i].Kind == PlanKind::SubVV ? -term : term;
        base[steps[i].R + k] = sum;
    }
}

// Coefficient k of two products summed side by side. A factor the two share is loaded once per
// term (loads of 80-bit values bound these loops); each sum keeps its own terms in order.
inline void productPair(const PlanStep& step, const Pass& p) {
    const PlanPartner& second = p.plan.Partners[step.Aux];
    const std::int32_t k = p.k;
    const Extended* u = p.base + step.U;
    const Extended* w = p.base + step.W;
    const Extended* u2 = p.base + second.U;
    const Extended* w2 = p.base + second.W;
    Extended s = 0, s2 = 0;
    if (u2 == u) {
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended uj = u[j];
            s += uj * w[k - j];
            s2 += uj * w2[k - j];
        }
    } else if (w2 == w) {
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
    p.base[step.R + k] = s;
    p.base[second.R + k] = s2;
}

// r = u or r = -u moved as bits: an 80-bit load and store through the floating-point stack
// cost several times two integer moves, and the sign of a negation is its top bit either way.
inline void copyValue(Extended& r, const Extended& u, bool negate) {
    constexpr std::size_t valueBytes = 10;
    std::memcpy(&r, &u, valueBytes);
    if (negate)
        reinterpret_cast<unsigned char*>(&r)[valueBytes - 1] ^= 0x80;
}

// One step at order k >= 1; false when the operation has no recurrence here.
[[gnu::always_inline]] inline bool stepOrderK(const PlanStep& step, const Pass& p) {
    Extended* r = p.base + step.R;
    const Extended* u = p.base + step.U;
    const Extended* w = p.base + step.W;
    const std::int32_t k = p.k;
    Extended s = 0;
    switch (step.Kind) {
    case PlanKind::CopyU:
        copyValue(r[k], u[k], false);
        break;
    case PlanKind::CopyW:
        copyValue(r[k], w[k], false);
        break;
    case PlanKind::NegW:
        copyValue(r[k], w[k], true);
        break;
    case PlanKind::ConstTimesW:
        r[k] = u[0] * w[k];
        break;
    case PlanKind::UTimesConst:
        r[k] = u[k] * w[0];
        break;
    case PlanKind::UDivConst:
        r[k] = u[k] / w[0];
        break;
    case PlanKind::ConstDiv:
        for (std::int32_t j = 0; j < k; ++j)
            s += r[j] * w[k - j];
        r[k] = -s / w[0];
        break;
    case PlanKind::ConstDivT:
        r[k] = -r[k - 1] / w[0];
        break;
    case PlanKind::AddVV:
        r[k] = u[k] + w[k];
        break;
    case PlanKind::SubVV:
        r[k] = u[k] - w[k];
        break;
    case PlanKind::MulVV:
        for (std::int32_t j = 0; j <= k; ++j)
            s += u[j] * w[k - j];
        r[k] = s;
        break;
    case PlanKind::MulTW:
        r[k] = u[0] * w[k] + w[k - 1];
        break;
    case PlanKind::MulWT:
        r[k] = u[k] * w[0] + u[k - 1];
        break;
    case PlanKind::DivVV:
        for (std::int32_t j = 0; j < k; ++j)
            s += r[j] * w[k - j];
        r[k] = (u[k] - s) / w[0];
        break;
    case PlanKind::DivVT:
        r[k] = (u[k] - r[k - 1]) / w[0];
        break;
    case PlanKind::Cos:
        for (std::int32_t j = 0; j < k; ++j)
            s += p.fracKJ[j] * w[j] * u[k - j];
        r[k] = -s;
        break;
    case PlanKind::CosT:
        r[k] = -w[k - 1] / static_cast<Extended>(k);
        break;
    case PlanKind::Sin:
    case PlanKind::Tan:
        for (std::int32_t j = 0; j < k; ++j)
            s += p.fracKJ[j] * w[j] * u[k - j];
        r[k] = s;
        break;
    case PlanKind::SinT:
        r[k] = w[k - 1] / static_cast<Extended>(k);
        break;
    case PlanKind::Arccos:
        for (std::int32_t j = 1; j < k; ++j)
            s += p.fracJK[j] * r[j] * w[k - j];
        r[k] = -(u[k] + s) / w[0];
        break;
    case PlanKind::Arcsin:
        for (std::int32_t j = 1; j < k; ++j)
            s += p.fracJK[j] * r[j] * w[k - j];
        r[k] = (u[k] - s) / w[0];
        break;
    case PlanKind::Exp:
        for (std::int32_t j = 0; j < k; ++j)
            s += p.fracKJ[j] * r[j] * u[k - j];
        r[k] = s;
        break;
    case PlanKind::ExpT:
        r[k] = r[k - 1] / static_cast<Extended>(k);
        break;
    case PlanKind::Ln:
        for (std::int32_t j = 1; j < k; ++j)
            s += p.fracKJ[j] * r[k - j] * u[j];
        r[k] = (u[k] - s) / u[0];
        break;
    case PlanKind::LnT:
        r[k] = (u[k] - p.fracJK[k - 1] * r[k - 1]) / u[0];
        break;
    case PlanKind::Sqrt:
        for (std::int32_t j = 0; j < k; ++j)
            s += p.fracSqrt[j] * r[j] * u[k - j];
        r[k] = s / u[0];
        break;
    case PlanKind::SqrtT:
        r[k] = static_cast<Extended>(3 - 2 * k) / static_cast<Extended>(2 * k) * r[k - 1] / u[0];
        break;
    case PlanKind::Square:
        r[k] = squareRule(u, k);
        break;
    case PlanKind::NegSquare:
        r[k] = -squareRule(u, k);
        break;
    case PlanKind::Pow:
    case PlanKind::PowT:
        powerStep(step, p);
        break;
    case PlanKind::PowPair:
        powerPair(p.plan.PowerPairs[step.Aux], p);
        break;
    case PlanKind::Polynomial: {
        const auto value = polynomialOrderK(p.problem, u[0], k);
        if (!value)
            return false;
        r[k] = *value;
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
inline bool stepOrder0(const PlanStep& step, const Pass& p) {
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

Pass makePass(TCompiledProblem& problem, const EnginePlan& plan, const EngineState& engine,
              std::int32_t k) {
    const std::size_t row = triangleRow(k);
    return Pass{problem.Coefficients.data(),
                plan,
                problem,
                k,
                engine.FracJK.data() + row,
                engine.FracKJ.data() + row,
                engine.FracSqrt.data() + row};
}

// All steps of one order without looking at the flags; false at an operation without a
// recurrence. The caller tests the flags once afterwards.
bool runPassFast(const Pass& p) {
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
void runPassChecked(const Pass& p, EngineState& engine) {
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

void runPass(const Pass& p, EngineState& engine) {
    clearFloatFaults();
    if (!runPassFast(p) || floatFaultRaised())
        runPassChecked(p, engine);
}

// x_i[k+1] = f_i[k] / (k+1) for every main variable.
inline void advanceMainVariables(Extended* base, const EnginePlan& plan, std::int32_t k) {
    const Extended divisor = static_cast<Extended>(k + 1);
    for (std::size_t i = 0; i < plan.MainOffsets.size(); ++i)
        base[plan.MainOffsets[i] + k + 1] = base[plan.DerivOffsets[i] + k] / divisor;
}

template <bool Checked>
bool runJet(TCompiledProblem& problem, const EnginePlan& plan, EngineState& engine) {
    const std::int32_t n = engine.TermCount;
    Extended* base = problem.Coefficients.data();
    for (std::int32_t k = 0; k < n; ++k) {
        const Pass pass = makePass(problem, plan, engine, k);
        if constexpr (Checked)
            runPassChecked(pass, engine);
        else if (!runPassFast(pass))
            return false;
        if (k + 1 < n)
            advanceMainVariables(base, plan, k);
    }
    return true;
}

} // namespace

void EvalOrder0(TCompiledProblem& problem, EngineState& engine) {
    const EnginePlan& plan = planFor(problem, engine);
    runPass(makePass(problem, plan, engine, 0), engine);
}

void EvalOrderK(TCompiledProblem& problem, EngineState& engine, std::int32_t k) {
    const EnginePlan& plan = planFor(problem, engine);
    runPass(makePass(problem, plan, engine, k), engine);
}

void ComputeCoefficients(TCompiledProblem& problem, EngineState& engine) {
    const EnginePlan& plan = planFor(problem, engine);
    // The whole jet runs unchecked and the flags are read once; only a jet that faulted is run
    // again pass by pass, which reproduces it exactly up to the fault and reports or mends it.
    clearFloatFaults();
    if (runJet<false>(problem, plan, engine) && !floatFaultRaised())
        return;
    runJet<true>(problem, plan, engine);
}

void ComputeCoefficientsChecked(TCompiledProblem& problem, EngineState& engine) {
    runJet<true>(problem, planFor(problem, engine), engine);
}
