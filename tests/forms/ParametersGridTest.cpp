// The parameters grid: headers, widths and the multi-cell entry.
#include "FormTestSupport.h"

#include "common/NumberText.h"
#include "tools/forms/TCalcForm.h"
#include "workspace/forms/StringGrid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

void releaseMouseOn(StringGrid* grid) {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &release);
    QApplication::processEvents();
}

} // namespace

TEST_F(ProblemWindowTest, ParametersGridHasItsHeadersAndWidths) {
    StringGrid* grid = form->sgParameters;
    ASSERT_EQ(grid->columnCount(), 6);
    const char* headers[] = {"",           "Initial values", "Current values", "Their difference",
                             "Abs. error", "Rel. error"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(grid->cell(c, 0), headers[c]);
    // The value columns are at least as wide as their defaults, wider when a value of 18 digits
    // with sign and exponent needs more.
    const int widths[] = {120, 144, 140, 131, 87};
    const int widest = QFontMetrics(grid->font()).horizontalAdvance("-0.00000000000000000e-4951");
    for (int c = 0; c < 5; ++c) {
        if (c >= 1 && c <= 3) {
            EXPECT_GE(grid->columnWidth(c), std::max(widths[c], widest)) << c;
        } else {
            EXPECT_EQ(grid->columnWidth(c), widths[c]);
        }
    }
}

TEST_F(ProblemWindowTest, MultiCellSelectionRightOfTheDifferenceColumnTakesOneValue) {
    type(form->REditInit, "x = 1\ny = 0\nz = 0");
    type(form->REditODEs, "x' = y\ny' = z\nz' = x");
    form->Compile1->trigger();
    StringGrid* grid = form->sgParameters;
    ASSERT_EQ(grid->rowCountWithHeader(), 4);
    form->rbAllowMulti->click();
    grid->setRangeSelected(QTableWidgetSelectionRange(0, 4, 2, 5), true);
    ui.inputAnswers = {std::string("1e-12")};
    releaseMouseOn(grid);
    ASSERT_EQ(ui.inputPrompts.size(), 1u);
    EXPECT_EQ(ui.inputPrompts[0], "Multi-cell edit|Enter value for selected cells|");
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid->cell(4, row), "1e-12");
        EXPECT_EQ(grid->cell(5, row), "1e-12");
    }
    EXPECT_TRUE(form->btApplyStrGrid->isEnabled());
    EXPECT_EQ(grid->currentColumn(), 4);
}

TEST_F(ProblemWindowTest, MultiCellSelectionOverTheValueColumnsAsksNothing) {
    StringGrid* grid = form->sgParameters;
    grid->setRowCountWithHeader(4);
    form->rbAllowMulti->click();
    grid->setRangeSelected(QTableWidgetSelectionRange(0, 1, 2, 3), true);
    releaseMouseOn(grid);
    EXPECT_TRUE(ui.inputPrompts.empty());
}

TEST_F(ProblemWindowTest, OneCellModeEditsInPlaceAndMultiCellModeDoesNot) {
    form->rbAllowMulti->click();
    EXPECT_EQ(form->sgParameters->editTriggers(), QAbstractItemView::NoEditTriggers);
    form->rbAllowEdit->click();
    EXPECT_NE(form->sgParameters->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(ProblemWindowTest, DoubleClickOnAValueShowsItsExactForm) {
    type(form->REditInit, "t = 0\nx = 0.1");
    type(form->REditODEs, "t' = 1\nx' = x");
    form->Compile1->trigger();
    form->edNumSteps->setText("2");
    form->btMoreBlind->click();

    auto doubleClick = [&](int row, int column) {
        emit form->sgParameters->cellDoubleClicked(row - 1, column);
    };
    doubleClick(2, 1);
    TCalcForm* exact = form->exactValueForm();
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(exact->lbVar->text().toStdString(), "x");
    EXPECT_EQ(exact->leMant->text().toStdString(), "CCCCCCCCCCCCCCCD");
    EXPECT_EQ(exact->leExp->text().toStdString(), "-3");

    // The current value is x(t) = 0.1 e^t after two steps, above the initial value.
    doubleClick(2, 2);
    Extended current = *parseNumber(exact->leDecimal->text().toStdString());
    const TCompiledProblem& problem = form->compiledProblem();
    EXPECT_EQ(current, problem.Coefficients[problem.NumConst + 1][0]);
    EXPECT_GT(current, 0.1L);

    // Tolerance columns and the multi-cell mode open nothing.
    exact->leDecimal->clear();
    doubleClick(2, 4);
    form->rbAllowMulti->click();
    doubleClick(2, 1);
    EXPECT_EQ(exact->leDecimal->text().toStdString(), "");
}

// The values take 18 digits: an enlarged grid and short names give their room to the values.
TEST_F(ProblemWindowTest, TheValueColumnsTakeTheRoomThatNamesAndTolerancesLeave) {
    type(form->REditInit, "t = 0\nx = 1");
    type(form->REditODEs, "t' = 1\nx' = -x");
    form->Compile1->trigger();
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    form->resize(1300, 800);
    form->show();
    QApplication::processEvents();
    StringGrid* grid = form->sgParameters;
    ASSERT_GT(grid->viewport()->width(), 120 + 144 + 140 + 131 + 87 + 83);
    EXPECT_LT(grid->columnWidth(0), 120);
    int gained = grid->viewport()->width() - (grid->columnWidth(0) + 144 + 140 + 131 + 87 + 83);
    EXPECT_NEAR(grid->columnWidth(1) + grid->columnWidth(2) + grid->columnWidth(3) - 415, gained,
                3);
    EXPECT_EQ(grid->columnWidth(4), 87);
}
