// The problem window: four panes for the problem's text, the debugging view, the integration
// settings with the parameters grid, and the menu of every command on a problem.
#pragma once

#include "compiler/CompileDriver.h"
#include "compiler/CompiledProblem.h"
#include "workspace/CurveTable.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ScriptFile.h"

#include <QMainWindow>

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct DemoItem;
struct SampleCatalog;
struct SampleOrbit;
class TRunSamplesForm;
class TProfileForm;
struct ProfileSource;
class FailureLogForm;
enum class NBodyMotion;
class ProblemWindows;
struct PaneLine;
struct RunOutcome;
struct WorkspaceState;
class QAction;
class QCheckBox;
class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class RadioGroup;
class StringGrid;
class TCalcForm;
class TPolyDesignForm;
class Ui;

class TProblForm : public QMainWindow {
    Q_OBJECT
  public:
    TProblForm(ProblemWindows& windows, Ui& ui, WorkspaceState& state, QWidget* parent = nullptr);
    ~TProblForm() override;

    bool isMainWindow() const;
    const TCompiledProblem& compiledProblem() const { return problem_; }
    TCompiledProblem& compiledProblem() { return problem_; } // the graph window integrates it
    // The variables of the curve page, main ones first (column 0 of sgFuncSel).
    std::vector<std::string> curveNames() const;
    // LBoxCurves from the curve table.
    void showCurveList();
    bool modified() const;
    // The designed polynomials of this problem, as the designer edits them.
    std::vector<DesignedPolynomial>& designedPolynomials() { return document_.Polynomials; }
    // A designed polynomial changed: the problem is changed as by an edit of a pane (no longer
    // compiled, to be saved).
    void polynomialsEdited();
    TPolyDesignForm* polyDesigner() const { return polyDesigner_; }
    // The switch board's hand-over: this window continues from the state `source` reached.
    // False after "Not connectible" or the message that both must be compiled.
    bool switchFrom(TProblForm& source);
    std::string filePath() const { return filePath_; }

    // Page indexes of PageControl1.
    enum Page { EquationsPage = 0, DebuggingPage = 1, IntegrationPage = 2, GraphPage = 3 };

    // Panes.
    QPlainTextEdit* REditConst;
    QPlainTextEdit* REditInit;
    QPlainTextEdit* REditAux;
    QPlainTextEdit* REditODEs;
    QGroupBox* gbConstants;
    QGroupBox* gbInitial;
    QGroupBox* gbAuxVars;
    QGroupBox* gbODEs;
    QSplitter* splitterLeft;  // between constants and initial values
    QSplitter* splitterRight; // between auxiliary variables and ODEs
    QGroupBox* gbDifFunc;
    QRadioButton* rbDegrees;
    QRadioButton* rbRadians;
    QPushButton* btPolynomial; // "Fill in": the polynomial designer

    QTabWidget* PageControl1;

    // Debugging page.
    StringGrid* sgDebug;
    RadioGroup* rgView;
    QRadioButton* rbCoeff;
    QRadioButton* rbDerivatives;
    QSpinBox* SpinEdit1;
    QLabel* stOf;
    QListWidget* lboxInstructions;
    RadioGroup* rgWhichInstrSet;
    QLabel* lbDebugInstr;
    QLabel* stDebugInstr;
    QLabel* stSourceLine;
    QPushButton* btToEquations;
    QPushButton* btCopyDebug;
    QCheckBox* cbShowProfile;

    // Integration setting page.
    StringGrid* sgParameters;
    QRadioButton* rbAllowEdit;
    QRadioButton* rbAllowMulti;
    QPushButton* btApplyStrGrid;
    QPushButton* btCurToInit;
    QPushButton* btCopyToExcel;
    QPushButton* btPaste;
    QPushButton* btCurToClip;
    QPushButton* btClipToInit;
    QLabel* StaticTextClipBoard;
    RadioGroup* rgErrorControl;
    QLineEdit* edCurRadFactor;
    QLineEdit* edStepTolerance; // E of "Tolerance per step"
    QLabel* lbStep;             // the step chosen for the next step, on the integration page
    QLabel* lbDebugStep;        // the same on the debugging page
    QCheckBox* cbDespite;
    QLabel* lbRadLim;
    RadioGroup* rgConvergence;
    QLabel* lbConvRad;
    QLabel* lbDifOrder;
    QLineEdit* edNumSteps;
    QLabel* lbSteps;
    QPushButton* btMoreBlind;
    QPushButton* btRestart;
    QPushButton* btSwitch; // the switch board
    QProgressBar* ProgressBar1;
    QProgressBar* PrBarComp;
    QLabel* lbHowMany;
    QCheckBox* cbTermination;
    QLineEdit* edEndTime;
    QLabel* lbUntilReached;
    RadioGroup* rgDirection;
    QLabel* lbDt;
    QLabel* lbIncrease;
    QLabel* stSpecPoint;
    QLabel* lbNotCurrentProblem;
    QLabel* Panel2;
    QGroupBox* gbResultArr;
    QLineEdit* edArrLen;
    QCheckBox* cbResultArray;
    QCheckBox* cbAuxVarsToo;
    QCheckBox* cbCircular;
    QPushButton* btAppend;
    QLabel* lbResArray;
    QLabel* lbStoreHint; // why Save Data and Save Script are grey
    QProgressBar* pbMemory;
    QGroupBox* gbAllProbl;
    QListWidget* LBoxAllProbl;

    // Graph setting page (its tab shows while the main window's problem is compiled).
    StringGrid* sgFuncSel;
    QLabel* lbXYZ;
    QListWidget* LBoxCurves;
    QPushButton* btXYZcurve;
    QPushButton* btGrClear;
    QPushButton* btPrevious;
    QRadioButton* rb2D;
    QRadioButton* rb3D;
    QGroupBox* gbGlasses;
    QRadioButton* rbLeftEye;
    QRadioButton* rbRightEye;
    QPushButton* btGraph;

    // Menu commands.
    QAction* New1;
    QAction* Open1;
    QAction* Openscript1;
    QAction* Opentoconnect1;
    QAction* InAnotherVariable1;
    QAction* Savescript1;
    QMenu* Savetoclipboard1;
    QAction* Scriptpath1;
    QAction* Scriptcommandline1;
    QAction* Savedata1;
    QAction* Loaddata1;
    QAction* AssumeconvradiusAsRadiuslimit1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* Print1;
    QAction* Exit1;
    QAction* Compile1;
    QAction* Clear1;
    QAction* Changeorder1;
    QAction* ConvergenceRadiusLimit1;
    QAction* Font1;
    QAction* Graph1;
    QAction* About1;
    // "Set n-body problem".
    QAction* Planar2D1;
    QAction* Spatial3D1;
    QAction* Elliptic1;
    QAction* Circularchoreography1;
    QAction* Spelledout1;
    QAction* Designed1;
    QAction* Choosefromalist1;

  public slots:
    // The command-line file, once, when the main window first comes up.
    void openPendingStartupFile();
    void FormPaint();           // refreshes every control from the problem and the program state
    bool btApplyStrGridClick(); // false when a cell was refused

    void Compile1Click();
    void New1Click();
    void Open1Click();
    void Openscript1Click();
    void Opentoconnect1Click();
    void InAnotherVariable1Click();
    void Savescript1Click();
    void Scriptpath1Click();
    void Scriptcommandline1Click();
    void Save1Click();
    void SaveAs1Click();
    void Print1Click();
    void Savedata1Click();
    void Loaddata1Click();
    void Clear1Click();
    void Font1Click();
    void Graph1Click();
    void btRestartClick();
    void Elliptic1Click();
    void Circularchoreography1Click();
    void btPolynomialClick();
    void btSwitchClick();
    // Closes the windows whose closing waited for the end of a run.
    void closeWindowsLeftDuringRun();

    // Runs a script: `name` is a full path, or a name below the program's "Samples" folder.
    void runScript(const std::string& name, bool fullPath);
    void Loadscriptlist1Click();
    void Choosefromalist1Click();
    void runNumberedSample(const SampleCatalog& catalog, const SampleOrbit& orbit);
    // The failed error tests passed over with "Go despite error"; null until first shown.
    FailureLogForm* failureLog() const { return failureLog_; }
    TCalcForm* exactValueForm() const { return exactValueForm_; }
    TProfileForm* profileForm() const { return profileForm_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void REditConstChange();
    void sgParametersSetEditText(int row, int column);
    void sgParametersDblClick(int row, int column);
    void LBoxAllProblClick();
    void cbDespiteClick();
    void rbAllowEditClick();
    void rbDegreesClick();
    void rgViewClick();
    void SpinEdit1Change();
    void rgWhichInstrSetClick();
    void lboxInstructionsClick();
    void sgDebugDblClick(int row, int column);
    void btToEquationsClick();
    void btCopyToExcelClick();
    void cbShowProfileClick();
    void btCurToInitClick();
    void btMoreBlindClick();
    void cbTerminationClick();
    void edEndTimeChange();
    void rgDirectionClick();
    void rgErrorControlClick();
    void edCurRadFactorChange();
    void edStepToleranceChange();
    void lbRadLimClick();
    void rgConvergenceClick();
    void Changeorder1Click();
    void cbResultArrayClick();
    void cbAuxVarsTooClick();
    void cbCircularClick();
    void edArrLenChange();
    void btAppendClick();
    void btCurToClipClick();
    void btClipToInitClick();
    void btPasteClick();
    void PageControl1Change();
    void splitterLeftMoved();
    void splitterRightMoved();
    void sgFuncSelClick(int row, int column);
    void sgFuncSelTopLeftChanged();
    void btXYZcurveClick();
    void btGrClearClick();
    void btPreviousClick();
    void rb2DClick();
    void rb3DClick();
    void gbGlassesClick();

  private:
    void FormCreate();
    void FormActivate();
    void createPanesPage();
    void createDebuggingPage();
    void createIntegrationPage();
    void createGraphPage();
    QWidget* createParametersGroup();
    QWidget* createStepControlGroup();
    QWidget* createRunGroup();
    QWidget* createResultArrayGroup();
    void createMenus();
    void createDemoMenu();
    void addHelpTopics(QMenu* help);
    void runDemoItem(const DemoItem& item);
    void showRunner(const SampleCatalog& catalog);
    void createNBodyMenu();
    void setNBodyClick(NBodyMotion motion);
    void clearProblem();
    FormulaPreparation polynomialPreparation();
    void showPolynomialInDesigner(int polynomial);
    void refreshPolyDesigner();
    void setTabOrderChain(std::initializer_list<QWidget*> widgets);
    void writeParametersHeader();

    void REditInitEnter();
    void REditODEsEnter();
    void sgParametersMouseUp();
    void offerApply();
    void applyFont(const QFont& font);
    void FormKeyDown(int key);
    void fillDebugGrid();
    void listInstructions();
    const std::vector<TInstruction>& chosenInstructionSet() const;
    std::vector<std::span<const Extended>> storedPointEntries(int point) const;
    ProfileSource profileSource() const; // the debugging view's variables for the profile
    void selectFormulaInPanes(int formula, const std::string& errorText);
    void selectPaneLine(const PaneLine& place, const std::string& errorText);
    std::string paneLineText(int formula) const;
    QPlainTextEdit* paneWidget(int pane) const;
    void compileProblem(bool full);
    void removeBlankPaneLines();
    void writeMainNames(const std::vector<std::string>& mainNames);
    void showCompiledProblem(const std::vector<std::string>& mainNames);
    void showEvaluationFailure(const std::string& report, int instruction, bool activeList);
    int termCount() const;
    std::vector<std::string> mainNames() const;
    bool readParametersGrid();
    void syncStepSettings();
    void showCurrentValues();
    void forgetShownValues();
    void showWhyNothingIsStored(bool compiled, bool stored);
    void createResultArray();
    std::string clipboardPath() const;
    void refreshClipboardIndicator();
    void stSpecPointMouseDown();
    ProblemDocument documentFromPanes() const;
    void showDocument(const ProblemDocument& document);
    void prepareForNewProblem();
    bool openProblemFile(const std::string& path);
    std::optional<std::string> chooseFileToOpen(const std::string& title,
                                                const std::string& filter);
    bool saveProblemAs(const std::string& fileName);
    void openSpecialPoint(int differentiate);
    void openStartupFile(const std::string& argument);
    void StaticTextClipBoardMouseDown(Qt::KeyboardModifiers modifiers);
    void resetCompiledState();
    bool connectibleWith(const TProblForm& other);
    std::optional<std::size_t> variableLineChosen();
    void takeStepSettingsFrom(const TProblForm& other);
    void repaintAllWindows();
    void showScriptSettings(const ScriptRecord& record);
    bool takeScriptCurves(const ScriptRecord& record);
    ScriptRecord scriptRecordFromWindow() const;
    std::string scriptPath() const;
    TCalcForm* calcForm();
    void showExactValue(const std::string& name, Extended value);
    void assignExactValue(int row, Extended value, const std::string& text);
    void refreshFailureLog();

    bool LBoxCurvesKeyDown(int key, Qt::KeyboardModifiers modifiers); // true when handled
    CurveTable& curveTable() const;
    void paintCurveGrid();
    void clearAxisColumns();
    void clearCurveSelection();
    void hideGraphWindow();
    void switchCurveMode(bool threeD);
    void refreshCurvePage();

    bool confirmDiscard();
    void closeOtherWindows();
    void showRunOutcome(const RunOutcome& outcome);
    void rebuildProblemList();
    void clearPanes();
    void sharePaneHeights();
    void clearParametersGrid();
    void setPaneLines(QPlainTextEdit* pane, const std::vector<std::string>& lines);
    std::vector<std::string> paneLines(const QPlainTextEdit* pane) const;
    void setModified(bool modified);
    void setCaption(const std::string& caption);

    ProblemWindows& windows_;
    Ui& ui_;
    WorkspaceState& state_;
    ProblemDocument document_;
    std::string filePath_;
    std::string
        saveDialogFileName_; // offered by Save As: the problem's file, "Unnamed" after Clear
    TCompiledProblem problem_;
    std::vector<std::string> FormulaList;
    bool initialValuesEdited_ = false;
    bool fillingGrids_ = false; // grid writes of the program are not user edits
    int lastSourceFormula_ = -1;
    TCalcForm* exactValueForm_ = nullptr;
    TPolyDesignForm* polyDesigner_ = nullptr;
    TProfileForm* profileForm_ = nullptr;
    FailureLogForm* failureLog_ = nullptr;
    TRunSamplesForm* runSamples_ = nullptr;
    AxisChoice axisChoice_;         // the axis columns of sgFuncSel while a curve is being chosen
    bool closeAfterRun_ = false;    // closed while a run was under way
    bool panesSplitByUser_ = false; // a splitter was moved
};
