// The graph window: construction of its controls and menus, and the placing of the controls
// around the picture.
#include "graphics/forms/TGraphForm.h"

#include "graphics/GraphMenus.h"
#include "graphics/forms/PaintBox.h"
#include "graphics/forms/PlayBar.h"
#include "workspace/forms/KeyPreview.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/RunInputGuard.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int EditWidth = 84;

QPushButton* createButton(const QString& caption, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    return button;
}

QLineEdit* createBoundEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaximumWidth(EditWidth);
    return edit;
}

} // namespace

TGraphForm::TGraphForm(ProblemWindows& windows, Ui& ui, WorkspaceState& state, QWidget* parent)
    : QMainWindow(parent), windows_(windows), ui_(ui), state_(state),
      clock_([this] { showFrame(); }), model_(state, clock_) {
    model_.HasScreen = true;
    RunInputGuard::guardDuringRuns(*this);
    setWindowTitle("Graph");
    setCentralWidget(new QWidget(this));
    createControls();
    createMenus();
    setMinimumSize(740, 672);
    resize(1000, 720);
    new KeyPreview(this, [this](int key) { FormKeyDown(key, QApplication::keyboardModifiers()); });
}

TGraphForm::~TGraphForm() = default;

void TGraphForm::createControls() {
    QWidget* client = centralWidget();
    PaintBox1 = new PaintBox(client);
    PaintBox1->setPicture(&model_.Screen);
    connect(PaintBox1, &PaintBox::mousePressed, this, &TGraphForm::PaintBox1MouseDown);
    connect(PaintBox1, &PaintBox::mouseMoved, this, &TGraphForm::PaintBox1MouseMove);
    connect(PaintBox1, &PaintBox::mouseReleased, this, &TGraphForm::PaintBox1MouseUp);

    gbY = new QGroupBox("Y", client);
    edYmax = createBoundEdit(gbY);
    edYmin = createBoundEdit(gbY);
    auto* yLayout = new QVBoxLayout(gbY);
    yLayout->addWidget(edYmax);
    yLayout->addStretch();
    yLayout->addWidget(edYmin);

    gbX = new QGroupBox("X", client);
    edXmin = createBoundEdit(gbX);
    edXmax = createBoundEdit(gbX);
    btApplyKeyBoard = createButton("Apply", "Take the boundaries as typed (Enter)", gbX);
    btAdjust = createButton("Adjust", "Fit the boundaries to the curves", gbX);
    btWiden = createButton("Out", "Zoom out", gbX);
    btNarrow = createButton("In", "Zoom in", gbX);
    lbZoom = new QLabel("100%", gbX);
    tbPlay = new PlayBar(gbX);
    tbPlay->setVisible(false);
    tbPlay->setEnabled(false);
    auto* xRow = new QHBoxLayout;
    xRow->addWidget(edXmin);
    xRow->addStretch();
    for (QWidget* control : {static_cast<QWidget*>(btApplyKeyBoard),
                             static_cast<QWidget*>(btAdjust), static_cast<QWidget*>(btWiden),
                             static_cast<QWidget*>(btNarrow), static_cast<QWidget*>(lbZoom)})
        xRow->addWidget(control);
    xRow->addStretch();
    xRow->addWidget(edXmax);
    auto* xLayout = new QVBoxLayout(gbX);
    xLayout->setContentsMargins(4, 2, 4, 2);
    xLayout->addLayout(xRow);
    xLayout->addWidget(tbPlay);

    auto* panel = new QWidget(client);
    panel->setObjectName("panel");
    gbZedits = new QGroupBox("Z", panel);
    edZmin = createBoundEdit(gbZedits);
    edZmax = createBoundEdit(gbZedits);
    auto* zLayout = new QHBoxLayout(gbZedits);
    zLayout->addWidget(edZmin);
    zLayout->addWidget(edZmax);
    gbZedits->setVisible(false);

    auto* run = new QGroupBox("Integration", panel);
    btMore = createButton("More", "Integrate the number of steps", run);
    edSteps = new QLineEdit("1", run);
    lbSteps = new QLabel("step", run);
    cbLock = new QCheckBox("Auto", run);
    cbLock->setToolTip("Automatic integration (sec)");
    edTime = new QLineEdit("5", run);
    edTime->setToolTip("Seconds of Play and of the Auto interval");
    btRestart = createButton("Restart", "Back to the initial values", run);
    btUndo = createButton("Undo", "Undo the last More (Ctrl-Z: the last mouse placement)", run);
    btPlay = createButton("Play", "Replay the stored run in real time", run);
    lbTotal = new QLabel("Total 0", run);
    lbSec = new QLabel("(s)", run);
    lbHardTime = new QLabel(run);
    auto* runLayout = new QGridLayout(run);
    runLayout->addWidget(btMore, 0, 0);
    runLayout->addWidget(edSteps, 0, 1);
    runLayout->addWidget(lbSteps, 0, 2);
    runLayout->addWidget(cbLock, 1, 0);
    runLayout->addWidget(edTime, 1, 1);
    runLayout->addWidget(new QLabel("s", run), 1, 2);
    runLayout->addWidget(btRestart, 2, 0);
    runLayout->addWidget(btUndo, 2, 1, 1, 2);
    runLayout->addWidget(btPlay, 3, 0);
    runLayout->addWidget(lbSec, 3, 1, 1, 2);
    runLayout->addWidget(lbTotal, 4, 0, 1, 3);
    runLayout->addWidget(lbHardTime, 5, 0, 1, 3);

    rgDirection = new RadioGroup("Direction", {"Forwd", "Backwd"}, panel);
    stDirection = new QLabel(panel);
    stDirection->setAlignment(Qt::AlignCenter);
    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(rgDirection);
    directionRow->addWidget(stDirection);

    rgThick = new RadioGroup("Curves", {"Thin", "Thick"}, panel);
    rgThick->setItemIndex(0);
    cbGrid = new QCheckBox("Grid", panel);
    cbGrid->setToolTip(QString::fromStdString(gridHint(model_)));
    cbGrid->setChecked(model_.ShowGrid);
    cbCurves = new QCheckBox("Trails", panel);
    cbBullet = new QCheckBox("Bullets", panel);
    rgThick->itemLayout()->addWidget(cbGrid);
    rgThick->itemLayout()->addWidget(cbCurves);
    rgThick->itemLayout()->addWidget(cbBullet);

    rgPlotCurve = new RadioGroup("mouse click", {"None", "IVP", "Stroke"}, panel);
    rgPlotCurve->setItemIndex(0);
    memNoStorage = new QLabel("Curves will\ndisappear\nif resized!", panel);
    memNoStorage->setStyleSheet("color: red;");
    memNoStorage->setVisible(false);
    rgPlotCurve->itemLayout()->addWidget(memNoStorage);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 0, 4, 4);
    panelLayout->addWidget(gbZedits);
    panelLayout->addWidget(run);
    panelLayout->addLayout(directionRow);
    panelLayout->addWidget(rgThick);
    panelLayout->addWidget(rgPlotCurve);
    panelLayout->addStretch();
    create3DControls(panelLayout);

    Timer1 = new QTimer(this);
    tmEndResize = new QTimer(this);
    tmEndResize->setInterval(50);

    connect(btApplyKeyBoard, &QPushButton::clicked, this, &TGraphForm::btApplyKeyBoardClick);
    connect(btAdjust, &QPushButton::clicked, this, &TGraphForm::btAdjustClick);
    connect(btWiden, &QPushButton::clicked, this, &TGraphForm::btWidenClick);
    connect(btNarrow, &QPushButton::clicked, this, &TGraphForm::btNarrowClick);
    for (QLineEdit* edit : {edXmin, edXmax, edYmin, edYmax, edZmin, edZmax}) {
        connect(edit, &QLineEdit::returnPressed, this, &TGraphForm::btApplyKeyBoardClick);
        connect(edit, &QLineEdit::textEdited, this, &TGraphForm::edYmaxChange);
        edit->installEventFilter(this);
    }
    connect(btMore, &QPushButton::clicked, this, &TGraphForm::btMoreClick);
    connect(edSteps, &QLineEdit::returnPressed, this, &TGraphForm::btMoreClick);
    connect(cbLock, &QCheckBox::clicked, this, &TGraphForm::cbLockClick);
    connect(btRestart, &QPushButton::clicked, this, &TGraphForm::btRestartClick);
    connect(btUndo, &QPushButton::clicked, this, &TGraphForm::btUndoClick);
    connect(btPlay, &QPushButton::clicked, this, &TGraphForm::btPlayClick);
    connect(rgDirection, &RadioGroup::clicked, this, &TGraphForm::rgDirectionClick);
    connect(rgThick, &RadioGroup::clicked, this, &TGraphForm::rgThickClick);
    connect(cbGrid, &QCheckBox::clicked, this, &TGraphForm::rgThickClick);
    connect(cbCurves, &QCheckBox::clicked, this, &TGraphForm::rgThickClick);
    connect(cbBullet, &QCheckBox::clicked, this, &TGraphForm::rgThickClick);
    connect(rgPlotCurve, &RadioGroup::clicked, this, &TGraphForm::rgPlotCurveClick);
    connect(Timer1, &QTimer::timeout, this, &TGraphForm::Timer1Timer);
    connect(tmEndResize, &QTimer::timeout, this, &TGraphForm::tmEndResizeTimer);
}

void TGraphForm::createMenus() {
    QMenu* bounds = menuBar()->addMenu("&Sizes");
    N01011 = bounds->addAction("[0,1]×[0,1]", this, &TGraphForm::N01011Click);
    N11111 = bounds->addAction("[-1,1]×[-1,1]", this, &TGraphForm::N11111Click);
    N11011 = bounds->addAction("[-1,1]×[0,1]", this, &TGraphForm::N11011Click);
    N01111 = bounds->addAction("[0,1]×[-1,1]", this, &TGraphForm::N01111Click);
    QMenu* times = menuBar()->addMenu("&Times");
    for (double factor : {0.01, 0.1, 0.5, 2.0, 5.0, 10.0, 100.0})
        times->addAction(QString::number(factor), this, [this, factor] { timesClick(factor); });

    QMenu* view = menuBar()->addMenu("&View");
    Grid1 = view->addAction("Grid...", this, &TGraphForm::Grid1Click);
    Bulletcaliber1 = view->addAction("Bullet caliber...", this, &TGraphForm::Bulletcaliber1Click);
    Curvedensity1 = view->addAction("Curve density...", this, &TGraphForm::Curvedensity1Click);
    Firstcurvetoplot1 = view->addAction("Plot beginning with curve # ...", this,
                                        &TGraphForm::Firstcurvetoplot1Click);
    QMenu* features = view->addMenu("Plot features...");
    auto* featureGroup = new QActionGroup(this);
    auto addFeature = [&](const char* caption, void (TGraphForm::*handler)()) {
        QAction* action = features->addAction(caption, this, handler);
        action->setCheckable(true);
        featureGroup->addAction(action);
        return action;
    };
    None1 = addFeature("None", &TGraphForm::None1Click);
    Triangle1 = addFeature("Triangle", &TGraphForm::Triangle1Click);
    Doublependulum1 = addFeature("Double pendulum", &TGraphForm::Doublependulum1Click);
    // The solid bodies need the 3D view.
    Axes1 = addFeature("Axes", &TGraphForm::Axes1Click);
    Tetrahedron1 = addFeature("Tetrahedron", &TGraphForm::Tetrahedron1Click);
    Axes1->setEnabled(false);
    Tetrahedron1->setEnabled(false);
    None1->setChecked(true);
    Defaultcolors1 = view->addAction("Default colors", this, &TGraphForm::Defaultcolors1Click);
    view->addSeparator();
    XandY1 = view->addAction("X and Y", this, &TGraphForm::XandY1Click);
    XandZ1 = view->addAction("X and Z", this, &TGraphForm::XandZ1Click);
    YandZ1 = view->addAction("Y and Z", this, &TGraphForm::YandZ1Click);
    view->addSeparator();
    create3DMenus(view);
    view->addSeparator();
    Clear1 = view->addAction("Clear", this, &TGraphForm::Clear1Click);

    QMenu* window = menuBar()->addMenu("&Window");
    Constraintsonformsize1 = window->addAction("Constraints on form size", this,
                                               &TGraphForm::Constraintsonformsize1Click);
    Constraintsonformsize1->setCheckable(true);
    Constraintsonformsize1->setChecked(true);
    Mainpanel1 = window->addAction("Main panel", this, &TGraphForm::Mainpanel1Click);
    QMenu* timer = window->addMenu("Play timer");
    auto* timerGroup = new QActionGroup(this);
    Windowsmillisecondcounter1 = timer->addAction("Millisecond counter");
    Hardwaremicrosecondcounter1 = timer->addAction("Microsecond counter");
    for (QAction* action : {Windowsmillisecondcounter1, Hardwaremicrosecondcounter1}) {
        action->setCheckable(true);
        timerGroup->addAction(action);
    }
    Windowsmillisecondcounter1->setChecked(true);
    createPortraitMenu();
}

// The fixed parts stand around the picture: the Y edits on its left, the X edits below it,
// the panel of buttons at the right edge of the window.
void TGraphForm::layoutControls() {
    QWidget* client = centralWidget();
    const QSize image = PaintBox1->size();
    gbY->setGeometry(0, 0, YEditsWidth, std::max(image.height(), 120));
    PaintBox1->move(YEditsWidth + 3, 0);
    gbX->setGeometry(YEditsWidth + 3, image.height(), std::max(image.width(), 360), XEditsHeight);
    auto* panel = client->findChild<QWidget*>("panel");
    panel->setGeometry(client->width() - PanelWidth, 0, PanelWidth, client->height());
}
