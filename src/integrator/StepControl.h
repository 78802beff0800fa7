// Step control: the radius-of-convergence estimate read from the growth of the coefficients,
// the step rule h = kR, the two error tests with their tolerances, and the failure report.
#pragma once

#include "common/Ui.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Trials with an error test per step: h, h/2, ..., h/2^18.
constexpr std::int32_t SplitLimit = 19;
// Status of a step whose error test still failed at the split limit.
constexpr std::int32_t StatusSplitLimit = 3;
// Rate of a zero coefficient: below every real rate.
constexpr float RateSentinel = -4951.0f;

// Growth rate of a coefficient array of TermCount entries: about log2(1/R) of its series.
float VarRate(EngineState& engine, const Extended* a);
// Sets Radius from the rates of the arrays chosen by state.RadiusChoice, capped by RadLimit.
void EstimateRadius(ProgramState& state, TCompiledProblem& problem);
// Sets Radius and Step for the next step.
void AfterStep(ProgramState& state, TCompiledProblem& problem);
// "Heuristic conv. radius: %g"
std::string radiusText(const TCompiledProblem& problem);
// "Step: %g", the step chosen for the next step.
std::string stepText(const TCompiledProblem& problem);

// The error tests; failingIndex is the table index of the last variable tested.
bool BackTestPassed(const TCompiledProblem& problem, std::int32_t& failingIndex);
bool MiddleTestPassed(const TCompiledProblem& problem, std::int32_t& failingIndex);

// Sizes the per-variable arrays of the error tests to NumMain (missing tolerances are off).
void prepareErrorTests(TCompiledProblem& problem);
// Reads the "Abs. error" and "Rel. error" cells of every main variable (an empty cell switches
// the test off). Returns the message for a cell that does not parse ("<text> wrong").
std::optional<std::string> readTolerances(TCompiledProblem& problem,
                                          const std::vector<std::string>& absCells,
                                          const std::vector<std::string>& relCells);

// After a step routine returned failure: with goDespite unchecked shows why and returns true
// (the run stops); otherwise appends the log line to state.FailureLog and returns false.
bool ReportStepFailure(ProgramState& state, const TCompiledProblem& problem, Ui& ui,
                       std::int32_t failingIndex, const std::vector<std::string>& mainNames,
                       bool goDespite);

// The radius factor's edit: returns the text to put back when it does not parse.
std::optional<std::string> changeRadiusFactor(ProgramState& state, TCompiledProblem& problem,
                                              const std::string& text);
// "Radius limit: %g", and the limit's input box.
std::string radiusLimitText(const ProgramState& state);
void changeRadiusLimit(ProgramState& state, TCompiledProblem& problem, Ui& ui);
// AfterStep for a control change, keeping the previous Radius and Step when it fails.
void refreshStep(ProgramState& state, TCompiledProblem& problem);
