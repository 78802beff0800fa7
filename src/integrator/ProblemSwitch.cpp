#include "integrator/ProblemSwitch.h"

#include "integrator/IntegrationRun.h"

void handOverState(ProgramState& state, const TCompiledProblem& source, TCompiledProblem& target) {
    for (std::int32_t i = 0; i < target.NumMain && i < source.NumMain; ++i)
        target.InitialValues[static_cast<std::size_t>(i)] =
            source.Coefficients[source.NumConst + i][0];
    state.SplitCount = 0;
    applyInitialValues(state, target);
    target.Terminated = false;
    state.FailureLog.clear();
}

Extended totalPathLength(const std::vector<const TCompiledProblem*>& problems) {
    Extended sum = 0;
    for (const TCompiledProblem* problem : problems)
        sum += problem->PathLength;
    return sum;
}
