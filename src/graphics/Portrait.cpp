// Strokes of the phase portrait: each half starts at its point with the expansion computed there
// and runs a number of steps (or one step's tangent, or a limited number of pixels) away from it.
#include "graphics/Portrait.h"

#include "common/OrvantaError.h"
#include "compiler/CompiledProblem.h"
#include "engine/Series.h"
#include "engine/TaylorEngine.h"
#include "integrator/IntegrationRun.h"
#include "integrator/StepFaults.h"
#include "integrator/StepRoutines.h"
#include "workspace/WorkspaceState.h"

#include <chrono>
#include <cmath>

namespace {

constexpr std::int64_t NodeQuestionLimit = 500;

// The main variables' saved rows laid out as one segment's series set.
SeriesSet savedSeries(const TCompiledProblem& problem, std::int32_t terms,
                      std::vector<Extended>& buffer) {
    buffer.resize(static_cast<std::size_t>(problem.NumMain) * static_cast<std::size_t>(terms));
    for (std::int32_t i = 0; i < problem.NumMain; ++i) {
        const std::vector<Extended>& row = problem.StepTable[static_cast<std::size_t>(i)];
        std::copy_n(row.begin(), terms, buffer.begin() + static_cast<std::ptrdiff_t>(i) * terms);
    }
    return {buffer.data(), problem.NumMain, terms};
}

// The variables a stroke sets and, with Linear, cuts to their tangent.
std::vector<std::int32_t> strokeVariables(const CurveTable& curves) {
    const Curve& curve = curves.Curves.front();
    std::vector<std::int32_t> vars{curve.X, curve.Y};
    if (curves.ThreeD)
        vars.push_back(curve.Z);
    return vars;
}

// The expansion at the point, in the direction already set; false when it cannot be computed.
bool startAt(ProgramState& state, TCompiledProblem& problem, const CurveTable& curves,
             const PortraitPoint& point) {
    for (std::int32_t i = 0; i < problem.NumMain; ++i)
        problem.Coefficients[problem.NumConst + i][0] =
            problem.InitialValues[static_cast<std::size_t>(i)];
    const std::vector<std::int32_t> vars = strokeVariables(curves);
    for (std::size_t k = 0; k < vars.size(); ++k)
        problem.Coefficients[problem.NumConst + vars[k]][0] = point[k];
    state.StepIndex = 0;
    try {
        ComputeCoefficients(problem, state);
        problem.CurrentIndep =
            problem.IndepLine >= 0 ? problem.Coefficients[problem.IndepVar][0] : 0;
        problem.PathLength = std::fabs(problem.CurrentIndep);
        checkedAfterStep(state, problem);
    } catch (const OrvantaError&) {
        return false;
    }
    return true;
}

// Each curve's bullet where the stroke starts.
void showNodes(GraphModel& model, const TCompiledProblem& problem) {
    const CurveTable& curves = model.state().Curves;
    const std::vector<Bullet> bullets =
        buildBullets(model.Colours, model.BulletRadius, model.Thick);
    const int r = model.BulletRadius;
    for (std::int32_t j = 0; j < curves.count(); ++j) {
        const Curve& curve = curves.Curves[j];
        const Pixel p = model.World.toPixel(problem.Coefficients[problem.NumConst + curve.X][0],
                                            problem.Coefficients[problem.NumConst + curve.Y][0]);
        drawBullet(model.Image, bullets[static_cast<std::size_t>(j)], p.x - r, p.y - r);
    }
}

void halfStroke(GraphModel& model, GraphProblem& graph, const PortraitParams& params,
                const PortraitPoint& point) {
    WorkspaceState& state = model.state();
    TCompiledProblem& problem = graph.Problem;
    problem.Direction = -problem.Direction;
    if (!startAt(state, problem, state.Curves, point))
        return;
    const std::int32_t terms = state.TermCount;
    if (params.ShowNodes)
        showNodes(model, problem);
    std::vector<Extended> buffer;
    const bool limited = params.Length == StrokeLength::Limited;
    if (limited || params.Type == StrokeType::Linear) {
        if (params.Type == StrokeType::Linear)
            for (const std::int32_t var : strokeVariables(state.Curves)) {
                Extended* a = problem.Coefficients[problem.NumConst + var];
                std::fill(a + std::min(2, terms), a + terms, 0.0L);
            }
        // The plotter's passes are its sub-steps + 1: a limited stroke has at most the limit's
        // number of points.
        const std::int32_t maxSubSteps = limited ? params.PixelLimit - 1 : CurveSubStepLimit;
        SaveCoefficients(problem, terms);
        model.plotSegment(savedSeries(problem, terms, buffer), 0, problem.Step, maxSubSteps, false);
        return;
    }
    try {
        for (std::int32_t step = 0; step < params.StrokeSteps; ++step) {
            SaveCoefficients(problem, terms);
            StepPlain(state, problem);
            model.plotSegment(savedSeries(problem, terms, buffer), problem.TPrev,
                              problem.CurrentIndep, CurveSubStepLimit, false);
        }
    } catch (const OrvantaError&) {
    }
}

} // namespace

PortraitPoint NodeGrid::node(std::int32_t w, std::int32_t u, std::int32_t layer) const {
    const Extended dx = (Box.Xmax - Box.Xmin) / CellsX;
    const Extended dy = (Box.Ymax - Box.Ymin) / CellsY;
    const Extended z = ThreeD ? Box.Zmin + layer * ((Box.Zmax - Box.Zmin) / CellsZ) : 0;
    return {Box.Xmin + w * dx, Box.Ymin + u * dy, z};
}

NodeGrid nodeGrid(const Bounds& box, const PortraitParams& params, bool threeD) {
    return {box, params.CellsX, params.CellsY, params.CellsZ, threeD};
}

bool tooManyNodesFor3D(const PortraitParams& params) {
    return static_cast<std::int64_t>(params.CellsX) * params.CellsY * params.CellsZ >
           NodeQuestionLimit;
}

void drawStroke(GraphModel& model, GraphProblem& graph, const PortraitParams& params,
                const PortraitPoint& point) {
    halfStroke(model, graph, params, point); // the direction reversed: backward from the point
    halfStroke(model, graph, params, point); // and restored: forward
}

namespace {

// What a portrait changes in the problem for its duration: the direction, and the terminal
// value, which must not end the strokes' steps.
class PortraitRun {
  public:
    PortraitRun(WorkspaceState& state, TCompiledProblem& problem)
        : state_(state), problem_(problem), direction_(problem.Direction),
          termArmed_(problem.TermArmed) {
        problem.TermArmed = false;
        problem.Terminated = false;
        state.Busy = true;
        state.Interrupt = false;
        state.LastPoll = std::chrono::steady_clock::now();
    }
    ~PortraitRun() {
        problem_.Direction = direction_;
        problem_.Step = std::fabs(problem_.Step) * direction_;
        problem_.TermArmed = termArmed_;
        problem_.Terminated = false;
        state_.StepIndex = 0; // the strokes' steps stored nothing
        state_.Busy = false;
    }
    PortraitRun(const PortraitRun&) = delete;
    PortraitRun& operator=(const PortraitRun&) = delete;

  private:
    WorkspaceState& state_;
    TCompiledProblem& problem_;
    Extended direction_;
    bool termArmed_;
};

// The one-curve and main-variable rules, with their messages.
bool portraitAllowed(const WorkspaceState& state, const TCompiledProblem& problem, Ui& ui) {
    if (state.Curves.count() != 1) {
        ui.message("Phase portraits - for one curve only! Delete all curves except one.\r\n"
                   "Use \"Mouse click to place IVP\" for multi-curve plots");
        return false;
    }
    for (const std::int32_t var : strokeVariables(state.Curves))
        if (var < 0 || var >= problem.NumMain) {
            ui.message("Only main variables allowed for the field of directions");
            return false;
        }
    return true;
}

// The nodes column by column, then the table; false when Esc ended it.
bool drawGrid(GraphModel& model, GraphProblem& graph, Ui& ui, const PortraitParams& params,
              const PortraitRequest& request, std::int64_t& strokes) {
    WorkspaceState& state = model.state();
    const NodeGrid grid = nodeGrid(model.World.Current, params, state.Curves.ThreeD);
    model.clear();
    if (request.Progress)
        request.Progress(0, grid.progressMax());
    for (std::int32_t w = 1; w < grid.CellsX; ++w)
        for (std::int32_t u = 1; u < grid.CellsY; ++u) {
            for (std::int32_t layer = grid.firstLayer(); layer <= grid.lastLayer(); ++layer) {
                drawStroke(model, graph, params, grid.node(w, u, layer));
                ++strokes;
            }
            if (request.Progress)
                request.Progress(grid.progress(w, u), grid.progressMax());
            if (PollInterrupt(state, ui))
                return false;
        }
    for (const PortraitPoint& point : request.Table) {
        drawStroke(model, graph, params, point);
        ++strokes;
    }
    return true;
}

} // namespace

PortraitOutcome makePortrait(GraphModel& model, GraphProblem& graph, Ui& ui,
                             const PortraitParams& params, const PortraitRequest& request) {
    WorkspaceState& state = model.state();
    PortraitOutcome outcome;
    // The rules come before the Results array is touched, so a refusal keeps the stored run.
    if (!portraitAllowed(state, graph.Problem, ui))
        return outcome;
    state.Results.clear();
    state.StepIndex = 0;
    if (request.Mode == PortraitMode::Grid && state.Curves.ThreeD && tooManyNodesFor3D(params) &&
        !ui.confirm("May be too many nodes for 3D: still go?")) {
        outcome.End = PortraitEnd::Declined;
        return outcome;
    }
    const auto started = std::chrono::steady_clock::now();
    {
        PortraitRun run(state, graph.Problem);
        if (request.Mode == PortraitMode::Grid) {
            outcome.End = drawGrid(model, graph, ui, params, request, outcome.Strokes)
                              ? PortraitEnd::Drawn
                              : PortraitEnd::Interrupted;
        } else {
            model.Backup = model.Image;
            drawStroke(model, graph, params, request.Point);
            outcome.Strokes = 1;
            outcome.End = PortraitEnd::Drawn;
        }
    }
    model.copyImageToScreen();
    outcome.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return outcome;
}
