// What the graph window keeps of itself when it loses the focus: the part of a saved script that
// describes the graph, and what "Previous" restores.
#pragma once

#include "common/Extended.h"

#include <array>
#include <cstdint>
#include <string>

struct GraphSnapshot {
    std::array<std::string, 6> BoundTexts; // Xmin, Xmax, Ymin, Ymax, Zmin, Zmax edits
    std::string TotalStepsText = "0";
    std::string TimeText = "5";
    std::array<Extended, 3> Turns{}; // the 3D view angles
    std::int32_t FirstCurve = 1;
    std::int32_t ResultsLength = 0;
    std::string RadFactorText; // the main window's step factor edit
    bool AuxVarsToo = false;
    std::int32_t PlotFeature = 0;
};
