// The four panes of a problem as text lines, and the rule that sorts a problem file's lines
// into them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct ProblemPanes {
    std::vector<std::string> Constants, Initial, Aux, ODEs;
};

struct ProblemSections {
    ProblemPanes Panes;
    bool HasPolynomials = false;
    std::size_t PolynomialsStart = 0; // the line after "[Polynomials]", or the number of lines
};

// Every line is trimmed and skipped when empty; "[Constants]", "[Main variables]",
// "[Aux variables]" and "[ODEs]" choose the pane that the following lines go to; "[Polynomials]"
// ends the panes. Lines before the first header are dropped.
ProblemSections splitProblemSections(const std::vector<std::string>& lines);
