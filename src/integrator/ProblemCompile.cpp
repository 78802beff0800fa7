#include "integrator/ProblemCompile.h"

#include "compiler/OrderZero.h"
#include "engine/TaylorEngine.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepFaults.h"

FormulaAssembly compileForIntegration(ProgramState& state, ProblemPanes& panes,
                                      TCompiledProblem& problem, FormulaParser& parser,
                                      bool storeFirstPoint) {
    FormulaAssembly assembly;
    try {
        assembly = compileToOrderZero(panes, problem, parser, state.TermCount, state.AngleFactor);
    } catch (const EvaluationError& error) {
        throw CompileEvaluationError(error.what(), evaluationFailedMessage(problem), error.Position,
                                     false);
    }
    state.RadiusChoice = RadiusVariables::MainAndAux;
    try {
        ComputeCoefficients(problem, state);
    } catch (const OrvantaError& error) {
        throw CompileEvaluationError(error.what(), evaluationFailedMessage(problem),
                                     state.FailedInstruction, true);
    }
    if (storeFirstPoint)
        StoreResultPoint(state, problem);
    checkedAfterStep(state, problem);
    state.Control = ErrorControl::None;
    return assembly;
}
