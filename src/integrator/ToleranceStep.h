// The step rule of "Tolerance per step": h chosen from the requested tolerance and the last two
// terms of every main variable's series, so that no trial step is needed.
#pragma once

#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <cstdint>

// A step's h grows by at most this factor over the step that reached the current point.
constexpr long double MaxStepGrowth = 2;

// What the last two terms say: Scale is rho, the largest h at which the last terms of every main
// variable (scaled by max(1, |value|)) stay below the tolerance; Radius is the same with a
// tolerance of 1, the radius of convergence the last two terms suggest. Both are infinite when
// every main variable's last two terms are zero.
struct TailScale {
    Extended Scale;
    Extended Radius;
};
TailScale tailScale(const TCompiledProblem& problem, std::int32_t terms, Extended tolerance);

// The factor on rho for `terms` terms (see the derivation in ToleranceStep.cpp).
Extended toleranceSafety(std::int32_t terms);

// Sets Radius (the tail's radius, capped by RadLimit) and Step = safety * rho, capped by RadLimit
// and by MaxStepGrowth times the step that reached the current point.
void toleranceAfterStep(ProgramState& state, TCompiledProblem& problem);
