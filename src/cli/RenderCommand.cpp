// orvanta-cli render: integrates a problem, or runs a script, and writes the graph window's
// picture as a PNG.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/FormulaParser.h"
#include "graphics/PngWriter.h"
#include "graphics/Portrait.h"
#include "graphics/RenderGraph.h"
#include "graphics/View3DCommands.h"
#include "integrator/ProblemCompile.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ScriptGraph.h"
#include "workspace/ScriptRun.h"
#include "workspace/WorkspaceState.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <numbers>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const Usage = "render FILE.scr|FILE.ode --out FILE.png [--size WxH] [--steps N] "
                          "[--curves \"x1,y1;x2,y2\"] [--box XMIN,XMAX,YMIN,YMAX[,ZMIN,ZMAX]] "
                          "[--radians] [--3d stereo|left|right] [--tube] [--turn A,B,C] "
                          "[--portrait [--nodes NX,NY[,NZ]] [--stroke-steps N] [--linear] "
                          "[--limit PIXELS]]";

struct RenderOptions {
    std::string Path, Out;
    RenderRequest Request;
    std::optional<std::string> Steps; // a problem's default is 1000, a script's its own count
    std::optional<std::string> Curves;
    bool Radians = false;
    std::optional<SceneRequest> Scene;     // a 3D picture
    std::optional<PortraitTexts> Portrait; // a phase portrait instead of the stored curves
};

std::optional<long long> stepCount(const std::string& text) {
    const auto steps = parseInteger(trim(text));
    if (!steps || *steps < 0 || *steps > 10000000)
        return std::nullopt;
    return steps;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(trim(text.substr(start, at - start)));
    parts.push_back(trim(text.substr(start)));
    return parts;
}

std::string valueAfter(const CliArguments& arguments, std::size_t& i) {
    if (i + 1 >= arguments.size())
        usageError(Usage, arguments[i] + " needs a value");
    return arguments[++i];
}

// The 3D options: the mode, tubes, and the turns about X, Y, Z in degrees.
bool readSceneOption(const CliArguments& arguments, std::size_t& i, RenderOptions& options) {
    const std::string& argument = arguments[i];
    if (argument != "--3d" && argument != "--tube" && argument != "--turn")
        return false;
    SceneRequest& scene = options.Scene ? *options.Scene : options.Scene.emplace();
    if (argument == "--tube") {
        scene.Tube = true;
    } else if (argument == "--3d") {
        const std::string mode = valueAfter(arguments, i);
        if (mode != "stereo" && mode != "left" && mode != "right")
            usageError(Usage, "--3d is stereo, left or right");
        scene.Mode = mode == "stereo" ? ViewMode::Stereo
                     : mode == "left" ? ViewMode::LeftEye
                                      : ViewMode::RightEye;
    } else {
        const auto parts = split(valueAfter(arguments, i), ',');
        for (std::size_t k = 0; k < 3; ++k) {
            const auto angle = parts.size() == 3 ? parseTrimmedNumber(parts[k]) : std::nullopt;
            if (!angle || !std::isfinite(*angle))
                usageError(Usage, "--turn takes three angles in degrees");
            scene.TurnDegrees[k] = *angle;
        }
    }
    return true;
}

// The phase-portrait options, with the designer's defaults for what is not given.
bool readPortraitOption(const CliArguments& arguments, std::size_t& i, PortraitTexts& portrait) {
    const std::string& argument = arguments[i];
    if (argument == "--nodes") {
        const auto parts = split(valueAfter(arguments, i), ',');
        if (parts.size() != 2 && parts.size() != 3)
            usageError(Usage, "--nodes takes two or three counts");
        portrait.NodesX = parts[0];
        portrait.NodesY = parts[1];
        if (parts.size() == 3)
            portrait.NodesZ = parts[2];
    } else if (argument == "--stroke-steps") {
        portrait.StrokeSteps = valueAfter(arguments, i);
    } else if (argument == "--linear") {
        portrait.Type = StrokeType::Linear;
    } else if (argument == "--limit") {
        portrait.PixelLimit = valueAfter(arguments, i);
        portrait.Length = StrokeLength::Limited;
    } else {
        return argument == "--portrait";
    }
    return true;
}

RenderOptions readOptions(const CliArguments& arguments) {
    RenderOptions options;
    PortraitTexts portrait = portraitTexts(PortraitParams{});
    bool portraitWanted = false, portraitOptions = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--out") {
            options.Out = valueAfter(arguments, i);
        } else if (argument == "--size") {
            const auto parts = split(valueAfter(arguments, i), 'x');
            const auto w = parts.size() == 2 ? parseInteger(parts[0]) : std::nullopt;
            const auto h = parts.size() == 2 ? parseInteger(parts[1]) : std::nullopt;
            if (!w || !h || *w < 1 || *h < 1 || *w > 8000 || *h > 8000)
                usageError(Usage, "--size is WIDTHxHEIGHT, 1 to 8000 pixels each");
            options.Request.Width = static_cast<int>(*w);
            options.Request.Height = static_cast<int>(*h);
        } else if (argument == "--steps") {
            options.Steps = valueAfter(arguments, i);
        } else if (argument == "--curves") {
            options.Curves = valueAfter(arguments, i);
        } else if (argument == "--box") {
            const auto parts = split(valueAfter(arguments, i), ',');
            if (parts.size() != 4 && parts.size() != 6)
                usageError(Usage, "--box takes four or six values");
            BoundTexts box{"", "", "", "", "0", "1"};
            std::copy(parts.begin(), parts.end(), box.begin());
            options.Request.Box = box;
        } else if (argument == "--radians") {
            options.Radians = true;
        } else if (readSceneOption(arguments, i, options)) {
        } else if (readPortraitOption(arguments, i, portrait)) {
            portraitWanted = portraitWanted || argument == "--portrait";
            portraitOptions = true;
        } else if (options.Path.empty() && !argument.starts_with("--")) {
            options.Path = argument;
        } else {
            usageError(Usage, "unexpected " + argument);
        }
    }
    if (options.Path.empty())
        usageError(Usage, "no problem file");
    if (options.Out.empty())
        usageError(Usage, "no --out file");
    if (portraitOptions && !portraitWanted)
        usageError(Usage, "--nodes, --stroke-steps, --linear and --limit need --portrait");
    if (portraitWanted)
        options.Portrait = portrait;
    if (options.Steps && !stepCount(*options.Steps))
        usageError(Usage, "--steps is a whole number from 0 to 10000000");
    return options;
}

// "x1,y1;x2,y2": each curve by its variables' names, two in 2D, three in 3D.
void readCurves(CurveTable& table, const std::string& text, const std::vector<std::string>& names) {
    for (const std::string& item : split(text, ';')) {
        const auto parts = split(item, ',');
        std::vector<std::int32_t> indices;
        for (const std::string& name : parts) {
            const auto found = std::find(names.begin(), names.end(), name);
            if (found == names.end())
                throw OrvantaError("No variable \"" + name + "\" for --curves");
            indices.push_back(static_cast<std::int32_t>(found - names.begin()));
        }
        if (parts.size() != 2 && parts.size() != 3)
            throw OrvantaError("A curve has two or three components: \"" + item + "\"");
        table.ThreeD = parts.size() == 3;
        if (!table.append(names, indices[0], indices[1], table.ThreeD ? indices[2] : 0))
            throw OrvantaError("Too many curves");
    }
}

// The graph lines of a script: colours, first curve and figure, and its box unless one is given
// (a script without bounds is fitted as Adjust fits).
void takeScriptGraph(const ScriptRecord& record, GraphModel& model, RenderRequest& request) {
    for (std::size_t i = 0; i < record.Colours.size() && i < MaxCurves; ++i)
        model.Colours.setColour(static_cast<std::int32_t>(i),
                                static_cast<WinColour>(record.Colours[i]));
    model.rebuildBullets();
    if (record.Figure) {
        model.FirstCurve = record.Figure->FirstCurve.value_or(1);
        const int figure = record.Figure->SolidBody;
        model.Feature =
            figure >= 0 && figure <= 4 ? static_cast<PlotFeature>(figure) : PlotFeature::None;
    }
    const auto& fields = record.GraphFields;
    const bool bounds = std::any_of(fields.begin(), fields.begin() + 4,
                                    [](const std::string& text) { return !trim(text).empty(); });
    if (!request.Box && bounds)
        request.Box = BoundTexts{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

// A grid portrait over the world box the picture was given.
bool renderPortrait(GraphModel& model, GraphProblem& graph, Ui& ui, const PortraitTexts& texts) {
    PortraitParams params;
    if (!readPortraitParams(texts, params, ui))
        return false;
    const PortraitOutcome outcome = makePortrait(model, graph, ui, params, PortraitRequest{});
    if (outcome.End != PortraitEnd::Drawn)
        return false;
    std::cerr << formatText("%lld strokes in %.2f s\n", static_cast<long long>(outcome.Strokes),
                            outcome.Seconds);
    return true;
}

int runRender(const CliArguments& arguments) {
    const RenderOptions options = readOptions(arguments);
    // Rendering needs no display, nor a session's runtime folder: without one Qt would warn on
    // every run, so a private folder is made the way Qt itself falls back to.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::filesystem::path runtime =
            std::filesystem::temp_directory_path() / ("runtime-" + std::to_string(getuid()));
        std::error_code error;
        std::filesystem::create_directory(runtime, error);
        if (!error && ::chmod(runtime.c_str(), 0700) == 0)
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    }
    int argc = 1;
    char name[] = "orvanta-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    StreamUi ui(std::cerr);
    WorkspaceState state;
    TCompiledProblem problem;
    ProblemPanes panes;
    FormulaAssembly assembly;
    std::optional<ScriptRecord> record;
    if (classifyStartupFile(options.Path, std::filesystem::current_path().string()).kind ==
        StartupFile::Script) {
        // The script's own settings, problem, Results array, curves and box, as its run shows.
        const ScriptLocation location = locateScript(options.Path, true, "");
        record = openScript(location, options.Path, ui);
        ProblemDocument document;
        if (!record || !prepareScript(*record, location, state, problem, document, assembly, ui))
            return 1;
        panes = document.Panes;
    } else {
        state.AngleFactor = options.Radians ? 1.0L : std::numbers::pi_v<Extended> / 180;
        panes = readProblemFile(options.Path);
        FormulaParser parser;
        assembly = compileForIntegration(state, panes, problem, parser, false);
    }
    GraphProblem graph{problem, curveVariableNames(assembly, panes)};

    const std::string stepsText =
        options.Steps.value_or(record ? std::to_string(record->GraphSteps) : "1000");
    const long long steps = stepCount(stepsText).value_or(0);
    if (state.Results.empty() &&
        !createResults(state, problem, ui, std::to_string(steps + 1), true, false).Created)
        throw OrvantaError("The Results array was not created");
    if (!makeRoomForSteps(state, steps, ui))
        return 1;
    if (options.Curves) {
        state.Curves.Curves.clear();
        readCurves(state.Curves, *options.Curves, graph.Names);
    } else if (record) {
        auto curves = curvesFromScript(*record, static_cast<std::int32_t>(graph.Names.size()), ui);
        if (!curves)
            return 1;
        state.Curves = std::move(*curves);
    } else {
        state.Curves.ThreeD = options.Scene.has_value();
        generateCurves(state.Curves, graph.Names, ui);
    }
    if (state.Curves.Curves.empty())
        throw OrvantaError("No curves to plot");
    if (options.Scene && !state.Curves.ThreeD)
        throw OrvantaError("--3d, --tube and --turn need curves of three variables (--curves)");

    SteadyPlayClock clock;
    GraphModel model(state, clock);
    RenderRequest request = options.Request;
    if (record)
        takeScriptGraph(*record, model, request);
    if (state.Curves.ThreeD)
        applySceneRequest(model, options.Scene.value_or(SceneRequest{}));
    if (steps > 0) {
        RunSettings settings;
        settings.MainNames = assembly.MainNames;
        runMore(state, problem, ui, stepsText, settings);
    }
    if (!renderGraph(model, graph, ui, request,
                     constantsValueReader(panes.Constants, state.AngleFactor)))
        return 1;
    if (options.Portrait && !renderPortrait(model, graph, ui, *options.Portrait))
        return 1;
    writePng(model.Image, options.Out);
    std::cerr << formatText("%d x %d pixels, %d curves, %d points stored\n", model.Image.width(),
                            model.Image.height(), state.Curves.count(), state.StepIndex + 1);
    return 0;
}

const CliRegistration registration("render", Usage, runRender);

} // namespace
