#include "workspace/forms/GraphSwitchItem.h"

#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TSwitchBoardForm.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

void addGraphSwitchItem(QMainWindow& graph, ProblemWindows& windows) {
    QMenu* menu = graph.menuBar()->addMenu("S&witch");
    QAction* Switch1 = menu->addAction("Switch...");
    Switch1->setObjectName("Switch1");
    QObject::connect(menu, &QMenu::aboutToShow, &graph, [Switch1, &windows] {
        Switch1->setEnabled(!TSwitchBoardForm::switchTargets(windows).empty());
    });
    QObject::connect(Switch1, &QAction::triggered, &graph, [&graph, &windows] {
        TSwitchBoardForm board(windows, TSwitchBoardForm::FromGraphWindow, &graph);
        board.exec();
    });
}
