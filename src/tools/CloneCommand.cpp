#include "tools/CloneCommand.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "tools/CloneUnfold.h"

#include <algorithm>

std::optional<ProblemPanes> clonePanes(Ui& ui, const CloneProblem& problem, bool excludeIndependent,
                                       const CloneShapeChoice& choose) {
    for (const std::string& formula : problem.FormulaList)
        if (toLower(formula).find("polynomial") != std::string::npos) {
            ui.message("No IVP arrays allowed with Polynomial function");
            return std::nullopt;
        }
    CloneSource source;
    try {
        source =
            splitSourceSets(problem.Panes.Initial, problem.Panes.Constants, problem.AngleFactor);
    } catch (const OrvantaError& error) {
        ui.message(error.what());
        return std::nullopt;
    }
    const auto indep = static_cast<std::size_t>(problem.IndepLine);
    if (excludeIndependent && problem.IndepLine >= 0 && indep < source.Sets.size() &&
        source.Sets[indep].size() >= 2) {
        ui.message("Equation " + problem.Panes.Initial[indep] +
                   "\r\nindependent variable excluded from clone yet varies");
        return std::nullopt;
    }

    CloneRequest request;
    request.IndepLine = problem.IndepLine;
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
        ui.message(formatText("Too many IVPs in array: at most %lld",
                              static_cast<long long>(MaxCloneVectors)));
        return std::nullopt;
    }
    if (request.Clones + 1 > 100 && !ui.confirm("Over 100 IVPs in array! Go ahead anyway?"))
        return std::nullopt;
    const auto names =
        cloneNameList(source, problem.Panes.Aux, problem.IndepLine, excludeIndependent);
    if (auto clash = cloneNameClash(names, request.Clones)) {
        ui.message(*clash);
        return std::nullopt;
    }
    return unfoldPanes(problem.Panes, source, request);
}
