// Problems for the engine tests compiled from formula panes or from a shared problem file, up
// to order zero, as the program compiles what the user types.
#pragma once

#include "common/TextFile.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "support/Paths.h"

#include <stdexcept>
#include <string>
#include <vector>

inline TCompiledProblem compile(ProblemPanes panes, std::int32_t termCount,
                                std::vector<TCompiledPolynomial> polynomials = {}) {
    TCompiledProblem problem;
    problem.Polynomials = std::move(polynomials);
    FormulaParser parser;
    compileToOrderZero(panes, problem, parser, termCount, 1);
    return problem;
}

inline TCompiledProblem compileFile(const std::string& name, std::int32_t termCount) {
    const auto text = readWholeFile(problemPath(name));
    if (!text)
        throw std::runtime_error("cannot read " + name);
    return compile(splitProblemSections(splitLines(*text)).Panes, termCount);
}
