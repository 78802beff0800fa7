// The Taylor engine: coefficient k of every active instruction's result by the recurrences of
// automatic differentiation, and the driver that fills all coefficients at a point.
#pragma once

#include "compiler/CompiledProblem.h"
#include "engine/EngineState.h"

#include <cstdint>
#include <string>

// Every active instruction at order 0 / at order k (1 <= k <= TermCount - 1), in list order.
// Both raise OrvantaError "Singularity! Instruction %d: operation %s" on an arithmetic fault
// away from the special point, with engine.FailedInstruction and FailedLine set.
void EvalOrder0(TCompiledProblem& problem, EngineState& engine);
void EvalOrderK(TCompiledProblem& problem, EngineState& engine, std::int32_t k);

// Coefficients 0 .. N-1 of every array at the current point; needs coefficient 0 of every main
// variable in place.
void ComputeCoefficients(TCompiledProblem& problem, EngineState& engine);
// The same, every instruction in list order with its own fault check: what a jet that faulted is
// redone with. Slower; gives the same bits as ComputeCoefficients.
void ComputeCoefficientsChecked(TCompiledProblem& problem, EngineState& engine);

// Which arrays a jet in machine code fills beyond order 0: every one, or the variables (main
// and auxiliary), which is all that steps, results and pictures read, unless the radius is taken
// over all arrays. The interpreted jet fills every one.
enum class NativeArrays { Every, Variables };

// Compiles the problem's jet at the current number of terms to machine code (see NativeJet.h);
// the plan's later jets run it, with the same bits in the arrays it fills. False, with `why`,
// when the problem has an operation without native code or the compiler is not at hand: jets
// stay interpreted.
bool useNativeJet(TCompiledProblem& problem, EngineState& engine, NativeArrays arrays,
                  std::string& why);
