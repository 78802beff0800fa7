// The program-wide state the windows share: the integrator's state plus what the workspace adds
// to it (the curve table and the graph window's snapshot). The app owns one.
#pragma once

#include "integrator/ProgramState.h"
#include "workspace/CurveTable.h"
#include "workspace/GraphSnapshot.h"

struct WorkspaceState : ProgramState {
    CurveTable Curves;
    GraphSnapshot Graph;
};
