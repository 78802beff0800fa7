#include "integrator/StepControl.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "integrator/RateFill.h"
#include "integrator/RateRank.h"
#include "integrator/StepFaults.h"
#include "integrator/ToleranceStep.h"
#include "integrator/WideRates.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

// The rate of the coefficients behind filled rates: the mean of the tightest cluster among the
// largest rates.
float clusterMean(const EngineState& engine, float* rate) {
    if (wideRatesFit(engine))
        return wideClusterMean(engine, rate);
    const std::int32_t top = engine.RateTop;
    const std::int32_t window = engine.RateWindow;
    rankLargestRates(rate, engine.TermCount, top);
    // The tightest cluster of window + 1 consecutive rates: the first start from 1 on whose
    // spread is below every earlier one and below the spread from position 0, no cluster starting
    // at a sentinel. The rates descend, so no spread is negative and a spread of 0 ends the search
    // as surely as the comparisons do; taking each start without a branch spares the mispredicted
    // jumps of a search whose winner moves from step to step.
    float spread = rate[0] - rate[window];
    std::int32_t start = 1;
    bool searching = true;
    for (std::int32_t i = 1; i <= top - window; ++i) {
        searching = searching && rate[i] != RateSentinel;
        const float d = rate[i] - rate[i + window];
        const bool tighter = searching && d < spread;
        spread = tighter ? d : spread;
        start = tighter ? i : start;
    }
    float sum = 0;
    for (std::int32_t i = start; i <= start + window; ++i)
        sum += rate[i];
    return sum / static_cast<float>(window + 1);
}

} // namespace

float VarRate(EngineState& engine, const Extended* a) {
    fillRates(engine, a, engine.RateBuf.data());
    return clusterMean(engine, engine.RateBuf.data());
}

void EstimateRadius(ProgramState& state, TCompiledProblem& problem) {
    const CoefficientTable& table = problem.Coefficients;
    std::int32_t last = problem.NumConst + std::max(problem.NumMain - 1, 0);
    if (state.RadiusChoice == RadiusVariables::MainAndAux)
        last = problem.DerivStart - 1;
    else if (state.RadiusChoice == RadiusVariables::All)
        last = table.count() - 1;
    // The rate is the largest of the chosen arrays' (the first main variable's always among
    // them), which does not depend on the order they are taken in. Each array's rates and bound
    // come first; the array with the largest bound is sorted first, and after it only arrays
    // whose bound can still beat the maximum.
    const std::size_t n = static_cast<std::size_t>(state.TermCount);
    std::vector<float>& rows = state.RateRows;
    std::vector<std::pair<float, std::int32_t>>& bounds = state.RateBounds;
    bounds.clear();
    std::size_t best = 0;
    for (std::int32_t v = problem.NumConst; v <= last; ++v) {
        if (v > problem.NumConst && (table.length(v) <= 2 || table.length(v) < state.TermCount))
            continue;
        if (rows.size() < (bounds.size() + 1) * n)
            rows.resize((bounds.size() + 1) * n);
        const float bound = fillRates(state, table[v], rows.data() + bounds.size() * n);
        if (!bounds.empty() && bound > bounds[best].first)
            best = bounds.size();
        bounds.emplace_back(bound, static_cast<std::int32_t>(bounds.size()));
    }
    std::swap(bounds.front(), bounds[best]);
    float rate = -std::numeric_limits<float>::infinity();
    for (const auto& [bound, row] : bounds)
        if (bound > rate)
            rate =
                std::max(rate, clusterMean(state, rows.data() + static_cast<std::size_t>(row) * n));
    problem.Radius = std::min<Extended>(state.RatePowers.of(rate), state.RadLimit);
}

void AfterStep(ProgramState& state, TCompiledProblem& problem) {
    if (state.AssumeRadiusLimit && problem.hasSpecialPoint() &&
        problem.CurrentIndep == problem.SpecialPoint) {
        problem.Radius = state.RadLimit;
        problem.Step = problem.Radius * problem.Direction;
        return;
    }
    if (state.Control == ErrorControl::Tolerance) {
        toleranceAfterStep(state, problem);
        return;
    }
    EstimateRadius(state, problem);
    problem.Step = problem.Radius * state.RadFactor * problem.Direction;
}

std::string radiusText(const TCompiledProblem& problem) {
    return "Heuristic conv. radius: " + formatShort(problem.Radius);
}

std::string stepText(const TCompiledProblem& problem) {
    return "Step: " + formatShort(problem.Step);
}

namespace {

bool flagSet(const std::vector<std::uint8_t>& flags, std::int32_t i) {
    return static_cast<std::size_t>(i) < flags.size() && flags[static_cast<std::size_t>(i)] != 0;
}

// The shared half of both tests: a is this side's value of main variable i, b is BackVal[i].
template <typename ValueOf>
bool tolerancesHold(const TCompiledProblem& problem, std::int32_t& failingIndex, ValueOf valueOf) {
    if (problem.hasSpecialPoint() && problem.CurrentIndep == problem.SpecialPoint)
        return true;
    for (std::int32_t i = 0; i < problem.NumMain; ++i) {
        const bool absOn = flagSet(problem.AbsOn, i);
        const bool relOn = flagSet(problem.RelOn, i);
        if (i == problem.IndepLine || (!absOn && !relOn))
            continue;
        failingIndex = problem.NumConst + i;
        const Extended a = valueOf(i);
        const Extended b = problem.BackVal[static_cast<std::size_t>(i)];
        const Extended diff = std::fabs(a - b);
        const Extended larger = std::max(std::fabs(a), std::fabs(b));
        const Extended absTol = absOn ? problem.AbsTol[static_cast<std::size_t>(i)] : 0;
        const Extended relTol = relOn ? problem.RelTol[static_cast<std::size_t>(i)] : 0;
        bool passed;
        if (absOn && !relOn)
            passed = diff <= absTol;
        else if (!absOn)
            passed = diff <= larger * relTol;
        else
            passed = absTol >= larger || diff <= larger * relTol;
        if (!passed)
            return false;
    }
    return true;
}

} // namespace

bool BackTestPassed(const TCompiledProblem& problem, std::int32_t& failingIndex) {
    return tolerancesHold(problem, failingIndex, [&](std::int32_t i) {
        return problem.StepTable[static_cast<std::size_t>(i)][0];
    });
}

bool MiddleTestPassed(const TCompiledProblem& problem, std::int32_t& failingIndex) {
    return tolerancesHold(problem, failingIndex, [&](std::int32_t i) {
        return problem.Coefficients[problem.NumConst + i][0];
    });
}

void prepareErrorTests(TCompiledProblem& problem) {
    const std::size_t n = static_cast<std::size_t>(problem.NumMain);
    problem.BackVal.resize(n, 0.0L);
    problem.HalfVal.resize(n, 0.0L);
    problem.AbsTol.resize(n, 0.0L);
    problem.RelTol.resize(n, 0.0L);
    problem.AbsOn.resize(n, 0);
    problem.RelOn.resize(n, 0);
}

std::optional<std::string> readTolerances(TCompiledProblem& problem,
                                          const std::vector<std::string>& absCells,
                                          const std::vector<std::string>& relCells) {
    prepareErrorTests(problem);
    auto readCell = [](const std::vector<std::string>& cells, std::size_t i, std::uint8_t& on,
                       Extended& tolerance) -> std::optional<std::string> {
        const std::string text = i < cells.size() ? trim(cells[i]) : std::string();
        on = text.empty() ? 0 : 1;
        if (!on)
            return std::nullopt;
        const auto value = parseNumber(text);
        if (!value)
            return cells[i] + " wrong";
        tolerance = *value;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < static_cast<std::size_t>(problem.NumMain); ++i) {
        if (auto error = readCell(absCells, i, problem.AbsOn[i], problem.AbsTol[i]))
            return error;
        if (auto error = readCell(relCells, i, problem.RelOn[i], problem.RelTol[i]))
            return error;
    }
    return std::nullopt;
}

bool ReportStepFailure(ProgramState& state, const TCompiledProblem& problem, Ui& ui,
                       std::int32_t failingIndex, const std::vector<std::string>& mainNames,
                       bool goDespite) {
    const std::int32_t row = failingIndex - problem.NumConst;
    const std::string name = row >= 0 && static_cast<std::size_t>(row) < mainNames.size()
                                 ? mainNames[static_cast<std::size_t>(row)]
                                 : std::string();
    const char* test = flagSet(problem.AbsOn, row) ? "Absolute" : "Relative";
    if (!goDespite) {
        ui.message(formatText("Step splitting exceeded the limit.\n\r %s failed the %s error test",
                              name.c_str(), test));
        return true;
    }
    state.FailureLog.push_back(formatText("%s \tat %s = %s %s", name.c_str(),
                                          problem.IndepName.c_str(),
                                          formatShort(problem.CurrentIndep).c_str(), test));
    return false;
}

void refreshStep(ProgramState& state, TCompiledProblem& problem) {
    if (problem.Coefficients.empty() || problem.NumMain == 0)
        return;
    const Extended radius = problem.Radius, step = problem.Step;
    try {
        checkedAfterStep(state, problem);
    } catch (const std::exception&) {
        problem.Radius = radius;
        problem.Step = step;
    }
}

std::optional<std::string> changeRadiusFactor(ProgramState& state, TCompiledProblem& problem,
                                              const std::string& text) {
    const auto factor = parseTrimmedNumber(text);
    if (!factor)
        return formatDisplay(state.RadFactor);
    state.RadFactor = *factor;
    refreshStep(state, problem);
    return std::nullopt;
}

std::string radiusLimitText(const ProgramState& state) {
    return "Radius limit: " + formatShort(state.RadLimit);
}

void changeRadiusLimit(ProgramState& state, TCompiledProblem& problem, Ui& ui) {
    const auto answer =
        ui.inputBox("Changing", "Limit for convergence radius", formatShort(state.RadLimit));
    if (!answer)
        return;
    const auto limit = parseTrimmedNumber(*answer);
    if (!limit)
        return;
    state.RadLimit = std::fabs(*limit);
    problem.SpecialWindow = std::min(problem.SpecialWindow, state.RadLimit);
}
