// The source sets of a multi-valued initial-value pane: every line's values split at ";",
// regular grids ("0; 1; 5 nodes") expanded, each value checked, and the table of which value
// every initial vector takes.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text without any character of code 32 or below.
std::string withoutBlanks(std::string_view text);

struct CloneSource {
    std::vector<std::string> Names;             // per initial-value line, blanks removed
    std::vector<std::vector<std::string>> Sets; // per initial-value line, its value texts
};

// Splits and checks every line of the initial-values pane; throws OrvantaError with the message
// naming the line and the offending element. Values are checked against the constants pane.
CloneSource splitSourceSets(const std::vector<std::string>& initialLines,
                            const std::vector<std::string>& constantLines, Extended angleFactor);

// Grids and the count of clones asked for stay below this many vectors, so that an unfolded
// problem remains something the compiler can take.
constexpr std::int64_t MaxCloneVectors = 100000;

// "Too many IVPs in array: at most 100000"
std::string tooManyVectorsText();

// The product of the set lengths, saturated above MaxCloneVectors.
std::int64_t productSize(const CloneSource& source);

// Row i: the index into every set taken by vector i. Diagonal: vector i takes min(i, length - 1)
// of each set. Product: every combination, the last line varying fastest.
using CloneIndex = std::vector<std::vector<std::int32_t>>;
CloneIndex diagonalIndex(const CloneSource& source);
CloneIndex productIndex(const CloneSource& source);

// "Total %d, cloned %d"
std::string cloneTotalText(std::size_t vectors);

// "Save all vectors": per vector its number from 1, then "\t " and each line's value; CR LF.
std::string vectorListText(const CloneSource& source, const CloneIndex& index);
