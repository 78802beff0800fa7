// The graph window's menu dialogs and settings without widgets: grid cells, bullet diameter,
// curve density, first curve to plot, plot features, the play time, axis swaps.
#pragma once

#include "graphics/GraphRun.h"

#include <optional>
#include <string>

class Ui;

// "Changing grid": both counts in 2..20 or nothing changes. True when the grid changed; the
// window then replots and sets the hint gridHint().
bool changeGrid(GraphModel& model, Ui& ui);
std::string gridHint(const GraphModel& model); // "%d×%d"

// "Bullet diameter or thick curve width": clamped to 4..20 and halved. True when read.
bool changeBulletDiameter(GraphModel& model, Ui& ui);
// "Density via distance between pixels": 0.25..5, else "Outside the recommended range".
bool changeCurveDensity(GraphModel& model, Ui& ui);
// "Visualizing solid body": any integer; above the curve count it warns.
bool changeFirstCurve(GraphModel& model, Ui& ui);
// A plot feature needs 3 (Triangle, Double pendulum) or 4 curves (Axes, Tetrahedron); refused,
// the feature becomes None. None also resets the first curve to plot. Returns the feature set.
PlotFeature choosePlotFeature(GraphModel& model, PlotFeature feature, Ui& ui);

// The play time or Auto interval in seconds; nothing for an unreadable or absurd text.
std::optional<double> readSeconds(const std::string& text);
// "Play": the duration from `timeText` (nothing done when unreadable: the window writes the
// current value back), then an animated replot. False when nothing was played.
bool playGraph(GraphModel& model, Ui& ui, const std::string& timeText);

// "X and Y", "X and Z", "Y and Z": the curves' components and the world's bounds change places.
void swapGraphAxes(GraphModel& model, const std::vector<std::string>& names, int first, int second);
