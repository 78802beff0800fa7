// Running a script without windows: the script read, its settings applied, its problem loaded
// and compiled, the Results array set up as recorded, room made for the recorded steps.
#pragma once

#include "compiler/CompileDriver.h"
#include "workspace/ScriptFile.h"
#include "workspace/ScriptLocation.h"

#include <cstdint>
#include <optional>
#include <string>

class Ui;
struct ProgramState;
struct ProblemDocument;
struct TCompiledProblem;

inline constexpr const char* ScriptFilter = "Script|*.scr";

// Reads the script at the location; `name` is how messages call it ("Cannot open script file
// <name>", "Incompatible script version", "Not enough data in script file"). Warns when the
// problem it names was written after it. A script that runs short after its four choices is
// returned: preparing it loads and compiles its problem before the shortage is reported.
std::optional<ScriptRecord> openScript(const ScriptLocation& location, const std::string& name,
                                       Ui& ui);

// Applies the recorded settings (Taylor terms, error control, direction, angle unit, radius
// variables, step factor), loads and compiles the problem beside the script and creates the
// Results array the script records. False after "No file <path>", "Compilation failed",
// "Not enough data in script file" (a script that ran short) or another message.
bool prepareScript(const ScriptRecord& record, const ScriptLocation& location, ProgramState& state,
                   TCompiledProblem& problem, ProblemDocument& document, FormulaAssembly& assembly,
                   Ui& ui);

// A run nobody watches cannot answer the "Appending Results" box: a growing array is extended
// beforehand so that it holds `steps` more points. False when it could not grow.
bool makeRoomForSteps(ProgramState& state, std::int64_t steps, Ui& ui);
