// The graph window's lines of a script: the snapshot they give the window before it opens, the
// snapshot a saved script takes them from, and the script's curves as a curve table.
#pragma once

#include "workspace/CurveTable.h"
#include "workspace/GraphSnapshot.h"
#include "workspace/ScriptFile.h"

#include <cstdint>
#include <optional>

class Ui;

// What a script's graph lines say, as the window would have left it.
GraphSnapshot snapshotFromScript(const ScriptRecord& record, std::int32_t mainVariables);
// Writes the snapshot into the graph lines of `record` (step count, seven fields, turns, figure
// and first curve). An unreadable step count is written as 0.
void writeSnapshotToScript(const GraphSnapshot& snapshot, ScriptRecord& record);

// The script's curves as a curve table (2D or 3D as the script says) over a problem of
// `variables` variables; nothing, after a message, when a curve names a variable it does not have.
std::optional<CurveTable> curvesFromScript(const ScriptRecord& record, std::int32_t variables,
                                           Ui& ui);
