// Editing aids of the problem panes.
#include "workspace/forms/PaneAids.h"

#include "common/NumberText.h"

namespace {

std::string leftSide(const std::string& line) {
    std::size_t equals = line.find('=');
    return trim(equals == std::string::npos ? line : line.substr(0, equals));
}

} // namespace

std::vector<std::string> initialLinesForOdes(const std::vector<std::string>& odeLines) {
    std::vector<std::string> lines;
    for (const std::string& ode : odeLines) {
        std::string name = leftSide(ode);
        if (!name.empty())
            name.pop_back();
        lines.push_back(name + " = ");
    }
    return lines;
}

std::vector<std::string> odeLinesForInitialValues(const std::vector<std::string>& initialLines) {
    std::vector<std::string> lines;
    for (const std::string& initial : initialLines)
        lines.push_back(leftSide(initial) + "' = ");
    return lines;
}

std::vector<std::string> withoutBlankLines(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    for (const std::string& line : lines)
        if (!trim(line).empty())
            kept.push_back(line);
    return kept;
}
