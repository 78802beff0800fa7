// The set-up of the drawing benchmarks: a shared problem integrated with every point kept, its
// curves chosen (the generator's pairs, or the triple t-x-y-z columns 1, 2, 3 in 3D) and a graph
// model over a 1000 x 700 area, bounds left to the caller.
#pragma once

#include "GuiApplication.h"
#include "SharedProblem.h"

#include "compiler/FormulaParser.h"
#include "graphics/GraphRun.h"
#include "integrator/ProblemCompile.h"
#include "workspace/WorkspaceState.h"

#include <memory>
#include <string>

template <class Clock> struct GraphedRun {
    WorkspaceState state;
    TCompiledProblem problem;
    ProblemPanes panes;
    NullUi ui;
    Clock clock;
    std::unique_ptr<GraphProblem> graph;
    std::unique_ptr<GraphModel> model;

    GraphedRun(const std::string& file, int steps, bool threeD = false)
        : panes(readSharedProblem(file)) {
        ensureGuiApplication();
        FormulaParser parser;
        const FormulaAssembly assembly =
            compileForIntegration(state, panes, problem, parser, false);
        graph = std::make_unique<GraphProblem>(
            GraphProblem{problem, curveVariableNames(assembly, panes)});
        createResults(state, problem, ui, std::to_string(steps + 1), true, false);
        if (threeD) {
            state.Curves.ThreeD = true;
            state.Curves.append(graph->Names, 1, 2, 3);
        } else {
            generateCurves(state.Curves, graph->Names, ui);
        }
        runMore(state, problem, ui, std::to_string(steps), {});
        model = std::make_unique<GraphModel>(state, clock);
        model->AreaWidth = 1000;
        model->AreaHeight = 700;
    }
};
