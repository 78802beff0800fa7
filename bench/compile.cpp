// Compile speed: a problem file from disk to the values at the initial point.
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"

#include "SharedProblem.h"

#include <benchmark/benchmark.h>
#include <numbers>
#include <string>

namespace {

void compileFile(benchmark::State& state, const std::string& name) {
    std::size_t instructions = 0;
    for (auto _ : state) {
        ProblemPanes panes = readSharedProblem(name);
        TCompiledProblem problem;
        FormulaParser parser;
        compileToOrderZero(panes, problem, parser, 31, std::numbers::pi_v<Extended> / 180);
        instructions = problem.Instructions.size();
        benchmark::DoNotOptimize(problem.Coefficients.data());
    }
    state.counters["instructions"] = static_cast<double>(instructions);
}

} // namespace

BENCHMARK_CAPTURE(compileFile, nbody99_2d, "nbody99_2d.ode")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compileFile, nbody30_3d, "nbody30_3d.ode")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(compileFile, figure8, "figure8.ode")->Unit(benchmark::kMicrosecond);
