// The clone commands: the source sets checked, the problem compiled from its first vector, the
// array's shape chosen (or a number of clones asked for), the clone names checked, and the panes
// unfolded. Every check passes before any pane changes.
#pragma once

#include "common/Extended.h"
#include "common/Ui.h"
#include "compiler/ProblemPanes.h"
#include "tools/CloneSets.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CloneProblem {
    ProblemPanes Panes;
    Extended AngleFactor = 1;
};

// Shows the choice of shape for the source sets; the rows of the chosen array, or nothing when
// the choice was closed without unfolding.
using CloneShapeChoice = std::function<std::optional<CloneIndex>(const CloneSource&)>;

// The unfolded panes, or nothing when a check failed (its message shown) or the user stopped.
// The compile that finds the independent variable reads every initial-value line at its first
// value, since the compiler takes a line of several values for a problem still to be unfolded.
std::optional<ProblemPanes> clonePanes(Ui& ui, const CloneProblem& problem, bool excludeIndependent,
                                       const CloneShapeChoice& choose);
