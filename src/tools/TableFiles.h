// Writing a table of the stored solution: one file per variable (10-byte extended, 8-byte
// double or text) or all variables as one table for the clipboard or a spreadsheet.
#pragma once

#include "common/Extended.h"
#include "common/Ui.h"
#include "tools/TableNodes.h"

#include <string>
#include <vector>

// The kinds in the order of the "Save as ..." group.
enum class TableKind { Extended = 0, Double = 1, Text = 2, Clipboard = 3 };

// The cell a variable's name proposes: "x.ext", "x.dbl", "x.txt" or "Clipboard".
std::string proposedTableName(const std::string& variable, TableKind kind);

// A variable's values as its file holds them: the bare values, no header and no nodes.
std::string tableFileContent(const std::vector<Extended>& values, TableKind kind);

// A header line of the names, then one line per node, the values in exponent form with 18
// significant digits, separated by `separator`; lines end with CR LF.
std::string tableText(const std::vector<std::string>& names,
                      const std::vector<std::vector<Extended>>& values, char separator);

// Saves the columns whose cell is not empty, as the table form does: the first file is chosen in
// a save dialog proposing its cell's name, and its folder then takes every further file under
// the name in its cell; cancelling leaves that variable unsaved and asks again for the next one.
// The clipboard kind puts one table of those columns on the clipboard. False (after "Cannot
// write %s") when a file could not be written; the files written before it stay.
bool saveTableColumns(Ui& ui, TableKind kind, const std::vector<std::string>& names,
                      const std::vector<std::string>& cells, const TableRows& rows);
