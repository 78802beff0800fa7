// Picture output: a 4x re-scaled replot of figure8.ode after 10,000 steps, and 300 movie frames
// of 1000 x 700 written as PNG during a replay, with the PNG writing alone beside it.
#include "GraphedRun.h"

#include "graphics/MovieRecorder.h"
#include "graphics/PngWriter.h"
#include "graphics/RenderGraph.h"
#include "graphics/VirtualPlayClock.h"
#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

// figure8.ode integrated and drawn in a box of 3 x 2.1, which fills 1000 x 700.
struct Picture : GraphedRun<VirtualPlayClock> {
    explicit Picture(int steps) : GraphedRun("figure8.ode", steps) {
        applyBounds(*model, *graph, ui, {"-1.5", "1.5", "-1.05", "1.05", "0", "1"},
                    constantsValueReader(panes.Constants, 1));
    }
};

std::string scratchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "orvanta_bench_frames";
    std::filesystem::create_directories(folder);
    return folder.string();
}

// The layout at four times the area and the replot into it (4000 x 2800).
void BM_RescaledReplotFourTimes(benchmark::State& bench) {
    Picture picture(10000);
    picture.model->AreaWidth = 4000;
    picture.model->AreaHeight = 2800;
    for (auto _ : bench) {
        picture.model->layout();
        picture.model->replotAll(false);
    }
    bench.counters["width"] = picture.model->Image.width();
    bench.counters["height"] = picture.model->Image.height();
    bench.counters["points"] = static_cast<double>(picture.model->PointsPlotted);
}
BENCHMARK(BM_RescaledReplotFourTimes)->Unit(benchmark::kMillisecond)->Iterations(3);

// 300 frames during a replay of 1,000 steps (10 s at 30 frames a second, paced by a clock that
// does not wait), each a 24-bit PNG of 1000 x 700 with bullets.
void BM_MovieFramesPng(benchmark::State& bench) {
    Picture picture(1000);
    picture.model->HasScreen = true;
    picture.model->PlayDuration = 10;
    picture.model->replotAll(false);
    const std::string prefix = scratchFolder() + "/frame";
    MovieRecorder recorder;
    for (auto _ : bench)
        recorder.recordTo(*picture.model, picture.ui, 300, prefix, PngFilter, 24);
    bench.counters["frames"] = recorder.Counter;
    std::filesystem::remove_all(scratchFolder());
}
BENCHMARK(BM_MovieFramesPng)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The PNG part of the above: 300 writes of the finished 1000 x 700 picture.
void BM_PngWrites(benchmark::State& bench) {
    Picture picture(1000);
    picture.model->replotAll(false);
    const std::string path = scratchFolder() + "/one.png";
    for (auto _ : bench)
        for (int i = 0; i < 300; ++i)
            writePng(picture.model->Image, path);
    std::filesystem::remove_all(scratchFolder());
}
BENCHMARK(BM_PngWrites)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace
