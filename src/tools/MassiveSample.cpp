#include "tools/MassiveSample.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "integrator/IntegrationRun.h"
#include "integrator/StepFaults.h"
#include "integrator/StepRoutines.h"

const char* sampleEndText(SampleEnd end) {
    switch (end) {
    case SampleEnd::Steps:
        return "Specified number of steps";
    case SampleEnd::TerminalValue:
        return "Specified terminal value";
    case SampleEnd::Singularity:
        return "Singularity reached";
    case SampleEnd::Tolerance:
        break;
    }
    return "Error tolerance not met";
}

namespace {

// One step by the chosen routine; false when the split limit refused it, with the step's start
// put back so that the sample reports its last accepted point rather than a refused trial.
bool stepOnce(ProgramState& state, TCompiledProblem& problem) {
    if (takesPlainSteps(state.Control)) {
        StepPlain(state, problem);
        return true;
    }
    const StepStart start(problem, state.TermCount);
    std::int32_t failingIndex = problem.NumConst;
    const bool passed = state.Control == ErrorControl::Middle
                            ? StepMiddleControl(state, problem, failingIndex, false)
                            : StepBackControl(state, problem, failingIndex, false);
    if (!passed)
        start.restore(state, problem);
    return passed;
}

} // namespace

SampleOutcome runSample(ProgramState& state, TCompiledProblem& problem,
                        const std::vector<Extended>& initialValues,
                        const SampleSettings& settings) {
    SampleOutcome outcome;
    problem.InitialValues = initialValues;
    // Each sample is a restart: the counters begin again, so a long batch never overflows them.
    state.StepIndex = 0;
    state.TotalSteps = 0;
    state.SplitCount = 0;
    problem.Terminated = false;
    try {
        applyInitialValues(state, problem);
        problem.TermArmed = settings.TermArmed && terminalValueReachable(problem, settings.TEnd);
        problem.TEnd = settings.TEnd;
        for (; outcome.StepsDone < settings.Steps; ++outcome.StepsDone) {
            if (!stepOnce(state, problem)) {
                outcome.End = SampleEnd::Tolerance;
                break;
            }
            if (problem.Terminated) {
                ++outcome.StepsDone;
                outcome.End = SampleEnd::TerminalValue;
                break;
            }
        }
    } catch (const OrvantaError&) {
        outcome.End = SampleEnd::Singularity;
    }
    problem.Status = static_cast<std::int32_t>(outcome.End);
    return outcome;
}

std::string sampleLine(const TCompiledProblem& problem, long long sample,
                       const SampleSettings& settings, const SampleOutcome& outcome) {
    std::string line = std::to_string(sample);
    const std::int32_t last =
        settings.AuxToo ? problem.DerivStart : problem.NumConst + problem.NumMain;
    for (std::int32_t v = problem.NumConst; v < last; ++v)
        line += "\t " + formatDisplay(problem.Coefficients[v][0]);
    const auto code = static_cast<std::int32_t>(outcome.End);
    if (settings.SpellOut)
        line += formatText(" \t%d steps of %d,\t %s", outcome.StepsDone, settings.Steps,
                           sampleEndText(outcome.End));
    else
        line += formatText(" \t%d \t %d, \t%d", outcome.StepsDone, settings.Steps, code);
    return line;
}
