// Special points (*.sing): the independent variable's value at a singular point and the Taylor
// coefficients the integrator uses there instead of its own.
#pragma once

#include "common/Extended.h"

#include <string>
#include <vector>

class Ui;
struct ProgramState;
struct TCompiledProblem;

inline constexpr const char* SpecialPointFilter = "Special point|*.sing";

// Replaces the problem's special point by the one in the file: SpecialPoint, then TermCount
// coefficients (further numbers are ignored), SpecialWindow from their growth rate capped by the
// radius limit, then the series differentiated 0, 1 or 2 times. A file that cannot be opened
// leaves no special point and says nothing; a short one shows
// "The order of expantion at special point not enough". True when a special point is loaded.
bool loadSpecialPoint(TCompiledProblem& problem, ProgramState& state, const std::string& path,
                      int differentiate, Ui& ui);

// Coefficient e becomes (e+1)·coefficient e+1 (once) or (e+2)(e+1)·coefficient e+2 (twice); the
// last one or two coefficients stay as they were.
void differentiateSeries(std::vector<Extended>& coefficients, int times);

// The right-click on the indicator.
void removeSpecialPoint(TCompiledProblem& problem);
