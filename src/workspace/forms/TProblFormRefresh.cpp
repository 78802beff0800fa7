// The problem window's state derived again at every refresh: enabled commands, labels, headers,
// the list of problem windows; and the reset of the compiled state.
#include "workspace/forms/TProblForm.h"

#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

void TProblForm::resetCompiledState() {
    lboxInstructions->clear();
    FormulaList.clear();
    problem_ = TCompiledProblem();
    lbConvRad->setText("Not compiled yet                ");
    lbHowMany->clear();
    rgConvergence->setItemIndex(1);
}

void TProblForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QMainWindow::changeEvent(event);
}

void TProblForm::FormActivate() {
    windows_.setActive(this);
}

void TProblForm::PageControl1Change() {
    FormPaint();
}

void TProblForm::FormPaint() {
    Clear1->setEnabled(PageControl1->currentIndex() == EquationsPage);
    gbResultArr->setVisible(isMainWindow());
    lbDt->setText(
        !problem_.Compiled ? "...  "
        : problem_.IndepLine < 0
            ? "Implicit "
            : QString::fromStdString(sgParameters->cell(0, problem_.IndepLine + 1) + "  "));
    rebuildProblemList();
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
