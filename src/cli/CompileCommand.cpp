// orvanta-cli compile: compiles a problem file and prints its instructions and order-0 values.
#include "cli/CliCommand.h"
#include "cli/FilePolynomials.h"
#include "cli/IntegrateRun.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "compiler/InstructionText.h"
#include "integrator/ProblemCompile.h"

#include <filesystem>
#include <iostream>
#include <numbers>

namespace {

constexpr const char* Usage = "compile FILE.ode [--radians] [--instructions all|active]";

struct CompileOptions {
    std::string path;
    bool radians = false;
    bool activeOnly = false;
};

CompileOptions readOptions(const CliArguments& arguments) {
    CompileOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--radians") {
            options.radians = true;
        } else if (argument == "--instructions" && i + 1 < arguments.size() &&
                   (arguments[i + 1] == "all" || arguments[i + 1] == "active")) {
            options.activeOnly = arguments[++i] == "active";
        } else if (options.path.empty() && !argument.starts_with("--")) {
            options.path = argument;
        } else {
            usageError(Usage);
        }
    }
    if (options.path.empty())
        usageError(Usage);
    return options;
}

void printCompiled(const TCompiledProblem& problem, const FormulaAssembly& assembly,
                   bool activeOnly) {
    const auto labels = lineLabels(assembly.FormulaList, problem.DerivStart);
    const auto& list = activeOnly ? problem.ActiveInstructions : problem.Instructions;
    std::string out;
    for (std::size_t k = 0; k < list.size(); ++k)
        out += formatText("%3d: ", static_cast<int>(k)) + InstructionText(list[k], labels) + "\n";
    out += "\n";
    for (std::int32_t v = 0; v < problem.Coefficients.count(); ++v)
        out += std::to_string(v) + "\t" + VariableLabel(labels, v) + "\t" +
               formatDisplay(problem.Coefficients[v][0]) + "\n";
    std::cout << out;
}

int runCompile(const CliArguments& arguments) {
    CompileOptions options = readOptions(arguments);
    ProblemPanes panes = readProblemFile(options.path);
    ProgramState state;
    state.AngleFactor = options.radians ? 1.0L : std::numbers::pi_v<Extended> / 180;
    TCompiledProblem problem;
    FormulaParser parser;
    try {
        // The window's road: through the first expansion and the first step, so that a problem
        // whose first expansion fails is no success here either.
        StreamUi ui(std::cerr);
        FormulaAssembly assembly = compileForIntegration(
            state, panes, problem, parser, false, filePolynomialStep(options.path, state, ui));
        printCompiled(problem, assembly, options.activeOnly);
        return 0;
    } catch (const CompileEvaluationError& error) {
        std::cerr << error.Report << "\n" << error.what() << "\n";
    } catch (const OrvantaError& error) {
        std::cerr << error.what() << "\n";
        if (!parser.FormulasParsed && parser.CurrentLine >= 0) {
            PaneLine where = paneOfLine(problem, parser.CurrentLine);
            std::cerr << "Pane \"" << paneCaption(where.pane) << "\", line " << where.line + 1
                      << "\n";
        }
    }
    return 1;
}

CliRegistration registration("compile", Usage, runCompile);

} // namespace
