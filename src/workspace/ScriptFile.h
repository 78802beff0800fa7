// Script files (*.scr): the record of a run (problem, integration settings, curves, graph
// settings) with its writer and reader.
#pragma once

#include "common/Extended.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Ui;

inline constexpr const char* ScriptMagic = "OrvantaScript:2003/08/24";
inline constexpr int ScriptMaxCurves = 200;
inline constexpr int NoErrorControlItem = 2; // the last item of the error-control choice

struct ScriptCurve {
    int X = 0; // 0-based variable indexes of the components; Z is 0 for a 2D curve
    int Y = 0;
    int Z = 0;
    std::string Caption; // "{x, y}" or "{x, y, z}"
    bool operator==(const ScriptCurve&) const = default;
};

struct ScriptTurns {
    Extended AboutY = 0; // radians
    Extended AboutX = 0;
    std::optional<Extended> AboutZ;
    bool operator==(const ScriptTurns&) const = default;
};

struct ScriptFigure {
    int SolidBody = 0;             // 0 None, 1 Triangle, 2 Double pendulum, 3 Axes, 4 Tetrahedron
    std::optional<int> FirstCurve; // counted from 1
    bool operator==(const ScriptFigure&) const = default;
};

inline constexpr const char* ScriptShortMessage = "Not enough data in script file";

// Where a script ran out of lines or met a malformed one. What was read before stays in the
// record: a script that runs short after its settings still loads and compiles its problem.
enum class ScriptShortage {
    None,
    ProblemName, // the second line is missing: the problem is unknown
    Settings,    // in the step factor, the number of terms or the four choices
    Graph,       // anywhere after the four choices
};

struct ScriptRecord {
    std::string ProblemName; // file name without folder
    Extended RadFactor = 0.5L;
    int TermCount = 31;
    int ErrorControl = NoErrorControlItem; // item indexes of the window's choices, as stored
    int Direction = 0;
    int AngleUnit = 0; // 1 for degrees
    int Convergence = 1;
    int Dimension = 2; // 3 for the 3D view
    std::vector<ScriptCurve> Curves;
    long long ResultsLength = 0;
    long long ValuesPerPoint = 0;
    long long GraphSteps = 0;
    std::array<std::string, 7> GraphFields; // X min, X max, Y min, Y max, Z min, Z max, time
    // The tail is optional on reading: a script may end after the graph fields.
    std::vector<std::int32_t> Colours; // up to one per curve
    std::optional<ScriptTurns> Turns;
    std::optional<ScriptFigure> Figure;
    ScriptShortage Shortage = ScriptShortage::None; // set by the reader only
    bool operator==(const ScriptRecord&) const = default;
};

// The 23-character scientific form of script reals: " 1.50000000000000E-0003".
std::string formatScriptReal(Extended value);

// The shortest decimal text that reads back as the same value: "0.5", "0.1", "1e-7".
std::string formatShortestReal(Extended value);

// The script's text. Whatever error control the record holds, "No error control" is recorded.
std::string scriptText(const ScriptRecord& record);
// Writes the script beside the problem file (same path, extension ".scr"). Warns first when the
// record's error control is not "No error control"; the script is written all the same.
bool writeScriptFile(const ScriptRecord& record, const std::string& problemPath, Ui& ui);

// Reads a script's text as far as it goes, noting where it ran short; throws OrvantaError
// "Incompatible script version" when the first line is not the magic.
ScriptRecord readScript(const std::string& text);
// The same, but a script that runs short anywhere throws "Not enough data in script file".
ScriptRecord readScriptText(const std::string& text);
