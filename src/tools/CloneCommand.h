// The clone commands after the compile: the source sets checked, the array's shape chosen (or a
// number of clones asked for), the clone names checked, and the panes unfolded. Every check
// passes before any pane changes.
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
    ProblemPanes Panes;                   // as compiled: blank lines removed
    std::vector<std::string> FormulaList; // the compiled formulas
    std::int32_t IndepLine = -1;
    Extended AngleFactor = 1;
};

// Shows the choice of shape for the source sets; the rows of the chosen array, or nothing when
// the choice was closed without unfolding.
using CloneShapeChoice = std::function<std::optional<CloneIndex>(const CloneSource&)>;

// The unfolded panes, or nothing when a check failed (its message shown) or the user stopped.
std::optional<ProblemPanes> clonePanes(Ui& ui, const CloneProblem& problem, bool excludeIndependent,
                                       const CloneShapeChoice& choose);
