// The designer's rules for names: a polynomial's name, the variable proposed from the caret's
// equation line, and the independent variable of the panes.
#pragma once

#include "compiler/ProblemPanes.h"
#include "workspace/DesignedPolynomial.h"

#include <optional>
#include <string>
#include <vector>

// Why a name cannot be given to a polynomial, or nothing; the polynomial at `except` (being
// renamed) does not count as a clash.
std::optional<std::string> polynomialNameRefusal(const std::string& name,
                                                 const std::vector<DesignedPolynomial>& polynomials,
                                                 int except = -1);

// The name an equation line defines ("x'" for an ODE line, "a" for "a = ..."); empty when the
// line defines nothing.
std::string equationVariable(const std::string& line);

// The name of the first ODE whose right side is 1, or empty.
std::string independentName(const ProblemPanes& panes);
