// Horner evaluation of a coefficient array and of its derivative, and the copy of the main
// variables' coefficients that a step keeps of the point it leaves.
#pragma once

#include "compiler/CompiledProblem.h"

#include <cstdint>

// sum a[i] s^i over i < count, from the highest coefficient down.
Extended EvalSeries(const Extended* a, std::int32_t count, Extended s);
// sum i a[i] s^(i-1) over 0 < i < count.
Extended EvalSeriesDeriv(const Extended* a, std::int32_t count, Extended s);

// Copies the coefficients of every main variable into its row of StepTable.
void SaveCoefficients(TCompiledProblem& problem, std::int32_t termCount);
