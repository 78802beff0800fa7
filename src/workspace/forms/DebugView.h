// The texts of the debugging view: the table of values with their Taylor coefficients or
// derivatives, and the chosen instruction shown with its operands' current values.
#pragma once

#include "common/Extended.h"
#include "compiler/CompiledProblem.h"

#include <span>
#include <string>
#include <vector>

// The name column's text for a formula: its left side with every "Deriv" written "'",
// right-aligned in 10 characters.
std::string debugVariableName(const std::string& formula);

// Header row and one row per entry: index, name (from formulas[entry + formulaOffset] while
// there is one), the value in display form, then the higher coefficients in the short form,
// each multiplied by its order's factorial when `derivatives` is set.
std::vector<std::vector<std::string>>
debugTableTexts(const std::vector<std::span<const Extended>>& entries,
                const std::vector<std::string>& formulas, int formulaOffset, int termCount,
                bool derivatives);

// "%g = sin(%g){%g}", "%g = (%g) * (%g)", ... with the current values of the operands.
std::string instructionWithValues(const TInstruction& instruction, const CoefficientTable& values);
