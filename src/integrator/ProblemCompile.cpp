#include "integrator/ProblemCompile.h"

#include "compiler/OrderZero.h"
#include "engine/TaylorEngine.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepFaults.h"

FormulaAssembly compileForIntegration(ProgramState& state, ProblemPanes& panes,
                                      TCompiledProblem& problem, FormulaParser& parser,
                                      bool storeFirstPoint, const FormulaPreparation& prepare) {
    FormulaAssembly assembly;
    try {
        compileToOrderZero(panes, problem, parser, state.TermCount, state.AngleFactor, assembly,
                           prepare);
    } catch (const EvaluationError& error) {
        // The instructions stay for the debugging view, but nothing may integrate them.
        problem.Compiled = false;
        throw CompileEvaluationError(error.what(), evaluationFailedMessage(problem), error.Position,
                                     false, assembly);
    }
    state.RadiusChoice = RadiusVariables::MainAndAux;
    try {
        ComputeCoefficients(problem, state);
    } catch (const OrvantaError& error) {
        problem.Compiled = false;
        throw CompileEvaluationError(error.what(), evaluationFailedMessage(problem),
                                     state.FailedInstruction, true, assembly);
    }
    if (storeFirstPoint)
        StoreResultPoint(state, problem);
    checkedAfterStep(state, problem);
    state.Control = ErrorControl::None;
    return assembly;
}
