// Change of independent variable: rewrites a problem's text so that one of its main variables v
// becomes the independent variable, every equation w' = f turning into dw/dv = f/g with v' = g.
#pragma once

#include "compiler/ProblemPanes.h"

#include <cstddef>
#include <optional>
#include <string>

// The chosen ODE line read as v' = g: v without the prime, g without its comment.
struct ChosenVariable {
    std::string Name;
    std::string RightSide;
};
ChosenVariable chosenVariable(const std::string& odeLine);

// The auxiliary variable that holds 1/g: v followed by "NewStateVarFactor".
std::string factorName(const std::string& variable);

// The panes of the problem in the variable of ODE line `line`: the factor's line appended to the
// auxiliary variables, that line turned into v' = 1, every other ODE multiplied by the factor.
// Throws OrvantaError "A change for a linear variable makes no sense" when g is a number.
ProblemPanes rewriteInVariable(const ProblemPanes& panes, std::size_t line);

// The ODE line of the main variable named `variable` (without regard to case), or nothing.
std::optional<std::size_t> odeLineOf(const ProblemPanes& panes, const std::string& variable);
