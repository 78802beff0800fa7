// The problem window's integration controls: "Apply", current to initial values, "More" with its
// progress and summary, termination, direction, restart, the step-control settings and the order.
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/Ui.h"
#include "integrator/IntegrationRun.h"
#include "integrator/StepControl.h"
#include "integrator/ToleranceStep.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/FailureLogForm.h"
#include "workspace/forms/PaneAids.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

std::vector<std::string> TProblForm::mainNames() const {
    std::vector<std::string> names;
    for (int row = 1; row <= problem_.NumMain; ++row)
        names.push_back(trim(sgParameters->cell(0, row)));
    return names;
}

// Settings that the run reads from the program-wide state follow this window's controls.
void TProblForm::syncStepSettings() {
    state_.Control = static_cast<ErrorControl>(rgErrorControl->itemIndex());
    state_.RadiusChoice = static_cast<RadiusVariables>(rgConvergence->itemIndex());
    state_.GoDespite = cbDespite->isChecked();
    if (const auto tolerance = readStepTolerance(edStepTolerance->text().toStdString()))
        state_.StepTolerance = *tolerance;
}

bool TProblForm::btApplyStrGridClick() {
    if (!problem_.Compiled || !readParametersGrid())
        return false;
    syncStepSettings();
    try {
        applyInitialValues(state_, problem_);
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
        return false;
    }
    initialValuesEdited_ = false;
    btApplyStrGrid->setEnabled(false);
    FormPaint();
    return true;
}

// The tolerances, and the initial values when they were edited, go from the grid into the
// problem; false after the message on a cell that does not read.
bool TProblForm::readParametersGrid() {
    std::vector<std::string> absCells, relCells;
    for (int row = 1; row <= problem_.NumMain; ++row) {
        absCells.push_back(sgParameters->cell(4, row));
        relCells.push_back(sgParameters->cell(5, row));
    }
    if (auto error = readTolerances(problem_, absCells, relCells)) {
        ui_.message(*error);
        return false;
    }
    if (initialValuesEdited_) {
        std::vector<Extended> values;
        for (int row = 1; row <= problem_.NumMain; ++row) {
            auto value = parseTrimmedNumber(sgParameters->cell(1, row));
            if (!value) {
                ui_.message("Wrong parameters");
                return false;
            }
            values.push_back(*value);
        }
        problem_.InitialValues = values;
    }
    return true;
}

void TProblForm::btCurToInitClick() {
    if (!problem_.Compiled)
        return;
    fillingGrids_ = true;
    for (int r = 0; r < problem_.NumMain; ++r) {
        Extended current = problem_.Coefficients[problem_.NumConst + r][0];
        problem_.InitialValues[r] = current;
        sgParameters->setCell(1, r + 1, formatDisplay(current));
        sgParameters->setCell(3, r + 1, "0");
    }
    fillingGrids_ = false;
    // The current point is the new initial point: nothing before it counts as stored.
    state_.StepIndex = 0;
    StoreResultPoint(state_, problem_);
    FormPaint();
}

void TProblForm::btMoreBlindClick() {
    if (state_.Busy || !problem_.Compiled)
        return;
    if (btApplyStrGrid->isEnabled() && !btApplyStrGridClick())
        return;
    syncStepSettings();
    windows_.setIntegrated(this);
    auto steps = parseInteger(trim(edNumSteps->text().toStdString()));
    ProgressBar1->setRange(1, steps && *steps > 1 ? static_cast<int>(*steps) : 1);
    RunSettings settings;
    settings.MainNames = mainNames();
    int stride = std::max(1, ProgressBar1->maximum() / 50);
    settings.Progress = [this, stride](std::int32_t position) {
        if (position % stride == 0 || position == ProgressBar1->maximum())
            ProgressBar1->setValue(position);
    };
    RunOutcome outcome;
    {
        BusyCursor busy;
        RunInputGuard guard;
        outcome = runMore(state_, problem_, ui_, edNumSteps->text().toStdString(), settings);
    }
    showRunOutcome(outcome);
    closeWindowsLeftDuringRun();
}

void TProblForm::showRunOutcome(const RunOutcome& outcome) {
    if (outcome.End == RunEnd::NotStarted) {
        FormPaint();
        return;
    }
    lbSteps->setText(QString::fromStdString(outcome.StepsLabel));
    lbHowMany->setText(QString::fromStdString(outcome.Summary));
    ProgressBar1->setValue(1);
    if (outcome.End == RunEnd::Terminated) {
        QSignalBlocker blocker(cbTermination);
        cbTermination->setChecked(false);
        clearTermination(problem_);
    }
    FormPaint();
}

void TProblForm::cbTerminationClick() {
    bool checked = cbTermination->isChecked();
    bool stays = false;
    try {
        stays = setTermination(state_, problem_, ui_, checked, edEndTime->text().toStdString(),
                               withoutBlankLines(paneLines(REditConst)));
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
    }
    QSignalBlocker blocker(cbTermination);
    cbTermination->setChecked(stays);
    lbUntilReached->setEnabled(stays);
    FormPaint();
}

void TProblForm::edEndTimeChange() {
    {
        QSignalBlocker blocker(cbTermination);
        cbTermination->setChecked(false);
    }
    clearTermination(problem_);
    lbUntilReached->setEnabled(false);
}

void TProblForm::rgDirectionClick() {
    setFocus();
    lbIncrease->setText(
        QString::fromStdString(setDirection(problem_, rgDirection->itemIndex() == 1)));
}

void TProblForm::btRestartClick() {
    if (!problem_.Compiled)
        return;
    // Restarting applies the grid: what was typed in it is where the run starts again.
    if (btApplyStrGrid->isEnabled() && !readParametersGrid())
        return;
    syncStepSettings();
    try {
        if (!restart(state_, problem_, ui_, static_cast<std::int32_t>(windows_.all().size())))
            return;
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
        return;
    }
    btApplyStrGrid->setEnabled(false);
    initialValuesEdited_ = false;
    lbHowMany->setText("Total: 0");
    FormPaint();
}

void TProblForm::rgErrorControlClick() {
    offerApply();
}

void TProblForm::edCurRadFactorChange() {
    if (auto restore = changeRadiusFactor(state_, problem_, edCurRadFactor->text().toStdString())) {
        QSignalBlocker blocker(edCurRadFactor);
        edCurRadFactor->setText(QString::fromStdString(*restore));
    }
}

void TProblForm::edStepToleranceChange() {
    if (auto restore =
            changeStepTolerance(state_, problem_, edStepTolerance->text().toStdString())) {
        QSignalBlocker blocker(edStepTolerance);
        edStepTolerance->setText(QString::fromStdString(*restore));
    }
    FormPaint();
}

void TProblForm::lbRadLimClick() {
    changeRadiusLimit(state_, problem_, ui_);
    FormPaint();
}

void TProblForm::rgConvergenceClick() {
    syncStepSettings();
    if (problem_.Compiled)
        refreshStep(state_, problem_);
    FormPaint();
}

void TProblForm::Changeorder1Click() {
    if (!changeTermCount(state_, problem_, ui_))
        return;
    {
        QSignalBlocker blocker(cbResultArray);
        cbResultArray->setChecked(false);
    }
    resetCompiledState();
    FormPaint();
}

// Every click starts a new log; a checked box shows it.
void TProblForm::cbDespiteClick() {
    state_.FailureLog.clear();
    state_.GoDespite = cbDespite->isChecked();
    if (cbDespite->isChecked() && !failureLog_)
        failureLog_ = new FailureLogForm(this);
    refreshFailureLog();
    if (!failureLog_)
        return;
    if (cbDespite->isChecked()) {
        failureLog_->show();
        failureLog_->raise();
    } else {
        failureLog_->hide();
    }
}

void TProblForm::refreshFailureLog() {
    if (!failureLog_)
        return;
    // Lines that a run added come into view even when the log was closed meanwhile.
    if (failureLog_->showLines(state_.FailureLog) && cbDespite->isChecked())
        failureLog_->show();
}
