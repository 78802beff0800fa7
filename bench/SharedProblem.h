// The panes of one of the shared problem files, read for a benchmark.
#pragma once

#include "common/TextFile.h"
#include "compiler/ProblemPanes.h"

#include <stdexcept>
#include <string>

inline ProblemPanes readSharedProblem(const std::string& name) {
    const std::string path = std::string(ORVANTA_PROBLEMS_DIR) + "/" + name;
    auto text = readWholeFile(path);
    if (!text)
        throw std::runtime_error("cannot read " + path);
    return splitProblemSections(splitLines(*text)).Panes;
}
