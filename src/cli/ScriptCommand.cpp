// orvanta-cli script: runs a script headless and prints its last point as "integrate" does.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"
#include "common/OrvantaError.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ScriptRun.h"

#include <filesystem>
#include <iostream>

namespace {

const char* const Usage = "script FILE.scr";

int runScript(const CliArguments& arguments) {
    if (arguments.size() != 1)
        usageError(Usage);
    const std::string& name = arguments[0];
    // A name found as given is a full path; a bare name not found here is a sample script.
    std::error_code error;
    const bool asGiven = std::filesystem::exists(name, error) ||
                         std::filesystem::path(withForwardSlashes(name)).has_parent_path();
    const ScriptLocation location = locateScript(name, asGiven, programFolder());
    StreamUi ui(std::cerr);
    auto record = openScript(location, name, ui);
    if (!record)
        return 1;
    IntegrateOptions options;
    options.Steps = stepsOf(std::to_string(record->GraphSteps));
    IntegrateSession session;
    ProblemDocument document;
    if (!prepareScript(*record, location, session.State, session.Problem, document,
                       session.Assembly, ui) ||
        !makeRoomForSteps(session.State, *options.Steps, ui))
        return 1;
    session.Panes = document.Panes;
    options.Path = document.Path;
    return runAndPrint(session, options, ui, std::cout, std::cerr);
}

const CliRegistration registration("script", Usage, runScript);

} // namespace
