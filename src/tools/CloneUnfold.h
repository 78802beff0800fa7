// Unfolding a problem into an array of independent copies: every clone's variables renamed with
// its number, and the initial-values, auxiliary and ODE panes rewritten with one block per clone.
#pragma once

#include "compiler/ProblemPanes.h"
#include "tools/CloneSets.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Every whole-identifier occurrence of each name (in order) followed by `clone`; identifier
// characters are the ASCII letters and digits.
std::string suffixNames(const std::string& text, const std::vector<std::string>& names,
                        std::int32_t clone);

// The names that clones rename: the initial-value lines' names, then the auxiliary variables',
// without the independent variable when it is excluded.
std::vector<std::string> cloneNameList(const CloneSource& source,
                                       const std::vector<std::string>& auxLines,
                                       std::int32_t indepLine, bool excludeIndependent);

// "Cloned %s exists in the source IVP. Rename %s." for the first name whose clone name is
// already a name; nothing when there is none.
std::optional<std::string> cloneNameClash(const std::vector<std::string>& names,
                                          std::int32_t clones);

struct CloneRequest {
    std::int32_t IndepLine = -1; // the independent variable's line, or -1
    bool ExcludeIndependent = false;
    // Rows of value indices, row 0 the source itself; empty when a number of clones was asked
    // for instead (no line is multi-valued).
    CloneIndex Index;
    std::int32_t Clones = 0;
};

// The three panes rewritten; the constants pane stays.
ProblemPanes unfoldPanes(const ProblemPanes& panes, const CloneSource& source,
                         const CloneRequest& request);
