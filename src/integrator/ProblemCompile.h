// A problem compiled end to end for integration: the panes compiled to their values at the
// initial point, the first Taylor expansion, the first stored point and the first step.
#pragma once

#include "common/OrvantaError.h"
#include "compiler/CompileDriver.h"
#include "compiler/CompiledProblem.h"
#include "compiler/ProblemPanes.h"
#include "integrator/ProgramState.h"

#include <cstdint>
#include <string>

class FormulaParser;

// The compilation worked but the values at the initial point could not be computed. what() is
// the evaluator's own message; Report is "Compilation succeeded, yet evaluation failed at point
// %s = %g"; Instruction is the failing position in the instruction list that ActiveList names.
class CompileEvaluationError : public OrvantaError {
  public:
    CompileEvaluationError(const std::string& message, std::string report, std::int32_t instruction,
                           bool activeList, FormulaAssembly assembly)
        : OrvantaError(message), Report(std::move(report)), Instruction(instruction),
          ActiveList(activeList), Assembly(std::move(assembly)) {}
    std::string Report;
    std::int32_t Instruction;
    bool ActiveList;          // false: all instructions, true: the differentiation instructions
    FormulaAssembly Assembly; // the names of the lines, for looking into the failure
};

// Compiles the panes, computes the full expansion at the initial point, stores it as point 0
// when `storeFirstPoint` and the Results array exists, selects "Main and auxiliary" radius
// variables and no error control, and estimates the first R and h. Throws OrvantaError for
// compile errors and CompileEvaluationError when the evaluation fails.
FormulaAssembly compileForIntegration(ProgramState& state, ProblemPanes& panes,
                                      TCompiledProblem& problem, FormulaParser& parser,
                                      bool storeFirstPoint, const FormulaPreparation& prepare = {});
