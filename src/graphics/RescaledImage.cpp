// Replotting into a larger picture, and back.
#include "graphics/RescaledImage.h"

#include "common/Ui.h"
#include "graphics/GraphRun.h"
#include "workspace/WorkspaceState.h"

#include <cmath>

bool rescalingPossible(const GraphModel& model, Ui& ui) {
    if (model.state().Results.empty()) {
        ui.message("Image is not persistent for resizing");
        return false;
    }
    return true;
}

QImage rescaledImage(GraphModel& model, GraphProblem& graph, Ui& ui, Extended scale) {
    const int width = model.AreaWidth, height = model.AreaHeight;
    const auto scaled = [scale](int size) {
        return static_cast<int>(std::lround(static_cast<Extended>(size) * scale));
    };
    model.AreaWidth = std::max(1, scaled(width));
    model.AreaHeight = std::max(1, scaled(height));
    QImage picture;
    try {
        relayout(model, graph, ui);
        picture = model.Image;
    } catch (...) {
        model.AreaWidth = width;
        model.AreaHeight = height;
        relayout(model, graph, ui);
        throw;
    }
    model.AreaWidth = width;
    model.AreaHeight = height;
    relayout(model, graph, ui);
    return picture;
}
