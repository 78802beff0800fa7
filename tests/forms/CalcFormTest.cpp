// The fine tuning window: both conversions with their refusals, the sign, and a value tuned by
// one bit assigned to its variable.
#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "tools/forms/TCalcForm.h"
#include "workspace/forms/StringGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <cmath>

class CalcFormTest : public ProblemWindowTest {
  protected:
    // x' = x from x = 0.1, compiled; the window opened on x's initial value.
    TCalcForm* openOnX() {
        type(form->REditInit, "t = 0\nx = 0.1");
        type(form->REditODEs, "t' = 1\nx' = x");
        form->Compile1->trigger();
        emit form->sgParameters->cellDoubleClicked(1, 1);
        return form->exactValueForm();
    }
    static void setText(QLineEdit* edit, const std::string& text) {
        edit->setText(QString::fromStdString(text));
    }
    static std::string textOf(const QLineEdit* edit) { return edit->text().toStdString(); }
};

TEST_F(CalcFormTest, BothConversionsWithTheSignAndEveryRefusal) {
    TCalcForm* calc = openOnX();
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->windowTitle().toStdString(),
              "Decimal/hexadecimal fine tuning (64 binary digits)");
    EXPECT_FALSE(calc->btEnter->isHidden());
    EXPECT_FALSE(calc->btEnter->isEnabled()) << "nothing tuned yet";

    setText(calc->leDecimal, "-0.1");
    calc->btRight->click();
    EXPECT_EQ(textOf(calc->leMant), "CCCCCCCCCCCCCCCD");
    EXPECT_EQ(textOf(calc->leExp), "-3");
    setText(calc->leDecimal, "");
    calc->btLeft->click();
    EXPECT_EQ(textOf(calc->leDecimal), "-0.1");
    EXPECT_TRUE(calc->lbError->isHidden());

    const std::pair<std::string, std::string> refused[] = {
        {"7FFF", "Mantissa's first digit must be >= 8"},
        {"CCCCCCCCCCCCCCCCD", "Hexadecimal mantissa must have no more than 16 digits"},
        {"", "Hexadecimal mantissa empty"},
        {"CG", "Wrong hexadecimal mantissa"}};
    for (const auto& [mantissa, message] : refused) {
        ui.messages.clear();
        setText(calc->leMant, mantissa);
        calc->btLeft->click();
        EXPECT_EQ(ui.lastMessage(), message) << mantissa;
        EXPECT_EQ(textOf(calc->leDecimal), "Conversion failed") << mantissa;
    }
    ui.messages.clear();
    setText(calc->leMant, "0");
    calc->btLeft->click();
    EXPECT_TRUE(ui.messages.empty()) << "a zero mantissa is refused silently";
    setText(calc->leMant, "8");
    setText(calc->leExp, "1.5");
    calc->btLeft->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong exponent");

    setText(calc->leDecimal, "0x10");
    calc->btRight->click();
    EXPECT_EQ(ui.lastMessage(), "Wrong number");
    EXPECT_EQ(form->compiledProblem().InitialValues[1], 0.1L) << "only Assign writes";
}

TEST_F(CalcFormTest, AValueTunedByOneBitIsAssignedToItsRow) {
    TCalcForm* calc = openOnX();
    ASSERT_NE(calc, nullptr);
    calc->leMant->setFocus();
    calc->leMant->selectAll();
    calc->leMant->insert("CCCCCCCCCCCCCCCE"); // as typed: the edit enables the assignment
    EXPECT_TRUE(calc->btEnter->isEnabled());
    calc->btEnter->click();
    const Extended above = std::nextafter(0.1L, 1.0L);
    EXPECT_EQ(*parseNumber(textOf(calc->leDecimal)), above);
    const TCompiledProblem& problem = form->compiledProblem();
    EXPECT_EQ(problem.InitialValues[1], above);
    EXPECT_EQ(problem.Coefficients[problem.NumConst + 1][0], above);
    EXPECT_EQ(form->sgParameters->cell(1, 2), textOf(calc->leDecimal));
    EXPECT_EQ(form->sgParameters->cell(2, 2), textOf(calc->leDecimal));
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled()) << "the run applies the tuned value";

    // A run from there starts at the tuned value: x = 0.1+ e^t.
    form->btApplyStrGrid->click();
    EXPECT_EQ(problem.Coefficients[problem.NumConst + 1][1], above);

    // From the debugging view the window only shows.
    form->PageControl1->setCurrentIndex(TProblForm::DebuggingPage);
    emit form->sgDebug->cellDoubleClicked(1, 2);
    EXPECT_TRUE(calc->btEnter->isHidden());
}
