// One picture of a loaded and integrated problem without a window: the world set as Apply does
// (or as Adjust does), the layout in the given area and the replot, as the window draws them.
#pragma once

#include "graphics/GraphRun.h"

#include <optional>
#include <string>
#include <vector>

struct RenderRequest {
    int Width = DefaultPlotWidth; // the plot area; the image takes the world's proportions in it
    int Height = DefaultPlotHeight;
    std::optional<BoundTexts> Box; // Xmin, Xmax, Ymin, Ymax[, Zmin, Zmax]; none: Adjust
};

// The value reader of the bound edits: numbers and expressions over the constants pane.
ValueReader constantsValueReader(std::vector<std::string> constants, Extended angleFactor);

// Draws into model.Image; false after the messages of Apply or Adjust.
bool renderGraph(GraphModel& model, GraphProblem& graph, Ui& ui, const RenderRequest& request,
                 const ValueReader& read);
