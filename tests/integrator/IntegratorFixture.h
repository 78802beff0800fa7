// Compiles problem text or a shared problem file for integration tests.
#pragma once

#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "compiler/ProblemPanes.h"
#include "integrator/ProblemCompile.h"
#include "support/Paths.h"

#include <string>

struct CompiledFixture {
    ProgramState state;
    TCompiledProblem problem;
    FormulaAssembly assembly;

    explicit CompiledFixture(ProblemPanes panes) {
        FormulaParser parser;
        assembly = compileForIntegration(state, panes, problem, parser, false);
    }
    Extended value(std::int32_t main) const {
        return problem.Coefficients[problem.NumConst + main][0];
    }
};

inline ProblemPanes panesOfFile(const std::string& name) {
    return splitProblemSections(splitLines(*readWholeFile(problemPath(name)))).Panes;
}
