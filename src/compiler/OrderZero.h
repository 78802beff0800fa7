// The order-zero evaluator: the value of one instruction's result from its operands' values, in
// plain extended arithmetic. Constants, initial values and the values at the initial point come
// from here; it is the only place where the angle unit and the special point take effect.
#pragma once

#include "common/Extended.h"
#include "common/OrvantaError.h"
#include "compiler/CompiledProblem.h"

#include <cstdint>
#include <vector>

// A failed evaluation: which instruction of the list failed and the formula line it came from,
// so that the window can select it.
class EvaluationError : public OrvantaError {
  public:
    EvaluationError(const std::string& message, std::int32_t position, std::int32_t line)
        : OrvantaError(message), Position(position), Line(line) {}
    std::int32_t Position;
    std::int32_t Line;
};

// Evaluates instruction k of `list` (Instructions or ActiveInstructions) and stores the value as
// element 0 of the result's coefficients. Throws EvaluationError; the result then keeps its value.
void EvaluateOrderZero(TCompiledProblem& problem, const std::vector<TInstruction>& list,
                       std::int32_t k, Extended angleFactor);

// The order-zero value of a designed polynomial at the problem's current values.
Extended polynomialValue(const TCompiledProblem& problem, const TCompiledPolynomial& polynomial);
