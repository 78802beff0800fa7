// The window's road to a picture, without the window.
#include "graphics/RenderGraph.h"

#include "common/OrvantaError.h"
#include "compiler/ConstantExpression.h"

ValueReader constantsValueReader(std::vector<std::string> constants, Extended angleFactor) {
    return [constants = std::move(constants),
            angleFactor](const std::string& text) -> std::optional<Extended> {
        try {
            return EvaluateConstantExpression(constants, text, angleFactor);
        } catch (const OrvantaError&) {
            return std::nullopt;
        }
    };
}

bool renderGraph(GraphModel& model, GraphProblem& graph, Ui& ui, const RenderRequest& request,
                 const ValueReader& read) {
    model.AreaWidth = request.Width;
    model.AreaHeight = request.Height;
    const bool drawn = request.Box ? applyBounds(model, graph, ui, *request.Box, read)
                                   : adjustBounds(model, graph, ui);
    return drawn && model.World.LayoutValid;
}
