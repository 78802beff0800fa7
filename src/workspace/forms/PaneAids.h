// Editing aids of the problem panes: the lines offered when an empty pane is entered and the
// removal of blank lines.
#pragma once

#include <string>
#include <vector>

// For an empty initial-values pane: one "name = " line per ODE line, the name being the ODE's
// left side without its prime.
std::vector<std::string> initialLinesForOdes(const std::vector<std::string>& odeLines);
// For an empty ODE pane: one "name' = " line per initial-value line.
std::vector<std::string> odeLinesForInitialValues(const std::vector<std::string>& initialLines);
// Lines of a pane without the empty or blank ones.
std::vector<std::string> withoutBlankLines(const std::vector<std::string>& lines);
