// Floating-point fault checks around the parts of a step: a fault anywhere in a step ends it as a
// singularity and puts the last accepted point back in place.
#pragma once

#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"

#include "common/OrvantaError.h"

#include <cstdint>

// Raises "Singularity! Arithmetic fault in <part> of the step from <t> = <TPrev>" when an invalid
// operation, a division by zero or an overflow happened since the flags were last cleared, or
// when the independent variable, the step or a main variable's value is not finite.
void checkStepPart(const TCompiledProblem& problem, const char* part);

// Raises the same error for "the new expansion" when a coefficient of a main or auxiliary variable
// is not finite: values supplied at a special point can be, without any fault being raised.
void checkNewExpansion(const TCompiledProblem& problem);

// AfterStep under the same check ("Singularity! Arithmetic fault in the step estimate at <t> =
// <CurrentIndep>"); Radius and Step are left as they were when it fails.
void checkedAfterStep(ProgramState& state, TCompiledProblem& problem);
// The same where no fault flag can be set: right after an expansion, which leaves them clear
// (a step's new point), so that a step reads and clears the flags no more often than it must.
void checkedAfterCleanExpansion(ProgramState& state, TCompiledProblem& problem);

// What a step changes besides the coefficients, taken before it starts; the main variables'
// coefficients are kept in StepTable.
class StepStart {
  public:
    StepStart(TCompiledProblem& problem, std::int32_t terms);
    // The step's starting point back in place with its full expansion recomputed.
    void restore(ProgramState& state, TCompiledProblem& problem) const;

  private:
    Extended currentIndep_, tPrev_, step_, radius_, pathLength_;
    Extended indepLow_, indepLowOf_, tPrevLow_, takenStep_, takenStepEnd_;
    std::int32_t status_;
    bool terminated_;
};

// Runs one step with the flags cleared first; when it raises an error, the point it started
// from is put back before the error goes on.
template <typename Step>
auto guardedStep(ProgramState& state, TCompiledProblem& problem, Step step) {
    const StepStart start(problem, state.TermCount);
    try {
        return step();
    } catch (const OrvantaError&) {
        start.restore(state, problem);
        throw;
    }
}
