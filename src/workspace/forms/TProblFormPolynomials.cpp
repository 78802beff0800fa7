// The problem window's side of the polynomial designer: opening it, its compile step and its
// list kept in step with the problem's polynomials.
#include "workspace/forms/TProblForm.h"

#include "common/Ui.h"
#include "tools/PolynomialCompile.h"
#include "tools/forms/TPolyDesignForm.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"

void TProblForm::btPolynomialClick() {
    if (!polyDesigner_)
        polyDesigner_ = new TPolyDesignForm(*this, ui_);
    polyDesigner_->refresh();
    polyDesigner_->show();
    polyDesigner_->raise();
}

void TProblForm::refreshPolyDesigner() {
    if (polyDesigner_)
        polyDesigner_->refresh();
}

void TProblForm::showPolynomialInDesigner(int polynomial) {
    btPolynomialClick();
    polyDesigner_->selectPolynomial(polynomial);
}

// The step runs on the formula list of the compile; a misplaced call is selected in its pane.
FormulaPreparation TProblForm::polynomialPreparation() {
    return [this](const ProblemPanes& panes, FormulaAssembly& assembly, TCompiledProblem& problem) {
        PolynomialStepSettings settings;
        settings.AngleFactor = state_.AngleFactor;
        settings.SeveralProblems = windows_.all().size() > 1;
        const PolynomialStepResult result = prepareDesignedPolynomials(
            assembly.FormulaList, panes, document_.Polynomials, problem, ui_, settings);
        refreshPolyDesigner();
        if (result.Misplaced)
            selectPaneLine(*result.Misplaced, "polynomial");
        return result.Ok;
    };
}
