// orvanta-cli rewrite: writes a problem file in another independent variable.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"

#include "compiler/CompileDriver.h"
#include "workspace/ChangeOfVariable.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <iostream>

namespace {

constexpr const char* Usage = "rewrite FILE.ode --in VARIABLE --out NEW.ode";

struct RewriteArguments {
    std::string In, Variable, Out;
};

RewriteArguments readArguments(const CliArguments& arguments) {
    RewriteArguments result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool valued = i + 1 < arguments.size();
        if (argument == "--in" && valued && result.Variable.empty())
            result.Variable = arguments[++i];
        else if (argument == "--out" && valued && result.Out.empty())
            result.Out = arguments[++i];
        else if (result.In.empty() && !argument.starts_with("--"))
            result.In = argument;
        else
            usageError(Usage, "Unexpected argument \"" + argument + "\"");
    }
    if (result.In.empty() || result.Variable.empty() || result.Out.empty())
        usageError(Usage);
    return result;
}

int runRewrite(const CliArguments& arguments) {
    const RewriteArguments rewrite = readArguments(arguments);
    StreamUi ui(std::cerr);
    ProblemDocument document;
    if (!readProblemDocument(document, rewrite.In, ui))
        return 1;
    // The panes are checked as a compilation checks them, blank lines dropped.
    TCompiledProblem checked;
    assembleFormulaList(document.Panes, checked);
    const auto line = odeLineOf(document.Panes, rewrite.Variable);
    if (!line) {
        std::cerr << "No main variable \"" << rewrite.Variable << "\"\n";
        return 1;
    }
    ProblemDocument result;
    result.Panes = rewriteInVariable(document.Panes, *line);
    result.Polynomials = document.Polynomials;
    TCompiledProblem rewritten;
    const FormulaAssembly assembly = assembleFormulaList(result.Panes, rewritten);
    return writeProblemFile(result, rewrite.Out, assembly.FormulaList, ui) ? 0 : 1;
}

const CliRegistration registration("rewrite", Usage, runRewrite);

} // namespace
