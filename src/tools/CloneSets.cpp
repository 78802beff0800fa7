#include "tools/CloneSets.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "compiler/ConstantExpression.h"

#include <algorithm>
#include <cmath>

std::string withoutBlanks(std::string_view text) {
    std::string kept;
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            kept += c;
    return kept;
}

namespace {

std::vector<std::string> splitAtSemicolons(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(';', start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

class ValueChecker {
  public:
    ValueChecker(const std::vector<std::string>& constants, Extended angleFactor)
        : constants_(constants), angleFactor_(angleFactor) {}
    // A number, or an expression over the constants that evaluates.
    std::optional<Extended> valueOf(const std::string& text) const {
        if (text.empty())
            return std::nullopt;
        try {
            const Extended value = EvaluateConstantExpression(constants_, text, angleFactor_);
            return std::isfinite(value) ? std::optional<Extended>(value) : std::nullopt;
        } catch (const OrvantaError&) {
            return std::nullopt;
        }
    }

  private:
    const std::vector<std::string>& constants_;
    Extended angleFactor_;
};

[[noreturn]] void lineError(const std::string& line, const std::string& detail) {
    throw OrvantaError("Equation " + line + "\r\n" + detail);
}

// "a; b; count nodes" at the end of a set becomes count values from a to b.
void expandGrid(std::vector<std::string>& set, const std::string& line,
                const ValueChecker& checker) {
    if (set.size() < 3)
        lineError(line, "must be at least 3 values to specify a regular grid");
    std::vector<Extended> values;
    for (std::size_t i = 0; i + 1 < set.size(); ++i) {
        const auto value = checker.valueOf(set[i]);
        if (!value)
            lineError(line, set[i] + " is not a valid value");
        values.push_back(*value);
    }
    const std::string specifier = set.back();
    const std::string countText = trim(specifier.substr(0, toLower(specifier).find('n')));
    if (countText.empty())
        lineError(line, "no value between ; and keyword \"nodes\"");
    const auto count = parseInteger(countText);
    if (!count)
        throw OrvantaError("'" + countText + "' is not a valid integer value");
    if (*count < 2)
        lineError(line, "number of nodes must be >= 2");
    if (*count > MaxCloneVectors)
        lineError(line, formatText("number of nodes must be <= %lld",
                                   static_cast<long long>(MaxCloneVectors)));
    const Extended a = values[values.size() - 2];
    const Extended b = values.back();
    if (a == b)
        lineError(line, "the boundaries must be different");
    set.resize(set.size() - 3);
    for (long long c = 0; c < *count; ++c)
        set.push_back(formatDisplay(a + c * (b - a) / (*count - 1)));
}

} // namespace

CloneSource splitSourceSets(const std::vector<std::string>& initialLines,
                            const std::vector<std::string>& constantLines, Extended angleFactor) {
    const ValueChecker checker(constantLines, angleFactor);
    CloneSource source;
    for (const std::string& line : initialLines) {
        const std::size_t equals = line.find('=');
        source.Names.push_back(withoutBlanks(line.substr(0, equals)));
        std::string right = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        const std::size_t open = right.find('{');
        const std::size_t close = right.rfind('}');
        if (open != std::string::npos && close != std::string::npos && open < close)
            right.erase(open, close - open + 1);
        right = withoutBlanks(right);
        if (right.empty())
            throw OrvantaError("Empty right side");
        while (!right.empty() && right.back() == ';')
            right.pop_back();
        std::vector<std::string> set = splitAtSemicolons(right);
        // A last element with an "n" is the grid specifier, unless it is a valid value itself
        // ("sin(c)" is a value, not a grid of "si" nodes).
        if (toLower(set.back()).find('n') != std::string::npos && !checker.valueOf(set.back())) {
            expandGrid(set, line, checker);
        } else if (set.size() >= 2) {
            for (const std::string& element : set)
                if (!checker.valueOf(element))
                    lineError(line, element + " is neither valid value nor a specifier of "
                                              "regular grid");
        }
        source.Sets.push_back(std::move(set));
    }
    return source;
}

std::string tooManyVectorsText() {
    return formatText("Too many IVPs in array: at most %lld",
                      static_cast<long long>(MaxCloneVectors));
}

std::int64_t productSize(const CloneSource& source) {
    std::int64_t product = 1;
    for (const auto& set : source.Sets)
        product = std::min<std::int64_t>(product * static_cast<std::int64_t>(set.size()),
                                         MaxCloneVectors + 1);
    return product;
}

CloneIndex diagonalIndex(const CloneSource& source) {
    std::size_t vectors = 0;
    for (const auto& set : source.Sets)
        vectors = std::max(vectors, set.size());
    CloneIndex index(vectors);
    for (std::size_t i = 0; i < vectors; ++i)
        for (const auto& set : source.Sets)
            index[i].push_back(static_cast<std::int32_t>(std::min(i, set.size() - 1)));
    return index;
}

CloneIndex productIndex(const CloneSource& source) {
    CloneIndex index;
    if (productSize(source) > MaxCloneVectors)
        return index;
    std::vector<std::int32_t> row(source.Sets.size(), 0);
    for (;;) {
        index.push_back(row);
        // The odometer: the last line turns fastest.
        std::size_t line = row.size();
        while (line > 0) {
            --line;
            if (static_cast<std::size_t>(++row[line]) < source.Sets[line].size())
                break;
            row[line] = 0;
            if (line == 0)
                return index;
        }
        if (row.empty())
            return index;
    }
}

std::string cloneTotalText(std::size_t vectors) {
    return formatText("Total %zu, cloned %zu", vectors, vectors == 0 ? 0 : vectors - 1);
}

std::string vectorListText(const CloneSource& source, const CloneIndex& index) {
    std::string text;
    for (std::size_t i = 0; i < index.size(); ++i) {
        text += std::to_string(i + 1);
        for (std::size_t j = 0; j < source.Sets.size(); ++j)
            text += "\t " + source.Sets[j][static_cast<std::size_t>(index[i][j])];
        text += "\r\n";
    }
    return text;
}
