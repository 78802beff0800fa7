// From formulas to the first jet: a problem file read, compiled, its plan built and its first
// full expansion computed, the first radius and step estimated, as a compile in the window does.
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ProgramState.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

void firstJet(benchmark::State& state, const std::string& name) {
    const std::string path = std::string(ORVANTA_PROBLEMS_DIR) + "/" + name;
    for (auto _ : state) {
        auto text = readWholeFile(path);
        if (!text)
            throw std::runtime_error("cannot read " + path);
        ProblemPanes panes = splitProblemSections(splitLines(*text)).Panes;
        ProgramState program;
        TCompiledProblem problem;
        FormulaParser parser;
        compileForIntegration(program, panes, problem, parser, false);
        benchmark::DoNotOptimize(problem.Step);
    }
}

} // namespace

BENCHMARK_CAPTURE(firstJet, figure8, "figure8.ode")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstJet, nbody10_3d, "nbody10_3d.ode")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstJet, nbody30_3d, "nbody30_3d.ode")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstJet, nbody99_2d, "nbody99_2d.ode")->Unit(benchmark::kMillisecond);
