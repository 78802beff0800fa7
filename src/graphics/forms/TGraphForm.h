// The graph window: the picture of the chosen curves with its world box, zoom and panning, the
// integration and playback buttons, and the mouse placement of new initial values.
#pragma once

#include "graphics/GraphRun.h"
#include "graphics/Portrait.h"
#include "graphics/View3DCommands.h"
#include "graphics/forms/ScreenPlayClock.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class PaintBox;
class PlayBar;
class ProblemWindows;
class QAction;
class QBoxLayout;
class QMenu;
class QProgressBar;
class QRadioButton;
class QSlider;
class QActionGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RadioGroup;
class TFieldParamForm;
class TProblForm;
class Ui;
struct WorkspaceState;

class TGraphForm : public QMainWindow {
    Q_OBJECT
  public:
    TGraphForm(ProblemWindows& windows, Ui& ui, WorkspaceState& state, QWidget* parent = nullptr);
    ~TGraphForm() override;

    // "Graph" of the main window: shows the window fitted to the curves; a problem without an
    // independent variable is integrated at once, as "More" does.
    void openFromMainWindow();
    // A script's run: the window opens with the snapshot the script wrote and the script's
    // colours, and integrates the script's number of steps.
    void runScript(const std::vector<std::int32_t>& colours);
    // "Previous": the settings of the snapshot again, the problem restarted and integrated.
    void restoreSnapshot();
    // A new curve mode: default colours and an empty picture.
    void resetDrawing();
    void swapEyeColours();
    // The colour of every curve, as a script keeps them.
    std::vector<std::int32_t> curveColours() const;
    // The stereo view's eye colours, left then right.
    std::array<WinColour, 2> eyeColours() const {
        return {model_.Scene.LeftEye, model_.Scene.RightEye};
    }
    // The lasting picture (trails, grid, legend), without the bullets.
    const QImage& picture() const;

    // The image of the plot, every trail on it; the paint box shows it with the bullets.
    PaintBox* PaintBox1;
    QGroupBox* gbX;
    QGroupBox* gbY;
    QGroupBox* gbZedits;
    QLineEdit* edXmin;
    QLineEdit* edXmax;
    QLineEdit* edYmin;
    QLineEdit* edYmax;
    QLineEdit* edZmin;
    QLineEdit* edZmax;
    QPushButton* btApplyKeyBoard;
    QPushButton* btAdjust;
    QPushButton* btWiden;
    QPushButton* btNarrow;
    QLabel* lbZoom;

    QPushButton* btMore;
    QLineEdit* edSteps;
    QLabel* lbSteps;
    QCheckBox* cbLock;
    QLineEdit* edTime;
    QPushButton* btRestart;
    QPushButton* btUndo;
    QPushButton* btPlay;
    PlayBar* tbPlay;
    QLabel* lbTotal;
    QLabel* lbSec;
    QLabel* lbHardTime;
    RadioGroup* rgThick;
    QCheckBox* cbGrid;
    QCheckBox* cbCurves;
    QCheckBox* cbBullet;
    RadioGroup* rgDirection;
    QLabel* stDirection;
    RadioGroup* rgPlotCurve;
    QLabel* memNoStorage;
    QTimer* Timer1;
    QTimer* tmEndResize;

    // The 3D panel and its menu items.
    QGroupBox* gb3D;
    QRadioButton* rbStereo;
    QRadioButton* rbIsometry;
    QGroupBox* gbLR;
    QRadioButton* rbL;
    QRadioButton* rbR;
    QCheckBox* cbCube;
    QCheckBox* cbAxes;
    QCheckBox* cbTube;
    QCheckBox* cbAnchored;
    QProgressBar* pbTube;
    QSlider* tbVert;
    QSlider* tbHoriz;
    QAction* N3Dparameters1;
    QAction* Curvewidth1;
    QAction* Darkening1;

    QAction* N01011;
    QAction* N11111;
    QAction* N11011;
    QAction* N01111;
    QAction* Grid1;
    QAction* Bulletcaliber1;
    QAction* Curvedensity1;
    QAction* Firstcurvetoplot1;
    QAction* None1;
    QAction* Triangle1;
    QAction* Doublependulum1;
    QAction* Axes1;
    QAction* Tetrahedron1;
    QAction* Defaultcolors1;
    QAction* XandY1;
    QAction* XandZ1;
    QAction* YandZ1;
    QAction* Clear1;
    QAction* Constraintsonformsize1;
    QAction* Mainpanel1;
    QAction* Windowsmillisecondcounter1;
    QAction* Hardwaremicrosecondcounter1;
    QAction* Make1;
    QAction* FieldofdirectionsParams;

    // The phase-portrait designer while it is open.
    TFieldParamForm* fieldParams() const;

  public slots:
    void FormPaint(); // texts and enabled states from the problem and the picture
    void btApplyKeyBoardClick();
    void btAdjustClick();
    void btWidenClick();
    void btNarrowClick();
    void btMoreClick();
    void btRestartClick();
    void btUndoClick();
    void btPlayClick();
    void Clear1Click();
    void rbIsometryClick();
    void cbTubeClick();
    void cbAnchoredClick();
    void tbVertUp();
    void tbHorizUp();
    void N3Dparameters1Click();
    void Make1Click();
    void FieldofdirectionsParamsClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private slots:
    void N01011Click();
    void N11111Click();
    void N11011Click();
    void N01111Click();
    void Grid1Click();
    void rgThickClick();
    void Bulletcaliber1Click();
    void Curvedensity1Click();
    void Firstcurvetoplot1Click();
    void None1Click();
    void Triangle1Click();
    void Doublependulum1Click();
    void Axes1Click();
    void Tetrahedron1Click();
    void Defaultcolors1Click();
    void XandY1Click();
    void XandZ1Click();
    void YandZ1Click();
    void Constraintsonformsize1Click();
    void Mainpanel1Click();
    void rgDirectionClick();
    void edYmaxChange();
    void cbLockClick();
    void Timer1Timer();
    void tmEndResizeTimer();
    void rgPlotCurveClick();
    void PaintBox1MouseDown(QMouseEvent* event);
    void PaintBox1MouseMove(QMouseEvent* event);
    void PaintBox1MouseUp(QMouseEvent* event);

  private:
    // Sizes of the fixed parts around the picture.
    static constexpr int YEditsWidth = 96;
    static constexpr int PanelWidth = 210;
    static constexpr int XEditsHeight = 74;

    void createControls();
    void createMenus();
    void FormShow();
    void FormResize();
    void FormDeactivate();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void stopAuto();
    void closeWindowsLeftDuringRun();

    TProblForm* source() const; // the compiled problem window the graph draws, if any
    GraphProblem graphProblem() const;
    ValueReader valueReader() const;
    std::array<QLineEdit*, 6> boundEdits() const;
    BoundTexts boundTexts() const;
    void setBoundTexts(const BoundTexts& texts);
    void takeArea();
    void showWorld();
    void showPicture();
    void layoutControls();
    void layoutPicture();
    void replot();
    void restoreBackup();
    void zoom(Extended factor);
    void sizesClick(int preset);
    void timesClick(double factor);
    void readTime();
    void showFrame();
    void takeSnapshotSettings();
    void applyAndIntegrate(bool restartFirst);
    void refreshDirectionSign();
    void setFeature(PlotFeature feature);
    void showFeature(PlotFeature feature); // checks its menu item
    void swapAxes(int first, int second);
    std::optional<std::int32_t> placedCurve() const;
    void chooseLegendColour(QPoint at);
    void placeInitialValues();
    void create3DControls(QBoxLayout* panelLayout);
    void create3DMenus(QMenu* view);
    void refresh3D();
    void takeScene();
    void turn(TurnAxis axis, int position);
    void redo3D();
    void after3DDrawing();
    void showTubeProgress();
    bool moveCursor(QPoint at);
    void showMainGraphPage(); // the main window forward on its "Graph setting" page

    // Phase portraits.
    void createPortraitMenu();
    void openDesigner();
    void releaseDesigner();
    bool readDesigner(); // false after "Wrong field parameters values"
    void chooseStrokeColour();
    void makePortraitNow(PortraitMode mode);
    void strokeAtPointer();

    ProblemWindows& windows_;
    Ui& ui_;
    WorkspaceState& state_;
    ScreenPlayClock clock_;
    GraphModel model_;
    bool resizing_ = false;       // a resize came since the timer's last tick
    bool openedByScript_ = false; // the script sets the window up; showing leaves it alone
    bool playing_ = false;
    std::chrono::steady_clock::time_point lastFrame_{};
    QPoint dragFrom_;
    bool dragging_ = false;
    WorldPoint pointer_; // the world point under the mouse, where a placement puts the curve
    QPoint cursorAt_;    // the pointer's last position, where the wheel moves the 3D cursor
    WinColour leftEye_ = LeftEyeColour, rightEye_ = RightEyeColour;
    PortraitParams portrait_;
    QPointer<TFieldParamForm> designer_;
};
