#include "tools/forms/TTestingForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProgramState.h"
#include "tools/MassiveFiles.h"
#include "tools/MassiveRun.h"
#include "tools/forms/THelpForm.h"
#include "workspace/forms/RunInputGuard.h"
#include "workspace/forms/StringGrid.h"
#include "workspace/forms/TProblForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <functional>
#include <limits>
#include <thread>

namespace {

// A label that acts as the menu command of the same name when clicked.
class ClickLabel : public QLabel {
  public:
    ClickLabel(const QString& text, std::function<void()> onClick)
        : QLabel(text), onClick_(std::move(onClick)) {}

  protected:
    void mousePressEvent(QMouseEvent*) override { onClick_(); }

  private:
    std::function<void()> onClick_;
};

} // namespace

TTestingForm::TTestingForm(TProblForm& problemWindow, ProgramState& state, Ui& ui, QWidget* parent)
    : QDialog(parent), problemWindow_(problemWindow), state_(state), ui_(ui) {
    setWindowTitle("Massive computation");
    RunInputGuard::guardDuringRuns(*this);
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    menu->addAction("Input", this, &TTestingForm::Input1Click);
    menu->addAction("Output", this, &TTestingForm::Output1Click);
    menu->addAction("Clear", this, &TTestingForm::Clear1Click);
    menu->addAction("Help", this, [] { openHelp("MassiveIntegration.rtf"); });
    layout->setMenuBar(menu);

    auto* grid = new QGridLayout;
    lbInput = new ClickLabel("No input", [this] { Input1Click(); });
    lbOutput = new ClickLabel("No output", [this] { Output1Click(); });
    lbOfHowMany = new QLabel;
    grid->addWidget(lbInput, 0, 0, 1, 2);
    grid->addWidget(lbOutput, 1, 0, 1, 2);
    grid->addWidget(lbOfHowMany, 2, 0, 1, 2);
    cbAlsoAuxiliary = new QCheckBox("Include also auxiliary variables in output");
    cbSpellOut = new QCheckBox("Spell out termination reason in output");
    grid->addWidget(cbAlsoAuxiliary, 3, 0, 1, 2);
    grid->addWidget(cbSpellOut, 4, 0, 1, 2);
    grid->addWidget(new QLabel("Number of the sample to try"), 5, 0);
    leNumber = new QLineEdit("1");
    grid->addWidget(leNumber, 5, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    btRun = new QPushButton("Run");
    btTry = new QPushButton("Try");
    btNext = new QPushButton("Next");
    buttons->addWidget(btRun);
    buttons->addWidget(btTry);
    buttons->addWidget(btNext);
    layout->addLayout(buttons);
    ProgressBar1 = new QProgressBar;
    lbProgress = new QLabel;
    lbTime = new QLabel;
    layout->addWidget(ProgressBar1);
    layout->addWidget(lbProgress);
    layout->addWidget(lbTime);

    connect(btRun, &QPushButton::clicked, this, &TTestingForm::btRunClick);
    connect(btTry, &QPushButton::clicked, this, &TTestingForm::btTryClick);
    connect(btNext, &QPushButton::clicked, this, &TTestingForm::btNextClick);
}

TTestingForm::~TTestingForm() = default;

void TTestingForm::showRecordsLeft(long long left) {
    lbOfHowMany->setText(QString::number(left));
}

void TTestingForm::Input1Click() {
    if (!problemWindow_.compiledProblem().Compiled) {
        ui_.message("Compile the problem first");
        return;
    }
    const auto path = ui_.openFile("Input", "Text|*.txt|All files|*.*", "");
    if (!path)
        return;
    const InputCheck check = checkInputFile(*path, problemWindow_.compiledProblem().NumMain);
    if (!check.Error.empty()) {
        ui_.message(check.Error);
        return;
    }
    inputPath_ = *path;
    records_ = check.Records;
    tryReader_ = std::make_unique<LineReader>(inputPath_);
    sampleCounter_ = 0;
    lbInput->setText(QString::fromStdString("Input: " + *path));
    showRecordsLeft(records_);
}

void TTestingForm::Output1Click() {
    if (inputPath_.empty() || records_ == 0) {
        ui_.message("First open a non-empty input file");
        return;
    }
    const auto path = ui_.appendFile("Output", "Text|*.txt|All files|*.*", "");
    if (!path)
        return;
    const auto done = prepareOutputFile(*path);
    if (!done) {
        ui_.message("Wrong output");
        return;
    }
    if (*done >= records_) {
        ui_.message("All input records are already processed");
        return;
    }
    outputPath_ = *path;
    lbOutput->setText(QString::fromStdString("Output: " + *path));
    showRecordsLeft(records_ - *done);
}

void TTestingForm::btRunClick() {
    if (running_ || state_.Busy)
        return;
    if (inputPath_.empty() || outputPath_.empty()) {
        ui_.message("Both input and output must be specified");
        return;
    }
    const auto steps = parseInteger(trim(problemWindow_.edNumSteps->text().toStdString()));
    if (!steps || *steps < 1 || *steps > std::numeric_limits<std::int32_t>::max()) {
        ui_.message("Wrong number of steps");
        return;
    }
    if (!problemWindow_.btApplyStrGridClick())
        return;
    MassiveJob job;
    job.InputPath = inputPath_;
    job.OutputPath = outputPath_;
    job.Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    job.Sample.Steps = static_cast<std::int32_t>(*steps);
    job.Sample.AuxToo = cbAlsoAuxiliary->isChecked();
    job.Sample.SpellOut = cbSpellOut->isChecked();

    const long long done = prepareOutputFile(outputPath_).value_or(0);
    ProgressBar1->setMaximum(static_cast<int>(std::min<long long>(records_ - done, INT32_MAX)));
    ProgressBar1->setValue(0);
    running_ = true;
    state_.Interrupt = false;
    state_.LastPoll = std::chrono::steady_clock::now();
    MassiveHooks hooks;
    hooks.Progress = [this](const MassiveProgress& progress) {
        ProgressBar1->setValue(static_cast<int>(progress.Done));
        lbProgress->setText(QString::number(progress.Done));
        lbTime->setText(QString::fromStdString(
            formatText("One sample takes %d ms",
                       static_cast<int>(std::lround(progress.Seconds * 1000 / progress.Done)))));
        showRecordsLeft(progress.Total - progress.Done);
    };
    hooks.StopRequested = [this] { return PollInterrupt(state_, ui_) && ui_.ask("Abort?"); };
    const TCompiledProblem& problem = problemWindow_.compiledProblem();
    MassiveOutcome outcome;
    {
        // The batch reads the problem and the step settings of the problem window: while it
        // runs, that window, the graph and this form take no commands (Esc excepted), and the
        // program counts as busy, so no other run starts from a timer.
        struct BusyWhileRunning {
            ProgramState& State;
            explicit BusyWhileRunning(ProgramState& state) : State(state) { State.Busy = true; }
            ~BusyWhileRunning() { State.Busy = false; }
        } busy(state_);
        RunInputGuard guard;
        outcome = runMassive(
            job, [&] { return std::make_unique<CopiedWorker>(state_, problem); }, hooks);
    }
    running_ = false;
    if (!outcome.Error.empty())
        ui_.message(outcome.Error);
    if (!outcome.Stopped && outcome.Error.empty())
        Clear1Click();
}

void TTestingForm::btTryClick() {
    if (inputPath_.empty()) {
        ui_.message("Input must be specified");
        return;
    }
    const auto number = parseInteger(trim(leNumber->text().toStdString()));
    if (!number)
        return;
    if (*number < 1) {
        ui_.message("Sample number must be positive!");
        return;
    }
    tryReader_ = std::make_unique<LineReader>(inputPath_);
    std::string skipped;
    long long skip = *number - 1;
    while (skip > 0 && tryReader_->next(skipped))
        --skip;
    sampleCounter_ = *number - 1;
    btNextClick();
}

void TTestingForm::btNextClick() {
    if (inputPath_.empty() || !tryReader_) {
        ui_.message("Input must be specified");
        return;
    }
    std::string line;
    if (!tryReader_->next(line)) {
        ui_.message("End of file reached");
        return;
    }
    ++sampleCounter_;
    lbProgress->setText(QString::number(sampleCounter_));
    const std::int32_t mainCount = problemWindow_.compiledProblem().NumMain;
    const RecordReading reading = readRecord(line, mainCount, sampleCounter_);
    if (!reading.Record) {
        ui_.message(reading.Error);
        return;
    }
    for (std::int32_t i = 0; i < mainCount; ++i)
        problemWindow_.sgParameters->setCell(
            1, i + 1, formatDisplay(reading.Record->Values[static_cast<std::size_t>(i)]));
    problemWindow_.btRestart->click();
    problemWindow_.FormPaint();
}

void TTestingForm::Clear1Click() {
    running_ = false;
    inputPath_.clear();
    outputPath_.clear();
    tryReader_.reset();
    records_ = 0;
    sampleCounter_ = 0;
    ProgressBar1->setValue(0);
    lbInput->setText("No input");
    lbOutput->setText("No output");
    lbOfHowMany->clear();
}

void TTestingForm::keyPressEvent(QKeyEvent* event) {
    state_.Interrupt = event->key() == Qt::Key_Escape;
    if (!running_)
        QDialog::keyPressEvent(event);
}

void TTestingForm::closeEvent(QCloseEvent* event) {
    if (running_) {
        ui_.message("First press Esc to interrupt computation");
        event->ignore();
        return;
    }
    Clear1Click();
    event->accept();
}
