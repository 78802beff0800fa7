// Problem files (*.ode): the four panes as sections, then the designed polynomials when the
// formulas use them.
#pragma once

#include "workspace/ProblemDocument.h"

#include <string>
#include <vector>

class Ui;
struct ProgramState;
struct TCompiledProblem;

// The file's text: each pane's header, its lines unchanged, one empty line; then the
// "[Polynomials]" section when `withPolynomials`.
std::string problemFileText(const ProblemDocument& document, bool withPolynomials);

// Reads the panes and polynomials of a problem file into the document. Refuses any extension but
// ".ode" (in any case) with "Wrong file extension" and a file it cannot read with
// "Cannot open <path>"; either leaves the previous problem in place (marked modified).
bool readProblemDocument(ProblemDocument& document, const std::string& path, Ui& ui);

// Open: reads the document, then the special point in the ".sing" file beside it (a missing file
// leaves the problem without a special point).
bool loadProblemFile(ProblemDocument& document, TCompiledProblem& problem, ProgramState& state,
                     const std::string& path, Ui& ui);

// Save and Save As: writes the document under `fileName` with its extension made ".ode",
// through a temporary file. The polynomial section is written when the compiled formula list
// calls "polynomial". Shows "No file name specified" or "Cannot save <path>" and returns false
// on failure; the document's path is the new one either way.
bool writeProblemFile(ProblemDocument& document, const std::string& fileName,
                      const std::vector<std::string>& formulaList, Ui& ui);
