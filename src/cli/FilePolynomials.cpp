#include "cli/FilePolynomials.h"

#include "common/Ui.h"
#include "tools/PolynomialCompile.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <memory>

FormulaPreparation filePolynomialStep(const std::string& path, const ProgramState& state, Ui& ui) {
    auto document = std::make_shared<ProblemDocument>();
    readProblemDocument(*document, path, ui);
    return [document, &state, &ui](const ProblemPanes& panes, FormulaAssembly& assembly,
                                   TCompiledProblem& problem) {
        PolynomialStepSettings settings;
        settings.AngleFactor = state.AngleFactor;
        return prepareDesignedPolynomials(assembly.FormulaList, panes, document->Polynomials,
                                          problem, ui, settings)
            .Ok;
    };
}
