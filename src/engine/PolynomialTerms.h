// The designed polynomials as the engine evaluates them: p(t) + sum a x + sum b x^2 + sum c x y.
#pragma once

#include "compiler/CompiledProblem.h"

#include <cstdint>
#include <optional>

// The polynomial numbered by the nearest integer of `selector`, at order 0 and at order k >= 1;
// nothing when no polynomial has that number or a term names a variable that does not exist.
std::optional<Extended> polynomialOrder0(const TCompiledProblem& problem, Extended selector);
std::optional<Extended> polynomialOrderK(const TCompiledProblem& problem, Extended selector,
                                         std::int32_t k);
