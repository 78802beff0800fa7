#include "tools/TableFiles.h"

#include "common/NumberText.h"
#include "common/TextFile.h"
#include "workspace/ExtendedFile.h"

#include <cstring>
#include <filesystem>

std::string proposedTableName(const std::string& variable, TableKind kind) {
    switch (kind) {
    case TableKind::Extended:
        return variable + ".ext";
    case TableKind::Double:
        return variable + ".dbl";
    case TableKind::Text:
        return variable + ".txt";
    case TableKind::Clipboard:
        break;
    }
    return "Clipboard";
}

std::string tableFileContent(const std::vector<Extended>& values, TableKind kind) {
    std::string content;
    for (const Extended value : values) {
        if (kind == TableKind::Extended) {
            unsigned char bytes[ExtendedBytes];
            encodeExtended(value, bytes);
            content.append(reinterpret_cast<const char*>(bytes), ExtendedBytes);
        } else if (kind == TableKind::Double) {
            // Doubles are written little-endian, as this machine keeps them.
            const double narrow = static_cast<double>(value);
            char bytes[sizeof narrow];
            std::memcpy(bytes, &narrow, sizeof narrow);
            content.append(bytes, sizeof narrow);
        } else {
            content += formatExponent(value) + "\r\n";
        }
    }
    return content;
}

std::string tableText(const std::vector<std::string>& names,
                      const std::vector<std::vector<Extended>>& values, char separator) {
    std::string text;
    for (std::size_t c = 0; c < names.size(); ++c)
        text += (c ? std::string(1, separator) : std::string()) + names[c];
    text += "\r\n";
    const std::size_t nodes = values.empty() ? 0 : values[0].size();
    for (std::size_t k = 0; k < nodes; ++k) {
        for (std::size_t c = 0; c < values.size(); ++c)
            text += (c ? std::string(1, separator) : std::string()) + formatExponent(values[c][k]);
        text += "\r\n";
    }
    return text;
}

bool saveTableColumns(Ui& ui, TableKind kind, const std::vector<std::string>& names,
                      const std::vector<std::string>& cells, const TableRows& rows) {
    if (kind == TableKind::Clipboard) {
        std::vector<std::string> chosen;
        std::vector<std::vector<Extended>> values;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (trim(cells[c]).empty())
                continue;
            chosen.push_back(names[c]);
            values.push_back(rows.Values[c]);
        }
        ui.setClipboardText(tableText(chosen, values, '\t'));
        return true;
    }
    std::optional<std::filesystem::path> folder;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const std::string cell = trim(cells[c]);
        if (cell.empty())
            continue;
        std::filesystem::path path;
        if (folder) {
            path = *folder / std::filesystem::path(cell).filename();
        } else {
            const auto chosen = ui.saveFile("Save table", "All files|*.*", cell);
            if (!chosen)
                continue;
            path = *chosen;
            folder = path.parent_path();
        }
        if (!writeFileAtomically(path.string(), tableFileContent(rows.Values[c], kind))) {
            ui.message("Cannot write " + path.string());
            return false;
        }
    }
    return true;
}
