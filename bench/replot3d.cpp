// The 3D replot: lorenz.ode after 10,000 steps as one curve {x, y, z} in a 1000 x 700 area, in
// stereo, and as tubes in the axonometric and the stereo picture.
#include "SharedProblem.h"

#include "compiler/FormulaParser.h"
#include "graphics/View3DCommands.h"
#include "integrator/ProblemCompile.h"
#include "workspace/WorkspaceState.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// Drawing needs a GUI application; the offscreen platform needs no display.
QGuiApplication& offscreenApplication() {
    static int argc = 1;
    static char name[] = "bench_replot3d";
    static char* argv[] = {name, nullptr};
    static const bool platform = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;
    static QGuiApplication application(argc, argv);
    (void)platform;
    return application;
}

struct Lorenz3D {
    WorkspaceState state;
    TCompiledProblem problem;
    ProblemPanes panes = readSharedProblem("lorenz.ode");
    NullUi ui;
    SteadyPlayClock clock;
    std::unique_ptr<GraphProblem> graph;
    std::unique_ptr<GraphModel> model;

    Lorenz3D(int steps, const SceneRequest& scene) {
        offscreenApplication();
        FormulaParser parser;
        const FormulaAssembly assembly =
            compileForIntegration(state, panes, problem, parser, false);
        graph = std::make_unique<GraphProblem>(
            GraphProblem{problem, curveVariableNames(assembly, panes)});
        createResults(state, problem, ui, std::to_string(steps + 1), true, false);
        state.Curves.ThreeD = true;
        state.Curves.append(graph->Names, 1, 2, 3); // t, x, y, z
        runMore(state, problem, ui, std::to_string(steps), {});
        model = std::make_unique<GraphModel>(state, clock);
        model->AreaWidth = 1000;
        model->AreaHeight = 700;
        applySceneRequest(*model, scene);
        adjustBounds(*model, *graph, ui);
    }
};

void replot(benchmark::State& bench, const SceneRequest& scene) {
    Lorenz3D lorenz(10000, scene);
    for (auto _ : bench)
        lorenz.model->replotAll(false);
    bench.counters["points"] = static_cast<double>(lorenz.model->PointsPlotted);
    bench.counters["width"] = lorenz.model->Image.width();
    bench.counters["height"] = lorenz.model->Image.height();
}

void BM_ReplotLorenzStereo(benchmark::State& bench) {
    replot(bench, {ViewMode::Stereo, false, true, {20, 30, 0}});
}
BENCHMARK(BM_ReplotLorenzStereo)->Unit(benchmark::kMillisecond);

void BM_ReplotLorenzTubes(benchmark::State& bench) {
    replot(bench, {ViewMode::RightEye, true, true, {20, 30, 0}});
}
BENCHMARK(BM_ReplotLorenzTubes)->Unit(benchmark::kMillisecond);

void BM_ReplotLorenzStereoTubes(benchmark::State& bench) {
    replot(bench, {ViewMode::Stereo, true, true, {20, 30, 0}});
}
BENCHMARK(BM_ReplotLorenzStereoTubes)->Unit(benchmark::kMillisecond);

} // namespace
