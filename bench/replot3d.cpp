// The 3D replot: lorenz.ode after 10,000 steps as one curve {x, y, z} in a 1000 x 700 area, in
// stereo, and as tubes in the axonometric and the stereo picture.
#include "GraphedRun.h"

#include "graphics/View3DCommands.h"

#include <benchmark/benchmark.h>

namespace {

struct Lorenz3D : GraphedRun<SteadyPlayClock> {
    Lorenz3D(int steps, const SceneRequest& scene) : GraphedRun("lorenz.ode", steps, true) {
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
    replot(bench, {ViewMode::Stereo, false, true, std::array<Extended, 3>{20, 30, 0}});
}
BENCHMARK(BM_ReplotLorenzStereo)->Unit(benchmark::kMillisecond);

void BM_ReplotLorenzTubes(benchmark::State& bench) {
    replot(bench, {ViewMode::RightEye, true, true, std::array<Extended, 3>{20, 30, 0}});
}
BENCHMARK(BM_ReplotLorenzTubes)->Unit(benchmark::kMillisecond);

void BM_ReplotLorenzStereoTubes(benchmark::State& bench) {
    replot(bench, {ViewMode::Stereo, true, true, std::array<Extended, 3>{20, 30, 0}});
}
BENCHMARK(BM_ReplotLorenzStereoTubes)->Unit(benchmark::kMillisecond);

} // namespace
