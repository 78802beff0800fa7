// The step rule of "Tolerance per step": h chosen from the requested tolerance and the last two
// terms of every main variable's series, so that no trial step is needed.
#pragma once

#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <cstdint>
#include <optional>
#include <string>

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

// A tolerance's text: a finite number above 0, or nothing.
std::optional<Extended> readStepTolerance(const std::string& text);
// The tolerance's edit: a number above 0 becomes StepTolerance and the next step is chosen
// again; any other text leaves everything as it was and gives the text to put back.
std::optional<std::string> changeStepTolerance(ProgramState& state, TCompiledProblem& problem,
                                               const std::string& text);

// Sets Radius (the tail's radius, capped by RadLimit) and Step = safety * rho, capped by RadLimit
// and by MaxStepGrowth times the step that reached the current point.
void toleranceAfterStep(ProgramState& state, TCompiledProblem& problem);
