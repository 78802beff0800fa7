// The graph window's commands over the model and the integrator.
#include "graphics/GraphRun.h"

#include "common/NumberText.h"
#include "compiler/CompiledProblem.h"
#include "engine/Series.h"
#include "graphics/GraphTexts.h"
#include "integrator/ResultsArray.h"
#include "integrator/StepControl.h"
#include "workspace/WorkspaceState.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* RecomputedSteps = "10";

void restartAndMore(GraphModel& model, GraphProblem& graph, Ui& ui, const std::string& steps) {
    restart(model.state(), graph.Problem, ui, 1);
    graphMore(model, graph, ui, steps);
}

// The coefficients of the stored variables at the current point, laid out as a Results slot.
std::vector<Extended> currentSeries(const TCompiledProblem& problem, std::int32_t terms) {
    const std::int32_t vars = problem.DerivStart - problem.NumConst;
    std::vector<Extended> series(static_cast<std::size_t>(vars * terms), 0.0L);
    for (std::int32_t v = 0; v < vars; ++v) {
        const std::int32_t var = problem.NumConst + v;
        std::copy_n(problem.Coefficients[var], std::min(terms, problem.Coefficients.length(var)),
                    series.begin() + static_cast<std::ptrdiff_t>(v) * terms);
    }
    return series;
}

void widen(Bounds& b, const Extended& value, Extended Bounds::*min, Extended Bounds::*max) {
    if (!std::isfinite(value))
        return;
    b.*min = std::min(b.*min, value);
    b.*max = std::max(b.*max, value);
}

} // namespace

bool playable(const GraphModel& model, const TCompiledProblem& problem) {
    const ResultsArray& results = model.state().Results;
    return !results.empty() && problem.IndepLine >= 0;
}

void relayout(GraphModel& model, GraphProblem& graph, Ui& ui) {
    if (model.threeD())
        model.View.setup(model.World);
    if (!model.layout())
        return;
    redraw(model, graph, ui);
}

void redraw(GraphModel& model, GraphProblem& graph, Ui& ui) {
    if (graph.Problem.IndepLine < 0) {
        // Without an independent variable the stored points cannot be replayed: recompute.
        restartAndMore(model, graph, ui, RecomputedSteps);
        return;
    }
    model.replotAll(false);
    reportProjectionFailure(model, ui);
}

bool reportProjectionFailure(const GraphModel& model, Ui& ui) {
    if (!model.View.Failed)
        return false;
    ui.message("3D: The denominator <= 0");
    return true;
}

bool applyBounds(GraphModel& model, GraphProblem& graph, Ui& ui, const BoundTexts& texts,
                 const ValueReader& read) {
    GraphWorld& world = model.World;
    world.Zoom = 1;
    const bool threeD = model.state().Curves.ThreeD;
    if (!world.parse(texts, threeD, read, ui))
        return false;
    world.commit(threeD);
    if (!world.BoundsValid) {
        ui.message("Wrong bounderies");
        return false;
    }
    relayout(model, graph, ui);
    model.drawLegend();
    return true;
}

void zoomGraph(GraphModel& model, GraphProblem& graph, Ui& ui, Extended factor) {
    model.World.zoomBy(factor, model.state().Curves.ThreeD);
    relayout(model, graph, ui);
    model.drawLegend();
}

std::optional<Bounds> dataRange(const GraphModel& model) {
    const CurveTable& table = model.state().Curves;
    const ResultsArray& results = model.state().Results;
    if (table.Curves.empty() || results.empty() || !table.fitsColumns(results.Vars))
        return std::nullopt;
    const Curve& first = table.Curves.front();
    const std::vector<StoredSegment> segments = model.heldSegments();
    const std::int32_t start =
        segments.empty() ? model.state().StepIndex % results.Length : segments.front().Slot;
    Bounds b{results.at(start, first.X)[0], results.at(start, first.X)[0],
             results.at(start, first.Y)[0], results.at(start, first.Y)[0],
             results.at(start, first.Z)[0], results.at(start, first.Z)[0]};
    const std::int32_t n = model.arcSamples();
    for (const StoredSegment& segment : segments) {
        const Extended h = segment.T1 - segment.T0;
        const std::int32_t samples = h == 0 ? 0 : n;
        for (const Curve& curve : table.Curves)
            for (std::int32_t k = 0; k <= samples; ++k) {
                const Extended s = samples == 0 ? 0 : h * k / samples;
                auto value = [&](std::int32_t var) {
                    return EvalSeries(results.at(segment.Slot, var), results.Terms, s);
                };
                widen(b, value(curve.X), &Bounds::Xmin, &Bounds::Xmax);
                widen(b, value(curve.Y), &Bounds::Ymin, &Bounds::Ymax);
                if (table.ThreeD)
                    widen(b, value(curve.Z), &Bounds::Zmin, &Bounds::Zmax);
            }
    }
    return b;
}

void widenDegenerate(Bounds& b, bool threeD) {
    std::array<std::pair<Extended*, Extended*>, 3> axes{
        {{&b.Xmin, &b.Xmax}, {&b.Ymin, &b.Ymax}, {&b.Zmin, &b.Zmax}}};
    const std::size_t count = threeD ? 3 : 2;
    Extended r = 0;
    for (std::size_t a = 0; a < count; ++a)
        r = std::max(r, (*axes[a].second - *axes[a].first) / 2);
    if (!(r > 0))
        r = 1;
    for (std::size_t a = 0; a < count; ++a)
        if (!(*axes[a].second > *axes[a].first)) {
            const Extended min = *axes[a].first;
            *axes[a].first = min - r;
            *axes[a].second = min + r;
        }
}

bool adjustBounds(GraphModel& model, GraphProblem& graph, Ui& ui) {
    WorkspaceState& state = model.state();
    TCompiledProblem& problem = graph.Problem;
    model.World.Zoom = 1;
    if (problem.IndepLine < 0)
        ui.message("No playing without an ODE like t'=1");
    if (state.Curves.Curves.empty())
        return false;
    if (state.Results.empty())
        createResults(state, problem, ui, "1000", true, false);
    if (state.StepIndex == 0 && !state.Results.empty()) {
        RunSettings blind;
        blind.MainNames.assign(graph.Names.begin(),
                               graph.Names.begin() +
                                   std::min<std::size_t>(graph.Names.size(), problem.NumMain));
        runMore(state, problem, ui, RecomputedSteps, blind);
    }
    if (state.Results.empty() || state.StepIndex == 0) {
        ui.message("Nothing was stored and nothing was pre-computed at opening");
        return false;
    }
    if (!state.Curves.fitsColumns(state.Results.Vars)) {
        ui.message("Some of the curves need Aux variables in Results Array - not yet set");
        return false;
    }
    Bounds range = *dataRange(model);
    widenDegenerate(range, state.Curves.ThreeD);
    model.World.Current = range;
    model.World.commit(state.Curves.ThreeD);
    zoomGraph(model, graph, ui, 1.1L);
    return true;
}

// The picture follows the pointer: a drag across the whole image moves the world by the visible
// width, whatever the zoom.
BoundTexts panBounds(const GraphWorld& world, int dx, int dy) {
    if (world.ImageWidth < 1 || world.ImageHeight < 1)
        return world.hintTexts();
    GraphWorld moved = world;
    const Extended shiftX = static_cast<Extended>(dx) / world.ImageWidth * world.width();
    const Extended shiftY = static_cast<Extended>(dy) / world.ImageHeight * world.height();
    moved.Current.Xmin -= shiftX;
    moved.Current.Xmax -= shiftX;
    moved.Current.Ymin += shiftY;
    moved.Current.Ymax += shiftY;
    return moved.hintTexts();
}

BoundTexts sizePreset(int preset) {
    const bool xFromMinusOne = preset == 1 || preset == 2;
    const bool restFromMinusOne = preset == 1 || preset == 3;
    const std::string x = xFromMinusOne ? "-1" : "0";
    const std::string rest = restFromMinusOne ? "-1" : "0";
    return {x, "1", rest, "1", rest, "1"};
}

BoundTexts timesPreset(const BoundTexts& texts, Extended factor) {
    BoundTexts result = texts;
    for (std::size_t k = 0; k < 4; ++k)
        if (const auto value = parseTrimmedNumber(texts[k]))
            result[k] = formatGeneral(*value * factor, 15);
    return result;
}

RunOutcome graphMore(GraphModel& model, GraphProblem& graph, Ui& ui, const std::string& stepsText,
                     const std::function<void(const MoreStepTexts&)>& onStep) {
    WorkspaceState& state = model.state();
    TCompiledProblem& problem = graph.Problem;
    const std::int32_t terms = state.TermCount;
    std::vector<Extended> start = currentSeries(problem, terms);
    const std::int32_t vars = problem.DerivStart - problem.NumConst;
    const std::int32_t steps = static_cast<std::int32_t>(parseInteger(trim(stepsText)).value_or(0));
    std::int32_t position = 0;
    RunSettings settings;
    settings.MainNames.assign(graph.Names.begin(),
                              graph.Names.begin() +
                                  std::min<std::size_t>(graph.Names.size(), problem.NumMain));
    settings.Progress = [&](std::int32_t i) { position = i; };
    const bool canDraw = model.World.LayoutValid && state.Curves.fitsColumns(vars);
    settings.PointAccepted = [&] {
        if (canDraw)
            model.plotSegment({start.data(), vars, terms}, problem.TPrev, problem.CurrentIndep,
                              CurveSubStepLimit, true);
        start = currentSeries(problem, terms);
        if (onStep)
            onStep({howManyText(position, steps, state.SplitCount, state.TotalSteps),
                    radiusText(problem.Radius),
                    moreProgressText(position, steps, state.SplitCount, state.TotalSteps,
                                     state.StepIndex)});
    };
    model.startLiveDrawing();
    model.View.Failed = false;
    RunOutcome outcome = runMore(state, problem, ui, stepsText, settings);
    reportProjectionFailure(model, ui);
    model.drawLegend();
    return outcome;
}

bool undoSteps(GraphModel& model, GraphProblem& graph, std::int32_t steps) {
    WorkspaceState& state = model.state();
    TCompiledProblem& problem = graph.Problem;
    ResultsArray& results = state.Results;
    if (steps < 1 || state.StepIndex < steps || problem.IndepLine < 0 || results.empty())
        return false;
    // A circular array holds only its last Length points.
    if (results.Circular && steps > results.Length - 1)
        return false;
    state.StepIndex -= steps;
    const std::int32_t slot = state.StepIndex % results.Length;
    const std::int32_t vars = std::min(results.Vars, problem.DerivStart - problem.NumConst);
    for (std::int32_t v = 0; v < vars; ++v) {
        const std::int32_t var = problem.NumConst + v;
        std::copy_n(results.at(slot, v), std::min(results.Terms, problem.Coefficients.length(var)),
                    problem.Coefficients[var]);
    }
    const Extended t = results.at(slot, problem.IndepLine)[0];
    problem.CurrentIndep = t;
    problem.PathLength = std::fabs(t);
    AfterStep(state, problem);
    model.replotAll(false);
    return true;
}

std::vector<PlacementCell> placementCells(const GraphProblem& graph, const CurveTable& curves,
                                          std::int32_t curve, WorldPoint point, Ui& ui) {
    const std::int32_t main = graph.Problem.NumMain;
    if (curve < 0 || curve >= curves.count())
        return {};
    const Curve& c = curves.Curves[curve];
    if (c.X >= main || c.Y >= main || (curves.ThreeD && c.Z >= main)) {
        ui.message("Only curves over main variables may be placed");
        return {};
    }
    std::vector<PlacementCell> cells{{c.X + 1, formatGeneral(point.x, 15)},
                                     {c.Y + 1, formatGeneral(point.y, 15)}};
    if (curves.ThreeD)
        cells.push_back({c.Z + 1, "0"});
    return cells;
}

void placeAndIntegrate(GraphModel& model, GraphProblem& graph, Ui& ui,
                       const std::vector<PlacementCell>& cells, const std::string& stepsText) {
    TCompiledProblem& problem = graph.Problem;
    for (const PlacementCell& cell : cells) {
        const auto value = parseTrimmedNumber(cell.Text);
        if (!value || cell.Row < 1 || cell.Row > problem.NumMain) {
            ui.message("Wrong parameters");
            return;
        }
        problem.InitialValues[static_cast<std::size_t>(cell.Row - 1)] = *value;
    }
    model.Backup = model.Image;
    const bool backward = problem.Direction < 0;
    setDirection(problem, !backward);
    restartAndMore(model, graph, ui, stepsText);
    setDirection(problem, backward);
    restartAndMore(model, graph, ui, stepsText);
    restartAndMore(model, graph, ui, stepsText);
}
