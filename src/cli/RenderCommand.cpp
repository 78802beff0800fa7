// orvanta-cli render: integrates a problem and writes the graph window's picture as a PNG.
#include "cli/CliCommand.h"
#include "cli/IntegrateRun.h"
#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/FormulaParser.h"
#include "graphics/PngWriter.h"
#include "graphics/RenderGraph.h"
#include "integrator/ProblemCompile.h"
#include "workspace/WorkspaceState.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <numbers>

namespace {

const char* const Usage = "render FILE.ode --out FILE.png [--size WxH] [--steps N] "
                          "[--curves \"x1,y1;x2,y2\"] [--box XMIN,XMAX,YMIN,YMAX[,ZMIN,ZMAX]] "
                          "[--radians]";

[[noreturn]] void usageError(const std::string& detail) {
    throw OrvantaError(detail + "\nusage: orvanta-cli " + Usage);
}

struct RenderOptions {
    std::string Path, Out;
    RenderRequest Request;
    std::string Steps = "1000";
    std::optional<std::string> Curves;
    bool Radians = false;
};

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
        usageError(arguments[i] + " needs a value");
    return arguments[++i];
}

RenderOptions readOptions(const CliArguments& arguments) {
    RenderOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--out") {
            options.Out = valueAfter(arguments, i);
        } else if (argument == "--size") {
            const auto parts = split(valueAfter(arguments, i), 'x');
            const auto w = parts.size() == 2 ? parseInteger(parts[0]) : std::nullopt;
            const auto h = parts.size() == 2 ? parseInteger(parts[1]) : std::nullopt;
            if (!w || !h || *w < 1 || *h < 1 || *w > 8000 || *h > 8000)
                usageError("--size is WIDTHxHEIGHT, 1 to 8000 pixels each");
            options.Request.Width = static_cast<int>(*w);
            options.Request.Height = static_cast<int>(*h);
        } else if (argument == "--steps") {
            options.Steps = valueAfter(arguments, i);
        } else if (argument == "--curves") {
            options.Curves = valueAfter(arguments, i);
        } else if (argument == "--box") {
            const auto parts = split(valueAfter(arguments, i), ',');
            if (parts.size() != 4 && parts.size() != 6)
                usageError("--box takes four or six values");
            BoundTexts box{"", "", "", "", "0", "1"};
            std::copy(parts.begin(), parts.end(), box.begin());
            options.Request.Box = box;
        } else if (argument == "--radians") {
            options.Radians = true;
        } else if (options.Path.empty() && !argument.starts_with("--")) {
            options.Path = argument;
        } else {
            usageError("unexpected " + argument);
        }
    }
    if (options.Path.empty())
        usageError("no problem file");
    if (options.Out.empty())
        usageError("no --out file");
    const auto steps = parseInteger(trim(options.Steps));
    if (!steps || *steps < 0 || *steps > 10000000)
        usageError("--steps is a whole number from 0 to 10000000");
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

int runRender(const CliArguments& arguments) {
    const RenderOptions options = readOptions(arguments);
    // Rendering needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "orvanta-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    StreamUi ui(std::cerr);
    WorkspaceState state;
    state.AngleFactor = options.Radians ? 1.0L : std::numbers::pi_v<Extended> / 180;
    TCompiledProblem problem;
    ProblemPanes panes = readProblemFile(options.Path);
    FormulaParser parser;
    const FormulaAssembly assembly = compileForIntegration(state, panes, problem, parser, false);
    GraphProblem graph{problem, curveVariableNames(assembly, panes)};

    const long long steps = *parseInteger(trim(options.Steps));
    if (!createResults(state, problem, ui, std::to_string(steps + 1), true, false).Created)
        throw OrvantaError("The Results array was not created");
    if (options.Curves)
        readCurves(state.Curves, *options.Curves, graph.Names);
    else
        generateCurves(state.Curves, graph.Names, ui);
    if (state.Curves.Curves.empty())
        throw OrvantaError("No curves to plot");

    SteadyPlayClock clock;
    GraphModel model(state, clock);
    if (steps > 0) {
        RunSettings settings;
        settings.MainNames = assembly.MainNames;
        runMore(state, problem, ui, options.Steps, settings);
    }
    if (!renderGraph(model, graph, ui, options.Request,
                     constantsValueReader(panes.Constants, state.AngleFactor)))
        return 1;
    writePng(model.Image, options.Out);
    std::cerr << formatText("%d x %d pixels, %d curves, %d points stored\n", model.Image.width(),
                            model.Image.height(), state.Curves.count(), state.StepIndex + 1);
    return 0;
}

const CliRegistration registration("render", Usage, runRender);

} // namespace
