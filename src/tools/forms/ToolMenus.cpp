#include "tools/forms/ToolMenus.h"

#include "common/TextFile.h"
#include "common/Ui.h"
#include "integrator/ProgramState.h"
#include "tools/CloneCommand.h"
#include "tools/forms/TCloneForm.h"
#include "tools/forms/TSaveForm.h"
#include "tools/forms/TTestingForm.h"
#include "workspace/forms/StringGrid.h"
#include "workspace/forms/TProblForm.h"

#include <QMenuBar>
#include <QPlainTextEdit>

namespace {

std::vector<std::string> linesOf(const QPlainTextEdit* pane) {
    return splitLines(pane->toPlainText().toStdString());
}

void setLines(QPlainTextEdit* pane, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    pane->setPlainText(QString::fromStdString(text));
}

// "Clone (excluding independent variable)" and "Clone (including independent variable)".
void cloneClick(TProblForm& form, ProgramState& state, Ui& ui, bool excludeIndependent) {
    if (form.modified() &&
        !ui.confirm(form.windowTitle().toStdString() + " not saved. Go ahead anyway? "))
        return;
    CloneProblem problem;
    problem.Panes.Constants = linesOf(form.REditConst);
    problem.Panes.Initial = linesOf(form.REditInit);
    problem.Panes.Aux = linesOf(form.REditAux);
    problem.Panes.ODEs = linesOf(form.REditODEs);
    problem.AngleFactor = state.AngleFactor;
    const auto unfolded =
        clonePanes(ui, problem, excludeIndependent,
                   [&](const CloneSource& source) -> std::optional<CloneIndex> {
                       TCloneForm choice(source, form.REditInit->toPlainText(), ui, &form);
                       if (choice.exec() != QDialog::Accepted)
                           return std::nullopt;
                       return choice.chosenIndex();
                   });
    if (!unfolded)
        return;
    setLines(form.REditInit, unfolded->Initial);
    setLines(form.REditAux, unfolded->Aux);
    setLines(form.REditODEs, unfolded->ODEs);
}

// "Save As Table": the stored variables as the curve selection page lists them.
void saveAsTableClick(TProblForm& form, ProgramState& state, Ui& ui) {
    if (state.Results.empty() || state.StepIndex < 1) {
        ui.message("Fill the Results array first: check \"Main variables\" and integrate");
        return;
    }
    if (!independentColumn(state)) {
        ui.message("The stored points hold no independent variable to tabulate over");
        return;
    }
    std::vector<std::string> names;
    for (int r = 1; r <= state.Results.Vars; ++r)
        names.push_back(form.sgFuncSel->cell(0, r));
    TSaveForm table(state, names, form.compiledProblem().IndepName, ui, &form);
    table.exec();
}

} // namespace

void addToolMenus(TProblForm& form, QMenuBar* menuBar, ProgramState& state, Ui& ui) {
    QMenu* arrays = menuBar->addMenu("Create array of IVPs");
    arrays->addAction("Clone (excluding independent variable)", &form,
                      [&form, &state, &ui] { cloneClick(form, state, ui, true); });
    arrays->addAction("Clone (including independent variable)", &form,
                      [&form, &state, &ui] { cloneClick(form, state, ui, false); });
    menuBar->addAction("Save As Table", &form,
                       [&form, &state, &ui] { saveAsTableClick(form, state, ui); });
    menuBar->addAction("Massive computation", &form, [&form, &state, &ui] {
        // One form per problem window, kept while the window lives.
        auto* massive = form.findChild<TTestingForm*>();
        if (!massive)
            massive = new TTestingForm(form, state, ui, &form);
        massive->show();
        massive->raise();
    });
}
