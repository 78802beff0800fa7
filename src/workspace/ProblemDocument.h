// The problem a problem window holds: its four panes as lines, the designed polynomials, its
// file, its caption and whether it changed since it was loaded or saved.
#pragma once

#include "compiler/ProblemPanes.h"
#include "workspace/DesignedPolynomial.h"

#include <string>
#include <vector>

class Ui;

inline constexpr const char* InitialCaption = "Unnamed ODEs";
inline constexpr const char* ClearedCaption = "Unnamed";

struct ProblemDocument {
    ProblemPanes Panes;
    std::vector<DesignedPolynomial> Polynomials;
    std::string Path; // empty for an unnamed problem
    std::string Caption = InitialCaption;
    bool Modified = false; // the enabled state of "Save"

    // New and Clear: no file, empty panes, no polynomials, caption "Unnamed", not modified.
    void clear();
    // Any edit of a pane. True when the problem was not modified before, which is when the
    // window resets its compiled state.
    bool markEdited();
};

// The caption for a file: its name without folder and extension.
std::string captionForPath(const std::string& path);

// True when the problem may be discarded: it is not modified, or the user answered OK to
// "<caption> not saved. Go ahead anyway? ".
bool confirmDiscard(const ProblemDocument& document, Ui& ui);
