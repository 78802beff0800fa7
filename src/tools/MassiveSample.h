// One sample of a batch run: the problem restarted from a record's initial vector, integrated
// for a number of steps, and its result line.
#pragma once

#include "common/Extended.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <cstdint>
#include <string>
#include <vector>

// Why a sample stopped; the codes are written to the output.
enum class SampleEnd : std::int32_t {
    Steps = 0,
    TerminalValue = 1,
    Singularity = 2,
    Tolerance = 3
};
// "Specified number of steps", "Specified terminal value", "Singularity reached", "Error
// tolerance not met"
const char* sampleEndText(SampleEnd end);

struct SampleSettings {
    std::int32_t Steps = 1;
    bool TermArmed = false; // the terminal value TEnd is armed again for every sample
    Extended TEnd = 0;
    bool AuxToo = false;   // the auxiliary variables' values after the main ones
    bool SpellOut = false; // the termination reason as text
};

struct SampleOutcome {
    std::int32_t StepsDone = 0;
    SampleEnd End = SampleEnd::Steps;
};

// Restarts `problem` from `initialValues` (one per main variable) and integrates it with the
// step routine of state.Control, never going on despite a failed error test. A failed step leaves
// the last accepted point in place.
SampleOutcome runSample(ProgramState& state, TCompiledProblem& problem,
                        const std::vector<Extended>& initialValues, const SampleSettings& settings);

// "sample\t v1\t v2 ... \t%d \t %d, \t%d", or with SpellOut "... \t%d steps of %d,\t reason".
std::string sampleLine(const TCompiledProblem& problem, long long sample,
                       const SampleSettings& settings, const SampleOutcome& outcome);
