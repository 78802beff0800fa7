// The integration run: "More" over a number of steps with interruption and its summary,
// termination at a terminal value, direction, restart from the initial values.
#pragma once

#include "common/Ui.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Lets the window events run at most every PollInterval; true (after "Interrupted!") when Esc
// set the interrupt flag meanwhile.
bool PollInterrupt(ProgramState& state, Ui& ui);

struct RunSettings {
    std::vector<std::string> MainNames;         // for the step-failure report
    std::function<void(std::int32_t)> Progress; // progress position 1 .. steps
    std::function<void()> PointAccepted;        // after every accepted step
    // after a failed error test passed over with "Go despite error", with its failure-log line
    std::function<void(const std::string&)> FailureLogged;
};

enum class RunEnd { NotStarted, Completed, Terminated, SplitLimit, Singularity, Interrupted };

struct RunOutcome {
    RunEnd End = RunEnd::NotStarted;
    std::int32_t Position = 0; // progress position reached
    std::string StepsLabel;    // "step" or "steps"
    std::string Summary;       // "%d steps (%d step splits).  Total: %d.  Took %.6f sec."
    std::string Error;         // the engine's message when a singularity ended the run
};

// The word after the number of steps: "step" for one (or a text that is no number), else "steps".
std::string stepsLabel(const std::string& stepsText);

// The growth check before a run of `steps`: a growing Results array that cannot hold them is
// offered to grow; false (after "Either make Results circular, or add elements") when it still
// cannot.
bool makeRoomForRun(ProgramState& state, Ui& ui, std::int64_t steps);

// "More": integrates the number of steps in `stepsText` with the routine of state.Control.
RunOutcome runMore(ProgramState& state, TCompiledProblem& problem, Ui& ui,
                   const std::string& stepsText, const RunSettings& settings);

// The termination box: arms TEnd from `endText` (a number or an expression over the constants
// pane `constantLines`); returns whether the box stays checked. Reader errors propagate.
bool setTermination(ProgramState& state, TCompiledProblem& problem, Ui& ui, bool checked,
                    const std::string& endText, const std::vector<std::string>& constantLines);
// Whether the integration can reach `end` from the current point in its direction.
bool terminalValueReachable(const TCompiledProblem& problem, Extended end);
// Unchecking termination (also by editing the terminal value).
void clearTermination(TCompiledProblem& problem);

// Direction: returns " increases" or " decreases" for the label.
std::string setDirection(TCompiledProblem& problem, bool backward);

// Current values back to the initial values, PathLength 0, the expansion there, point 0 stored
// (when Results exists) and the first step estimated.
void applyInitialValues(ProgramState& state, TCompiledProblem& problem);
// "Restart": false when the user declined the overwrite warning (asked with 2+ problems loaded).
bool restart(ProgramState& state, TCompiledProblem& problem, Ui& ui, std::int32_t loadedProblems);

// Returns the record to the uncompiled state and the radius factor to 0.5.
void ResetState(ProgramState& state, TCompiledProblem& problem);
// The order dialog: a new number of Taylor terms (at least 3), tables rebuilt, Results emptied,
// the problem reset. false when cancelled or refused ("Wrong order").
bool changeTermCount(ProgramState& state, TCompiledProblem& problem, Ui& ui);
// "Order of differentiation:  %d"
std::string orderText(const ProgramState& state);
