// orvanta-cli compile: compiles a problem file and prints its instructions and order-0 values.
#include "cli/CliCommand.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "compiler/CompileDriver.h"
#include "compiler/FormulaParser.h"
#include "compiler/InstructionText.h"
#include "compiler/OrderZero.h"

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
            throw OrvantaError(std::string("usage: orvanta-cli ") + Usage);
        }
    }
    if (options.path.empty())
        throw OrvantaError(std::string("usage: orvanta-cli ") + Usage);
    return options;
}

ProblemPanes readProblemPanes(const std::string& path) {
    if (toLower(std::filesystem::path(path).extension().string()) != ".ode")
        throw OrvantaError("Wrong file extension");
    auto text = readWholeFile(path);
    if (!text)
        throw OrvantaError("Cannot open " + path);
    return splitProblemSections(splitLines(*text)).Panes;
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
    ProblemPanes panes = readProblemPanes(options.path);
    TCompiledProblem problem;
    FormulaParser parser;
    const Extended angleFactor = options.radians ? 1.0L : std::numbers::pi_v<Extended> / 180;
    try {
        FormulaAssembly assembly = compileToOrderZero(panes, problem, parser, 31, angleFactor);
        printCompiled(problem, assembly, options.activeOnly);
        return 0;
    } catch (const EvaluationError& error) {
        std::cerr << evaluationFailedMessage(problem) << "\n" << error.what() << "\n";
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
