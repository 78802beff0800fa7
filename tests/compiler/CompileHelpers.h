// Test helpers: compile a problem from its panes and read the instruction list back as text.
#pragma once

#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "compiler/InstructionText.h"

#include <numbers>
#include <string>
#include <vector>

constexpr Extended Degrees = std::numbers::pi_v<Extended> / 180;
constexpr Extended Radians = 1;

struct CompiledPanes {
    TCompiledProblem problem;
    FormulaAssembly assembly;

    std::vector<std::string> texts(const std::vector<TInstruction>& list) const {
        auto labels = lineLabels(assembly.FormulaList, problem.DerivStart);
        std::vector<std::string> result;
        for (const auto& instruction : list)
            result.push_back(InstructionText(instruction, labels));
        return result;
    }
    std::vector<std::string> texts() const { return texts(problem.Instructions); }
    Extended value(std::int32_t var) const { return problem.Coefficients[var][0]; }
};

inline CompiledPanes compilePanes(ProblemPanes panes, Extended angleFactor = Radians,
                                  std::int32_t termCount = 31) {
    CompiledPanes compiled;
    FormulaParser parser;
    compiled.assembly = compileToOrderZero(panes, compiled.problem, parser, termCount, angleFactor);
    return compiled;
}

// The message of the error that compiling the panes throws, or "" when they compile.
inline std::string compileError(ProblemPanes panes, Extended angleFactor = Radians) {
    try {
        compilePanes(std::move(panes), angleFactor);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
