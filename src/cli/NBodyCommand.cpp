// orvanta-cli nbody: writes the generated n-body problem to a problem file.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "tools/NBodyGenerator.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <climits>
#include <iostream>

namespace {

constexpr const char* Usage =
    "nbody N [--spatial] [--designed] [--elliptic|--circular] --out FILE.ode";

struct NBodyArguments {
    NBodyOptions Options;
    std::string Out;
};

NBodyArguments readArguments(const CliArguments& arguments) {
    const OrvantaError usage(std::string("usage: orvanta-cli ") + Usage);
    NBodyArguments result;
    std::optional<long long> bodies;
    bool motionGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--spatial") {
            result.Options.Spatial = true;
        } else if (argument == "--designed") {
            result.Options.Designed = true;
        } else if ((argument == "--elliptic" || argument == "--circular") && !motionGiven) {
            motionGiven = true;
            result.Options.Motion = argument == "--elliptic" ? NBodyMotion::Elliptic
                                                             : NBodyMotion::CircularChoreography;
        } else if (argument == "--out" && i + 1 < arguments.size() && result.Out.empty()) {
            result.Out = arguments[++i];
        } else if (!bodies && !argument.starts_with("--")) {
            bodies = parseInteger(argument);
            if (!bodies)
                throw OrvantaError("Wrong number of bodies \"" + argument + "\"");
        } else {
            throw usage;
        }
    }
    if (!bodies || result.Out.empty())
        throw usage;
    // Counts beyond int are out of range all the same.
    result.Options.Bodies =
        *bodies < INT_MIN || *bodies > INT_MAX ? INT_MAX : static_cast<int>(*bodies);
    return result;
}

int runNBody(const CliArguments& arguments) {
    NBodyArguments nbody = readArguments(arguments);
    StreamUi ui(std::cerr);
    ProblemDocument document;
    if (!setNBodyProblem(document, nbody.Options, ui))
        return 1;
    // The ODE lines tell whether they call designed polynomials, and so whether the file gets
    // its polynomial section.
    return writeProblemFile(document, nbody.Out, document.Panes.ODEs, ui) ? 0 : 1;
}

const CliRegistration registration("nbody", Usage, runNBody);

} // namespace
