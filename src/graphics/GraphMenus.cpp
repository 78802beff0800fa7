// Menu dialogs of the graph window.
#include "graphics/GraphMenus.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "workspace/WorkspaceState.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<long long> askInteger(Ui& ui, const std::string& title, const std::string& prompt,
                                    long long proposal) {
    const auto answer = ui.inputBox(title, prompt, std::to_string(proposal));
    if (!answer)
        return std::nullopt;
    return parseInteger(trim(*answer));
}

} // namespace

bool changeGrid(GraphModel& model, Ui& ui) {
    const auto x = askInteger(ui, "Changing grid", "Enter number of cells in X from 2 to 20",
                              model.GridCellsX);
    const auto y = askInteger(ui, "Changing grid", "Enter number of cells in Y from 2 to 20",
                              model.GridCellsY);
    if (!x || !y || *x < 2 || *x > 20 || *y < 2 || *y > 20)
        return false;
    model.GridCellsX = static_cast<int>(*x);
    model.GridCellsY = static_cast<int>(*y);
    return true;
}

std::string gridHint(const GraphModel& model) {
    return formatText("%d\u00d7%d", model.GridCellsX, model.GridCellsY);
}

bool changeBulletDiameter(GraphModel& model, Ui& ui) {
    const auto diameter =
        askInteger(ui, "Bullet diameter or thick curve width",
                   "Enter Bullet diameter (4..20 pixels)", 2 * model.BulletRadius);
    if (!diameter)
        return false;
    model.BulletRadius = static_cast<int>(std::clamp<long long>(*diameter, 4, 20) / 2);
    model.rebuildBullets();
    return true;
}

bool changeCurveDensity(GraphModel& model, Ui& ui) {
    const auto answer = ui.inputBox("Density via distance between pixels",
                                    "From 0.25 (very dense) to 5 (dotted line)",
                                    formatShort(model.World.CurveDensity));
    const auto density = answer ? parseTrimmedNumber(*answer) : std::nullopt;
    if (!density)
        return false;
    if (*density < 0.25L || *density > 5) {
        ui.message("Outside the recommended range");
        return false;
    }
    model.World.CurveDensity = *density;
    model.World.DensityStep = model.World.PixelSize * *density;
    return true;
}

bool changeFirstCurve(GraphModel& model, Ui& ui) {
    const auto first = askInteger(ui, "Visualizing solid body", "Plot beginning with curve #...",
                                  model.FirstCurve);
    if (!first || *first < INT32_MIN || *first > INT32_MAX)
        return false;
    model.FirstCurve = static_cast<std::int32_t>(*first);
    const std::int32_t count = model.state().Curves.count();
    if (model.FirstCurve > count)
        ui.message(formatText("It's > %d. No curves will be plotted", count));
    return true;
}

PlotFeature choosePlotFeature(GraphModel& model, PlotFeature feature, Ui& ui) {
    const std::int32_t count = model.state().Curves.count();
    const bool three = feature == PlotFeature::Triangle || feature == PlotFeature::DoublePendulum;
    const bool four = feature == PlotFeature::Axes || feature == PlotFeature::Tetrahedron;
    if ((three && count < 3) || (four && count < 4)) {
        ui.message(three ? "At least 3 curves needed" : "At least 4 curves needed");
        feature = PlotFeature::None;
    }
    if (feature == PlotFeature::None)
        model.FirstCurve = 1;
    model.Feature = feature;
    return feature;
}

std::optional<double> readSeconds(const std::string& text) {
    const auto seconds = parseTrimmedNumber(text);
    if (!seconds || std::fabs(*seconds) > 1e6)
        return std::nullopt;
    return static_cast<double>(static_cast<float>(*seconds)); // kept in single precision
}

bool playGraph(GraphModel& model, Ui& ui, const std::string& timeText) {
    const auto seconds = readSeconds(timeText);
    if (!seconds)
        return false;
    model.PlayDuration = *seconds;
    if (model.replotAll(true) == ReplotEnd::AuxMissing) {
        ui.message("Auxiliary variables not in Results (see Integration setting page)");
        return false;
    }
    return true;
}

void swapGraphAxes(GraphModel& model, const std::vector<std::string>& names, int first,
                   int second) {
    CurveTable& curves = model.state().Curves;
    if (!curves.ThreeD && (first > 1 || second > 1))
        return; // Z swaps act only in 3D
    curves.swapAxes(first, second, names);
    model.World.swapAxes(first, second);
}
