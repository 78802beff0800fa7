#include "tools/CloneUnfold.h"

#include "common/NumberText.h"

#include <algorithm>

namespace {

bool identifierChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

void markClone(std::vector<std::string>& block, std::int32_t clone) {
    if (!block.empty())
        block.front() += formatText("    {Clone %d}", clone);
}

// The pane's lines suffixed for `clone`, the line `skip` left out, the clone's mark after the
// block's first line.
std::vector<std::string> cloneBlock(const std::vector<std::string>& lines,
                                    const std::vector<std::string>& names, std::int32_t clone,
                                    std::int32_t skip) {
    std::vector<std::string> block;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (static_cast<std::int32_t>(i) != skip)
            block.push_back(suffixNames(lines[i], names, clone));
    markClone(block, clone);
    return block;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

} // namespace

std::string suffixNames(const std::string& text, const std::vector<std::string>& names,
                        std::int32_t clone) {
    const std::string suffix = std::to_string(clone);
    std::string result = text;
    for (const std::string& name : names) {
        std::string renamed;
        for (std::size_t i = 0; i < result.size();) {
            std::size_t end = i;
            while (end < result.size() && identifierChar(result[end]))
                ++end;
            if (end == i) {
                renamed += result[i++];
                continue;
            }
            const std::string token = result.substr(i, end - i);
            renamed += token == name ? token + suffix : token;
            i = end;
        }
        result = std::move(renamed);
    }
    return result;
}

std::vector<std::string> cloneNameList(const CloneSource& source,
                                       const std::vector<std::string>& auxLines,
                                       std::int32_t indepLine, bool excludeIndependent) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < source.Names.size(); ++i)
        if (!excludeIndependent || static_cast<std::int32_t>(i) != indepLine)
            names.push_back(source.Names[i]);
    for (const std::string& line : auxLines)
        names.push_back(withoutBlanks(line.substr(0, line.find('='))));
    return names;
}

std::optional<std::string> cloneNameClash(const std::vector<std::string>& names,
                                          std::int32_t clones) {
    // A clone name is a name followed by a number from 1 to `clones` without leading zeros;
    // for each name in order the smallest such number that is taken.
    for (const std::string& name : names) {
        std::optional<long long> first;
        for (const std::string& other : names) {
            if (other.size() <= name.size() || !other.starts_with(name) ||
                other[name.size()] == '0')
                continue;
            const std::string digits = other.substr(name.size());
            if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
                continue;
            const long long k = std::stoll(digits);
            if (k <= clones && (!first || k < *first))
                first = k;
        }
        if (first)
            return "Cloned " + name + std::to_string(*first) +
                   " exists in the source IVP. Rename " + name + ".";
    }
    return std::nullopt;
}

ProblemPanes unfoldPanes(const ProblemPanes& panes, const CloneSource& source,
                         const CloneRequest& request) {
    const std::vector<std::string> names =
        cloneNameList(source, panes.Aux, request.IndepLine, request.ExcludeIndependent);
    const std::int32_t skip = request.ExcludeIndependent ? request.IndepLine : -1;
    ProblemPanes unfolded;
    unfolded.Constants = panes.Constants;
    if (request.Index.empty()) {
        unfolded.Initial = panes.Initial;
        for (std::int32_t k = 1; k <= request.Clones; ++k)
            append(unfolded.Initial, cloneBlock(panes.Initial, names, k, skip));
    } else {
        const auto lineOf = [&](std::size_t j, std::size_t row, std::int32_t clone) {
            const std::string& value =
                source.Sets[j][static_cast<std::size_t>(request.Index[row][j])];
            return clone == 0 ? source.Names[j] + " = " + value
                              : suffixNames(source.Names[j], names, clone) + " = " +
                                    suffixNames(value, names, clone);
        };
        for (std::size_t j = 0; j < source.Names.size(); ++j)
            unfolded.Initial.push_back(lineOf(j, 0, 0));
        for (std::int32_t k = 1; k <= request.Clones; ++k) {
            std::vector<std::string> block;
            for (std::size_t j = 0; j < source.Names.size(); ++j)
                if (static_cast<std::int32_t>(j) != skip)
                    block.push_back(lineOf(j, static_cast<std::size_t>(k), k));
            markClone(block, k);
            append(unfolded.Initial, block);
        }
    }
    unfolded.Aux = panes.Aux;
    unfolded.ODEs = panes.ODEs;
    for (std::int32_t k = 1; k <= request.Clones; ++k) {
        append(unfolded.Aux, cloneBlock(panes.Aux, names, k, -1));
        append(unfolded.ODEs, cloneBlock(panes.ODEs, names, k, skip));
    }
    return unfolded;
}
