// Text transfers of the parameters grid through the system clipboard: "Copy all" and
// "Paste IVP".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One line per row, the header row included: cells separated by a tab, each line ended by a
// carriage return alone.
std::string gridAsClipboardText(const std::vector<std::vector<std::string>>& rows);

// The clipboard's lines (CR, LF or CR LF) as the new initial-value texts of `variableRows` rows;
// extra lines are ignored. A table as "Copy all" writes it gives column 1 of its rows below the
// header. Throws OrvantaError "Not enough elements in Clipboard column".
std::vector<std::string> pastedInitialValues(const std::string& clipboard,
                                             std::size_t variableRows);
