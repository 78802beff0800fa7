// The batch runner against a plain loop over the same samples: Kepler orbits of 1,000 steps
// from 50 initial vectors, on one worker thread and on two.
#include "SharedProblem.h"

#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "tools/MassiveRun.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

constexpr int Records = 50;
constexpr int Steps = 1000;

struct Kepler {
    ProgramState state;
    TCompiledProblem problem;
    Kepler() {
        ProblemPanes panes = readSharedProblem("kepler.ode");
        FormulaParser parser;
        compileForIntegration(state, panes, problem, parser, false);
    }
};

std::vector<Extended> vectorOf(int i) {
    const Extended e = 0.1L + 0.8L * i / Records;
    return {0, 1 - e, 0, 0, std::sqrt((1 + e) / (1 - e))};
}

std::string inputFile() {
    const auto path = std::filesystem::temp_directory_path() / "orvanta_bench_massive.txt";
    std::ofstream out(path);
    for (int i = 1; i <= Records; ++i) {
        const auto v = vectorOf(i);
        out << i;
        for (const Extended x : v)
            out << " " << static_cast<double>(x);
        out << "\n";
    }
    return path.string();
}

// The samples one after another, with no files and no threads.
void PlainLoop(benchmark::State& bench) {
    Kepler kepler;
    SampleSettings settings;
    settings.Steps = Steps;
    for (auto _ : bench)
        for (int i = 1; i <= Records; ++i)
            benchmark::DoNotOptimize(
                runSample(kepler.state, kepler.problem, vectorOf(i), settings).StepsDone);
    bench.SetItemsProcessed(bench.iterations() * Records);
}
BENCHMARK(PlainLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

void Runner(benchmark::State& bench) {
    const Kepler kepler;
    MassiveJob job;
    job.InputPath = inputFile();
    job.OutputPath = (std::filesystem::temp_directory_path() / "orvanta_bench_out.txt").string();
    job.Sample.Steps = Steps;
    job.Threads = static_cast<int>(bench.range(0));
    for (auto _ : bench) {
        std::filesystem::remove(job.OutputPath);
        runMassive(
            job, [&] { return std::make_unique<CopiedWorker>(kepler.state, kepler.problem); }, {});
    }
    bench.SetItemsProcessed(bench.iterations() * Records);
}
BENCHMARK(Runner)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
