// Which variables a designed polynomial may use, and the check of every polynomial's tables
// against them.
#pragma once

#include "compiler/ProblemPanes.h"
#include "workspace/DesignedPolynomial.h"

#include <string>
#include <vector>

class Ui;

// In an ODE ("x'") every initial-value and auxiliary name; in an auxiliary variable's equation
// the initial-value names and the auxiliary names above that equation. Throws OrvantaError
// "Specify the variable in whose equation this polynomial appears", "<v> is not defined in
// Auxiliary equations" or "No variables are available at this point".
std::vector<std::string> variablesInScope(const ProblemPanes& panes, const std::string& variable);

// The variables named in the headers of the first- and second-degree tables, in table order.
std::vector<std::string> firstDegreeNames(const DesignedPolynomial& polynomial);
std::vector<std::string> secondDegreeNames(const DesignedPolynomial& polynomial);

// Every polynomial's variable is set and its table headers are in scope; shows the first failure
// and returns false. Variables of the second-degree table without any coefficient are reported
// as a warning that does not fail the check.
bool checkPolynomialScopes(const std::vector<DesignedPolynomial>& polynomials,
                           const ProblemPanes& panes, Ui& ui);
