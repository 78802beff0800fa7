#include "integrator/StepFaults.h"

#include "common/FloatFaults.h"
#include "common/NumberText.h"
#include "engine/Series.h"
#include "engine/TaylorEngine.h"
#include "integrator/StepControl.h"

#include <algorithm>
#include <cmath>

namespace {

bool pointIsFinite(const TCompiledProblem& problem) {
    if (!std::isfinite(problem.CurrentIndep) || !std::isfinite(problem.Step))
        return false;
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        if (!std::isfinite(problem.Coefficients[problem.NumConst + i][0]))
            return false;
    return true;
}

[[noreturn]] void raiseStepFault(const TCompiledProblem& problem, const std::string& where,
                                 Extended at) {
    const std::string name = problem.IndepName.empty() ? "t" : problem.IndepName;
    throw OrvantaError("Singularity! Arithmetic fault in " + where + " " + name + " = " +
                       formatShort(at));
}

} // namespace

void checkStepPart(const TCompiledProblem& problem, const char* part) {
    if (floatFaultRaised() || !pointIsFinite(problem))
        raiseStepFault(problem, std::string(part) + " of the step from", problem.TPrev);
}

void checkNewExpansion(const TCompiledProblem& problem) {
    const CoefficientTable& table = problem.Coefficients;
    for (std::int32_t v = problem.NumConst; v < problem.DerivStart; ++v)
        if (!std::all_of(table[v], table[v] + table.length(v),
                         [](Extended c) { return std::isfinite(c); }))
            raiseStepFault(problem, "the new expansion of the step from", problem.TPrev);
}

void checkedAfterStep(ProgramState& state, TCompiledProblem& problem) {
    const Extended radius = problem.Radius, step = problem.Step;
    clearFloatFaults();
    AfterStep(state, problem);
    if (!floatFaultRaised() && std::isfinite(problem.Radius) && std::isfinite(problem.Step))
        return;
    problem.Radius = radius;
    problem.Step = step;
    raiseStepFault(problem, "the step estimate at", problem.CurrentIndep);
}

StepStart::StepStart(TCompiledProblem& problem, std::int32_t terms)
    : currentIndep_(problem.CurrentIndep), tPrev_(problem.TPrev), step_(problem.Step),
      radius_(problem.Radius), pathLength_(problem.PathLength), status_(problem.Status),
      terminated_(problem.Terminated) {
    SaveCoefficients(problem, terms);
    clearFloatFaults();
}

void StepStart::restore(ProgramState& state, TCompiledProblem& problem) const {
    problem.CurrentIndep = currentIndep_;
    problem.TPrev = tPrev_;
    problem.Step = step_;
    problem.Radius = radius_;
    problem.PathLength = pathLength_;
    problem.Status = status_;
    problem.Terminated = terminated_;
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        problem.Coefficients[problem.NumConst + i][0] =
            problem.StepTable[static_cast<std::size_t>(i)][0];
    // The expansion at this point was computed once already, so it comes out the same again.
    ComputeCoefficients(problem, state);
    clearFloatFaults();
}
