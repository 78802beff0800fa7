// The problem window's "Create in another variable...": the problem rewritten so that a chosen
// main variable becomes the independent variable, in a new window beside this one.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "graphics/forms/TGraphForm.h"
#include "workspace/ChangeOfVariable.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/StringGrid.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>

namespace {

// A new problem window opens a few pixels right of and below the active one.
constexpr int NewWindowOffset = 15;

} // namespace

// On the equations page a selection in the ODE or initial-values pane names the variable by its
// line; on the integration page the current row of the parameters grid does.
std::optional<std::size_t> TProblForm::variableLineChosen() {
    switch (PageControl1->currentIndex()) {
    case EquationsPage: {
        QWidget* focused = focusWidget();
        for (QPlainTextEdit* pane : {REditODEs, REditInit}) {
            if (focused != pane || !pane->textCursor().hasSelection())
                continue;
            QTextCursor start = pane->textCursor();
            start.setPosition(start.selectionStart());
            return static_cast<std::size_t>(start.blockNumber());
        }
        ui_.message("No variable selected in ODEs");
        return std::nullopt;
    }
    case IntegrationPage:
        // The header is no row of the table: without a current row it is the header's.
        if (sgParameters->currentRow() < 0) {
            ui_.message("No variable selected");
            return std::nullopt;
        }
        return static_cast<std::size_t>(sgParameters->currentRow());
    default:
        ui_.message("First choose variable in ODEs on \"Equations\" page ");
        return std::nullopt;
    }
}

void TProblForm::InAnotherVariable1Click() {
    if (!problem_.Compiled) {
        ui_.message("First compile the current problem");
        return;
    }
    if (!isMainWindow())
        ui_.message(formatText("ODEs \"%s\" are not first opened.\n\rODEs to be created may be "
                               "not optimal",
                               windowTitle().toStdString().c_str()));
    const std::optional<std::size_t> line = variableLineChosen();
    ProblemDocument document = documentFromPanes();
    if (!line || *line >= document.Panes.ODEs.size())
        return;
    const std::string variable = chosenVariable(document.Panes.ODEs[*line]).Name;
    if (!ui_.confirm("Do you want to create ODEs in independent variable " + variable))
        return;
    try {
        document.Panes = rewriteInVariable(document.Panes, *line);
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
        return;
    }
    document.Path.clear();
    document.Caption = "Problem in " + variable;
    auto* created = new TProblForm(windows_, ui_, state_);
    created->move(windows_.activeWindow()->pos() + QPoint(NewWindowOffset, NewWindowOffset));
    created->showDocument(document);
    created->setModified(true);
    created->Compile1Click();
    created->takeStepSettingsFrom(*this);
    repaintAllWindows();
    if (windows_.graph)
        windows_.graph->update();
    created->PageControl1->setCurrentIndex(EquationsPage);
    created->show();
}
