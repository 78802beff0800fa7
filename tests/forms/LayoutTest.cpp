// The integration page at the window's minimum size: every digit of the grid in view, a summary
// that moves nothing, and the step factor's edit inside its caption.
#include "FormTestSupport.h"

#include "support/Paths.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

class LayoutTest : public ProblemWindowTest {
  protected:
    void showIntegrationPage() {
        form->resize(form->minimumSize());
        form->show();
        form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
        QApplication::processEvents();
    }
    int top(QWidget* widget) const { return widget->mapTo(form.get(), QPoint(0, 0)).y(); }
};

TEST_F(LayoutTest, EveryValueOfThirtyBodiesShowsWholeAtTheMinimumSize) {
    typeProblem(problemPath("nbody30_3d.ode"));
    form->Compile1->trigger();
    showIntegrationPage();
    form->edNumSteps->setText("3");
    form->btMoreBlind->click();
    QApplication::processEvents();
    StringGrid* grid = form->sgParameters;
    ASSERT_GT(grid->rowCount(), 100);
    EXPECT_EQ(grid->textElideMode(), Qt::ElideNone);
    const QFontMetrics metrics(grid->font());
    for (int row = 1; row < grid->rowCountWithHeader(); ++row)
        for (int column : {1, 2, 3}) {
            const QString value = QString::fromStdString(grid->cell(column, row));
            EXPECT_GE(grid->columnWidth(column), metrics.horizontalAdvance(value) + 6)
                << value.toStdString() << " in column " << column;
        }
}

TEST_F(LayoutTest, TheSummaryHasItsRoomAndMovesNothingBelowIt) {
    typeProblem(problemPath("lorenz.ode"));
    form->Compile1->trigger();
    showIntegrationPage();
    const int termination = top(form->cbTermination);
    const int direction = top(form->rgDirection);
    form->edNumSteps->setText("200");
    form->btMoreBlind->click();
    QApplication::processEvents();
    ASSERT_FALSE(form->lbHowMany->text().isEmpty());
    EXPECT_EQ(top(form->cbTermination), termination);
    EXPECT_EQ(top(form->rgDirection), direction);
    // The longest summary fits in its room.
    const QRect needed = form->lbHowMany->fontMetrics().boundingRect(
        QRect(0, 0, form->lbHowMany->width(), 1000), Qt::TextWordWrap,
        "2147483647 steps (2147483647 step splits).  Total: 2147483647.  Took 12345.123456 sec.");
    EXPECT_LE(needed.height(), form->lbHowMany->height());
}

TEST_F(LayoutTest, TheStepFactorEditStandsInsideItsCaption) {
    showIntegrationPage();
    QRadioButton* noControl = form->rgErrorControl->button(2);
    const QRect button(noControl->mapTo(form.get(), QPoint(0, 0)), noControl->size());
    const QRect edit(form->edCurRadFactor->mapTo(form.get(), QPoint(0, 0)),
                     form->edCurRadFactor->size());
    EXPECT_EQ(noControl->text().toStdString(), "No error control. Step  h = kR ,  k =");
    EXPECT_GE(edit.left(), button.right()) << "right of the caption";
    EXPECT_LT(std::abs(edit.center().y() - button.center().y()), button.height() / 2 + 1)
        << "on its line";
}
