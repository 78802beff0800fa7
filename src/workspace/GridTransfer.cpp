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
    if (lines.size() < variableRows)
        throw OrvantaError("Not enough elements in Clipboard column");
    lines.resize(variableRows);
    return lines;
}
