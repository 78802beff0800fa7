// The program-wide state of the engine and the integrator, one object per program (or per batch
// worker): Taylor terms and tables, step settings, counters, the Results array, the interrupt.
#pragma once

#include "common/Extended.h"
#include "engine/EngineState.h"
#include "integrator/HalfPowers.h"
#include "integrator/ResultsArray.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

// Which coefficient arrays the radius estimate reads.
enum class RadiusVariables : std::int32_t { MainOnly = 0, MainAndAux = 1, All = 2 };
// The step routine: middle-step control, back-step control, h = kR alone, or h from a tolerance
// per step (a plain step whose length the tolerance rule chooses).
enum class ErrorControl : std::int32_t { Middle = 0, Back = 1, None = 2, Tolerance = 3 };
// Whether a mode steps without a test (StepPlain, the step's length chosen by AfterStep).
constexpr bool takesPlainSteps(ErrorControl control) {
    return control == ErrorControl::None || control == ErrorControl::Tolerance;
}
// The tolerance per step by default: about the rounding of one extended operation.
constexpr long double DefaultStepTolerance = 1e-19L;

struct ProgramState : EngineState {
    Extended RadFactor = 0.5L;                                 // k of h = kR
    Extended RadLimit = 10;                                    // upper limit of R
    Extended AngleFactor = std::numbers::pi_v<Extended> / 180; // degrees until "Radians"
    bool AssumeRadiusLimit = false; // "Assume conv. radius =  radius limit" at the special point
    RadiusVariables RadiusChoice = RadiusVariables::MainAndAux;
    ErrorControl Control = ErrorControl::None;
    Extended StepTolerance = DefaultStepTolerance; // E of "Tolerance per step"
    bool GoDespite = false;
    // The rates of every array the radius estimate reads, one row of N after another.
    std::vector<float> RateRows;
    HalfPowers RatePowers; // 0.5^rate of the rates met recently

    ResultsArray Results;
    std::int32_t StepIndex = 0;  // points stored since creation or restart
    std::int32_t TotalSteps = 0; // steps requested through "More" since restart
    std::int32_t SplitCount = 0; // halvings of the latest step

    bool Interrupt = false; // set by Esc while a run lets the window events through
    bool Busy = false;      // a run is under way; "More" ignores re-entry
    std::chrono::steady_clock::time_point LastPoll{};
    std::chrono::steady_clock::duration PollInterval = std::chrono::milliseconds(500);
    std::vector<std::string> FailureLog; // failed error tests passed over with "Go despite error"

    // Available physical memory in bytes; replaceable so that tests can pretend.
    std::function<std::int64_t()> AvailableMemory = defaultAvailableMemory;

    static std::int64_t defaultAvailableMemory();
};
