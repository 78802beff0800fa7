// The graph window's life: showing, resizing with its pause, leaving (the snapshot), keys,
// the Auto timer, the size constraints and the way back to the main window.
#include "graphics/forms/TGraphForm.h"

#include "graphics/GraphRun.h"
#include "graphics/forms/PaintBox.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TProblForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTimer>

void TGraphForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

// Every resize restarts the wait; the layout runs once, on the first quiet tick after them.
void TGraphForm::FormResize() {
    resizing_ = true;
    tmEndResize->start();
}

void TGraphForm::tmEndResizeTimer() {
    // A run draws into the picture as it is laid out: the new layout waits for its end.
    if (state_.Busy)
        return;
    if (resizing_) {
        resizing_ = false;
        return;
    }
    tmEndResize->stop();
    layoutPicture();
}

void TGraphForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        FormDeactivate();
    QMainWindow::changeEvent(event);
}

void TGraphForm::stopAuto() {
    cbLock->setChecked(false);
    Timer1->stop();
}

void TGraphForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    stopAuto();
    if (key == Qt::Key_Escape)
        state_.Interrupt = true;
    else if (key == Qt::Key_Z && (modifiers & Qt::ControlModifier))
        restoreBackup();
    else if (key == Qt::Key_Menu)
        Mainpanel1Click();
}

void TGraphForm::cbLockClick() {
    if (!cbLock->isChecked()) {
        Timer1->stop();
        return;
    }
    readTime();
    Timer1->setInterval(std::max(0, static_cast<int>(std::lround(model_.PlayDuration * 1000))));
    Timer1->start();
}

void TGraphForm::Timer1Timer() {
    btMoreClick();
}

void TGraphForm::Constraintsonformsize1Click() {
    stopAuto();
    if (Constraintsonformsize1->isChecked())
        setMinimumSize(740, 642);
    else
        setMinimumSize(0, 0);
}

void TGraphForm::Mainpanel1Click() {
    stopAuto();
    if (TProblForm* main = windows_.mainWindow()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
}

// Entering a boundary edit shows the bound in full, as its hint holds it.
bool TGraphForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && !edit->toolTip().isEmpty())
            edit->setText(edit->toolTip());
    return QMainWindow::eventFilter(watched, event);
}

// The end of a resize: the picture takes the new area and is drawn again.
void TGraphForm::layoutPicture() {
    takeArea();
    if (TProblForm* window = source(); window && model_.World.BoundsValid) {
        GraphProblem graph = graphProblem();
        relayout(model_, graph, ui_);
        model_.drawLegend();
    }
    showPicture();
}

void TGraphForm::restoreBackup() {
    if (model_.Backup.size() != model_.Image.size())
        return;
    model_.Image = model_.Backup;
    model_.copyImageToScreen();
    PaintBox1->update();
}
