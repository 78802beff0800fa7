// The hand-over of an integration from one problem to another with the same main variables.
#pragma once

#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <string>
#include <vector>

// The state reached by `source` becomes the initial point of `target`, which restarts there: its
// expansion is stored over the slot of the point reached and the Results array goes on after it.
// The split count, the end of a terminated run and the failure log start afresh.
void handOverState(ProgramState& state, const TCompiledProblem& source, TCompiledProblem& target);

// Sum of the path lengths of every loaded problem.
Extended totalPathLength(const std::vector<const TCompiledProblem*>& problems);
