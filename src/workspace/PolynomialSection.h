// The "[Polynomials]" section of a problem file: the designed polynomials written as lines and
// read back exactly.
#pragma once

#include "workspace/DesignedPolynomial.h"

#include <cstddef>
#include <string>
#include <vector>

class Ui;

inline constexpr const char* PolynomialSectionHeader = "[Polynomials]";

// The section is written only when the compiled formulas call "polynomial" (in any case).
bool formulasMentionPolynomial(const std::vector<std::string>& formulaList);

// The section's lines, its header line first.
std::vector<std::string> writePolynomialSection(const std::vector<DesignedPolynomial>& polynomials);

// Reads the lines that follow the header. A short or malformed polynomial block shows
// "Not enough data for polynomials" and reading goes on with the next polynomial; a file that
// ends early keeps the polynomials named so far.
std::vector<DesignedPolynomial> readPolynomialSection(const std::vector<std::string>& lines,
                                                      std::size_t first, Ui& ui);
