// The switch board: the list of problems to switch to, the connectible test, and the Results
// array going on from the point reached with the other problem's ODEs.
#include "GraphWindowSupport.h"

#include "workspace/forms/GraphSwitchItem.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/TSwitchBoardForm.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

class SwitchBoardTest : public ProblemWindowTest {
  protected:
    TProblForm* secondWindow(const std::string& initial, const std::string& odes,
                             const std::string& caption) {
        auto* window = new TProblForm(windows, ui, state);
        type(window->REditInit, initial);
        type(window->REditODEs, odes);
        window->setWindowTitle(QString::fromStdString(caption));
        window->Compile1->trigger();
        return window;
    }
    void switchTo(int row) {
        TSwitchBoardForm board(windows, TSwitchBoardForm::FromMainWindow);
        board.show();
        board.LBoxSwProbList->setCurrentRow(row);
        board.LBoxSwProbListClick();
    }
};

TEST_F(SwitchBoardTest, TheResultsGoOnWithTheOtherProblemFromThePointReached) {
    type(form->REditInit, "t = 0\nx = 1\ny = 0");
    type(form->REditODEs, "t' = 1\nx' = y\ny' = -x");
    form->Compile1->trigger();
    form->edArrLen->setText("50");
    form->cbResultArray->click();
    form->edNumSteps->setText("3");
    form->btMoreBlind->click();
    ASSERT_EQ(state.StepIndex, 3);
    const TCompiledProblem& source = form->compiledProblem();
    const Extended xReached = source.Coefficients[source.NumConst + 1][0];
    const Extended tReached = source.Coefficients[source.NumConst][0];

    TProblForm* other = secondWindow("t = 0\nx = 0\ny = 0", "t' = 1\nx' = y\ny' = x", "growing");
    TSwitchBoardForm board(windows, TSwitchBoardForm::FromMainWindow);
    board.show();
    EXPECT_EQ(board.windowTitle().toStdString(), "Switch board");
    EXPECT_EQ(board.lbVar->text().toStdString(), "t  ");
    ASSERT_EQ(board.LBoxSwProbList->count(), 1);
    EXPECT_EQ(board.LBoxSwProbList->item(0)->text().toStdString(), "t   (growing)");
    board.LBoxSwProbList->setCurrentRow(0);
    board.LBoxSwProbListClick();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(windows.integratedWindow(), other);
    const TCompiledProblem& target = other->compiledProblem();
    EXPECT_EQ(target.InitialValues[1], xReached);
    EXPECT_EQ(target.CurrentIndep, tReached);
    EXPECT_EQ(other->lbHowMany->text().toStdString(), "Total: 0");
    EXPECT_EQ(state.StepIndex, 3) << "the Results array is not restarted";
    // Slot 3 now holds the target's expansion: the same point, the target's derivative y' = x.
    EXPECT_EQ(state.Results.at(3, 1)[0], xReached);
    EXPECT_EQ(state.Results.at(3, 2)[1], xReached);

    other->edNumSteps->setText("2");
    other->btMoreBlind->click();
    EXPECT_EQ(state.StepIndex, 5);
    EXPECT_GT(state.Results.at(5, 0)[0], tReached);
    EXPECT_EQ(state.Results.at(2, 2)[1], -state.Results.at(2, 1)[0]) << "the source's points stay";
}

TEST_F(SwitchBoardTest, VariablesInAnotherOrderAreNotConnectible) {
    type(form->REditInit, "t = 0\nx = 1\ny = 0");
    type(form->REditODEs, "t' = 1\nx' = y\ny' = -x");
    form->Compile1->trigger();
    TProblForm* swapped = secondWindow("t = 0\ny = 0\nx = 1", "t' = 1\ny' = -x\nx' = y", "swapped");
    switchTo(0);
    EXPECT_EQ(ui.lastMessage(), "Not connectible");
    EXPECT_EQ(windows.integratedWindow(), form.get());
    EXPECT_EQ(swapped->compiledProblem().InitialValues[1], 0);

    // A problem not compiled is not offered.
    type(swapped->REditAux, "a = 1");
    TSwitchBoardForm board(windows, TSwitchBoardForm::FromMainWindow);
    board.show();
    EXPECT_EQ(board.LBoxSwProbList->count(), 0);
}

// Switched from the graph window, the graph goes on with the target: its caption, its direction
// and the menu item name the problem now integrated, and its step count is shown again.
class GraphSwitchTest : public GraphWindowTest {};

TEST_F(GraphSwitchTest, TheGraphWindowShowsTheTargetAfterASwitch) {
    addGraphSwitchItem(*graph, windows);
    openFigureEight();
    graph->edSteps->setText("5");
    graph->btMore->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();

    auto* other = new TProblForm(windows, ui, state);
    typeProblemInto(*other, problemPath("figure8.ode"));
    other->setWindowTitle("figure8 backward");
    other->Compile1->trigger();
    other->rgDirection->setItemIndex(1);
    emit other->rgDirection->clicked(1);
    ASSERT_EQ(other->lbIncrease->text().toStdString(), " decreases");

    TSwitchBoardForm board(windows, TSwitchBoardForm::FromGraphWindow, graph.get());
    board.show();
    board.LBoxSwProbList->setCurrentRow(0);
    board.LBoxSwProbListClick();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(windows.integratedWindow(), other);
    EXPECT_EQ(graph->windowTitle().toStdString(),
              "figure8 backward,  independent variable t    decreases");
    EXPECT_EQ(graph->rgDirection->itemIndex(), 1);
    const auto* Switch1 = graph->findChild<QAction*>("Switch1");
    ASSERT_NE(Switch1, nullptr);
    EXPECT_EQ(Switch1->text().toStdString(), "Switch from t   to...");
    EXPECT_NE(graph->stDirection->text().toStdString(), "");

    // More in the graph integrates the target, backward, into the same Results array.
    const std::int32_t indexReached = state.StepIndex;
    const Extended tReached = state.Results.at(indexReached, 0)[0];
    graph->btMore->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_LT(other->compiledProblem().CurrentIndep, tReached);
    EXPECT_EQ(state.StepIndex, indexReached + 5);
}
