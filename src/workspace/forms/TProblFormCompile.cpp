// The problem window's compile command: cleans the panes, compiles, shows the result in the
// grids and labels, and points at the place of an error.
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "compiler/InstructionText.h"
#include "integrator/ProblemCompile.h"
#include "workspace/ScriptFile.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/PaneAids.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

void TProblForm::Compile1Click() {
    compileProblem(true);
}

void TProblForm::removeBlankPaneLines() {
    for (QPlainTextEdit* pane : {REditConst, REditInit, REditAux, REditODEs}) {
        std::vector<std::string> lines = paneLines(pane);
        std::vector<std::string> kept = withoutBlankLines(lines);
        if (kept != lines)
            setPaneLines(pane, kept);
    }
}

void TProblForm::compileProblem(bool full) {
    removeBlankPaneLines();
    ProblemPanes panes{paneLines(REditConst), paneLines(REditInit), paneLines(REditAux),
                       paneLines(REditODEs)};
    resetCompiledState();
    FormulaParser parser;
    try {
        if (!full) {
            FormulaAssembly assembly = assembleFormulaList(panes, problem_);
            FormulaList = assembly.FormulaList;
            writeMainNames(assembly.MainNames);
            FormPaint();
            return;
        }
        FormulaAssembly assembly;
        {
            BusyCursor busy;
            PrBarComp->setVisible(true);
            PrBarComp->setRange(0, static_cast<int>(panes.Constants.size() + panes.Initial.size() +
                                                    panes.Aux.size() + panes.ODEs.size()));
            try {
                assembly = compileForIntegration(state_, panes, problem_, parser, isMainWindow());
            } catch (...) {
                PrBarComp->setVisible(false);
                throw;
            }
            PrBarComp->setVisible(false);
        }
        FormulaList = assembly.FormulaList;
        showCompiledProblem(assembly.MainNames);
    } catch (const CompileEvaluationError& error) {
        FormulaList = error.Assembly.FormulaList;
        writeMainNames(error.Assembly.MainNames);
        showEvaluationFailure(error.Report, error.Instruction, error.ActiveList);
        ui_.message(error.what());
    } catch (const OdeLineError& error) {
        selectPaneLine({Pane::ODEs, error.Line}, "");
        FormPaint();
        ui_.message(error.what());
    } catch (const OrvantaError& error) {
        bool parseError = !parser.FormulasParsed && parser.CurrentLine >= 0;
        if (parseError)
            selectFormulaInPanes(parser.CurrentLine, parser.ErrorText);
        FormPaint();
        ui_.message(error.what());
    }
}

void TProblForm::writeMainNames(const std::vector<std::string>& mainNames) {
    fillingGrids_ = true;
    sgParameters->setRowCountWithHeader(static_cast<int>(mainNames.size()) + 1);
    for (std::size_t r = 0; r < mainNames.size(); ++r)
        sgParameters->setCell(0, static_cast<int>(r) + 1, mainNames[r]);
    fillingGrids_ = false;
    sgParameters->fitColumns();
}

void TProblForm::showCompiledProblem(const std::vector<std::string>& mainNames) {
    writeMainNames(mainNames);
    std::vector<std::string> labels = lineLabels(FormulaList, problem_.DerivStart);
    int stored = problem_.DerivStart - problem_.NumConst;
    sgFuncSel->setRowCountWithHeader(stored + 1);
    fillingGrids_ = true;
    for (int r = 0; r < stored; ++r) {
        sgFuncSel->setCell(0, r + 1, labels[static_cast<std::size_t>(problem_.NumConst + r)]);
        if (r >= problem_.NumMain)
            continue;
        sgParameters->setCell(1, r + 1, formatDisplay(problem_.InitialValues[r]));
        sgParameters->setCell(2, r + 1, "");
        sgParameters->setCell(3, r + 1, "");
    }
    fillingGrids_ = false;
    listInstructions();
    // Emptying the terminal value unchecks termination, as any edit of it does.
    edEndTime->clear();
    rgConvergence->setItemIndex(1);
    initialValuesEdited_ = false;
    rgErrorControl->setItemIndex(NoErrorControlItem);
    FormPaint();
}

void TProblForm::showEvaluationFailure(const std::string& report, int instruction,
                                       bool activeList) {
    rgWhichInstrSet->setItemIndex(activeList ? 1 : 0);
    listInstructions();
    ui_.message(report);
    PageControl1->setCurrentIndex(DebuggingPage);
    if (instruction >= 0 && instruction < lboxInstructions->count()) {
        lboxInstructions->setCurrentRow(instruction);
        lboxInstructionsClick();
    }
    fillDebugGrid();
}
