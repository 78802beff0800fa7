#include "tools/CloneCommand.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "engine/EngineState.h"
#include "tools/CloneUnfold.h"

#include <algorithm>

namespace {

// The independent variable's line of the problem read at its first vector; nothing after
// showing the compile's message.
std::optional<std::int32_t> compiledIndepLine(Ui& ui, const CloneProblem& problem,
                                              const CloneSource& source) {
    ProblemPanes first = problem.Panes;
    for (std::size_t j = 0; j < source.Sets.size(); ++j)
        first.Initial[j] = source.Names[j] + " = " + source.Sets[j][0];
    TCompiledProblem compiled;
    FormulaParser parser;
    try {
        compileToOrderZero(first, compiled, parser, MinTermCount, problem.AngleFactor);
    } catch (const OrvantaError& error) {
        ui.message(error.what());
        return std::nullopt;
    }
    return compiled.IndepLine;
}

} // namespace

std::optional<ProblemPanes> clonePanes(Ui& ui, const CloneProblem& problem, bool excludeIndependent,
                                       const CloneShapeChoice& choose) {
    const ProblemPanes& panes = problem.Panes;
    for (const auto* lines : {&panes.Constants, &panes.Initial, &panes.Aux, &panes.ODEs})
        for (const std::string& line : *lines)
            if (toLower(line).find("polynomial") != std::string::npos) {
                ui.message("No IVP arrays allowed with Polynomial function");
                return std::nullopt;
            }
    CloneSource source;
    try {
        source = splitSourceSets(panes.Initial, panes.Constants, problem.AngleFactor);
    } catch (const OrvantaError& error) {
        ui.message(error.what());
        return std::nullopt;
    }
    const auto indepLine = compiledIndepLine(ui, problem, source);
    if (!indepLine)
        return std::nullopt;
    const auto indep = static_cast<std::size_t>(*indepLine);
    if (excludeIndependent && *indepLine >= 0 && indep < source.Sets.size() &&
        source.Sets[indep].size() >= 2) {
        ui.message("Equation " + panes.Initial[indep] +
                   "\r\nindependent variable excluded from clone yet varies");
        return std::nullopt;
    }

    CloneRequest request;
    request.IndepLine = *indepLine;
    request.ExcludeIndependent = excludeIndependent;
    if (productSize(source) == 1) {
        const auto answer = ui.inputBox("IVP arrays", "Enter number of IVP clones to add", "");
        if (!answer)
            return std::nullopt;
        const auto clones = parseInteger(trim(*answer));
        if (!clones) {
            ui.message("Wrong number");
            return std::nullopt;
        }
        if (*clones < 1)
            return std::nullopt;
        request.Clones = static_cast<std::int32_t>(std::min<long long>(*clones, MaxCloneVectors));
    } else {
        auto index = choose(source);
        if (!index || index->empty())
            return std::nullopt;
        request.Clones = static_cast<std::int32_t>(index->size()) - 1;
        request.Index = std::move(*index);
    }
    if (request.Clones + 1 > MaxCloneVectors) {
        ui.message(tooManyVectorsText());
        return std::nullopt;
    }
    if (request.Clones + 1 > 100 && !ui.confirm("Over 100 IVPs in array! Go ahead anyway?"))
        return std::nullopt;
    const auto names = cloneNameList(source, panes.Aux, request.IndepLine, excludeIndependent);
    if (auto clash = cloneNameClash(names, request.Clones)) {
        ui.message(*clash);
        return std::nullopt;
    }
    return unfoldPanes(panes, source, request);
}
