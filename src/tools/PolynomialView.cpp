#include "tools/PolynomialView.h"

#include "common/NumberText.h"
#include "compiler/Language.h"

namespace {

// A line of terms without its leading blanks and its leading "+".
std::string withoutLeadingPlus(const std::string& line) {
    std::string text = trim(line);
    if (text.starts_with("+"))
        text = trim(text.substr(1));
    return text;
}

std::string power(const std::string& name, int exponent) {
    return exponent == 1 ? name : name + "^" + std::to_string(exponent);
}

} // namespace

std::string coefficientTerm(const std::string& raw) {
    std::string text = trim(raw);
    const std::string sign = text.starts_with("-") ? "-" : "+";
    if (text.starts_with("-") || text.starts_with("+"))
        text = trim(text.substr(1));
    const auto number = parseNumber(text);
    if (!number && !isValidIdentifier(text))
        return " " + sign + " (" + text + ")*";
    if (number && *number == 1)
        return " " + sign + " ";
    return " " + sign + " " + text + "*";
}

PolynomialText polynomialText(const DesignedPolynomial& polynomial, const std::string& indepName) {
    PolynomialText result;
    const PolynomialTable& t = polynomial.IndepPart;
    const std::string constant = trim(t.cell(0, 1));
    std::string line = constant == "0" ? "" : constant;
    for (int c = 1; c < t.columns(); ++c)
        if (!trim(t.cell(c, 1)).empty())
            line += coefficientTerm(t.cell(c, 1)) + power(indepName, c);
    result.IndepPart = withoutLeadingPlus(line);

    const PolynomialTable& first = polynomial.FirstDegree;
    for (int c = 0; c < first.columns(); ++c)
        if (!trim(first.cell(c, 1)).empty())
            result.FirstPart += coefficientTerm(first.cell(c, 1)) + first.cell(c, 0);

    const PolynomialTable& second = polynomial.SecondDegree;
    for (int i = 1; i < second.columns(); ++i)
        if (!trim(second.cell(i, i)).empty())
            result.SecondPart += coefficientTerm(second.cell(i, i)) + second.cell(i, 0) + "^2";
    for (int i = 1; i < second.columns(); ++i)
        for (int j = i + 1; j < second.rows(); ++j)
            if (!trim(second.cell(i, j)).empty())
                result.SecondPart += coefficientTerm(second.cell(i, j)) + second.cell(i, 0) + "*" +
                                     second.cell(0, j);
    return result;
}

std::string indepDerivativeText(const DesignedPolynomial& polynomial,
                                const std::string& indepName) {
    const PolynomialTable& t = polynomial.IndepPart;
    std::string line;
    for (int c = 1; c < t.columns(); ++c) {
        const std::string text = trim(t.cell(c, 1));
        if (text.empty())
            continue;
        line += coefficientTerm(text);
        if (c == 1) {
            // The coefficient alone: a bare sign stands before a 1.
            if (line.ends_with(" "))
                line += "1";
            else
                line.pop_back(); // its "*"
        } else {
            line += std::to_string(c) + "*" + power(indepName, c - 1);
        }
    }
    return withoutLeadingPlus(line);
}

std::string entirePolynomialText(const PolynomialText& text) {
    return withoutLeadingPlus(text.IndepPart + text.FirstPart + text.SecondPart);
}
