// orvanta-cli load-data: loads a problem with its restart values and elements, as Load Data
// does, and continues the run from the last stored point.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "integrator/IntegrationRun.h"
#include "integrator/StepControl.h"
#include "workspace/DataFiles.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ScriptRun.h"

#include <iostream>
#include <numbers>

namespace {

const char* const Usage =
    "load-data FILE.ode [--steps N] [--to VALUE] [--backward] [--control none|middle|back] "
    "[--abs TOL] [--rel TOL] [--go-despite] [--factor K] [--radius-limit R] "
    "[--radius main|aux|all] [--radians] [--every]";

IntegrateOptions readOptions(const CliArguments& arguments) {
    IntegrateOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string argument = arguments[i];
        if (argument == "--terms" || argument == "--results" || argument == "--circular" ||
            argument == "--aux")
            usageError(Usage, argument + " is taken from the data files");
        if (readIntegrateOption(arguments, i, options))
            continue;
        if (!options.Path.empty() || argument.starts_with("--"))
            usageError(Usage, "unexpected " + argument);
        options.Path = argument;
    }
    if (options.Path.empty())
        usageError(Usage, "no problem file");
    if (auto problem = meaninglessCombination(options))
        usageError(Usage, *problem);
    return options;
}

int runLoadData(const CliArguments& arguments) {
    const IntegrateOptions options = readOptions(arguments);
    IntegrateSession session;
    session.State.AngleFactor = options.Radians ? 1.0L : std::numbers::pi_v<Extended> / 180;
    ProblemDocument document;
    StreamUi ui(std::cerr);
    if (!loadData(session.State, session.Problem, document, session.Assembly, options.Path, ui))
        return 1;
    session.Panes = document.Panes;
    applyRunOptions(session, options, ui);
    if (!options.Steps) {
        std::cout << pointHeader(session) << "\n" << pointLine(session) << "\n";
        return 0;
    }
    if (!makeRoomForSteps(session.State, *options.Steps, ui))
        return 1;
    return runAndPrint(session, options, ui, std::cout, std::cerr);
}

const CliRegistration registration("load-data", Usage, runLoadData);

} // namespace
