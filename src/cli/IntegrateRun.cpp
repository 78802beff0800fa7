#include "cli/IntegrateRun.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "engine/TaylorEngine.h"
#include "integrator/IndependentSum.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "integrator/StepFaults.h"
#include "workspace/DataFiles.h"
#include "workspace/ProblemDocument.h"
#include "workspace/SpecialPointFile.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <ostream>

namespace {

const std::string& valueOf(const CliArguments& arguments, std::size_t& i) {
    if (i + 1 >= arguments.size())
        usageError(IntegrateUsage, arguments[i] + " needs a value");
    return arguments[++i];
}

Extended numberOf(const CliArguments& arguments, std::size_t& i) {
    const std::string& option = arguments[i];
    const auto value = parseTrimmedNumber(valueOf(arguments, i));
    if (!value || !std::isfinite(*value))
        usageError(IntegrateUsage, option + " needs a number");
    return *value;
}

// A tolerance as the grid's cell would hold it, with the cell's own message when it does not
// read; a negative one would fail every test.
std::string toleranceOf(const CliArguments& arguments, std::size_t& i) {
    const std::string& option = arguments[i];
    const std::string& text = valueOf(arguments, i);
    const auto value = parseTrimmedNumber(text);
    if (!value)
        throw OrvantaError(text + " wrong");
    if (*value < 0)
        usageError(IntegrateUsage, option + " must be 0 or above");
    return text;
}

} // namespace

std::int32_t stepsOf(const std::string& text) {
    const auto steps = parseInteger(trim(text));
    if (!steps)
        throw OrvantaError("Wrong number");
    if (*steps < 1 || *steps > std::numeric_limits<std::int32_t>::max())
        throw OrvantaError(formatText("The number of steps must be from 1 to %d",
                                      std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int32_t>(*steps);
}

bool readIntegrateOption(const CliArguments& arguments, std::size_t& i, IntegrateOptions& options) {
    const std::string& option = arguments[i];
    if (option == "--steps") {
        options.Steps = stepsOf(valueOf(arguments, i));
    } else if (option == "--to") {
        options.To = valueOf(arguments, i);
    } else if (option == "--backward") {
        options.Backward = true;
    } else if (option == "--control") {
        const std::string& mode = valueOf(arguments, i);
        if (mode == "none")
            options.Control = ErrorControl::None;
        else if (mode == "middle")
            options.Control = ErrorControl::Middle;
        else if (mode == "back")
            options.Control = ErrorControl::Back;
        else if (mode == "tol")
            options.Control = ErrorControl::Tolerance;
        else
            usageError(IntegrateUsage, "--control is none, middle, back or tol");
    } else if (option == "--abs") {
        options.Abs = toleranceOf(arguments, i);
    } else if (option == "--rel") {
        options.Rel = toleranceOf(arguments, i);
    } else if (option == "--tol") {
        options.StepTolerance = numberOf(arguments, i);
        if (!(*options.StepTolerance > 0))
            usageError(IntegrateUsage, "--tol must be above 0");
    } else if (option == "--go-despite") {
        options.GoDespite = true;
    } else if (option == "--terms") {
        const auto terms = parseInteger(valueOf(arguments, i));
        if (!terms || *terms > MaxTermCount)
            throw OrvantaError("Wrong order");
        options.Terms = static_cast<std::int32_t>(std::max<long long>(*terms, MinTermCount));
    } else if (option == "--factor") {
        options.Factor = numberOf(arguments, i);
        if (!(*options.Factor > 0 && *options.Factor < 1))
            usageError(IntegrateUsage, "--factor must be above 0 and below 1");
    } else if (option == "--radius-limit") {
        options.RadiusLimit = numberOf(arguments, i);
        if (!(*options.RadiusLimit > 0))
            usageError(IntegrateUsage, "--radius-limit must be above 0");
    } else if (option == "--radius") {
        const std::string& choice = valueOf(arguments, i);
        if (choice == "main")
            options.Radius = RadiusVariables::MainOnly;
        else if (choice == "aux")
            options.Radius = RadiusVariables::MainAndAux;
        else if (choice == "all")
            options.Radius = RadiusVariables::All;
        else
            usageError(IntegrateUsage, "--radius is main, aux or all");
    } else if (option == "--radians") {
        options.Radians = true;
    } else if (option == "--every") {
        options.Every = true;
    } else if (option == "--show-step") {
        options.ShowStep = true;
    } else if (option == "--results") {
        const auto length = parseInteger(valueOf(arguments, i));
        if (!length || *length < 0)
            usageError(IntegrateUsage, "--results needs a whole number from 0 up");
        options.ResultsLength = *length;
    } else if (option == "--circular") {
        options.Circular = true;
    } else if (option == "--aux") {
        options.AuxToo = true;
    } else if (option == "--save-data") {
        options.SaveData = valueOf(arguments, i);
    } else if (option == "--special") {
        options.Special = valueOf(arguments, i);
    } else if (option == "--differentiate") {
        const auto times = parseInteger(valueOf(arguments, i));
        if (!times || *times < 0 || *times > 2)
            usageError(IntegrateUsage, "--differentiate is 0, 1 or 2");
        options.Differentiate = static_cast<int>(*times);
    } else if (option == "--native") {
        options.Native = true;
    } else if (option == "--assume-radius-limit") {
        options.AssumeRadiusLimit = true;
    } else {
        return false;
    }
    return true;
}

std::optional<std::string> meaninglessCombination(const IntegrateOptions& options) {
    const bool tolerance = options.Abs || options.Rel;
    const bool tested =
        options.Control == ErrorControl::Middle || options.Control == ErrorControl::Back;
    if (!tested && tolerance)
        return "--abs and --rel need --control middle or back";
    if (tested && !tolerance)
        return "--control middle and back need --abs or --rel";
    if (options.GoDespite && !tested)
        return "--go-despite needs --control middle or back";
    if (options.StepTolerance && options.Control != ErrorControl::Tolerance)
        return "--tol needs --control tol";
    if (options.ShowStep && !options.Every)
        return "--show-step needs --every";
    if (!options.Special && (options.Differentiate != 0 || options.AssumeRadiusLimit))
        return "--differentiate and --assume-radius-limit need --special";
    return std::nullopt;
}

IntegrateOptions readIntegrateOptions(const CliArguments& arguments) {
    IntegrateOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (readIntegrateOption(arguments, i, options))
            continue;
        if (!options.Path.empty() || arguments[i].starts_with("--"))
            usageError(IntegrateUsage, "unexpected " + arguments[i]);
        options.Path = arguments[i];
    }
    if (options.Path.empty())
        usageError(IntegrateUsage, "no problem file");
    if (!options.Steps)
        usageError(IntegrateUsage, "--steps is required");
    if (auto problem = meaninglessCombination(options))
        usageError(IntegrateUsage, *problem);
    return options;
}

void StreamUi::message(const std::string& text) {
    out_ << text << "\n";
}

bool StreamUi::confirm(const std::string& text) {
    out_ << text << "\n";
    return true;
}

bool StreamUi::ask(const std::string& text) {
    return confirm(text);
}

ProblemPanes readProblemFile(const std::string& path) {
    if (toLower(std::filesystem::path(path).extension().string()) != ".ode")
        throw OrvantaError("Wrong file extension");
    const auto text = readWholeFile(path);
    if (!text)
        throw OrvantaError("Cannot open " + path);
    return splitProblemSections(splitLines(*text)).Panes;
}

void prepareIntegration(IntegrateSession& session, const IntegrateOptions& options, Ui& ui) {
    ProgramState& state = session.State;
    TCompiledProblem& problem = session.Problem;
    if (options.Terms) {
        state.TermCount = *options.Terms;
        BuildRecurrenceTables(state);
    }
    state.AngleFactor = options.Radians ? 1.0L : std::numbers::pi_v<Extended> / 180;
    if (options.Factor)
        state.RadFactor = *options.Factor;
    if (options.RadiusLimit)
        state.RadLimit = *options.RadiusLimit;

    state.AssumeRadiusLimit = options.AssumeRadiusLimit;
    if (options.Special) {
        if (!std::filesystem::is_regular_file(*options.Special))
            throw OrvantaError("Cannot open " + *options.Special);
        if (!loadSpecialPoint(problem, state, *options.Special, options.Differentiate, ui))
            throw OrvantaError("No special point loaded from " + *options.Special);
    }

    FormulaParser parser;
    session.Assembly =
        compileForIntegration(state, session.Panes, problem, parser, false, session.Prepare);

    applyRunOptions(session, options, ui);

    const std::int64_t length = options.ResultsLength.value_or(DefaultResultsLength);
    const ResultsCreation created =
        createResults(state, problem, ui, std::to_string(length), options.AuxToo,
                      options.Circular || !options.ResultsLength);
    if (!created.Created && length > 0)
        throw OrvantaError("The Results array was not created");
    if (options.Native) {
        // The radius over all arrays reads the intermediate ones too; otherwise the compiled jet
        // fills the variables only.
        const NativeArrays arrays = state.RadiusChoice == RadiusVariables::All
                                        ? NativeArrays::Every
                                        : NativeArrays::Variables;
        std::string why;
        if (!useNativeJet(problem, state, arrays, why))
            ui.message("The jet stays interpreted: " + why);
    }
}

void applyRunOptions(IntegrateSession& session, const IntegrateOptions& options, Ui& ui) {
    ProgramState& state = session.State;
    TCompiledProblem& problem = session.Problem;
    setDirection(problem, options.Backward);
    state.RadiusChoice = options.Radius;
    if (options.Factor)
        state.RadFactor = *options.Factor;
    if (options.RadiusLimit)
        state.RadLimit = *options.RadiusLimit;
    state.Control = options.Control;
    state.GoDespite = options.GoDespite;
    state.StepTolerance = options.StepTolerance.value_or(DefaultStepTolerance);
    if (!takesPlainSteps(options.Control)) {
        const auto cells = [&](const std::optional<std::string>& text) {
            return std::vector<std::string>(static_cast<std::size_t>(problem.NumMain),
                                            text.value_or(""));
        };
        if (auto error = readTolerances(problem, cells(options.Abs), cells(options.Rel)))
            throw OrvantaError(*error);
    }
    checkedAfterStep(state, problem);
    if (options.To &&
        !setTermination(state, problem, ui, true, *options.To, session.Panes.Constants))
        throw OrvantaError("Termination not armed");
}

std::string pointHeader(const IntegrateSession& session) {
    const TCompiledProblem& problem = session.Problem;
    std::string line = problem.IndepLine >= 0 ? problem.IndepName : "t";
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        if (i != problem.IndepLine)
            line += "\t" + session.Assembly.MainNames[static_cast<std::size_t>(i)];
    return line;
}

namespace {

// The independent variable's value, then the other main variables' values from `valueOf`.
template <typename ValueOf>
std::string lineOf(const TCompiledProblem& problem, Extended indep, ValueOf valueOf) {
    std::string line = formatDisplay(indep);
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        if (i != problem.IndepLine)
            line += "\t" + formatDisplay(valueOf(i));
    return line;
}

// After the split limit the problem holds the last trial point, which was refused; the point
// the step started from, kept in StepTable, is the last accepted one.
std::string stepStartLine(const TCompiledProblem& problem) {
    return lineOf(problem, problem.TPrev, [&](std::int32_t i) {
        return problem.StepTable[static_cast<std::size_t>(i)][0];
    });
}

} // namespace

std::string pointLine(const IntegrateSession& session) {
    const TCompiledProblem& problem = session.Problem;
    return lineOf(problem, problem.CurrentIndep,
                  [&](std::int32_t i) { return problem.Coefficients[problem.NumConst + i][0]; });
}

int runAndPrint(IntegrateSession& session, const IntegrateOptions& options, Ui& ui,
                std::ostream& out, std::ostream& err) {
    const std::int32_t steps = options.Steps.value_or(0);
    // Whatever stops the run before it starts is said before anything is printed.
    if (!makeRoomForRun(session.State, ui, steps))
        return 1;
    const auto everyLine = [&] {
        out << pointLine(session);
        if (options.ShowStep)
            out << "\t" << formatDisplay(takenStep(session.Problem));
        out << "\n";
    };
    out << pointHeader(session) << (options.ShowStep ? "\tstep\n" : "\n");
    if (options.Every)
        everyLine();
    RunSettings settings;
    settings.MainNames = session.Assembly.MainNames;
    if (options.Every)
        settings.PointAccepted = everyLine;
    // The failure log's lines go out as they come; kept as well, they would grow with the run.
    settings.FailureLogged = [&](const std::string& line) {
        err << line << "\n";
        session.State.FailureLog.clear();
    };
    const RunOutcome outcome =
        runMore(session.State, session.Problem, ui, std::to_string(steps), settings);
    if (outcome.End == RunEnd::NotStarted)
        return 1;
    if (!outcome.Error.empty())
        err << outcome.Error << "\n";
    err << outcome.Summary << "\n";
    if (!options.Every)
        out << (outcome.End == RunEnd::SplitLimit ? stepStartLine(session.Problem)
                                                  : pointLine(session))
            << "\n";
    out.flush();
    if (options.SaveData) {
        ProblemDocument document;
        document.Panes = session.Panes;
        document.Path = options.Path;
        document.Caption = captionForPath(options.Path);
        if (!saveData(session.State, session.Problem, document, *options.SaveData,
                      session.Assembly.FormulaList, ui))
            return 1;
    }
    return outcome.End == RunEnd::Singularity || outcome.End == RunEnd::SplitLimit ? 2 : 0;
}
