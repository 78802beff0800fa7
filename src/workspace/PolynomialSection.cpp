#include "workspace/PolynomialSection.h"

#include "common/NumberText.h"
#include "common/Ui.h"

#include <optional>
#include <sstream>

namespace {

const char* const NotEnoughData = "Not enough data for polynomials";
const char* const CountsComment = "     {1st degree, 2nd degree, # of nonzero in it }";

struct BlockCounts {
    long long indepColumns = 0;
    long long firstDegree = 0;
    long long secondDegree = 0;
    long long filledSecond = 0;
};

std::vector<std::string> words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> result;
    for (std::string word; stream >> word;)
        result.push_back(word);
    return result;
}

std::optional<long long> nonNegative(const std::string& text) {
    auto value = parseInteger(text);
    if (!value || *value < 0)
        return std::nullopt;
    return value;
}

// The four counts at the start of a block; the rest of the line (the name and comment) is
// ignored. Each count must fit in what is left of the section, and every variable of the
// second-degree table names its header cells, so that table has at least as many filled cells.
std::optional<BlockCounts> readCounts(const std::string& line, std::size_t linesLeft) {
    auto fields = words(line);
    if (fields.size() < 4)
        return std::nullopt;
    BlockCounts counts;
    long long* targets[] = {&counts.indepColumns, &counts.firstDegree, &counts.secondDegree,
                            &counts.filledSecond};
    for (int i = 0; i < 4; ++i) {
        auto value = nonNegative(fields[i]);
        if (!value || static_cast<unsigned long long>(*value) > linesLeft)
            return std::nullopt;
        *targets[i] = *value;
    }
    if (counts.indepColumns < 1 || counts.secondDegree > counts.filledSecond)
        return std::nullopt;
    return counts;
}

// One cell line of the second-degree table: column, blank, row, blank, text.
bool readSecondDegreeCell(const std::string& rawLine, PolynomialTable& table) {
    std::string line = trim(rawLine);
    std::size_t firstBlank = line.find(' ');
    if (firstBlank == std::string::npos)
        return false;
    std::size_t secondBlank = line.find(' ', firstBlank + 1);
    std::string rowText = line.substr(firstBlank + 1, secondBlank == std::string::npos
                                                          ? std::string::npos
                                                          : secondBlank - firstBlank - 1);
    auto column = nonNegative(trim(line.substr(0, firstBlank)));
    auto row = nonNegative(trim(rowText));
    if (!column || !row || *column >= table.columns() || *row >= table.rows())
        return false;
    std::string text = secondBlank == std::string::npos ? "" : trim(line.substr(secondBlank + 1));
    int c = static_cast<int>(*column);
    int r = static_cast<int>(*row);
    // Only filled cells are written, each once.
    if (text.empty() || !table.cell(c, r).empty())
        return false;
    table.setCell(c, r, text);
    return true;
}

void readTwoRowTable(const std::vector<std::string>& lines, std::size_t& at,
                     PolynomialTable& table) {
    for (int column = 0; column < table.columns(); ++column) {
        table.setCell(column, 0, trim(lines[at++]));
        table.setCell(column, 1, trim(lines[at++]));
    }
}

void writeTwoRowTable(const PolynomialTable& table, std::vector<std::string>& out) {
    for (int column = 0; column < table.columns(); ++column) {
        out.push_back(table.cell(column, 0));
        out.push_back(table.cell(column, 1));
    }
}

} // namespace

bool formulasMentionPolynomial(const std::vector<std::string>& formulaList) {
    for (const auto& line : formulaList)
        if (toLower(line).find("polynomial") != std::string::npos)
            return true;
    return false;
}

std::vector<std::string>
writePolynomialSection(const std::vector<DesignedPolynomial>& polynomials) {
    std::vector<std::string> out{PolynomialSectionHeader, std::to_string(polynomials.size())};
    for (const auto& polynomial : polynomials) {
        out.push_back(polynomial.Name);
        out.push_back(polynomial.Variable);
        out.push_back(polynomial.IndepName);
    }
    for (const auto& polynomial : polynomials) {
        const auto& second = polynomial.SecondDegree;
        out.push_back(formatText("%d %d %d %zu ", polynomial.IndepPart.columns(),
                                 polynomial.FirstDegree.columns(), second.columns() - 1,
                                 second.filledCells().size()) +
                      polynomial.Name + CountsComment);
        writeTwoRowTable(polynomial.IndepPart, out);
        writeTwoRowTable(polynomial.FirstDegree, out);
        for (const auto& [place, text] : second.filledCells())
            out.push_back(formatText("%d %d ", place.first, place.second) + text);
    }
    return out;
}

std::vector<DesignedPolynomial> readPolynomialSection(const std::vector<std::string>& lines,
                                                      std::size_t first, Ui& ui) {
    std::vector<DesignedPolynomial> polynomials;
    std::size_t at = first;
    auto linesLeft = [&] { return at < lines.size() ? lines.size() - at : 0; };
    if (linesLeft() == 0)
        return polynomials;
    auto count = nonNegative(trim(lines[at++]));
    if (!count) {
        ui.message(NotEnoughData);
        return polynomials;
    }
    // The count is not trusted: polynomials are added only as their names are found.
    for (long long i = 0; i < *count; ++i) {
        if (linesLeft() < 3) {
            ui.message(NotEnoughData);
            return polynomials;
        }
        DesignedPolynomial polynomial;
        polynomial.Name = trim(lines[at++]);
        polynomial.Variable = trim(lines[at++]);
        polynomial.IndepName = trim(lines[at++]);
        polynomials.push_back(std::move(polynomial));
    }
    for (auto& polynomial : polynomials) {
        if (linesLeft() == 0) {
            ui.message(NotEnoughData);
            return polynomials;
        }
        auto counts = readCounts(lines[at++], linesLeft());
        if (!counts) {
            ui.message(NotEnoughData);
            continue;
        }
        std::size_t needed =
            2 * counts->indepColumns + 2 * counts->firstDegree + counts->filledSecond;
        if (needed > linesLeft()) {
            ui.message(NotEnoughData);
            return polynomials;
        }
        polynomial.IndepPart = PolynomialTable(static_cast<int>(counts->indepColumns), 2);
        polynomial.FirstDegree = PolynomialTable(static_cast<int>(counts->firstDegree), 2);
        int secondSize = static_cast<int>(counts->secondDegree) + 1;
        polynomial.SecondDegree = PolynomialTable(secondSize, secondSize);
        readTwoRowTable(lines, at, polynomial.IndepPart);
        readTwoRowTable(lines, at, polynomial.FirstDegree);
        std::size_t blockEnd = at + counts->filledSecond;
        for (; at < blockEnd; ++at) {
            if (!readSecondDegreeCell(lines[at], polynomial.SecondDegree)) {
                ui.message(NotEnoughData);
                at = blockEnd;
                break;
            }
        }
    }
    return polynomials;
}
