// The three step routines, one per error-control mode, and the snapping of a trial end point
// onto the special point or the terminal value.
#pragma once

#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <cstdint>

// Moves a trial end point CurrentIndep = TPrev + Step onto the special point when it lands just
// before it, and onto TEnd (setting Terminated) when it reaches or passes an armed TEnd.
void SnapStep(TCompiledProblem& problem);

// One step of h = kR without a test.
void StepPlain(ProgramState& state, TCompiledProblem& problem);
// One step halved until the new point's series, evaluated back at -h, returns to the start.
// false when the split limit was reached (the step is then taken only with goDespite).
bool StepBackControl(ProgramState& state, TCompiledProblem& problem, std::int32_t& failingIndex,
                     bool goDespite);
// One step halved until two half steps agree with the full step.
bool StepMiddleControl(ProgramState& state, TCompiledProblem& problem, std::int32_t& failingIndex,
                       bool goDespite);
