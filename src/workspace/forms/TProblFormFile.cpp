// The problem window's document commands: New, Clear, the discard confirmation and closing.
#include "workspace/forms/TProblForm.h"

#include "common/Ui.h"
#include "workspace/ScriptFile.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>

#include <utility>

bool TProblForm::confirmDiscard() {
    ProblemDocument document = document_;
    document.Caption = windowTitle().toStdString();
    document.Modified = modified();
    return ::confirmDiscard(document, ui_);
}

void TProblForm::New1Click() {
    Clear1Click();
}

void TProblForm::Clear1Click() {
    if (isMainWindow())
        closeOtherWindows();
    if (!confirmDiscard())
        return;
    filePath_.clear();
    document_.clear();
    problem_.SpecialValues.clear();
    state_.StepIndex = 0;
    PrBarComp->setVisible(false);
    clearParametersGrid();
    clearPanes();
    AssumeconvradiusAsRadiuslimit1->setChecked(false);
    setModified(false);
    setCaption("Unnamed");
    saveDialogFileName_ = "Unnamed";
    rgErrorControl->setItemIndex(NoErrorControlItem);
    resetCompiledState();
    FormPaint();
}

void TProblForm::closeWindowsLeftDuringRun() {
    std::vector<TProblForm*> leaving;
    for (TProblForm* window : windows_.all())
        if (std::exchange(window->closeAfterRun_, false))
            leaving.push_back(window);
    for (TProblForm* window : leaving)
        window->close();
}

// The grids lose the rows of the problem they showed, the tolerances typed in them among them.
void TProblForm::clearParametersGrid() {
    fillingGrids_ = true;
    for (StringGrid* grid : {sgParameters, sgDebug}) {
        grid->setRowCountWithHeader(2);
        grid->clearCells();
    }
    writeParametersHeader();
    fillingGrids_ = false;
}

void TProblForm::closeOtherWindows() {
    std::vector<TProblForm*> others;
    for (TProblForm* window : windows_.all())
        if (window != this)
            others.push_back(window);
    for (TProblForm* window : others) {
        window->setModified(false);
        window->close();
    }
}

void TProblForm::closeEvent(QCloseEvent* event) {
    if (state_.Busy) {
        // The run stops first, as Esc stops it; the window closes once the loop has let go.
        state_.Interrupt = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    if (windows_.integratedWindow() == this)
        windows_.setIntegrated(windows_.mainWindow());
    event->accept();
    if (isMainWindow()) {
        closeOtherWindows();
        return;
    }
    // The window is released later; the list of problem windows forgets it now.
    windows_.remove(this);
    if (TProblForm* main = windows_.mainWindow()) {
        main->show();
        main->FormPaint();
    }
}
