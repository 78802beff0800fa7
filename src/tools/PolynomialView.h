// The designed polynomial as text: the part in the independent variable, the first-degree part
// and the second-degree part, as the viewer shows them and the clipboard takes them.
#pragma once

#include "workspace/DesignedPolynomial.h"

#include <string>

// " + ", " - ", " + c*" or " + (2*c)*": a coefficient's text ready to stand before a factor.
std::string coefficientTerm(const std::string& text);

struct PolynomialText {
    std::string IndepPart;  // a0 + a1*t + a2*t^2 ...
    std::string FirstPart;  // + b*x ...
    std::string SecondPart; // + c*x^2 ... + e*x*y ...
};
PolynomialText polynomialText(const DesignedPolynomial& polynomial, const std::string& indepName);

// The derivative of the part in the independent variable.
std::string indepDerivativeText(const DesignedPolynomial& polynomial, const std::string& indepName);
// The three parts as one expression.
std::string entirePolynomialText(const PolynomialText& text);
