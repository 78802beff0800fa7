// Batch workers for the batch tests: x' = x / y with y constant, so x(t) = x0 exp(t / y0), and a
// division by zero when y0 = 0, which a sample reports and survives.
#pragma once

#include "compiler/FormulaParser.h"
#include "integrator/ProblemCompile.h"
#include "tools/MassiveRun.h"

#include <memory>

inline ProblemPanes growthPanes() {
    ProblemPanes panes;
    panes.Initial = {"t = 0", "x = 1", "y = 1"};
    panes.Aux = {"z = 2*x"};
    panes.ODEs = {"t' = 1", "x' = x/y", "y' = 0"};
    return panes;
}

class TestWorker : public MassiveWorker {
  public:
    explicit TestWorker(ProblemPanes panes) {
        FormulaParser parser;
        compileForIntegration(state_, panes, problem_, parser, false);
    }
    ProgramState& state() override { return state_; }
    TCompiledProblem& problem() override { return problem_; }

  private:
    ProgramState state_;
    TCompiledProblem problem_;
};

inline MassiveWorkerFactory growthWorkers() {
    return [] { return std::make_unique<TestWorker>(growthPanes()); };
}
