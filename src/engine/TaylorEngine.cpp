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

// Coefficient k of (c X) Y, summed as the product rule sums it. A scale of one is skipped: 1 X
// is X exactly.
inline Extended scaledProduct(Extended c, const Extended* x, const Extended* y, std::int32_t k) {
    Extended s = 0;
    if (c == 1) {
        for (std::int32_t j = 0; j <= k; ++j)
            s += x[j] * y[k - j];
    } else {
        for (std::int32_t j = 0; j <= k; ++j)
            s += c * x[j] * y[k - j];
    }
    return s;
}

// Coefficient k of P1 = T1 Y and P2 = T2 Y with T1 = c1 X and T2 = c2 X, and of T1 and T2
// themselves. Each term of the two sums is what the separate steps would add (c X[j] rounds the
// same in a register as in T's array) in the same order, so the bits do not change; what
// changes is that X[j] and Y[k-j] are loaded once for both sums, and loads of 80-bit values
// are what bounds these loops. Equal scales (the same mass on both sides of a pair, sign of
// zero included) make the two sums equal term by term, so one is computed.
inline void scaledProductPair(const ScaledPair& pair, const Pass& p, Extended* p1,
                              const Extended* x, const Extended* y) {
    const std::int32_t k = p.k;
    const Extended c1 = p.base[pair.Scale1];
    const Extended c2 = p.base[pair.Scale2];
    Extended s1 = 0, s2 = 0;
    if (c1 == c2 && std::signbit(c1) == std::signbit(c2)) {
        s1 = s2 = scaledProduct(c1, x, y, k);
    } else {
        for (std::int32_t j = 0; j <= k; ++j) {
            const Extended xj = x[j];
            const Extended yj = y[k - j];
            s1 += c1 * xj * yj;
            s2 += c2 * xj * yj;
        }
    }
    p.base[pair.Scaled1 + k] = c1 * x[k];
    p.base[pair.Scaled2 + k] = c2 * x[k];
    p1[k] = s1;
    p.base[pair.Product2 + k] = s2;
}

// One step at order k >= 1; false when the operation has no recurrence here.
inline bool stepOrderK(const PlanStep& step, const Pass& p) {
    Extended* r = p.base + step.R;
    const Extended* u = p.base + step.U;
    const Extended* w = p.base + step.W;
    const std::int32_t k = p.k;
    Extended s = 0;
    switch (step.Kind) {
    case PlanKind::CopyU:
        r[k] = u[k];
        break;
    case PlanKind::CopyW:
        r[k] = w[k];
        break;
    case PlanKind::NegW:
        r[k] = -w[k];
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
    case PlanKind::PowT: {
        const Extended exponent = w[0];
        if (exponent == 0)
            r[k] = 0;
        else if (exponent == 1)
            r[k] = u[k];
        else if (step.Kind == PlanKind::Pow)
            r[k] = powerOrderK(step, p, r, u, exponent);
        else
            r[k] = powerOfT(p, r, u, exponent);
        break;
    }
    case PlanKind::Polynomial: {
        const auto value = polynomialOrderK(p.problem, u[0], k);
        if (!value)
            return false;
        r[k] = *value;
        break;
    }
    case PlanKind::MulVVPair: {
        const PlanPartner& second = p.plan.Partners[step.Aux];
        const Extended* u2 = p.base + second.U;
        const Extended* w2 = p.base + second.W;
        Extended s2 = 0;
        for (std::int32_t j = 0; j <= k; ++j) {
            s += u[j] * w[k - j];
            s2 += u2[j] * w2[k - j];
        }
        r[k] = s;
        p.base[second.R + k] = s2;
        break;
    }
    case PlanKind::ScaledProductPair:
        scaledProductPair(p.plan.ScaledPairs[step.Aux], p, r, u, w);
        break;
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
    if (step.Kind == PlanKind::MulVVPair) {
        const PlanPartner& second = p.plan.Partners[step.Aux];
        r[0] = a * b;
        p.base[second.R] = p.base[second.U] * p.base[second.W];
        return true;
    }
    if (step.Kind == PlanKind::ScaledProductPair) {
        const ScaledPair& pair = p.plan.ScaledPairs[step.Aux];
        const Extended t1 = p.base[pair.Scale1] * a;
        const Extended t2 = p.base[pair.Scale2] * a;
        p.base[pair.Scaled1] = t1;
        p.base[pair.Scaled2] = t2;
        r[0] = t1 * b;
        p.base[pair.Product2] = t2 * b;
        return true;
    }
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
    const PlanStep* step = p.plan.FastSteps.data();
    const PlanStep* end = step + p.plan.FastSteps.size();
    if (p.k == 0) {
        for (; step != end; ++step)
            if (!stepOrder0(*step, p))
                return false;
        return true;
    }
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
