// The designed polynomials of a problem file, for the compile step of the command line.
#pragma once

#include "compiler/CompileDriver.h"
#include "integrator/ProgramState.h"

#include <string>

class Ui;

// Reads the file's "[Polynomials]" section (none when it has none) and returns the compile step
// that uses those polynomials, in the angle unit `state` has when it runs.
FormulaPreparation filePolynomialStep(const std::string& path, const ProgramState& state, Ui& ui);
