// orvanta-cli integrate: compiles a problem file and integrates it headless.
#include "cli/CliCommand.h"
#include "cli/FilePolynomials.h"
#include "cli/IntegrateRun.h"
#include "integrator/ProblemCompile.h"

#include <iostream>

namespace {

int runIntegrate(const CliArguments& arguments) {
    const IntegrateOptions options = readIntegrateOptions(arguments);
    IntegrateSession session;
    session.Panes = readProblemFile(options.Path);
    StreamUi ui(std::cerr);
    session.Prepare = filePolynomialStep(options.Path, session.State, ui);
    try {
        prepareIntegration(session, options, ui);
    } catch (const CompileEvaluationError& error) {
        std::cerr << error.Report << "\n" << error.what() << "\n";
        return 1;
    }
    return runAndPrint(session, options, ui, std::cout, std::cerr);
}

const CliRegistration registration("integrate", IntegrateUsage, runIntegrate);

} // namespace
