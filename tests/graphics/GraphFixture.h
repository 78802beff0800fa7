// A compiled problem with its curves and a graph model on a fake clock, for the graphics tests.
#pragma once

#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "compiler/ProblemPanes.h"
#include "graphics/GraphRun.h"
#include "graphics/PlayClock.h"
#include "integrator/ProblemCompile.h"
#include "support/FakeUi.h"
#include "support/Paths.h"
#include "workspace/WorkspaceState.h"

#include <memory>
#include <string>
#include <vector>

// Time stands still unless somebody sleeps; the counter ticks once per microsecond read.
class FakeClock : public PlayClock {
  public:
    double time = 100;
    std::vector<double> sleeps;
    bool counterWorks = true;
    double now() override { return time; }
    void sleep(double seconds) override {
        sleeps.push_back(seconds);
        time += seconds;
    }
    std::optional<std::int64_t> counter() override {
        if (!counterWorks)
            return std::nullopt;
        time += 1e-4;
        return static_cast<std::int64_t>(time * 1e6);
    }
    std::int64_t counterFrequency() override { return 1000000; }
};

inline ProblemPanes panesOfProblem(const std::string& name) {
    return splitProblemSections(splitLines(*readWholeFile(problemPath(name)))).Panes;
}

struct GraphFixture {
    WorkspaceState state;
    TCompiledProblem problem;
    ProblemPanes panes;
    FakeUi ui;
    FakeClock clock;
    std::unique_ptr<GraphProblem> graph;
    std::unique_ptr<GraphModel> model;

    // Compiles the panes, creates a Results array of `length` points (aux too) and generates
    // the curves. Angles are in degrees unless `radians`.
    explicit GraphFixture(ProblemPanes problemPanes, int length = 1001, bool aux = true,
                          bool radians = false)
        : panes(std::move(problemPanes)) {
        if (radians)
            state.AngleFactor = 1;
        FormulaParser parser;
        const FormulaAssembly assembly =
            compileForIntegration(state, panes, problem, parser, false);
        graph = std::make_unique<GraphProblem>(
            GraphProblem{problem, curveVariableNames(assembly, panes)});
        if (length > 0)
            createResults(state, problem, ui, std::to_string(length), aux, false);
        generateCurves(state.Curves, graph->Names, ui);
        model = std::make_unique<GraphModel>(state, clock);
    }
    void integrate(const std::string& steps) { runMore(state, problem, ui, steps, {}); }
    // Adjusts into an area and returns the picture.
    const QImage& adjusted(int width = 600, int height = 600) {
        model->AreaWidth = width;
        model->AreaHeight = height;
        adjustBounds(*model, *graph, ui);
        return model->Image;
    }
};

// Pixels of exactly this colour in the rectangle (the whole image by default).
inline int countColour(const QImage& image, QRgb colour, QRect area = {}) {
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}
