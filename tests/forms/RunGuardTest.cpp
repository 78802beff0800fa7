// What a user does while "More" runs: edits, commands, shortcuts and clicks reach nothing that
// the loop works on, Esc still stops it, and closing the window stops the run before closing.
#include "FormTestSupport.h"

#include "graphics/forms/TFieldParamForm.h"
#include "support/Paths.h"
#include "tools/forms/TCalcForm.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTabBar>
#include <QTabWidget>

#include <regex>

namespace {

void typeKey(QWidget* widget, int key, const QString& text = {}) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &event);
    }
}

void clickAt(QWidget* widget, QPoint position) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, position, widget->mapToGlobal(position), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

void pressShortcut(QAction* action) {
    QShortcutEvent event(action->shortcut(), 0);
    QApplication::sendEvent(action, &event);
}

} // namespace

class RunGuardTest : public ProblemWindowTest {
  protected:
    void SetUp() override {
        ProblemWindowTest::SetUp();
        typeProblem(problemPath("lorenz.ode"));
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
        form->show();
        QApplication::processEvents();
        state.PollInterval = std::chrono::milliseconds(0);
    }

    // Runs `steps` steps with `during` done once, at the first time the loop lets events in.
    void runWhile(int steps, const std::function<void()>& during) {
        bool done = false;
        ui.onProcessEvents = [&] {
            if (!std::exchange(done, true))
                during();
        };
        form->edNumSteps->setText(QString::number(steps));
        form->btMoreBlind->click();
        ui.onProcessEvents = nullptr;
    }
};

TEST_F(RunGuardTest, EditsCommandsAndShortcutsDuringARunChangeNothingUnderIt) {
    const std::string odes = text(form->REditODEs);
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    runWhile(3000, [&] {
        QTabBar* tabs = form->PageControl1->tabBar();
        clickAt(tabs, tabs->tabRect(TProblForm::EquationsPage).center());
        form->REditODEs->setFocus();
        typeKey(form->REditODEs, Qt::Key_Space, " ");
        clickAt(form->menuBar(), form->menuBar()->actionGeometry(form->Clear1).center());
        pressShortcut(form->Compile1);
        pressShortcut(form->Open1);
        clickAt(form->btRestart, form->btRestart->rect().center());
        form->sgParameters->setFocus();
        typeKey(form->edArrLen, Qt::Key_5, "5");
    });
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(text(form->REditODEs), odes);
    EXPECT_TRUE(form->compiledProblem().Compiled);
    EXPECT_EQ(form->edArrLen->text().toStdString(), "1000");
    EXPECT_EQ(form->PageControl1->currentIndex(), TProblForm::EquationsPage)
        << "the pages can be looked at during the run";
    // The run went on from where it was, not from the initial values again.
    EXPECT_EQ(state.TotalSteps, 3000);
    EXPECT_TRUE(std::regex_search(form->lbHowMany->text().toStdString(),
                                  std::regex(R"(^3000 steps \(0 step splits\)\.  Total: 3000\.)")));

    // After the run the same input works again.
    typeKey(form->REditODEs, Qt::Key_Space, " ");
    EXPECT_FALSE(form->compiledProblem().Compiled);
}

TEST_F(RunGuardTest, EscStillStopsTheRun) {
    runWhile(100000, [&] {
        form->edNumSteps->setFocus();
        typeKey(form->edNumSteps, Qt::Key_Escape);
    });
    EXPECT_EQ(ui.lastMessage(), "Interrupted!");
    EXPECT_LT(state.TotalSteps, 100000);
}

TEST_F(RunGuardTest, ClosingDuringARunStopsItThenAsksAboutTheUnsavedProblem) {
    ui.confirmAnswers = {false};
    runWhile(100000, [&] { form->close(); });
    EXPECT_LT(state.TotalSteps, 100000);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "Interrupted!");
    EXPECT_EQ(ui.messages[1], "Unnamed ODEs not saved. Go ahead anyway? ");
    EXPECT_TRUE(form->isVisible()) << "the user kept the problem";

    ui.messages.clear();
    runWhile(100000, [&] { form->close(); });
    EXPECT_EQ(ui.lastMessage(), "Unnamed ODEs not saved. Go ahead anyway? ");
    EXPECT_FALSE(form->isVisible());
}

TEST_F(RunGuardTest, ThePortraitDesignerBesideTheGraphTakesNoCommandDuringARun) {
    int made = 0;
    auto* designer = new TFieldParamForm({[] { return true; }, [&made] { ++made; }, [] {}});
    designer->show();
    runWhile(1000, [&] { clickAt(designer->btMake, designer->btMake->rect().center()); });
    EXPECT_EQ(made, 0);
    clickAt(designer->btMake, designer->btMake->rect().center());
    EXPECT_EQ(made, 1) << "after the run Make works again";
    designer->close();
}

TEST_F(RunGuardTest, TheFineTuningWindowAssignsNothingDuringARun) {
    int assigned = 0;
    auto* tuning = new TCalcForm(ui, form.get());
    tuning->showForVariable("x", 1, [&assigned](Extended, const std::string&) { ++assigned; });
    tuning->leMant->setFocus();
    tuning->leMant->selectAll();
    tuning->leMant->insert("8000000000000001"); // as typed: the edit offers "Assign to..."
    ASSERT_TRUE(tuning->btEnter->isEnabled());
    runWhile(1000, [&] { clickAt(tuning->btEnter, tuning->btEnter->rect().center()); });
    EXPECT_EQ(assigned, 0);
    clickAt(tuning->btEnter, tuning->btEnter->rect().center());
    EXPECT_EQ(assigned, 1) << "after the run Assign works again";
}
