#include "compiler/ProblemPanes.h"

#include "common/NumberText.h"

ProblemSections splitProblemSections(const std::vector<std::string>& lines) {
    ProblemSections sections;
    std::vector<std::string>* target = nullptr;
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        std::string line = trim(lines[i]);
        if (line.empty())
            continue;
        if (line == "[Constants]")
            target = &sections.Panes.Constants;
        else if (line == "[Main variables]")
            target = &sections.Panes.Initial;
        else if (line == "[Aux variables]")
            target = &sections.Panes.Aux;
        else if (line == "[ODEs]")
            target = &sections.Panes.ODEs;
        else if (line == "[Polynomials]") {
            sections.HasPolynomials = true;
            ++i;
            break;
        } else if (target)
            target->push_back(std::move(line));
    }
    sections.PolynomialsStart = i;
    return sections;
}
