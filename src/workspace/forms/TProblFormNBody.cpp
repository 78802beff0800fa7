// The problem window's "Set n-body problem" menu: the gravitational n-body problem written into
// the panes, planar or spatial, starting on elliptic or circular orbits.
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "tools/NBodyGenerator.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

#include <cmath>
#include <limits>

namespace {

// A pair of exclusive radio items in a submenu, the first one checked.
std::pair<QAction*, QAction*> radioPair(QMenu* menu, const char* first, const char* second) {
    auto* group = new QActionGroup(menu);
    QAction* a = menu->addAction(first);
    QAction* b = menu->addAction(second);
    for (QAction* action : {a, b}) {
        action->setCheckable(true);
        group->addAction(action);
    }
    a->setChecked(true);
    return {a, b};
}

} // namespace

void TProblForm::createNBodyMenu() {
    QMenu* nbody = menuBar()->addMenu("Set n-body problem");
    std::tie(Planar2D1, Spatial3D1) =
        radioPair(nbody->addMenu("Planar or spatial?"), "Planar (2D)", "Spatial (3D)");
    std::tie(Spelledout1, Designed1) =
        radioPair(nbody->addMenu("Polynomials..."), "Spelled out", "Designed");
    nbody->addSeparator();
    Elliptic1 = nbody->addAction("Elliptic", this, &TProblForm::Elliptic1Click);
    Circularchoreography1 =
        nbody->addAction("Circular choreography", this, &TProblForm::Circularchoreography1Click);
    // A numbered orbit from a catalogue list, through the numbered-sample runner.
    Choosefromalist1 =
        nbody->addAction("Choose from a list", this, &TProblForm::Choosefromalist1Click);
}

void TProblForm::Elliptic1Click() {
    setNBodyClick(NBodyMotion::Elliptic);
}

void TProblForm::Circularchoreography1Click() {
    setNBodyClick(NBodyMotion::CircularChoreography);
}

// The count is asked and checked before the problem is cleared, so that a wrong count or a
// cancelled box leaves the user's problem as it was.
void TProblForm::setNBodyClick(NBodyMotion motion) {
    if (!confirmDiscard())
        return;
    std::optional<std::string> answer;
    {
        BusyCursor busy;
        answer = ui_.inputBox("n-body problem", "Enter number of bodies", "5");
    }
    const auto count = answer ? parseTrimmedNumber(*answer) : std::nullopt;
    if (!count)
        return;
    NBodyOptions options;
    options.Spatial = Spatial3D1->isChecked();
    options.Motion = motion;
    options.Designed = Designed1->isChecked();
    // Counts that are no whole number in range are refused as such.
    options.Bodies =
        std::fabs(*count) < std::numeric_limits<int>::max() && std::trunc(*count) == *count
            ? static_cast<int>(*count)
            : std::numeric_limits<int>::max();
    ProblemDocument generated = document_;
    if (!setNBodyProblem(generated, options, ui_))
        return;
    if (isMainWindow())
        closeOtherWindows();
    clearProblem();
    generated.Caption = windowTitle().toStdString();
    showDocument(generated);
    setModified(true);
    rbDegrees->setChecked(true);
    rbDegreesClick();
    PageControl1->setCurrentIndex(EquationsPage);
}
