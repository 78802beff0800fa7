// "Tolerance per step" in the problem window: the fourth error-control item with its E box, the
// step shown on the integration and debugging pages, and scripts that keep the old three items.
#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "common/TextFile.h"
#include "integrator/ToleranceStep.h"
#include "support/TempFolder.h"
#include "workspace/ScriptFile.h"
#include "workspace/forms/RadioGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <filesystem>

class ToleranceModeTest : public ProblemWindowTest {
  protected:
    // x' = x from 1 at t = 0.
    void compileExponential() {
        type(form->REditInit, "t = 0\nx = 1");
        type(form->REditODEs, "t' = 1\nx' = x");
        form->Compile1->trigger();
        ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    }
    void setTolerance(const std::string& text) {
        form->edStepTolerance->setText(QString::fromStdString(text));
        emit form->edStepTolerance->editingFinished();
    }
    std::string shownStep() const { return form->lbStep->text().toStdString(); }
};

TEST_F(ToleranceModeTest, TheFourthItemTakesStepsFromTheToleranceAndShowsThem) {
    compileExponential();
    // A compile selects "No error control", which is no longer the last item.
    EXPECT_EQ(form->rgErrorControl->count(), 4);
    EXPECT_EQ(form->rgErrorControl->itemIndex(), NoErrorControlItem);
    EXPECT_EQ(form->rgErrorControl->button(3)->text().toStdString(), "Tolerance per step");
    EXPECT_EQ(form->edStepTolerance->text().toStdString(), "1e-19");

    form->rgErrorControl->button(3)->click();
    form->btApplyStrGrid->click();
    const TCompiledProblem& problem = form->compiledProblem();
    const Extended first = problem.Step;
    // The rule's step for the series 1/k! at 1e-19, and the text both pages show.
    const long double rho = std::min(std::pow(1e-19L * std::exp(std::lgamma(30.0L)), 1.0L / 29),
                                     std::pow(1e-19L * std::exp(std::lgamma(31.0L)), 1.0L / 30));
    EXPECT_NEAR(static_cast<double>(first / (rho * toleranceSafety(31))), 1.0, 1e-12);
    EXPECT_EQ(shownStep(), "Step: " + formatShort(first));
    EXPECT_EQ(form->lbDebugStep->text().toStdString(), shownStep());

    form->edNumSteps->setText("5");
    form->btMoreBlind->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_NEAR(static_cast<double>(problem.Coefficients[problem.NumConst + 1][0] /
                                    std::exp(problem.CurrentIndep)),
                1.0, 1e-18);
    EXPECT_EQ(shownStep(), "Step: " + formatShort(problem.Step));

    // A looser tolerance chooses a longer step at once; a text that is no tolerance is put back.
    setTolerance("1e-12");
    EXPECT_GT(problem.Step, 1.5L * first);
    EXPECT_EQ(shownStep(), "Step: " + formatShort(problem.Step));
    setTolerance("-1");
    EXPECT_EQ(form->edStepTolerance->text().toStdString(), "1e-12");
    setTolerance("x");
    EXPECT_EQ(form->edStepTolerance->text().toStdString(), "1e-12");
    EXPECT_EQ(state.StepTolerance, 1e-12L);
}

TEST_F(ToleranceModeTest, ASavedScriptStillRecordsNoErrorControl) {
    TempFolder temp;
    const std::filesystem::path folder = temp.folder();
    compileExponential();
    form->edArrLen->setText("20");
    form->cbResultArray->click();
    form->rgErrorControl->button(3)->click();
    form->edNumSteps->setText("3");
    form->btMoreBlind->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    ui.fileAnswers = {(folder / "exp.txt").string()};
    form->Savescript1->trigger();
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Only \"No error control\" mode allowed in saved scripts"});
    const auto script = readWholeFile((folder / "exp.scr").string());
    ASSERT_TRUE(script.has_value());
    EXPECT_EQ(readScriptText(*script).ErrorControl, NoErrorControlItem);
}
