// Save Data and Load Data: the restart values (*.ivp) and the stored solution elements (*.elm)
// kept beside a problem file, so that a run can be continued where it stopped.
#pragma once

#include "compiler/CompileDriver.h"

#include <string>
#include <vector>

class Ui;
struct ProgramState;
struct ProblemDocument;
struct TCompiledProblem;

// Writes the problem file (extension ".ode"), the current values of the main variables
// (".ivp") and, when points are stored, the Results array oldest point first (".elm"); then
// shows "Elements saved for <caption>". An uncompiled problem gets its problem file only. False
// when a file could not be written.
bool saveData(const ProgramState& state, const TCompiledProblem& problem, ProblemDocument& document,
              const std::string& path, const std::vector<std::string>& formulaList, Ui& ui);

// Puts the restart values and the elements beside `problemPath` back into a compiled problem:
// the restart values become the initial and current values, the elements fill a new Results
// array of their points plus 10 (not circular), the number of Taylor terms becomes the file's,
// and the last point becomes the current expansion. Nothing of the Results array or the number
// of terms changes unless the whole file of elements is sound. False after a message.
bool loadDataFiles(ProgramState& state, TCompiledProblem& problem, const std::string& problemPath,
                   const std::string& caption, Ui& ui);

// Load Data as a whole: opens the problem (with its special point), empties the Results array,
// compiles, and loads the data files.
bool loadData(ProgramState& state, TCompiledProblem& problem, ProblemDocument& document,
              FormulaAssembly& assembly, const std::string& path, Ui& ui);

// The stored variable that was the independent one at a point: the last whose coefficients from
// order 1 up are all exactly 0 but one that is exactly 1; -1 when there is none.
std::int32_t independentVariableOfPoint(const Extended* point, std::int32_t vars,
                                        std::int32_t terms);
