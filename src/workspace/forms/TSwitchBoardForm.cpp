// The switch board.
#include "workspace/forms/TSwitchBoardForm.h"

#include "graphics/forms/TGraphForm.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TProblForm.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>

TSwitchBoardForm::TSwitchBoardForm(ProblemWindows& windows, std::uint16_t openMode, QWidget* parent)
    : QDialog(parent), windows_(windows), openMode_(openMode) {
    setWindowTitle("Switch board");
    lbFrom = new QLabel("From:");
    lbVar = new QLabel;
    lbIn = new QLabel("in problem");
    lbSourceProb = new QLabel;
    lbTo = new QLabel("To:");
    LBoxSwProbList = new QListWidget;
    auto* from = new QHBoxLayout;
    from->setSpacing(5);
    for (QLabel* label : {lbFrom, lbVar, lbIn, lbSourceProb})
        from->addWidget(label);
    from->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(from);
    layout->addWidget(lbTo);
    layout->addWidget(LBoxSwProbList);
    resize(380, 220);
    connect(LBoxSwProbList, &QListWidget::itemClicked, this,
            &TSwitchBoardForm::LBoxSwProbListClick);
}

std::vector<TProblForm*> TSwitchBoardForm::switchTargets(const ProblemWindows& windows) {
    std::vector<TProblForm*> targets;
    for (TProblForm* window : windows.all())
        if (window != windows.integratedWindow() && window->compiledProblem().Compiled)
            targets.push_back(window);
    return targets;
}

void TSwitchBoardForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TSwitchBoardForm::FormShow() {
    const TProblForm* source = windows_.integratedWindow();
    lbVar->setText(source->lbDt->text());
    lbSourceProb->setText(source->windowTitle());
    LBoxSwProbList->clear();
    targets_ = switchTargets(windows_);
    for (const TProblForm* target : targets_)
        LBoxSwProbList->addItem(target->lbDt->text() + " (" + target->windowTitle() + ")");
}

void TSwitchBoardForm::LBoxSwProbListClick() {
    const int row = LBoxSwProbList->currentRow();
    if (row < 0 || row >= static_cast<int>(targets_.size())) {
        close();
        return;
    }
    TProblForm* source = windows_.integratedWindow();
    TProblForm* target = targets_[static_cast<std::size_t>(row)];
    windows_.setActive(target);
    if (target->switchFrom(*source)) {
        if (openMode_ == FromMainWindow) {
            target->show();
            target->raise();
            target->activateWindow();
        } else if (auto* item =
                       windows_.graph ? windows_.graph->findChild<QAction*>("Switch1") : nullptr) {
            item->setText("Switch from " + target->lbDt->text() + " to...");
        }
        // The graph's caption, direction and step count follow the problem now integrated.
        if (TGraphForm* graph = windows_.graph)
            graph->FormPaint();
    }
    close();
}
