// Accuracy of the step rules against closed forms: every problem of the accuracy table run to its
// end in every mode, with its error (largest over the variables, relative above 1) and its steps
// as counters next to the time of the whole run; then the race of the Kepler orbit and the
// figure-eight over ten periods in the tolerance mode at 1e-19, interpreted and with the jet
// compiled to machine code.
#include "../tests/support/ClosedFormRuns.h"

#include "common/TextFile.h"
#include "engine/TaylorEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void closedForm(benchmark::State& bench, ClosedFormCase c, StepMode mode) {
    ClosedFormRun run(c, mode);
    std::int32_t steps = 0;
    for (auto _ : bench)
        steps = run.run();
    bench.counters["steps"] = steps;
    bench.counters["error"] = static_cast<double>(run.error());
}

// Energy of the figure-eight: kinetic minus the three pairs' 1/r (unit masses and G).
Extended figureEightEnergy(const TCompiledProblem& p) {
    auto v = [&](int main) { return p.Coefficients[p.NumConst + main][0]; };
    // Main variables: t, x1, y1, x2, y2, x3, y3, vx1, vy1, vx2, vy2, vx3, vy3.
    Extended kinetic = 0;
    for (int i = 7; i <= 12; ++i)
        kinetic += v(i) * v(i) / 2;
    auto distance = [&](int a, int b) { return std::hypot(v(a) - v(b), v(a + 1) - v(b + 1)); };
    return kinetic - 1 / distance(1, 3) - 1 / distance(1, 5) - 1 / distance(3, 5);
}

// The jet compiled to machine code for a race run, or the reason it is not.
bool raceNative(benchmark::State& bench, ClosedFormRun& run, bool native) {
    std::string why;
    if (!native || useNativeJet(run.Problem, run.State, NativeArrays::Variables, why))
        return true;
    bench.SkipWithError(why.c_str());
    return false;
}

void raceFigureEight(benchmark::State& bench, bool native) {
    const auto text = readWholeFile(std::string(ORVANTA_PROBLEMS_DIR) + "/figure8.ode");
    if (!text)
        throw std::runtime_error("cannot read figure8.ode");
    // Ten periods; the energy is the error's measure.
    const ClosedFormCase c{"figure-eight", *text, 63.2591398L, {}};
    ClosedFormRun run(c, {"tolerance 1e-19", ErrorControl::Tolerance, 0.5L, 1e-19L});
    if (!raceNative(bench, run, native))
        return;
    run.Problem.TermArmed = false;
    applyInitialValues(run.State, run.Problem);
    const Extended start = figureEightEnergy(run.Problem);
    std::int32_t steps = 0;
    for (auto _ : bench)
        steps = run.run();
    bench.counters["steps"] = steps;
    bench.counters["energy drift"] =
        static_cast<double>(std::fabs(figureEightEnergy(run.Problem) / start - 1));
}

void raceKepler(benchmark::State& bench, bool native) {
    ClosedFormRun run(keplerCase(10), {"tolerance 1e-19", ErrorControl::Tolerance, 0.5L, 1e-19L});
    if (!raceNative(bench, run, native))
        return;
    std::int32_t steps = 0;
    for (auto _ : bench)
        steps = run.run();
    bench.counters["steps"] = steps;
    bench.counters["distance"] = static_cast<double>(std::hypot(run.value(0) - 0.5L, run.value(1)));
}

// The race's Kepler error at 21 tolerances from 0.5e-19 to 2e-19: the spread of the distance
// from the start shows how much of it is the rounding of the steps rather than the rule (a
// rule limited by truncation would give errors that grow with the tolerance).
void keplerSpread(benchmark::State& bench) {
    std::vector<double> distances;
    std::int32_t fewest = 0, most = 0;
    for (auto _ : bench) {
        distances.clear();
        for (int i = 0; i <= 20; ++i) {
            const Extended tolerance = 1e-19L * (0.5L + 0.075L * i);
            ClosedFormRun run(keplerCase(10),
                              {"tolerance", ErrorControl::Tolerance, 0.5L, tolerance});
            const std::int32_t steps = run.run();
            fewest = i == 0 ? steps : std::min(fewest, steps);
            most = std::max(most, steps);
            distances.push_back(static_cast<double>(std::hypot(run.value(0) - 0.5L, run.value(1))));
        }
    }
    std::sort(distances.begin(), distances.end());
    bench.counters["fewest steps"] = fewest;
    bench.counters["most steps"] = most;
    bench.counters["smallest"] = distances.front();
    bench.counters["median"] = distances[distances.size() / 2];
    bench.counters["largest"] = distances.back();
}

const bool registered = [] {
    for (const ClosedFormCase& c : closedFormCases())
        for (const StepMode& mode : accuracyModes())
            benchmark::RegisterBenchmark(("accuracy/" + c.Name + "/" + mode.Name).c_str(),
                                         closedForm, c, mode)
                ->Unit(benchmark::kMicrosecond);
    for (const bool native : {false, true}) {
        const std::string suffix = native ? "_native" : "";
        benchmark::RegisterBenchmark(("race/kepler" + suffix).c_str(), raceKepler, native)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("race/figure8" + suffix).c_str(), raceFigureEight, native)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("race/kepler_spread", keplerSpread)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    return true;
}();

} // namespace
