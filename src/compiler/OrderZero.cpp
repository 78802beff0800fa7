#include "compiler/OrderZero.h"

#include "common/FloatFaults.h"
#include "common/NumberText.h"
#include "compiler/Language.h"
#include "compiler/ScalarRoutines.h"

#include <cmath>
#include <optional>

namespace {

bool validVariable(const TCompiledProblem& problem, std::int32_t var) {
    return var >= 0 && var < problem.Coefficients.count();
}

Extended valueOf(const TCompiledProblem& problem, std::int32_t var) {
    return problem.Coefficients[var][0];
}

// Nothing when the operation is unknown or refers to something that does not exist.
std::optional<Extended> compute(const TCompiledProblem& problem, const TInstruction& instruction,
                                Extended x, Extended y, Extended f) {
    switch (instruction.Op) {
    case OpCos:
        return std::cos(f * x);
    case OpSin:
        return std::sin(f * x);
    case OpTan:
        return std::tan(f * x);
    case OpArccos:
        return std::acos(x) / f;
    case OpArcsin:
        return std::asin(x) / f;
    case OpArctan:
        return std::atan(x) / f;
    case OpExp:
        return std::exp(x);
    case OpLn:
        return std::log(x);
    case OpLog:
        return LogBase(x, y);
    case OpSqrt:
        return std::sqrt(x);
    case OpMod:
        return Modulo(x, y);
    case OpMCn:
        return Binomial(x, y);
    case OpPolynomial: {
        Extended n = std::nearbyint(x);
        if (!(n >= 0 && n < static_cast<Extended>(problem.Polynomials.size())))
            return std::nullopt;
        const auto& polynomial = problem.Polynomials[static_cast<std::size_t>(n)];
        for (const auto& term : polynomial.LinearTerms)
            if (!validVariable(problem, term.Var))
                return std::nullopt;
        for (const auto& term : polynomial.SquareTerms)
            if (!validVariable(problem, term.Var))
                return std::nullopt;
        for (const auto& term : polynomial.ProductTerms)
            if (!validVariable(problem, term.VarA) || !validVariable(problem, term.VarB))
                return std::nullopt;
        return polynomialValue(problem, polynomial);
    }
    case OpAbs:
        return std::fabs(x);
    case OpFactorial:
        return Factorial(x);
    case OpMul:
        return x * y;
    case OpAdd:
        return x + y;
    case OpSub:
        return x - y;
    case OpDiv:
        return x / y;
    case OpPow:
        return Power(x, y);
    case OpCopy:
        return x;
    case OpOnePlusSquare:
        return x * x + 1;
    case OpSquare:
        return x * x;
    case OpOneMinusSquare:
        return (-x) * x + 1;
    default:
        return std::nullopt;
    }
}

} // namespace

Extended polynomialValue(const TCompiledProblem& problem, const TCompiledPolynomial& polynomial) {
    Extended t = problem.IndepVar >= 0 && problem.IndepVar < problem.Coefficients.count()
                     ? valueOf(problem, problem.IndepVar)
                     : 0;
    Extended value = 0;
    for (auto c = polynomial.IndepCoefficients.rbegin(); c != polynomial.IndepCoefficients.rend();
         ++c)
        value = value * t + *c;
    for (const auto& term : polynomial.LinearTerms)
        value += term.Coefficient * valueOf(problem, term.Var);
    for (const auto& term : polynomial.SquareTerms) {
        Extended v = valueOf(problem, term.Var);
        value += term.Coefficient * v * v;
    }
    for (const auto& term : polynomial.ProductTerms)
        value += term.Coefficient * valueOf(problem, term.VarA) * valueOf(problem, term.VarB);
    return value;
}

void EvaluateOrderZero(TCompiledProblem& problem, const std::vector<TInstruction>& list,
                       std::int32_t k, Extended angleFactor) {
    const TInstruction& instruction = list[static_cast<std::size_t>(k)];
    auto failure = [&] {
        return EvaluationError(formatText("Singularity! Instruction %d: operation %s", k,
                                          OpName(instruction.Op).c_str()),
                               k, instruction.Line);
    };
    if (!validVariable(problem, instruction.Op1) || !validVariable(problem, instruction.Op2) ||
        !validVariable(problem, instruction.Res))
        throw failure();
    Extended x = valueOf(problem, instruction.Op1);
    Extended y = valueOf(problem, instruction.Op2);
    Extended f = instruction.OperandClass == ClassCC ? angleFactor : 1;

    clearFloatFaults();
    std::optional<Extended> computed = compute(problem, instruction, x, y, f);
    if (!computed)
        throw failure();
    // Settle the value in memory before the flags are read, so the arithmetic cannot move past
    // the test.
    volatile Extended settled = *computed;
    Extended result = settled;
    if (floatFaultRaised() || !std::isfinite(result)) {
        bool substitute = invalidOrDivByZeroRaised() && problem.hasSpecialPoint() &&
                          problem.CurrentIndep == problem.SpecialPoint;
        if (!substitute)
            throw failure();
        result = problem.SpecialValues[0];
    }
    problem.Coefficients[instruction.Res][0] = result;
}
