#include "workspace/ProblemDocument.h"

#include "common/Ui.h"

#include <filesystem>

void ProblemDocument::clear() {
    Panes = ProblemPanes{};
    Polynomials.clear();
    Path.clear();
    Caption = ClearedCaption;
    Modified = false;
}

bool ProblemDocument::markEdited() {
    bool first = !Modified;
    Modified = true;
    return first;
}

std::string captionForPath(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

bool confirmDiscard(const ProblemDocument& document, Ui& ui) {
    return !document.Modified || ui.confirm(document.Caption + " not saved. Go ahead anyway? ");
}
