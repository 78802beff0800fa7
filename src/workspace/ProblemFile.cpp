#include "workspace/ProblemFile.h"

#include "common/NumberText.h"
#include "common/TextFile.h"
#include "common/Ui.h"
#include "workspace/PolynomialSection.h"
#include "workspace/SpecialPointFile.h"

#include <filesystem>

namespace {

void appendSection(std::vector<std::string>& lines, const char* header,
                   const std::vector<std::string>& pane) {
    lines.push_back(header);
    lines.insert(lines.end(), pane.begin(), pane.end());
    lines.push_back("");
}

std::string withExtension(const std::string& path, const char* extension) {
    return std::filesystem::path(path).replace_extension(extension).string();
}

} // namespace

std::string problemFileText(const ProblemDocument& document, bool withPolynomials) {
    std::vector<std::string> lines;
    appendSection(lines, "[Constants]", document.Panes.Constants);
    appendSection(lines, "[Main variables]", document.Panes.Initial);
    appendSection(lines, "[Aux variables]", document.Panes.Aux);
    appendSection(lines, "[ODEs]", document.Panes.ODEs);
    if (withPolynomials) {
        auto section = writePolynomialSection(document.Polynomials);
        lines.insert(lines.end(), section.begin(), section.end());
    }
    return joinLines(lines);
}

bool readProblemDocument(ProblemDocument& document, const std::string& path, Ui& ui) {
    document.Modified = true;
    if (toLower(std::filesystem::path(path).extension().string()) != ".ode") {
        ui.message("Wrong file extension");
        return false;
    }
    auto text = readWholeFile(path);
    if (!text) {
        ui.message("Cannot open " + path);
        return false;
    }
    auto lines = splitLines(*text);
    auto sections = splitProblemSections(lines);
    document.Path = path;
    document.Caption = captionForPath(path);
    document.Panes = std::move(sections.Panes);
    document.Polynomials = readPolynomialSection(lines, sections.PolynomialsStart, ui);
    document.Modified = false;
    return true;
}

bool loadProblemFile(ProblemDocument& document, TCompiledProblem& problem, ProgramState& state,
                     const std::string& path, Ui& ui) {
    if (!readProblemDocument(document, path, ui))
        return false;
    loadSpecialPoint(problem, state, withExtension(path, ".sing"), 0, ui);
    return true;
}

bool writeProblemFile(ProblemDocument& document, const std::string& fileName,
                      const std::vector<std::string>& formulaList, Ui& ui) {
    if (fileName.empty()) {
        ui.message("No file name specified");
        return false;
    }
    document.Path = withExtension(fileName, ".ode");
    std::string text = problemFileText(document, formulasMentionPolynomial(formulaList));
    if (!writeFileAtomically(document.Path, text)) {
        ui.message("Cannot save " + document.Path);
        return false;
    }
    document.Caption = captionForPath(fileName);
    document.Modified = false;
    return true;
}
