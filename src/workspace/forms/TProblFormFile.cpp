// The problem window's document commands: New, Clear, the discard confirmation and closing.
#include "workspace/forms/TProblForm.h"

#include "common/Ui.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>

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
    fillingGrids_ = true;
    for (StringGrid* grid : {sgParameters, sgDebug}) {
        grid->setRowCountWithHeader(2);
        grid->clearCells();
    }
    writeParametersHeader();
    fillingGrids_ = false;
    clearPanes();
    AssumeconvradiusAsRadiuslimit1->setChecked(false);
    setModified(false);
    setCaption("Unnamed");
    saveDialogFileName_ = "Unnamed";
    rgErrorControl->setItemIndex(rgErrorControl->count() - 1);
    resetCompiledState();
    FormPaint();
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
