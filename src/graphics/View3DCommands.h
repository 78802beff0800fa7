// The 3D view's commands without their widgets: turning, the tube switch, the 3D form's cells and
// their checks, the Z stops and the 3D cursor. Each returns what the window writes back.
#pragma once

#include "graphics/GraphRun.h"

#include <array>
#include <optional>
#include <string>

// After a turn, the 3D form or an axis swap: the matrix from the angles; anchored, the frame
// stays and cage and axes follow; otherwise the view is set up again and the picture re-fitted.
// In 2D the curves are simply replotted.
void redoView(GraphModel& model, GraphProblem& graph, Ui& ui);

// A track bar let go: `tbVert` turns about X (alpha), `tbHoriz` about Y (beta); alpha =
// -position degrees.
enum class TurnAxis { Vertical, Horizontal };
void turnByTrackBar(GraphModel& model, GraphProblem& graph, Ui& ui, TurnAxis axis, int position);

// The tube look: the tube palette in the axonometric picture (else the normal one), a radius of
// at least 5, bullets rebuilt and hidden with tubes.
void setTubeLook(GraphModel& model, bool on);
// "Tube On" switched (also after the mode, cage, eye or axes choice): the palette, radius and
// bullets follow; tubes are fitted by Adjust, plain curves replotted.
void switchTube(GraphModel& model, GraphProblem& graph, Ui& ui, bool on);

// Column 1 of the 3D form: eye distance (twice the half distance), screen width, CS, CD and the
// three angles in degrees.
using ViewCells = std::array<std::string, 7>;
ViewCells viewCells(const ViewParams& params);

enum class ViewCellsEnd {
    Applied,      // stored, the view redone; the track bars follow the angles
    StayOpen,     // "It must be that ½ CS < CD < CS", or a cell was unreadable and Cancel chosen
    ClosedAnyway, // a cell was unreadable and OK chosen: the cells before it are stored
    NotIn3D       // closing in 2D applies nothing
};
// Closing the 3D form: reads the cells, checks the distances and redoes the view.
ViewCellsEnd applyViewCells(GraphModel& model, GraphProblem& graph, Ui& ui, const ViewCells& cells);

// "Z stops": the input box; an unreadable or non-positive number is ignored.
void askZStops(ViewParams& params, Ui& ui);

// The 3D cursor follows the mouse in stereo mode; its depth follows the wheel.
struct CursorMove {
    Extended x = 0, y = 0, z = 0;
    bool Touches = false; // both eyes' crosses lie on a curve of their colour: the program beeps
};
CursorMove moveCursor3D(GraphModel& model, int px, int py);
// "%s,  independent variable %s %s,  (%.6g, %.6g, %.6g)"
std::string cursorCaption(const std::string& problemCaption, const std::string& independent,
                          const std::string& direction, const CursorMove& cursor);

// A picture's 3D choices from the command line: mode, tubes, cage and the three turns.
struct SceneRequest {
    ViewMode Mode = ViewMode::Stereo;
    bool Tube = false;
    bool Cage = true;
    std::array<Extended, 3> TurnDegrees{0, 0, 0};
};
void applySceneRequest(GraphModel& model, const SceneRequest& request);
