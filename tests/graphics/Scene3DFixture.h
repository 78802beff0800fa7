// A problem drawn as 3D curves: one curve of three named variables, integrated and framed.
#pragma once

#include "GraphFixture.h"

#include "common/NumberText.h"
#include "graphics/View3DCommands.h"

#include <algorithm>

struct Scene3DFixture : GraphFixture {
    Scene3DFixture(ProblemPanes problemPanes, const std::string& x, const std::string& y,
                   const std::string& z)
        : GraphFixture(std::move(problemPanes)) {
        auto index = [&](const std::string& name) {
            return static_cast<std::int32_t>(
                std::find(graph->Names.begin(), graph->Names.end(), name) - graph->Names.begin());
        };
        state.Curves.Curves.clear();
        state.Curves.ThreeD = true;
        state.Curves.append(graph->Names, index(x), index(y), index(z));
    }
    bool apply(const BoundTexts& box, int width = 600, int height = 600) {
        model->AreaWidth = width;
        model->AreaHeight = height;
        return applyBounds(*model, *graph, ui, box,
                           [](const std::string& text) { return parseTrimmedNumber(text); });
    }
};

// x moves at unit speed along a line at constant y and z.
inline ProblemPanes straightLine(const std::string& y, const std::string& z) {
    ProblemPanes panes;
    panes.Initial = {"t = 0", "x = 0", "y = " + y, "z = " + z};
    panes.ODEs = {"t' = 1", "x' = 1", "y' = 0", "z' = 0"};
    return panes;
}
