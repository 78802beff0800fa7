#include "integrator/StepFaults.h"

#include "common/FloatFaults.h"
#include "common/NumberText.h"
#include "engine/Series.h"
#include "engine/TaylorEngine.h"
#include "integrator/StepControl.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool pointIsFinite(const TCompiledProblem& problem) {
    if (!std::isfinite(problem.CurrentIndep) || !std::isfinite(problem.Step))
        return false;
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        if (!std::isfinite(problem.Coefficients[problem.NumConst + i][0]))
            return false;
    return true;
}

// Whether none of the n values is an infinity or a NaN, read from the exponent fields (all ones
// for those) without a branch per value.
bool allFinite(const Extended* values, std::int32_t n) {
    bool finite = true;
    for (std::int32_t i = 0; i < n; ++i) {
        std::uint16_t signAndExponent;
        std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(values + i) + 8,
                    sizeof signAndExponent);
        finite &= (signAndExponent & 0x7fff) != 0x7fff;
    }
    return finite;
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
        if (!allFinite(table[v], table.length(v)))
            raiseStepFault(problem, "the new expansion of the step from", problem.TPrev);
}

void checkedAfterStep(ProgramState& state, TCompiledProblem& problem) {
    clearFloatFaults();
    checkedAfterCleanExpansion(state, problem);
}

void checkedAfterCleanExpansion(ProgramState& state, TCompiledProblem& problem) {
    const Extended radius = problem.Radius, step = problem.Step;
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
    indepLow_ = problem.IndepLow;
    indepLowOf_ = problem.IndepLowOf;
    tPrevLow_ = problem.TPrevLow;
    takenStep_ = problem.TakenStep;
    takenStepEnd_ = problem.TakenStepEnd;
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
    problem.IndepLow = indepLow_;
    problem.IndepLowOf = indepLowOf_;
    problem.TPrevLow = tPrevLow_;
    problem.TakenStep = takenStep_;
    problem.TakenStepEnd = takenStepEnd_;
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        problem.Coefficients[problem.NumConst + i][0] =
            problem.StepTable[static_cast<std::size_t>(i)][0];
    // The expansion at this point was computed once already, so it comes out the same again.
    ComputeCoefficients(problem, state);
    clearFloatFaults();
}
