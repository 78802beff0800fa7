// The problem window's further windows: Open To Connect with its test of connectibility, the
// list of problem windows, and the repaint of them all.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

namespace {

// A connected problem opens a few pixels right of and below the window it was opened from.
constexpr int ConnectedWindowOffset = 15;

} // namespace

void TProblForm::Opentoconnect1Click() {
    TProblForm* active = windows_.activeWindow();
    auto path = chooseFileToOpen("Open ODEs or Run script", "Script|*.ode");
    if (!path)
        return;
    auto* connected = new TProblForm(windows_, ui_, state_);
    connected->move(active->pos() + QPoint(ConnectedWindowOffset, ConnectedWindowOffset));
    if (!connected->openProblemFile(*path)) {
        delete connected;
        return;
    }
    connected->show();
    connected->Compile1Click();
    // A problem that does not compile stays open for the user to mend.
    if (!connected->problem_.Compiled)
        return;
    if (!active->problem_.Compiled) {
        ui_.message(formatText("%s and %s must be compiled both",
                               active->windowTitle().toStdString().c_str(),
                               connected->windowTitle().toStdString().c_str()));
        return;
    }
    if (!connected->connectibleWith(*active)) {
        delete connected;
        ui_.message("Not Connectible");
        repaintAllWindows();
        return;
    }
    connected->PageControl1->setCurrentIndex(IntegrationPage);
    connected->takeStepSettingsFrom(*active);
    repaintAllWindows();
}

// Connected problems integrate the same main variables: as many, with the same names in order.
bool TProblForm::connectibleWith(const TProblForm& other) {
    return problem_.NumMain == other.problem_.NumMain && mainNames() == other.mainNames();
}

// The error control, the step factor and the tolerances of every variable; the tolerances are
// read by the next "Apply".
void TProblForm::takeStepSettingsFrom(const TProblForm& other) {
    rgErrorControl->setItemIndex(other.rgErrorControl->itemIndex());
    edCurRadFactor->setText(other.edCurRadFactor->text());
    edCurRadFactorChange();
    for (int row = 1; row <= problem_.NumMain; ++row)
        for (int column : {4, 5})
            sgParameters->setCell(column, row, other.sgParameters->cell(column, row));
}

void TProblForm::repaintAllWindows() {
    for (TProblForm* window : windows_.all())
        window->FormPaint();
}

void TProblForm::LBoxAllProblClick() {
    int row = LBoxAllProbl->currentRow();
    const std::vector<TProblForm*>& all = windows_.all();
    if (row < 0 || row >= static_cast<int>(all.size()))
        return;
    TProblForm* window = all[static_cast<std::size_t>(row)];
    window->show();
    window->raise();
    window->activateWindow();
}
