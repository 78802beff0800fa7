// The problem window's side of the switch board: opening it, and taking over the integration
// from the problem that was being integrated.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "integrator/ProblemSwitch.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/StringGrid.h"
#include "workspace/forms/TSwitchBoardForm.h"

#include <QLabel>
#include <QPushButton>

void TProblForm::btSwitchClick() {
    TSwitchBoardForm board(windows_, TSwitchBoardForm::FromMainWindow, this);
    board.exec();
}

bool TProblForm::switchFrom(TProblForm& source) {
    if (!problem_.Compiled || !source.problem_.Compiled) {
        ui_.message(formatText("%s and %s must be compiled both",
                               source.windowTitle().toStdString().c_str(),
                               windowTitle().toStdString().c_str()));
        return false;
    }
    if (!connectibleWith(source)) {
        ui_.message("Not connectible");
        return false;
    }
    handOverState(state_, source.problem_, problem_);
    fillingGrids_ = true;
    for (int r = 0; r < problem_.NumMain; ++r)
        sgParameters->setCell(1, r + 1,
                              formatDisplay(problem_.InitialValues[static_cast<std::size_t>(r)]));
    fillingGrids_ = false;
    initialValuesEdited_ = false;
    btApplyStrGrid->setEnabled(false);
    lbHowMany->setText("Total: 0");
    windows_.setIntegrated(this);
    rgDirectionClick();
    repaintAllWindows();
    return true;
}
