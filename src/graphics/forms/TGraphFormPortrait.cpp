// The graph window's phase portraits: the "Phase portrait" menu, the designer's lifecycle, the
// grid with its progress on the play bar, and strokes placed with the mouse.
#include "graphics/forms/TGraphForm.h"

#include "graphics/GraphTexts.h"
#include "graphics/Portrait.h"
#include "graphics/forms/PaintBox.h"
#include "graphics/forms/PlayBar.h"
#include "graphics/forms/TFieldParamForm.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/BusyCursor.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/TProblForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTabWidget>

void TGraphForm::createPortraitMenu() {
    QMenu* portrait = menuBar()->addMenu("&Phase portrait");
    Make1 = portrait->addAction("Make (by default)", this, &TGraphForm::Make1Click);
    FieldofdirectionsParams = portrait->addAction("Phase portrait designer", this,
                                                  &TGraphForm::FieldofdirectionsParamsClick);
}

void TGraphForm::showMainGraphPage() {
    TProblForm* main = windows_.mainWindow();
    main->show();
    main->raise();
    main->PageControl1->setCurrentIndex(TProblForm::GraphPage);
}

void TGraphForm::Make1Click() {
    stopAuto();
    memNoStorage->setVisible(true);
    makePortraitNow(PortraitMode::Grid);
}

void TGraphForm::FieldofdirectionsParamsClick() {
    stopAuto();
    memNoStorage->setVisible(true);
    openDesigner();
}

void TGraphForm::openDesigner() {
    if (!designer_) {
        TFieldParamForm::Actions actions{[this] { return readDesigner(); },
                                         [this] { makePortraitNow(PortraitMode::Grid); },
                                         [this] { chooseStrokeColour(); }};
        designer_ = new TFieldParamForm(std::move(actions), this);
        designer_->FormCreate(portrait_, model_.Colours.rgb(0));
    }
    designer_->show();
    activateWindow(); // the designer stays beside the graph, which keeps the focus
}

void TGraphForm::releaseDesigner() {
    if (designer_)
        designer_->deleteLater();
    designer_ = nullptr;
}

bool TGraphForm::readDesigner() {
    return !designer_ || readPortraitParams(designer_->texts(), portrait_, ui_);
}

void TGraphForm::chooseStrokeColour() {
    const auto colour = ui_.chooseColour(model_.Colours.colour(0));
    if (!colour)
        return;
    model_.Colours.setColour(0, *colour);
    model_.rebuildBullets();
    if (designer_)
        designer_->showColour(model_.Colours.rgb(0));
}

void TGraphForm::makePortraitNow(PortraitMode mode) {
    TProblForm* window = source();
    if (!window || !model_.World.LayoutValid)
        return;
    activateWindow();
    stopAuto();
    if (!readDesigner())
        return;
    PortraitRequest request;
    request.Mode = mode;
    request.Point = {pointer_.x, pointer_.y, 0};
    if (mode == PortraitMode::Grid && designer_ && portrait_.UseTable)
        request.Table = tablePoints(designer_->pointLines());
    request.Progress = [this](std::int64_t position, std::int64_t max) {
        tbPlay->setTicks({});
        tbPlay->setRange(0, static_cast<int>(max));
        tbPlay->setValue(static_cast<int>(position));
        tbPlay->setVisible(true);
    };
    GraphProblem graph = graphProblem();
    PortraitOutcome outcome;
    {
        BusyCursor busy;
        RunInputGuard guard;
        outcome = makePortrait(model_, graph, ui_, portrait_, request);
    }
    tbPlay->setVisible(false);
    closeWindowsLeftDuringRun();
    if (outcome.End == PortraitEnd::Refused) {
        showMainGraphPage();
        return;
    }
    {
        // The stored run is gone: the main window's Results box follows.
        QSignalBlocker blocker(window->cbResultArray);
        window->cbResultArray->setChecked(false);
    }
    if (outcome.End == PortraitEnd::Declined) {
        openDesigner();
        return;
    }
    if (mode == PortraitMode::Stroke && designer_)
        designer_->appendPoint(tablePointText(request.Point));
    lbSec->setText(QString::fromStdString(secondsText(outcome.Seconds)));
    window->FormPaint();
    FormPaint();
    PaintBox1->update();
}

// A left click with "Stroke": one stroke through the pointer's point, once the designer is open.
void TGraphForm::strokeAtPointer() {
    if (!designer_) {
        ui_.message("Phase portrait form is needed and will be opened");
        openDesigner();
        return;
    }
    if (designer_->isVisible())
        makePortraitNow(PortraitMode::Stroke);
}

TFieldParamForm* TGraphForm::fieldParams() const {
    return designer_;
}
