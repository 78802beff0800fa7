// The polynomial designer: a polynomial designed by hand in its tables, compiled, saved and
// reopened, with the designer's refusals and the viewer's text.
#include "FormTestSupport.h"

#include "support/TempFolder.h"
#include "tools/forms/TPolyChildForm.h"
#include "tools/forms/TPolyDesignForm.h"
#include "tools/forms/TPolyViewForm.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>

class PolyDesignerTest : public ProblemWindowTest {
  protected:
    // y'' = -x - 0.5 y^2 written with a designed polynomial P in y's equation.
    TPolyDesignForm* openDesigner() {
        type(form->REditConst, "c = 0.5");
        type(form->REditInit, "t = 0\nx = 1\ny = 0");
        type(form->REditODEs, "t' = 1\nx' = y\ny' = polynomial(P)");
        QTextCursor caret(form->REditODEs->document()->findBlockByNumber(2));
        form->REditODEs->setTextCursor(caret);
        form->REditODEs->setFocus();
        form->btPolynomial->click();
        return form->polyDesigner();
    }
    static void setCell(QTableWidget* grid, int column, int row, const char* text) {
        grid->item(row, column)->setText(text);
    }
};

TEST_F(PolyDesignerTest, APolynomialDesignedByHandCompilesSavesAndReopens) {
    TPolyDesignForm* designer = openDesigner();
    ASSERT_NE(designer, nullptr);
    EXPECT_EQ(designer->windowTitle().toStdString(), "Polynomial designer");
    ui.inputAnswers = {std::string("P")};
    designer->btNewPoly->click();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    ASSERT_EQ(form->designedPolynomials().size(), 1u);
    EXPECT_EQ(form->designedPolynomials()[0].Variable, "y'") << "proposed from the caret's line";
    EXPECT_EQ(form->designedPolynomials()[0].IndepName, "t");
    ASSERT_EQ(designer->LBoxVars->count(), 3);

    designer->LBoxVars->item(1)->setSelected(true);
    designer->bt1degreeClick();
    designer->LBoxVars->item(1)->setSelected(false);
    designer->LBoxVars->item(2)->setSelected(true);
    designer->bt2degreeClick();
    TPolyChildForm* child = designer->polyWindow();
    setCell(child->sg1, 0, 1, "-1");
    setCell(child->sg2, 1, 1, "-c");
    EXPECT_EQ(child->sg2->item(0, 1)->flags(), Qt::ItemIsEnabled) << "header";
    child->edDegree->setText("1");
    child->btApply->click();
    setCell(child->sgt, 1, 1, "2*c");
    EXPECT_EQ(designer->viewer()->memView->toPlainText().toStdString(), "(2*c)*t\n - x\n - c*y^2");

    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    const TCompiledProblem& problem = form->compiledProblem();
    // y' at the start: 2c*0 - 1 - c*0 = -1; its derivative -x' - 2cy y' + 2c = 1.
    const std::int32_t yDeriv = problem.DerivStart + 2;
    EXPECT_EQ(problem.Coefficients[yDeriv][0], -1);
    EXPECT_EQ(problem.Coefficients[yDeriv][1], 1);

    TempFolder folder;
    ui.fileAnswers = {folder.path("designed.ode")};
    form->SaveAs1->trigger();
    form->Clear1->trigger();
    EXPECT_TRUE(form->designedPolynomials().empty());
    EXPECT_EQ(designer->LBoxPolys->count(), 0);
    ui.fileAnswers = {folder.path("designed.ode")};
    form->Open1->trigger();
    ASSERT_EQ(designer->LBoxPolys->count(), 1);
    EXPECT_EQ(form->designedPolynomials()[0].SecondDegree.cell(1, 1), "-c");
    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(form->compiledProblem().Coefficients[yDeriv][1], 1);
    EXPECT_FALSE(form->modified());

    // Looking at the reopened polynomial changes nothing; editing it changes the problem as an
    // edit of a pane does: it is to be compiled again and offered for saving.
    designer->LBoxPolys->setCurrentRow(0);
    designer->LBoxPolysClick();
    EXPECT_FALSE(form->modified());
    EXPECT_TRUE(form->compiledProblem().Compiled);
    setCell(designer->polyWindow()->sg1, 0, 1, "-2");
    EXPECT_TRUE(form->modified()) << "the edit would be lost on closing";
    EXPECT_FALSE(form->compiledProblem().Compiled) << "the compiled problem holds the old -1";
}

TEST_F(PolyDesignerTest, EveryRefusalOfTheDesigner) {
    TPolyDesignForm* designer = openDesigner();
    designer->btDeletePolyClick();
    EXPECT_EQ(ui.lastMessage(), "No polynomial selected");
    ui.inputAnswers = {std::string(" ")};
    designer->btNewPolyClick();
    EXPECT_EQ(ui.lastMessage(), "No name entered");
    ui.inputAnswers = {std::string("2P")};
    designer->btNewPolyClick();
    EXPECT_EQ(ui.lastMessage(), "Polynomial name is not a valid identifier");
    ui.inputAnswers = {std::string("P")};
    designer->btNewPolyClick();
    ui.inputAnswers = {std::string("p")};
    designer->btNewPolyClick();
    EXPECT_EQ(ui.lastMessage(), "This polynomial name already exists");
    designer->bt2degreeClick();
    EXPECT_EQ(ui.lastMessage(), "First selected a sub-set of variables");
    designer->btCheckSyntaxClick();
    EXPECT_EQ(ui.lastMessage(), "Scope of variables in all polynomials OK");

    ui.inputAnswers = {std::string("P1")};
    designer->btCloneClick();
    ASSERT_EQ(designer->LBoxPolys->count(), 2);
    EXPECT_EQ(designer->LBoxPolys->item(1)->text().toStdString(), "P1");
    ui.inputAnswers = {std::string("Q")};
    designer->btRenameClick();
    EXPECT_EQ(form->designedPolynomials()[1].Name, "Q");

    // Q is named by no formula: the compile deletes it.
    ui.messages.clear();
    form->Compile1->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(designer->LBoxPolys->count(), 1);
    designer->selectPolynomial(0);
    designer->btDeletePolyClick();
    EXPECT_EQ(designer->LBoxVars->count(), 0);
    EXPECT_FALSE(designer->viewer()->isVisible());
    form->Compile1->trigger();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "Polynomial coefficients were not filled in via the Designer");
    EXPECT_EQ(ui.messages[1], "Error(s) in polynomials");
    EXPECT_FALSE(form->compiledProblem().Compiled);
}
