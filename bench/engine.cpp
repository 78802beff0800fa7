// Speed of the Taylor engine: one full expansion (ComputeCoefficients) at 31 terms and one plain
// step (h = kR, the point stored into a circular Results array of two; then h from a tolerance)
// for the shared problems, and steps per second of a figure-eight run with and without error
// control; the same jets and steps with the jet compiled to machine code.
#include "common/Ui.h"
#include "compiler/FormulaParser.h"
#include "compiler/ProblemPanes.h"
#include "engine/TaylorEngine.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "integrator/StepRoutines.h"

#include "SharedProblem.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct LoadedProblem {
    ProgramState state;
    TCompiledProblem problem;
};

void load(LoadedProblem& loaded, const std::string& name) {
    ProblemPanes panes = readSharedProblem(name);
    FormulaParser parser;
    compileForIntegration(loaded.state, panes, loaded.problem, parser, false);
}

// The problem's jet compiled to machine code; false, with the reason reported, when it has none.
bool useNative(benchmark::State& bench, LoadedProblem& loaded) {
    std::string why;
    if (useNativeJet(loaded.problem, loaded.state, NativeArrays::Variables, why))
        return true;
    bench.SkipWithError(why.c_str());
    return false;
}

void jetIn(benchmark::State& bench, const char* name, bool native) {
    LoadedProblem loaded;
    load(loaded, name);
    if (native && !useNative(bench, loaded))
        return;
    for (auto _ : bench) {
        ComputeCoefficients(loaded.problem, loaded.state);
        benchmark::DoNotOptimize(loaded.problem.Coefficients.data());
    }
    bench.counters["instructions"] = static_cast<double>(loaded.problem.ActiveInstructions.size());
}

// One plain step after another along the problem's own path, each stored as the command line's
// "--results 2 --circular" stores it: h = kR, or h from the tolerance rule at 1e-19 (the values
// kept as compensated sums).
void jet(benchmark::State& bench, const char* name) {
    jetIn(bench, name, false);
}

void nativeJet(benchmark::State& bench, const char* name) {
    jetIn(bench, name, true);
}

void stepsIn(benchmark::State& bench, const char* name, ErrorControl control, bool native) {
    LoadedProblem loaded;
    load(loaded, name);
    if (native && !useNative(bench, loaded))
        return;
    loaded.state.Control = control;
    NullUi ui;
    if (!createResults(loaded.state, loaded.problem, ui, "2", false, true).Created)
        throw std::runtime_error("no Results array");
    AfterStep(loaded.state, loaded.problem);
    for (auto _ : bench) {
        StepPlain(loaded.state, loaded.problem);
        benchmark::DoNotOptimize(loaded.problem.CurrentIndep);
    }
}

void step(benchmark::State& bench, const char* name) {
    stepsIn(bench, name, ErrorControl::None, false);
}

void nativeStep(benchmark::State& bench, const char* name) {
    stepsIn(bench, name, ErrorControl::None, true);
}

void toleranceStep(benchmark::State& bench, const char* name) {
    stepsIn(bench, name, ErrorControl::Tolerance, false);
}

// The radius estimate alone, over the arrays of the problem's initial expansion.
void radius(benchmark::State& bench, const char* name) {
    LoadedProblem loaded;
    load(loaded, name);
    for (auto _ : bench) {
        EstimateRadius(loaded.state, loaded.problem);
        benchmark::DoNotOptimize(loaded.problem.Radius);
    }
}

void figure8Run(benchmark::State& bench, ErrorControl control) {
    for (auto _ : bench) {
        bench.PauseTiming();
        LoadedProblem loaded;
        load(loaded, "figure8.ode");
        std::vector<std::string> tolerance(static_cast<std::size_t>(loaded.problem.NumMain),
                                           "1e-16");
        readTolerances(loaded.problem, tolerance, tolerance);
        bench.ResumeTiming();
        std::int32_t failing = 0;
        for (int step = 0; step < 1000; ++step) {
            if (control == ErrorControl::None)
                StepPlain(loaded.state, loaded.problem);
            else
                StepBackControl(loaded.state, loaded.problem, failing, false);
        }
        benchmark::DoNotOptimize(loaded.problem.CurrentIndep);
    }
    bench.counters["steps/s"] = benchmark::Counter(1000.0 * static_cast<double>(bench.iterations()),
                                                   benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(jet, lorenz, "lorenz.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, lorenz, "lorenz.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, kepler, "kepler.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, kepler, "kepler.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, figure8, "figure8.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, figure8, "figure8.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, nbody2_2d, "nbody2_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, nbody2_2d, "nbody2_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, nbody3_2d, "nbody3_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, nbody3_2d, "nbody3_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, nbody10_3d, "nbody10_3d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, nbody10_3d, "nbody10_3d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, nbody30_3d, "nbody30_3d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, nbody30_3d, "nbody30_3d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(jet, nbody99_2d, "nbody99_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(step, nbody99_2d, "nbody99_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(radius, lorenz, "lorenz.ode")->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(radius, kepler, "kepler.ode")->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(radius, figure8, "figure8.ode")->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(radius, nbody2_2d, "nbody2_2d.ode")->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(toleranceStep, lorenz, "lorenz.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(toleranceStep, kepler, "kepler.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(toleranceStep, figure8, "figure8.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(toleranceStep, nbody10_3d, "nbody10_3d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeJet, lorenz, "lorenz.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeStep, lorenz, "lorenz.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeJet, kepler, "kepler.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeStep, kepler, "kepler.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeJet, figure8, "figure8.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeStep, figure8, "figure8.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeJet, nbody2_2d, "nbody2_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeStep, nbody2_2d, "nbody2_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeJet, nbody3_2d, "nbody3_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(nativeStep, nbody3_2d, "nbody3_2d.ode")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(figure8Run, no_control, ErrorControl::None)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(figure8Run, back_control, ErrorControl::Back)->Unit(benchmark::kMillisecond);
