// Designed polynomials: scope, the compile step with its messages, the viewer's text, the file
// section of a generated problem, and designed against spelled-out accelerations.
#include "tools/PolynomialCompile.h"
#include "tools/PolynomialScope.h"
#include "tools/PolynomialView.h"

#include "integrator/IntegrationRun.h"
#include "integrator/IntegratorFixture.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"
#include "tools/NBodyGenerator.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ProblemPanes panesWithAux() {
    return {{"c = 3"},
            {"t = 0", "x = 1", "y = 2"},
            {"a = x*y", "b = a + 1", "e = b*2"},
            {"t' = 1", "x' = y", "y' = polynomial(P)"}};
}

DesignedPolynomial polynomialIn(const std::string& variable) {
    DesignedPolynomial p;
    p.Name = "P";
    p.Variable = variable;
    p.IndepName = "t";
    p.IndepPart.setCell(0, 0, "Constant");
    p.IndepPart.setCell(0, 1, "0");
    return p;
}

void setSecondDegree(DesignedPolynomial& p, const std::vector<std::string>& names) {
    const int m = static_cast<int>(names.size());
    p.SecondDegree.resize(m + 1, m + 1);
    for (int i = 0; i < m; ++i) {
        p.SecondDegree.setCell(i + 1, 0, names[static_cast<std::size_t>(i)]);
        p.SecondDegree.setCell(0, i + 1, names[static_cast<std::size_t>(i)]);
    }
}

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "";
}

struct Step {
    FakeUi ui;
    std::vector<std::string> formulas;
    TCompiledProblem problem;
    PolynomialStepResult result;
    Step(const ProblemPanes& panes, std::vector<DesignedPolynomial>& polynomials,
         bool several = false) {
        for (const auto* pane : {&panes.Constants, &panes.Initial, &panes.Aux})
            formulas.insert(formulas.end(), pane->begin(), pane->end());
        formulas.insert(formulas.end(), panes.ODEs.begin(), panes.ODEs.end());
        problem.NumConst = static_cast<std::int32_t>(panes.Constants.size());
        problem.IndepName = "t";
        result =
            prepareDesignedPolynomials(formulas, panes, polynomials, problem, ui, {1.0L, several});
    }
};

} // namespace

TEST(PolynomialScope, AnAuxiliaryEquationSeesOnlyTheVariablesAboveIt) {
    const ProblemPanes panes = panesWithAux();
    EXPECT_EQ(variablesInScope(panes, "b"), (std::vector<std::string>{"t", "x", "y", "a"}));
    EXPECT_EQ(variablesInScope(panes, "y'"),
              (std::vector<std::string>{"t", "x", "y", "a", "b", "e"}));
    EXPECT_EQ(messageOf([&] { variablesInScope(panes, " "); }),
              "Specify the variable in whose equation this polynomial appears");
    EXPECT_EQ(messageOf([&] { variablesInScope(panes, "q"); }),
              "q is not defined in Auxiliary equations");
    ProblemPanes bare{{}, {}, {"a = 1"}, {}};
    EXPECT_EQ(messageOf([&] { variablesInScope(bare, "a"); }),
              "No variables are available at this point");

    FakeUi ui;
    DesignedPolynomial p = polynomialIn("b");
    setSecondDegree(p, {"x", "e"});
    EXPECT_FALSE(checkPolynomialScopes({p}, panes, ui));
    EXPECT_EQ(ui.lastMessage(), "e in polynomial P is out of scope");
    setSecondDegree(p, {"x", "a"});
    p.SecondDegree.setCell(1, 2, "2");
    EXPECT_TRUE(checkPolynomialScopes({p}, panes, ui));
    p.SecondDegree.setCell(1, 2, "");
    p.SecondDegree.setCell(1, 1, "c");
    EXPECT_TRUE(checkPolynomialScopes({p}, panes, ui)) << "unused variables only warn";
    EXPECT_EQ(ui.lastMessage(), "a are unused in polynomial P");
    p.Variable = "";
    EXPECT_FALSE(checkPolynomialScopes({p}, panes, ui));
    EXPECT_EQ(ui.lastMessage(),
              "No variable name defined by the equation containing polynomial P ");
}

TEST(PolynomialView, CoefficientTermsAndTheThreeLines) {
    EXPECT_EQ(coefficientTerm("1") + "x", " + x");
    EXPECT_EQ(coefficientTerm("-1") + "x", " - x");
    EXPECT_EQ(coefficientTerm("c") + "x", " + c*x");
    EXPECT_EQ(coefficientTerm("2*c") + "x", " + (2*c)*x");
    EXPECT_EQ(coefficientTerm(" -2.5 ") + "x", " - 2.5*x");

    DesignedPolynomial p = polynomialIn("y'");
    p.IndepPart.resize(3, 2);
    p.IndepPart.setCell(1, 1, "-1");
    p.IndepPart.setCell(2, 1, "c");
    p.FirstDegree.resize(2, 2);
    p.FirstDegree.setCell(0, 0, "x");
    p.FirstDegree.setCell(0, 1, "2*c");
    p.FirstDegree.setCell(1, 0, "y");
    setSecondDegree(p, {"x", "y"});
    p.SecondDegree.setCell(2, 2, "1");
    p.SecondDegree.setCell(1, 2, "-3");
    const PolynomialText text = polynomialText(p, "t");
    EXPECT_EQ(text.IndepPart, "- t + c*t^2");
    EXPECT_EQ(text.FirstPart, " + (2*c)*x");
    EXPECT_EQ(text.SecondPart, " + y^2 - 3*x*y");
    EXPECT_EQ(indepDerivativeText(p, "t"), "- 1 + c*2*t");
    EXPECT_EQ(entirePolynomialText(text), "- t + c*t^2 + (2*c)*x + y^2 - 3*x*y");
    p.IndepPart.setCell(0, 1, "4");
    EXPECT_EQ(polynomialText(p, "s").IndepPart, "4 - s + c*s^2");
}

TEST(PolynomialCompile, EveryRefusalOfTheStep) {
    const ProblemPanes panes = panesWithAux();
    std::vector<DesignedPolynomial> none;
    EXPECT_EQ(Step(panes, none).ui.lastMessage(),
              "Polynomial coefficients were not filled in via the Designer");

    // A polynomial that no formula names is deleted.
    std::vector<DesignedPolynomial> unused{polynomialIn("y'")};
    unused[0].Name = "Q";
    EXPECT_FALSE(Step(panes, unused).result.Ok);
    EXPECT_TRUE(unused.empty());

    std::vector<DesignedPolynomial> named{polynomialIn("y'")};
    named[0].Name = "a";
    EXPECT_EQ(Step(panes, named).ui.lastMessage(), "Polynomial name a among the variables");

    ProblemPanes inConstants = panes;
    inConstants.Constants.push_back("k = polynomial(P)");
    std::vector<DesignedPolynomial> ps{polynomialIn("y'")};
    Step constants(inConstants, ps);
    EXPECT_EQ(constants.ui.lastMessage(), "Polinomials must not be among constants");
    ASSERT_TRUE(constants.result.Misplaced);
    EXPECT_EQ(constants.result.Misplaced->pane, Pane::Constants);
    EXPECT_EQ(constants.result.Misplaced->line, 1);
    ProblemPanes inInitial = panes;
    inInitial.Initial[1] = "x = polynomial(P)";
    EXPECT_EQ(Step(inInitial, ps).ui.lastMessage(), "Polinomials must not be among initial values");

    ProblemPanes unknown = panes;
    unknown.ODEs[1] = "x' = polynomial(R) + P";
    EXPECT_EQ(Step(unknown, ps).ui.lastMessage(), "R is not in the list of designed polynomials");

    ps[0].IndepPart.resize(2, 2);
    ps[0].IndepPart.setCell(1, 1, "2");
    Step several(panes, ps, true);
    EXPECT_TRUE(several.result.Ok);
    EXPECT_EQ(several.ui.lastMessage(),
              "Designed polynomial(s) of P require that t be independant variable.\n\rRe-write "
              "these polynomial(s) explicitly when changing independant variable");

    ps[0].IndepPart.setCell(1, 1, "c*");
    EXPECT_THROW(Step(panes, ps), PolynomialCoefficientError);
    ProblemPanes badConstants = panes;
    badConstants.Constants[0] = "c = 3*";
    EXPECT_EQ(Step(badConstants, ps).ui.lastMessage(), "Error in constants");
}

TEST(PolynomialCompile, CallsAreNumberedAndTermsIndexedInScope) {
    ProblemPanes panes = panesWithAux();
    panes.Aux[2] = "e = polynomial( Q )*b";
    DesignedPolynomial p = polynomialIn("y'");
    p.FirstDegree.resize(1, 2);
    p.FirstDegree.setCell(0, 0, "a");
    p.FirstDegree.setCell(0, 1, "c");
    setSecondDegree(p, {"x", "y"});
    p.SecondDegree.setCell(1, 1, "2*c");
    p.SecondDegree.setCell(1, 2, "-1");
    DesignedPolynomial q = polynomialIn("e");
    q.Name = "Q";
    setSecondDegree(q, {"t", "b"});
    q.SecondDegree.setCell(2, 2, "0.5");
    std::vector<DesignedPolynomial> both{p, q};
    Step step(panes, both);
    ASSERT_TRUE(step.result.Ok) << step.ui.lastMessage();
    EXPECT_EQ(step.formulas[6], "e = polynomial(1)*b");
    EXPECT_EQ(step.formulas[9], "y' = polynomial(0)");
    ASSERT_EQ(step.problem.Polynomials.size(), 2u);
    const TCompiledPolynomial& compiled = step.problem.Polynomials[0];
    ASSERT_EQ(compiled.LinearTerms.size(), 1u);
    EXPECT_EQ(compiled.LinearTerms[0].Coefficient, 3);
    EXPECT_EQ(compiled.LinearTerms[0].Var, 4); // c, t, x, y, a
    ASSERT_EQ(compiled.SquareTerms.size(), 1u);
    EXPECT_EQ(compiled.SquareTerms[0].Coefficient, 6);
    EXPECT_EQ(compiled.SquareTerms[0].Var, 2);
    ASSERT_EQ(compiled.ProductTerms.size(), 1u);
    EXPECT_EQ(compiled.ProductTerms[0].Coefficient, -1);
    EXPECT_EQ(compiled.ProductTerms[0].VarA, 2);
    EXPECT_EQ(compiled.ProductTerms[0].VarB, 3);
    EXPECT_EQ(compiled.IndepCoefficients, std::vector<Extended>{0});
    EXPECT_EQ(step.problem.Polynomials[1].SquareTerms[0].Var, 5);
}

// The accelerations of the designed triangle agree with the spelled-out sums: the same values at
// the start and the same Taylor terms to rounding, and the same orbit after some steps.
TEST(PolynomialCompile, DesignedAndSpelledOutNBodyProblemsAgree) {
    NBodyOptions options;
    options.Bodies = 3;
    options.Spatial = true;
    CompiledFixture spelled(nBodyPanes(options));
    options.Designed = true;
    std::vector<DesignedPolynomial> polynomials = nBodyPolynomials(options);
    ASSERT_EQ(polynomials.size(), 9u);
    ProgramState state;
    TCompiledProblem designed;
    FormulaParser parser;
    FakeUi ui;
    ProblemPanes panes = nBodyPanes(options);
    EXPECT_EQ(panes.ODEs.back(), "vz3' = polynomial(vz3poly)");
    FormulaAssembly assembly = compileForIntegration(
        state, panes, designed, parser, false,
        [&](const ProblemPanes& p, FormulaAssembly& a, TCompiledProblem& problem) {
            return prepareDesignedPolynomials(a.FormulaList, p, polynomials, problem, ui,
                                              {state.AngleFactor, false})
                .Ok;
        });
    ASSERT_TRUE(ui.messages.empty()) << ui.lastMessage();
    const std::int32_t first = designed.NumConst, mains = designed.NumMain;
    for (std::int32_t v = 0; v < mains; ++v) {
        const Extended* a = spelled.problem.Coefficients[first + v];
        const Extended* b = designed.Coefficients[first + v];
        EXPECT_EQ(a[0], b[0]) << v;
        for (int k = 1; k < state.TermCount; ++k)
            EXPECT_NEAR(static_cast<double>(a[k]), static_cast<double>(b[k]),
                        1e-15 * (1 + std::fabs(static_cast<double>(a[k]))))
                << v << " order " << k;
    }
    for (auto* f : {&spelled.state, &state})
        f->RadFactor = 0.5L;
    runMore(spelled.state, spelled.problem, ui, "20",
            RunSettings{spelled.assembly.MainNames, {}, {}, {}});
    runMore(state, designed, ui, "20", RunSettings{assembly.MainNames, {}, {}, {}});
    EXPECT_EQ(spelled.problem.CurrentIndep, designed.CurrentIndep);
    for (std::int32_t v = 0; v < mains; ++v)
        EXPECT_NEAR(static_cast<double>(spelled.value(v)),
                    static_cast<double>(designed.Coefficients[first + v][0]), 1e-15)
            << v;
}

TEST(PolynomialSection, AGeneratedTenBodyDesignedProblemRoundTrips) {
    NBodyOptions options;
    options.Bodies = 10;
    options.Spatial = true;
    options.Designed = true;
    ProblemDocument document;
    FakeUi ui;
    ASSERT_TRUE(setNBodyProblem(document, options, ui));
    ASSERT_EQ(document.Polynomials.size(), 30u);
    EXPECT_EQ(document.Polynomials[0].SecondDegree.cell(1, 0), "dx0102");
    EXPECT_EQ(document.Polynomials[0].SecondDegree.cell(0, 10), "r0102");
    EXPECT_EQ(document.Polynomials[0].SecondDegree.cell(1, 10), "-m02");
    EXPECT_EQ(document.Polynomials[29].SecondDegree.cell(9, 18), "m09");
    TempFolder folder;
    const std::string path = folder.path("ring.ode");
    std::vector<std::string> formulas = document.Panes.ODEs;
    ASSERT_TRUE(writeProblemFile(document, path, formulas, ui));
    ProblemDocument read;
    ASSERT_TRUE(readProblemDocument(read, path, ui));
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    EXPECT_EQ(read.Panes.ODEs, document.Panes.ODEs);
    EXPECT_EQ(read.Polynomials, document.Polynomials);
}
