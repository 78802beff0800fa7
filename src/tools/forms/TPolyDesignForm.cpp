// The polynomial designer.
#include "tools/forms/TPolyDesignForm.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "common/Ui.h"
#include "tools/PolynomialNames.h"
#include "tools/PolynomialScope.h"
#include "tools/forms/THelpForm.h"
#include "tools/forms/TPolyChildForm.h"
#include "tools/forms/TPolyViewForm.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/TProblForm.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace {

std::vector<std::string> linesOf(const QPlainTextEdit* pane) {
    return splitLines(pane->toPlainText().toStdString());
}

ProblemPanes panesOf(const TProblForm& form) {
    return {linesOf(form.REditConst), linesOf(form.REditInit), linesOf(form.REditAux),
            linesOf(form.REditODEs)};
}

} // namespace

TPolyDesignForm::TPolyDesignForm(TProblForm& problem, Ui& ui)
    : QDialog(&problem), problem_(problem), ui_(ui) {
    setWindowTitle("Polynomial designer");
    // It stays open beside the problem window, whose runs its commands must not reach.
    RunInputGuard::guardDuringRuns(*this);
    LBoxPolys = new QListWidget;
    LBoxVars = new QListWidget;
    LBoxVars->setSelectionMode(QAbstractItemView::ExtendedSelection);
    btNewPoly = new QPushButton("New polynomial");
    btRename = new QPushButton("Rename");
    btClone = new QPushButton("Clone");
    btDeletePoly = new QPushButton("Delete");
    bt1degree = new QPushButton("Populate 1st degree");
    bt2degree = new QPushButton("Populate 2nd degree");
    btCheckSyntax = new QPushButton("Check");
    btHelp = new QPushButton("Help");

    auto* layout = new QGridLayout(this);
    layout->addWidget(LBoxPolys, 0, 0, 5, 1);
    layout->addWidget(btNewPoly, 0, 1);
    layout->addWidget(btRename, 1, 1);
    layout->addWidget(btClone, 2, 1);
    layout->addWidget(btDeletePoly, 3, 1);
    layout->addWidget(LBoxVars, 0, 2, 5, 1);
    layout->addWidget(bt1degree, 0, 3);
    layout->addWidget(bt2degree, 1, 3);
    layout->addWidget(btCheckSyntax, 2, 3);
    layout->addWidget(btHelp, 3, 3);

    child_ = new TPolyChildForm(problem_.designedPolynomials(), this);
    viewer_ = new TPolyViewForm(ui_, this);
    connect(child_, &TPolyChildForm::changed, this, [this] {
        refreshViewer();
        edited();
    });
    connect(btNewPoly, &QPushButton::clicked, this, &TPolyDesignForm::btNewPolyClick);
    connect(btRename, &QPushButton::clicked, this, &TPolyDesignForm::btRenameClick);
    connect(btClone, &QPushButton::clicked, this, &TPolyDesignForm::btCloneClick);
    connect(btDeletePoly, &QPushButton::clicked, this, &TPolyDesignForm::btDeletePolyClick);
    connect(LBoxPolys, &QListWidget::itemClicked, this, &TPolyDesignForm::LBoxPolysClick);
    connect(bt1degree, &QPushButton::clicked, this, &TPolyDesignForm::bt1degreeClick);
    connect(bt2degree, &QPushButton::clicked, this, &TPolyDesignForm::bt2degreeClick);
    connect(btCheckSyntax, &QPushButton::clicked, this, &TPolyDesignForm::btCheckSyntaxClick);
    connect(btHelp, &QPushButton::clicked, this, &TPolyDesignForm::btHelpClick);
}

void TPolyDesignForm::refresh() {
    const int selected = LBoxPolys->currentRow();
    LBoxPolys->clear();
    for (const DesignedPolynomial& polynomial : problem_.designedPolynomials())
        LBoxPolys->addItem(QString::fromStdString(polynomial.Name));
    if (selected >= 0 && selected < LBoxPolys->count()) {
        selectPolynomial(selected);
    } else {
        child_->showPolynomial(-1);
        LBoxVars->clear();
        viewer_->close();
    }
}

void TPolyDesignForm::selectPolynomial(int index) {
    LBoxPolys->setCurrentRow(index);
    LBoxPolysClick();
}

void TPolyDesignForm::LBoxPolysClick() {
    const int index = LBoxPolys->currentRow();
    child_->showPolynomial(index);
    LBoxVars->clear();
    if (index < 0)
        return;
    child_->show();
    child_->raise();
    const DesignedPolynomial& polynomial =
        problem_.designedPolynomials()[static_cast<std::size_t>(index)];
    try {
        for (const std::string& name : variablesInScope(panesOf(problem_), polynomial.Variable))
            LBoxVars->addItem(QString::fromStdString(name));
    } catch (const OrvantaError& error) {
        ui_.message(error.what());
    }
    refreshViewer();
}

void TPolyDesignForm::refreshViewer() {
    const int index = child_->polynomialIndex();
    if (index < 0)
        return;
    viewer_->showPolynomial(problem_.designedPolynomials()[static_cast<std::size_t>(index)]);
    viewer_->show();
}

std::optional<std::string> TPolyDesignForm::askName(const std::string& title,
                                                    const std::string& prompt,
                                                    const std::string& proposal, int except) {
    const auto answer = ui_.inputBox(title, prompt, proposal);
    if (!answer)
        return std::nullopt;
    const std::string name = trim(*answer);
    if (name.empty()) {
        ui_.message("No name entered");
        return std::nullopt;
    }
    if (auto refusal = polynomialNameRefusal(name, problem_.designedPolynomials(), except)) {
        ui_.message(*refusal);
        return std::nullopt;
    }
    return name;
}

// The variable is proposed from the equation line where the caret stands in the focused pane.
void TPolyDesignForm::btNewPolyClick() {
    std::string variable;
    for (QPlainTextEdit* pane : {problem_.REditODEs, problem_.REditAux}) {
        if (problem_.focusWidget() == pane)
            variable = equationVariable(pane->textCursor().block().text().toStdString());
    }
    const auto name = askName("New polynomial", "The name of polynomial", "", -1);
    if (!name)
        return;
    if (variable.empty()) {
        const auto answer =
            ui_.inputBox("New polynomial", "This polynomial occurs in equation for ...", "");
        if (!answer)
            return;
        variable = trim(*answer);
    }
    DesignedPolynomial polynomial;
    polynomial.Name = *name;
    polynomial.Variable = variable;
    polynomial.IndepName = independentName(panesOf(problem_));
    polynomial.IndepPart.setCell(0, 0, "Constant");
    polynomial.IndepPart.setCell(0, 1, "0");
    problem_.designedPolynomials().push_back(polynomial);
    edited();
    refresh();
    selectPolynomial(LBoxPolys->count() - 1);
}

int TPolyDesignForm::selectedPolynomial() {
    const int index = LBoxPolys->currentRow();
    if (index < 0)
        ui_.message("No polynomial selected");
    return index;
}

void TPolyDesignForm::btRenameClick() {
    const int index = selectedPolynomial();
    if (index < 0)
        return;
    DesignedPolynomial& polynomial =
        problem_.designedPolynomials()[static_cast<std::size_t>(index)];
    const auto name =
        askName("Renaming polynomial", "The new name of polynomial", polynomial.Name, index);
    if (!name)
        return;
    polynomial.Name = *name;
    edited();
    refresh();
}

void TPolyDesignForm::btCloneClick() {
    const int index = selectedPolynomial();
    if (index < 0)
        return;
    auto& polynomials = problem_.designedPolynomials();
    const auto name = askName("Clone polynomial as...", "The name of the clone",
                              polynomials[static_cast<std::size_t>(index)].Name + "1", -1);
    if (!name)
        return;
    DesignedPolynomial clone = polynomials[static_cast<std::size_t>(index)];
    clone.Name = *name;
    polynomials.push_back(clone);
    edited();
    refresh();
    selectPolynomial(LBoxPolys->count() - 1);
}

void TPolyDesignForm::btDeletePolyClick() {
    const int index = selectedPolynomial();
    if (index < 0)
        return;
    auto& polynomials = problem_.designedPolynomials();
    polynomials.erase(polynomials.begin() + index);
    edited();
    child_->showPolynomial(-1);
    LBoxPolys->setCurrentRow(-1);
    refresh();
}

void TPolyDesignForm::populate(bool secondDegree) {
    const int index = LBoxPolys->currentRow();
    std::vector<std::string> names;
    for (int row = 0; row < LBoxVars->count(); ++row)
        if (LBoxVars->item(row)->isSelected())
            names.push_back(LBoxVars->item(row)->text().toStdString());
    if (index < 0 || names.empty()) {
        ui_.message("First selected a sub-set of variables");
        return;
    }
    DesignedPolynomial& polynomial =
        problem_.designedPolynomials()[static_cast<std::size_t>(index)];
    const int m = static_cast<int>(names.size());
    if (secondDegree) {
        polynomial.SecondDegree = PolynomialTable(m + 1, m + 1);
        for (int i = 0; i < m; ++i) {
            polynomial.SecondDegree.setCell(i + 1, 0, names[static_cast<std::size_t>(i)]);
            polynomial.SecondDegree.setCell(0, i + 1, names[static_cast<std::size_t>(i)]);
        }
    } else {
        polynomial.FirstDegree = PolynomialTable(m, 2);
        for (int i = 0; i < m; ++i)
            polynomial.FirstDegree.setCell(i, 0, names[static_cast<std::size_t>(i)]);
    }
    edited();
    child_->showPolynomial(index);
    refreshViewer();
}

void TPolyDesignForm::edited() {
    problem_.polynomialsEdited();
}

void TPolyDesignForm::bt1degreeClick() {
    populate(false);
}

void TPolyDesignForm::bt2degreeClick() {
    populate(true);
}

void TPolyDesignForm::btCheckSyntaxClick() {
    if (checkPolynomialScopes(problem_.designedPolynomials(), panesOf(problem_), ui_))
        ui_.message("Scope of variables in all polynomials OK");
}

void TPolyDesignForm::btHelpClick() {
    openHelp("MultivariatePolynomials.rtf");
}

void TPolyDesignForm::closeEvent(QCloseEvent* event) {
    viewer_->close();
    child_->close();
    QDialog::closeEvent(event);
}
