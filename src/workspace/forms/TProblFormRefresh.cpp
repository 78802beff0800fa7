// The problem window's state derived again at every refresh: enabled commands, labels, headers,
// the list of problem windows; and the reset of the compiled state.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "compiler/CompileDriver.h"
#include "integrator/IntegrationRun.h"
#include "integrator/StepControl.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>

void TProblForm::resetCompiledState() {
    lboxInstructions->clear();
    FormulaList.clear();
    ::resetCompiledState(problem_);
    lbConvRad->setText("Not compiled yet                ");
    lbStep->clear();
    lbDebugStep->clear();
    lbHowMany->clear();
    rgConvergence->setItemIndex(1);
    state_.RadiusChoice = RadiusVariables::MainAndAux;
    if (isMainWindow()) {
        // A new problem starts a new count of steps.
        state_.TotalSteps = 0;
        state_.SplitCount = 0;
        state_.Results.clear();
        QSignalBlocker blocker(cbResultArray);
        cbResultArray->setChecked(false);
        clearCurveSelection();
        hideGraphWindow();
    }
}

void TProblForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QMainWindow::changeEvent(event);
}

void TProblForm::FormActivate() {
    windows_.setActive(this);
    refreshClipboardIndicator();
    openPendingStartupFile();
}

void TProblForm::openPendingStartupFile() {
    if (isMainWindow() && !windows_.pendingStartupFile.empty()) {
        std::string file = windows_.pendingStartupFile;
        windows_.pendingStartupFile.clear();
        openStartupFile(file);
    }
}

void TProblForm::stSpecPointMouseDown() {
    problem_.SpecialValues.clear();
    stSpecPoint->setVisible(false);
}

void TProblForm::PageControl1Change() {
    if (PageControl1->currentIndex() == IntegrationPage)
        refreshClipboardIndicator();
    FormPaint();
}

void TProblForm::FormPaint() {
    bool compiled = problem_.Compiled;
    bool stored = compiled && !state_.Results.empty();
    Opentoconnect1->setEnabled(compiled);
    Savedata1->setEnabled(stored);
    Savescript1->setEnabled(stored);
    Savetoclipboard1->setEnabled(stored);
    showWhyNothingIsStored(compiled, stored);

    cbResultArray->setEnabled(compiled);
    cbAuxVarsToo->setEnabled(compiled);
    gbResultArr->setVisible(isMainWindow());
    Clear1->setEnabled(PageControl1->currentIndex() == EquationsPage);
    btAppend->setEnabled(compiled && !cbCircular->isChecked());

    lboxInstructions->setCurrentRow(-1);
    lbDebugInstr->clear();
    stDebugInstr->clear();
    stSourceLine->clear();
    stSpecPoint->setVisible(problem_.hasSpecialPoint());

    int lastStored = state_.Results.empty() ? 0 : state_.StepIndex;
    SpinEdit1->setMaximum(lastStored);
    stOf->setText(QString("of %1").arg(lastStored));

    lbRadLim->setText(QString::fromStdString(radiusLimitText(state_)));
    lbDifOrder->setText(QString::fromStdString(orderText(state_)));
    lbResArray->setText(QString::fromStdString(resultsMemoryText(state_)).replace("\n\r", "\n"));
    if (auto memory = readMemoryStatus()) {
        pbMemory->setMaximum(static_cast<int>(memory->Total / 16 / 1024));
        pbMemory->setValue(static_cast<int>(memory->Available / 16 / 1024));
    }

    rgView->setItemIndex(0);
    SpinEdit1->setVisible(false);
    stOf->setVisible(false);
    fillDebugGrid();
    rgDirection->setItemIndex(problem_.Direction < 0 ? 1 : 0);
    lbIncrease->setText(problem_.Direction < 0 ? " decreases" : " increases");

    lbDt->setText(compiled ? QString::fromStdString(independentLabel(problem_)) : "...  ");
    rebuildProblemList();

    lbSteps->setText(QString::fromStdString(stepsLabel(edNumSteps->text().toStdString())));
    if (compiled)
        showCurrentValues();
    else
        forgetShownValues();
    bool integrated = windows_.integratedWindow() == this;
    btMoreBlind->setEnabled(compiled && integrated);
    btRestart->setEnabled(compiled && integrated);
    btCurToInit->setEnabled(compiled);
    btCurToClip->setEnabled(compiled);
    btApplyStrGrid->setEnabled(compiled && btApplyStrGrid->isEnabled());
    refreshFailureLog();
    refreshCurvePage();
}

// Storing results is off until asked for, so the commands that save them say what they wait for.
void TProblForm::showWhyNothingIsStored(bool compiled, bool stored) {
    const QString why = !compiled ? "Compile the problem and store results first"
                                  : "No results stored: check \"Main variables\" in the Result "
                                    "array group (Elements above 0) and press More";
    Savedata1->setToolTip(stored ? "Saves the problem with its stored results" : why);
    Savescript1->setToolTip(stored ? "Saves the problem and a script that runs it" : why);
    lbStoreHint->setText(why);
    lbStoreHint->setVisible(!stored);
}

void TProblForm::showCurrentValues() {
    lbConvRad->setText(QString::fromStdString(radiusText(problem_)));
    lbStep->setText(QString::fromStdString(stepText(problem_)));
    lbDebugStep->setText(lbStep->text());
    if (!edCurRadFactor->hasFocus()) {
        QSignalBlocker blocker(edCurRadFactor);
        edCurRadFactor->setText(QString::fromStdString(formatShort(state_.RadFactor)));
    }
    TProblForm* main = windows_.mainWindow();
    const TCompiledProblem* first = main && main->problem_.Compiled ? &main->problem_ : nullptr;
    fillingGrids_ = true;
    for (int r = 0; r < problem_.NumMain; ++r) {
        Extended current = problem_.Coefficients[problem_.NumConst + r][0];
        sgParameters->setCell(2, r + 1, formatDisplay(current));
        if (first && r < static_cast<int>(first->InitialValues.size()))
            sgParameters->setCell(3, r + 1, formatDisplay(current - first->InitialValues[r]));
    }
    fillingGrids_ = false;
    lbUntilReached->setText(QString::fromStdString(independentLabel(problem_) + " = " +
                                                   formatDisplay(problem_.CurrentIndep)));
}

// Without a compiled problem no value of an earlier one is shown as if it were current.
void TProblForm::forgetShownValues() {
    fillingGrids_ = true;
    for (int row = 1; row < sgParameters->rowCountWithHeader(); ++row)
        for (int column : {1, 2, 3})
            sgParameters->setCell(column, row, "");
    fillingGrids_ = false;
    {
        QSignalBlocker blocker(cbTermination);
        cbTermination->setChecked(false);
    }
    lbUntilReached->setText("value  =");
    lbUntilReached->setEnabled(false);
}

void TProblForm::rebuildProblemList() {
    LBoxAllProbl->clear();
    for (TProblForm* window : windows_.all()) {
        QString entry = window->windowTitle();
        if (window->isMainWindow())
            entry += " (Primary)";
        if (window == windows_.integratedWindow())
            entry += " (Active)";
        LBoxAllProbl->addItem(entry);
    }
    bool several = windows_.all().size() >= 2;
    gbAllProbl->setVisible(several);
    lbNotCurrentProblem->setVisible(windows_.integratedWindow() != this);
    if (several) {
        sgParameters->setCell(3, 0, "Current - First");
        sgParameters->setCell(1, 0, isMainWindow() ? "First Initial values" : "Connected values");
        Panel2->setText(isMainWindow() ? "Primary problem" : "Secondary problem");
        Panel2->setStyleSheet(isMainWindow() ? "" : "background-color: #ffffc0;");
    } else {
        sgParameters->setCell(3, 0, "Their difference");
        sgParameters->setCell(1, 0, "Initial values");
        Panel2->clear();
        Panel2->setStyleSheet("");
    }
    Panel2->setVisible(several);
}
