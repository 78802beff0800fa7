// The compile step of the designed polynomials: the checks of the polynomials against the
// formulas, each call's name replaced by the polynomial's number, and the coefficient tables
// compiled into the terms the engine evaluates.
#pragma once

#include "common/Extended.h"
#include "common/OrvantaError.h"
#include "compiler/CompileDriver.h"
#include "workspace/DesignedPolynomial.h"

#include <optional>
#include <string>
#include <vector>

class Ui;

// A coefficient's expression failed; Polynomial is its position in the designer.
class PolynomialCoefficientError : public OrvantaError {
  public:
    PolynomialCoefficientError(const std::string& message, int polynomial)
        : OrvantaError(message), Polynomial(polynomial) {}
    int Polynomial;
};

struct PolynomialStepSettings {
    Extended AngleFactor = 1;
    bool SeveralProblems = false; // more than one problem window is loaded
};

struct PolynomialStepResult {
    bool Ok = true;
    // "polynomial" found in the constants or initial-values pane: the line to select.
    std::optional<PaneLine> Misplaced;
};

// Runs on a formula list that mentions "polynomial". Polynomials that no formula names are
// deleted from `polynomials`. On success the calls are numbered in `formulaList` and
// problem.Polynomials is filled; on failure the message has been shown. A coefficient that does
// not compile throws PolynomialCoefficientError, or shows "Error in constants" when the constants
// themselves fail.
PolynomialStepResult prepareDesignedPolynomials(std::vector<std::string>& formulaList,
                                                const ProblemPanes& panes,
                                                std::vector<DesignedPolynomial>& polynomials,
                                                TCompiledProblem& problem, Ui& ui,
                                                const PolynomialStepSettings& settings);

// The terms of one designed polynomial; variable indexes count from `firstVariable`.
TCompiledPolynomial compilePolynomial(const DesignedPolynomial& polynomial,
                                      const std::vector<std::string>& scope,
                                      std::int32_t firstVariable,
                                      const std::vector<std::string>& constants,
                                      Extended angleFactor);
