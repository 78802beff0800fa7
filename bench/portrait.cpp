// A phase portrait of the pendulum x' = y, y' = -sin x on [-4, 4] x [-3, 3]: the default grid
// of 21 x 21 cells (20 x 20 nodes, one step each way) into a 640 x 480 image.
#include "GuiApplication.h"

#include "common/NumberText.h"
#include "compiler/FormulaParser.h"
#include "graphics/Portrait.h"
#include "integrator/ProblemCompile.h"
#include "workspace/WorkspaceState.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Pendulum {
    WorkspaceState state;
    TCompiledProblem problem;
    NullUi ui;
    SteadyPlayClock clock;
    std::unique_ptr<GraphProblem> graph;
    std::unique_ptr<GraphModel> model;

    Pendulum() {
        ensureGuiApplication();
        ProblemPanes panes;
        panes.Initial = {"x = 1", "y = 0"};
        panes.ODEs = {"x' = y", "y' = -sin(x)"};
        state.AngleFactor = 1;
        FormulaParser parser;
        const FormulaAssembly assembly =
            compileForIntegration(state, panes, problem, parser, false);
        graph = std::make_unique<GraphProblem>(
            GraphProblem{problem, curveVariableNames(assembly, panes)});
        createResults(state, problem, ui, "11", false, false);
        generateCurves(state.Curves, graph->Names, ui);
        model = std::make_unique<GraphModel>(state, clock);
        model->AreaWidth = 640;
        model->AreaHeight = 480;
        applyBounds(*model, *graph, ui, {"-4", "4", "-3", "3", "0", "1"},
                    [](const std::string& text) { return parseTrimmedNumber(text); });
    }
};

void BM_PendulumPortrait(benchmark::State& bench) {
    Pendulum pendulum;
    PortraitOutcome outcome;
    for (auto _ : bench)
        outcome = makePortrait(*pendulum.model, *pendulum.graph, pendulum.ui, PortraitParams{},
                               PortraitRequest{});
    bench.counters["strokes"] = static_cast<double>(outcome.Strokes);
}
BENCHMARK(BM_PendulumPortrait)->Unit(benchmark::kMillisecond);

} // namespace
