// Phase portraits: short strokes of the solutions through the nodes of a grid over the world box,
// through the points of a table, or through a clicked point, each drawn backward and forward from
// its point. Strokes go into the picture only; the Results array is emptied.
#pragma once

#include "graphics/GraphRun.h"
#include "graphics/PortraitParams.h"

#include <cstdint>
#include <functional>
#include <vector>

// The interior nodes of the grid over the world box: the box edges carry none.
struct NodeGrid {
    Bounds Box;
    std::int32_t CellsX = 1, CellsY = 1, CellsZ = 1;
    bool ThreeD = false;
    // One layer with z = 0 in 2D; layers 1 .. CellsZ - 1 in 3D.
    std::int32_t firstLayer() const { return ThreeD ? 1 : 0; }
    std::int32_t lastLayer() const { return ThreeD ? CellsZ - 1 : 0; }
    // Node (w, u) of layer i, for w in 1 .. CellsX - 1 and u in 1 .. CellsY - 1.
    PortraitPoint node(std::int32_t w, std::int32_t u, std::int32_t layer) const;
    // The progress after the column (w, u), and its maximum.
    std::int64_t progress(std::int32_t w, std::int32_t u) const {
        return u + static_cast<std::int64_t>(w - 1) * CellsY;
    }
    std::int64_t progressMax() const { return static_cast<std::int64_t>(CellsX) * CellsY; }
};
NodeGrid nodeGrid(const Bounds& box, const PortraitParams& params, bool threeD);

// In 3D more than 500 cells ask "May be too many nodes for 3D: still go?" first.
bool tooManyNodesFor3D(const PortraitParams& params);

// One stroke through `point`: backward, then forward, each half from the point. The curve is the
// first of the table; the caller has checked it is over main variables.
void drawStroke(GraphModel& model, GraphProblem& graph, const PortraitParams& params,
                const PortraitPoint& point);

enum class PortraitMode { Grid, Stroke };
enum class PortraitEnd {
    Drawn,
    Refused,     // the one-curve or main-variable rule; nothing changed
    Declined,    // the 3D node question was answered Cancel: the designer opens
    Interrupted, // Esc during the grid; what was drawn stays
};

struct PortraitRequest {
    PortraitMode Mode = PortraitMode::Grid;
    PortraitPoint Point{};            // the clicked point of a Stroke
    std::vector<PortraitPoint> Table; // grid: the table's points drawn after the nodes
    std::function<void(std::int64_t position, std::int64_t max)> Progress; // the play bar
};

struct PortraitOutcome {
    PortraitEnd End = PortraitEnd::Refused;
    double Seconds = 0;
    std::int64_t Strokes = 0;
};

// Makes a portrait by the rules: one curve only, over main variables. When they hold, the
// Results array is emptied (a refused portrait leaves the stored run as it was), the direction
// is kept, and the strokes are drawn; the grid polls for Esc once per column of nodes.
PortraitOutcome makePortrait(GraphModel& model, GraphProblem& graph, Ui& ui,
                             const PortraitParams& params, const PortraitRequest& request);
