// The problem window without the mouse: Tab walks each page's controls in reading order.
#include "FormTestSupport.h"

#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <vector>

namespace {

// The controls that Tab reaches on the shown page, from `first` on, in order.
std::vector<QWidget*> tabRoad(TProblForm& form, QWidget* first) {
    QWidget* page = form.PageControl1->currentWidget();
    std::vector<QWidget*> road;
    QWidget* widget = first;
    do {
        if (page->isAncestorOf(widget) && widget->isVisibleTo(&form) &&
            (widget->focusPolicy() & Qt::TabFocus))
            road.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return road;
}

} // namespace

TEST_F(ProblemWindowTest, TabWalksTheIntegrationPageInReadingOrder) {
    form->show();
    form->PageControl1->setCurrentIndex(TProblForm::IntegrationPage);
    std::vector<QWidget*> expected = {form->sgParameters,
                                      form->rbAllowEdit,
                                      form->rbAllowMulti,
                                      form->btApplyStrGrid,
                                      form->btCurToInit,
                                      form->btCopyToExcel,
                                      form->btPaste,
                                      form->btCurToClip,
                                      form->btClipToInit,
                                      form->rgErrorControl->button(0),
                                      form->rgErrorControl->button(1),
                                      form->rgErrorControl->button(2),
                                      form->edCurRadFactor,
                                      form->rgErrorControl->button(3),
                                      form->edStepTolerance,
                                      form->cbDespite,
                                      form->rgConvergence->button(0),
                                      form->rgConvergence->button(1),
                                      form->rgConvergence->button(2),
                                      form->btMoreBlind,
                                      form->edNumSteps,
                                      form->btRestart,
                                      form->cbTermination,
                                      form->edEndTime,
                                      form->rgDirection->button(0),
                                      form->rgDirection->button(1),
                                      form->edArrLen,
                                      form->cbResultArray,
                                      form->cbAuxVarsToo,
                                      form->cbCircular,
                                      form->btAppend};
    EXPECT_EQ(tabRoad(*form, form->sgParameters), expected);
}
