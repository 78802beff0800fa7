// The n-body problem generator: constants, initial values, pair distances and the equations.
#include "tools/NBodyGenerator.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "tools/ExactConversion.h"
#include "workspace/ProblemDocument.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Body indexes in names: one digit up to 9 bodies, two zero-padded digits from 10 on.
class Names {
  public:
    explicit Names(int bodies) : width_(bodies <= 9 ? 1 : 2) {}
    std::string index(int i) const { return formatText("%.*d", width_, i); }
    std::string pair(int j, int k) const { return index(j) + index(k); }

  private:
    int width_;
};

std::vector<std::string> coordinates(bool spatial) {
    return spatial ? std::vector<std::string>{"x", "y", "z"} : std::vector<std::string>{"x", "y"};
}

std::vector<std::string> constantsPane(const NBodyOptions& options, const Names& names) {
    const char* factor = options.Motion == NBodyMotion::Elliptic ? "0.5" : "1";
    // The speed is written so that it reads back to the extended value computed.
    std::vector<std::string> lines{
        "neg1p5 = -1.5", "Vel = " + exactDecimal(circularSpeed(options.Bodies)).text + "*" + factor,
        formatText("Ang = 360/%d", options.Bodies)};
    for (int i = 1; i <= options.Bodies; ++i)
        lines.push_back("m" + names.index(i) + " = 1");
    return lines;
}

std::vector<std::string> initialPane(const NBodyOptions& options, const Names& names) {
    std::vector<std::string> lines{"t = 0"};
    for (int i = 1; i <= options.Bodies; ++i) {
        lines.push_back("x" + names.index(i) + formatText(" = cos(%d*Ang)", i));
        lines.push_back("y" + names.index(i) + formatText(" = sin(%d*Ang)", i));
        if (options.Spatial)
            lines.push_back("z" + names.index(i) + " = 0");
    }
    for (int i = 1; i <= options.Bodies; ++i) {
        lines.push_back("vx" + names.index(i) + formatText(" = -sin(%d*Ang)*Vel", i));
        lines.push_back("vy" + names.index(i) + formatText(" =  cos(%d*Ang)*Vel", i));
        if (options.Spatial)
            lines.push_back("vz" + names.index(i) + " = 0");
    }
    return lines;
}

std::vector<std::string> auxPane(const NBodyOptions& options, const Names& names) {
    std::vector<std::string> lines;
    const auto axes = coordinates(options.Spatial);
    for (int j = 1; j <= options.Bodies; ++j)
        for (int k = j + 1; k <= options.Bodies; ++k)
            for (const std::string& c : axes)
                lines.push_back("d" + c + names.pair(j, k) + " = " + c + names.index(j) + " - " +
                                c + names.index(k));
    for (int j = 1; j <= options.Bodies; ++j)
        for (int k = j + 1; k <= options.Bodies; ++k) {
            std::string sum;
            for (const std::string& c : axes)
                sum += (sum.empty() ? "" : " + ") + ("d" + c + names.pair(j, k) + "^2");
            lines.push_back("r" + names.pair(j, k) + " = (" + sum + ")^neg1p5");
        }
    return lines;
}

// v{c}{i}' = the attraction of every other body k, in increasing k.
std::string velocityEquation(const std::string& c, int i, int bodies, const Names& names) {
    std::string terms;
    for (int k = 1; k <= bodies; ++k) {
        if (k < i)
            terms +=
                " + m" + names.index(k) + "*d" + c + names.pair(k, i) + "*r" + names.pair(k, i);
        else if (k > i)
            terms +=
                " - m" + names.index(k) + "*d" + c + names.pair(i, k) + "*r" + names.pair(i, k);
    }
    if (terms.starts_with(" + "))
        terms[1] = ' ';
    return "v" + c + names.index(i) + "' =" + terms;
}

std::string polynomialName(const std::string& c, int i, const Names& names) {
    return "v" + c + names.index(i) + "poly";
}

std::vector<std::string> odePane(const NBodyOptions& options, const Names& names) {
    std::vector<std::string> lines{"t' = 1"};
    const auto axes = coordinates(options.Spatial);
    for (int i = 1; i <= options.Bodies; ++i)
        for (const std::string& c : axes)
            lines.push_back(c + names.index(i) + "' = v" + c + names.index(i));
    for (int i = 1; i <= options.Bodies; ++i)
        for (const std::string& c : axes)
            lines.push_back(options.Designed ? formatText("%s = polynomial(%s)",
                                                          ("v" + c + names.index(i) + "'").c_str(),
                                                          polynomialName(c, i, names).c_str())
                                             : velocityEquation(c, i, options.Bodies, names));
    return lines;
}

// The attraction on body i along c as a second-degree polynomial: the d of each pair with body i
// times that pair's r, with the other body's mass and the sign of the spelled-out sum.
DesignedPolynomial velocityPolynomial(const std::string& c, int i, int bodies, const Names& names) {
    DesignedPolynomial polynomial;
    polynomial.Name = polynomialName(c, i, names);
    polynomial.Variable = "v" + c + names.index(i) + "'";
    polynomial.IndepName = "t";
    polynomial.IndepPart.setCell(0, 0, "Constant");
    polynomial.IndepPart.setCell(0, 1, "0");
    PolynomialTable& table = polynomial.SecondDegree;
    table.resize(2 * bodies - 1, 2 * bodies - 1);
    int entry = 1;
    for (int k = 1; k <= bodies; ++k) {
        if (k == i)
            continue;
        const std::string pair = k < i ? names.pair(k, i) : names.pair(i, k);
        const std::string d = "d" + c + pair, r = "r" + pair;
        const int rEntry = entry + bodies - 1;
        table.setCell(entry, 0, d);
        table.setCell(0, entry, d);
        table.setCell(rEntry, 0, r);
        table.setCell(0, rEntry, r);
        table.setCell(entry, rEntry, (k < i ? "m" : "-m") + names.index(k));
        ++entry;
    }
    return polynomial;
}

} // namespace

Extended circularSpeed(int bodies) {
    constexpr Extended pi = std::numbers::pi_v<Extended>;
    Extended sum = 0;
    if (bodies % 2 != 0) {
        for (int d = 0; d <= (bodies - 1) / 2 - 1; ++d)
            sum += 1 / std::cos((2 * d + 1) * pi / (2 * bodies));
    } else {
        sum = 0.5L;
        for (int d = 1; d <= bodies / 2 - 1; ++d)
            sum += 1 / std::cos(d * pi / bodies);
    }
    return std::sqrt(sum / 2);
}

ProblemPanes nBodyPanes(const NBodyOptions& options) {
    const Names names(options.Bodies);
    return ProblemPanes{constantsPane(options, names), initialPane(options, names),
                        auxPane(options, names), odePane(options, names)};
}

std::vector<DesignedPolynomial> nBodyPolynomials(const NBodyOptions& options) {
    const Names names(options.Bodies);
    std::vector<DesignedPolynomial> polynomials;
    for (int i = 1; i <= options.Bodies; ++i)
        for (const std::string& c : coordinates(options.Spatial))
            polynomials.push_back(velocityPolynomial(c, i, options.Bodies, names));
    return polynomials;
}

bool setNBodyProblem(ProblemDocument& document, const NBodyOptions& options, Ui& ui) {
    // Checked before anything changes, so that a wrong count keeps the user's problem.
    if (options.Bodies < MinBodies || options.Bodies > MaxBodies) {
        ui.message("n must be in [2..99]");
        return false;
    }
    document.clear();
    document.Panes = nBodyPanes(options);
    if (options.Designed)
        document.Polynomials = nBodyPolynomials(options);
    document.markEdited();
    return true;
}
