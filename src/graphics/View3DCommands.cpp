// Turning, tubes, the 3D form's cells and the 3D cursor over the graph model.
#include "graphics/View3DCommands.h"

#include "common/NumberText.h"
#include "workspace/WorkspaceState.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr Extended RadiansPerDegree = std::numbers::pi_v<Extended> / 180;
constexpr int CrossSize = 8;

// The cross of the 3D cursor: a line across at y = 4 and one down at x = 4, added to the picture.
void drawCross(QImage& image, Pixel at, QRgb colour) {
    for (int k = 0; k < CrossSize; ++k)
        for (const Pixel p : {Pixel{at.x - 4 + k, at.y}, Pixel{at.x, at.y - 4 + k}})
            if (image.valid(p.x, p.y))
                image.setPixel(p.x, p.y, image.pixel(p.x, p.y) | colour);
}

void restoreCross(QImage& screen, const QImage& image, Pixel at) {
    for (int y = at.y - 4; y < at.y + 4; ++y)
        for (int x = at.x - 4; x < at.x + 4; ++x)
            if (image.valid(x, y) && screen.valid(x, y))
                screen.setPixel(x, y, image.pixel(x, y));
}

bool carries(const QImage& image, Pixel p, QRgb colour) {
    const QRgb bits = colour & 0xFFFFFF;
    return image.valid(p.x, p.y) && (image.pixel(p.x, p.y) & bits) == bits;
}

Pixel eyePixel(const GraphWorld& world, const ProjectedPoint& p, bool leftEye) {
    return world.toPixel(leftEye ? p.LeftX : p.RightX, p.ScreenY);
}

} // namespace

void redoView(GraphModel& model, GraphProblem& graph, Ui& ui) {
    if (!model.threeD()) {
        redraw(model, graph, ui);
        return;
    }
    model.View.rebuildMatrix();
    if (!model.World.BoundsValid)
        return;
    if (model.Scene.Anchored) {
        model.View.projectFrame(model.World);
        redraw(model, graph, ui);
    } else {
        relayout(model, graph, ui);
    }
}

void turnByTrackBar(GraphModel& model, GraphProblem& graph, Ui& ui, TurnAxis axis, int position) {
    Extended& angle = axis == TurnAxis::Vertical ? model.View.Params.Alpha : model.View.Params.Beta;
    angle = angleOfTrackBar(position);
    redoView(model, graph, ui);
}

void setTubeLook(GraphModel& model, bool on) {
    model.Scene.Tube = on;
    if (on && !model.Scene.stereo())
        model.Colours.fillTube();
    else
        model.Colours.fillNormal();
    if (on)
        model.BulletRadius = std::max(model.BulletRadius, 5);
    model.rebuildBullets();
    model.ShowBullets = !on;
}

void switchTube(GraphModel& model, GraphProblem& graph, Ui& ui, bool on) {
    setTubeLook(model, on);
    if (!model.World.BoundsValid)
        return;
    if (on)
        adjustBounds(model, graph, ui);
    else
        redraw(model, graph, ui);
}

ViewCells viewCells(const ViewParams& p) {
    auto text = [](Extended value) { return formatGeneral(value, 15); };
    return {text(2 * p.HalfEyeDistance),
            text(p.ScreenWidth),
            text(p.EyesToScreen),
            text(p.EyesToFront),
            text(p.Alpha / RadiansPerDegree),
            text(p.Beta / RadiansPerDegree),
            text(p.Gamma / RadiansPerDegree)};
}

ViewCellsEnd applyViewCells(GraphModel& model, GraphProblem& graph, Ui& ui,
                            const ViewCells& cells) {
    if (!model.threeD())
        return ViewCellsEnd::NotIn3D;
    ViewParams& stored = model.View.Params;
    ViewParams read = stored;
    Extended ViewParams::*const members[] = {&ViewParams::HalfEyeDistance,
                                             &ViewParams::ScreenWidth,
                                             &ViewParams::EyesToScreen,
                                             &ViewParams::EyesToFront,
                                             &ViewParams::Alpha,
                                             &ViewParams::Beta,
                                             &ViewParams::Gamma};
    const Extended factors[] = {
        0.5L, 1, 1, 1, RadiansPerDegree, RadiansPerDegree, RadiansPerDegree};
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const auto value = parseTrimmedNumber(cells[k]);
        if (!value || !std::isfinite(*value)) {
            if (!ui.confirm("Wrong data: close any way?"))
                return ViewCellsEnd::StayOpen;
            for (std::size_t j = 0; j < k; ++j) // the cells before the unreadable one are kept
                stored.*members[j] = read.*members[j];
            return ViewCellsEnd::ClosedAnyway;
        }
        read.*members[k] = *value * factors[k];
    }
    if (read.EyesToFront < read.EyesToScreen / 2 || read.EyesToFront > read.EyesToScreen ||
        !(read.ScreenWidth > 0)) {
        ui.message("It must be that ½ CS < CD < CS");
        return ViewCellsEnd::StayOpen;
    }
    stored = read;
    redoView(model, graph, ui);
    return ViewCellsEnd::Applied;
}

void askZStops(ViewParams& params, Ui& ui) {
    const auto text =
        ui.inputBox("Number of mouse Z-stops", "Number of mouse stops within Zmin..Zmax",
                    std::to_string(params.ZStops));
    if (!text)
        return;
    const auto stops = parseInteger(trim(*text));
    if (stops && *stops > 0 && *stops <= 1000000)
        params.ZStops = static_cast<int>(*stops);
}

CursorMove moveCursor3D(GraphModel& model, int px, int py) {
    View3D& view = model.View;
    QImage& screen = model.HasScreen ? model.Screen : model.Image;
    const Scene3D& scene = model.Scene;
    restoreCross(screen, model.Image, eyePixel(model.World, view.Cursor, false));
    restoreCross(screen, model.Image, eyePixel(model.World, view.Cursor, true));
    const WorldPoint at = model.World.toWorld(px, py);
    view.Cursor.x = at.x;
    view.Cursor.y = at.y;
    CursorMove move{at.x, at.y, view.Cursor.z, false};
    if (!view.project(view.Cursor)) {
        view.Failed = false; // a cursor in front of the eyes draws no cross
        return move;
    }
    const Pixel right = eyePixel(model.World, view.Cursor, false);
    const Pixel left = eyePixel(model.World, view.Cursor, true);
    move.Touches = carries(screen, right, toRgb(scene.RightEye)) &&
                   carries(screen, left, toRgb(scene.LeftEye));
    drawCross(screen, right, toRgb(scene.RightEye));
    drawCross(screen, left, toRgb(scene.LeftEye));
    return move;
}

std::string cursorCaption(const std::string& problemCaption, const std::string& independent,
                          const std::string& direction, const CursorMove& cursor) {
    return formatText("%s,  independent variable %s %s,  (%.6g, %.6g, %.6g)",
                      problemCaption.c_str(), independent.c_str(), direction.c_str(),
                      static_cast<double>(cursor.x), static_cast<double>(cursor.y),
                      static_cast<double>(cursor.z));
}

void applySceneRequest(GraphModel& model, const SceneRequest& request) {
    model.Scene.Mode = request.Mode;
    model.Scene.Cage = request.Cage;
    setTubeLook(model, request.Tube);
    ViewParams& params = model.View.Params;
    params.Alpha = request.TurnDegrees[0] * RadiansPerDegree;
    params.Beta = request.TurnDegrees[1] * RadiansPerDegree;
    params.Gamma = request.TurnDegrees[2] * RadiansPerDegree;
    model.View.rebuildMatrix();
}
