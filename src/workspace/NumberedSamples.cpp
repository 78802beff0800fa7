// Catalogues of numbered periodic orbits: headers, list lines and the constants they fill.
#include "workspace/NumberedSamples.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "workspace/ScriptLocation.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Longer lines are no catalogue's: the reader gives up instead of growing without end.
constexpr std::size_t LongestLine = 1 << 16;

int parametersOf(int kind) {
    return kind == 2 || kind == 4 || kind == 5 ? kind : 0;
}

SampleCatalog preset(const std::string& programFolder, int kind, int count, int dimension,
                     const char* title, const char* list, const char* problem) {
    const std::filesystem::path folder =
        std::filesystem::path(programFolder) / "Samples" / "Periodic";
    return {kind, count, dimension, title, (folder / list).string(), (folder / problem).string()};
}

bool readLine(std::istream& in, std::string& line) {
    line.clear();
    for (char c; in.get(c);) {
        if (c == '\n')
            return true;
        if (line.size() >= LongestLine)
            return false;
        line += c;
    }
    return !line.empty();
}

std::string withoutCarriageReturn(std::string line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string wrongFile(const std::string& path) {
    return "File " + path + " wrong";
}

} // namespace

SampleCatalog freeFallCatalog(const std::string& programFolder) {
    return preset(programFolder, 2, 30, 2, "Li and Liao (2019), free fall, equal masses",
                  "FreeFall.txt", "FreeFall1.ode");
}

SampleCatalog closedOrbitsCatalog(const std::string& programFolder) {
    return preset(programFolder, 2, 695, 2, "Li and Liao (2017), equal masses", "I2A.txt",
                  "I2A.ode");
}

SampleCatalog choreographyCatalog(const std::string& programFolder) {
    return preset(programFolder, 5, 4, 3, "Li and Liao (2025), 3D choreographies",
                  "Choreographies3D.txt", "Orbits3D.ode");
}

std::optional<SampleCatalog> readCatalogHeader(const std::string& path, Ui& ui) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ui.message("Cannot open file " + path);
        return std::nullopt;
    }
    std::string lines[4];
    for (std::string& line : lines)
        if (!readLine(in, line)) {
            ui.message(wrongFile(path));
            return std::nullopt;
        }
    SampleCatalog catalog;
    std::istringstream numbers(lines[0]);
    if (!(numbers >> catalog.Kind >> catalog.Count >> catalog.Dimension)) {
        ui.message(wrongFile(path));
        return std::nullopt;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    catalog.Title = trim(lines[1]);
    catalog.ListPath = (folder / withForwardSlashes(trim(lines[2]))).string();
    catalog.ProblemPath = (folder / withForwardSlashes(trim(lines[3]))).string();
    return catalog;
}

std::string runnerPrompt(const SampleCatalog& catalog) {
    return "Enter number of the sample to run between 1 and " + std::to_string(catalog.Count);
}

std::string runnerCaption(const SampleCatalog& catalog) {
    return "Simulations by " + catalog.Title;
}

std::optional<std::int32_t> chosenOrbit(const std::string& text, const SampleCatalog& catalog,
                                        Ui& ui) {
    const auto number = parseInteger(trim(text)).value_or(1);
    if (number < 1 || number > catalog.Count) {
        ui.message("Not in range");
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}

std::optional<SampleOrbit> readOrbit(const SampleCatalog& catalog, std::int32_t number, Ui& ui) {
    std::ifstream in(catalog.ListPath, std::ios::binary);
    if (!in) {
        ui.message("Cannot open file " + catalog.ListPath);
        return std::nullopt;
    }
    std::string line;
    bool found = number >= 1;
    for (std::int32_t k = 1; found && k <= number; ++k)
        found = readLine(in, line);
    const int count = parametersOf(catalog.Kind);
    std::istringstream fields(withoutCarriageReturn(line));
    SampleOrbit orbit;
    orbit.Number = number;
    std::string field;
    for (int i = 0; found && count > 0 && i <= count; ++i) {
        std::optional<Extended> value;
        if (fields >> field)
            value = parseNumber(field);
        if (!value) {
            found = false;
            break;
        }
        if (i < count)
            orbit.Parameters.push_back(*value);
        else
            orbit.Period = *value;
    }
    if (!found || count == 0) {
        ui.message(wrongFile(catalog.ListPath));
        return std::nullopt;
    }
    std::string rest;
    std::getline(fields, rest);
    orbit.Type = trim(rest);
    if (orbit.Type.empty())
        orbit.Type = std::to_string(number);
    return orbit;
}

bool writeOrbitConstants(std::vector<std::string>& constants, const SampleOrbit& orbit,
                         const SampleCatalog& catalog, Ui& ui) {
    if (constants.size() <= orbit.Parameters.size()) {
        ui.message(wrongFile(catalog.ProblemPath));
        return false;
    }
    static constexpr char Letters[] = "abcdm";
    constants[1] = formatText("a = %.18Lg { period %.18Lg, type %s}", orbit.Parameters[0],
                              orbit.Period, orbit.Type.c_str());
    for (std::size_t i = 1; i < orbit.Parameters.size(); ++i)
        constants[i + 1] = formatText("%c = %.18Lg", Letters[i], orbit.Parameters[i]);
    return true;
}

std::string orbitCaption(const SampleCatalog& catalog, const SampleOrbit& orbit) {
    return formatText("%s #%d (%s)", catalog.Title.c_str(), orbit.Number, orbit.Type.c_str());
}
