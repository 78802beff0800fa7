#include "integrator/StepRoutines.h"

#include "engine/Series.h"
#include "engine/TaylorEngine.h"
#include "integrator/IndependentSum.h"
#include "integrator/ResultsArray.h"
#include "integrator/SeriesSideBySide.h"
#include "integrator/StepControl.h"
#include "integrator/StepFaults.h"

#include <cmath>
#include <optional>

namespace {

Extended* valueOf(TCompiledProblem& problem, std::int32_t i) {
    return problem.Coefficients[problem.NumConst + i];
}

const Extended* savedRow(const TCompiledProblem& problem, std::int32_t i) {
    return problem.StepTable[static_cast<std::size_t>(i)].data();
}

// Coefficient 0 of every main variable at offset `offset` from the saved point, the independent
// variable exactly at `indep`.
void moveFromSavedPoint(TCompiledProblem& problem, std::int32_t terms, Extended offset,
                        Extended indep, std::vector<Extended>* keep = nullptr) {
    for (std::int32_t i = 0; i < problem.NumMain; ++i) {
        if (i == problem.IndepLine) {
            valueOf(problem, i)[0] = indep;
            continue;
        }
        const Extended value = EvalSeries(savedRow(problem, i), terms, offset);
        valueOf(problem, i)[0] = value;
        if (keep)
            (*keep)[static_cast<std::size_t>(i)] = value;
    }
}

// The main variables a step moves along their series (all but the independent one): their
// number, and the main index of the k-th.
std::int32_t movingCount(const TCompiledProblem& problem) {
    return problem.IndepLine >= 0 && problem.IndepLine < problem.NumMain ? problem.NumMain - 1
                                                                         : problem.NumMain;
}

std::int32_t movingVar(const TCompiledProblem& problem, std::int32_t k) {
    return problem.IndepLine >= 0 && k >= problem.IndepLine ? k + 1 : k;
}

// The moving variables moved by h along their series, each as a compensated sum: the increment
// (the series without its first term) is added to the value and to the rounding the value left
// out so far.
void compensatedMoves(TCompiledProblem& problem, Extended h, std::int32_t terms) {
    if (problem.StateLow.size() != static_cast<std::size_t>(problem.NumMain)) {
        problem.StateLow.assign(static_cast<std::size_t>(problem.NumMain), 0);
        problem.StateLowOf.assign(static_cast<std::size_t>(problem.NumMain), 0);
    }
    evalSeriesSideBySide(
        movingCount(problem), terms - 1, h,
        [&](std::int32_t k) { return valueOf(problem, movingVar(problem, k)) + 1; },
        [&](std::int32_t k, Extended series) {
            const std::int32_t i = movingVar(problem, k);
            const std::size_t slot = static_cast<std::size_t>(i);
            Extended* x = valueOf(problem, i);
            const Extended low = problem.StateLowOf[slot] == x[0] ? problem.StateLow[slot] : 0;
            const Extended increment = h * series;
            const Extended a = x[0];
            const Extended sum = a + increment;
            const Extended part = sum - a;
            const Extended error = (a - (sum - part)) + (increment - part) + low;
            const Extended value = sum + error;
            problem.StateLow[slot] = error - (value - sum);
            problem.StateLowOf[slot] = value;
            x[0] = value;
        });
}

// The expansion at a trial point whose values have just been set; a fault in setting them is
// caught here, before the engine clears the flags for its own check.
void computeAtNewPoint(ProgramState& state, TCompiledProblem& problem) {
    checkStepPart(problem, "the new point");
    ComputeCoefficients(problem, state);
}

// The accepted point, just expanded with no fault flag left set: its expansion checked and the
// next step estimated, then the point counted and stored. The checks come first so that a fault
// in them leaves nothing stored.
void acceptPoint(ProgramState& state, TCompiledProblem& problem) {
    checkNewExpansion(problem);
    problem.TakenStep = problem.Step;
    problem.TakenStepEnd = problem.CurrentIndep;
    checkedAfterCleanExpansion(state, problem);
    ++state.StepIndex;
    StoreResultPoint(state, problem);
}

// Counts a trial against the split limit; false when no test is allowed any more.
bool trialAllowed(ProgramState& state, TCompiledProblem& problem) {
    ++state.SplitCount;
    if (state.SplitCount < SplitLimit)
        return true;
    problem.Status = StatusSplitLimit;
    return false;
}

// Trials of a controlled step until one passes its test, each checked for faults up to its test;
// the last one allowed at the split limit is taken untested. Nothing when the limit ends the step
// without goDespite, otherwise whether the accepted trial was still allowed a test.
template <typename Trial>
std::optional<bool> runTrials(ProgramState& state, TCompiledProblem& problem, bool goDespite,
                              Trial trialPassed) {
    bool allowed;
    bool passed;
    do {
        allowed = trialAllowed(state, problem);
        if (!allowed && !goDespite)
            return std::nullopt;
        passed = trialPassed();
        checkStepPart(problem, "the error test");
    } while (!passed && allowed);
    return allowed;
}

// A controlled step starts from the current point with its tests sized and no trial made yet.
void beginControlledStep(ProgramState& state, TCompiledProblem& problem) {
    prepareErrorTests(problem);
    beginStepAt(problem);
    state.SplitCount = -1;
}

} // namespace

void SnapStep(TCompiledProblem& problem) {
    if (problem.hasSpecialPoint()) {
        const Extended point = problem.SpecialPoint;
        const Extended at = problem.CurrentIndep;
        const bool justBefore =
            problem.Direction > 0
                ? point - problem.SpecialWindow < at && at < point
                : problem.Direction < 0 && point < at && at < point + problem.SpecialWindow;
        if (justBefore) {
            problem.Step = stepTo(problem, point);
            placeIndepAt(problem, point);
        }
    }
    if (problem.TermArmed) {
        problem.Terminated =
            ((problem.TEnd - problem.CurrentIndep) - indepLow(problem)) * problem.Direction <= 0;
        if (problem.Terminated) {
            problem.Step = stepTo(problem, problem.TEnd);
            placeIndepAt(problem, problem.TEnd);
        }
    }
}

void StepPlain(ProgramState& state, TCompiledProblem& problem) {
    if (problem.Terminated)
        return;
    guardedStep(state, problem, [&] {
        beginStepAt(problem);
        moveIndepBy(problem, problem.Step);
        problem.PathLength += std::fabs(problem.Step);
        SnapStep(problem);
        if (state.Control == ErrorControl::Tolerance)
            compensatedMoves(problem, problem.Step, state.TermCount);
        else
            evalSeriesSideBySide(
                movingCount(problem), state.TermCount, problem.Step,
                [&](std::int32_t k) { return valueOf(problem, movingVar(problem, k)); },
                [&](std::int32_t k, Extended value) {
                    valueOf(problem, movingVar(problem, k))[0] = value;
                });
        if (movingCount(problem) < problem.NumMain)
            valueOf(problem, problem.IndepLine)[0] = problem.CurrentIndep;
        computeAtNewPoint(state, problem);
        acceptPoint(state, problem);
    });
}

bool StepBackControl(ProgramState& state, TCompiledProblem& problem, std::int32_t& failingIndex,
                     bool goDespite) {
    if (problem.Terminated)
        return true;
    return guardedStep(state, problem, [&] {
        beginControlledStep(state, problem);
        const std::int32_t terms = state.TermCount;
        problem.Step = problem.Step / 0.5L;
        const auto allowed = runTrials(state, problem, goDespite, [&] {
            problem.Step = problem.Step * 0.5L;
            moveIndepBy(problem, problem.Step);
            SnapStep(problem);
            moveFromSavedPoint(problem, terms, problem.Step, problem.CurrentIndep);
            computeAtNewPoint(state, problem);
            for (std::int32_t i = 0; i < problem.NumMain; ++i)
                if (problem.AbsOn[static_cast<std::size_t>(i)] ||
                    problem.RelOn[static_cast<std::size_t>(i)])
                    problem.BackVal[static_cast<std::size_t>(i)] =
                        EvalSeries(valueOf(problem, i), terms, -problem.Step);
            return BackTestPassed(problem, failingIndex);
        });
        if (!allowed)
            return false;
        acceptPoint(state, problem);
        problem.PathLength += std::fabs(problem.CurrentIndep - problem.TPrev);
        return *allowed;
    });
}

bool StepMiddleControl(ProgramState& state, TCompiledProblem& problem, std::int32_t& failingIndex,
                       bool goDespite) {
    if (problem.Terminated)
        return true;
    return guardedStep(state, problem, [&] {
        beginControlledStep(state, problem);
        const std::int32_t terms = state.TermCount;
        Extended half = problem.Step; // the proposed step, kept before snapping
        moveIndepBy(problem, half);
        SnapStep(problem);
        for (std::int32_t i = 0; i < problem.NumMain; ++i)
            problem.HalfVal[static_cast<std::size_t>(i)] =
                EvalSeries(savedRow(problem, i), terms, problem.Step);
        const auto allowed = runTrials(state, problem, goDespite, [&] {
            problem.Step = half;
            moveIndepBy(problem, half);
            SnapStep(problem);
            const Extended full = problem.Step;
            // The one-step value of this trial: on later trials the previous trial's half step.
            for (std::int32_t i = 0; i < problem.NumMain; ++i)
                if (i != problem.IndepLine)
                    problem.BackVal[static_cast<std::size_t>(i)] =
                        problem.HalfVal[static_cast<std::size_t>(i)];
            half = full * 0.5L;
            moveFromSavedPoint(problem, terms, half, indepAfter(problem, half), &problem.HalfVal);
            computeAtNewPoint(state, problem);
            for (std::int32_t i = 0; i < problem.NumMain; ++i) {
                Extended* x = valueOf(problem, i);
                x[0] = i == problem.IndepLine ? indepAfter(problem, problem.Step)
                                              : EvalSeries(x, terms, full - half);
            }
            return MiddleTestPassed(problem, failingIndex);
        });
        if (!allowed)
            return false;
        problem.PathLength += std::fabs(problem.CurrentIndep - problem.TPrev);
        computeAtNewPoint(state, problem);
        acceptPoint(state, problem);
        return *allowed;
    });
}
