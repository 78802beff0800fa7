// The curve table and the ways the curve page fills it.
#include "workspace/CurveTable.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "compiler/CompileDriver.h"
#include "compiler/ProblemPanes.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace {

bool validIndex(const std::vector<std::string>& names, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < names.size();
}

char lowerFirst(const std::string& name) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
}

bool allDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// The index of the variable named <letter><suffix>, the letter compared in lower case.
std::optional<std::int32_t> findNumbered(const std::vector<std::string>& names, char letter,
                                         const std::string& suffix) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (!name.empty() && lowerFirst(name) == letter &&
            name.compare(1, std::string::npos, suffix) == 0)
            return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

// The empty suffix, then every decimal number that follows an x, y or z starting a name.
std::vector<std::string> numberedSuffixes(const std::vector<std::string>& names) {
    std::vector<std::string> suffixes{""};
    for (const std::string& name : names) {
        if (name.empty() || std::string("xyz").find(lowerFirst(name)) == std::string::npos)
            continue;
        std::string rest = name.substr(1);
        if (allDigits(rest) && std::find(suffixes.begin(), suffixes.end(), rest) == suffixes.end())
            suffixes.push_back(std::move(rest));
    }
    return suffixes;
}

std::optional<std::int32_t> indexOf(const std::vector<std::string>& names,
                                    const std::string& name) {
    auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end())
        return std::nullopt;
    return static_cast<std::int32_t>(found - names.begin());
}

// The component names of a caption: split at its commas and closing brace, blanks trimmed.
std::vector<std::string> captionNames(const std::string& caption) {
    std::string text = trim(caption);
    if (!text.empty() && text.front() == '{')
        text.erase(0, 1);
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == ',' || c == '}') {
            parts.push_back(trim(part));
            part.clear();
            if (c == '}')
                return parts;
        } else {
            part += c;
        }
    }
    parts.push_back(trim(part)); // no closing brace: the caption is malformed, keep what is left
    return parts;
}

std::int32_t& component(Curve& curve, int axis) {
    return axis == 0 ? curve.X : axis == 1 ? curve.Y : curve.Z;
}

} // namespace

void CurveTable::setMode(bool threeD) {
    ThreeD = threeD;
    Curves.clear();
    Previous.clear();
}

void CurveTable::savePrevious() {
    Previous.clear();
    for (const Curve& curve : Curves)
        Previous.push_back(curve.Caption);
}

bool CurveTable::remove(std::int32_t index) {
    if (index < 0 || index >= count())
        return false;
    Curves.erase(Curves.begin() + index);
    return true;
}

bool CurveTable::append(const std::vector<std::string>& names, std::int32_t x, std::int32_t y,
                        std::int32_t z) {
    if (full() || !validIndex(names, x) || !validIndex(names, y) ||
        (ThreeD && !validIndex(names, z)))
        return false;
    Curves.push_back({x, y, ThreeD ? z : 0, curveCaption(names, x, y, z, ThreeD)});
    return true;
}

void CurveTable::swapAxes(int first, int second, const std::vector<std::string>& names) {
    for (Curve& curve : Curves) {
        std::swap(component(curve, first), component(curve, second));
        curve.Caption = curveCaption(names, curve.X, curve.Y, curve.Z, ThreeD);
    }
}

bool CurveTable::fitsColumns(std::int32_t columns) const {
    return std::all_of(Curves.begin(), Curves.end(), [&](const Curve& curve) {
        return curve.X < columns && curve.Y < columns && (!ThreeD || curve.Z < columns);
    });
}

std::vector<std::string> curveVariableNames(const FormulaAssembly& assembly,
                                            const ProblemPanes& panes) {
    std::vector<std::string> names = assembly.MainNames;
    for (const std::string& line : panes.Aux)
        names.push_back(splitPaneLine(line).left);
    return names;
}

std::string curveCaption(const std::vector<std::string>& names, std::int32_t x, std::int32_t y,
                         std::int32_t z, bool threeD) {
    auto name = [&](std::int32_t i) { return validIndex(names, i) ? names[i].c_str() : "?"; };
    return threeD ? formatText("{%s, %s, %s}", name(x), name(y), name(z))
                  : formatText("{%s, %s}", name(x), name(y));
}

void generateCurves(CurveTable& table, const std::vector<std::string>& names, Ui& ui) {
    table.Curves.clear();
    bool zFound = false;
    for (const std::string& suffix : numberedSuffixes(names)) {
        const auto x = findNumbered(names, 'x', suffix);
        const auto y = findNumbered(names, 'y', suffix);
        const auto z = findNumbered(names, 'z', suffix);
        zFound = zFound || z.has_value();
        if (!x || !y || (table.ThreeD && !z))
            continue;
        table.append(names, *x, *y, z.value_or(0));
        if (table.full()) {
            ui.message(formatText("Generation of curves achieved max number %d", MaxCurves));
            return;
        }
    }
    if (zFound && !table.ThreeD)
        ui.message("3D curves found but 2D button checked!");
    else if (!zFound && table.ThreeD)
        ui.message("No 3D curves found but 3D button checked!");
}

bool restorePrevious(CurveTable& table, const std::vector<std::string>& names, Ui& ui) {
    table.Curves.clear();
    const std::size_t components = table.ThreeD ? 3 : 2;
    for (const std::string& caption : table.Previous) {
        const std::vector<std::string> parts = captionNames(caption);
        std::vector<std::int32_t> indices;
        for (const std::string& name : parts)
            if (auto index = indexOf(names, name))
                indices.push_back(*index);
        if (parts.size() != components || indices.size() != components ||
            !table.append(names, indices[0], indices[1], table.ThreeD ? indices[2] : 0)) {
            ui.message("Previous curve selection doesn't apply");
            table.Curves.clear();
            return false;
        }
    }
    return true;
}

std::string AxisChoice::mark() const {
    std::string text;
    for (std::int32_t row : Rows)
        text += row >= 0 ? '1' : '0';
    return text;
}

bool AxisChoice::complete(bool threeD) const {
    return mark() == (threeD ? "111" : "110");
}

AxisChoiceResult chooseAxis(AxisChoice& choice, const CurveTable& table, int axis, std::int32_t row,
                            Ui& ui) {
    if (axis < 0 || axis > (table.ThreeD ? 2 : 1))
        return AxisChoiceResult::Pending; // not an axis column of this mode
    choice.Rows[static_cast<std::size_t>(axis)] = row;
    if (table.full()) {
        ui.message(
            formatText("max number %d of curves achieved. Delete excessive curves", MaxCurves));
        return AxisChoiceResult::TableFull;
    }
    return choice.complete(table.ThreeD) ? AxisChoiceResult::Complete : AxisChoiceResult::Pending;
}

void takeAxisChoice(AxisChoice& choice, CurveTable& table, const std::vector<std::string>& names) {
    table.append(names, choice.Rows[0], choice.Rows[1], choice.Rows[2]);
    choice.clear();
}
