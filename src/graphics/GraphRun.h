// The graph window's commands without their widgets: Apply, zoom, Adjust, the layout's replot or
// recomputation, More with its texts, Undo, the bound presets and the mouse placement of initial
// values. Each returns what the window writes back into its controls.
#pragma once

#include "common/Ui.h"
#include "graphics/GraphModel.h"
#include "integrator/IntegrationRun.h"

#include <functional>
#include <string>
#include <vector>

struct TCompiledProblem;

// The problem the graph draws: the compiled record and the curve page's variable names.
struct GraphProblem {
    TCompiledProblem& Problem;
    std::vector<std::string> Names; // main variables, then auxiliary ones
};

// Play needs stored points and an independent variable (an ODE t' = 1).
bool playable(const GraphModel& model, const TCompiledProblem& problem);

// Lays the image out and redraws it: replotted from the Results array, or, without an
// independent variable, recomputed by Restart and More over 10 steps.
void relayout(GraphModel& model, GraphProblem& graph, Ui& ui);
// The replot (or recomputation) alone, within the window as it is.
void redraw(GraphModel& model, GraphProblem& graph, Ui& ui);
// After a 3D drawing: "3D: The denominator <= 0" when a point could not be projected; the
// window then closes.
bool reportProjectionFailure(const GraphModel& model, Ui& ui);

// "Apply": the edits become the world (zoom 1), then the layout. False after the messages.
bool applyBounds(GraphModel& model, GraphProblem& graph, Ui& ui, const BoundTexts& texts,
                 const ValueReader& read);
// "Out" (1.25), "In" (0.8) and Adjust's margin (1.1).
void zoomGraph(GraphModel& model, GraphProblem& graph, Ui& ui, Extended factor);
// "Adjust": fits the world to the stored curves with a 10 % margin. Creates a Results array of
// 1000 points and integrates 10 steps first when nothing is stored. False after a message.
bool adjustBounds(GraphModel& model, GraphProblem& graph, Ui& ui);
// The data range of the held segments, sampled like the arc estimate; nothing without curves.
std::optional<Bounds> dataRange(const GraphModel& model);
// Axes whose range is empty get the largest half-range of the others (1 when all are empty).
void widenDegenerate(Bounds& bounds, bool threeD);

// Panning: the visible window moved with a drag of (dx, dy) pixels, as edit texts in full
// precision for Apply (which then shows them rounded).
BoundTexts panBounds(const GraphWorld& world, int dx, int dy);

// The Sizes presets: 0 "[0,1]x[0,1]", 1 "[-1,1]x[-1,1]", 2 "[-1,1]x[0,1]", 3 "[0,1]x[-1,1]".
BoundTexts sizePreset(int preset);
// The Times presets: the X and Y numbers multiplied by `factor`; texts that are no number stay.
BoundTexts timesPreset(const BoundTexts& texts, Extended factor);

// The texts of one step of More.
struct MoreStepTexts {
    std::string HowMany; // the main window's "%d of %d  (%d step splits). Total: %d "
    std::string Radius;  // "Heuristic conv. radius: %g"
    std::string Total;   // the graph's "%d of %d (%d splits). Total %d (of %d)"
};
// "More" from the graph: integrates, drawing every new segment with its bullets as it goes.
RunOutcome graphMore(GraphModel& model, GraphProblem& graph, Ui& ui, const std::string& stepsText,
                     const std::function<void(const MoreStepTexts&)>& onStep = {});

// Takes back the last `steps` points: false when fewer are stored or there is no independent
// variable. The curves are then replotted.
bool undoSteps(GraphModel& model, GraphProblem& graph, std::int32_t steps);

// A mouse placement of initial values for curve `curve` at world point `point`.
struct PlacementCell {
    std::int32_t Row; // row of the parameters grid (variable index + 1)
    std::string Text;
};
// The parameter cells to write; empty after "Only curves over main variables may be placed".
std::vector<PlacementCell> placementCells(const GraphProblem& graph, const CurveTable& curves,
                                          std::int32_t curve, WorldPoint point, Ui& ui);
// Sets the point as initial values and draws the curve through it backward, then forward; the
// last run leaves the forward part in the Results array.
void placeAndIntegrate(GraphModel& model, GraphProblem& graph, Ui& ui,
                       const std::vector<PlacementCell>& cells, const std::string& stepsText);
