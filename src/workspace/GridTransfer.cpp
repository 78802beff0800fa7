#include "workspace/GridTransfer.h"

#include "common/OrvantaError.h"
#include "common/TextFile.h"

std::string gridAsClipboardText(const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0)
                text += '\t';
            text += row[column];
        }
        text += '\r';
    }
    return text;
}

std::vector<std::string> pastedInitialValues(const std::string& clipboard,
                                             std::size_t variableRows) {
    auto lines = splitLines(clipboard);
    // A table copied with "Copy all" (a header row with an empty corner, then the name and the
    // value of every variable) gives its value column; a plain column gives its lines.
    if (!lines.empty() && lines.front().starts_with('\t')) {
        lines.erase(lines.begin());
        for (std::string& line : lines) {
            std::size_t first = line.find('\t');
            if (first != std::string::npos)
                line = line.substr(first + 1, line.find('\t', first + 1) - first - 1);
        }
    }
    if (lines.size() < variableRows)
        throw OrvantaError("Not enough elements in Clipboard column");
    lines.resize(variableRows);
    return lines;
}
