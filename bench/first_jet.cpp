// From formulas to the first jet: a problem file read, compiled, its plan built and its first
// full expansion computed, the first radius and step estimated, as a compile in the window does.
#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ProgramState.h"

#include "SharedProblem.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

void firstJet(benchmark::State& state, const std::string& name) {
    for (auto _ : state) {
        ProblemPanes panes = readSharedProblem(name);
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
