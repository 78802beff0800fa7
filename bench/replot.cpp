// The graph's replot: figure8.ode after 10,000 steps, its three curves into a 1000 x 700 image
// from the stored Taylor polynomials; and a 5-second Play against the real clock.
#include "GraphedRun.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

struct FigureEight : GraphedRun<SteadyPlayClock> {
    explicit FigureEight(int steps) : GraphedRun("figure8.ode", steps) {
        adjustBounds(*model, *graph, ui);
    }
};

void BM_ReplotFigureEight(benchmark::State& bench) {
    FigureEight figure(10000);
    for (auto _ : bench)
        figure.model->replotAll(false);
    bench.counters["points"] = static_cast<double>(figure.model->PointsPlotted);
    bench.counters["width"] = figure.model->Image.width();
    bench.counters["height"] = figure.model->Image.height();
}
BENCHMARK(BM_ReplotFigureEight)->Unit(benchmark::kMillisecond);

// A Play of 5 s after 10,000 steps with the window's screen copy and bullets; the wall time of
// one Play is the figure of interest.
void BM_PlayFiveSeconds(benchmark::State& bench) {
    FigureEight figure(10000);
    figure.model->HasScreen = true;
    figure.model->PlayDuration = 5;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        figure.model->replotAll(true);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        bench.counters["wall_s"] = took.count();
    }
    bench.counters["bullet_plots"] = static_cast<double>(figure.model->BulletPlots);
}
BENCHMARK(BM_PlayFiveSeconds)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

} // namespace
