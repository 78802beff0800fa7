// The graph window's 3D panel: stereo or axonometric view, cage, axes, tubes, the rotation
// centre, the two track bars, the 3D form, and the 3D cursor with the wheel.
#include "graphics/forms/TGraphForm.h"

#include "graphics/GraphTexts.h"
#include "graphics/forms/PaintBox.h"
#include "graphics/forms/TForm3D.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TProblForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

QSlider* createTrackBar(Qt::Orientation orientation, const QString& hint, QWidget* parent) {
    auto* bar = new QSlider(orientation, parent);
    bar->setRange(-90, 90);
    bar->setValue(0);
    bar->setToolTip(hint);
    return bar;
}

} // namespace

void TGraphForm::create3DControls(QBoxLayout* panelLayout) {
    gb3D = new QGroupBox("3D", panelLayout->parentWidget());
    rbStereo = new QRadioButton("Stereo", gb3D);
    rbIsometry = new QRadioButton("Axonomet", gb3D);
    rbStereo->setChecked(true);
    gbLR = new QGroupBox(gb3D);
    rbL = new QRadioButton("L", gbLR);
    rbR = new QRadioButton("R", gbLR);
    rbR->setChecked(true);
    gbLR->setFlat(true);
    auto* lrLayout = new QVBoxLayout(gbLR);
    lrLayout->setContentsMargins(2, 0, 2, 0);
    lrLayout->addWidget(rbL);
    lrLayout->addWidget(rbR);
    gbLR->setMinimumHeight(gbLR->sizeHint().height());
    gbLR->setVisible(false);
    cbCube = new QCheckBox("Cage On", gb3D);
    cbAxes = new QCheckBox("Axes On", gb3D);
    cbTube = new QCheckBox("Tube On", gb3D);
    cbAnchored = new QCheckBox("Anchored", gb3D);
    cbAnchored->setChecked(true);
    cbAnchored->setToolTip("Rotation center anchored");
    pbTube = new QProgressBar(gb3D);
    pbTube->setRange(0, 100);
    pbTube->setTextVisible(false);
    pbTube->setMaximumHeight(8);
    pbTube->setVisible(false);
    tbVert = createTrackBar(Qt::Vertical, "Turn around axis parallel Ox ", gb3D);
    tbHoriz = createTrackBar(Qt::Horizontal, "Turn around axis parallel Oy", gb3D);
    tbVert->setMaximumHeight(100);

    auto* layout = new QGridLayout(gb3D);
    layout->setContentsMargins(4, 2, 4, 2);
    // The eye choice stands beside the mode; the vertical track bar at the right.
    layout->addWidget(rbStereo, 0, 0);
    layout->addWidget(rbIsometry, 1, 0);
    layout->addWidget(gbLR, 0, 1, 2, 1);
    layout->addWidget(cbCube, 2, 0);
    layout->addWidget(cbAxes, 3, 0);
    layout->addWidget(cbTube, 4, 0);
    layout->addWidget(cbAnchored, 5, 0);
    layout->addWidget(tbVert, 0, 2, 6, 1, Qt::AlignHCenter);
    layout->addWidget(tbHoriz, 6, 0, 1, 3);
    layout->addWidget(pbTube, 7, 0, 1, 3);
    gb3D->setVisible(false);
    panelLayout->insertWidget(1, gb3D);

    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{rbIsometry, rbStereo, cbCube, rbL, rbR, cbAxes})
        connect(button, &QAbstractButton::clicked, this, &TGraphForm::rbIsometryClick);
    connect(cbTube, &QCheckBox::clicked, this, &TGraphForm::cbTubeClick);
    connect(cbAnchored, &QCheckBox::clicked, this, &TGraphForm::cbAnchoredClick);
    // A drag turns when the bar is let go; clicks on the track and keys turn at once.
    connect(tbVert, &QSlider::sliderReleased, this, &TGraphForm::tbVertUp);
    connect(tbHoriz, &QSlider::sliderReleased, this, &TGraphForm::tbHorizUp);
    connect(tbVert, &QSlider::valueChanged, this, [this] {
        if (!tbVert->isSliderDown())
            tbVertUp();
    });
    connect(tbHoriz, &QSlider::valueChanged, this, [this] {
        if (!tbHoriz->isSliderDown())
            tbHorizUp();
    });
}

void TGraphForm::create3DMenus(QMenu* view) {
    N3Dparameters1 = view->addAction("3D Scene ", this, &TGraphForm::N3Dparameters1Click);
    QMenu* tube = view->addMenu("Tube plot");
    Curvewidth1 = tube->addAction("Curve width...", this, &TGraphForm::Bulletcaliber1Click);
    Darkening1 = tube->addAction("Darkening", this, [this] {
        model_.Scene.Darkening = Darkening1->isChecked();
        redo3D();
    });
    Darkening1->setCheckable(true);
    Darkening1->setChecked(model_.Scene.Darkening);
}

// FormPaint's share: the 3D panel and items only in 3D, the eye choice only in axonometric mode.
void TGraphForm::refresh3D() {
    const bool threeD = state_.Curves.ThreeD;
    gb3D->setVisible(threeD);
    gbLR->setVisible(rbIsometry->isChecked());
    N3Dparameters1->setEnabled(threeD);
    Axes1->setEnabled(threeD);
    Tetrahedron1->setEnabled(threeD);
}

// The panel's choices into the model's scene.
void TGraphForm::takeScene() {
    Scene3D& scene = model_.Scene;
    scene.Mode = rbStereo->isChecked() ? ViewMode::Stereo
                 : rbL->isChecked()    ? ViewMode::LeftEye
                                       : ViewMode::RightEye;
    scene.Cage = cbCube->isChecked();
    scene.Axes = cbAxes->isChecked();
    scene.Anchored = cbAnchored->isChecked();
}

void TGraphForm::rbIsometryClick() {
    stopAuto();
    gbLR->setVisible(rbIsometry->isChecked());
    takeScene();
    cbTubeClick();
}

void TGraphForm::cbTubeClick() {
    stopAuto();
    takeScene();
    pbTube->setVisible(cbTube->isChecked());
    if (!source() || !state_.Curves.ThreeD)
        return;
    GraphProblem graph = graphProblem();
    switchTube(model_, graph, ui_, cbTube->isChecked());
    cbBullet->setChecked(model_.ShowBullets);
    after3DDrawing();
}

void TGraphForm::cbAnchoredClick() {
    cbAnchored->setToolTip(cbAnchored->isChecked() ? "Rotation center anchored"
                                                   : "Rotation center moves");
    model_.Scene.Anchored = cbAnchored->isChecked();
}

void TGraphForm::turn(TurnAxis axis, int position) {
    stopAuto();
    gbZedits->setFocus();
    if (!source())
        return;
    GraphProblem graph = graphProblem();
    turnByTrackBar(model_, graph, ui_, axis, position);
    after3DDrawing();
}

void TGraphForm::tbVertUp() {
    turn(TurnAxis::Vertical, tbVert->value());
}

void TGraphForm::tbHorizUp() {
    turn(TurnAxis::Horizontal, tbHoriz->value());
}

void TGraphForm::redo3D() {
    stopAuto();
    if (!source())
        return;
    GraphProblem graph = graphProblem();
    redoView(model_, graph, ui_);
    after3DDrawing();
}

void TGraphForm::N3Dparameters1Click() {
    stopAuto();
    if (!source())
        return;
    GraphProblem graph = graphProblem();
    TForm3D form(model_, graph, ui_, this);
    if (form.exec() == QDialog::Accepted) {
        const QSignalBlocker blockHoriz(tbHoriz), blockVert(tbVert);
        tbHoriz->setValue(trackBarPosition(model_.View.Params.Beta));
        tbVert->setValue(trackBarPosition(model_.View.Params.Alpha));
    }
    if (state_.Curves.ThreeD)
        after3DDrawing();
}

// A point that could not be projected closes the window (the message is shown by then).
void TGraphForm::after3DDrawing() {
    if (model_.View.Failed) {
        model_.View.Failed = false;
        unsetCursor();
        close();
        return;
    }
    showWorld();
}

void TGraphForm::showTubeProgress() {
    if (pbTube->isVisible() && model_.TotalSpan != 0)
        pbTube->setValue(static_cast<int>(100 * model_.Played / model_.TotalSpan));
}

// Stereo mode: the mouse moves the 3D cursor; the caption shows its point, and the program beeps
// when both crosses sit on a curve of their eye's colour.
bool TGraphForm::moveCursor(QPoint at) {
    if (!state_.Curves.ThreeD || !model_.Scene.stereo())
        return false;
    cursorAt_ = at;
    const CursorMove move = moveCursor3D(model_, at.x(), at.y());
    if (TProblForm* main = windows_.mainWindow())
        setWindowTitle(QString::fromStdString(
            cursorCaption(main->windowTitle().toStdString(), main->lbDt->text().toStdString(),
                          main->lbIncrease->text().toStdString(), move)));
    if (move.Touches)
        QApplication::beep();
    PaintBox1->update();
    return true;
}

void TGraphForm::wheelEvent(QWheelEvent* event) {
    if (!state_.Curves.ThreeD || !model_.Scene.stereo() || !model_.World.LayoutValid) {
        QMainWindow::wheelEvent(event);
        return;
    }
    model_.View.moveCursorDepth(event->angleDelta().y() < 0);
    moveCursor(cursorAt_);
    event->accept();
}
