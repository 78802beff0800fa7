#include "integrator/IntegrationRun.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/CompileDriver.h"
#include "compiler/ConstantExpression.h"
#include "engine/TaylorEngine.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "integrator/StepFaults.h"
#include "integrator/StepRoutines.h"

#include <chrono>
#include <cmath>

bool PollInterrupt(ProgramState& state, Ui& ui) {
    const auto now = std::chrono::steady_clock::now();
    if (now - state.LastPoll < state.PollInterval)
        return false;
    state.LastPoll = now;
    ui.processEvents();
    if (!state.Interrupt)
        return false;
    state.Interrupt = false;
    ui.information("Interrupted!");
    return true;
}

namespace {

// A growing array must hold every point of the run before it starts; a circular one wraps.
bool resultsHaveRoom(const ProgramState& state, std::int64_t steps) {
    const ResultsArray& results = state.Results;
    return results.empty() || results.Circular || results.Length - 1 >= state.StepIndex + steps - 1;
}

using Clock = std::chrono::steady_clock;

// One step by the chosen routine; false when the run must stop after it. `stepEnd` is when its
// computation ended, before any dialog about it.
bool takeStep(ProgramState& state, TCompiledProblem& problem, Ui& ui, const RunSettings& settings,
              std::int32_t position, RunOutcome& outcome, Clock::time_point& stepEnd) {
    auto progress = [&] {
        outcome.Position = position;
        if (settings.Progress)
            settings.Progress(position);
    };
    if (takesPlainSteps(state.Control)) {
        StepPlain(state, problem);
        stepEnd = Clock::now();
        ++state.TotalSteps;
        progress();
        if (settings.PointAccepted)
            settings.PointAccepted();
        return true;
    }
    ++state.TotalSteps;
    progress();
    std::int32_t failingIndex = problem.NumConst;
    const bool passed = state.Control == ErrorControl::Middle
                            ? StepMiddleControl(state, problem, failingIndex, state.GoDespite)
                            : StepBackControl(state, problem, failingIndex, state.GoDespite);
    stepEnd = Clock::now();
    if (passed || state.GoDespite) {
        if (settings.PointAccepted)
            settings.PointAccepted();
    }
    if (passed)
        return true;
    if (ReportStepFailure(state, problem, ui, failingIndex, settings.MainNames, state.GoDespite)) {
        outcome.End = RunEnd::SplitLimit;
        return false;
    }
    if (settings.FailureLogged)
        settings.FailureLogged(state.FailureLog.back());
    return true;
}

} // namespace

std::string stepsLabel(const std::string& stepsText) {
    const auto steps = parseInteger(trim(stepsText));
    return steps && *steps >= 2 ? "steps" : "step";
}

bool makeRoomForRun(ProgramState& state, Ui& ui, std::int64_t steps) {
    if (resultsHaveRoom(state, steps))
        return true;
    // A growing array that still lacks room after the offer would wrap onto its first points, so
    // the run does not start then either.
    if (AppendResults(state, ui) && resultsHaveRoom(state, steps))
        return true;
    ui.message("Either make Results circular, or add elements");
    return false;
}

RunOutcome runMore(ProgramState& state, TCompiledProblem& problem, Ui& ui,
                   const std::string& stepsText, const RunSettings& settings) {
    RunOutcome outcome;
    state.Interrupt = false;
    if (state.Busy)
        return outcome;
    const auto steps = parseInteger(trim(stepsText));
    if (!steps || *steps > std::numeric_limits<std::int32_t>::max()) {
        ui.message("Wrong number");
        return outcome;
    }
    outcome.StepsLabel = stepsLabel(stepsText);
    // Busy already while the append question stands open: its dialog lets timers run, and none
    // of them may start a second run on the same array.
    state.Busy = true;
    bool room = false;
    try {
        room = makeRoomForRun(state, ui, *steps);
    } catch (...) {
        state.Busy = false;
        throw;
    }
    if (!room) {
        state.Busy = false;
        return outcome;
    }
    // The run's time is the steps' time: the dialogs that end it ("Interrupted!", a failed
    // step, a singularity) are not counted.
    const auto start = Clock::now();
    auto stepsEnd = start;
    state.LastPoll = start;
    outcome.End = RunEnd::Completed;
    try {
        for (std::int32_t i = 1; i <= *steps; ++i) {
            if (!takeStep(state, problem, ui, settings, i, outcome, stepsEnd))
                break;
            if (problem.Terminated) {
                outcome.End = RunEnd::Terminated;
                break;
            }
            if (PollInterrupt(state, ui)) {
                outcome.End = RunEnd::Interrupted;
                break;
            }
        }
    } catch (const OrvantaError& error) {
        stepsEnd = Clock::now();
        outcome.End = RunEnd::Singularity;
        outcome.Error = error.what();
        ui.message("Singularity reached");
    }
    const std::chrono::duration<double> took = stepsEnd - start;
    outcome.Summary =
        formatText("%d steps (%d step splits).  Total: %d.  Took %.6f sec.", outcome.Position,
                   state.SplitCount, state.TotalSteps, took.count());
    state.Busy = false;
    if (problem.Terminated) {
        ui.information("The terminal point reached and unchecked");
        clearTermination(problem);
    }
    return outcome;
}

void clearTermination(TCompiledProblem& problem) {
    problem.TermArmed = false;
    problem.Terminated = false;
}

bool terminalValueReachable(const TCompiledProblem& problem, Extended end) {
    // Without an independent main variable the integration starts from 0.
    return problem.IndepLine >= 0
               ? (end - problem.Coefficients[problem.IndepVar][0]) * problem.Direction >= 0
               : problem.Direction * end > 0;
}

bool setTermination(ProgramState& state, TCompiledProblem& problem, Ui& ui, bool checked,
                    const std::string& endText, const std::vector<std::string>& constantLines) {
    clearTermination(problem);
    if (!checked)
        return false;
    const std::string text = trim(endText);
    if (text.empty())
        return false;
    const Extended end = EvaluateConstantExpression(constantLines, text, state.AngleFactor);
    if (!std::isfinite(end)) {
        ui.message("Wrong termination value.\n\rTermination ignored");
        return false;
    }
    problem.TEnd = end;
    problem.TermArmed = terminalValueReachable(problem, end);
    if (!problem.TermArmed) {
        ui.message(std::string("This terminal value cannot be reached ") +
                   (problem.Direction < 0 ? "Backward" : "Forward"));
        return false;
    }
    return true;
}

std::string setDirection(TCompiledProblem& problem, bool backward) {
    problem.Direction = backward ? -1 : 1;
    problem.Step = std::fabs(problem.Step) * problem.Direction;
    return backward ? " decreases" : " increases";
}

void applyInitialValues(ProgramState& state, TCompiledProblem& problem) {
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        problem.Coefficients[problem.NumConst + i][0] =
            problem.InitialValues[static_cast<std::size_t>(i)];
    problem.CurrentIndep = problem.IndepLine >= 0
                               ? problem.InitialValues[static_cast<std::size_t>(problem.IndepLine)]
                               : 0;
    problem.IndepLow = 0;
    problem.TPrevLow = 0;
    problem.TakenStep = 0;
    problem.PathLength = 0;
    ComputeCoefficients(problem, state);
    StoreResultPoint(state, problem);
    checkedAfterStep(state, problem);
}

bool restart(ProgramState& state, TCompiledProblem& problem, Ui& ui, std::int32_t loadedProblems) {
    if (loadedProblems >= 2 &&
        !ui.confirm("Results array (for all loaded problems) will be overwritten\n\rDo it anyway?"))
        return false;
    state.StepIndex = 0;
    state.TotalSteps = 0;
    state.SplitCount = 0;
    applyInitialValues(state, problem);
    problem.Terminated = false;
    state.FailureLog.clear();
    return true;
}

void ResetState(ProgramState& state, TCompiledProblem& problem) {
    state.RadFactor = 0.5L;
    state.TotalSteps = 0;
    state.FailedInstruction = -1;
    state.FailedLine = -1;
    resetCompiledState(problem);
    problem.Direction = 1;
    problem.TermArmed = false;
    problem.Terminated = false;
    problem.Status = 0;
}

bool changeTermCount(ProgramState& state, TCompiledProblem& problem, Ui& ui) {
    const auto answer =
        ui.inputBox("Recompile after changing",
                    "Enter a number of terms (n>2) in the Taylor series (Order of differentiation "
                    "+ 1)",
                    std::to_string(state.TermCount));
    if (!answer)
        return false;
    const auto terms = parseInteger(trim(*answer));
    // Beyond a few thousand terms the tables alone would take gigabytes.
    if (!terms || *terms > MaxTermCount) {
        ui.message("Wrong order");
        return false;
    }
    state.TermCount = static_cast<std::int32_t>(std::max<long long>(*terms, MinTermCount));
    BuildRecurrenceTables(state);
    state.Results.clear();
    ResetState(state, problem);
    return true;
}

std::string orderText(const ProgramState& state) {
    return formatText("Order of differentiation:  %d", state.TermCount - 1);
}
