// Value fields that accept an expression over the problem's constants.
#pragma once

#include "common/Extended.h"

#include <string>
#include <vector>

// A text that reads completely as a number is that number. Otherwise it is compiled as one more
// line after the constants pane's lines and evaluated once; parse and evaluation errors are
// thrown as OrvantaError with their messages.
Extended EvaluateConstantExpression(const std::vector<std::string>& constantsPane,
                                    const std::string& text, Extended angleFactor);
