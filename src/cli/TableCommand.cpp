// orvanta-cli table: integrates a problem with every point stored and writes its chosen
// variables on a regular grid of the independent variable, as the table form saves them.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/InstructionText.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "tools/TableFiles.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace {

const char* const Usage =
    "table FILE.ode --steps N --from A --to B (--step H | --count M) --vars x,y "
    "[--format extended|double|text|csv] [--out PATH] [--backward] [--control none|middle|back] "
    "[--abs TOL] [--rel TOL] [--terms N] [--factor K] [--radius-limit R] [--radians] [--native]";

struct TableOptions {
    IntegrateOptions Integrate;
    std::string From, To, Step;
    bool StepIsCount = false;
    std::vector<std::string> Vars;
    std::string Format = "csv";
    std::optional<std::string> Out;
};

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        parts.push_back(trim(text.substr(start, comma - start)));
    parts.push_back(trim(text.substr(start)));
    return parts;
}

TableOptions readOptions(const CliArguments& arguments) {
    TableOptions options;
    const auto value = [&](std::size_t& i) -> const std::string& {
        if (i + 1 >= arguments.size())
            usageError(Usage, arguments[i] + " needs a value");
        return arguments[++i];
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--every" || argument == "--results" || argument == "--circular" ||
            argument == "--aux" || argument == "--save-data")
            usageError(Usage, argument + " is not for table");
        if (argument == "--from") {
            options.From = value(i);
        } else if (argument == "--to") {
            options.To = value(i);
        } else if (argument == "--step" || argument == "--count") {
            if (!options.Step.empty())
                usageError(Usage, "one of --step and --count");
            options.StepIsCount = argument == "--count";
            options.Step = value(i);
        } else if (argument == "--vars") {
            options.Vars = splitAtCommas(value(i));
        } else if (argument == "--format") {
            options.Format = value(i);
            if (options.Format != "extended" && options.Format != "double" &&
                options.Format != "text" && options.Format != "csv")
                usageError(Usage, "--format is extended, double, text or csv");
        } else if (argument == "--out") {
            options.Out = value(i);
        } else if (!readIntegrateOption(arguments, i, options.Integrate)) {
            if (!options.Integrate.Path.empty() || argument.starts_with("--"))
                usageError(Usage, "unexpected " + argument);
            options.Integrate.Path = argument;
        }
    }
    if (options.Integrate.Path.empty())
        usageError(Usage, "no problem file");
    if (!options.Integrate.Steps || options.From.empty() || options.To.empty() ||
        options.Step.empty() || options.Vars.empty())
        usageError(Usage, "--steps, --from, --to, --step or --count and --vars are required");
    if (auto problem = meaninglessCombination(options.Integrate))
        usageError(Usage, *problem);
    // Every point of the run is kept, the auxiliary variables too, so that any can be tabulated.
    options.Integrate.ResultsLength = static_cast<std::int64_t>(*options.Integrate.Steps) + 1;
    options.Integrate.AuxToo = true;
    return options;
}

TableKind kindOf(const std::string& format) {
    if (format == "extended")
        return TableKind::Extended;
    if (format == "double")
        return TableKind::Double;
    return format == "text" ? TableKind::Text : TableKind::Clipboard;
}

// Answers the save dialog with the proposed name in the folder of --out.
class FolderUi : public StreamUi {
  public:
    FolderUi(std::ostream& out, std::filesystem::path folder)
        : StreamUi(out), folder_(std::move(folder)) {}
    std::optional<std::string> saveFile(const std::string&, const std::string&,
                                        const std::string& proposal) override {
        return (folder_ / proposal).string();
    }

  private:
    std::filesystem::path folder_;
};

int runTable(const CliArguments& arguments) {
    const TableOptions options = readOptions(arguments);
    const TableKind kind = kindOf(options.Format);
    IntegrateSession session;
    session.Panes = readProblemFile(options.Integrate.Path);
    FolderUi ui(std::cerr, options.Out.value_or("."));
    try {
        prepareIntegration(session, options.Integrate, ui);
    } catch (const CompileEvaluationError& error) {
        std::cerr << error.Report << "\n" << error.what() << "\n";
        return 1;
    }

    // The stored variables by name, as the variables grid lists them.
    const ProgramState& state = session.State;
    const TCompiledProblem& problem = session.Problem;
    const auto labels = lineLabels(session.Assembly.FormulaList, problem.DerivStart);
    std::vector<std::int32_t> columns;
    for (const std::string& name : options.Vars) {
        const auto first = labels.begin() + problem.NumConst;
        const auto found = std::find(first, first + state.Results.Vars, name);
        if (found == first + state.Results.Vars)
            throw OrvantaError("No stored variable " + name);
        columns.push_back(static_cast<std::int32_t>(found - first));
    }
    const auto indep = independentColumn(state);
    if (!indep)
        throw OrvantaError("The problem has no independent main variable to tabulate over");

    const RunOutcome outcome = runMore(session.State, session.Problem, ui,
                                       std::to_string(*options.Integrate.Steps), RunSettings{});
    if (outcome.End == RunEnd::NotStarted)
        return 1;
    if (!outcome.Error.empty())
        std::cerr << outcome.Error << "\n";
    const GridReading grid = readTableGrid(storedRange(state, *indep), options.From, options.To,
                                           options.Step, options.StepIsCount);
    if (!grid.Grid) {
        std::cerr << grid.Error << "\n";
        return 1;
    }
    const TableRows rows = tabulate(state, *indep, *grid.Grid, columns);
    if (kind == TableKind::Clipboard) {
        const std::string text = tableText(options.Vars, rows.Values, ',');
        if (!options.Out) {
            std::cout << text;
            return 0;
        }
        if (writeFileAtomically(*options.Out, text))
            return 0;
        std::cerr << "Cannot write " << *options.Out << "\n";
        return 1;
    }
    std::vector<std::string> cells;
    for (const std::string& name : options.Vars)
        cells.push_back(proposedTableName(name, kind));
    return saveTableColumns(ui, kind, options.Vars, cells, rows) ? 0 : 1;
}

const CliRegistration registration("table", Usage, runTable);

} // namespace
