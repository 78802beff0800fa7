#include "workspace/ScriptRun.h"

#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "common/Ui.h"
#include "compiler/FormulaParser.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ProgramState.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <filesystem>
#include <numbers>

namespace {

// Passes everything on, but answers the "Appending Results" box with a fixed count.
class AppendAnswerUi : public Ui {
  public:
    AppendAnswerUi(Ui& inner, std::int64_t count) : inner_(inner), count_(count) {}
    void message(const std::string& text) override { inner_.message(text); }
    void information(const std::string& text) override { inner_.information(text); }
    bool confirm(const std::string& text) override { return inner_.confirm(text); }
    bool ask(const std::string& text) override { return inner_.ask(text); }
    std::optional<std::string> inputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::to_string(count_);
    }
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override {
        return inner_.openFile(title, filter, proposal);
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& proposal) override {
        return inner_.saveFile(title, filter, proposal);
    }
    void processEvents() override { inner_.processEvents(); }
    std::string clipboardText() override { return inner_.clipboardText(); }
    void setClipboardText(const std::string& text) override { inner_.setClipboardText(text); }

  private:
    Ui& inner_;
    std::int64_t count_;
};

ErrorControl errorControlItem(int item) {
    switch (item) {
    case 0:
        return ErrorControl::Middle;
    case 1:
        return ErrorControl::Back;
    default:
        return ErrorControl::None;
    }
}

RadiusVariables radiusItem(int item) {
    switch (item) {
    case 0:
        return RadiusVariables::MainOnly;
    case 2:
        return RadiusVariables::All;
    default:
        return RadiusVariables::MainAndAux;
    }
}

} // namespace

std::optional<ScriptRecord> openScript(const ScriptLocation& location, const std::string& name,
                                       Ui& ui) {
    auto text = readWholeFile(location.ScriptPath);
    if (!text) {
        ui.message("Cannot open script file " + name);
        return std::nullopt;
    }
    ScriptRecord record;
    try {
        record = readScript(*text);
    } catch (const OrvantaError& error) {
        ui.message(error.what());
        return std::nullopt;
    }
    if (record.Shortage == ScriptShortage::ProblemName) {
        ui.message(ScriptShortMessage);
        return std::nullopt;
    }
    // The problem is checked as soon as it is named, before the settings are read.
    if (problemModifiedAfterScript(location.ScriptPath,
                                   problemPathFor(location, record.ProblemName)))
        ui.message(ModifiedAfterScriptMessage);
    if (record.Shortage == ScriptShortage::Settings) {
        ui.message(ScriptShortMessage);
        return std::nullopt;
    }
    return record;
}

bool prepareScript(const ScriptRecord& record, const ScriptLocation& location, ProgramState& state,
                   TCompiledProblem& problem, ProblemDocument& document, FormulaAssembly& assembly,
                   Ui& ui) {
    const std::string problemPath = problemPathFor(location, record.ProblemName);
    const std::int32_t terms = std::max(record.TermCount, MinTermCount);
    if (terms != state.TermCount) {
        state.TermCount = terms;
        BuildRecurrenceTables(state);
    }
    state.AngleFactor = record.AngleUnit == 1 ? std::numbers::pi_v<Extended> / 180 : 1.0L;
    ui.processEvents();

    state.Results.clear();
    state.StepIndex = 0;
    ResetState(state, problem);
    std::error_code error;
    if (!std::filesystem::is_regular_file(problemPath, error)) {
        ui.message("No file " + problemPath);
        return false;
    }
    if (!loadProblemFile(document, problem, state, problemPath, ui))
        return false;
    bool compiled = false;
    try {
        FormulaParser parser;
        assembly = compileForIntegration(state, document.Panes, problem, parser, false);
        compiled = true;
    } catch (const CompileEvaluationError& failure) {
        ui.message(failure.Report);
        ui.message(failure.what());
    } catch (const OrvantaError& failure) {
        ui.message(failure.what());
    }
    state.RadFactor = record.RadFactor;
    if (!compiled) {
        ui.message("Compilation failed");
        return false;
    }
    state.RadiusChoice = radiusItem(record.Convergence);
    state.Control = errorControlItem(record.ErrorControl);
    setDirection(problem, record.Direction == 1);
    refreshStep(state, problem);
    // A script that ran short after its settings leaves its problem loaded and compiled.
    if (record.Shortage != ScriptShortage::None) {
        ui.message(ScriptShortMessage);
        return false;
    }
    if (record.ResultsLength > 0) {
        const bool auxToo = record.ValuesPerPoint > problem.NumMain;
        if (!createResults(state, problem, ui, std::to_string(record.ResultsLength), auxToo, false)
                 .Created)
            return false;
    }
    return true;
}

bool makeRoomForSteps(ProgramState& state, std::int64_t steps, Ui& ui) {
    const ResultsArray& results = state.Results;
    const std::int64_t missing =
        static_cast<std::int64_t>(state.StepIndex) + steps - results.Length;
    if (results.empty() || results.Circular || missing <= 0)
        return true;
    AppendAnswerUi answering(ui, missing);
    return AppendResults(state, answering) &&
           static_cast<std::int64_t>(state.Results.Length) >= state.StepIndex + steps;
}
