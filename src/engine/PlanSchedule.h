// The order of the unchecked pass: the plan's steps regrouped so that independent work runs
// side by side and shared operands are loaded once, giving the same bits as the list order.
#pragma once

#include "compiler/CompiledProblem.h"
#include "engine/EnginePlan.h"

#include <vector>

// Fills plan.FastSteps (and the side tables its fused steps index) from plan.Steps, which holds
// one step per instruction of `active` in list order.
void scheduleFastSteps(const std::vector<TInstruction>& active, std::int32_t variableCount,
                       EnginePlan& plan);
